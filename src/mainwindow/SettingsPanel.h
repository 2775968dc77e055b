#pragma once

#include "common/AppContext.h"

#include <QFrame>
#include <QImage>

class PanelHost;
class QCheckBox;
class QLabel;
class QPushButton;
struct MainViews;

// A panel of the main window: the settings panel: logo box, logo flag and the buttons to the other
// settings (clinic profile, logo choice, question editor, theme chooser, clinic database, backup
// and restore).
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
    void chooseLogo();
    void logoFlagChanged();
    void showFlagCaption();

    AppContext m_context;
    MainViews& m_views;
    PanelHost& m_host;
    QLabel* m_logoBox = nullptr;
    QCheckBox* m_logoFlag = nullptr;
    QPushButton* m_auditButton = nullptr; // offered to those who may read the audit trail
    // The picture most recently chosen while the main window is open; written again when a later
    // choice is not a picture.
    QImage m_chosenLogo;
};
