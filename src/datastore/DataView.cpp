#include "DataView.h"

#include "DatastoreTexts.h"
#include "SqlDialect.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

DataView::DataView(const QSqlDatabase& database, const QString& table, QObject* parent)
    : QObject(parent), m_database(database), m_table(table), m_query(database, table, {})
{
    m_server = SqlDialect::isServer(m_database);
    if (m_server) {
        requery(); // reads the columns
        return;
    }
    const QSqlRecord record = m_database.record(m_table);
    for (int i = 0; i < record.count(); ++i)
        m_columns << record.fieldName(i);
    // Files made by this program are UTF-8; one made elsewhere may keep its texts in UTF-16.
    m_query = SelectionQuery(m_database, m_table, m_columns, SqlDialect::textEncoding(m_database));
    requery();
}

QVariant DataView::textValue(const QString& text) const
{
    return SqlDialect::textValue(m_database, text, m_query.fileEncoding());
}

bool DataView::run(QSqlQuery& query, const SelectionQuery::Part& statement, bool write) const
{
    SqlDialect::Failure failure = SqlDialect::Failure::None;
    const bool ok = SqlDialect::run(query, m_database, statement.sql, statement.values,
                                    write ? SqlDialect::Access::Write : SqlDialect::Access::Read, &failure);
    m_lastFailure = failure;
    if (failure == SqlDialect::Failure::ConnectionLost)
        m_lastError = DatastoreTexts::serverConnectionLost;
    else if (!ok)
        m_lastError = query.lastError().text();
    return ok;
}

QString DataView::selectedColumns() const
{
    QStringList names;
    for (const QString& column : m_columns)
        names << quotedIdentifier(column);
    // No columns (a server view that could not read them yet) reads the identity alone.
    return names.isEmpty() ? QStringLiteral("rowid") : names.join(u',');
}

QString DataView::failureNote() const
{
    return m_lastFailure == SqlDialect::Failure::ConnectionLost
               ? QStringLiteral("\n") + DatastoreTexts::serverConnectionLost
               : QString();
}

QString DataView::resolveColumn(const QString& name) const
{
    return m_query.resolveColumn(name);
}

// The server's hidden identity column keeps the stored order; no window sees it. A view made while
// the server was out of reach reads its columns on the next requery.
void DataView::readServerColumns()
{
    QSqlQuery shape(m_database);
    if (!run(shape, {QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(quotedIdentifier(m_table)), {}}))
        return;
    const QSqlRecord record = shape.record();
    for (int i = 0; i < record.count(); ++i) {
        if (record.fieldName(i) != SqlDialect::rowIdColumn)
            m_columns << record.fieldName(i);
    }
    m_query = SelectionQuery(m_database, m_table, m_columns);
}

void DataView::requery()
{
    if (m_server && m_columns.isEmpty())
        readServerColumns();
    m_query.clearFilter();
    moveFirst();
}

bool DataView::setFilter(const QString& filterText)
{
    // column='value' : the value runs from the first quote to the closing quote at the end, so an
    // apostrophe inside the value stays part of it.
    const qsizetype equals = filterText.indexOf(u'=');
    if (equals > 0 && filterText.size() >= equals + 3 && filterText.at(equals + 1) == u'\'' &&
        filterText.endsWith(u'\'')) {
        const QString column = filterText.left(equals).trimmed();
        const QString value = filterText.mid(equals + 2, filterText.size() - equals - 3);
        return filterBy(column, value);
    }
    m_query.filterNothing();
    moveFirst();
    return false;
}

bool DataView::filterBy(const QString& column, const QString& value)
{
    const bool known = m_query.filterBy(column, value);
    moveFirst();
    return known;
}

void DataView::setSort(const QString& column)
{
    m_query.orderBy(column);
    moveFirst();
}

int DataView::count() const
{
    QSqlQuery query(m_database);
    if (!run(query, m_query.count()))
        return 0;
    if (!query.next()) {
        m_lastError = query.lastError().text();
        return 0;
    }
    return query.value(0).toInt();
}

bool DataView::moveTo(const SelectionQuery::Part& condition, bool descending)
{
    QSqlQuery query(m_database);
    if (!run(query,
             m_query.select(SqlDialect::rowIdColumn, condition, descending, QStringLiteral(" LIMIT 1"))) ||
        !query.next()) {
        clearCurrent();
        return false;
    }
    load(query.value(0).toLongLong());
    return true;
}

bool DataView::moveFirst()
{
    return moveTo({}, false);
}

bool DataView::moveLast()
{
    return moveTo({}, true);
}

bool DataView::moveNext()
{
    if (m_rowId < 0)
        return false;
    return moveTo(m_query.after(m_position), false);
}

bool DataView::movePrevious()
{
    if (m_rowId < 0)
        return false;
    return moveTo(m_query.before(m_position), true);
}

void DataView::load(qint64 rowId)
{
    QSqlQuery query(m_database);
    const bool ok =
        run(query, {QStringLiteral("SELECT %2, %3 FROM %1 WHERE rowid = ?")
                        .arg(quotedIdentifier(m_table), selectedColumns(), m_query.positionColumns()),
                    {rowId}});
    m_values.clear();
    m_changed.clear();
    m_position = {};
    m_newRow = false;
    if (ok && query.next()) {
        const QSqlRecord record = query.record();
        const int fieldCount = static_cast<int>(m_columns.size());
        for (int i = 0; i < fieldCount; ++i)
            m_values.insert(record.fieldName(i), record.value(i).toString());
        m_position = m_query.positionIn(query, fieldCount);
        m_rowId = rowId;
    } else {
        if (ok)
            m_lastError = query.lastError().text();
        m_rowId = -1;
    }
    emit currentRowChanged();
}

void DataView::clearCurrent()
{
    m_rowId = -1;
    m_newRow = false;
    m_values.clear();
    m_changed.clear();
    emit currentRowChanged();
}

void DataView::addNew()
{
    m_rowId = -1;
    m_newRow = true;
    m_values.clear();
    m_changed.clear();
    emit currentRowChanged();
}

QString DataView::field(const QString& column) const
{
    const QString actual = resolveColumn(column);
    return actual.isEmpty() ? QString() : m_values.value(actual);
}

bool DataView::setField(const QString& column, const QString& value)
{
    const QString actual = resolveColumn(column);
    if (actual.isEmpty() || !hasCurrentRow())
        return false;
    if (m_values.value(actual) == value && m_values.contains(actual) && !m_newRow)
        return true;
    m_values.insert(actual, value);
    m_changed.insert(actual);
    emit fieldChanged(actual);
    return true;
}

bool DataView::commit()
{
    if (!hasChanges())
        return true;
    QStringList names;
    QStringList values;
    for (const QString& column : m_columns) {
        if (m_changed.contains(column)) {
            if (!SqlDialect::isStorable(m_database, m_values.value(column))) {
                m_lastFailure = SqlDialect::Failure::Other;
                m_lastError =
                    QStringLiteral("the text of %1 holds a character that cannot be stored").arg(column);
                return false;
            }
            names << quotedIdentifier(column);
            values << m_values.value(column);
        }
    }
    QString sql;
    if (m_newRow) {
        sql = names.isEmpty()
                  ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotedIdentifier(m_table))
                  : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(quotedIdentifier(m_table), names.join(u','),
                             QStringList(names.size(), QStringLiteral("CAST(? AS TEXT)")).join(u','));
        // The server's driver cannot tell the new row's identity afterwards: the insert returns it.
        if (m_server)
            sql += QStringLiteral(" RETURNING rowid");
    } else {
        QStringList assignments;
        for (const QString& name : names)
            assignments << name + QStringLiteral(" = CAST(? AS TEXT)");
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                  .arg(quotedIdentifier(m_table), assignments.join(u','));
    }
    QVariantList bound;
    for (const QString& value : values)
        bound << textValue(value);
    if (!m_newRow)
        bound << m_rowId;
    QSqlQuery query(m_database);
    if (!run(query, {sql, bound}, true))
        return false;
    if (!m_newRow && query.numRowsAffected() == 0) {
        m_lastError = QStringLiteral("the row no longer exists");
        return false;
    }
    qint64 rowId = m_rowId;
    if (m_newRow && m_server)
        rowId = query.next() ? query.value(0).toLongLong() : -1;
    else if (m_newRow)
        rowId = query.lastInsertId().toLongLong();
    load(rowId);
    return true;
}

void DataView::cancelChanges()
{
    if (m_newRow) {
        clearCurrent();
        return;
    }
    if (m_rowId >= 0 && !m_changed.isEmpty())
        load(m_rowId);
}

bool DataView::removeCurrent()
{
    if (m_rowId < 0)
        return false;
    QSqlQuery query(m_database);
    if (!run(query,
             {QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quotedIdentifier(m_table)), {m_rowId}},
             true))
        return false;
    if (query.numRowsAffected() == 0) {
        m_lastError = QStringLiteral("the row no longer exists");
        return false;
    }
    // Stand on the following row, or on the one before when the last row went.
    if (!moveNext() && !moveLast())
        clearCurrent();
    return true;
}

QVector<DataView::Row> DataView::rows() const
{
    QVector<Row> result;
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    if (!run(query, m_query.select(selectedColumns())))
        return result;
    while (query.next()) {
        const QSqlRecord record = query.record();
        Row row;
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i), record.value(i).toString());
        result << row;
    }
    return result;
}

Transaction::Transaction(QSqlDatabase database) : m_database(std::move(database))
{
    // A server connection lost since its last statement is opened again before the transaction
    // starts, as a read would be.
    if (SqlDialect::isServer(m_database) && !SqlDialect::inTransaction(m_database)) {
        QSqlQuery probe(m_database);
        SqlDialect::run(probe, m_database, QStringLiteral("SELECT 1"), {}, SqlDialect::Access::Read);
    }
    m_open = m_database.transaction();
    if (m_open)
        SqlDialect::noteTransaction(m_database, true);
}

Transaction::~Transaction()
{
    if (m_open) {
        m_database.rollback();
        SqlDialect::noteTransaction(m_database, false);
    }
}

bool Transaction::commit()
{
    if (!m_open)
        return false;
    m_open = false;
    SqlDialect::noteTransaction(m_database, false);
    if (m_database.commit())
        return true;
    // SQLite keeps a transaction whose commit waited in vain for a lock open; every later write of
    // the connection would go into it and be lost with it. A rollback that works leaves the
    // connection's error the commit's. The server ends a transaction whose commit failed itself.
    if (!SqlDialect::isServer(m_database))
        m_database.rollback();
    return false;
}
