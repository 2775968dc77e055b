#include "SelectionQuery.h"

#include "Database.h"

#include <QSqlQuery>

SelectionQuery::SelectionQuery(const QSqlDatabase& database, const QString& table, const QStringList& columns,
                               QStringConverter::Encoding fileEncoding)
    : m_database(database), m_table(table), m_columns(columns), m_fileEncoding(fileEncoding),
      m_server(SqlDialect::isServer(database))
{
}

SelectionQuery SelectionQuery::ofSubjects(const QSqlDatabase& database, const SubjectSelection& selection)
{
    SelectionQuery query(database, QStringLiteral("IDE"), Database::subjectColumns(),
                         SqlDialect::textEncoding(database));
    if (!selection.filterColumn.isEmpty())
        query.filterBy(selection.filterColumn, selection.filterValue);
    query.orderBy(selection.orderColumn);
    return query;
}

QString SelectionQuery::resolveColumn(const QString& name) const
{
    for (const QString& column : m_columns) {
        if (column.compare(name, Qt::CaseInsensitive) == 0)
            return column;
    }
    return {};
}

bool SelectionQuery::filterBy(const QString& column, const QString& value)
{
    m_filterColumn = resolveColumn(column);
    m_filterValue = value;
    if (m_filterColumn.isEmpty()) {
        m_filter = Filter::MatchNothing;
        return false;
    }
    // No stored text can hold what isStorable refuses: such a value finds nothing, and must not
    // reach SQLite, which would read it as another text.
    m_filter = SqlDialect::isStorable(m_database, value) ? Filter::Column : Filter::MatchNothing;
    return true;
}

void SelectionQuery::filterNothing()
{
    m_filter = Filter::MatchNothing;
    m_filterColumn.clear();
    m_filterValue.clear();
}

void SelectionQuery::clearFilter()
{
    m_filter = Filter::None;
    m_filterColumn.clear();
    m_filterValue.clear();
}

void SelectionQuery::orderBy(const QString& column)
{
    m_orderColumn = column.isEmpty() ? QString() : resolveColumn(column);
}

QString SelectionQuery::column(const QString& qualifier, const QString& name) const
{
    return qualifier + quotedIdentifier(name);
}

QVariant SelectionQuery::textValue(const QString& text) const
{
    return SqlDialect::textValue(m_database, text, m_fileEncoding);
}

SelectionQuery::Part SelectionQuery::where(const Part& condition, const QString& qualifier) const
{
    QStringList conditions;
    QVariantList values;
    if (m_filter == Filter::Column && m_filterValue.isEmpty()) {
        conditions << QStringLiteral("(%1 = '' OR %1 IS NULL)").arg(column(qualifier, m_filterColumn));
    } else if (m_filter == Filter::Column) {
        conditions << column(qualifier, m_filterColumn) + QStringLiteral(" = CAST(? AS TEXT)");
        values << textValue(m_filterValue);
    } else if (m_filter == Filter::MatchNothing) {
        conditions << QStringLiteral("1 = 0");
    }
    if (!condition.sql.isEmpty()) {
        conditions << condition.sql;
        values << condition.values;
    }
    if (conditions.isEmpty())
        return {};
    return {QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND ")), values};
}

QString SelectionQuery::orderClause(bool descending, const QString& qualifier) const
{
    const QString direction = descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
    const QString rowId = qualifier + SqlDialect::rowIdColumn;
    if (m_orderColumn.isEmpty())
        return QStringLiteral(" ORDER BY ") + rowId + direction;
    // SQLite puts a missing value first by itself; the server must be told, and its index on the
    // code is made in this order.
    const QString nulls = !m_server    ? QString()
                          : descending ? QStringLiteral(" NULLS LAST")
                                       : QStringLiteral(" NULLS FIRST");
    return QStringLiteral(" ORDER BY %1%2%3, %4%2")
        .arg(column(qualifier, m_orderColumn), direction, nulls, rowId);
}

QString SelectionQuery::keyPlaceholder(const Position& position) const
{
    if (m_server)
        return QStringLiteral("convert_from(decode(?, 'hex'), 'UTF8')");
    return position.keyIsBytes ? QStringLiteral("?") : QStringLiteral("CAST(? AS TEXT)");
}

SelectionQuery::Part SelectionQuery::after(const Position& position, const QString& qualifier) const
{
    const QString rowId = qualifier + SqlDialect::rowIdColumn;
    if (m_orderColumn.isEmpty())
        return {rowId + QStringLiteral(" > ?"), {position.rowId}};
    const QString key = column(qualifier, m_orderColumn);
    // After a missing value come the later rows without one, then every row with one.
    if (position.keyMissing)
        return {QStringLiteral("(%1 IS NOT NULL OR %2 > ?)").arg(key, rowId), {position.rowId}};
    return {QStringLiteral("(%1, %2) > (%3, ?)").arg(key, rowId, keyPlaceholder(position)),
            {position.key, position.rowId}};
}

SelectionQuery::Part SelectionQuery::before(const Position& position, const QString& qualifier) const
{
    const QString rowId = qualifier + SqlDialect::rowIdColumn;
    if (m_orderColumn.isEmpty())
        return {rowId + QStringLiteral(" < ?"), {position.rowId}};
    const QString key = column(qualifier, m_orderColumn);
    if (position.keyMissing)
        return {QStringLiteral("(%1 IS NULL AND %2 < ?)").arg(key, rowId), {position.rowId}};
    return {QStringLiteral("((%1, %2) < (%3, ?) OR %1 IS NULL)").arg(key, rowId, keyPlaceholder(position)),
            {position.key, position.rowId}};
}

QString SelectionQuery::positionColumns(const QString& qualifier) const
{
    const QString rowId = qualifier + SqlDialect::rowIdColumn;
    if (m_orderColumn.isEmpty())
        return rowId;
    // The key is read as its stored bytes and bound back as them: SQLite drops a leading U+FEFF of
    // a text bound as it is, and Qt's PostgreSQL driver one of a text it reads, and a walk going on
    // from the text without it would come round to the same rows again. The server's bytes travel
    // as hexadecimal digits.
    const QString key = column(qualifier, m_orderColumn);
    if (m_server)
        return QStringLiteral("%1, encode(convert_to(%2, 'UTF8'), 'hex')").arg(rowId, key);
    return QStringLiteral("%1, CAST(%2 AS BLOB), typeof(%2) = 'blob'").arg(rowId, key);
}

int SelectionQuery::positionColumnCount() const
{
    return m_orderColumn.isEmpty() ? 1 : m_server ? 2 : 3;
}

SelectionQuery::Position SelectionQuery::positionIn(const QSqlQuery& query, int firstColumn) const
{
    Position position;
    position.rowId = query.value(firstColumn).toLongLong();
    if (m_orderColumn.isEmpty())
        return position;
    const int keyColumn = firstColumn + 1;
    position.keyMissing = query.isNull(keyColumn);
    if (position.keyMissing) {
        position.key = QVariant();
    } else if (m_server) {
        position.key = query.value(keyColumn).toString();
    } else {
        QByteArray key = query.value(keyColumn).toByteArray();
        position.keyIsBytes = query.value(keyColumn + 1).toBool();
        // A file in UTF-16 takes its key back as a text (see SqlDialect::textValue).
        if (!position.keyIsBytes && m_fileEncoding != QStringConverter::Utf8) {
            QStringDecoder decoder(m_fileEncoding, QStringConverter::Flag::ConvertInitialBom);
            const QString text = decoder.decode(key);
            position.key = text.isNull() ? QString(QLatin1String("")) : text;
            return position;
        }
        if (key.isNull())
            key = QByteArray(""); // an empty text, which a null byte array is not when bound
        position.key = key;
    }
    return position;
}

SelectionQuery::Part SelectionQuery::select(const QString& columns, const Part& condition, bool descending,
                                            const QString& tail) const
{
    const Part filter = where(condition);
    return {QStringLiteral("SELECT %1 FROM %2%3%4%5")
                .arg(columns, quotedIdentifier(m_table), filter.sql, orderClause(descending), tail),
            filter.values};
}

SelectionQuery::Part SelectionQuery::count() const
{
    const Part filter = where();
    return {QStringLiteral("SELECT COUNT(*) FROM %1%2").arg(quotedIdentifier(m_table), filter.sql),
            filter.values};
}

SelectionQuery::Part SelectionQuery::distinctValues(const QString& name) const
{
    const QString actual = resolveColumn(name);
    if (actual.isEmpty())
        return {};
    // Each value at the place of its first row in the order, not at the least order value and the
    // least rowid of its rows, which may belong to different rows, nor after a row whose order
    // value is missing. Read from the index on the value's column: per value, the first of its
    // rows without an order value, else its least order value and, only where values tie there,
    // the first row that holds it.
    const QString quoted = quotedIdentifier(actual);
    const Part values = where({quoted + QStringLiteral(" <> ''"), {}});
    const QString table = quotedIdentifier(m_table);
    if (m_orderColumn.isEmpty()) {
        return {QStringLiteral("SELECT %1 FROM %2%3 GROUP BY %1 ORDER BY MIN(rowid)")
                    .arg(quoted, table, values.sql),
                values.values};
    }
    const QString order = quotedIdentifier(m_orderColumn);
    const Part first = where({QStringLiteral("%1 = g.v AND %2 = g.m").arg(quoted, order), {}});
    return {QStringLiteral("SELECT v FROM (SELECT %1 AS v, MIN(CASE WHEN %2 IS NULL THEN rowid END) AS r, "
                           "MIN(%2) AS m FROM %3%4 GROUP BY %1) AS g "
                           "ORDER BY r IS NULL, r, m, (SELECT MIN(rowid) FROM %3%5)")
                .arg(quoted, order, table, values.sql, first.sql),
            values.values + first.values};
}
