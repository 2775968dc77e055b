#pragma once

#include "common/CommonTexts.h"

#include <QString>

// The Persian texts of the subject finder.
namespace FinderTexts {

inline const QString windowCaption = QStringLiteral("کد آزمودني");
inline const QString gridCaption = QStringLiteral("مشخصات آزمودني");

// Grid column headers: code, first name, last name, group.
inline const QString codeHeader = QStringLiteral("كدآزمودني");
inline const QString firstNameHeader = QStringLiteral("نام");
inline const QString lastNameHeader = QStringLiteral("نام خانوادگي");
inline const QString groupHeader = QStringLiteral("گروه");

// Search boxes.
inline const QString& lastNameCaption = CommonTexts::lastNameCaption;
inline const QString firstNameCaption = QStringLiteral(" :نام ");
inline const QString groupCaption = QStringLiteral(" :گروه");
inline const QString& groupHint = CommonTexts::groupHint;

// Deletion.
inline const QString deleteFrame = QStringLiteral("حذف کردن آزمودني");
inline const QString codePrompt = QStringLiteral("کد آزمودني را وارد کنيد");
inline const QString deleteCommand = QStringLiteral("حذف ");
inline const QString noSuchCode = QStringLiteral("فردي با اين کد وجود ندارد");
inline const QString confirmDelete = QStringLiteral("آيا براي حذف کردن مطمئن هستيد؟");
inline const QString deleted = QStringLiteral("حذف با موفقيت انجام گرفت");

// Print, export and close.
inline const QString printByGroup = QStringLiteral("پرينت بر اساس گروه");
inline const QString chooseGroup = QStringLiteral("شما بايد گروه آزمودني مورد نظر را انتخاب كنيد");
inline const QString exportCommand = QStringLiteral("خروجي اکسل");
inline const QString& exit = CommonTexts::exitCaption;

} // namespace FinderTexts
