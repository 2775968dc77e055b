#include "datastore/SqlDialect.h"
#include "TestProgramFolder.h"
#include "TestServer.h"
#include "datastore/ClinicServer.h"
#include "datastore/Database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// What the file and the server report of a refused row, and how statements with bound values reach
// the server.
class SqlDialectTest : public QObject
{
    Q_OBJECT

    static int rowsOf(const QSqlDatabase& db, const QString& table)
    {
        QSqlQuery count(db);
        return count.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) && count.next()
                   ? count.value(0).toInt()
                   : -1;
    }

private slots:
    // A code kept under a primary key (a file made by another tool, or a table of an older
    // version) is refused with SQLite's primary key code rather than the unique index code: both
    // mean the code is taken, and the registration proposes the next one instead of failing.
    void sqliteRefusalsOfATakenKeyAreTakenCodes()
    {
        QTemporaryDir folder;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("keys"));
            db.setDatabaseName(folder.filePath(QStringLiteral("keys.sqlite")));
            QVERIFY(db.open());
            QSqlQuery setUp(db);
            QVERIFY(setUp.exec(QStringLiteral("CREATE TABLE ByKey (Code TEXT PRIMARY KEY)")));
            QVERIFY(setUp.exec(QStringLiteral("CREATE TABLE ByIndex (Code TEXT)")));
            QVERIFY(setUp.exec(QStringLiteral("CREATE UNIQUE INDEX ByIndex_Code ON ByIndex (Code)")));
            QVERIFY(setUp.exec(QStringLiteral("CREATE TABLE Checked (Code TEXT CHECK (Code <> 'x'))")));
            for (const QString& table : {QStringLiteral("ByKey"), QStringLiteral("ByIndex")}) {
                QSqlQuery insert(db);
                const QString sql = QStringLiteral("INSERT INTO %1 (Code) VALUES (?)").arg(table);
                SqlDialect::Failure failure = SqlDialect::Failure::Other;
                QVERIFY(SqlDialect::run(insert, db, sql, {QStringLiteral("7")}, SqlDialect::Access::Write,
                                        &failure));
                QCOMPARE(failure, SqlDialect::Failure::None);
                QVERIFY(!SqlDialect::run(insert, db, sql, {QStringLiteral("7")}, SqlDialect::Access::Write,
                                         &failure));
                QCOMPARE(failure, SqlDialect::Failure::DuplicateKey);
                QCOMPARE(SqlDialect::classify(db, insert.lastError()), SqlDialect::Failure::DuplicateKey);
                QCOMPARE(rowsOf(db, table), 1);
            }
            // Another constraint is not a taken code.
            QSqlQuery refused(db);
            SqlDialect::Failure failure = SqlDialect::Failure::None;
            QVERIFY(!SqlDialect::run(refused, db, QStringLiteral("INSERT INTO Checked (Code) VALUES (?)"),
                                     {QStringLiteral("x")}, SqlDialect::Access::Write, &failure));
            QCOMPARE(failure, SqlDialect::Failure::Other);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("keys"));
    }

    // The server gets its values written into the statement. A statement whose values do not
    // match its placeholders one for one is refused before it reaches the server: run with a value
    // left over, it would store a row that lacks what the caller meant to store.
    void serverStatementsNeedOneValuePerPlaceholder()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder folder;
        const ClinicServer::Result used =
            ClinicServer::useServer(folder.path(), server.settings(), server.password());
        QVERIFY2(used.ok, qPrintable(used.message));
        const QSqlDatabase db = Database::connection(folder.path(), Database::File::Clinical);
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("CREATE TABLE \"Pairs\" (\"A\" TEXT, \"B\" TEXT)")));

        const auto write = [&](const QString& sql, const QVariantList& values) {
            QSqlQuery statement(db);
            return SqlDialect::run(statement, db, sql, values, SqlDialect::Access::Write);
        };
        const QString one = QStringLiteral("INSERT INTO \"Pairs\" (\"A\") VALUES (?)");
        const QString two = QStringLiteral("INSERT INTO \"Pairs\" (\"A\", \"B\") VALUES (?, ?)");
        QVERIFY(!write(one, {QStringLiteral("1"), QStringLiteral("2")}));
        QVERIFY(!write(two, {QStringLiteral("1")}));
        QCOMPARE(rowsOf(db, QStringLiteral("\"Pairs\"")), 0);
        SqlDialect::Failure failure = SqlDialect::Failure::None;
        QSqlQuery refused(db);
        QVERIFY(!SqlDialect::run(refused, db, one, {QStringLiteral("1"), QStringLiteral("2")},
                                 SqlDialect::Access::Write, &failure));
        QCOMPARE(failure, SqlDialect::Failure::Other); // neither a taken code nor a lost connection

        // A question mark in a quoted text or name is no placeholder.
        QVERIFY(write(QStringLiteral("INSERT INTO \"Pairs\" (\"A\", \"B\") VALUES ('why?', ?)"),
                      {QStringLiteral("it's")}));
        QVERIFY(!write(QStringLiteral("INSERT INTO \"Pairs\" (\"A\", \"B\") VALUES ('why?', ?)"),
                       {QStringLiteral("a"), QStringLiteral("b")}));
        QVERIFY(write(two, {QStringLiteral("x"), QVariant()}));
        QVERIFY(query.exec(QStringLiteral("SELECT \"A\", \"B\" FROM \"Pairs\" ORDER BY \"A\"")));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("why?"));
        QCOMPARE(query.value(1).toString(), QStringLiteral("it's"));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("x"));
        QVERIFY(query.value(1).isNull());
        QVERIFY(!query.next());
    }
};

QTEST_GUILESS_MAIN(SqlDialectTest)
#include "SqlDialectTest.moc"
