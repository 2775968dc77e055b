#pragma once

#include <QString>

// Texts shared by several windows. Each window subsystem keeps its own texts in its own header.
namespace CommonTexts {
inline const QString applicationTitle = QStringLiteral("Velmora V:");
inline const QString noticeTitle = QStringLiteral("پيام");
inline const QString warningTitle = QStringLiteral("خطا");
inline const QString plainTitle = QStringLiteral("هشدار");
inline const QString attentionTitle = QStringLiteral("توجه");
inline const QString errorTitle = QStringLiteral("Error");

inline const QString numbersOnly = QStringLiteral("شما بايد عدد وارد كنيد");
inline const QString enterSubjectNumber = QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد");
inline const QString noSuchSubject = QStringLiteral("فردي با اين مشخصات وجود ندارد");
inline const QString changesSaved = QStringLiteral("تغييرات با موفقيت ذخيره شد");
} // namespace CommonTexts
