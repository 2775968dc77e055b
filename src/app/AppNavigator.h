#pragma once

#include "common/AppContext.h"
#include "common/Navigator.h"

#include "backup/Frmbackup.h"
#include "backup/exitpro.h"
#include "charts/FrmNemudar1.h"
#include "mainwindow/Frm1.h"
#include "mainwindow/FrmCode.h"
#include "scoring/FrmkLID.h"
#include "testing/FrmTest.h"

#include <QObject>
#include <QPointer>

#include <memory>

class AccountSession;
class Clock;
class LockGuard;
enum class Command;

// The one class that knows every window: it opens, hides and shows them when a window asks.
class AppNavigator final : public QObject, public Navigator
{
    Q_OBJECT
public:
    explicit AppNavigator(const AppContext& context);
    ~AppNavigator() override;

    // Makes and shows a new main window.
    void start();
    // Where the clinic has turned sign-in on, the sign-in window first (false when the user leaves
    // there instead, or the accounts cannot be read), then the main window.
    bool signInAndStart();
    AccountSession* session() const { return m_session.get(); }
    LockGuard* lockGuard() const { return m_lock.get(); }
    Frm1* mainWindow() const { return m_main; }

    void runTest(const QString& code) override;
    void openAnswerSheet() override;
    void openScoring() override;
    bool openSubjectFinder() override;
    void subjectFinderClosed() override;
    void openIntroduction() override;
    void openAbout() override;
    void openUpdateCheck() override;
    void openClinicServer() override;
    void mainWindowClosing(int exitDialogTop) override;
    void openBackup() override;
    void openBackupAndRestore() override;
    void openAuditTrail() override;
    void exitCancelled() override;
    // DABSH.skn was found damaged while the program runs: the windows give way to the backup
    // window's choice. True when a restore replaced the file; the windows then open on it.
    bool restoreDamagedDatabase();
    void scoringClosed() override;
    void showNeedsChart(const NeedsChartInput& input) override;
    void needsChartClosed() override;
    void printSubjectList(const SubjectSelection& selection, bool withClinicLetterhead) override;
    void exportSubjects(const SubjectSelection& selection) override;
    ClinicTexts clinicTexts() const override;
    void openAccounts() override;
    void openHistory(const QString& code, const QString& subjectLine) override;
    void lockProgram() override;

private:
    // Whether the signed-in user may use the command; says so when not.
    bool permits(Command command);
    // Sign-in as the data's home now has it (after a switch to or from the server, or a restore):
    // false when nobody fitting signed in and the program must end.
    bool followSignInState();
    // The session of a clinic that signs its users in, its sign-ins recorded in the audit trail.
    void makeSession();
    bool signIn(bool afterInterruptedTest);
    const Clock& clock() const;
    void runLockedTest(const QString& code);

    // Makes the main window and drops the kept windows again, after a switch of the data's home.
    void reopenWindows();

    AppContext m_context;
    QPointer<Frm1> m_main;
    QPointer<FrmTest> m_test;
    QPointer<FrmkLID> m_scoring;
    QPointer<FrmNemudar1> m_chart;
    QPointer<FrmCode> m_finder;
    QPointer<exitpro> m_exit;
    QPointer<Frmbackup> m_backup;
    QPointer<Frmbackup> m_backupWhileRunning;
    std::unique_ptr<AccountSession> m_session;
    std::unique_ptr<LockGuard> m_lock;
    QPointer<QWidget> m_audit;
};
