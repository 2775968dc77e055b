#include "AppNavigator.h"
#include "ClinicServerAdapter.h"
#include "accounts/AccountSession.h"
#include "accounts/AccountStore.h"
#include "accounts/AccountTexts.h"
#include "accounts/AccountsWindow.h"
#include "accounts/LockGuard.h"
#include "accounts/SignInDialog.h"
#include "common/Permissions.h"
#include "datastore/ClinicServer.h"

#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"
#include "audit/FrmAudit.h"
#include "charts/FrmNemudar1.h"
#include "common/Clock.h"
#include "common/CommonTexts.h"
#include "common/Desktop.h"
#include "common/Prompts.h"
#include "common/VendorLinks.h"
#include "export/ExportCommand.h"
#include "history/FrmHistory.h"
#include "info/About.h"
#include "info/Frmravansanji.h"
#include "mainwindow/Frm1.h"
#include "mainwindow/FrmClinicServer.h"
#include "mainwindow/FrmCode.h"
#include "reports/ReportPreview.h"
#include "reports/SubjectListReport.h"
#include "scoring/FrmkLID.h"
#include "testing/FrmTest.h"
#include "testing/Frmpas2.h"
#include "update/FrmUpdate.h"

#include <QApplication>
#include <QUrl>

AppNavigator::AppNavigator(const AppContext& context) : m_context(context)
{
    m_context.navigator = this;
}

AppNavigator::~AppNavigator()
{
    m_lock.reset();
    delete m_finder;
    delete m_backup;
    delete m_backupWhileRunning;
    delete m_audit;
    delete m_exit;
    delete m_chart;
    delete m_scoring;
    delete m_test;
    delete m_main;
}

void AppNavigator::start()
{
    // The panels and the views' rows come once the window's first picture is on the display.
    m_main = new Frm1(m_context, nullptr, Frm1::PanelTiming::AfterFirstPicture);
    m_main->setAttribute(Qt::WA_DeleteOnClose);
    m_main->show();
}

const Clock& AppNavigator::clock() const
{
    static const SystemClock system;
    if (m_context.clock)
        return *m_context.clock;
    return system;
}

bool AppNavigator::signInAndStart()
{
    if (!followSignInState())
        return false;
    start();
    return true;
}

bool AppNavigator::signIn(bool afterInterruptedTest)
{
    // Nothing of the records is on screen until someone has signed in.
    if (!SignInDialog::run(*m_session, afterInterruptedTest ? SignInDialog::Purpose::InterruptedTest
                                                            : SignInDialog::Purpose::SignIn))
        return false;
    if (afterInterruptedTest) {
        const AccountStore::Result cleared = AccountStore::setLockedTest(m_context.dataFolder, {});
        if (!cleared.ok)
            m_context.prompts->message(nullptr, CommonTexts::warningTitle, cleared.message,
                                       Prompts::Icon::Exclamation, true);
    }
    return true;
}

bool AppNavigator::followSignInState()
{
    const QString& folder = m_context.dataFolder;
    switch (AccountStore::signInState(folder)) {
    case AccountStore::SignInState::Unknown:
        m_context.prompts->message(nullptr, CommonTexts::warningTitle, AccountTexts::accountsUnreadable,
                                   Prompts::Icon::Exclamation, true);
        return false;
    case AccountStore::SignInState::Off:
        m_lock.reset();
        m_session.reset();
        m_context.session = nullptr;
        return true;
    case AccountStore::SignInState::On:
        break;
    }
    const QString previousUser = m_session ? m_session->userName() : QString();
    if (!m_session)
        makeSession();
    m_context.session = m_session.get();
    const std::optional<Account> stillThere =
        previousUser.isEmpty() ? std::nullopt : AccountStore::find(folder, previousUser);
    if (stillThere) {
        m_session->signedIn(*stillThere);
    } else {
        m_session->signedOut();
        if (!signIn(!AccountStore::lockedTest(folder).isEmpty()))
            return false;
    }
    if (!m_lock) {
        m_lock = std::make_unique<LockGuard>(*m_session);
        connect(m_session.get(), &AccountSession::userChanged, this, [this] {
            if (m_main)
                m_main->applyPermissions();
        });
    }
    m_lock->start();
    return true;
}

void AppNavigator::makeSession()
{
    m_session = std::make_unique<AccountSession>(m_context, clock());
    // The session's own context has no session: the trail is written through the navigator's,
    // which names the signed-in user.
    m_session->onSignedIn = [this](const QString&) {
        AuditTrail::record(m_context, AuditTrail::Action::SignIn, {}, {}, QApplication::activeWindow());
    };
    m_session->onSignInFailed = [this](const QString& typedName) {
        const bool known = AccountStore::find(m_context.dataFolder, typedName).has_value();
        AuditTrail::record(m_context, AuditTrail::Action::SignInFailed, {},
                           known ? AccountStore::cleanName(typedName) : AuditTexts::unknownUserName,
                           QApplication::activeWindow());
    };
    m_session->onAccountChanged = [this](const QString& what, const QString& account) {
        AuditTrail::record(m_context, AuditTrail::Action::AccountChanged, {},
                           AuditTexts::accountDetail(what, account), QApplication::activeWindow());
    };
}

bool AppNavigator::permits(Command command)
{
    if (mayUse(m_context, command))
        return true;
    m_context.prompts->message(QApplication::activeWindow(), CommonTexts::attentionTitle,
                               AccountTexts::notAllowed, Prompts::Icon::Exclamation, true);
    return false;
}

void AppNavigator::openAccounts()
{
    if (!m_session) {
        AccountDialog first(m_context, *m_context.prompts, AccountDialog::Kind::FirstAdministrator, {},
                            m_main);
        if (first.exec() != QDialog::Accepted)
            return;
        const std::optional<Account> account = AccountStore::find(m_context.dataFolder, first.storedName());
        if (!account)
            return;
        makeSession();
        m_session->signedIn(*account);
        if (!followSignInState())
            return;
        AuditTrail::record(m_context, AuditTrail::Action::AccountChanged, {},
                           AuditTexts::accountDetail(AccountTexts::firstAdministratorMade, account->name),
                           m_main);
        m_context.prompts->message(m_main, CommonTexts::attentionTitle, AccountTexts::signInTurnedOn,
                                   Prompts::Icon::Information, true);
        // The windows were made without the session; they are made again with it.
        reopenWindows();
        return;
    }
    if (!permits(Command::Accounts))
        return;
    {
        AccountsWindow window(*m_session, *m_context.prompts, m_main);
        window.exec();
    }
    // The lock time may have changed.
    if (m_lock)
        m_lock->start();
}

void AppNavigator::openHistory(const QString& code, const QString& subjectLine)
{
    if (!permits(Command::Scoring))
        return;
    FrmHistory history(m_context, code, subjectLine, QApplication::activeWindow());
    if (history.load())
        history.exec();
}

void AppNavigator::lockProgram()
{
    if (m_lock)
        m_lock->lockNow();
}

void AppNavigator::runTest(const QString& code)
{
    if (!permits(Command::RunTest))
        return;
    // Reception always leaves the client in a locked test; a clinician chooses.
    if (m_session &&
        (m_session->role() == Role::Reception ||
         m_context.prompts->askYesNo(m_main, AccountTexts::signInTitle, AccountTexts::lockedTestQuestion))) {
        runLockedTest(code);
        return;
    }
    // One test window for the whole session, as the main window prepares it before each run and
    // resets it afterwards.
    if (!m_test)
        m_test = new FrmTest(m_context, m_main);
    if (!m_test->prepareForCode(code))
        return;
    m_test->exec();
    m_test->resetToIntro();
}

void AppNavigator::runLockedTest(const QString& code)
{
    const QString& folder = m_context.dataFolder;
    FrmTest test(m_context, m_main);
    if (!test.prepareForCode(code))
        return;
    // Kept with the records, so that a program ended during the test starts at the sign-in of a
    // clinician.
    const AccountStore::Result marked = AccountStore::setLockedTest(folder, code);
    if (!marked.ok) {
        m_context.prompts->message(m_main, CommonTexts::warningTitle, AccountTexts::lockedTestMarkNotStored,
                                   Prompts::Icon::Exclamation, true);
        return;
    }
    AccountSession& session = *m_session;
    test.setLocked([&session](QWidget* parent) {
        return SignInDialog::run(session, SignInDialog::Purpose::ConfirmLeaving, parent);
    });
    m_lock->setSuspended(true);
    test.exec();
    m_lock->setSuspended(false);
    const AccountStore::Result cleared = AccountStore::setLockedTest(folder, {});
    if (!cleared.ok)
        m_context.prompts->message(m_main, CommonTexts::warningTitle, cleared.message,
                                   Prompts::Icon::Exclamation, true);
}

void AppNavigator::openAnswerSheet()
{
    if (!permits(Command::AnswerSheet))
        return;
    Frmpas2 sheet(m_context, m_main);
    sheet.exec();
}

void AppNavigator::openScoring()
{
    if (!permits(Command::Scoring))
        return;
    if (!m_scoring) {
        m_scoring = new FrmkLID(m_context);
        m_scoring->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_scoring->show();
    m_scoring->raise();
    if (m_main)
        m_main->hide();
}

bool AppNavigator::openSubjectFinder()
{
    if (!permits(Command::SubjectFinder))
        return false;
    // Shown before the main window closes, so that the program never runs without a window.
    if (!m_finder) {
        m_finder = new FrmCode(m_context);
        m_finder->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_finder->show();
    m_finder->raise();
    m_finder->activateWindow();
    return true;
}

void AppNavigator::subjectFinderClosed()
{
    // The main window was closed for the finder; a new one loads afresh.
    if (m_main) {
        m_main->show();
        m_main->becameActive();
        return;
    }
    start();
}

void AppNavigator::openIntroduction()
{
    Frmravansanji introduction(m_context, m_main);
    introduction.exec();
}

void AppNavigator::openAbout()
{
    About about(m_main);
    about.exec();
}

void AppNavigator::openUpdateCheck()
{
    if (!permits(Command::Update))
        return;
    FrmUpdate check(m_context, UpdateServer::versionFile(), VendorLinks::releaseKey, m_main);
    if (check.exec() != QDialog::Accepted)
        return;
    // The updater runs now and replaces this program, which ends without the exit dialog.
    if (m_main)
        m_main->setQuietCloseFlag(QStringLiteral("1"));
    m_context.desktop->quit();
}

void AppNavigator::openClinicServer()
{
    if (!permits(Command::ClinicServer))
        return;
    const bool onServerBefore = ClinicServer::isInUse(m_context.dataFolder);
    {
        const std::unique_ptr<ClinicServerActions> actions = makeClinicServerActions();
        FrmClinicServer window(m_context, *actions, m_main);
        window.exec();
    }
    if (ClinicServer::isInUse(m_context.dataFolder) != onServerBefore) {
        // The accounts are those where the records now are.
        if (!followSignInState()) {
            QApplication::exit(0);
            return;
        }
        reopenWindows();
    }
}

void AppNavigator::reopenWindows()
{
    // Every window reads and writes through views made on the connections of its time; after a
    // switch between the files and the server those are gone, and a window kept from before would
    // fail every save. The main window and the kept windows are made again on the new ones.
    for (QWidget* kept : std::initializer_list<QWidget*>{m_test, m_scoring, m_chart, m_finder, m_backup}) {
        if (kept)
            kept->deleteLater();
    }
    QPointer<Frm1> previous = m_main;
    start();
    if (previous) {
        previous->hide();
        previous->deleteLater();
    }
}

void AppNavigator::mainWindowClosing(int exitDialogTop)
{
    // Opened before the main window has gone, so that the program does not end with it.
    if (!m_exit) {
        m_exit = new exitpro(m_context);
        m_exit->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_exit->placeAt(exitDialogTop);
    m_exit->show();
    m_exit->raise();
    m_exit->activateWindow();
}

void AppNavigator::openBackup()
{
    if (!m_backup) {
        m_backup = new Frmbackup(m_context);
        m_backup->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_backup->show();
    m_backup->raise();
    m_backup->activateWindow();
}

void AppNavigator::openBackupAndRestore()
{
    if (!permits(Command::BackupAndRestore))
        return;
    if (!m_backupWhileRunning) {
        m_backupWhileRunning = new Frmbackup(m_context, nullptr, Frmbackup::Occasion::RunningProgram);
        m_backupWhileRunning->setAttribute(Qt::WA_DeleteOnClose);
        // Nothing else is written while a restore replaces the data under the windows.
        m_backupWhileRunning->setWindowModality(Qt::ApplicationModal);
        connect(m_backupWhileRunning, &Frmbackup::finished, this, [this](bool restored) {
            // The windows' views are on the connections of the replaced file.
            if (!restored)
                return;
            if (!followSignInState()) {
                QApplication::exit(0);
                return;
            }
            reopenWindows();
        });
    }
    m_backupWhileRunning->show();
    m_backupWhileRunning->raise();
    m_backupWhileRunning->activateWindow();
}

void AppNavigator::openAuditTrail()
{
    if (!AuditTrail::mayView(m_context))
        return;
    if (!m_audit) {
        m_audit = new FrmAudit(m_context);
        m_audit->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_audit->show();
    m_audit->raise();
    m_audit->activateWindow();
}

bool AppNavigator::restoreDamagedDatabase()
{
    // Nothing more is read from or written into the damaged file by the windows meanwhile.
    for (QWidget* window : std::initializer_list<QWidget*>{m_main, m_test, m_scoring, m_chart, m_finder}) {
        if (window)
            window->hide();
    }
    if (!Frmbackup::runForDamagedDatabase(m_context))
        return false;
    if (!followSignInState())
        return false;
    reopenWindows();
    return true;
}

void AppNavigator::exitCancelled()
{
    start();
}

void AppNavigator::scoringClosed()
{
    if (!m_main)
        return;
    m_main->show();
    m_main->becameActive();
}

void AppNavigator::showNeedsChart(const NeedsChartInput& input)
{
    if (!permits(Command::Charts))
        return;
    if (!m_chart) {
        m_chart = new FrmNemudar1(m_context);
        m_chart->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_chart->setInput(input);
    AuditTrail::record(m_context, AuditTrail::Action::ChartOpened, input.subjectCode,
                       input.mode == NeedsChartInput::Mode::Couple ? AuditTexts::coupleDetail : QString(),
                       m_scoring);
    m_chart->show();
    m_chart->raise();
    if (m_scoring)
        m_scoring->hide();
}

void AppNavigator::needsChartClosed()
{
    if (m_scoring)
        m_scoring->show();
}

void AppNavigator::printSubjectList(const SubjectSelection& selection, bool withClinicLetterhead)
{
    if (!permits(Command::Print))
        return;
    const ClinicTexts clinic = clinicTexts();
    const auto subjects = SubjectListReport::selectedSubjects(m_context.dataFolder, selection);
    AuditTrail::record(m_context, AuditTrail::Action::Printed, {},
                       AuditTexts::subjectListDetail + QStringLiteral(": ") +
                           AuditTexts::subjectCount(subjects.size()),
                       QApplication::activeWindow());
    const Report report = SubjectListReport::build(subjects, withClinicLetterhead ? &clinic : nullptr);
    ReportPreview::show(QApplication::activeWindow(), report, *m_context.prompts);
}

void AppNavigator::exportSubjects(const SubjectSelection& selection)
{
    if (!permits(Command::Export))
        return;
    QWidget* parent = QApplication::activeWindow();
    ExportCommand(m_context, parent ? parent : m_main.data()).run(selection);
}

ClinicTexts AppNavigator::clinicTexts() const
{
    return m_main ? m_main->clinicTexts() : ClinicTexts{};
}
