// Times the main window's data work on a DABSH.skn holding 100,000 subjects: opening its six
// views, looking a subject up by code, counting the subjects and going to the last row.
// Prints the median of each over many runs. Not a test: run build/bench/bench_dataview by hand.

#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kSubjects = 100000;
constexpr int kRuns = 300;

void fill(const QString& folder)
{
    QSqlDatabase db = Database::connection(folder, Database::File::Clinical);
    Transaction transaction(db);
    QSqlQuery subject(db);
    subject.prepare(
        QStringLiteral("INSERT INTO IDE (Code, FName, LName, Sen, Jens, Taahol, Tahsil, \"Group\", "
                       "\"Date\", \"Time\") VALUES (?, 'Ali', 'Ahmadi', '30', 'مرد', 'مجرد', "
                       "'ليسانس', 'A', '1402/02/13', '10:00:00')"));
    QSqlQuery answer(db);
    QStringList columns{QStringLiteral("Code")};
    for (int item = 1; item <= 35; ++item)
        columns << quotedIdentifier(Database::itemColumn(item));
    answer.prepare(QStringLiteral("INSERT INTO Answer (%1) VALUES (%2)")
                       .arg(columns.join(u','), QStringList(36, QStringLiteral("?")).join(u',')));
    for (int code = 1; code <= kSubjects; ++code) {
        subject.addBindValue(QString::number(code));
        subject.exec();
        answer.addBindValue(QString::number(code));
        for (int item = 1; item <= 35; ++item)
            answer.addBindValue(QString::number(1 + QRandomGenerator::global()->bounded(5)));
        answer.exec();
    }
    transaction.commit();
}

double medianMilliseconds(const std::function<void(int)>& work)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        work(run);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path();
    if (!Database::openProgramDatabases(folder).ok)
        return 1;
    fill(folder);

    using Database::File;
    const double openSix = medianMilliseconds([&](int) {
        auto theme = Database::openView(folder, File::Theme, QStringLiteral("Theme"));
        auto registration = Database::openView(folder, File::Clinical, QStringLiteral("IDE"));
        auto counting = Database::openView(folder, File::Clinical, QStringLiteral("IDE"));
        auto answers = Database::openView(folder, File::Clinical, QStringLiteral("Answer"));
        auto proposal = Database::openView(folder, File::Clinical, QStringLiteral("IDE"));
        auto questions = Database::openView(folder, File::Clinical, QStringLiteral("QU"));
    });

    auto subjects = Database::openView(folder, File::Clinical, QStringLiteral("IDE"));
    const double filter = medianMilliseconds([&](int run) {
        subjects->setFilter(QStringLiteral("code='") + QString::number(1 + (run * 7919) % kSubjects) + u'\'');
    });
    subjects->requery();
    const double count = medianMilliseconds([&](int) { (void)subjects->count(); });
    const double last = medianMilliseconds([&](int) { subjects->moveLast(); });

    std::printf("subjects: %d, runs: %d\n", kSubjects, kRuns);
    std::printf("open the six views: %.3f ms (median)\n", openSix);
    std::printf("filter by code:     %.3f ms (median)\n", filter);
    std::printf("count all subjects: %.3f ms (median)\n", count);
    std::printf("go to the last row: %.3f ms (median)\n", last);
    subjects.reset();
    Database::closeProgramDatabases(folder);
    return 0;
}
