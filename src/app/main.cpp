#include "AppNavigator.h"
#include "ClinicServerAdapter.h"
#include "ServerStartup.h"
#include "SessionBus.h"
#include "SingleInstance.h"
#include "backup/Frmbackup.h"
#include "backup/TemporaryFiles.h"
#include "common/BackgroundWork.h"
#include "common/Clock.h"
#include "common/CommonTexts.h"
#include "common/FirstFrame.h"
#include "common/ProgramFolder.h"
#include "common/QtPersianTexts.h"
#include "common/QtDesktop.h"
#include "common/QtPrompts.h"
#include "common/StartupTrace.h"
#include "datastore/Database.h"
#include "mainwindow/MainWindowTexts.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFile>
#include <QFont>
#include <QLibraryInfo>
#include <QProcessEnvironment>
#include <QThread>
#include <QTimer>

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

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

// The session bus the screen reader bridge connects to while the first window is built. With no
// bus to be had, libdbus would still fork a dbus-launch that is not installed and wait for it to
// fail, holding up the first window. An address that refuses at once gives the same answer without
// the fork; QtDBus keeps that answer for the session, and the environment is given back as it was
// before the program starts anything, so that the programs it starts see it unchanged. Changing
// the environment is safe only while no other thread may read it: it is lent before the helper
// thread starts and given back once the helper is done.
class SessionBusAddress final
{
public:
    SessionBusAddress()
    {
        if (!SessionBus::mayBeReachable(QProcessEnvironment::systemEnvironment()))
            m_lent = qputenv(kVariable, "disabled:");
    }
    ~SessionBusAddress() { giveBack(); }
    void giveBack()
    {
        if (m_lent)
            qunsetenv(kVariable);
        m_lent = false;
    }

private:
    static constexpr char kVariable[] = "DBUS_SESSION_BUS_ADDRESS";
    bool m_lent = false;
};

// Loads Qt's SQLite driver library, so that the driver is ready the moment the database is opened:
// relocating it is work the loader can do while the application object waits for the X server.
// Where it is not found nothing is lost: the driver is then loaded when it is asked for.
void loadDatabaseDriverLibrary()
{
    const QByteArray path = QFile::encodeName(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                                              QStringLiteral("/sqldrivers/libqsqlite.so"));
    (void)dlopen(path.constData(), RTLD_LAZY | RTLD_LOCAL); // stays loaded, as the driver does
}

// The work of the start that the main window does not do itself, on one helper thread: on a
// machine with few processors every new thread costs the main thread its processor for a while.
// - While the application object connects to the display (much of which is waiting for the X
//   server), it reads fontconfig's configuration, a few dozen XML files and the font caches that
//   the first text needs (fontconfig keeps it for the whole process, whichever thread read it),
//   loads the SQLite driver's library and takes the single-instance lock.
// - Once the application object exists, it connects to the session bus (X11 only), for the screen
//   reader bridge, which waits for it as the first window is built; makes the database connections;
//   opens and checks the data files, only once the lock is held; and hands their connections to
//   the main thread, which alone uses them.
// The main window is shown only once the lock is held and both files opened.
class StartupHelper final
{
public:
    StartupHelper() : m_earlyFolder(programFolderBeforeApplication())
    {
        try {
            m_thread = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            // No thread to be had: begin() does the work, and the first text reads the fonts.
        }
    }
    ~StartupHelper()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_cancelled = !m_folder;
        }
        m_changed.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }

    // Called once the application object exists and has its name.
    void begin(const QString& folder)
    {
        const bool onX11 = QGuiApplication::platformName() == QLatin1String("xcb");
        if (!m_thread.joinable()) {
            openInFolder(folder, onX11, QThread::currentThread());
            return;
        }
        {
            const std::lock_guard lock(m_mutex);
            m_folder = folder;
            m_connectSessionBus = onX11;
            m_mainThread = QThread::currentThread();
        }
        m_changed.notify_all();
    }

    // Before the first text: the work of reading the font configuration is never done twice.
    void waitForFonts() { waitFor(Stage::FontsRead); }
    // False when another copy runs in this program folder.
    bool isOnlyCopy()
    {
        waitFor(Stage::Done);
        return m_onlyCopy;
    }
    const Database::OpenResult& databases()
    {
        waitFor(Stage::Done);
        return m_databases;
    }

private:
    enum class Stage
    {
        Started,
        FontsRead,
        Done
    };

    void run()
    {
        FcInit();
        reach(Stage::FontsRead);
        loadDatabaseDriverLibrary();
        if (!m_earlyFolder.isEmpty())
            takeLock(m_earlyFolder);
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_folder || m_cancelled; });
        if (m_cancelled)
            return;
        const QString folder = *m_folder;
        const bool connectSessionBus = m_connectSessionBus;
        QThread* const mainThread = m_mainThread;
        lock.unlock();
        openInFolder(folder, connectSessionBus, mainThread);
    }

    void openInFolder(const QString& folder, bool connectSessionBus, QThread* mainThread)
    {
        if (connectSessionBus)
            (void)QDBusConnection::sessionBus();
        Database::addProgramConnections(folder);
        StartupTrace::mark("database driver loaded");
        if (!m_instance || m_lockedFolder != folder)
            takeLock(folder);
        if (m_onlyCopy) {
            m_databases = Database::openProgramDatabases(folder, Database::PageCheck::Separately);
            StartupTrace::mark("databases opened");
        }
        Database::handOverProgramDatabases(folder, mainThread);
        reach(Stage::Done);
    }

    void takeLock(const QString& folder)
    {
        m_instance.emplace(folder); // releases a lock taken before
        m_onlyCopy = m_instance->acquire();
        m_lockedFolder = folder;
        StartupTrace::mark("single-instance lock");
    }

    void reach(Stage stage)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stage = stage;
        }
        m_changed.notify_all();
    }

    void waitFor(Stage stage)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this, stage] { return m_stage >= stage || !m_thread.joinable(); });
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    Stage m_stage = Stage::Started;
    std::optional<QString> m_folder;
    bool m_connectSessionBus = false;
    QThread* m_mainThread = nullptr;
    bool m_cancelled = false;

    // The program folder as the application object will name it, known before it exists; empty
    // when it cannot be told.
    const QString m_earlyFolder;
    std::optional<SingleInstance> m_instance;
    QString m_lockedFolder;
    bool m_onlyCopy = false;
    Database::OpenResult m_databases;
    std::thread m_thread; // last: started once everything it uses is made
};

// Whether the start-up can offer a restore for what it found: DABSH.skn, the file that the backups
// hold, damaged or not readable (a file in use by another program is not damaged).
bool mayBeRestored(Database::File file, Database::FileState state)
{
    return file == Database::File::Clinical &&
           (state == Database::FileState::Damaged || state == Database::FileState::Unreadable);
}

// Reads every page of both database files beside the window once the first one is on screen: a
// large file would otherwise delay it. A damaged file is met before work is put into it: for
// DABSH.skn with the backup window's choice (restore the last backup, or keep a copy of the damaged
// file), after which the program ends or goes on with the restored file; for Theme.skn the
// program ends with the message.
void startPageCheck(BackgroundWork& work, const QString& folder, Prompts& prompts, AppNavigator& navigator)
{
    const auto findDamaged = [folder]() -> std::optional<Database::File> {
        for (const Database::File file : {Database::File::Clinical, Database::File::Theme}) {
            if (Database::checkPages(folder, file) == Database::FileState::Damaged)
                return file;
        }
        return std::nullopt;
    };
    work.start(findDamaged, [&prompts, &navigator](const std::optional<Database::File>& damaged) {
        if (!damaged)
            return;
        if (mayBeRestored(*damaged, Database::FileState::Damaged)) {
            if (!navigator.restoreDamagedDatabase())
                QApplication::exit(1);
            return;
        }
        prompts.message(QApplication::activeWindow(), CommonTexts::warningTitle,
                        Database::messageFor(Database::FileState::Damaged, *damaged),
                        Prompts::Icon::Exclamation, true);
        QApplication::exit(1);
    });
}

} // namespace

int main(int argc, char* argv[])
{
    StartupTrace::mark("main");
    // Named before the application object exists: the single-instance lock file records the name.
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    // Before any other thread exists, as the environment is changed.
    SessionBusAddress sessionBusAddress;
    StartupHelper helper;
    QApplication app(argc, argv);
    StartupTrace::watchFirstFrame(&app);
    StartupTrace::mark("application made");
    const QString folder = programFolder();
    helper.begin(folder);
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
    helper.waitForFonts();
    navigator.prepareMainWindow();
    StartupTrace::mark("main window built");

    if (!helper.isOnlyCopy()) {
        prompts.message(nullptr, MainWindowTexts::alreadyRunningTitle, MainWindowTexts::alreadyRunning,
                        Prompts::Icon::Information);
        return 0;
    }
    Database::OpenResult databases = helper.databases();
    while (!databases.ok) {
        if (!mayBeRestored(databases.failedFile == Database::clinicalFileName ? Database::File::Clinical
                                                                              : Database::File::Theme,
                           databases.state)) {
            prompts.message(nullptr, CommonTexts::warningTitle, databases.message, Prompts::Icon::Exclamation,
                            true);
            return 1;
        }
        // The user restores the last backup, or keeps a copy of the damaged file and leaves.
        if (!Frmbackup::runForDamagedDatabase(context))
            return 1;
        databases = Database::openProgramDatabases(folder, Database::PageCheck::Separately);
    }
    // The helper is done with the session bus, and nothing has been started yet.
    sessionBusAddress.giveBack();
    // With "use the server" kept in Server.ini the clinic's records are on its server.
    if (!startOnClinicServer(folder, *makeClinicServerActions(), prompts))
        return 0;

    navigator.start();
    StartupTrace::mark("main window shown");
    BackgroundWork pageCheck;
    BackgroundWork sweep;
    bool pageCheckStarted = false;
    const auto checkPagesOnce = [&] {
        if (std::exchange(pageCheckStarted, true))
            return;
        startPageCheck(pageCheck, folder, prompts, navigator);
        // Copies of the records left by a backup, restore or export that was cut off.
        sweep.start([folder] { TemporaryFiles::sweepAll(folder); }, [] {});
    };
    // After the first picture; should no picture come (a window started minimised), a little later.
    FirstFrame::onFirstFrame(&app, [&] { FirstFrame::whenPictureShown(&app, checkPagesOnce); });
    QTimer::singleShot(kLatestPageCheckStartMs, &app, checkPagesOnce);
    return QApplication::exec();
}
