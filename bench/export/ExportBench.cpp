// Times the research export of 100,000 subjects with their answers and scores, to .xlsx, .csv and
// SPSS .sav: once through the export itself, once through the command as the user runs it (its
// progress dialog and the repainting included) with prompts that answer at once. Prints the
// medians in seconds and the file sizes, and the .sav's time as a ratio of the .csv's; not a
// test: run build/bench/bench_export by hand (arguments "xlsx", "csv", "sav" time those formats only).

#include "BenchSupport.h"
#include "common/AppContext.h"
#include "common/Prompts.h"
#include "datastore/Database.h"
#include "export/ExportCommand.h"
#include "export/SubjectExport.h"

#include <QApplication>
#include <QFileInfo>
#include <QHash>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

constexpr int kSubjects = 100000;
constexpr int kRuns = 3;

// Prompts that choose the file at once and decline to open it.
class InstantPrompts final : public Prompts
{
public:
    QString file;
    void notice(QWidget*, const QString&, int) override {}
    void message(QWidget*, const QString&, const QString& text, Icon, bool) override
    {
        std::printf("message: %s\n", qPrintable(text));
    }
    bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }
    int askChoice(QWidget*, const QString&, const QString&, const QStringList&) override { return -1; }
    QString askText(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> askPassword(QWidget*, const QString&, const QString&) override { return {}; }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return file; }
    void beep() override {}
};

double seconds(double milliseconds)
{
    return milliseconds / 1000.0;
}

} // namespace

int main(int argc, char* argv[])
{
    BenchSupport::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path();
    if (!BenchSupport::openFilledFolder(folder, kSubjects))
        return 1;
    // Scored subjects, and a few names that need quoting, as real data has.
    QSqlQuery scores(Database::connection(folder, Database::File::Clinical));
    if (!scores.exec(QStringLiteral("UPDATE IDE SET S = '3.43', L = '4.', F1 = '2.86', P = '.', F2 = '4.14', "
                                    "LName = 'احمدي, \"زند\"' WHERE CAST(Code AS INTEGER) % 10 = 0")))
        return 1;
    QSqlDatabase database = Database::connection(folder, Database::File::Clinical);

    InstantPrompts prompts;
    AppContext context{folder, folder, &prompts, nullptr, nullptr, nullptr};
    QHash<QString, double> coreSeconds;
    for (const char* suffix : {"xlsx", "csv", "sav"}) {
        if (argc > 1 && !QCoreApplication::arguments().mid(1).contains(QLatin1String(suffix)))
            continue;
        const QString path = dir.filePath(QStringLiteral("export.") + QLatin1String(suffix));
        int written = 0;
        // The processor time as well: on a busy machine the wall clock says more about the neighbours.
        const std::clock_t cpuStart = std::clock();
        const double core = BenchSupport::medianMilliseconds(
            kRuns, [&](int) { written = SubjectExport::write(database, SubjectSelection{}, path).subjects; });
        const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / kRuns;
        prompts.file = path;
        const double command = BenchSupport::medianMilliseconds(kRuns, [&](int) {
            ExportCommand(context, nullptr).run(SubjectSelection{}, ExportCommand::Choice{});
        });
        std::printf(".%s: %d subjects, %.1f MB; export %.2f s (processor %.2f s), through the command %.2f s "
                    "(medians of %d)\n",
                    suffix, written, static_cast<double>(QFileInfo(path).size()) / 1e6, seconds(core), cpu,
                    seconds(command), kRuns);
        coreSeconds.insert(QLatin1String(suffix), seconds(core));
    }
    if (coreSeconds.contains(QStringLiteral("sav")) && coreSeconds.contains(QStringLiteral("csv")))
        std::printf(".sav against .csv of the same subjects: %.2f s / %.2f s = %.2f\n",
                    coreSeconds.value("sav"), coreSeconds.value("csv"),
                    coreSeconds.value("sav") / coreSeconds.value("csv"));
    database = QSqlDatabase();
    scores = QSqlQuery();
    Database::closeProgramDatabases(folder);
    return 0;
}
