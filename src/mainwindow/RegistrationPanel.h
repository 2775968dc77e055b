#pragma once

#include "common/AppContext.h"

#include <QFrame>

class PanelHost;
struct MainViews;

// A panel of the main window: the registration form: a new subject under a proposed code.
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
    AppContext m_context;
    MainViews& m_views;
    PanelHost& m_host;
};
