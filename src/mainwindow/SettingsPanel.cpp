#include "SettingsPanel.h"

#include "MainViews.h"
#include "PanelHost.h"

SettingsPanel::SettingsPanel(const AppContext& context, MainViews& views, PanelHost& host, QWidget* parent)
    : QFrame(parent), m_context(context), m_views(views), m_host(host)
{
    setObjectName(QStringLiteral("Frame8"));
    setFrameShape(QFrame::StyledPanel);
    setProperty("skinPanel", true);
    hide();
}

void SettingsPanel::open()
{
    m_host.closePanels();
    show();
    raise();
}

void SettingsPanel::viewsReopened() {}

void SettingsPanel::showLogo(const QImage&) {}
