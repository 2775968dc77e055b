#include "Startup.h"

#include "AppNavigator.h"
#include "ServerStartup.h"
#include "backup/Frmbackup.h"
#include "backup/TemporaryFiles.h"
#include "common/CommonTexts.h"
#include "common/FirstFrame.h"
#include "common/Prompts.h"
#include "common/QtPersianTexts.h"
#include "common/StartupTrace.h"
#include "datastore/Database.h"
#include "mainwindow/MainWindowTexts.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFontMetrics>
#include <QPointer>
#include <QTimer>

#include <fontconfig/fontconfig.h>

namespace {

// How long the work after the first picture waits for it before it starts anyway (a window started
// minimised never paints).
constexpr int kLatestAfterFirstPictureMs = 2000;

// Whether the start-up can offer a restore for what it found: DABSH.skn, the file that the backups
// hold, damaged or not readable (a file in use by another program is not damaged).
bool mayBeRestored(Database::File file, Database::FileState state)
{
    return file == Database::File::Clinical &&
           (state == Database::FileState::Damaged || state == Database::FileState::Unreadable);
}

} // namespace

Startup::Startup(const AppContext& context, AppNavigator& navigator, ClinicServerActions& clinicServer)
    : m_context(context), m_navigator(navigator), m_clinicServer(clinicServer), m_instance(context.dataFolder)
{
    m_context.navigator = &navigator;
    readAheadForFirstPicture();
}

Startup::~Startup() = default;

void Startup::setUpApplication(QApplication& application)
{
    // The single-instance lock file records the name.
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    // The installed desktop entry's id: a desktop shows the window with that entry's name and icon.
    QApplication::setDesktopFileName(QStringLiteral("ir.velmorasoft.Velmora"));
    setUpPersianApplication(application);
    StartupTrace::mark("application set up");
}

// What the first window's first text waits for, read beside the window and never awaited: whoever
// asks second takes what the first made.
//  - The typefaces: fontconfig's configuration (some fifty XML files, about 3.3 ms), then Qt's list
//    of typefaces and the fallbacks for Persian and Latin text in the program's typeface, which Qt
//    keeps for every thread. Only the typeface itself, kept per thread, is loaded again for the
//    window. fontconfig and Qt's list may be read by two threads at once.
//  - The session bus, to which the screen reader bridge connects as the first button gets its text;
//    without a bus the look for one (autolaunch) holds the window up. Qt keeps the connection, or
//    its failure, for the bridge. Only on platforms that have the bridge.
// bench_startup, by turns with the start-up without them, 100 rounds each: the first picture 4.0 ms
// sooner without a session bus (46.8 against 51.1 ms, beside a bare window of 29 ms; sooner in 77
// of the rounds, where an unchanged build is sooner in about half) and 6.3 ms sooner with one (69
// of 100); fontconfig and the bus alone gave 2.7 ms. The window is mapped some 2 ms later, as the
// reads share the processor with its building, but it is whole sooner.
void Startup::readAheadForFirstPicture()
{
    m_fontsReadAhead.start(
        [font = QApplication::font(), text = MainWindowTexts::registerSubject + QStringLiteral(" Velmora")] {
            FcInit();
            (void)QFontMetrics(font).horizontalAdvance(text);
        },
        [] {});
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland")))
        m_sessionBusReadAhead.start([] { (void)QDBusConnection::sessionBus(); }, [] {});
}

std::optional<int> Startup::showMainWindow()
{
    if (!isOnlyCopy()) {
        m_context.prompts->message(nullptr, MainWindowTexts::alreadyRunningTitle,
                                   MainWindowTexts::alreadyRunning, Prompts::Icon::Information);
        return 0;
    }
    if (const std::optional<int> exitCode = openDataFiles())
        return exitCode;
    // With "use the server" kept in Server.ini the clinic's records are on its server.
    if (!startOnClinicServer(m_context.dataFolder, m_clinicServer, *m_context.prompts))
        return 0;

    if (!m_navigator.signInAndStart())
        return 0;
    StartupTrace::mark("main window shown");
    // After the first picture; should no picture come (a window started minimised), a little later.
    FirstFrame::onFirstFrame(qApp, [self = QPointer<Startup>(this)] {
        if (self)
            FirstFrame::whenPictureShown(self, [self] { self->afterFirstPicture(); });
    });
    QTimer::singleShot(kLatestAfterFirstPictureMs, this, [this] { afterFirstPicture(); });
    return std::nullopt;
}

bool Startup::isOnlyCopy()
{
    const bool onlyCopy = m_instance.acquire();
    StartupTrace::mark("single-instance lock");
    return onlyCopy;
}

std::optional<int> Startup::openDataFiles()
{
    // Every page is read later, beside the window: a large file would hold the window back.
    Database::OpenResult opened =
        Database::openProgramDatabases(m_context.dataFolder, Database::PageCheck::Separately);
    StartupTrace::mark("databases opened");
    while (!opened.ok) {
        const Database::File file = opened.failedFile == Database::clinicalFileName ? Database::File::Clinical
                                                                                    : Database::File::Theme;
        if (!mayBeRestored(file, opened.state)) {
            m_context.prompts->message(nullptr, CommonTexts::warningTitle, opened.message,
                                       Prompts::Icon::Exclamation, true);
            return 1;
        }
        // The user restores the last backup, or keeps a copy of the damaged file and leaves.
        if (!Frmbackup::runForDamagedDatabase(m_context))
            return 1;
        opened = Database::openProgramDatabases(m_context.dataFolder, Database::PageCheck::Separately);
    }
    return std::nullopt;
}

void Startup::afterFirstPicture()
{
    if (std::exchange(m_afterFirstPictureStarted, true))
        return;
    checkPages();
    // Copies of the records left by a backup, restore or export that was cut off.
    m_sweep.start([folder = m_context.dataFolder] { TemporaryFiles::sweepAll(folder); }, [] {});
}

void Startup::checkPages()
{
    // A damaged file is met before work is put into it: for DABSH.skn with the backup window's
    // choice (restore the last backup, or keep a copy of the damaged file), after which the
    // program ends or goes on with the restored file; for Theme.skn the program ends with the
    // message.
    const auto findDamaged = [folder = m_context.dataFolder]() -> std::optional<Database::File> {
        for (const Database::File file : {Database::File::Clinical, Database::File::Theme}) {
            if (Database::checkPages(folder, file) == Database::FileState::Damaged)
                return file;
        }
        return std::nullopt;
    };
    m_pageCheck.start(findDamaged, [this](const std::optional<Database::File>& damaged) {
        if (!damaged)
            return;
        if (mayBeRestored(*damaged, Database::FileState::Damaged)) {
            if (!m_navigator.restoreDamagedDatabase())
                QApplication::exit(1);
            return;
        }
        m_context.prompts->message(QApplication::activeWindow(), CommonTexts::warningTitle,
                                   Database::messageFor(Database::FileState::Damaged, *damaged),
                                   Prompts::Icon::Exclamation, true);
        QApplication::exit(1);
    });
}
