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
// Where a paper sheet is to be entered twice: how far it has got, after "پاسخنامه کاغذي - ".
inline const QString awaitingSecond = QStringLiteral("در انتظار ورود دوم");
inline const QString secondUnderWay = QStringLiteral("ورود دوم نيمه تمام");
inline const QString awaitingReview = QStringLiteral("در انتظار بازبيني");
inline const QString verified = QStringLiteral("دو بار وارد و تاييد شده");
inline const QString entryStateSeparator = QStringLiteral(" - ");
// The doubtful answer patterns of each administration, by a short name (the cell's tip names them
// whole): the same answer everywhere, a long run, a fast completion, many unanswered items.
inline const QString columnFlags = QStringLiteral("هشدار");
inline const QString flagSameShort = QStringLiteral("يکسان");
inline const QString flagRunShort = QStringLiteral("رشته");
inline const QString flagFastShort = QStringLiteral("سريع");
inline const QString flagUnansweredShort = QStringLiteral("بي پاسخ");

// The reliable change between two administrations.
inline const QString earlierCaption = QStringLiteral("از اجراي:");
inline const QString laterCaption = QStringLiteral("تا اجراي:");
inline const QString& changeCaption = ScoringTexts::changeCaption;
inline const QString& estimating = ScoringTexts::estimating;

inline const QString print = QStringLiteral("پرينت");
inline const QString& close = CommonTexts::exitCaption;
inline const QString noAdministrations = QStringLiteral("براي اين آزمودني اجرايي ذخيره نشده است");
inline const QString unreadable = QStringLiteral("سابقه اجراها خوانده نشد");
inline const QString datesLine = QStringLiteral("تاريخ اجراها: ");

} // namespace HistoryTexts
