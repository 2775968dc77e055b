#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QStringConverter>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include "SelectionQuery.h"
#include "SqlDialect.h"

// One table of one database file with a current row, the working object of every window.
//
// Rows are kept in the table's stored order (rowid) unless a sort column is set. The view never
// loads the whole table: each move asks SQLite for the one row it needs, so a view over a hundred
// thousand subjects opens, filters and counts in well under a millisecond with the Code index.
// Filter values are always bound parameters: an apostrophe or any other character in a value is
// matched as itself and never reaches the SQL text. Column names match without regard to case.
//
// Texts travel to SQLite as their exact bytes (see boundText), so that a text is stored and found
// as typed. A missing value (NULL) reads as an empty text in fields and in filters; in the sort
// order it comes before the empty text, as in the finder's grid (see SelectionQuery).
//
// The same view works on the clinic's PostgreSQL server (see SqlDialect): there the stored order is
// a hidden identity column that columns() leaves out, a commit writes only the changed fields of
// the row, a code another workstation stored first fails as Failure::DuplicateKey, and a lost
// connection is opened again on the next command.
class DataView final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DataView)
public:
    using Row = QHash<QString, QString>;

    // Opens the view on the table and reads it: the current row is the first one.
    DataView(const QSqlDatabase& database, const QString& table, QObject* parent = nullptr);

    const QString& table() const { return m_table; }
    const QStringList& columns() const { return m_columns; }
    const QSqlDatabase& database() const { return m_database; }

    // Reads the table again: drops the filter, the sort stays, uncommitted changes and a started
    // new row are dropped, the view stands on the first row.
    void requery();

    // A filter of the form  column='value'  (the value as typed, apostrophes included). Returns
    // false, and lets no row pass, when the text has not that form or names no column.
    bool setFilter(const QString& filterText);
    // The same filter from its two parts. An empty value (null or not) finds the rows whose field
    // is empty or missing; a value that no stored text can hold (see isStorableText) finds none.
    bool filterBy(const QString& column, const QString& value);
    bool isFiltered() const { return m_query.isFiltered(); }

    // Orders the rows by a column, a missing value first, then by stored order (see SelectionQuery);
    // an empty name restores the stored order.
    void setSort(const QString& column);

    int count() const;
    bool hasCurrentRow() const { return m_rowId >= 0 || m_newRow; }
    bool isNewRow() const { return m_newRow; }
    qint64 currentRowId() const { return m_rowId; }

    bool moveFirst();
    bool moveLast();
    bool moveNext();
    bool movePrevious();

    // Starts a new row with every field empty; it exists only in the view until committed.
    void addNew();
    QString field(const QString& column) const;
    // Changes a field of the current row; false when there is no current row or no such column.
    bool setField(const QString& column, const QString& value);
    bool hasChanges() const { return m_newRow || !m_changed.isEmpty(); }
    // Writes the current row (one statement); true when there was nothing to write. A changed
    // field that is not storable text (see isStorableText) makes it fail before anything is written.
    bool commit();
    // Drops uncommitted changes of the current row (a started new row is dropped as well).
    void cancelChanges();
    // Deletes the current row; the view then stands on the following row, if any.
    bool removeCurrent();

    // All rows that pass the filter, in the view's order, for grids and reports.
    QVector<Row> rows() const;

    QString lastError() const { return m_lastError; }
    // What kind of failure the last failed statement met: a duplicate code or a lost server
    // connection are told apart from other errors (lastError then holds the Persian text).
    SqlDialect::Failure lastFailure() const { return m_lastFailure; }
    // What to add to a window's own "not stored" text after a failed write: the lost-connection
    // text (on its own line) when the server went away, else nothing.
    QString failureNote() const;

    // The table column for a name given in any letter case; empty when there is none.
    QString resolveColumn(const QString& name) const;

    // Whether a text is stored and read back exactly (see SqlDialect::isStorableText).
    static bool isStorableText(const QString& text) { return SqlDialect::isStorableText(text); }

signals:
    // The view moved to another row, was read again or started a new row.
    void currentRowChanged();
    // One field of the current row was changed through setField.
    void fieldChanged(const QString& column);

private:
    void readServerColumns();
    QVariant textValue(const QString& text) const;
    QString selectedColumns() const;
    // Runs one statement (see SqlDialect::run) and keeps its failure and error text.
    bool run(class QSqlQuery& query, const SelectionQuery::Part& statement, bool write = false) const;
    bool moveTo(const SelectionQuery::Part& condition, bool descending);
    void load(qint64 rowId);
    void clearCurrent();

    QSqlDatabase m_database;
    QString m_table;
    QStringList m_columns;
    // Which rows pass and in which order.
    SelectionQuery m_query;
    // Where the current row stands in the order as stored, so that moves go on from the stored row
    // even when its sort field was edited or the row was just deleted.
    SelectionQuery::Position m_position;
    qint64 m_rowId = -1;
    bool m_newRow = false;
    Row m_values;
    QSet<QString> m_changed;
    mutable QString m_lastError;
    mutable SqlDialect::Failure m_lastFailure = SqlDialect::Failure::None;
    bool m_server = false;
};

// A write of several rows that must stand or fall together.
class Transaction final
{
    Q_DISABLE_COPY_MOVE(Transaction)
public:
    explicit Transaction(QSqlDatabase database);
    ~Transaction();
    bool isOpen() const { return m_open; } // false when the transaction could not begin
    bool commit();

private:
    QSqlDatabase m_database;
    bool m_open = false;
};
