#include "SubjectListModel.h"

#include "FinderTexts.h"
#include "common/BidiText.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "datastore/SqlDialect.h"

#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace {

constexpr int kPageSize = 128;
// Pages kept in memory; beyond that the cache starts afresh (a grid shows a page or two at once).
constexpr int kCachedPages = 64;
// Pages the grid is given at first and each time it scrolls to the end of what it has.
constexpr int kPagesPerFetch = 8;
const std::array<QString, SubjectListModel::kColumnCount> kColumns{
    QStringLiteral("Code"), QStringLiteral("FName"), QStringLiteral("LName"), QStringLiteral("Group")};

// The IDE column for a name in any letter case; empty when IDE has none.
QString subjectColumn(const QString& name)
{
    for (const QString& column : Database::subjectColumns()) {
        if (column.compare(name, Qt::CaseInsensitive) == 0)
            return column;
    }
    return {};
}

// The WHERE clause of a selection with its bound values appended to `values`, matching as the data
// views do: an empty value finds empty and missing fields, a value is compared as its exact bytes,
// and a filter on a column that IDE does not have, or on a value no stored text can hold, lets no
// row pass.
QString whereClause(const QSqlDatabase& database, const SubjectSelection& selection, QVariantList& values)
{
    if (selection.filterColumn.isEmpty())
        return {};
    const QString column = subjectColumn(selection.filterColumn);
    if (column.isEmpty() || !SqlDialect::isStorable(database, selection.filterValue))
        return QStringLiteral(" WHERE 1 = 0");
    if (selection.filterValue.isEmpty())
        return QStringLiteral(" WHERE (%1 = '' OR %1 IS NULL)").arg(quotedIdentifier(column));
    values << SqlDialect::textValue(database, selection.filterValue);
    return QStringLiteral(" WHERE %1 = CAST(? AS TEXT)").arg(quotedIdentifier(column));
}

QString orderColumn(const SubjectSelection& selection)
{
    const QString column = subjectColumn(selection.orderColumn);
    return quotedIdentifier(column.isEmpty() ? QStringLiteral("Code") : column);
}

// A read that the server connection lost on the way is run once more (see SqlDialect::run).
bool run(QSqlQuery& query, const QSqlDatabase& database, const QString& sql, const QVariantList& values,
         QString& error)
{
    query.setForwardOnly(true);
    if (!SqlDialect::run(query, database, sql, values, SqlDialect::Access::Read)) {
        error = query.lastError().text();
        return false;
    }
    return true;
}

} // namespace

SubjectListModel::SubjectListModel(const QSqlDatabase& database, QObject* parent)
    : QAbstractTableModel(parent), m_database(database)
{
}

bool SubjectListModel::show(const SubjectSelection& selection)
{
    beginResetModel();
    m_selection = selection;
    m_pages.clear();
    m_lastError.clear();
    m_whereValues.clear();
    m_where = whereClause(m_database, selection, m_whereValues);
    m_orderColumn = orderColumn(selection);
    m_rowCount = 0;
    m_allRowsKnown = false;
    const int rows = readOn(kPagesPerFetch);
    m_rowCount = rows;
    endResetModel();
    return m_lastError.isEmpty();
}

int SubjectListModel::readOn(int pages) const
{
    int rows = 0;
    for (int read = 0; read < pages && !m_allRowsKnown; ++read) {
        const int pageIndex = (m_rowCount + rows) / kPageSize;
        const int got = static_cast<int>(page(pageIndex).rows.size());
        rows += got;
        if (got < kPageSize || !m_lastError.isEmpty())
            m_allRowsKnown = true;
    }
    return rows;
}

bool SubjectListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_allRowsKnown;
}

void SubjectListModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || m_allRowsKnown)
        return;
    const int rows = readOn(kPagesPerFetch);
    if (rows == 0)
        return;
    beginInsertRows({}, m_rowCount, m_rowCount + rows - 1);
    m_rowCount += rows;
    endInsertRows();
}

QString SubjectListModel::columnName(int column)
{
    return column >= 0 && column < kColumnCount ? kColumns.at(column) : QString();
}

const SubjectListModel::Page& SubjectListModel::page(int pageIndex) const
{
    auto cached = m_pages.constFind(pageIndex);
    if (cached != m_pages.cend())
        return *cached;

    const int first = pageIndex * kPageSize;
    Page result;
    // Ordered by the column, then by stored order: the order of the data views. A page goes on
    // from the end of the page before it when that one is at hand, which the index finds at once;
    // otherwise it counts its way there from the start of the order.
    QVariantList values = m_whereValues;
    QString condition = m_where;
    QString limit = QStringLiteral(" LIMIT %1").arg(kPageSize);
    const auto before = m_pages.constFind(pageIndex - 1);
    if (before != m_pages.cend() && before->lastRowId >= 0 && !before->lastOrderValue.isNull()) {
        condition += (condition.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ")) +
                     QStringLiteral("(%1, rowid) > (?, ?)").arg(m_orderColumn);
        values << before->lastOrderValue << before->lastRowId;
    } else {
        limit += QStringLiteral(" OFFSET %1").arg(first);
    }
    QStringList columns;
    for (const QString& column : kColumns)
        columns << quotedIdentifier(column);
    // A missing value sorts first, as in the file; the server puts it last unless told. Going on
    // from a page's last value leaves out every row whose value is missing, which is right only
    // when all of them came before that page.
    const QString nullsFirst = SqlDialect::isServer(m_database) ? QStringLiteral(" NULLS FIRST") : QString();
    const QString sql = QStringLiteral("SELECT rowid, %1, %2 FROM \"IDE\"%3 ORDER BY %1%5, rowid%4")
                            .arg(m_orderColumn, columns.join(u','), condition, limit, nullsFirst);
    QSqlQuery query(m_database);
    if (run(query, m_database, sql, values, m_lastError)) {
        while (query.next()) {
            RowTexts& row = result.rows.emplace_back();
            for (int column = 0; column < kColumnCount; ++column)
                row[column] = query.value(column + 2).toString();
            result.lastRowId = query.value(0).toLongLong();
            result.lastOrderValue = query.value(1);
        }
    }
    // Beyond the cache's size it starts afresh, keeping nothing but the page just read, from
    // which the next one goes on.
    if (m_pages.size() >= kCachedPages)
        m_pages.clear();
    return *m_pages.insert(pageIndex, result);
}

QString SubjectListModel::text(int row, int column) const
{
    if (row < 0 || row >= m_rowCount || column < 0 || column >= kColumnCount)
        return {};
    // A row removed since the selection was shown leaves the last rows blank until the next show.
    const Page& rows = page(row / kPageSize);
    return row % kPageSize < rows.rows.size() ? rows.rows.at(row % kPageSize).at(column) : QString();
}

int SubjectListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int SubjectListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant SubjectListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    const QString value = text(index.row(), index.column());
    // Drawn in a right-to-left cell, a Latin or signed value keeps its own reading order; a screen
    // reader gets the value itself.
    return role == Qt::DisplayRole ? BidiText::isolated(value) : value;
}

QVariant SubjectListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case 0:
        return FinderTexts::codeHeader;
    case 1:
        return FinderTexts::firstNameHeader;
    case 2:
        return FinderTexts::lastNameHeader;
    case 3:
        return FinderTexts::groupHeader;
    default:
        return {};
    }
}

QStringList subjectColumnValues(const QSqlDatabase& database, const QString& column,
                                const SubjectSelection& selection)
{
    const QString actual = subjectColumn(column);
    if (actual.isEmpty())
        return {};
    QVariantList values;
    QString where = whereClause(database, selection, values);
    const QString quoted = quotedIdentifier(actual);
    where += (where.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ")) + quoted +
             QStringLiteral(" <> ''");
    const QString sql = QStringLiteral("SELECT %1 FROM \"IDE\"%2 GROUP BY %1 ORDER BY MIN(%3), MIN(rowid)")
                            .arg(quoted, where, orderColumn(selection));
    QSqlQuery query(database);
    QString error;
    QStringList result;
    if (!run(query, database, sql, values, error))
        return result;
    while (query.next())
        result << query.value(0).toString();
    return result;
}

QStringList subjectColumnValuesApart(const QString& connectionName, const QString& column,
                                     const SubjectSelection& selection)
{
    static QAtomicInt serial;
    const QString name = QStringLiteral("subject values %1").arg(serial.fetchAndAddRelaxed(1));
    QStringList values;
    {
        QSqlDatabase own = QSqlDatabase::cloneDatabase(connectionName, name);
        if (own.open())
            values = subjectColumnValues(own, column, selection);
    }
    QSqlDatabase::removeDatabase(name);
    return values;
}
