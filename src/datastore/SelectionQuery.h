#pragma once

#include "SqlDialect.h"
#include "common/SubjectSelection.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringConverter>
#include <QStringList>
#include <QVariant>

class QSqlQuery;

// Which rows of a table a selection means and in which order, written once for both engines, for
// every reader of them: the data views, the finder's grid and name lists, the prints and the
// export all take their SQL from here, so that they show the same rows in the same order.
//
// A filter compares a column with a value as a whole text, the value bound as its exact bytes (see
// SqlDialect::textValue). An empty value (null or not) finds the rows whose field is empty or
// missing; a value no stored text can hold (see SqlDialect::isStorable), and a column the table
// does not have, let no row pass.
//
// The order is the column's stored text, a missing value (NULL) before every text, the empty text
// included, then the stored order (rowid); with no order column, the stored order alone. That is
// the order of the file's index on the column, so a page of the order and a page going on from
// a row's position (see after()) are read from the index without sorting.
class SelectionQuery final
{
public:
    // A part of a statement with the values of its placeholders, in their order.
    struct Part
    {
        QString sql;
        QVariantList values;
    };

    // A row's place in the order, to go on from it.
    struct Position
    {
        QVariant key; // the order column's stored bytes (on the server as hexadecimal digits)
        bool keyMissing = false;
        // A value SQLite keeps as bytes rather than text (written by another program): it orders
        // after every text and is compared as bytes.
        bool keyIsBytes = false;
        qint64 rowId = -1;
    };

    // The table's rows, unfiltered and in stored order. Column names given later are matched
    // against `columns` without regard to letter case.
    SelectionQuery(const QSqlDatabase& database, const QString& table, const QStringList& columns,
                   QStringConverter::Encoding fileEncoding = QStringConverter::Utf8);
    // The IDE rows of a subject selection.
    static SelectionQuery ofSubjects(const QSqlDatabase& database, const SubjectSelection& selection);

    // The table column for a name given in any letter case; empty when there is none.
    QString resolveColumn(const QString& name) const;

    // Filters on a column; false, and no row passes, when the table has no such column.
    bool filterBy(const QString& column, const QString& value);
    void filterNothing();
    void clearFilter();
    bool isFiltered() const { return m_filter != Filter::None; }

    // Orders by a column; an empty name or one the table does not have gives the stored order.
    void orderBy(const QString& column);
    const QString& orderColumn() const { return m_orderColumn; }
    QStringConverter::Encoding fileEncoding() const { return m_fileEncoding; }

    // In the parts below, `qualifier` (such as "i.") goes before every column of the table, for a
    // statement that joins other tables.

    // " WHERE " with the filter and the further conditions, or nothing when there are none.
    Part where(const Part& condition = {}, const QString& qualifier = {}) const;
    // " ORDER BY " the order, or its reverse.
    QString orderClause(bool descending = false, const QString& qualifier = {}) const;
    // The condition for the rows after, or before, a position in the order.
    Part after(const Position& position, const QString& qualifier = {}) const;
    Part before(const Position& position, const QString& qualifier = {}) const;
    // What to select besides a row's columns to know its position: rowid, then its order key
    // (read back by positionIn), positionColumnCount() columns in all.
    QString positionColumns(const QString& qualifier = {}) const;
    int positionColumnCount() const;
    Position positionIn(const QSqlQuery& query, int firstColumn) const;

    // SELECT the listed columns of the selected rows in the order (or its reverse), with a further
    // condition and a tail such as " LIMIT 1".
    Part select(const QString& columns, const Part& condition = {}, bool descending = false,
                const QString& tail = {}) const;
    // SELECT COUNT(*) of the selected rows.
    Part count() const;
    // The distinct non-empty values of a column among the selected rows, each once, in the order
    // in which the rows show them first. An empty statement when the table has no such column.
    Part distinctValues(const QString& column) const;

private:
    enum class Filter
    {
        None,
        Column,
        MatchNothing
    };
    QString column(const QString& qualifier, const QString& name) const;
    QVariant textValue(const QString& text) const;
    QString keyPlaceholder(const Position& position) const;

    QSqlDatabase m_database;
    QString m_table;
    QStringList m_columns;
    QStringConverter::Encoding m_fileEncoding;
    bool m_server = false;
    Filter m_filter = Filter::None;
    QString m_filterColumn;
    QString m_filterValue;
    QString m_orderColumn;
};
