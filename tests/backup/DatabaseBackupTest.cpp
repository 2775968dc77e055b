#include "backup/DatabaseBackup.h"
#include "TestProgramFolder.h"
#include "backup/Backup.h"
#include "backup/BackupTexts.h"
#include "common/CommonTexts.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

using Kind = DatabaseBackup::Outcome::Kind;

namespace {

QByteArray randomBytes(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The files of a folder other than the given ones: leftovers of a copy.
QStringList filesBut(const QString& folder, const QStringList& expected)
{
    QStringList extra;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        if (!expected.contains(name))
            extra << name;
    return extra;
}

QStringList subjectCodes(const QString& databasePath)
{
    const QString name = QStringLiteral("probe-codes");
    QStringList codes;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databasePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(QStringLiteral("SELECT Code FROM IDE ORDER BY rowid"), db);
            while (query.next())
                codes << query.value(0).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return codes;
}

// Overwrites pages in the middle of a database with junk, as a failing disk would: the file still
// opens, but its pages do not hold together.
bool damage(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || file.size() < 6 * 4096)
        return false;
    return file.seek(file.size() / 2 / 4096 * 4096) && file.write(QByteArray(2 * 4096, '\xA5')) == 2 * 4096;
}

// The access rights of the program's temporary files in a folder, as seen right now.
QList<QFileDevice::Permissions> temporaryRights(const QString& folder)
{
    QList<QFileDevice::Permissions> rights;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (name.contains(QStringLiteral(".part-")) || name.contains(QStringLiteral(".restore-")) ||
            name.startsWith(QStringLiteral(".safety-")))
            rights << QFile::permissions(dir.filePath(name));
    }
    return rights;
}

constexpr auto kOwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;

} // namespace

class DatabaseBackupTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<QTemporaryDir> m_elsewhereDir; // where backups are written, fresh for each test

    QString database() const { return m_folder->filePath(Database::clinicalFileName); }
    QString elsewhere(const QString& name) const { return m_elsewhereDir->filePath(name); }
    QString elsewhereFolder() const { return m_elsewhereDir->path(); }

    void addSubjects(int count, const QString& prefix = QStringLiteral("1"))
    {
        QSqlDatabase db = Database::connection(m_folder->path(), Database::File::Clinical);
        Transaction transaction(db);
        for (int i = 0; i < count; ++i) {
            QSqlQuery insert(db);
            insert.prepare(QStringLiteral("INSERT INTO IDE (Code, FName, LName) VALUES (?, ?, ?)"));
            insert.addBindValue(prefix + QString::number(i));
            insert.addBindValue(QString(40, u'ع'));
            insert.addBindValue(QString(40, u'ب'));
            QVERIFY(insert.exec());
        }
        QVERIFY(transaction.commit());
    }

    // A backup of the current database, made the ordinary way.
    QString makeBackup(const QString& name)
    {
        const QString path = elsewhere(name);
        const auto outcome = DatabaseBackup::backUp(m_folder->path(), path);
        if (!outcome.ok())
            qWarning("backup failed: %s", qPrintable(outcome.description));
        return path;
    }

    // Runs the child that copies and kills itself after the given block.
    int runKillable(const QString& mode, const QString& file, long killAfter)
    {
        QProcess child;
        child.start(QStringLiteral(KILLABLE_COPY),
                    {mode, m_folder->path(), file, QString::number(killAfter)});
        if (!child.waitForFinished(60000))
            return -1;
        return child.exitStatus() == QProcess::CrashExit ? -9 : child.exitCode();
    }

private slots:
    // The folder of the last backup is kept in the user's settings, which the tests leave alone.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_elsewhereDir = std::make_unique<QTemporaryDir>();
        addSubjects(3);
    }
    void cleanup()
    {
        m_folder.reset();
        m_elsewhereDir.reset();
    }

    void copiesInBlocksOf4048Bytes_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QList<qint64>>("steps");
        QTest::newRow("two whole blocks") << qint64(8096) << QList<qint64>{4048, 8096};
        QTest::newRow("a block and one byte") << qint64(4049) << QList<qint64>{4048, 4049};
        QTest::newRow("less than a block") << qint64(100) << QList<qint64>{100};
        QTest::newRow("empty") << qint64(0) << QList<qint64>{};
    }
    void copiesInBlocksOf4048Bytes()
    {
        QFETCH(qint64, size);
        QFETCH(QList<qint64>, steps);
        const QByteArray content = randomBytes(size);
        QVERIFY(writeFile(elsewhere(QStringLiteral("source")), content));
        // A longer earlier destination must end exactly as long as the source.
        QVERIFY(writeFile(elsewhere(QStringLiteral("copy")), randomBytes(size + 9000)));
        QList<qint64> seen;
        QString failure;
        QCOMPARE(Backup::CopyBackupFile(elsewhere(QStringLiteral("source")),
                                        elsewhere(QStringLiteral("copy")), &failure,
                                        [&seen](qint64 done, qint64) { seen << done; }),
                 1);
        QCOMPARE(seen, steps);
        QCOMPARE(readFile(elsewhere(QStringLiteral("copy"))), content);
        QVERIFY(failure.isEmpty());
    }

    void copyLetsPendingEventsRunBeforeEveryBlock()
    {
        QVERIFY(writeFile(elsewhere(QStringLiteral("source")), randomBytes(3 * Backup::kBlockSize)));
        int ticks = 0;
        int blocks = 0;
        QList<int> ticksSeenByBlock;
        // The tick posted after the last block must not outlive the counter: it would run in a
        // later test and write into its stack.
        QObject ticksScope;
        auto postTick = [&ticks, &ticksScope] { QTimer::singleShot(0, &ticksScope, [&ticks] { ++ticks; }); };
        postTick();
        Backup::CopyBackupFile(elsewhere(QStringLiteral("source")), elsewhere(QStringLiteral("copy")),
                               nullptr, [&](qint64, qint64) {
                                   ++blocks;
                                   ticksSeenByBlock << ticks;
                                   postTick();
                               });
        // Each block ran after the event posted before it.
        QCOMPARE(ticksSeenByBlock, (QList<int>{1, 2, 3}));
    }

    void copyFailsWithADescriptionAndLeavesTheDestination_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("description");
        QTest::newRow("missing source") << QStringLiteral("no-such-file") << BackupTexts::sourceMissing;
        QTest::newRow("folder as source") << QStringLiteral(".") << BackupTexts::sourceNotAFile;
    }
    void copyFailsWithADescriptionAndLeavesTheDestination()
    {
        QFETCH(QString, source);
        QFETCH(QString, description);
        QVERIFY(writeFile(elsewhere(QStringLiteral("copy")), "earlier"));
        QString failure;
        QCOMPARE(Backup::CopyBackupFile(elsewhere(source), elsewhere(QStringLiteral("copy")), &failure), 0);
        QVERIFY2(failure.startsWith(description), qPrintable(failure));
        QCOMPARE(readFile(elsewhere(QStringLiteral("copy"))), QByteArray("earlier"));
    }

    void backupIsAByteCopyThatReplacesALongerEarlierBackup()
    {
        addSubjects(200, QStringLiteral("5"));
        const QString path = elsewhere(QStringLiteral("old.mdbB"));
        QVERIFY(writeFile(path, randomBytes(QFileInfo(database()).size() * 3)));
        const auto rights = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther;
        QVERIFY(QFile::setPermissions(path, rights));
        const auto outcome = DatabaseBackup::backUp(m_folder->path(), path);
        QVERIFY2(outcome.ok(), qPrintable(outcome.description));
        QCOMPARE(readFile(path), readFile(database()));
        QCOMPARE(QFile::permissions(path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), rights);
        QCOMPARE(subjectCodes(path).size(), 203);
        QCOMPARE(filesBut(elsewhereFolder(), {QStringLiteral("old.mdbB")}), QStringList());
    }

    void backupOfABrokenDatabaseFailsAndKeepsTheEarlierBackup()
    {
        addSubjects(2000, QStringLiteral("7"));
        const QString earlier = makeBackup(QStringLiteral("earlier.mdbB"));
        const QByteArray earlierContent = readFile(earlier);
        QVERIFY(!earlierContent.isEmpty());
        // Overwrite a page in the middle of the file: the first page still reads, the check fails.
        m_folder->closeDatabases();
        {
            QFile file(database());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.seek(file.size() / 2 / 4096 * 4096));
            file.write(QByteArray(4096, '\x5a'));
        }
        QVERIFY(!DatabaseBackup::isSoundDatabase(database()));
        const auto outcome = DatabaseBackup::backUp(m_folder->path(), earlier);
        QCOMPARE(outcome.kind, Kind::CopyFailed);
        QCOMPARE(outcome.description, BackupTexts::copyNotSound);
        QCOMPARE(readFile(earlier), earlierContent);
        QCOMPARE(filesBut(elsewhereFolder(), {QStringLiteral("earlier.mdbB")}), QStringList());
    }

    // A file that could not be written is named with the reason in Persian words, on the last line.
    void copiesIntoAMissingFolderFailAndSaySo()
    {
        const QString reason = QStringLiteral("\n") + CommonTexts::folderMissing;
        const auto outcome =
            DatabaseBackup::backUp(m_folder->path(), elsewhere(QStringLiteral("no/such/x.mdbB")));
        QCOMPARE(outcome.kind, Kind::CopyFailed);
        QVERIFY(outcome.description.startsWith(BackupTexts::destinationUnwritable));
        QVERIFY2(outcome.description.endsWith(reason), qPrintable(outcome.description));

        QString failure;
        QCOMPARE(Backup::CopyBackupFile(database(), elsewhere(QStringLiteral("no/such/copy")), &failure), 0);
        QVERIFY(failure.startsWith(BackupTexts::destinationUnwritable));
        QVERIFY2(failure.endsWith(reason), qPrintable(failure));

        const auto damagedCopy = DatabaseBackup::saveDamagedCopy(
            m_folder->path(), elsewhere(QStringLiteral("no/such/damaged.skn")));
        QCOMPARE(damagedCopy.kind, Kind::CopyFailed);
        QVERIFY2(damagedCopy.description.endsWith(reason), qPrintable(damagedCopy.description));

        // A restore into a database that links into a folder that has gone.
        const QString backup = makeBackup(QStringLiteral("b.mdbB"));
        m_folder->closeDatabases();
        QVERIFY(QFile::remove(database()));
        QVERIFY(QFile::link(elsewhere(QStringLiteral("gone/DABSH.skn")), database()));
        const auto restored = DatabaseBackup::restore(m_folder->path(), backup, QDateTime::currentDateTime());
        QCOMPARE(restored.kind, Kind::CopyFailed);
        QVERIFY(restored.description.startsWith(BackupTexts::destinationUnwritable));
        QVERIFY2(restored.description.endsWith(reason), qPrintable(restored.description));
    }

    void backupLeavesOutAWriteThatIsNotCommitted()
    {
        QSqlDatabase db = Database::connection(m_folder->path(), Database::File::Clinical);
        QVERIFY(db.transaction());
        QSqlQuery insert(db);
        QVERIFY(insert.exec(QStringLiteral("INSERT INTO IDE (Code) VALUES ('pending')")));
        const QString path = elsewhere(QStringLiteral("during.mdbB"));
        const auto outcome = DatabaseBackup::backUp(m_folder->path(), path);
        QVERIFY(db.commit());
        QVERIFY2(outcome.ok(), qPrintable(outcome.description));
        QVERIFY(DatabaseBackup::isSoundDatabase(path));
        QCOMPARE(subjectCodes(path),
                 (QStringList{QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12")}));
    }

    void backupWaitsOutAWriteWhoseChangesAlreadyReachTheFile()
    {
        const QString earlier = makeBackup(QStringLiteral("earlier.mdbB"));
        const QByteArray earlierContent = readFile(earlier);
        // A small page cache makes SQLite write changed pages into the file before the commit,
        // with the old pages in its journal: a plain byte copy now would hold half a transaction.
        QSqlDatabase db = Database::connection(m_folder->path(), Database::File::Clinical);
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("PRAGMA cache_size = 2")));
        QVERIFY(db.transaction());
        for (int i = 0; i < 300; ++i)
            QVERIFY(query.exec(QStringLiteral("INSERT INTO IDE (Code, FName) VALUES ('w%1', '%2')")
                                   .arg(i)
                                   .arg(QString(200, u'x'))));
        QVERIFY(QFileInfo::exists(database() + QStringLiteral("-journal")));
        const auto outcome = DatabaseBackup::backUp(m_folder->path(), earlier);
        QVERIFY(db.rollback());
        QCOMPARE(outcome.kind, Kind::CopyFailed);
        QCOMPARE(outcome.description, BackupTexts::databaseBusy);
        QCOMPARE(readFile(earlier), earlierContent);
        QCOMPARE(filesBut(elsewhereFolder(), {QStringLiteral("earlier.mdbB")}), QStringList());
        // Once the writer is done the backup goes through.
        QVERIFY(DatabaseBackup::backUp(m_folder->path(), earlier).ok());
        QVERIFY(DatabaseBackup::isSoundDatabase(earlier));
    }

    void interruptedBackupLeavesTheEarlierBackupAsItWas()
    {
        addSubjects(2000, QStringLiteral("7"));
        const QString earlier = elsewhere(QStringLiteral("earlier.mdbB"));
        QVERIFY(writeFile(earlier, "an earlier backup"));
        const long blocks = (QFileInfo(database()).size() + Backup::kBlockSize - 1) / Backup::kBlockSize;
        QVERIFY(blocks > 10);
        const long killAfter = 1 + QRandomGenerator::global()->bounded(static_cast<qint64>(blocks - 1));
        QCOMPARE(runKillable(QStringLiteral("backup"), earlier, killAfter), -9);
        QCOMPARE(readFile(earlier), QByteArray("an earlier backup"));
    }

    void restoreReplacesTheDatabaseAndKeepsASafetyCopy()
    {
        const QString backup = makeBackup(QStringLiteral("b.mdbB"));
        addSubjects(2, QStringLiteral("9"));
        // Other programs' rights on the file stay as they were.
        const auto rights = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
        QVERIFY(QFile::setPermissions(database(), rights));
        const QByteArray before = readFile(database());
        bool connectionOpenDuringCopy = true;
        const QDateTime now(QDate(2023, 5, 3), QTime(14, 5, 9));
        const auto outcome = DatabaseBackup::restore(m_folder->path(), backup, now, [&](qint64, qint64) {
            connectionOpenDuringCopy =
                connectionOpenDuringCopy &&
                Database::connection(m_folder->path(), Database::File::Clinical).isOpen();
        });
        QVERIFY2(outcome.ok(), qPrintable(outcome.description));
        QVERIFY(!connectionOpenDuringCopy);
        QCOMPARE(readFile(database()), readFile(backup));
        QCOMPARE(QFile::permissions(database()) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), rights);
        const QString safety =
            m_folder->filePath(QStringLiteral("Back/") + DatabaseBackup::safetyCopyName(now));
        QCOMPARE(DatabaseBackup::safetyCopyName(now),
                 QStringLiteral("Velmoraپيش از بازيابي در تاريخ1402.2.13 ساعت)14.05.09).mdbB"));
        QCOMPARE(readFile(safety), before);
        QVERIFY(filesBut(m_folder->path(), {Database::clinicalFileName, Database::themeFileName}).isEmpty());
        // The program's connections are open again, on the restored data.
        auto subjects = m_folder->view(QStringLiteral("IDE"));
        QCOMPARE(subjects->count(), 3);
    }

    void safetyCopiesNeverReplaceEachOther()
    {
        const QString backup = makeBackup(QStringLiteral("b.mdbB"));
        const QDateTime now(QDate(2023, 5, 3), QTime(14, 5, 9));
        QDir().mkpath(m_folder->filePath(QStringLiteral("Back")));
        const QString taken =
            m_folder->filePath(QStringLiteral("Back/") + DatabaseBackup::safetyCopyName(now));
        QVERIFY(writeFile(taken, "someone's file"));
        QVERIFY(DatabaseBackup::restore(m_folder->path(), backup, now).ok());
        QVERIFY(DatabaseBackup::restore(m_folder->path(), backup, now).ok());
        QCOMPARE(readFile(taken), QByteArray("someone's file"));
        const QStringList copies = QDir(m_folder->filePath(QStringLiteral("Back"))).entryList(QDir::Files);
        QCOMPARE(copies.size(), 3);
        QVERIFY(copies.contains(DatabaseBackup::safetyCopyName(now, 2)));
        QVERIFY(copies.contains(DatabaseBackup::safetyCopyName(now, 3)));
    }

    void restoreRefusesWhatIsNotABackupOfTheProgram_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("text file") << QStringLiteral("text");
        QTest::newRow("truncated copy") << QStringLiteral("truncated");
        QTest::newRow("empty file") << QStringLiteral("empty");
        QTest::newRow("folder") << QStringLiteral("folder");
        QTest::newRow("database of another program") << QStringLiteral("foreign");
        QTest::newRow("missing file") << QStringLiteral("missing");
    }
    void restoreRefusesWhatIsNotABackupOfTheProgram()
    {
        QFETCH(QString, kind);
        addSubjects(2000, QStringLiteral("7"));
        QString source = elsewhere(QStringLiteral("chosen.mdbB"));
        if (kind == QLatin1String("text")) {
            QVERIFY(writeFile(source, QByteArray("IDE Answer QU\r\n").repeated(500)));
        } else if (kind == QLatin1String("truncated")) {
            const QByteArray whole = readFile(makeBackup(QStringLiteral("whole.mdbB")));
            QVERIFY(writeFile(source, whole.left(whole.size() / 2)));
        } else if (kind == QLatin1String("empty")) {
            QVERIFY(writeFile(source, {}));
        } else if (kind == QLatin1String("folder")) {
            source = elsewhereFolder();
        } else if (kind == QLatin1String("foreign")) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
            db.setDatabaseName(source);
            QVERIFY(db.open());
            QSqlQuery(QStringLiteral("CREATE TABLE IDE (Code TEXT)"), db);
            db.close();
            db = {};
            QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
        } else {
            source = elsewhere(QStringLiteral("no-such.mdbB"));
        }
        const QByteArray before = readFile(database());
        const auto outcome = DatabaseBackup::restore(m_folder->path(), source, QDateTime::currentDateTime());
        QVERIFY(!outcome.ok());
        if (kind == QLatin1String("missing"))
            QVERIFY(outcome.description.startsWith(BackupTexts::sourceMissing));
        else if (kind == QLatin1String("folder"))
            QVERIFY(outcome.description.startsWith(BackupTexts::sourceNotAFile));
        else
            QCOMPARE(outcome.description, BackupTexts::notABackup);
        QCOMPARE(readFile(database()), before);
        QVERIFY(!QFileInfo::exists(m_folder->filePath(QStringLiteral("Back"))));
        QVERIFY(filesBut(m_folder->path(), {Database::clinicalFileName, Database::themeFileName}).isEmpty());
        QCOMPARE(m_folder->view(QStringLiteral("IDE"))->count(), 2003);
    }

    void restoreSettlesAJournalLeftByAKilledWriter()
    {
        const QString backup = makeBackup(QStringLiteral("b.mdbB"));
        m_folder->closeDatabases();
        QCOMPARE(runKillable(QStringLiteral("write"), QStringLiteral("-"), 0), -9);
        QVERIFY(QFileInfo::exists(database() + QStringLiteral("-journal")));
        // Left beside the restored file, the journal would be played back into it.
        QVERIFY(DatabaseBackup::restore(m_folder->path(), backup, QDateTime::currentDateTime()).ok());
        QVERIFY(!QFileInfo::exists(database() + QStringLiteral("-journal")));
        QCOMPARE(readFile(database()), readFile(backup));
        QVERIFY(DatabaseBackup::isClinicalDatabase(database()));
        QCOMPARE(subjectCodes(database()).size(), 3);
    }

    void killedRestoreLeavesTheDatabaseWholeAndTheProgramStarts()
    {
        addSubjects(3000, QStringLiteral("7"));
        const QString backup = makeBackup(QStringLiteral("b.mdbB"));
        m_folder->closeDatabases();
        // A different database to restore, so that a half-done replacement would show.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("edit"));
            db.setDatabaseName(backup);
            QVERIFY(db.open());
            QSqlQuery(QStringLiteral("DELETE FROM IDE WHERE Code LIKE '7%'"), db);
            QSqlQuery(QStringLiteral("VACUUM"), db);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("edit"));
        const QByteArray before = readFile(database());
        const QStringList codesBefore = subjectCodes(database());
        const long blocks = (QFileInfo(backup).size() + Backup::kBlockSize - 1) / Backup::kBlockSize +
                            (before.size() + Backup::kBlockSize - 1) / Backup::kBlockSize;
        for (int round = 0; round < 4; ++round) {
            const long killAfter = 1 + QRandomGenerator::global()->bounded(static_cast<qint64>(blocks));
            QCOMPARE(runKillable(QStringLiteral("restore"), backup, killAfter), -9);
            QVERIFY2(readFile(database()) == before,
                     qPrintable(QStringLiteral("killed after block %1").arg(killAfter)));
            QVERIFY(DatabaseBackup::isClinicalDatabase(database()));
        }
        // The program starts on the whole database, and a later restore tidies up and succeeds.
        QVERIFY(Database::openProgramDatabases(m_folder->path()).ok);
        QCOMPARE(subjectCodes(database()), codesBefore);
        QCOMPARE(runKillable(QStringLiteral("restore"), backup, 0), 0);
        QCOMPARE(subjectCodes(database()).size(), 3);
        QVERIFY(filesBut(m_folder->path(), {Database::clinicalFileName, Database::themeFileName}).isEmpty());
        QCOMPARE(
            QDir(m_folder->filePath(QStringLiteral("Back"))).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void copiesInProgressAreReadableByTheirOwnerOnly()
    {
        addSubjects(300, QStringLiteral("5"));
        QList<QFileDevice::Permissions> seen;
        const QString backup = elsewhere(QStringLiteral("b.mdbB"));
        QVERIFY(DatabaseBackup::backUp(m_folder->path(), backup, [&](qint64, qint64) {
                    seen << temporaryRights(elsewhereFolder());
                }).ok());
        const QDateTime now(QDate(2023, 5, 3), QTime(14, 5, 9));
        QVERIFY(DatabaseBackup::restore(m_folder->path(), backup, now, [&](qint64, qint64) {
                    seen << temporaryRights(m_folder->path())
                         << temporaryRights(m_folder->filePath(QStringLiteral("Back")));
                }).ok());
        QVERIFY(seen.size() > 30);
        for (const QFileDevice::Permissions rights : std::as_const(seen))
            QCOMPARE(rights, kOwnerOnly);
    }

    void linkedBackupAndDatabaseStayLinks()
    {
        // A clinic links its files to a network drive; the links must go on pointing there.
        QTemporaryDir drive;
        const QString realBackup = drive.filePath(QStringLiteral("b.mdbB"));
        QVERIFY(writeFile(realBackup, "an earlier backup"));
        const QString linkedBackup = elsewhere(QStringLiteral("b.mdbB"));
        QVERIFY(QFile::link(realBackup, linkedBackup));
        QVERIFY(DatabaseBackup::backUp(m_folder->path(), linkedBackup).ok());
        QVERIFY(QFileInfo(linkedBackup).isSymLink());
        QCOMPARE(readFile(realBackup), readFile(database()));

        m_folder->closeDatabases();
        const QString realDatabase = drive.filePath(QStringLiteral("clinic.skn"));
        QVERIFY(QFile::rename(database(), realDatabase));
        QVERIFY(QFile::link(realDatabase, database()));
        QVERIFY(m_folder->openDatabases());
        addSubjects(4, QStringLiteral("8"));
        const QDateTime now(QDate(2023, 5, 3), QTime(14, 5, 9));
        QVERIFY(DatabaseBackup::restore(m_folder->path(), realBackup, now).ok());
        QVERIFY(QFileInfo(database()).isSymLink());
        QCOMPARE(readFile(realDatabase), readFile(realBackup));
        QCOMPARE(subjectCodes(database()).size(), 3);
        QVERIFY(filesBut(drive.path(), {QStringLiteral("b.mdbB"), QStringLiteral("clinic.skn")}).isEmpty());
    }

    void leftoversOfCopiesThatWereCutOffAreSweptBeforeTheNextCopy()
    {
        addSubjects(2000, QStringLiteral("7"));
        QCOMPARE(runKillable(QStringLiteral("backup"), elsewhere(QStringLiteral("killed.mdbB")), 20), -9);
        QCOMPARE(filesBut(elsewhereFolder(), {}).size(), 1);
        const QString back = m_folder->filePath(QStringLiteral("Back"));
        QVERIFY(QDir().mkpath(back));
        const QByteArray partial = readFile(database()).left(3 * 4048);
        for (const QString& leftover : {m_folder->filePath(QStringLiteral(".server-snapshot-AbCdEf")),
                                        m_folder->filePath(QStringLiteral("DABSH.skn.restore-QwErTy")),
                                        back + QStringLiteral("/.safety-ZxCvBn")})
            QVERIFY(writeFile(leftover, partial));
        // Another program's file that merely looks alike stays.
        QVERIFY(writeFile(elsewhere(QStringLiteral("film.part-abcdef")), "not a database"));

        const QString backup = makeBackup(QStringLiteral("b.mdbB"));
        QCOMPARE(filesBut(elsewhereFolder(), {QStringLiteral("b.mdbB"), QStringLiteral("film.part-abcdef")}),
                 QStringList());
        const QDateTime now(QDate(2023, 5, 3), QTime(14, 5, 9));
        QVERIFY(DatabaseBackup::restore(m_folder->path(), backup, now).ok());
        QCOMPARE(filesBut(m_folder->path(), {Database::clinicalFileName, Database::themeFileName}),
                 QStringList());
        QCOMPARE(filesBut(back, {DatabaseBackup::safetyCopyName(now)}), QStringList());
    }

    void checkOfTheCopyLetsTheWindowGoOn()
    {
        // Large enough that reading the copy through takes a while.
        addSubjects(40000, QStringLiteral("6"));
        bool copied = false;
        int turnsAfterTheCopy = 0;
        QTimer turn;
        turn.setInterval(0);
        connect(&turn, &QTimer::timeout, this, [&] {
            if (copied)
                ++turnsAfterTheCopy;
        });
        turn.start();
        const auto lastBlock = [&](qint64 done, qint64 total) { copied = done == total; };
        const QString backup = elsewhere(QStringLiteral("b.mdbB"));
        QVERIFY(DatabaseBackup::backUp(m_folder->path(), backup, lastBlock).ok());
        QVERIFY2(turnsAfterTheCopy > 0, "the window stood still while the backup was checked");
        copied = false;
        turnsAfterTheCopy = 0;
        m_folder->closeDatabases();
        QVERIFY(QFile::remove(database())); // no safety copy to make after the check
        QVERIFY(
            DatabaseBackup::restore(m_folder->path(), backup, QDateTime::currentDateTime(), lastBlock).ok());
        QVERIFY2(turnsAfterTheCopy > 0, "the window stood still while the restored copy was checked");
    }

    void unreadableDatabaseWithAJournalCanBeRestored()
    {
        addSubjects(500, QStringLiteral("4"));
        const QString backup = makeBackup(QStringLiteral("b.mdbB"));
        m_folder->closeDatabases();
        {
            // Its first page gone: SQLite cannot even tell what the file is.
            QFile file(database());
            QVERIFY(file.open(QIODevice::ReadWrite) && file.write(randomBytes(4096)) == 4096);
        }
        QVERIFY(!DatabaseBackup::isSoundDatabase(database()));
        const QByteArray damaged = readFile(database());
        // A journal that cannot be played back into the damaged file.
        QVERIFY(writeFile(database() + QStringLiteral("-journal"), randomBytes(600)));
        const QDateTime now(QDate(2023, 5, 3), QTime(14, 5, 9));
        const auto outcome = DatabaseBackup::restore(m_folder->path(), backup, now);
        QVERIFY2(outcome.ok(), qPrintable(outcome.description));
        QCOMPARE(readFile(database()), readFile(backup));
        QVERIFY(!QFileInfo::exists(database() + QStringLiteral("-journal")));
        // The damaged file is kept for whoever recovers it.
        const QString safety =
            m_folder->filePath(QStringLiteral("Back/") + DatabaseBackup::safetyCopyName(now));
        QCOMPARE(readFile(safety), damaged);
    }

    void damagedDatabaseIsSavedAsItIsButNeverOverAnotherFile()
    {
        addSubjects(500, QStringLiteral("4"));
        const QString backup = makeBackup(QStringLiteral("b.mdbB"));
        const QByteArray backupContent = readFile(backup);
        m_folder->closeDatabases();
        QVERIFY(damage(database()));
        const QByteArray damaged = readFile(database());
        // A plain backup refuses the damaged file ...
        QCOMPARE(DatabaseBackup::backUp(m_folder->path(), elsewhere(QStringLiteral("x.mdbB"))).kind,
                 Kind::CopyFailed);
        // ... its copy for recovery takes it as it is ...
        const QString copy = elsewhere(QStringLiteral("damaged.skn"));
        const auto saved = DatabaseBackup::saveDamagedCopy(m_folder->path(), copy);
        QVERIFY2(saved.ok(), qPrintable(saved.description));
        QCOMPARE(readFile(copy), damaged);
        // ... and never replaces a file, a backup least of all.
        const auto overBackup = DatabaseBackup::saveDamagedCopy(m_folder->path(), backup);
        QCOMPARE(overBackup.kind, Kind::Refused);
        QVERIFY(overBackup.description.startsWith(BackupTexts::damagedCopyNameTaken));
        QCOMPARE(readFile(backup), backupContent);
        QCOMPARE(filesBut(elsewhereFolder(), {QStringLiteral("b.mdbB"), QStringLiteral("damaged.skn")}),
                 QStringList());
        QCOMPARE(DatabaseBackup::damagedCopyName(QStringLiteral("1402.2.13"), QStringLiteral("14.05")),
                 QStringLiteral("Velmoraآسيب ديده در تاريخ1402.2.13 ساعت)14.05).skn"));
    }
};

QTEST_GUILESS_MAIN(DatabaseBackupTest)
#include "DatabaseBackupTest.moc"
