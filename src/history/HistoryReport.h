#pragma once

#include "common/ClinicTexts.h"
#include "reports/ReportLayout.h"

#include <QImage>

// The printed trend chart: the chart's own page, with the subject's data line, the dates of its
// administrations and the clinic's letterhead, as the needs chart prints.
namespace HistoryReport {

Report build(const QString& subjectLine, const QString& dates, const ClinicTexts& clinic,
             const QImage& chart);

} // namespace HistoryReport
