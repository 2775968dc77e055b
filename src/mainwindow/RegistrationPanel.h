#pragma once

#include "common/AppContext.h"
#include "datastore/SqlDialect.h"

#include <QFrame>

class PanelHost;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
struct MainViews;

// A panel of the main window: the registration form: a new subject under a proposed code.
//
// While the panel is open a new row of the registration view of IDE is pending; its fields are
// bound to that row. Saving stores it together with an empty Answer row under the same code.
class RegistrationPanel final : public QFrame
{
    Q_OBJECT
public:
    RegistrationPanel(const AppContext& context, MainViews& views, PanelHost& host, QWidget* parent);

    // Opens the panel from its command of the main window.
    void open();
    // The main window has read its views again.
    void viewsReopened();
    // True while a new subject row has been started and not saved.
    bool isPending() const;

private:
    QLineEdit* addField(const QString& name, const QString& caption, int column, int row);
    QComboBox* addList(const QString& name, const QString& caption, const QStringList& items,
                       const QString& hint, int column, int row);
    QLineEdit* addMirror(const QString& name, const QString& column);
    void bindFields();
    void proposeCode();
    void save();
    void cancel();
    // The first check that fails: its notice and focus; true when every field is filled in.
    bool checkFields();
    // Stores the Answer row and the IDE row together; false (and nothing stored) on failure.
    // False when nothing was stored; `failure` then says why.
    bool storeSubject(SqlDialect::Failure* failure);

    AppContext m_context;
    MainViews& m_views;
    PanelHost& m_host;

    QLineEdit* m_code = nullptr;          // Text11
    QLineEdit* m_firstName = nullptr;     // Text6
    QLineEdit* m_lastName = nullptr;      // Text4
    QComboBox* m_gender = nullptr;        // Combo2
    QLineEdit* m_age = nullptr;           // Text5
    QComboBox* m_marital = nullptr;       // Combo1
    QLineEdit* m_education = nullptr;     // Text7
    QLineEdit* m_date = nullptr;          // Text8
    QLineEdit* m_time = nullptr;          // Text9
    QComboBox* m_group = nullptr;         // Combo3
    QLineEdit* m_genderMirror = nullptr;  // Text16
    QLineEdit* m_maritalMirror = nullptr; // Text15
    QLineEdit* m_groupMirror = nullptr;   // Text17
    QLabel* m_proposalCode = nullptr;     // Textauto
};
