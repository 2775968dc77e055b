// A child process for the interruption tests: runs a backup or a restore and kills itself with
// SIGKILL after the given number of copied blocks, as a power cut or a killed program would.
//   backup_killable_copy backup  <program folder> <destination> <kill after block>
//   backup_killable_copy restore <program folder> <source>      <kill after block>
//   backup_killable_copy write   <program folder> - 0
//     (a writer of DABSH.skn killed in the middle of a transaction, leaving its journal behind)
// Exits 0 when the work finished before the kill, 1 when it failed.
#include "backup/DatabaseBackup.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>

#include <csignal>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    if (argc != 5)
        return 2;
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString file = QString::fromLocal8Bit(argv[3]);
    const long killAfter = std::atol(argv[4]);
    if (mode == QLatin1String("write")) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(folder + QStringLiteral("/DABSH.skn"));
        if (!db.open())
            return 1;
        QSqlQuery query(db);
        // A small page cache makes SQLite write changed pages into the file before the commit.
        query.exec(QStringLiteral("PRAGMA cache_size = 2"));
        query.exec(QStringLiteral("BEGIN"));
        for (int i = 0; i < 300; ++i)
            query.exec(QStringLiteral("INSERT INTO IDE (Code, FName) VALUES ('k%1', '%2')")
                           .arg(i)
                           .arg(QString(200, u'x')));
        std::raise(SIGKILL);
    }
    long blocks = 0;
    const Backup::BlockCopied blockCopied = [&blocks, killAfter](qint64, qint64) {
        if (++blocks == killAfter)
            std::raise(SIGKILL);
    };
    const DatabaseBackup::Outcome outcome =
        mode == QLatin1String("backup")
            ? DatabaseBackup::backUp(folder, file, blockCopied)
            : DatabaseBackup::restore(folder, file, QDateTime::currentDateTime(), blockCopied);
    return outcome.ok() ? 0 : 1;
}
