#pragma once

#include "ReportLayout.h"
#include "common/ClinicTexts.h"
#include "common/SubjectSelection.h"

// The printed list of subjects: the DataRPrint layout over the selected IDE rows.
namespace SubjectListReport {

// The IDE rows of the selection from the data folder's DABSH.skn: every row whose column holds
// the value as a whole text (every row when no column is given), ordered by the order column, or
// in stored order when there is none.
QVector<ReportRow> selectedSubjects(const QString& dataFolder, const SubjectSelection& selection);

// The report over the rows; with a letterhead, the clinic name heads it and the address and
// contact text stand in every page footer.
Report build(const QVector<ReportRow>& rows, const ClinicTexts* letterhead);

} // namespace SubjectListReport
