#include "RegistrationPanel.h"

#include "MainViews.h"
#include "PanelHost.h"

RegistrationPanel::RegistrationPanel(const AppContext& context, MainViews& views, PanelHost& host, QWidget* parent)
    : QFrame(parent), m_context(context), m_views(views), m_host(host)
{
    setObjectName(QStringLiteral("Frame10"));
    setFrameShape(QFrame::StyledPanel);
    setProperty("skinPanel", true);
    hide();
}

void RegistrationPanel::open()
{
    m_host.closePanels();
    show();
    raise();
}

void RegistrationPanel::viewsReopened() {}

bool RegistrationPanel::isPending() const
{
    return isVisible();
}
