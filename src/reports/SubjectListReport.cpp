#include "SubjectListReport.h"

#include "ReportLayouts.h"
#include "ReportTexts.h"
#include "datastore/Database.h"
#include "datastore/SelectionQuery.h"
#include "datastore/SqlDialect.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace SubjectListReport {

QVector<ReportRow> selectedSubjects(const QString& programFolder, const SubjectSelection& selection)
{
    const QSqlDatabase database = Database::connection(programFolder, Database::File::Clinical);
    const SelectionQuery subjects = SelectionQuery::ofSubjects(database, selection);
    // Every column the file has, as the layout's fields name them.
    const SelectionQuery::Part statement = subjects.select(QStringLiteral("*"));
    QVector<ReportRow> rows;
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!SqlDialect::run(query, database, statement.sql, statement.values, SqlDialect::Access::Read))
        return rows;
    while (query.next()) {
        const QSqlRecord record = query.record();
        ReportRow row;
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i), record.value(i).toString());
        rows << row;
    }
    return rows;
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
