#include "datastore/Database.h"
#include "TestProgramFolder.h"
#include "datastore/DataView.h"
#include "datastore/DatastoreTexts.h"
#include "datastore/DefaultItemTexts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

class DatabaseTest : public QObject
{
    Q_OBJECT

    static QByteArray readAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void missingFilesAreCreatedWithTheirFirstContent()
    {
        TestProgramFolder folder(false);
        QVERIFY(!QFile::exists(folder.filePath(Database::clinicalFileName)));
        QVERIFY(folder.openDatabases());
        QVERIFY(QFile::exists(folder.filePath(QStringLiteral("DABSH.skn"))));
        QVERIFY(QFile::exists(folder.filePath(QStringLiteral("Theme.skn"))));

        auto items = folder.view(QStringLiteral("QU"));
        QCOMPARE(items->count(), 35);
        const QStringList texts = defaultItemTexts();
        for (int n = 1; n <= 35; ++n) {
            items->filterBy(QStringLiteral("ID"), QString::number(n));
            QCOMPARE(items->field(QStringLiteral("QUS")), texts.at(n - 1));
            QVERIFY(!texts.at(n - 1).trimmed().isEmpty());
        }
        QCOMPARE(QSet<QString>(texts.cbegin(), texts.cend()).size(), 35);

        auto theme = folder.view(QStringLiteral("Theme"));
        QCOMPARE(theme->count(), 1);
        QCOMPARE(theme->field(QStringLiteral("Check1")), QStringLiteral("0"));
        for (const char* column : {"Name", "Adress", "T1", "T2", "T3", "T4", "T5", "T6"})
            QCOMPARE(theme->field(QLatin1String(column)), QString());
        QCOMPARE(folder.view(QStringLiteral("IDE"))->count(), 0);
        QCOMPARE(folder.view(QStringLiteral("Answer"))->count(), 0);
    }

    void tablesHaveEveryColumn()
    {
        TestProgramFolder folder;
        QCOMPARE(folder.view(QStringLiteral("IDE"))->columns(), Database::subjectColumns());
        QCOMPARE(folder.view(QStringLiteral("Answer"))->columns().size(), 36);
        QCOMPARE(folder.view(QStringLiteral("Answer"))->columns().last(), QStringLiteral("35"));
        QCOMPARE(folder.view(QStringLiteral("Theme"))->columns(), Database::themeColumns());
        QCOMPARE(folder.view(QStringLiteral("QU"))->columns(), (QStringList{"ID", "QUS"}));
    }

    void codeColumnsAreIndexed()
    {
        TestProgramFolder folder;
        QSqlQuery plan(Database::connection(folder.path(), Database::File::Clinical));
        for (const char* table : {"IDE", "Answer"}) {
            QVERIFY(plan.exec(QStringLiteral("EXPLAIN QUERY PLAN SELECT rowid FROM %1 WHERE \"Code\" = '5'")
                                  .arg(QLatin1String(table))));
            QVERIFY(plan.next());
            QVERIFY2(plan.value(3).toString().contains(QStringLiteral("USING")),
                     qPrintable(plan.value(3).toString()));
        }
    }

    void existingDataSurvivesReopening()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"));
        auto items = folder.view(QStringLiteral("QU"));
        items->setField(QStringLiteral("QUS"), QStringLiteral("edited"));
        QVERIFY(items->commit());
        items.reset();
        folder.closeDatabases();
        QVERIFY(folder.openDatabases());
        QCOMPARE(folder.view(QStringLiteral("IDE"))->count(), 1);
        QCOMPARE(folder.view(QStringLiteral("QU"))->count(), 35);
        QCOMPARE(folder.view(QStringLiteral("QU"))->field(QStringLiteral("QUS")), QStringLiteral("edited"));
    }

    void unreadableFileIsNeverOverwritten_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text in DABSH") << "DABSH.skn" << QByteArray("not a database at all\n").repeated(40);
        QTest::newRow("Jet header in Theme")
            << "Theme.skn" << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20).repeated(100);
    }
    void unreadableFileIsNeverOverwritten()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        TestProgramFolder folder(false);
        QFile file(folder.filePath(fileName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        const Database::OpenResult result = Database::openProgramDatabases(folder.path());
        QVERIFY(!result.ok);
        QCOMPARE(result.failedFile, fileName);
        QVERIFY(result.message.contains(fileName));
        QVERIFY(!result.message.isEmpty());
        QCOMPARE(readAll(folder.filePath(fileName)), content);
    }

    void missingTableAndThemeRowAreAddedToAnExistingFile()
    {
        TestProgramFolder folder(false);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
            db.setDatabaseName(folder.filePath(QStringLiteral("Theme.skn")));
            QVERIFY(db.open());
            QSqlQuery(QStringLiteral("CREATE TABLE Theme (ID TEXT, Name TEXT)"), db);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("setup"));
        QVERIFY(folder.openDatabases());
        auto theme = folder.view(QStringLiteral("Theme"));
        QCOMPARE(theme->count(), 1);
        QVERIFY(theme->setField(QStringLiteral("T6"), QStringLiteral("021")));
        QVERIFY(theme->commit());
    }

    void damagedOrBusyFilesAreToldApartAndLeftAlone()
    {
        TestProgramFolder folder(false);
        const QString path = folder.filePath(QStringLiteral("DABSH.skn"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("CREATE TABLE IDE (Code TEXT, FName TEXT)")));
            db.transaction();
            for (int i = 0; i < 2000; ++i)
                query.exec(
                    QStringLiteral("INSERT INTO IDE VALUES ('%1', '%2')").arg(i).arg(QString(80, u'x')));
            QVERIFY(db.commit());
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("setup"));

        // A lock held by another program: busy, not damaged, and the file untouched.
        const QByteArray whole = readAll(path);
        {
            QSqlDatabase other =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN EXCLUSIVE")));
            const Database::OpenResult busy = Database::openProgramDatabases(folder.path());
            QVERIFY(!busy.ok);
            QCOMPARE(busy.state, Database::FileState::Busy);
            QCOMPARE(busy.message, DatastoreTexts::busyDatabase(QStringLiteral("DABSH.skn")));
            QSqlQuery(other).exec(QStringLiteral("ROLLBACK"));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        QCOMPARE(readAll(path), whole);
        Database::closeProgramDatabases(folder.path());

        // Later pages overwritten, the schema page whole: damaged, and left as it is.
        QByteArray damaged = whole;
        QVERIFY(damaged.size() > 8 * 4096);
        for (int i = 5 * 4096; i < 7 * 4096; ++i)
            damaged[i] = char(0x5A);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(damaged);
        file.close();
        const Database::OpenResult result = Database::openProgramDatabases(folder.path());
        QVERIFY(!result.ok);
        QCOMPARE(result.state, Database::FileState::Damaged);
        QCOMPARE(result.message, DatastoreTexts::damagedDatabase(QStringLiteral("DABSH.skn")));
        QCOMPARE(readAll(path), damaged);
        // So does the check beside the first window.
        QCOMPARE(Database::checkPages(folder.path(), Database::File::Clinical), Database::FileState::Damaged);
        QCOMPARE(readAll(path), damaged);
    }

    // The check of every page runs beside the first window, for seconds on a large file; a
    // registration made meanwhile must not wait for it (nor fail after the busy time-out).
    void pageCheckNeverHoldsUpAWrite()
    {
        TestProgramFolder folder;
        QSqlDatabase db = Database::connection(folder.path(), Database::File::Clinical);
        QVERIFY(QSqlQuery(db).exec(
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                           "WHERE i < 300) INSERT INTO IDE (Code) SELECT i FROM n")));
        // A writer in the middle of its commit holds the file against every reader that locks.
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("INSERT INTO IDE (Code) VALUES ('new')")));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(Database::checkPages(folder.path(), Database::File::Clinical), Database::FileState::Usable);
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("COMMIT")));
        QCOMPARE(folder.view(QStringLiteral("IDE"))->count(), 301);
        QCOMPARE(Database::checkPages(folder.path(), Database::File::Theme), Database::FileState::Usable);

        // Folder names with characters a file address must escape.
        TestProgramFolder odd(false);
        const QString deeper = odd.filePath(QStringLiteral("پوشه #1 ?%20"));
        QVERIFY(QDir().mkpath(deeper));
        QVERIFY(Database::openProgramDatabases(deeper).ok);
        QCOMPARE(Database::checkPages(deeper, Database::File::Clinical), Database::FileState::Usable);
        Database::closeProgramDatabases(deeper);
        QCOMPARE(Database::checkPages(odd.filePath(QStringLiteral("missing")), Database::File::Clinical),
                 Database::FileState::Unreadable);
    }

    // A commit that waited in vain for a reader's lock leaves nothing open behind it: the next
    // transaction begins, and what the failed one wrote is not stored by a later commit.
    void commitRefusedForALockLeavesNoTransactionOpen()
    {
        TestProgramFolder folder;
        const QString path = folder.filePath(Database::clinicalFileName);
        const auto connect = [&path](const QString& name, const QString& options) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            db.setConnectOptions(options);
            return db.open();
        };
        QVERIFY(connect(QStringLiteral("writer"), QStringLiteral("QSQLITE_BUSY_TIMEOUT=100")));
        QVERIFY(connect(QStringLiteral("reader"), QString()));
        {
            QSqlDatabase writer = QSqlDatabase::database(QStringLiteral("writer"));
            QSqlDatabase reader = QSqlDatabase::database(QStringLiteral("reader"));
            QSqlQuery reading(reader);
            QVERIFY(reading.exec(QStringLiteral("BEGIN")));
            QVERIFY(reading.exec(QStringLiteral("SELECT COUNT(*) FROM QU")) && reading.next());
            {
                Transaction refused(writer);
                QVERIFY(refused.isOpen());
                QVERIFY(QSqlQuery(writer).exec(QStringLiteral("INSERT INTO IDE (Code) VALUES ('lost')")));
                QVERIFY(!refused.commit());
                QVERIFY(writer.lastError().text().contains(QStringLiteral("locked")));
            }
            reading.finish();
            QVERIFY(reading.exec(QStringLiteral("COMMIT")));
            Transaction next(writer);
            QVERIFY(next.isOpen());
            QVERIFY(QSqlQuery(writer).exec(QStringLiteral("INSERT INTO IDE (Code) VALUES ('kept')")));
            QVERIFY(next.commit());
        }
        QSqlDatabase::removeDatabase(QStringLiteral("writer"));
        QSqlDatabase::removeDatabase(QStringLiteral("reader"));
        auto subjects = folder.view(QStringLiteral("IDE"));
        QCOMPARE(subjects->count(), 1);
        QCOMPARE(subjects->field(QStringLiteral("Code")), QStringLiteral("kept"));
    }

    void missingItemsGetTheirFirstRunTextsAndExistingItemsStay()
    {
        TestProgramFolder folder;
        {
            QSqlDatabase db = Database::connection(folder.path(), Database::File::Clinical);
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("DELETE FROM QU WHERE ID <> '2'")));
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("UPDATE QU SET QUS = 'edited' WHERE ID = '2'")));
        }
        Database::closeProgramDatabases(folder.path());
        QVERIFY(folder.openDatabases());
        auto items = folder.view(QStringLiteral("QU"));
        QCOMPARE(items->count(), 35);
        const QStringList defaults = defaultItemTexts();
        for (int id = 1; id <= 35; ++id) {
            items->filterBy(QStringLiteral("ID"), QString::number(id));
            QCOMPARE(items->count(), 1);
            QCOMPARE(items->field(QStringLiteral("QUS")),
                     id == 2 ? QStringLiteral("edited") : defaults.at(id - 1));
        }
    }
};

QTEST_GUILESS_MAIN(DatabaseTest)
#include "DatabaseTest.moc"
