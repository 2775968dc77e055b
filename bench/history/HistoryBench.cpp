// Times the database work behind a subject's history and the clinic's reliability estimate, in a
// DABSH.skn of 1,000,000 subjects: one of them has 50 administrations, every tenth of the others an
// earlier one as well, so the estimate reads 1,100,049 administrations in all. Prints:
// - the median, fastest and slowest of 51 readings of the 50 administrations with their entry
//   details and the clinic's thresholds (what the history window reads when it opens), against the
//   aim of 16 ms;
// - one reading of the estimate beside the window (ReliabilityEstimate::read), its peak memory, the
//   lookup of the kept result, and whether one changed answer makes the kept result miss.
// Not a test: run build/bench/bench_history by hand (filling the file takes a minute or two).
//
// On the development machine (2 cores, load near 0; the file made in 15 s): the history with its
// entry details in 0.89 ms as a median (0.76 to 1.57 ms); the estimate in 5.9 s beside the window
// (5.7 s of it the reading of the rows), with under 2 MiB more peak memory; the kept result found
// in 0.03 ms; and one changed answer made it miss.

#include "BenchSupport.h"
#include "datastore/AdministrationDetails.h"
#include "datastore/AdministrationStore.h"
#include "datastore/Database.h"
#include "datastore/SqlDialect.h"
#include "scoring/ReliabilityEstimate.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kSubjects = 1000000;
constexpr int kAdministrations = 50;
constexpr int kRuns = 51;
const QString kHistoryCode = QStringLiteral("1");

bool exec(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    return query.exec(sql);
}

// New random answers for the subject's current administration.
bool answerAgain(const QSqlDatabase& db, const QString& code)
{
    QStringList sets;
    for (int item = 1; item <= Database::kItemCount; ++item)
        sets << QStringLiteral("%1 = '%2'")
                    .arg(quotedIdentifier(Database::itemColumn(item)))
                    .arg(1 + QRandomGenerator::global()->bounded(5));
    return exec(db,
                QStringLiteral("UPDATE \"Answer\" SET %1 WHERE \"Code\" = '%2'").arg(sets.join(u','), code));
}

// The subject with 50 administrations, and one earlier administration for every tenth other one.
bool addHistories(const QSqlDatabase& db)
{
    for (int i = 1; i < kAdministrations; ++i) {
        const AdministrationStore::Start start{
            QStringLiteral("1402/%1/01").arg(1 + i % 12, 2, 10, QChar(u'0')), QStringLiteral("10:00:00"),
            AdministrationStore::Entry::OnScreen, QString()};
        if (!AdministrationStore::startNew(db, kHistoryCode, start) || !answerAgain(db, kHistoryCode))
            return false;
    }
    QStringList items;
    for (int item = 1; item <= Database::kItemCount; ++item)
        items << quotedIdentifier(Database::itemColumn(item));
    return exec(db,
                QStringLiteral("INSERT INTO %1 (\"Code\", \"Seq\", \"Date\", \"Time\", \"Entry\", \"User\", "
                               "\"Open\", %2) SELECT \"Code\", '1', '1401/01/01', '09:00:00', '', '', '', "
                               "%2 FROM \"Answer\" WHERE rowid % 10 = 0 AND \"Code\" <> '%3'")
                    .arg(quotedIdentifier(AdministrationStore::table), items.join(u','), kHistoryCode));
}

// The peak resident memory since the last reset, in KiB.
long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    }
    return -1;
}

void resetPeak()
{
    // Writing 5 to clear_refs resets the peak to the memory in use now.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

int main(int argc, char* argv[])
{
    BenchSupport::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path();
    QElapsedTimer filling;
    filling.start();
    if (!BenchSupport::openFilledFolder(folder, kSubjects)) {
        std::fprintf(stderr, "the subjects could not be stored\n");
        return 1;
    }
    QSqlDatabase db = Database::connection(folder, Database::File::Clinical);
    if (!addHistories(db)) {
        std::fprintf(stderr, "the administrations could not be stored\n");
        return 1;
    }
    std::printf("file of %d subjects made in %.0f s\n", kSubjects, filling.elapsed() / 1000.0);

    int read = 0;
    QList<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const auto administrations = AdministrationStore::list(db, kHistoryCode);
        const auto details = AdministrationDetails::readSubject(db, kHistoryCode);
        (void)AdministrationDetails::readSettings(db);
        times << timer.nsecsElapsed() / 1e6;
        if (!details)
            std::fprintf(stderr, "the entry details could not be read\n");
        read = administrations ? int(administrations->size()) : -1;
    }
    std::sort(times.begin(), times.end());
    const double median = times.at(kRuns / 2);
    std::printf("history of one subject (%d administrations): median %.2f ms (%.2f to %.2f ms) over %d "
                "readings; aim 16 ms: %s\n",
                read, median, times.constFirst(), times.constLast(), kRuns,
                median <= 16.0 ? "met" : "NOT met");

    const QString name = Database::connectionName(folder, Database::File::Clinical);
    const QString mark = ReliabilityEstimate::dataMark(db);
    auto progress = std::make_shared<ReliabilityEstimate::Progress>();
    resetPeak();
    const long before = peakKiB();
    QElapsedTimer estimating;
    estimating.start();
    const auto norms = ReliabilityEstimate::read(name, mark, progress);
    const double seconds = estimating.elapsed() / 1000.0;
    const long peak = peakKiB();
    std::printf("reliability estimate over %lld administrations: %.2f s beside the window, %s; peak memory "
                "%ld KiB above what was in use before\n",
                static_cast<long long>(progress->read.load()), seconds, norms ? "read" : "NOT read",
                peak - before);

    // What of it is the reading of the rows alone.
    QElapsedTimer reading;
    reading.start();
    qint64 rows = 0;
    AdministrationStore::eachAnswers(db, [&rows](const auto&) { return ++rows > 0; });
    std::printf("the rows alone, without the statistics: %.2f s\n", reading.elapsed() / 1000.0);

    const double kept = BenchSupport::medianMilliseconds(kRuns, [&](int) {
        if (!ReliabilityEstimate::kept(name, ReliabilityEstimate::dataMark(db)))
            std::fprintf(stderr, "the kept estimate was not found\n");
    });
    std::printf("kept estimate, data mark included: median %.3f ms\n", kept);
    if (!answerAgain(db, QStringLiteral("2")))
        return 1;
    std::printf("after one changed answer the kept estimate is %s\n",
                ReliabilityEstimate::kept(name, ReliabilityEstimate::dataMark(db)) ? "STILL USED"
                                                                                   : "read again");
    return 0;
}
