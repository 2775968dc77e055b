#include "ChartReport.h"

#include "ChartTexts.h"
#include "common/BidiText.h"
#include "reports/ReportLayouts.h"

namespace ChartReport {

Report build(const NeedsChartInput& input, const ClinicTexts& clinic, const QImage& chart)
{
    namespace L = ReportLayouts;
    Report report;
    report.layout = L::dataR1();
    report.title = ChartTexts::title;
    // The clinic profile holds one row, so the chart is printed once.
    report.rows = {ReportRow()};
    ReportLayout& layout = report.layout;

    const QString picture = QStringLiteral("Image2");
    layout.setPicture(L::detail, picture, chart);
    if (input.modeText() != QLatin1String("1")) {
        layout.setCaption(L::detail, QStringLiteral("Label3"), input.subject2Line);
        layout.setTop(L::detail, picture, kPictureTopCouple);
    } else {
        layout.setTop(L::detail, picture, kPictureTopOneSubject);
    }
    layout.setCaption(L::detail, QStringLiteral("Label8"), input.subject1Line);
    layout.setCaption(L::detail, QStringLiteral("Label2"),
                      ChartTexts::testDateLine + BidiText::isolated(input.testDate));

    L::setChartLetterhead(layout, clinic);
    return report;
}

} // namespace ChartReport
