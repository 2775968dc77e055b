#include "SubjectRowReader.h"

#include "datastore/Database.h"
#include "datastore/SqlDialect.h"

#include <QSqlError>

SubjectRowReader::SubjectRowReader(const QSqlDatabase& database, const SubjectSelection& selection)
    : m_database(database), m_selection(SelectionQuery::ofSubjects(database, selection)), m_query(database)
{
}

// A read that the server connection lost on the way is run once more (see SqlDialect::run).
bool SubjectRowReader::run(QSqlQuery& query, const SelectionQuery::Part& statement)
{
    query = QSqlQuery(m_database);
    query.setForwardOnly(true);
    if (!SqlDialect::run(query, m_database, statement.sql, statement.values, SqlDialect::Access::Read)) {
        m_lastError = query.lastError().text();
        return false;
    }
    return true;
}

int SubjectRowReader::count()
{
    QSqlQuery query(m_database);
    if (!run(query, m_selection.count()))
        return -1;
    if (!query.next()) {
        m_lastError = query.lastError().text();
        return -1;
    }
    return query.value(0).toInt();
}

bool SubjectRowReader::start()
{
    const QString subject = QStringLiteral("i.");
    QStringList columns;
    for (const QString& column : ExportTable::particularColumns())
        columns << subject + quotedIdentifier(column);
    for (const ScoringKey::Scale& scale : ScoringKey::kScales)
        columns << subject + quotedIdentifier(QString::fromLatin1(scale.field));
    for (int item = 1; item <= ScoringKey::kItemCount; ++item)
        columns << QStringLiteral("a.") + quotedIdentifier(Database::itemColumn(item));
    // Nothing ties an Answer row to its subject but the code, and nothing stops a second row of
    // the same code: the first one in stored order is the one the test windows and the scoring use.
    const SelectionQuery::Part where = m_selection.where({}, subject);
    const QString sql =
        QStringLiteral("SELECT %1 FROM \"IDE\" AS i LEFT JOIN \"Answer\" AS a ON a.rowid = "
                       "(SELECT MIN(b.rowid) FROM \"Answer\" AS b WHERE b.\"Code\" = i.\"Code\")%2%3")
            .arg(columns.join(u','), where.sql, m_selection.orderClause(false, subject));
    return run(m_query, {sql, where.values});
}

bool SubjectRowReader::next(StoredSubject* subject)
{
    if (!m_query.next()) {
        if (m_query.lastError().isValid())
            m_lastError = m_query.lastError().text();
        return false;
    }
    int column = 0;
    for (QString& text : subject->particulars)
        text = m_query.value(column++).toString();
    for (QString& text : subject->scores)
        text = m_query.value(column++).toString();
    for (QString& text : subject->answers)
        text = m_query.value(column++).toString();
    return true;
}

QStringList SubjectRowReader::itemTexts(const QSqlDatabase& database)
{
    QStringList texts(ScoringKey::kItemCount);
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT \"ID\", \"QUS\" FROM \"QU\" ORDER BY rowid")))
        return texts;
    while (query.next()) {
        const int item = query.value(0).toString().trimmed().toInt();
        // The first row of an item number wins, as the test window's lookup finds it.
        if (item >= 1 && item <= ScoringKey::kItemCount && texts.at(item - 1).isEmpty())
            texts[item - 1] = query.value(1).toString();
    }
    return texts;
}
