#pragma once

#include "ExportTable.h"
#include "common/SubjectSelection.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// Reads the selected IDE rows with their Answer rows, one subject at a time, in the order the
// subject finder shows them: the filter compares the whole text as a bound parameter, the order
// is the column's text and then the stored order, exactly as the finder's data view sorts.
// The rows are streamed from the database, never loaded all at once.
class SubjectRowReader final
{
    Q_DISABLE_COPY_MOVE(SubjectRowReader)
public:
    SubjectRowReader(const QSqlDatabase& database, const SubjectSelection& selection);

    // The number of selected subjects; -1 when the database could not be read.
    int count();
    // Runs the query; false when it failed (see lastError).
    bool start();
    // The next subject; false at the end or on a failure (lastError tells them apart).
    bool next(StoredSubject* subject);
    QString lastError() const { return m_lastError; }

    // The 35 item texts of QU (for the codebook), in item order; empty texts where an item is missing.
    static QStringList itemTexts(const QSqlDatabase& database);

private:
    QString whereClause() const;
    void bindFilter(QSqlQuery& query) const;

    QSqlDatabase m_database;
    QString m_filterColumn; // resolved against the IDE columns; empty: every row
    QString m_filterValue;
    bool m_matchNothing = false; // a filter on a column that IDE does not have
    QString m_orderColumn;       // resolved; empty: stored order
    QSqlQuery m_query;
    QString m_lastError;
};
