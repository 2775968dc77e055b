#pragma once

#include "common/CommonTexts.h"
#include "reports/ReportTexts.h"

#include <QString>

#include <array>

// The texts of the needs chart window.
namespace ChartTexts {

inline const QString title = QStringLiteral("ولمورا Velmora");

// Scale names under the plot, in column order S, L, F1, P, F2.
inline const std::array<QString, 5> scaleNames{QStringLiteral("Survival"), QStringLiteral("Love & belonging"),
                                               QStringLiteral("Freedom"), QStringLiteral("Power/self-worth"),
                                               QStringLiteral("Fun & enjoyment")};

// Legend captions of the two subjects.
inline const QString subject1 = QStringLiteral("آزمودني 1");
inline const QString subject2 = QStringLiteral("آزمودني 2");

// Command bar.
inline const QString print = QStringLiteral("پرينت");
inline const QString exportWord = QStringLiteral("خروجي  Word");
inline const QString& close = CommonTexts::exitCaption;

// The printed chart's date line, followed by the test date.
inline const QString& testDateLine = ReportTexts::testDateLine;

// The export: the document is made, or it could not be written. The made document's full path
// stands between the two lines of its message.
inline const QString documentMadeStart = QStringLiteral(": فايل شما\r\n\r\n");
inline const QString documentMadeEnd = QStringLiteral("\r\n\r\n. ساخته شد");
inline const QString& documentMadeTitle = CommonTexts::noticeTitle;
// An earlier document of that name is there: replace it, or make the new one under the next free
// name. %1 the earlier document.
inline const QString replaceDocument =
    CommonTexts::replaceExisting + QStringLiteral("\n\nخير: فايل تازه با نام ديگري ساخته مي شود");
inline const QString& replaceDocumentTitle = CommonTexts::attentionTitle;
inline const QString documentNotMade = QStringLiteral("فايل Word ساخته نشد:");
inline const QString bitmapNotSaved = QStringLiteral("تصوير نمودار در پوشه برنامه ذخيره نشد:");

} // namespace ChartTexts
