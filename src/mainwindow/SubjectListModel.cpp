#include "SubjectListModel.h"

#include "FinderTexts.h"
#include "common/BidiText.h"
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

// A read that the server connection lost on the way is run once more (see SqlDialect::run).
bool run(QSqlQuery& query, const QSqlDatabase& database, const SelectionQuery::Part& statement,
         QString& error)
{
    query.setForwardOnly(true);
    if (!SqlDialect::run(query, database, statement.sql, statement.values, SqlDialect::Access::Read)) {
        error = query.lastError().text();
        return false;
    }
    return true;
}

} // namespace

SubjectListModel::SubjectListModel(const QSqlDatabase& database, QObject* parent)
    : QAbstractTableModel(parent), m_database(database), m_query(SelectionQuery::ofSubjects(database, {}))
{
}

bool SubjectListModel::show(const SubjectSelection& selection)
{
    beginResetModel();
    m_selection = selection;
    m_pages.clear();
    m_lastError.clear();
    m_query = SelectionQuery::ofSubjects(m_database, selection);
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
    // A page goes on from the end of the page before it when that one is at hand, which the index
    // finds at once; otherwise it counts its way there from the start of the order.
    SelectionQuery::Part after;
    QString limit = QStringLiteral(" LIMIT %1").arg(kPageSize);
    const auto before = m_pages.constFind(pageIndex - 1);
    if (before != m_pages.cend() && before->last.rowId >= 0)
        after = m_query.after(before->last);
    else
        limit += QStringLiteral(" OFFSET %1").arg(first);
    QStringList columns{m_query.positionColumns()};
    for (const QString& column : kColumns)
        columns << quotedIdentifier(column);
    const int firstText = m_query.positionColumnCount();
    QSqlQuery query(m_database);
    if (run(query, m_database, m_query.select(columns.join(u','), after, false, limit), m_lastError)) {
        while (query.next()) {
            RowTexts& row = result.rows.emplace_back();
            for (int column = 0; column < kColumnCount; ++column)
                row[column] = query.value(column + firstText).toString();
            result.last = m_query.positionIn(query, 0);
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
    const SelectionQuery::Part statement =
        SelectionQuery::ofSubjects(database, selection).distinctValues(column);
    QStringList result;
    if (statement.sql.isEmpty())
        return result;
    QSqlQuery query(database);
    QString error;
    if (!run(query, database, statement, error))
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
