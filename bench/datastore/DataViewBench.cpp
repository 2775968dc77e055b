// Times the main window's data work on a DABSH.skn holding 100,000 subjects: opening its six
// views, looking a subject up by code, counting the subjects and going to the last row.
// Prints the median of each over many runs. Not a test: run build/bench/bench_dataview by hand.

#include "BenchSupport.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kSubjects = 100000;
constexpr int kRuns = 300;

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path();
    if (!BenchSupport::openFilledFolder(folder, kSubjects))
        return 1;

    using Database::File;
    const double openSix = BenchSupport::medianMilliseconds(kRuns, [&](int) {
        auto theme = Database::openView(folder, File::Theme, QStringLiteral("Theme"));
        auto registration = Database::openView(folder, File::Clinical, QStringLiteral("IDE"));
        auto counting = Database::openView(folder, File::Clinical, QStringLiteral("IDE"));
        auto answers = Database::openView(folder, File::Clinical, QStringLiteral("Answer"));
        auto proposal = Database::openView(folder, File::Clinical, QStringLiteral("IDE"));
        auto questions = Database::openView(folder, File::Clinical, QStringLiteral("QU"));
    });

    auto subjects = Database::openView(folder, File::Clinical, QStringLiteral("IDE"));
    const double filter = BenchSupport::medianMilliseconds(kRuns, [&](int run) {
        subjects->setFilter(QStringLiteral("code='") + QString::number(1 + (run * 7919) % kSubjects) + u'\'');
    });
    subjects->requery();
    const double count = BenchSupport::medianMilliseconds(kRuns, [&](int) { (void)subjects->count(); });
    const double last = BenchSupport::medianMilliseconds(kRuns, [&](int) { subjects->moveLast(); });

    std::printf("subjects: %d, runs: %d\n", kSubjects, kRuns);
    std::printf("open the six views: %.3f ms (median)\n", openSix);
    std::printf("filter by code:     %.3f ms (median)\n", filter);
    std::printf("count all subjects: %.3f ms (median)\n", count);
    std::printf("go to the last row: %.3f ms (median)\n", last);
    subjects.reset();
    Database::closeProgramDatabases(folder);
    return 0;
}
