#include "SubjectListReport.h"

#include "ReportLayouts.h"
#include "ReportTexts.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

namespace SubjectListReport {

QVector<ReportRow> selectedSubjects(const QString& dataFolder, const SubjectSelection& selection)
{
    const auto subjects = Database::openView(dataFolder, Database::File::Clinical, QStringLiteral("IDE"));
    if (!subjects)
        return {};
    subjects->setSort(selection.orderColumn);
    if (!selection.filterColumn.isEmpty())
        subjects->filterBy(selection.filterColumn, selection.filterValue);
    return subjects->rows();
}

Report build(const QVector<ReportRow>& rows, const ClinicTexts* letterhead)
{
    namespace L = ReportLayouts;
    Report report;
    report.layout = L::dataRPrint();
    report.rows = rows;
    report.title = ReportTexts::subjectListTitle.simplified();
    if (letterhead) {
        report.layout.setCaption(L::reportHeader, QStringLiteral("Label9"), letterhead->name);
        report.layout.setCaption(L::pageFooter, QStringLiteral("Label14"), letterhead->contactLines);
        report.layout.setCaption(L::pageFooter, QStringLiteral("Label8"), letterhead->address);
    }
    return report;
}

} // namespace SubjectListReport
