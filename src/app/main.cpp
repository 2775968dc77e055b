#include "AppNavigator.h"
#include "ClinicServerAdapter.h"
#include "QtPersianTexts.h"
#include "ServerStartup.h"
#include "SessionBus.h"
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
#include <QProcessEnvironment>
#include <QThread>
#include <QTimer>

#include <fontconfig/fontconfig.h>

#include <memory>
#include <optional>
#include <system_error>
#include <thread>

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

// The first picture's text needs fontconfig's configuration: a few dozen XML files and the font
// caches, about 5 ms of work. A thread reads it while the application object connects to the
// display, much of which is waiting for the X server. fontconfig keeps it for the whole process,
// whichever thread read it; the thread is joined before the window is built, so that the work is
// never done twice.
class FontConfigWarmUp final
{
public:
    FontConfigWarmUp()
    {
        try {
            m_thread = std::thread([] { FcInit(); });
        } catch (const std::system_error&) {
            // No thread to be had: the first text reads the configuration itself.
        }
    }
    ~FontConfigWarmUp() { finish(); }
    void finish()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::thread m_thread;
};

// The screen reader bridge connects to the desktop's session bus while the first window is built,
// and waits for it. Connecting on a thread of its own while the window is built leaves the bridge
// the connection (or its failure) made. Only on X11, where the bridge is.
//
// With no bus to be had, libdbus would still fork a dbus-launch that is not installed and wait for
// it to fail, holding up the first window. An address that refuses at once gives the same answer
// without the fork; QtDBus keeps that answer for the session, and the environment is given back as
// it was before the program starts anything, so that the programs it starts see it unchanged.
class SessionBusWarmUp final
{
public:
    SessionBusWarmUp()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        if (!SessionBus::mayBeReachable(QProcessEnvironment::systemEnvironment()))
            m_addressLent = qputenv(kBusAddressVariable, "disabled:");
        m_thread.reset(QThread::create([] { (void)QDBusConnection::sessionBus(); }));
        m_thread->start();
    }
    ~SessionBusWarmUp() { finish(); }

    // Waits for the connection, then gives the environment back.
    void finish()
    {
        if (m_thread)
            m_thread->wait();
        if (m_addressLent)
            qunsetenv(kBusAddressVariable);
        m_addressLent = false;
    }

private:
    static constexpr char kBusAddressVariable[] = "DBUS_SESSION_BUS_ADDRESS";
    std::unique_ptr<QThread> m_thread;
    bool m_addressLent = false;
};

// The single-instance test and the opening of the data files run on threads of their own while
// the main window is built. The lock file is written through to the disk, which takes a while and
// no processor: meanwhile the database driver is loaded. The files are opened only once the lock is
// held, then the connections are handed to the main thread, which alone uses them. The window is
// shown only once both have succeeded.
class StartupOpening final
{
public:
    explicit StartupOpening(const QString& folder) : m_instance(folder)
    {
        m_lockThread.reset(QThread::create([this] {
            m_onlyCopy = m_instance.acquire();
            StartupTrace::mark("single-instance lock");
        }));
        m_lockThread->start();
        QThread* mainThread = QThread::currentThread();
        m_openingThread.reset(QThread::create([this, folder, mainThread] {
            Database::addProgramConnections(folder);
            StartupTrace::mark("database driver loaded");
            m_lockThread->wait();
            if (m_onlyCopy) {
                m_databases = Database::openProgramDatabases(folder, Database::PageCheck::Separately);
                StartupTrace::mark("databases opened");
            }
            Database::handOverProgramDatabases(folder, mainThread);
        }));
        m_openingThread->start();
    }
    ~StartupOpening() { wait(); }

    // Waits for the threads. False when another copy runs in this program folder.
    bool isOnlyCopy()
    {
        wait();
        return m_onlyCopy;
    }
    const Database::OpenResult& databases()
    {
        wait();
        return m_databases;
    }

private:
    void wait()
    {
        m_openingThread->wait();
        m_lockThread->wait();
    }

    SingleInstance m_instance;
    std::unique_ptr<QThread> m_lockThread;
    std::unique_ptr<QThread> m_openingThread;
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
    FontConfigWarmUp fontConfig;
    QApplication app(argc, argv);
    StartupTrace::watchFirstFrame(&app);
    StartupTrace::mark("application made");
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    const QString folder = programFolder();
    // The lock and the data files on threads while the window is built; the screen reader
    // bridge's session bus on another.
    StartupOpening opening(folder);
    SessionBusWarmUp sessionBus;
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
    fontConfig.finish();
    navigator.prepareMainWindow();
    StartupTrace::mark("main window built");
    sessionBus.finish();

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
    FirstFrame::onFirstFrame(&app, [&] { FirstFrame::whenPictureShown(&app, startPageCheck); });
    QTimer::singleShot(kLatestPageCheckStartMs, &app, startPageCheck);
    return QApplication::exec();
}
