// How long a registration waits while the start-up page check reads a large DABSH.skn beside it:
//   build/bench/bench_pagecheck <folder> [MiB, 1024 if not given]
// A folder without DABSH.skn gets one of about that size, filled with subjects and their answers
// (kept for later runs). Prints the time of the check alone, then for registrations made at a few
// moments after the check started: how long each commit took and whether it was stored.

#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QtConcurrent>

#include <cstdio>

namespace {

constexpr qint64 kMiB = 1024 * 1024;

double seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// Subjects in batches made by SQLite itself, until the file has the size asked for.
bool fill(const QString& folder, qint64 bytes)
{
    QSqlDatabase db = Database::connection(folder, Database::File::Clinical);
    const QString path = QDir(folder).filePath(Database::clinicalFileName);
    QStringList items;
    for (int item = 1; item <= Database::kItemCount; ++item)
        items << quotedIdentifier(Database::itemColumn(item));
    QStringList answers;
    for (int item = 1; item <= Database::kItemCount; ++item)
        answers << QStringLiteral("CAST(1 + abs(random()) % 5 AS TEXT)");
    constexpr int kBatch = 200000;
    for (int first = 1; QFileInfo(path).size() < bytes; first += kBatch) {
        Transaction transaction(db);
        QSqlQuery query(db);
        const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT %1 UNION ALL SELECT i + 1 "
                                               "FROM n WHERE i < %2) ")
                                    .arg(first)
                                    .arg(first + kBatch - 1);
        if (!query.exec(
                numbers +
                QStringLiteral("INSERT INTO IDE (Code, FName, LName, Sen, Jens, Taahol, Tahsil, "
                               "\"Group\", \"Date\", \"Time\", S, L, F1, P, F2) SELECT i, 'نام' || (i % "
                               "300), 'خانواده' || (i % 5000), '30', 'مرد', 'مجرد', 'ليسانس', "
                               "char(65 + i % 7), '1402/02/13', '10:00:00', '21.5', '18', '25', '30', "
                               "'12.25' FROM n")) ||
            !query.exec(numbers + QStringLiteral("INSERT INTO Answer (Code, %1) SELECT i, %2 FROM n")
                                      .arg(items.join(u','), answers.join(u','))) ||
            !transaction.commit()) {
            std::fprintf(stderr, "fill failed: %s\n", qPrintable(query.lastError().text()));
            return false;
        }
        std::printf("  %d subjects, %.0f MiB\n", first + kBatch - 1,
                    static_cast<double>(QFileInfo(path).size()) / kMiB);
        std::fflush(stdout);
    }
    return true;
}

// What the registration does: both rows of a new subject in one transaction, on the program's
// own connection with its busy time-out.
bool registerSubject(const QString& folder, const QString& code, QString* error)
{
    QSqlDatabase db = Database::connection(folder, Database::File::Clinical);
    Transaction transaction(db);
    QSqlQuery query(db);
    const bool ok = transaction.isOpen() &&
                    query.exec(QStringLiteral("INSERT INTO Answer (Code) VALUES ('%1')").arg(code)) &&
                    query.exec(QStringLiteral("INSERT INTO IDE (Code) VALUES ('%1')").arg(code)) &&
                    transaction.commit();
    if (!ok)
        *error = query.lastError().isValid() ? query.lastError().text() : db.lastError().text();
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_pagecheck <folder> [MiB]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const qint64 mib = argc > 2 ? QByteArray(argv[2]).toLongLong() : 1024;
    QDir().mkpath(folder);
    const bool made = QFileInfo::exists(QDir(folder).filePath(Database::clinicalFileName));
    if (!Database::openProgramDatabases(folder, Database::PageCheck::Separately).ok)
        return 1;
    if (!made) {
        std::printf("making DABSH.skn of %lld MiB\n", static_cast<long long>(mib));
        if (!fill(folder, mib * kMiB))
            return 1;
    }
    std::printf("DABSH.skn: %.0f MiB\n",
                static_cast<double>(QFileInfo(QDir(folder).filePath(Database::clinicalFileName)).size()) /
                    kMiB);

    QElapsedTimer alone;
    alone.start();
    const Database::FileState state = Database::checkPages(folder, Database::File::Clinical);
    std::printf("page check alone:          %6.2f s (%s)\n", seconds(alone),
                state == Database::FileState::Usable ? "usable" : "NOT usable");

    for (const int afterMs : {300, 1000, 2000, 4000}) {
        QElapsedTimer checking;
        checking.start();
        QFuture<Database::FileState> check =
            QtConcurrent::run([folder] { return Database::checkPages(folder, Database::File::Clinical); });
        QThread::msleep(afterMs);
        const bool stillChecking = check.isRunning();
        QElapsedTimer commit;
        commit.start();
        QString error;
        const QString code =
            QStringLiteral("bench-%1-%2").arg(afterMs).arg(QCoreApplication::applicationPid());
        const bool stored = registerSubject(folder, code, &error);
        const double waited = seconds(commit);
        check.waitForFinished();
        std::printf("registration %4d ms after the check began%s: %6.3f s, %s; check took %6.2f s (%s)\n",
                    afterMs, stillChecking ? "" : " (check already done)", waited,
                    stored ? "stored" : qPrintable(QStringLiteral("FAILED: ") + error), seconds(checking),
                    check.result() == Database::FileState::Usable ? "usable" : "NOT usable");
        std::fflush(stdout);
        QSqlQuery remove(Database::connection(folder, Database::File::Clinical));
        remove.exec(QStringLiteral("DELETE FROM IDE WHERE Code = '%1'").arg(code));
        remove.exec(QStringLiteral("DELETE FROM Answer WHERE Code = '%1'").arg(code));
    }
    Database::closeProgramDatabases(folder);
    return 0;
}
