#include "datastore/AdministrationStore.h"
#include "TestProgramFolder.h"
#include "TestServer.h"
#include "datastore/ClinicServer.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QSqlQuery>
#include <QtTest>

using AdministrationStore::Administration;
using AdministrationStore::Entry;

// Every administration of a subject kept beside the latest one, on a folder's file and on the
// clinic's server alike.
class AdministrationStoreTest : public QObject
{
    Q_OBJECT

    static QSqlDatabase db(TestProgramFolder& folder)
    {
        return Database::connection(folder.path(), Database::File::Clinical);
    }
    static void setScores(TestProgramFolder& folder, const QString& code, const QStringList& scores)
    {
        auto subjects = folder.view(QStringLiteral("IDE"));
        QVERIFY(subjects->filterBy(QStringLiteral("Code"), code));
        const QStringList columns{QStringLiteral("S"), QStringLiteral("L"), QStringLiteral("F1"),
                                  QStringLiteral("P"), QStringLiteral("F2")};
        for (int i = 0; i < columns.size(); ++i)
            subjects->setField(columns.at(i), scores.value(i));
        QVERIFY(subjects->commit());
    }
    static QStringList answersOf(const Administration& a) { return {a.answers.begin(), a.answers.end()}; }
    static QStringList scoresOf(const Administration& a) { return {a.scores.begin(), a.scores.end()}; }
    static QStringList someAnswers(int first)
    {
        QStringList answers;
        for (int item = 1; item <= 35; ++item)
            answers << QString::number((item + first) % 5 + 1);
        return answers;
    }
    static int historyRows(TestProgramFolder& folder)
    {
        QSqlQuery count(db(folder));
        return count.exec(QStringLiteral("SELECT COUNT(*) FROM \"Administrations\"")) && count.next()
                   ? count.value(0).toInt()
                   : -1;
    }

    // A scored administration, a second one begun and answered: both are listed, the first exactly
    // as it was, and the current rows hold only the second.
    void keepsEveryAdministration(TestProgramFolder& folder)
    {
        const QString code = QStringLiteral("7");
        folder.addSubject(code);
        folder.addSubject(QStringLiteral("8")); // untouched by all of it
        folder.setAnswers(QStringLiteral("8"), someAnswers(3));
        QStringList first = someAnswers(0);
        first[16] = QString(); // item 17 left unanswered
        folder.setAnswers(code, first);
        const QStringList firstScores{QStringLiteral("3.14"), QStringLiteral("2."), QStringLiteral("4.57"),
                                      QStringLiteral("1.86"), QStringLiteral(".")};
        setScores(folder, code, firstScores);
        QCOMPARE(AdministrationStore::hasScoredAdministration(db(folder), code), std::optional<bool>(true));
        const std::optional<QList<Administration>> before = AdministrationStore::list(db(folder), code);
        QVERIFY(before && before->size() == 1 && before->constFirst().latest);

        const AdministrationStore::Start start{QStringLiteral("1402/02/13"), QStringLiteral("14:05:09"),
                                               Entry::PaperSheet, QStringLiteral("dr.karimi")};
        QString error;
        QVERIFY2(AdministrationStore::startNew(db(folder), code, start, &error), qPrintable(error));
        // The current rows start empty; the earlier one is the only administration for now.
        QCOMPARE(AdministrationStore::hasScoredAdministration(db(folder), code), std::optional<bool>(false));
        std::optional<QList<Administration>> all = AdministrationStore::list(db(folder), code);
        QVERIFY(all && all->size() == 1);
        // A new start with nothing answered meanwhile takes the place of the one begun before.
        QVERIFY(AdministrationStore::startNew(db(folder), code, start, &error));
        QCOMPARE(historyRows(folder), 2); // the closed one and the open one

        const QStringList second = someAnswers(1);
        folder.setAnswers(code, second);
        all = AdministrationStore::list(db(folder), code);
        QVERIFY(all && all->size() == 2);
        const Administration& earlier = all->at(0);
        QCOMPARE(earlier.sequence, 1);
        QVERIFY(!earlier.latest);
        QCOMPARE(answersOf(earlier), first);
        QCOMPARE(scoresOf(earlier), firstScores);
        QCOMPARE(earlier.start.entry, Entry::Unknown); // given before administrations were kept
        QCOMPARE(earlier.start.date, before->constFirst().start.date);
        const Administration& latest = all->at(1);
        QCOMPARE(latest.sequence, 2);
        QVERIFY(latest.latest);
        QCOMPARE(answersOf(latest), second);
        QCOMPARE(scoresOf(latest), QStringList(5, QString()));
        QCOMPARE(latest.start.time, start.time);
        QCOMPARE(latest.start.entry, Entry::PaperSheet);
        QCOMPARE(latest.start.user, start.user);

        // A third one closes the open second one in place.
        setScores(folder, code,
                  {QStringLiteral("1."), QStringLiteral("1."), QStringLiteral("1."), QStringLiteral("1."),
                   QStringLiteral("1.")});
        QVERIFY(AdministrationStore::startNew(db(folder), code, {}, &error));
        folder.setAnswers(code, someAnswers(2));
        all = AdministrationStore::list(db(folder), code);
        QVERIFY(all && all->size() == 3);
        QCOMPARE(answersOf(all->at(1)), second);
        QCOMPARE(all->at(1).start.user, start.user);
        QCOMPARE(all->at(2).sequence, 3);

        // The statistics see all three, and subject 8 once.
        QCOMPARE(AdministrationStore::allAnswers(db(folder))->size(), 4);
        QCOMPARE(AdministrationStore::list(db(folder), QStringLiteral("8"))->size(), 1);

        Transaction transaction(db(folder));
        QVERIFY(AdministrationStore::removeSubject(db(folder), code, &error));
        QVERIFY(transaction.commit());
        QCOMPARE(historyRows(folder), 0);
    }

private slots:
    void everyAdministrationIsKeptInTheFolder()
    {
        TestProgramFolder folder;
        keepsEveryAdministration(folder);
    }

    void everyAdministrationIsKeptOnTheServer()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder folder;
        const ClinicServer::Result used =
            ClinicServer::useServer(folder.path(), server.settings(), server.password());
        QVERIFY2(used.ok, qPrintable(used.message));
        keepsEveryAdministration(folder);
    }

    // A file made before administrations were kept gains the table, empty, and nothing else.
    void anOlderFileGainsAnEmptyTable()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"));
        folder.setAnswers(QStringLiteral("1"), someAnswers(0));
        {
            QSqlQuery drop(db(folder));
            QVERIFY(drop.exec(QStringLiteral("DROP TABLE \"Administrations\"")));
        }
        const auto answers = folder.view(QStringLiteral("Answer"))->rows();
        folder.closeDatabases();
        QVERIFY(folder.openDatabases());
        QVERIFY(AdministrationStore::exists(db(folder)));
        QCOMPARE(historyRows(folder), 0);
        QCOMPARE(folder.view(QStringLiteral("Answer"))->rows(), answers);
        QCOMPARE(AdministrationStore::list(db(folder), QStringLiteral("1"))->size(), 1);
    }
};

QTEST_GUILESS_MAIN(AdministrationStoreTest)
#include "AdministrationStoreTest.moc"
