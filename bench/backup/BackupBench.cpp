// Backs up a 1 GiB DABSH.skn through the backup window and compares the time with cp of the
// same file, in one run; counts how often the window repainted during the copy. The files are
// made in a temporary folder under the given folder (default: the current one) and removed
// afterwards. Not a test: run build/bench/bench_backup [folder] by hand.

#include "BenchSupport.h"
#include "backup/Backup.h"
#include "backup/Frmbackup.h"
#include "common/AppContext.h"
#include "common/Clock.h"
#include "common/Desktop.h"
#include "common/Prompts.h"
#include "datastore/Database.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qint64 kMiB = 1024 * 1024;
// 1 MiB padding rows; VELMORA_BENCH_MIB asks for a smaller file when trying things out.
int paddingRows()
{
    const int asked = qEnvironmentVariableIntValue("VELMORA_BENCH_MIB");
    return asked > 0 ? asked : 1024;
}

class QuietPrompts final : public Prompts
{
public:
    QStringList messages;
    void notice(QWidget*, const QString&, int) override {}
    void message(QWidget*, const QString&, const QString& text, Icon, bool) override { messages << text; }
    bool askYesNo(QWidget*, const QString&, const QString&) override { return true; }
    int askChoice(QWidget*, const QString&, const QString&, const QStringList&) override { return -1; }
    QString askText(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> askPassword(QWidget*, const QString&, const QString&) override { return {}; }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    void beep() override {}
};

class NoDesktop final : public Desktop
{
public:
    void openUrl(const QUrl&) override {}
    bool startProgram(const QString&, const QStringList&) override { return false; }
    void startCalculator() override {}
    void quit() override {}
};

// Notes the window's repaint passes: each one is an update request to the top-level window.
class RepaintCounter final : public QObject
{
public:
    RepaintCounter() { clock.start(); }
    QElapsedTimer clock;
    QList<qint64> at; // milliseconds since the counter was made
    int paints = 0;   // paint events of the watched progress bar
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::UpdateRequest)
            at << clock.elapsed();
        else if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
    // The longest time between two of the first `count` repaints.
    qint64 longestGap(qsizetype count) const
    {
        qint64 gap = 0;
        for (qsizetype i = 1; i < count; ++i)
            gap = std::max(gap, at[i] - at[i - 1]);
        return gap;
    }
};

// A DABSH.skn of 1 GiB: the usual tables, and random padding rows beside them.
bool makeLargeDatabase(const QString& folder)
{
    if (!BenchSupport::openFilledFolder(folder, 10000))
        return false;
    QSqlDatabase db = Database::connection(folder, Database::File::Clinical);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("CREATE TABLE Padding (Data BLOB)")) || !db.transaction())
        return false;
    for (int row = 0, rows = paddingRows(); row < rows; ++row)
        query.exec(QStringLiteral("INSERT INTO Padding VALUES (randomblob(%1))").arg(kMiB - 4096));
    return db.commit();
}

double seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

double timeCp(const QString& source, const QString& destination, bool sync)
{
    QElapsedTimer timer;
    timer.start();
    QProcess::execute(QStringLiteral("cp"), {source, destination});
    if (sync)
        QProcess::execute(QStringLiteral("sync"), {destination});
    const double elapsed = seconds(timer);
    QFile::remove(destination);
    return elapsed;
}

} // namespace

int main(int argc, char* argv[])
{
    BenchSupport::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir dir(QDir(base).filePath(QStringLiteral("velmora-backup-bench-XXXXXX")));
    if (!dir.isValid())
        return 1;
    const QString folder = dir.path();
    QElapsedTimer making;
    making.start();
    if (!makeLargeDatabase(folder)) {
        std::fprintf(stderr, "could not make the large database\n");
        return 1;
    }
    const QString database = QDir(folder).filePath(Database::clinicalFileName);
    const double size = static_cast<double>(QFileInfo(database).size());
    std::printf("DABSH.skn: %.0f MiB, made in %.1f s\n", size / kMiB, seconds(making));

    const QString destination = QDir(folder).filePath(QStringLiteral("bench.mdbB"));
    const double cpSeconds = timeCp(database, destination, false);
    const double cpSyncSeconds = timeCp(database, destination, true);

    // The copy alone, as the backup and the restore run it.
    QElapsedTimer copying;
    copying.start();
    Backup::CopyBackupFile(database, destination);
    const double copySeconds = seconds(copying);
    QFile::remove(destination);

    // The whole backup through the window: read lock, copy, integrity check, rename.
    QuietPrompts prompts;
    NoDesktop desktop;
    SystemClock clock;
    AppContext context{folder, folder, &prompts, &desktop, nullptr, &clock};
    Frmbackup window(context);
    window.show();
    QApplication::processEvents();
    window.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(destination);
    QElapsedTimer backingUp;
    RepaintCounter counter;
    window.installEventFilter(&counter);
    window.findChild<QWidget*>(QStringLiteral("ProgressBar1"))->installEventFilter(&counter);
    // The copy has ended when the progress bar is full; the check and the rename follow.
    auto* progress = window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    qint64 copyEnded = -1;
    QObject::connect(progress, &QProgressBar::valueChanged, [&](int value) {
        if (value == progress->maximum() && copyEnded < 0)
            copyEnded = counter.clock.elapsed();
    });
    backingUp.start();
    window.makeBackup();
    const double backupSeconds = seconds(backingUp);
    const bool ok =
        prompts.messages.size() == 1 && QFileInfo(destination).size() == QFileInfo(database).size();

    std::printf("cp:                      %6.2f s  %7.0f MiB/s\n", cpSeconds, size / kMiB / cpSeconds);
    std::printf("cp + sync:               %6.2f s  %7.0f MiB/s\n", cpSyncSeconds,
                size / kMiB / cpSyncSeconds);
    std::printf("CopyBackupFile:          %6.2f s  %7.0f MiB/s  (%.2f of cp + sync)\n", copySeconds,
                size / kMiB / copySeconds, cpSyncSeconds / copySeconds);
    std::printf("backup through window:   %6.2f s  %7.0f MiB/s  (%.2f of cp, %.2f of cp + sync)%s\n",
                backupSeconds, size / kMiB / backupSeconds, cpSeconds / backupSeconds,
                cpSyncSeconds / backupSeconds, ok ? "" : "  FAILED");
    const double copyPhase = copyEnded / 1000.0;
    qsizetype duringCopy = 0;
    while (duringCopy < counter.at.size() && counter.at[duringCopy] <= copyEnded)
        ++duringCopy;
    std::printf(
        "window repaints:         %lld during the copy's %.2f s = %.0f per second, longest gap %lld ms\n",
        static_cast<long long>(duringCopy), copyPhase, copyPhase > 0 ? duringCopy / copyPhase : 0.0,
        static_cast<long long>(counter.longestGap(duringCopy)));
    std::printf("progress bar paints:     %d\n", counter.paints);
    std::printf("check and rename after the copy: %.2f s\n", backupSeconds - copyPhase);
    if (!ok)
        std::printf("messages: %s\n", qPrintable(prompts.messages.join(u'|')));
    Database::closeProgramDatabases(folder);
    return ok ? 0 : 1;
}
