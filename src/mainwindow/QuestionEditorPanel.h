#pragma once

#include "common/AppContext.h"

#include <QFrame>

class PanelHost;
class QLineEdit;
class QPlainTextEdit;
struct MainViews;

// A panel of the main window: the question editor: pages through the 35 item texts and saves them.
//
// The panel keeps three things in step: the number box, the row the QU view stands on and the text
// box. An edited text belongs to the item it was typed for: paging away asks whether to save it
// into that item (or drops it), and after the main window reads its views again the view is put
// back on the shown item with the edit still pending, so a save always writes the item whose number
// is shown.
class QuestionEditorPanel final : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kFirstItem = 1;
    static constexpr int kLastItem = 35;

    QuestionEditorPanel(const AppContext& context, MainViews& views, PanelHost& host, QWidget* parent);

    // Opens the panel from its command of the main window.
    void open();
    // The main window has read its views again.
    void viewsReopened();

    // Hiding the editor, by its cancel button or by any command that closes the panels, drops an
    // edit that was not saved.
    void setVisible(bool visible) override;

    // The item the text box shows, as its number text.
    QString shownItem() const { return m_shownItem; }

private:
    void applyChangeRule(const QString& text);
    void setNumber(const QString& number);
    void page(int step);
    bool leaveEditedItem();
    void showItem(const QString& number);
    void showStoredText();
    void textEdited();
    void save();
    void cancel();

    AppContext m_context;
    MainViews& m_views;
    PanelHost& m_host;
    QLineEdit* m_numberBox = nullptr;
    QPlainTextEdit* m_textBox = nullptr;
    QString m_shownItem;
    bool m_edited = false;   // the text box holds a text that was not saved
    bool m_updating = false; // the panel itself is changing a box
};
