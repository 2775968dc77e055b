#include "SubjectRowReader.h"

#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QSqlError>
#include <QSqlRecord>

namespace {

const QString kSubjects = QStringLiteral("IDE");

QString resolveColumn(const QSqlRecord& record, const QString& name)
{
    for (int i = 0; i < record.count(); ++i) {
        if (record.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return record.fieldName(i);
    }
    return {};
}

} // namespace

SubjectRowReader::SubjectRowReader(const QSqlDatabase& database, const SubjectSelection& selection)
    : m_database(database), m_query(database)
{
    const QSqlRecord record = m_database.record(kSubjects);
    if (!selection.filterColumn.isEmpty()) {
        m_filterColumn = resolveColumn(record, selection.filterColumn);
        m_filterValue = selection.filterValue;
        m_matchNothing = m_filterColumn.isEmpty();
    }
    if (!selection.orderColumn.isEmpty())
        m_orderColumn = resolveColumn(record, selection.orderColumn);
}

QString SubjectRowReader::whereClause() const
{
    if (m_matchNothing)
        return QStringLiteral(" WHERE 1 = 0");
    if (m_filterColumn.isEmpty())
        return {};
    return QStringLiteral(" WHERE i.%1 = ?").arg(quotedIdentifier(m_filterColumn));
}

void SubjectRowReader::bindFilter(QSqlQuery& query) const
{
    if (!m_matchNothing && !m_filterColumn.isEmpty())
        query.addBindValue(m_filterValue);
}

int SubjectRowReader::count()
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM \"IDE\" AS i") + whereClause());
    bindFilter(query);
    if (!query.exec() || !query.next()) {
        m_lastError = query.lastError().text();
        return -1;
    }
    return query.value(0).toInt();
}

bool SubjectRowReader::start()
{
    QStringList columns;
    for (const QString& column : ExportTable::particularColumns())
        columns << QStringLiteral("i.") + quotedIdentifier(column);
    for (const ScoringKey::Scale& scale : ScoringKey::kScales)
        columns << QStringLiteral("i.") + quotedIdentifier(QString::fromLatin1(scale.field));
    for (int item = 1; item <= ScoringKey::kItemCount; ++item)
        columns << QStringLiteral("a.") + quotedIdentifier(Database::itemColumn(item));
    const QString order =
        m_orderColumn.isEmpty()
            ? QStringLiteral(" ORDER BY i.rowid")
            : QStringLiteral(" ORDER BY COALESCE(i.%1, ''), i.rowid").arg(quotedIdentifier(m_orderColumn));
    // Nothing ties an Answer row to its subject but the code, and nothing stops a second row of
    // the same code: the first one in stored order is the one the test windows and the scoring use.
    const QString sql =
        QStringLiteral("SELECT %1 FROM \"IDE\" AS i LEFT JOIN \"Answer\" AS a ON a.rowid = "
                       "(SELECT MIN(b.rowid) FROM \"Answer\" AS b WHERE b.\"Code\" = i.\"Code\")%2%3")
            .arg(columns.join(u','), whereClause(), order);
    m_query = QSqlQuery(m_database);
    m_query.setForwardOnly(true);
    m_query.prepare(sql);
    bindFilter(m_query);
    if (!m_query.exec()) {
        m_lastError = m_query.lastError().text();
        return false;
    }
    return true;
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
