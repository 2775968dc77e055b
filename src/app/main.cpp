#include "AppNavigator.h"
#include "ClinicServerAdapter.h"
#include "QtPersianTexts.h"
#include "ServerStartup.h"
#include "SingleInstance.h"
#include "common/Clock.h"
#include "common/CommonTexts.h"
#include "common/FirstFrame.h"
#include "common/ProgramFolder.h"
#include "common/QtDesktop.h"
#include "common/QtPrompts.h"
#include "common/StartupTrace.h"
#include "datastore/Database.h"
#include "mainwindow/MainWindowTexts.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFont>
#include <QThread>
#include <QTimer>

#include <memory>
#include <optional>

namespace {

constexpr int kLatestPageCheckStartMs = 2000;

// The Persian typefaces the program was designed with, and the free ones that stand in for them.
void registerPersianFonts()
{
    QFont::insertSubstitution(QStringLiteral("B Nazanin"), QStringLiteral("Nazli"));
    QFont::insertSubstitution(QStringLiteral("B Titr"), QStringLiteral("Titr"));
    QFont font(QStringLiteral("B Nazanin"));
    font.setPointSize(11);
    QApplication::setFont(font);
}

// The screen reader bridge connects to the desktop's session bus while the first window is built,
// and waits for it; with no bus running that means starting dbus-launch and waiting for it to
// fail. Connecting on a thread of its own while the data files are opened leaves the bridge the
// connection (or its failure) made. Only on X11, where the bridge is.
class SessionBusWarmUp final
{
public:
    SessionBusWarmUp()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        m_thread.reset(QThread::create([] { (void)QDBusConnection::sessionBus(); }));
        m_thread->start();
    }
    ~SessionBusWarmUp()
    {
        if (m_thread)
            m_thread->wait();
    }

private:
    std::unique_ptr<QThread> m_thread;
};

// The single-instance test and the opening of the data files run on a thread of their own while
// the main window is built: neither needs the other. The connections are then handed to the main
// thread, which alone uses them. The window is shown only once both have succeeded.
class StartupOpening final
{
public:
    explicit StartupOpening(const QString& folder) : m_instance(folder)
    {
        QThread* mainThread = QThread::currentThread();
        m_thread.reset(QThread::create([this, folder, mainThread] {
            m_onlyCopy = m_instance.acquire();
            if (!m_onlyCopy)
                return;
            StartupTrace::mark("single-instance lock");
            m_databases = Database::openProgramDatabases(folder, Database::PageCheck::Separately);
            Database::handOverProgramDatabases(folder, mainThread);
            StartupTrace::mark("databases opened");
        }));
        m_thread->start();
    }
    ~StartupOpening() { m_thread->wait(); }

    // Waits for the thread. False when another copy runs in this program folder.
    bool isOnlyCopy()
    {
        m_thread->wait();
        return m_onlyCopy;
    }
    const Database::OpenResult& databases()
    {
        m_thread->wait();
        return m_databases;
    }

private:
    SingleInstance m_instance;
    std::unique_ptr<QThread> m_thread;
    bool m_onlyCopy = false;
    Database::OpenResult m_databases;
};

// Reads every page of both database files once the first window is on screen: a large file would
// otherwise delay it, and the reading would compete with the first picture for the processor.
// A damaged file ends the program with the message before work is put into it.
class PageCheck final
{
public:
    PageCheck(const QString& folder, Prompts& prompts)
    {
        m_thread.reset(QThread::create([this, folder] {
            for (const Database::File file : {Database::File::Clinical, Database::File::Theme}) {
                if (Database::checkPages(folder, file) == Database::FileState::Damaged) {
                    m_damaged = file;
                    return;
                }
            }
        }));
        QObject::connect(m_thread.get(), &QThread::finished, qApp, [this, &prompts] {
            if (!m_damaged)
                return;
            prompts.message(QApplication::activeWindow(), CommonTexts::warningTitle,
                            Database::messageFor(Database::FileState::Damaged, *m_damaged),
                            Prompts::Icon::Exclamation, true);
            QApplication::exit(1);
        });
        m_thread->start(QThread::LowPriority);
    }
    ~PageCheck() { m_thread->wait(); }

private:
    std::unique_ptr<QThread> m_thread;
    std::optional<Database::File> m_damaged;
};

} // namespace

int main(int argc, char* argv[])
{
    StartupTrace::mark("main");
    QApplication app(argc, argv);
    StartupTrace::watchFirstFrame(&app);
    StartupTrace::mark("application made");
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    const QString folder = programFolder();
    // The lock and the data files on a thread while the window is built; the screen reader
    // bridge's session bus on another.
    StartupOpening opening(folder);
    const SessionBusWarmUp sessionBus;
    QApplication::setLayoutDirection(Qt::RightToLeft);
    registerPersianFonts();
    StartupTrace::mark("fonts set");
    loadQtPersianTexts(app);
    StartupTrace::mark("Qt translation loaded");

    QtPrompts prompts;
    QtDesktop desktop;
    SystemClock clock;
    AppContext context{folder, &prompts, &desktop, nullptr, &clock};
    AppNavigator navigator(context);
    navigator.prepareMainWindow();
    StartupTrace::mark("main window built");

    if (!opening.isOnlyCopy()) {
        prompts.message(nullptr, MainWindowTexts::alreadyRunningTitle, MainWindowTexts::alreadyRunning,
                        Prompts::Icon::Information);
        return 0;
    }
    const Database::OpenResult& databases = opening.databases();
    if (!databases.ok) {
        prompts.message(nullptr, CommonTexts::warningTitle, databases.message, Prompts::Icon::Exclamation,
                        true);
        return 1;
    }
    // With "use the server" kept in Server.ini the clinic's records are on its server.
    if (!startOnClinicServer(folder, *makeClinicServerActions(), prompts))
        return 0;

    navigator.start();
    StartupTrace::mark("main window shown");
    std::optional<PageCheck> pageCheck;
    const auto startPageCheck = [&] {
        if (!pageCheck)
            pageCheck.emplace(folder, prompts);
    };
    // After the first picture; should no picture come (a window started minimised), a little later.
    FirstFrame::onFirstFrame(&app, [&] { QTimer::singleShot(0, &app, startPageCheck); });
    QTimer::singleShot(kLatestPageCheckStartMs, &app, startPageCheck);
    return QApplication::exec();
}
