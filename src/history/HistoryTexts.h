#pragma once

#include "common/CommonTexts.h"
#include "scoring/ScoringTexts.h"

#include <QString>

#include <array>

// The texts of the history window, its trend chart and its print.
namespace HistoryTexts {

inline const QString windowTitle = QStringLiteral("سابقه اجراهاي آزمون");
inline const QString administrationsCaption = QStringLiteral("اجراهاي آزمون:");
inline const QString trendCaption = QStringLiteral("روند نيازها در طول زمان:");
inline const std::array<QString, 5> scaleNames{ScoringTexts::needSurvival, ScoringTexts::needLove,
                                               ScoringTexts::needFreedom, ScoringTexts::needPower,
                                               ScoringTexts::needFun};

// The list's columns after the five scales.
inline const QString columnNumber = QStringLiteral("اجرا");
inline const QString columnDate = QStringLiteral("تاريخ");
inline const QString columnTime = QStringLiteral("ساعت");
inline const QString columnEntry = QStringLiteral("نحوه ورود");
inline const QString columnUser = QStringLiteral("کاربر");
inline const QString onScreen = QStringLiteral("روي صفحه");
inline const QString paperSheet = QStringLiteral("پاسخنامه کاغذي");
inline const QString entryUnknown = QStringLiteral("نامعلوم");

// The reliable change between two administrations.
inline const QString earlierCaption = QStringLiteral("از اجراي:");
inline const QString laterCaption = QStringLiteral("تا اجراي:");
inline const QString changeCaption = QStringLiteral("تغيير پايا (شاخص جيكوبسن و تروآكس، 95 درصد):");
inline const QString columnScale = QStringLiteral("مقياس");
inline const QString columnEarlier = QStringLiteral("نمره اول");
inline const QString columnLater = QStringLiteral("نمره دوم");
inline const QString columnChange = QStringLiteral("تغيير");
inline const QString columnIndex = QStringLiteral("شاخص");
inline const QString columnVerdict = QStringLiteral("نتيجه");
inline const QString columnAlpha = QStringLiteral("آلفا (تعداد اجرا)");
inline const QString reliableRise = QStringLiteral("افزايش پايا");
inline const QString reliableFall = QStringLiteral("كاهش پايا");
inline const QString withinError = QStringLiteral("در حد خطاي اندازه گيري");
inline const QString notEnoughData = QStringLiteral("داده كافي نيست");
inline const QString unanswered = QStringLiteral("سوال بي پاسخ");
inline const QString estimating = QStringLiteral("در حال برآورد پايايي از اجراهاي ذخيره شده ...");
inline QString estimateBasis(int fewest, int most)
{
    return fewest == most
               ? QStringLiteral("پايايي هر مقياس از داده هاي همين مركز برآورد شده است (%1 اجرا).").arg(most)
               : QStringLiteral("پايايي هر مقياس از داده هاي همين مركز برآورد شده است (%1 تا %2 اجرا).")
                     .arg(fewest)
                     .arg(most);
}
inline QString needsAtLeast(int count)
{
    return QStringLiteral("براي برآورد پايايي دست كم %1 اجراي كامل لازم است.").arg(count);
}

inline const QString print = QStringLiteral("پرينت");
inline const QString& close = CommonTexts::exitCaption;
inline const QString noAdministrations = QStringLiteral("براي اين آزمودني اجرايي ذخيره نشده است");
inline const QString unreadable = QStringLiteral("سابقه اجراها خوانده نشد");
inline const QString datesLine = QStringLiteral("تاريخ اجراها: ");

} // namespace HistoryTexts
