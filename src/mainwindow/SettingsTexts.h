#pragma once

#include "common/CommonTexts.h"

#include <QString>

// The Persian texts of the settings panel, the clinic profile form and the question editor.
namespace SettingsTexts {

// Clinic profile form: the captions of the eight fields.
inline const QString nameCaption = QStringLiteral(":نام كلينيك ");
inline const QString addressCaption = QStringLiteral(" :آدرس");
inline const QString emailCaption = QStringLiteral(":ايميل");
inline const QString telegramCaption = QStringLiteral(" :تلگرام");
inline const QString instagramCaption = QStringLiteral(":اينستاگرام");
inline const QString siteCaption = QStringLiteral(" :سايت");
inline const QString twitterCaption = QStringLiteral(":تويتر");
inline const QString phoneCaption = QStringLiteral(" :تلفن");

// Settings panel.
inline const QString logoFlagCaption = QStringLiteral("وضعيت نمايش آرم را مشخص نمائيد");
inline const QString chooseLogo = QStringLiteral("انتخاب آرم کلينيک");
inline const QString editQuestions = QStringLiteral(" ويرايش سوالات");
inline const QString clinicProfile = QStringLiteral(" مشخصات کلينيک");
inline const QString changeTheme = QStringLiteral("تغيير تم برنامه");
inline const QString backupAndRestore = QStringLiteral("پشتيبان گيري و بازيابي");
inline const QString accounts = QStringLiteral("حساب‌ها و ورود");
inline const QString& close = CommonTexts::exitCaption;
inline const QString logoHidden = QStringLiteral("آرم را نمايش ندهد");
inline const QString logoShown = QStringLiteral("آرم را نمايش دهد");
inline const QString logoSaved = QStringLiteral(" لوگو ذخيره شد");

// Shared by the profile form and the question editor.
inline const QString save = QStringLiteral("ذخيره ");
inline const QString& cancel = CommonTexts::cancel;

// Question editor.
inline const QString itemNumberCaption = QStringLiteral(": شماره سوال  ");
inline const QString nextItem = QStringLiteral("بعدي >>>");
inline const QString previousItem = QStringLiteral("<<<قبلي");
// The accessible name of the item text box, which has no visible caption.
inline const QString itemText = QStringLiteral("متن سوال");

// Said when a write did not reach the file, so that no one is told a change was kept when it was not.
inline const QString& changesNotSaved = CommonTexts::changesNotSaved;
inline const QString logoNotSaved = QStringLiteral("لوگو ذخيره نشد");
// Asked before the question editor leaves an item whose edited text was not saved.
inline const QString saveEditedItem =
    QStringLiteral("متن سوال %1 تغيير کرده و ذخيره نشده است. آيا تغييرات ذخيره شود؟");

// Entering sheets and flagging answer patterns.
inline const QString entryChecks = QStringLiteral("ورود پاسخنامه و هشدارها");
inline const QString doubleEntryCaption = QStringLiteral("هر پاسخنامه کاغذي دو بار وارد شود");
inline const QString fastItemCaption = QStringLiteral("مرز پاسخ سريع به يک سؤال (ثانيه):");
inline const QString fastTestCaption = QStringLiteral("مرز آزمون سريع (ثانيه براي هر سؤال):");
inline const QString longRunCaption = QStringLiteral("مرز رشته پاسخهاي يکسان (تعداد سؤال):");
inline const QString unansweredCaption = QStringLiteral("مرز سؤالهاي بي پاسخ (تعداد):");
inline const QString entryChecksInvalid =
    QStringLiteral("مقادير را به عدد وارد کنيد: زمانها از 0 تا 60 ثانيه، رشته پاسخهاي يکسان از 2 تا 35 و "
                   "سؤالهاي بي پاسخ از 1 "
                   "تا 35.");
inline const QString entryChecksSaved = QStringLiteral("تنظيمات ورود پاسخنامه و هشدارها ذخيره شد.");

} // namespace SettingsTexts
