#pragma once

#include "common/SubjectSelection.h"
#include "datastore/SelectionQuery.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSqlDatabase>
#include <QStringList>
#include <QVector>

#include <array>

// The subjects of a selection as a four-column table (code, first name, last name, group) for the
// finder's grid. The rows are read a page at a time, each page going on from where the page before
// it ended, and the grid is given a few pages at first and more as it scrolls to their end (as a
// grid over a query fetches on), so a million subjects open and filter at once (with the file's
// indexes on the searched columns) and the grid never lays out rows the user has not come to.
// A row removed since the selection was shown moves the rows after it up by one on the pages read
// afterwards; the finder shows the selection again after every removal.
// Which rows and in which order is the subject query's (SelectionQuery), as everywhere else.
class SubjectListModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SubjectListModel)
public:
    static constexpr int kColumnCount = 4;

    explicit SubjectListModel(const QSqlDatabase& database, QObject* parent = nullptr);

    // Shows the rows of the selection (every subject when its filter column is empty). False, with
    // no rows shown, when the file could not be read; lastError() then says why.
    bool show(const SubjectSelection& selection);
    // Reads the same selection again, after rows were removed.
    bool reload() { return show(m_selection); }
    const SubjectSelection& selection() const { return m_selection; }
    QString lastError() const { return m_lastError; }

    // The stored column a grid column shows: "Code", "FName", "LName", "Group".
    static QString columnName(int column);
    QString text(int row, int column) const;

    // The rows the grid has been given so far.
    int rowCount(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    using RowTexts = std::array<QString, kColumnCount>;
    struct Page
    {
        QVector<RowTexts> rows;
        // Where the page ended in the order: the position of its last row.
        SelectionQuery::Position last;
    };
    const Page& page(int pageIndex) const;
    // Reads up to the given number of pages after the rows given so far; returns the rows read.
    int readOn(int pages) const;

    QSqlDatabase m_database;
    SubjectSelection m_selection;
    SelectionQuery m_query;
    int m_rowCount = 0;
    mutable bool m_allRowsKnown = false; // the last page read was the end of the selection
    mutable QHash<int, Page> m_pages;
    mutable QString m_lastError;
};

// The distinct non-empty values of an IDE column among the rows of a selection, each once, in the
// order in which the selection's rows first show them. Empty when the file could not be read.
QStringList subjectColumnValues(const QSqlDatabase& database, const QString& column,
                                const SubjectSelection& selection);

// The same, read through a connection of the calling thread's own to the file of the named
// connection: callable on any thread.
QStringList subjectColumnValuesApart(const QString& connectionName, const QString& column,
                                     const SubjectSelection& selection);
