#include "SubjectListModel.h"

#include "FinderTexts.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "datastore/SqlDialect.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

constexpr int kPageSize = 128;
// Pages kept in memory; beyond that the cache starts afresh (a grid shows a page or two at once).
constexpr int kCachedPages = 64;

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

// The WHERE clause of a selection with its bound values appended to `values`; a filter on a column
// that IDE does not have lets no row pass.
QString whereClause(const SubjectSelection& selection, QVariantList& values)
{
    if (selection.filterColumn.isEmpty())
        return {};
    const QString column = subjectColumn(selection.filterColumn);
    if (column.isEmpty())
        return QStringLiteral(" WHERE 1 = 0");
    values << selection.filterValue;
    return QStringLiteral(" WHERE %1 = ?").arg(quotedIdentifier(column));
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
    m_rowIds.clear();
    m_pages.clear();
    m_lastError.clear();
    QVariantList values;
    // Ordered by the column, then by stored order: the order of the data views. With the Code
    // index this reads no row of the table itself.
    // A missing value comes first, as SQLite orders it, also on the server.
    const QString sql = QStringLiteral("SELECT rowid FROM \"IDE\"%1 ORDER BY %2 NULLS FIRST, rowid")
                            .arg(whereClause(selection, values), orderColumn(selection));
    QSqlQuery query(m_database);
    bool ok = run(query, m_database, sql, values, m_lastError);
    while (ok && query.next())
        m_rowIds.append(query.value(0).toLongLong());
    if (ok && query.lastError().isValid()) {
        m_lastError = query.lastError().text();
        ok = false;
    }
    if (!ok)
        m_rowIds.clear();
    endResetModel();
    return ok;
}

QString SubjectListModel::columnName(int column)
{
    return column >= 0 && column < kColumnCount ? kColumns.at(column) : QString();
}

const QVector<SubjectListModel::RowTexts>& SubjectListModel::page(int pageIndex) const
{
    auto cached = m_pages.constFind(pageIndex);
    if (cached != m_pages.cend())
        return *cached;
    if (m_pages.size() >= kCachedPages)
        m_pages.clear();

    const int first = pageIndex * kPageSize;
    const int count = std::min<int>(kPageSize, static_cast<int>(m_rowIds.size()) - first);
    QVector<RowTexts> rows(std::max(count, 0));
    QHash<qint64, int> position;
    QVariantList values;
    for (int i = 0; i < count; ++i) {
        position.insert(m_rowIds.at(first + i), i);
        values << m_rowIds.at(first + i);
    }
    QStringList columns;
    for (const QString& column : kColumns)
        columns << quotedIdentifier(column);
    const QString sql = QStringLiteral("SELECT rowid, %1 FROM \"IDE\" WHERE rowid IN (%2)")
                            .arg(columns.join(u','), QStringList(count, QStringLiteral("?")).join(u','));
    QSqlQuery query(m_database);
    if (count > 0 && run(query, m_database, sql, values, m_lastError)) {
        // A row removed since the selection was shown stays blank until the next reload.
        while (query.next()) {
            RowTexts& row = rows[position.value(query.value(0).toLongLong())];
            for (int column = 0; column < kColumnCount; ++column)
                row[column] = query.value(column + 1).toString();
        }
    }
    return *m_pages.insert(pageIndex, rows);
}

QString SubjectListModel::text(int row, int column) const
{
    if (row < 0 || row >= m_rowIds.size() || column < 0 || column >= kColumnCount)
        return {};
    return page(row / kPageSize).at(row % kPageSize).at(column);
}

int SubjectListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rowIds.size());
}

int SubjectListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant SubjectListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    return text(index.row(), index.column());
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
    QString where = whereClause(selection, values);
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
