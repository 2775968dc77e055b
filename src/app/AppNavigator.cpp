#include "AppNavigator.h"

#include "charts/FrmNemudar1.h"
#include "common/Desktop.h"
#include "export/ExportCommand.h"
#include "mainwindow/Frm1.h"
#include "scoring/FrmkLID.h"
#include "testing/FrmTest.h"
#include "testing/Frmpas2.h"

#include <QApplication>

AppNavigator::AppNavigator(const AppContext& context) : m_context(context)
{
    m_context.navigator = this;
}

AppNavigator::~AppNavigator()
{
    delete m_chart;
    delete m_scoring;
    delete m_test;
    delete m_main;
}

void AppNavigator::start()
{
    m_main = new Frm1(m_context);
    m_main->setAttribute(Qt::WA_DeleteOnClose);
    m_main->show();
}

void AppNavigator::runTest(const QString& code)
{
    // One test window for the whole session, as the main window prepares it before each run and
    // resets it afterwards.
    if (!m_test)
        m_test = new FrmTest(m_context, m_main);
    m_test->prepareForCode(code);
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
    return false; // the subject finder is not part of this release yet
}

void AppNavigator::openIntroduction() {}

void AppNavigator::openAbout() {}

void AppNavigator::openUpdateCheck() {}

void AppNavigator::mainWindowClosing(int)
{
    // Until the exit dialog is part of the program, leaving the main window ends the program.
    m_context.desktop->quit();
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

void AppNavigator::printSubjectList(const SubjectSelection&, bool) {}

void AppNavigator::exportSubjects(const SubjectSelection& selection)
{
    QWidget* parent = QApplication::activeWindow();
    ExportCommand(m_context, parent ? parent : m_main.data()).run(selection);
}

ClinicTexts AppNavigator::clinicTexts() const
{
    return m_main ? m_main->clinicTexts() : ClinicTexts{};
}
