#include "datastore/AnswerChecks.h"
#include "TestProgramFolder.h"
#include "datastore/AdministrationDetails.h"
#include "datastore/AdministrationStore.h"
#include "datastore/Database.h"

#include <QtTest>

using AdministrationDetails::Details;
using AdministrationDetails::EntryState;
using AnswerChecks::Answers;
using AnswerChecks::Flag;

// The comparison of two entries, the timings' figures and the flagged patterns; and the details
// row kept and moved with its subject.
class AnswerChecksTest : public QObject
{
    Q_OBJECT

    // Answers cycling through 1 … 5: no run, nothing unanswered.
    static Answers varied()
    {
        Answers answers;
        for (std::size_t i = 0; i < answers.size(); ++i)
            answers[i] = QString::number(i % 5 + 1);
        return answers;
    }
    static Details timed(qint64 msEach)
    {
        Details details;
        details.timed = true;
        details.milliseconds.fill(msEach);
        return details;
    }

private slots:
    void comparisonCountsDisagreeingItemsAsTheScoringReadsThem()
    {
        const Answers first = varied();
        Answers second = first;
        QVERIFY(AnswerChecks::compare(first, second).agrees());
        // "0", blanks and an empty box are one unanswered item.
        Answers blanks = first;
        blanks[3] = QStringLiteral("0");
        second[3] = QStringLiteral(" ");
        QVERIFY(AnswerChecks::compare(blanks, second).agrees());
        second = first;
        second[0] = QStringLiteral("2");
        second[17] = QString();
        second[34] = QStringLiteral("1");
        const AnswerChecks::Comparison slips = AnswerChecks::compare(first, second);
        QCOMPARE(slips.differing, QList<int>({1, 18, 35}));
        QCOMPARE(AnswerChecks::percentText(slips.agreementPercent), QStringLiteral("91.4"));
    }

    void eachFlagOnAPatternThatHasItAndNotOnOneThatHasNot()
    {
        const AdministrationDetails::Settings settings; // the defaults
        QCOMPARE(AnswerChecks::flags(varied(), Details(), settings), QList<Flag>());
        QCOMPARE(AnswerChecks::flags(varied(), timed(5000), settings), QList<Flag>());

        Answers same;
        same.fill(QStringLiteral("3"));
        same[20] = QString(); // one item left out is still the same answer to every item
        QCOMPARE(AnswerChecks::flags(same, Details(), settings), QList<Flag>({Flag::SameAnswerEverywhere}));

        Answers run = varied();
        for (std::size_t i = 10; i < 19; ++i)
            run[i] = QStringLiteral("4");
        QCOMPARE(AnswerChecks::longestRun(run), 9);
        QCOMPARE(AnswerChecks::flags(run, Details(), settings), QList<Flag>());
        run[19] = QStringLiteral("4");
        QCOMPARE(AnswerChecks::flags(run, Details(), settings), QList<Flag>({Flag::LongRun}));

        // Three seconds an answered item is the default limit.
        QCOMPARE(AnswerChecks::flags(varied(), timed(2999), settings), QList<Flag>({Flag::FastCompletion}));
        QCOMPARE(AnswerChecks::flags(varied(), timed(3000), settings), QList<Flag>());

        Answers gaps = varied();
        for (std::size_t i = 0; i < 4; ++i)
            gaps[i * 7] = QString();
        QCOMPARE(AnswerChecks::flags(gaps, Details(), settings), QList<Flag>());
        gaps[30] = QStringLiteral("0");
        QCOMPARE(AnswerChecks::flags(gaps, Details(), settings), QList<Flag>({Flag::ManyUnanswered}));
        AdministrationDetails::Settings stricter = settings;
        stricter.unanswered = 6;
        QCOMPARE(AnswerChecks::flags(gaps, Details(), stricter), QList<Flag>());
    }

    void timingsGiveTheMedianAndTheFastItems()
    {
        QVERIFY(!AnswerChecks::medianSeconds(Details()));
        QVERIFY(!AnswerChecks::fastItemCount(varied(), Details(), 2));
        Details details = timed(4000);
        details.milliseconds[0] = 500;
        details.milliseconds[1] = 1999;
        details.milliseconds[2] = 0; // never shown
        QCOMPARE(*AnswerChecks::medianSeconds(details), 4.0);
        Answers answers = varied();
        QCOMPARE(*AnswerChecks::fastItemCount(answers, details, 2), 3);
        answers[0] = QString(); // an unanswered item is not a fast answer
        QCOMPARE(*AnswerChecks::fastItemCount(answers, details, 2), 2);
        details.milliseconds.fill(1000);
        details.milliseconds[34] = 3000;
        QCOMPARE(*AnswerChecks::medianSeconds(details), 1.0);
    }

    // The row is read back as written, and goes with its subject when the subject is renamed or
    // removed; the settings keep their defaults until stored.
    void detailsAndSettingsAreKept()
    {
        TestProgramFolder folder;
        const QSqlDatabase db = Database::connection(folder.path(), Database::File::Clinical);
        QVERIFY(!AdministrationDetails::readSettings(db).doubleEntry);
        Details details = timed(1234);
        details.code = QStringLiteral("7");
        details.sequence = 2;
        details.state = EntryState::AwaitingReview;
        details.firstUser = QStringLiteral("مريم");
        details.second = varied();
        details.changes[4] = 3;
        QVERIFY(AdministrationDetails::store(db, details));
        const std::optional<Details> back = AdministrationDetails::read(db, QStringLiteral("7"), 2);
        QVERIFY(back);
        QCOMPARE(back->state, EntryState::AwaitingReview);
        QCOMPARE(back->firstUser, QStringLiteral("مريم"));
        QCOMPARE(back->second, details.second);
        QCOMPARE(back->milliseconds, details.milliseconds);
        QCOMPARE(back->changes, details.changes);
        QCOMPARE(AdministrationDetails::read(db, QStringLiteral("7"), 1)->state, EntryState::Once);

        QCOMPARE(AdministrationDetails::readAll(db)->value(QStringLiteral("7")).value(2).second,
                 details.second);

        // The latest administration's number, one by one and for all at once, agree.
        folder.addSubject(QStringLiteral("7"));
        folder.setAnswers(QStringLiteral("7"), {QStringLiteral("3")});
        QVERIFY(AdministrationStore::startNew(db, QStringLiteral("7"), {}));
        QCOMPARE(AdministrationStore::latestSequence(db, QStringLiteral("7")), std::optional<int>(2));
        QCOMPARE(AdministrationStore::latestSequences(db)->value(QStringLiteral("7")), 2);

        QVERIFY(AdministrationStore::renameSubject(db, QStringLiteral("7"), QStringLiteral("8")));
        QCOMPARE(AdministrationDetails::read(db, QStringLiteral("8"), 2)->state, EntryState::AwaitingReview);
        QCOMPARE(AdministrationDetails::read(db, QStringLiteral("7"), 2)->state, EntryState::Once);
        QVERIFY(AdministrationStore::removeSubject(db, QStringLiteral("8")));
        QCOMPARE(AdministrationDetails::read(db, QStringLiteral("8"), 2)->state, EntryState::Once);

        AdministrationDetails::Settings settings;
        settings.doubleEntry = true;
        settings.longRun = 7;
        QVERIFY(AdministrationDetails::writeSettings(db, settings));
        QVERIFY(AdministrationDetails::readSettings(db).doubleEntry);
        QCOMPARE(AdministrationDetails::readSettings(db).longRun, 7);
    }
};

QTEST_GUILESS_MAIN(AnswerChecksTest)
#include "AnswerChecksTest.moc"
