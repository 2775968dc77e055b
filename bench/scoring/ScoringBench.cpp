// Times the scoring of one subject on a DABSH.skn holding 100,000 subjects with their answers:
// the lookup by code, the sums, the score texts and the store of the five scores. Measured twice:
// through the scoring functions on data views, and through the scoring window itself (its bound
// fields included) with prompts that answer at once. Prints the medians; not a test: run
// build/bench/bench_scoring by hand.

#include "BenchFakes.h"
#include "BenchSupport.h"
#include "common/AppContext.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "scoring/FrmkLID.h"
#include "scoring/ScoringKey.h"
#include "scoring/ScoringStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kSubjects = 100000;
constexpr int kRuns = 200;

QString codeOfRun(int run)
{
    return QString::number(1 + (run * 7919) % kSubjects);
}

} // namespace

int main(int argc, char* argv[])
{
    BenchSupport::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path();
    if (!Database::openProgramDatabases(folder).ok)
        return 1;
    QElapsedTimer filling;
    filling.start();
    if (!BenchSupport::fillSubjects(folder, kSubjects))
        return 1;
    std::printf("filled %d subjects with answers in %.1f s\n", kSubjects,
                static_cast<double>(filling.elapsed()) / 1000.0);

    using Database::File;
    auto answers = Database::openView(folder, File::Clinical, QStringLiteral("Answer"));
    auto probe = Database::openView(folder, File::Clinical, QStringLiteral("IDE"));
    auto subjects = Database::openView(folder, File::Clinical, QStringLiteral("IDE"));
    int stored = 0;
    const double core = BenchSupport::medianMilliseconds(kRuns, [&](int run) {
        const QString code = codeOfRun(run);
        ScoringKey::ItemTexts items;
        if (!ScoringStore::selectAnswers(*answers, code, &items) ||
            !ScoringStore::selectSubject(*probe, code))
            return;
        const QString line = ScoringKey::subjectDataLine(ScoringStore::subjectRecord(*probe));
        ScoringStore::selectSubject(*subjects, code);
        if (ScoringStore::storeScores(*subjects, ScoringKey::scoreTexts(items)) && !line.isEmpty())
            ++stored;
    });

    // The same work short of the write, to tell the lookup and sums from the disk's sync time.
    const double lookupOnly = BenchSupport::medianMilliseconds(kRuns, [&](int run) {
        const QString code = codeOfRun(run + 2 * kRuns);
        ScoringKey::ItemTexts items;
        if (!ScoringStore::selectAnswers(*answers, code, &items) ||
            !ScoringStore::selectSubject(*probe, code))
            return;
        (void)ScoringKey::subjectDataLine(ScoringStore::subjectRecord(*probe));
        ScoringStore::selectSubject(*subjects, code);
        (void)ScoringKey::scoreTexts(items);
    });

    InstantPrompts prompts;
    NoNavigator navigator;
    AppContext context{folder, folder, &prompts, nullptr, &navigator, nullptr};
    double window = 0;
    {
        FrmkLID scoring(context);
        window = BenchSupport::medianMilliseconds(kRuns, [&](int run) {
            prompts.code = codeOfRun(run + kRuns);
            scoring.chooseAndScore();
        });
    }

    std::printf("subjects: %d, runs: %d, scored and stored: %d\n", kSubjects, kRuns, stored);
    std::printf("score one subject (lookup, sums, texts, store): %.3f ms (median)\n", core);
    std::printf("the same through the scoring window:            %.3f ms (median)\n", window);
    std::printf("lookup, sums and texts without the store:       %.3f ms (median)\n", lookupOnly);
    answers.reset();
    probe.reset();
    subjects.reset();
    Database::closeProgramDatabases(folder);
    return 0;
}
