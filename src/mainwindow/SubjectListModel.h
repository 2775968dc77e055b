#pragma once

#include "common/SubjectSelection.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSqlDatabase>
#include <QStringList>
#include <QVector>

#include <array>

// The subjects of a selection as a four-column table (code, first name, last name, group) for the
// finder's grid. Showing a selection reads only the ordered row ids; the texts are read a page at a
// time when the grid first asks for them, so a hundred thousand subjects open and filter at once.
// The filter value is always a bound parameter: any character is matched as itself.
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

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    using RowTexts = std::array<QString, kColumnCount>;
    const QVector<RowTexts>& page(int pageIndex) const;

    QSqlDatabase m_database;
    SubjectSelection m_selection;
    QVector<qint64> m_rowIds;
    mutable QHash<int, QVector<RowTexts>> m_pages;
    mutable QString m_lastError;
};

// The distinct non-empty values of an IDE column among the rows of a selection, each once, in the
// order in which the selection's rows first show them. Empty when the file could not be read.
QStringList subjectColumnValues(const QSqlDatabase& database, const QString& column,
                                const SubjectSelection& selection);
