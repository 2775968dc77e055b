#pragma once

#include "ExportTable.h"
#include "common/SubjectSelection.h"
#include "datastore/SelectionQuery.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// Reads the selected IDE rows with their Answer rows, one subject at a time, in the order the
// subject finder shows them: which rows and in which order is the subject query's
// (SelectionQuery), as in the finder. The rows are streamed from the database, never loaded all
// at once.
//
// One row per administration instead: each selected subject gives its administrations in the
// order they were taken (see AdministrationStore), the earlier ones from the table of
// administrations joined into the same streamed query, so only one subject's rows are held at a
// time. A subject who never answered gives none.
class SubjectRowReader final
{
    Q_DISABLE_COPY_MOVE(SubjectRowReader)
public:
    SubjectRowReader(const QSqlDatabase& database, const SubjectSelection& selection,
                     bool perAdministration = false);

    // The number of selected subjects; -1 when the database could not be read.
    int count();
    // Runs the query; false when it failed (see lastError).
    bool start();
    // The next subject (or administration); false at the end or on a failure (lastError tells
    // them apart).
    bool next(StoredSubject* subject);
    QString lastError() const { return m_lastError; }
    // The subjects read so far, and those of them that gave a row.
    int subjectsRead() const { return m_subjectsRead; }
    int subjectsWithRows() const { return m_subjectsWithRows; }

    // The 35 item texts of QU (for the codebook), in item order; empty texts where an item is missing.
    static QStringList itemTexts(const QSqlDatabase& database);

private:
    bool run(QSqlQuery& query, const SelectionQuery::Part& statement);
    // The subject at the query's row, as its IDE and Answer rows hold it.
    void readSubject(StoredSubject* subject) const;
    // Reads the rows of the next subject and queues its administrations; false at the end.
    bool readAdministrations();
    // The entry, timings and flags of the subject's administration of that number.
    void describe(StoredSubject& subject, int sequence) const;

    QSqlDatabase m_database;
    SelectionQuery m_selection;
    QSqlQuery m_query;
    QString m_lastError;
    bool m_perAdministration = false;
    bool m_joinsAdministrations = false;
    bool m_onRow = false; // the query stands on a row not yet taken
    QList<StoredSubject> m_pending;
    int m_subjectsRead = 0;
    int m_subjectsWithRows = 0;
    // Every administration's details and each subject's latest number, read at the start.
    QHash<QString, QHash<int, AdministrationDetails::Details>> m_details;
    QHash<QString, int> m_latest;
    AdministrationDetails::Settings m_settings;
};
