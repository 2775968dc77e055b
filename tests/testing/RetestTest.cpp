#include "TestProgramFolder.h"
#include "datastore/AdministrationStore.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "testing/FrmTest.h"
#include "testing/Frmpas2.h"
#include "testing/RetestChoice.h"
#include "testing/TestingTexts.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

using AdministrationStore::Administration;

// A second test or sheet of a scored subject: a new administration keeps the earlier one whole, a
// correction goes on in it, and a cancel changes nothing.
class RetestTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    enum
    {
        kNew,
        kCorrection
    };

    QSqlDatabase db() const { return Database::connection(m_folder->path(), Database::File::Clinical); }
    QList<Administration> administrations() const
    {
        return *AdministrationStore::list(db(), QStringLiteral("1"));
    }
    QStringList answers() const
    {
        auto view = m_folder->view(QStringLiteral("Answer"));
        view->filterBy(QStringLiteral("Code"), QStringLiteral("1"));
        QStringList result;
        for (int item = 1; item <= 35; ++item)
            result << view->field(QString::number(item));
        return result;
    }
    QString score() const
    {
        auto view = m_folder->view(QStringLiteral("IDE"));
        view->filterBy(QStringLiteral("Code"), QStringLiteral("1"));
        return view->field(QStringLiteral("S"));
    }
    int questionsAsked() const { return m_folder->prompts.texts(FakePrompts::Kind::Choice).size(); }
    int historyRows() const
    {
        QSqlQuery count(db());
        return count.exec(QStringLiteral("SELECT COUNT(*) FROM \"Administrations\"")) && count.next()
                   ? count.value(0).toInt()
                   : -1;
    }
    void selectOnSheet(Frmpas2& sheet, const QString& code)
    {
        auto* box = sheet.findChild<QLineEdit*>(QStringLiteral("Text4"));
        box->setText(code);
        sheet.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_folder->addSubject(QStringLiteral("1"));
        m_folder->setAnswers(QStringLiteral("1"), QStringList(35, QStringLiteral("3")));
        auto subjects = m_folder->view(QStringLiteral("IDE"));
        subjects->filterBy(QStringLiteral("Code"), QStringLiteral("1"));
        for (const char* scale : {"S", "L", "F1", "P", "F2"})
            subjects->setField(QLatin1String(scale), QStringLiteral("3."));
        QVERIFY(subjects->commit());
    }
    void cleanup() { m_folder.reset(); }

    void onScreenTestOfAScoredSubjectAsksFirst()
    {
        FrmTest test(m_folder->context());
        const QStringList earlier = answers();

        // Cancelled: the test does not start and nothing is changed.
        QVERIFY(!test.prepareForCode(QStringLiteral("1")));
        QCOMPARE(questionsAsked(), 1);
        const FakePrompts::Shown& question = m_folder->prompts.shown.constLast();
        QCOMPARE(question.title, QStringLiteral("توجه"));
        QCOMPARE(question.text, TestingTexts::retestQuestion);
        QCOMPARE(m_folder->prompts.lastChoices,
                 (QStringList{QStringLiteral("اجراي تازه"), QStringLiteral("اصلاح اجراي قبلي")}));
        QCOMPARE(answers(), earlier);
        QCOMPARE(historyRows(), 0);

        // A correction goes on in the stored administration.
        m_folder->prompts.choiceAnswers.enqueue(kCorrection);
        QVERIFY(test.prepareForCode(QStringLiteral("1")));
        QCOMPARE(answers(), earlier);
        QCOMPARE(score(), QStringLiteral("3."));
        QCOMPARE(historyRows(), 0);

        // A new one keeps the earlier whole and starts empty.
        m_folder->prompts.choiceAnswers.enqueue(kNew);
        QVERIFY(test.prepareForCode(QStringLiteral("1")));
        QCOMPARE(answers(), QStringList(35, QString()));
        QVERIFY(score().isEmpty());
        m_folder->setAnswers(QStringLiteral("1"), {QStringLiteral("5")});
        const QList<Administration> all = administrations();
        QCOMPARE(all.size(), 2);
        QCOMPARE(QStringList(all.at(0).answers.begin(), all.at(0).answers.end()), earlier);
        QCOMPARE(all.at(0).scores.at(4), QStringLiteral("3."));
        QCOMPARE(all.at(1).answers.at(0), QStringLiteral("5"));
        QCOMPARE(all.at(1).start.entry, AdministrationStore::Entry::OnScreen);
        QCOMPARE(all.at(1).start.date, QStringLiteral("1402/02/13")); // the fixed clock's day

        // Not scored yet: the next start asks nothing.
        QVERIFY(test.prepareForCode(QStringLiteral("1")));
        QCOMPARE(questionsAsked(), 3);
    }

    void answerSheetAsksOnceForItsSubject()
    {
        Frmpas2 sheet(m_folder->context());
        selectOnSheet(sheet, QStringLiteral("1")); // cancelled
        QVERIFY(!sheet.findChild<QLineEdit*>(QStringLiteral("Txt1_1"))->isVisibleTo(&sheet));
        QCOMPARE(answers(), QStringList(35, QStringLiteral("3")));

        m_folder->prompts.choiceAnswers.enqueue(kNew);
        selectOnSheet(sheet, QStringLiteral("1"));
        QVERIFY(sheet.findChild<QLineEdit*>(QStringLiteral("Txt1_1"))->isVisibleTo(&sheet));
        QVERIFY(sheet.findChild<QLineEdit*>(QStringLiteral("Txt1_1"))->text().isEmpty());
        QTest::keyClicks(sheet.findChild<QLineEdit*>(QStringLiteral("Txt1_1")), QStringLiteral("4"));
        selectOnSheet(sheet, QStringLiteral("1")); // the same subject again: no second question
        QCOMPARE(questionsAsked(), 2);
        QCOMPARE(answers().constFirst(), QStringLiteral("4"));
        const QList<Administration> all = administrations();
        QCOMPARE(all.size(), 2);
        QCOMPARE(all.at(0).answers.at(0), QStringLiteral("3"));
        QCOMPARE(all.at(1).start.entry, AdministrationStore::Entry::PaperSheet);

        // A first administration is noted as it begins, without a question.
        m_folder->addSubject(QStringLiteral("2"));
        selectOnSheet(sheet, QStringLiteral("2"));
        QCOMPARE(questionsAsked(), 2);
        m_folder->setAnswers(QStringLiteral("2"), {QStringLiteral("1")});
        const Administration first = AdministrationStore::list(db(), QStringLiteral("2"))->constFirst();
        QCOMPARE(first.sequence, 1);
        QCOMPARE(first.start.entry, AdministrationStore::Entry::PaperSheet);
    }

    // Where the earlier administration cannot be kept, the user is told and nothing is lost: with
    // the last step refused, the history written before it goes too.
    void anEarlierAdministrationThatCannotBeKeptStopsTheTest()
    {
        QSqlQuery trigger(db());
        QVERIFY(trigger.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON \"IDE\" "
                                            "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
        FrmTest test(m_folder->context());
        m_folder->prompts.choiceAnswers.enqueue(kNew);
        QVERIFY(!test.prepareForCode(QStringLiteral("1")));
        QCOMPARE(m_folder->prompts.shown.constLast().title, QStringLiteral("خطا"));
        QCOMPARE(m_folder->prompts.shown.constLast().text, TestingTexts::retestNotStored);
        QCOMPARE(answers(), QStringList(35, QStringLiteral("3")));
        QCOMPARE(score(), QStringLiteral("3."));
        QCOMPARE(historyRows(), 0);

        // Nor does a first administration whose start cannot be noted.
        m_folder->addSubject(QStringLiteral("2"));
        QVERIFY(trigger.exec(QStringLiteral("CREATE TRIGGER refuseRows BEFORE INSERT ON \"Administrations\" "
                                            "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
        QVERIFY(!test.prepareForCode(QStringLiteral("2")));
        QCOMPARE(m_folder->prompts.shown.constLast().text, TestingTexts::startNotStored);
    }
};

QTEST_MAIN(RetestTest)
#include "RetestTest.moc"
