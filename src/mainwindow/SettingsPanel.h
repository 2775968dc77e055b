#pragma once

#include "common/AppContext.h"

#include <QFrame>

class PanelHost;
struct MainViews;

// A panel of the main window: the settings panel: logo box, logo flag and the buttons to the other settings.
class SettingsPanel final : public QFrame
{
    Q_OBJECT
public:
    SettingsPanel(const AppContext& context, MainViews& views, PanelHost& host, QWidget* parent);

    // Opens the panel from its command of the main window.
    void open();
    // The main window has read its views again.
    void viewsReopened();
    // Draws the logo stretched over the logo box Picture2 (an empty picture clears it).
    void showLogo(const QImage& logo);

private:
    AppContext m_context;
    MainViews& m_views;
    PanelHost& m_host;
};
