#include "AppNavigator.h"
#include "ClinicServerAdapter.h"
#include "datastore/ClinicServer.h"

#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"
#include "audit/FrmAudit.h"
#include "charts/FrmNemudar1.h"
#include "common/CommonTexts.h"
#include "common/Desktop.h"
#include "common/Prompts.h"
#include "common/VendorLinks.h"
#include "export/ExportCommand.h"
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

void AppNavigator::runTest(const QString& code)
{
    // One test window for the whole session, as the main window prepares it before each run and
    // resets it afterwards.
    if (!m_test)
        m_test = new FrmTest(m_context, m_main);
    if (!m_test->prepareForCode(code))
        return;
    m_test->exec();
    m_test->resetToIntro();
}

void AppNavigator::openAnswerSheet()
{
    Frmpas2 sheet(m_context, m_main);
    sheet.exec();
}

void AppNavigator::openScoring()
{
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
    FrmUpdate check(m_context, QUrl(VendorLinks::latestVersionFile), m_main);
    if (check.exec() != QDialog::Accepted)
        return;
    // The updater runs now and replaces this program, which ends without the exit dialog.
    if (m_main)
        m_main->setQuietCloseFlag(QStringLiteral("1"));
    m_context.desktop->quit();
}

void AppNavigator::openClinicServer()
{
    const bool onServerBefore = ClinicServer::isInUse(m_context.dataFolder);
    {
        const std::unique_ptr<ClinicServerActions> actions = makeClinicServerActions();
        FrmClinicServer window(m_context, *actions, m_main);
        window.exec();
    }
    if (ClinicServer::isInUse(m_context.dataFolder) != onServerBefore)
        reopenWindows();
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
    if (!m_backupWhileRunning) {
        m_backupWhileRunning = new Frmbackup(m_context, nullptr, Frmbackup::Occasion::RunningProgram);
        m_backupWhileRunning->setAttribute(Qt::WA_DeleteOnClose);
        // Nothing else is written while a restore replaces the data under the windows.
        m_backupWhileRunning->setWindowModality(Qt::ApplicationModal);
        connect(m_backupWhileRunning, &Frmbackup::finished, this, [this](bool restored) {
            // The windows' views are on the connections of the replaced file.
            if (restored)
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
    QWidget* parent = QApplication::activeWindow();
    ExportCommand(m_context, parent ? parent : m_main.data()).run(selection);
}

ClinicTexts AppNavigator::clinicTexts() const
{
    return m_main ? m_main->clinicTexts() : ClinicTexts{};
}
