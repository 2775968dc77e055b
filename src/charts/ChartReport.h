#pragma once

#include "common/ClinicTexts.h"
#include "common/NeedsChartInput.h"
#include "reports/ReportLayout.h"

#include <QImage>

// The printed chart: the DataR1 layout filled with the captured chart, the subject data lines, the
// test date and the clinic's letterhead.
namespace ChartReport {

// Where the chart picture starts: below both data lines of a couple, or in the place of the
// second line for one subject.
constexpr int kPictureTopCouple = 3175;
constexpr int kPictureTopOneSubject = 2491;

Report build(const NeedsChartInput& input, const ClinicTexts& clinic, const QImage& chart);

} // namespace ChartReport
