#pragma once

#include "ExportTable.h"
#include "common/SubjectSelection.h"
#include "datastore/SelectionQuery.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// Reads the selected IDE rows with their Answer rows, one subject at a time, in the order the
// subject finder shows them: which rows and in which order is the subject query's
// (SelectionQuery), as in the finder. The rows are streamed from the database, never loaded all
// at once.
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
    bool run(QSqlQuery& query, const SelectionQuery::Part& statement);

    QSqlDatabase m_database;
    SelectionQuery m_selection;
    QSqlQuery m_query;
    QString m_lastError;
};
