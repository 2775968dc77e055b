#include "HistoryReport.h"

#include "HistoryTexts.h"
#include "common/BidiText.h"
#include "reports/ReportLayouts.h"

namespace HistoryReport {

// The picture stands where the needs chart's does for one subject.
constexpr int kPictureTop = 2491;

Report build(const QString& subjectLine, const QString& dates, const ClinicTexts& clinic, const QImage& chart)
{
    namespace L = ReportLayouts;
    Report report;
    report.layout = L::dataR1();
    report.title = HistoryTexts::windowTitle;
    report.rows = {ReportRow()};
    ReportLayout& layout = report.layout;
    const QString picture = QStringLiteral("Image2");
    layout.setPicture(L::detail, picture, chart);
    layout.setTop(L::detail, picture, kPictureTop);
    layout.setCaption(L::detail, QStringLiteral("Label8"), subjectLine);
    layout.setCaption(L::detail, QStringLiteral("Label2"),
                      HistoryTexts::datesLine + BidiText::isolated(dates));
    L::setChartLetterhead(layout, clinic);
    return report;
}

} // namespace HistoryReport
