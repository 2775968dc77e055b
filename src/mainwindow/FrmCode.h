#pragma once

#include "common/AppContext.h"
#include "common/SubjectSelection.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class BackgroundWork;
class DataView;
class QComboBox;
class QLineEdit;
class QStringListModel;
class QTableView;
class SubjectListModel;

// The subject finder: every subject in a grid ordered by code, narrowed by last name, first name
// or group (one criterion at a time); deletion of a subject by code; the print of the shown group
// and the research export of the shown subjects. Closing it brings a fresh main window.
class FrmCode final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmCode)
public:
    explicit FrmCode(const AppContext& context, QWidget* parent = nullptr);
    ~FrmCode() override;

    // The subjects the grid shows, as the print and the export receive them.
    const SubjectSelection& shownSelection() const;
    SubjectListModel& list() const { return *m_list; }
    // True while a name box's list is still being read.
    bool isListing() const;

public slots:
    void printByGroup();  // Command1
    void deleteSubject(); // Command2, or Enter in the code box
    void exportShown();   // CmdExport

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A search box with the IDE column it filters by; the name boxes offer the column's values.
    struct SearchBox
    {
        QComboBox* combo = nullptr;
        QString column;
        QStringListModel* items = nullptr; // null for the group box, whose items are fixed
        // The rows whose values the list is yet to offer: read when the user turns to the box,
        // so that a search costs only the grid.
        std::optional<SubjectSelection> unlisted;
        std::optional<QStringList> allValues; // the items while no criterion is in force
        // Reading the values of a large file takes longer than a frame: they are read beside the
        // window, and the box offers them when the newest reading is done.
        std::unique_ptr<BackgroundWork> listing;
    };

    void buildSearchBoxes();
    void buildGrid();
    void buildDeleteFrame();
    void buildCommands();
    QComboBox* addSearchBox(int index, const QString& name, const QString& caption, int top,
                            const QString& column);

    void search(SearchBox& acting);
    void showSubjects(const SubjectSelection& selection);
    void clearSearchBox(SearchBox& box);
    // The name boxes but the one being searched are to offer the values of the shown rows.
    void followShownRows(const SearchBox* acting);
    void listValues(SearchBox& box);
    void offerValues(SearchBox& box, const QStringList& values);
    void reportFailure(const QString& description);

    AppContext m_context;
    std::unique_ptr<DataView> m_profile;        // Theme: the clinic address
    std::unique_ptr<DataView> m_deleteSubjects; // IDE: finds and deletes the subject's row
    std::unique_ptr<DataView> m_deleteAnswers;  // Answer: finds and deletes the subject's answers
    SubjectListModel* m_list = nullptr;         // the list view shown in the grid

    std::array<SearchBox, 3> m_searchBoxes; // DataCombo1 (last name), DataCombo6 (first name), Combo3
    QTableView* m_grid = nullptr;           // DataGrid1
    QLineEdit* m_code = nullptr;            // Text5
    bool m_closeReported = false;
};
