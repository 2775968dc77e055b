#pragma once

#include "common/AppContext.h"

#include <QFrame>

class PanelHost;
class QLineEdit;
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

    // Hiding the form, by its cancel button or by any command that closes the panels, drops the
    // edits that were not saved, so that no later commit of the row (the logo flag) saves them.
    void setVisible(bool visible) override;

private:
    void save();
    void addField(const QString& name, const QString& column, const QString& caption, int row);

    AppContext m_context;
    MainViews& m_views;
    PanelHost& m_host;
};
