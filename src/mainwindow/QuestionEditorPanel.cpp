#include "QuestionEditorPanel.h"

#include "MainViews.h"
#include "PanelHost.h"

QuestionEditorPanel::QuestionEditorPanel(const AppContext& context, MainViews& views, PanelHost& host, QWidget* parent)
    : QFrame(parent), m_context(context), m_views(views), m_host(host)
{
    setObjectName(QStringLiteral("Frame1"));
    setFrameShape(QFrame::StyledPanel);
    setProperty("skinPanel", true);
    hide();
}

void QuestionEditorPanel::open()
{
    m_host.closePanels();
    show();
    raise();
}

void QuestionEditorPanel::viewsReopened() {}
