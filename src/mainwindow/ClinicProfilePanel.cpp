#include "ClinicProfilePanel.h"

#include "MainViews.h"
#include "PanelHost.h"

ClinicProfilePanel::ClinicProfilePanel(const AppContext& context, MainViews& views, PanelHost& host, QWidget* parent)
    : QFrame(parent), m_context(context), m_views(views), m_host(host)
{
    setObjectName(QStringLiteral("Frame9"));
    setFrameShape(QFrame::StyledPanel);
    setProperty("skinPanel", true);
    hide();
}

void ClinicProfilePanel::open()
{
    m_host.closePanels();
    show();
    raise();
}

void ClinicProfilePanel::viewsReopened() {}
