#pragma once

#include "common/AppContext.h"

#include <QFrame>

class PanelHost;
struct MainViews;

// A panel of the main window: the question editor: pages through the 35 item texts and saves them.
class QuestionEditorPanel final : public QFrame
{
    Q_OBJECT
public:
    QuestionEditorPanel(const AppContext& context, MainViews& views, PanelHost& host, QWidget* parent);

    // Opens the panel from its command of the main window.
    void open();
    // The main window has read its views again.
    void viewsReopened();

private:
    AppContext m_context;
    MainViews& m_views;
    PanelHost& m_host;
};
