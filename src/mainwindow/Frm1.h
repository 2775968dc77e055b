#pragma once

#include "MainViews.h"
#include "PanelHost.h"
#include "common/AppContext.h"
#include "common/ClinicTexts.h"

#include <QImage>
#include <QWidget>

class ClinicProfilePanel;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QuestionEditorPanel;
class RegistrationPanel;
class SettingsPanel;
class ThemeChooserPanel;

// The main window: the hub from which every other window opens, with five panels of its own
// (registration, settings, clinic profile, theme chooser, question editor).
class Frm1 final : public QWidget, public PanelHost
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Frm1)
public:
    // The five panels are hidden at first. The program builds them once the window has painted
    // its first picture (or when first used, if sooner), so that the window shows sooner; it reads
    // its views as it is first shown, so that it can be built before the data files are open.
    enum class PanelTiming
    {
        AtOnce,
        AfterFirstPicture
    };
    explicit Frm1(const AppContext& context, QWidget* parent = nullptr,
                  PanelTiming panelTiming = PanelTiming::AtOnce);
    ~Frm1() override;

    // The steps each time the window becomes the active window: open the six views, load the
    // logo, build the contact lines. Runs on the first show and whenever a window of this program
    // hands control back (a modal window closed, the scoring window closed).
    void becameActive();

    // Offers only the commands the signed-in user's role may use (all where sign-in is off).
    void applyPermissions();

    // The clinic's particulars for the prints.
    ClinicTexts clinicTexts() const;
    QString quietCloseFlag() const;
    QString contactLines() const;
    QString currentSkinNumber() const { return m_skinNumber; }
    MainViews& views() { return m_views; }

    // PanelHost
    void closePanels() override;
    void setQuietCloseFlag(const QString& value) override;
    void showSettingsPanel() override;
    void openClinicProfile() override;
    void openThemeChooser() override;
    void openQuestionEditor() override;
    void openClinicServer() override;
    void rebuildContactLines() override;
    void reloadLogo() override;
    void showClinicName(const QString& name) override;
    void setRegisterCommandEnabled(bool enabled) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildCommandBar();
    void buildInformationArea();
    void buildHiddenFields();
    QPushButton* addCommand(const QString& name, const QString& caption, const QString& hint, int row);
    void hideHint();
    void showHint(const QString& hint);
    void followMouse(const QPoint& windowPosition);
    void buildPanels();
    QList<QWidget*> panels() const; // none before they are built
    const QImage& logo() const;

    void runTest();
    void openScoring();
    void openSubjectFinder();
    void exitProgram();

    AppContext m_context;
    MainViews m_views;
    QString m_skinNumber;
    bool m_activatedOnce = false;
    QByteArray m_viewsReadMark; // the files' write mark as the window read its views when made

    QWidget* m_commandBar = nullptr;
    QPushButton* m_registerCommand = nullptr;
    QPushButton* m_lockCommand = nullptr; // where sign-in is on
    QLabel* m_hintLine = nullptr;
    QWidget* m_informationArea = nullptr;
    QLabel* m_clinicNameLine = nullptr;
    QLabel* m_folderFilesNotice = nullptr; // this session works on the files, not the clinic server
    QLineEdit* m_quietCloseFlag = nullptr; // made with the panels
    QString m_quietCloseFlagText;
    QPlainTextEdit* m_contactLines = nullptr;
    QString m_contactLinesText;
    // The hidden logo holder, read when first needed after each activation (the settings panel,
    // the prints): the first window does not show it.
    mutable QImage m_logo;
    mutable bool m_logoRead = false;

    RegistrationPanel* m_registration = nullptr;
    SettingsPanel* m_settings = nullptr;
    ClinicProfilePanel* m_profile = nullptr;
    ThemeChooserPanel* m_themeChooser = nullptr;
    QuestionEditorPanel* m_questionEditor = nullptr;
};
