#include "TestProgramFolder.h"
#include "TestServer.h"
#include "backup/BackupTexts.h"
#include "backup/DatabaseBackup.h"
#include "backup/Frmbackup.h"
#include "datastore/AdministrationDetails.h"
#include "datastore/AdministrationStore.h"
#include "datastore/ClinicServer.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QDir>
#include <QLineEdit>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// Backup and restore when the program works on the clinic's server: the backup is a DABSH.skn like
// any other, and a restore replaces the server's data whole or not at all.
class ServerBackupTest : public QObject
{
    Q_OBJECT

    static QVector<DataView::Row> rows(TestProgramFolder& folder, const QString& table)
    {
        return folder.view(table)->rows();
    }

    // The table definitions of an SQLite file, as SQLite keeps them.
    static QStringList schemaOf(const QString& path)
    {
        QStringList result;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("schema"));
            db.setDatabaseName(path);
            QSqlQuery query(db);
            if (db.open() &&
                query.exec(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY name")))
                while (query.next())
                    result << query.value(0).toString() + query.value(1).toString() +
                                  query.value(2).toString();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("schema"));
        return result;
    }

private slots:
    // The folder of the last backup is kept in the user's settings, which the tests leave alone.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    // The folder of the last backup is kept in the user's settings, which the tests leave alone.
    void backupOfTheServerRestoresAnywhereAndBackIntoTheServer()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder workstation;
        QVERIFY(ClinicServer::useServer(workstation.path(), server.settings(), server.password()).ok);
        workstation.addSubject(QStringLiteral("1"), QStringLiteral("Sara"));
        workstation.addSubject(QStringLiteral("2"), QStringLiteral("علي"));
        workstation.setAnswers(QStringLiteral("2"), {QStringLiteral("3"), QStringLiteral("4")});
        const auto serverSubjects = rows(workstation, QStringLiteral("IDE"));
        const auto serverAnswers = rows(workstation, QStringLiteral("Answer"));

        QTemporaryDir elsewhere;
        const QString backup = elsewhere.filePath(QStringLiteral("b.mdbB"));
        const auto backedUp = DatabaseBackup::backUp(workstation.path(), backup);
        QVERIFY2(backedUp.ok(), qPrintable(backedUp.description));
        QVERIFY(DatabaseBackup::isClinicalDatabase(backup));
        TestProgramFolder fresh;
        // three tables, five indexes, the two account tables, the audit trail with its index and two
        // triggers, and the administrations and their details with an index each
        QCOMPARE(schemaOf(backup).size(), 18);
        QCOMPARE(schemaOf(backup), schemaOf(fresh.filePath(Database::clinicalFileName)));

        // Restored on a computer of its own, the backup holds the server's rows.
        TestProgramFolder home;
        const QDateTime now(QDate(2023, 5, 3), QTime(14, 5, 9));
        QVERIFY(DatabaseBackup::restore(home.path(), backup, now).ok());
        QCOMPARE(rows(home, QStringLiteral("IDE")), serverSubjects);
        QCOMPARE(rows(home, QStringLiteral("Answer")), serverAnswers);

        // Work goes on on the server; the restore brings back the backup and keeps what it replaced.
        workstation.addSubject(QStringLiteral("3"));
        const auto beforeRestore = rows(workstation, QStringLiteral("IDE"));
        const auto restored = DatabaseBackup::restore(workstation.path(), backup, now);
        QVERIFY2(restored.ok(), qPrintable(restored.description));
        QVERIFY(ClinicServer::isInUse(workstation.path()));
        QCOMPARE(rows(workstation, QStringLiteral("IDE")), serverSubjects);
        QCOMPARE(rows(workstation, QStringLiteral("Answer")), serverAnswers);
        const QString safety =
            workstation.filePath(QStringLiteral("Back/") + DatabaseBackup::safetyCopyName(now));
        QVERIFY(DatabaseBackup::isClinicalDatabase(safety));
        TestProgramFolder safetyCheck;
        QVERIFY(DatabaseBackup::restore(safetyCheck.path(), safety, now).ok());
        QCOMPARE(rows(safetyCheck, QStringLiteral("IDE")), beforeRestore);
        QCOMPARE(QDir(workstation.path())
                     .entryList({QStringLiteral(".*snapshot*"), QStringLiteral("*restore*")},
                                QDir::Files | QDir::Hidden),
                 QStringList());
    }

    // Earlier administrations go into the server's backup and come back with a restore, on a
    // computer of its own or on the server; a backup made before they were kept leaves none.
    void earlierAdministrationsTravelWithTheBackup()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder workstation;
        QVERIFY(ClinicServer::useServer(workstation.path(), server.settings(), server.password()).ok);
        workstation.addSubject(QStringLiteral("1"));
        workstation.setAnswers(QStringLiteral("1"), {QStringLiteral("5"), QString(), QStringLiteral("علي")});
        const auto clinical = [](TestProgramFolder& folder) {
            return Database::connection(folder.path(), Database::File::Clinical);
        };
        QVERIFY(AdministrationStore::startNew(clinical(workstation), QStringLiteral("1"),
                                              {QStringLiteral("1402/02/13"), QStringLiteral("14:05:09"),
                                               AdministrationStore::Entry::OnScreen, QStringLiteral("dr")}));
        workstation.setAnswers(QStringLiteral("1"), {QStringLiteral("2")});
        const auto history = rows(workstation, AdministrationStore::table);
        QCOMPARE(history.size(), 2);
        AdministrationDetails::Details verified;
        verified.code = QStringLiteral("1");
        verified.sequence = 2;
        verified.state = AdministrationDetails::EntryState::Verified;
        verified.reviewer = QStringLiteral("dr");
        QVERIFY(AdministrationDetails::store(clinical(workstation), verified));
        const auto details = rows(workstation, AdministrationDetails::table);
        QCOMPARE(details.size(), 1);

        QTemporaryDir elsewhere;
        const QString backup = elsewhere.filePath(QStringLiteral("b.mdbB"));
        QVERIFY(DatabaseBackup::backUp(workstation.path(), backup).ok());
        const QDateTime now(QDate(2023, 5, 3), QTime(14, 5, 9));
        TestProgramFolder home;
        QVERIFY(DatabaseBackup::restore(home.path(), backup, now).ok());
        QCOMPARE(rows(home, AdministrationStore::table), history);
        QCOMPARE(AdministrationStore::list(clinical(home), QStringLiteral("1"))->size(), 2);
        QCOMPARE(AdministrationDetails::read(clinical(home), QStringLiteral("1"), 2)->state,
                 AdministrationDetails::EntryState::Verified);

        QVERIFY(AdministrationStore::startNew(clinical(workstation), QStringLiteral("1"), {}));
        verified.state = AdministrationDetails::EntryState::AwaitingReview;
        QVERIFY(AdministrationDetails::store(clinical(workstation), verified));
        QVERIFY(DatabaseBackup::restore(workstation.path(), backup, now).ok());
        QCOMPARE(rows(workstation, AdministrationStore::table), history);
        QCOMPARE(rows(workstation, AdministrationDetails::table), details);

        // An older backup, without the table.
        TestProgramFolder old;
        old.addSubject(QStringLiteral("1"));
        {
            QSqlQuery drop(clinical(old));
            QVERIFY(drop.exec(QStringLiteral("DROP TABLE \"Administrations\"")));
        }
        old.closeDatabases();
        const auto restored =
            DatabaseBackup::restore(workstation.path(), old.filePath(Database::clinicalFileName), now);
        QVERIFY2(restored.ok(), qPrintable(restored.description));
        QVERIFY(rows(workstation, AdministrationStore::table).isEmpty());
        QCOMPARE(rows(workstation, QStringLiteral("IDE")).size(), 1);
    }

    void restoreThatTheServerRefusesChangesNothing()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder workstation;
        QVERIFY(ClinicServer::useServer(workstation.path(), server.settings(), server.password()).ok);
        workstation.addSubject(QStringLiteral("1"));
        // A local file may hold one code twice; the server keeps codes unique.
        TestProgramFolder old;
        old.addSubject(QStringLiteral("5"));
        old.addSubject(QStringLiteral("5"));
        const QDateTime now(QDate(2023, 5, 3), QTime(14, 5, 9));
        const auto restored =
            DatabaseBackup::restore(workstation.path(), old.filePath(Database::clinicalFileName), now);
        QVERIFY(!restored.ok());
        QVERIFY(restored.description.startsWith(BackupTexts::serverRestoreFailed));
        QCOMPARE(workstation.view(QStringLiteral("IDE"))->count(), 1);
        QCOMPARE(workstation.view(QStringLiteral("IDE"))->field(QStringLiteral("Code")), QStringLiteral("1"));
        QCOMPARE(workstation.view(QStringLiteral("QU"))->count(), Database::kItemCount);
    }

    void whatAnotherWorkstationStoresDuringARestoreIsInTheSafetyCopy()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder workstation;
        QVERIFY(ClinicServer::useServer(workstation.path(), server.settings(), server.password()).ok);
        workstation.addSubject(QStringLiteral("1"));
        TestProgramFolder old;
        for (int i = 0; i < 400; ++i)
            old.addSubject(QStringLiteral("old%1").arg(i), QString(200, u'x'));
        old.closeDatabases();

        // Another workstation registers subjects all through the restore; it gives up on a subject
        // rather than wait while the server is locked.
        const QString other = QStringLiteral("other workstation");
        QStringList stored;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), other);
            db.setHostName(server.settings().host);
            db.setPort(server.settings().port);
            db.setDatabaseName(server.settings().databaseName);
            db.setUserName(server.settings().userName);
            db.setPassword(server.password());
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("SET lock_timeout = '50ms'")));
        }
        int block = 0;
        const QDateTime now(QDate(2023, 5, 3), QTime(14, 5, 9));
        const auto restored = DatabaseBackup::restore(
            workstation.path(), old.filePath(Database::clinicalFileName), now, [&](qint64, qint64) {
                if (++block % 10 != 0)
                    return;
                const QString code = QStringLiteral("new%1").arg(block);
                QSqlQuery insert(QSqlDatabase::database(other, false));
                insert.prepare(QStringLiteral("INSERT INTO \"IDE\" (\"Code\") VALUES (?)"));
                insert.addBindValue(code);
                if (insert.exec())
                    stored << code;
            });
        QSqlDatabase::database(other, false).close();
        QSqlDatabase::removeDatabase(other);
        QVERIFY2(restored.ok(), qPrintable(restored.description));
        QVERIFY(!stored.isEmpty()); // before the lock the other workstation was not held up

        const QString safety =
            workstation.filePath(QStringLiteral("Back/") + DatabaseBackup::safetyCopyName(now));
        TestProgramFolder safetyCheck(false);
        QVERIFY(QFile::copy(safety, safetyCheck.filePath(Database::clinicalFileName)));
        QVERIFY(safetyCheck.openDatabases());
        QStringList kept;
        for (const DataView::Row& row : rows(safetyCheck, QStringLiteral("IDE")))
            kept << row.value(QStringLiteral("Code"));
        for (const QString& code : std::as_const(stored))
            QVERIFY2(kept.contains(code), qPrintable(code + QStringLiteral(" is in no safety copy")));
    }

    void restoreQuestionNamesTheServerAndBothCounts()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder workstation;
        QVERIFY(ClinicServer::useServer(workstation.path(), server.settings(), server.password()).ok);
        for (const char* code : {"1", "2", "3"})
            workstation.addSubject(QLatin1String(code));
        TestProgramFolder old;
        old.addSubject(QStringLiteral("9"));
        old.closeDatabases();

        Frmbackup window(workstation.context());
        window.findChild<QLineEdit*>(QStringLiteral("Text2"))
            ->setText(old.filePath(Database::clinicalFileName));
        workstation.prompts.yesNoAnswers.enqueue(false);
        window.restore();
        const QString serverName = QStringLiteral("%1:%2/%3")
                                       .arg(server.settings().host, QString::number(server.settings().port),
                                            server.settings().databaseName);
        QCOMPARE(workstation.prompts.texts(FakePrompts::Kind::YesNo),
                 QStringList{BackupTexts::serverRestoreQuestion(serverName, QStringLiteral("3"),
                                                                QStringLiteral("1"))});
        QCOMPARE(workstation.view(QStringLiteral("IDE"))->count(), 3);
    }
};

QTEST_MAIN(ServerBackupTest)
#include "ServerBackupTest.moc"
