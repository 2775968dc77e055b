#pragma once

#include "common/AppContext.h"

#include <QFrame>

class PanelHost;
struct MainViews;

// A panel of the main window: the clinic profile form bound to the one Theme row.
class ClinicProfilePanel final : public QFrame
{
    Q_OBJECT
public:
    ClinicProfilePanel(const AppContext& context, MainViews& views, PanelHost& host, QWidget* parent);

    // Opens the panel from its command of the main window.
    void open();
    // The main window has read its views again.
    void viewsReopened();

private:
    AppContext m_context;
    MainViews& m_views;
    PanelHost& m_host;
};
