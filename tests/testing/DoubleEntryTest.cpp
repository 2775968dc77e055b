#include "AuditRows.h"
#include "SignedInSession.h"
#include "TestProgramFolder.h"
#include "audit/AuditTexts.h"
#include "datastore/AdministrationStore.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "testing/DoubleEntryReview.h"
#include "testing/Frmpas2.h"
#include "testing/TestingTexts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using AdministrationDetails::EntryState;

// A paper sheet typed twice: the second entry blind and kept apart, the two compared, and a
// reviewer's decision stored as the administration's answers.
class DoubleEntryTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<SignedInSession> m_session;
    std::unique_ptr<Frmpas2> m_window;

    QSqlDatabase db() const { return Database::connection(m_folder->path(), Database::File::Clinical); }
    template <typename T> T* child(const QString& name) const
    {
        auto* found = m_window->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QLineEdit* box(int item) const { return child<QLineEdit>(QStringLiteral("Txt1_%1").arg(item)); }

    void openAs(const QString& user)
    {
        m_window.reset();
        m_session = std::make_unique<SignedInSession>(user);
        m_folder->context().session = m_session.get();
        m_window = std::make_unique<Frmpas2>(m_folder->context());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void select(const QString& code) const
    {
        auto* codeBox = child<QLineEdit>(QStringLiteral("Text4"));
        codeBox->clear();
        QTest::keyClicks(codeBox, code);
        QTest::mouseClick(child<QPushButton>(QStringLiteral("Command3")), Qt::LeftButton);
    }
    // Types one digit a box, as the clinician types from the paper sheet ("0" for unanswered).
    void type(const QString& digits) const
    {
        for (int item = 1; item <= digits.size(); ++item)
            QTest::keyClicks(box(item), digits.mid(item - 1, 1));
    }
    static QString sheet(int shift)
    {
        QString digits;
        for (int item = 1; item <= 35; ++item)
            digits += QString::number((item + shift) % 5 + 1);
        return digits;
    }
    QString storedAnswers(const QString& code) const
    {
        auto answers = m_folder->view(QStringLiteral("Answer"));
        answers->filterBy(QStringLiteral("Code"), code);
        QString digits;
        for (int item = 1; item <= 35; ++item) {
            const QString answer = answers->field(QString::number(item));
            digits += answer.isEmpty() ? QStringLiteral("0") : answer;
        }
        return digits;
    }
    AdministrationDetails::Details details(const QString& code) const
    {
        return *AdministrationDetails::read(db(), code, *AdministrationStore::latestSequence(db(), code));
    }
    // Every text the window's line edits and labels hold but the subject's code and name.
    QStringList shownTexts() const
    {
        QStringList texts;
        for (const QLineEdit* edit : m_window->findChildren<QLineEdit*>()) {
            if (edit->objectName() != QLatin1String("Text4") && edit->objectName() != QLatin1String("Text10"))
                texts << edit->objectName() + u'=' + edit->text();
        }
        for (const QLabel* label : m_window->findChildren<QLabel*>())
            texts << label->objectName() + u'=' + label->text();
        return texts;
    }
    // Runs `work` on the review window once it is open (it is modal).
    static void whenReviewOpens(std::function<void(DoubleEntryReview&)> work)
    {
        QTimer::singleShot(0, [work] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (auto* review = qobject_cast<DoubleEntryReview*>(top); review && review->isVisible()) {
                    work(*review);
                    return;
                }
            }
            whenReviewOpens(work);
        });
    }

private slots:
    void initTestCase() { QApplication::setLayoutDirection(Qt::RightToLeft); }
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_folder->addSubject(QStringLiteral("1"), QStringLiteral("Ali"));
        m_folder->addSubject(QStringLiteral("2"), QStringLiteral("Sara"));
        AdministrationDetails::Settings settings;
        settings.doubleEntry = true;
        QVERIFY(AdministrationDetails::writeSettings(db(), settings));
    }
    void cleanup()
    {
        m_window.reset();
        m_folder->context().session = nullptr;
        m_session.reset();
        m_folder.reset();
    }

    void agreeingEntriesVerifyTheAdministration()
    {
        openAs(QStringLiteral("mina"));
        select(QStringLiteral("1"));
        type(sheet(0));
        m_window->close();
        QCOMPARE(storedAnswers(QStringLiteral("1")), sheet(0));
        QCOMPARE(details(QStringLiteral("1")).state, EntryState::AwaitingSecond);
        QCOMPARE(details(QStringLiteral("1")).firstUser, QStringLiteral("mina"));

        // Later, by the same user: the second entry, which agrees.
        openAs(QStringLiteral("mina"));
        select(QStringLiteral("1"));
        QCOMPARE(m_folder->prompts.lastNotice(), TestingTexts::secondEntryNotice);
        type(sheet(0));
        QCOMPARE(m_folder->prompts.lastNotice(), TestingTexts::entriesAgree);
        QCOMPARE(details(QStringLiteral("1")).state, EntryState::Verified);
        QCOMPARE(storedAnswers(QStringLiteral("1")), sheet(0));
        const QStringList audit = auditRows(m_folder->path());
        QVERIFY(audit.contains(QStringLiteral("record-change|1|%1|mina").arg(AuditTexts::secondEntryDetail)));
        QVERIFY(
            audit.contains(QStringLiteral("record-change|1|%1|mina").arg(AuditTexts::entriesAgreeDetail)));

        // Chosen again once verified, the sheet is the first entry of a correction, asked twice again.
        m_window->close();
        openAs(QStringLiteral("mina"));
        select(QStringLiteral("1"));
        QCOMPARE(box(1)->text(), sheet(0).left(1));
        QTest::keyClicks(box(1), QStringLiteral("5"));
        m_window->close();
        QCOMPARE(details(QStringLiteral("1")).state, EntryState::AwaitingSecond);
    }

    void blindSecondEntryWithSlipsIsReviewed()
    {
        openAs(QStringLiteral("mina"));
        select(QStringLiteral("1"));
        type(sheet(0));
        select(QStringLiteral("2"));
        type(sheet(3));
        m_window->close();
        // Scores made from the first entry, before the review.
        auto subjects = m_folder->view(QStringLiteral("IDE"));
        subjects->filterBy(QStringLiteral("Code"), QStringLiteral("1"));
        subjects->setField(QStringLiteral("S"), QStringLiteral("3.0"));
        QVERIFY(subjects->commit());

        openAs(QStringLiteral("reza"));
        select(QStringLiteral("1"));
        const QStringList first = shownTexts();
        // No box, shown or hidden, holds an answer; the counter says none was typed.
        for (const QLineEdit* edit : m_window->findChildren<QLineEdit*>()) {
            const QString name = edit->objectName();
            if (name != QLatin1String("Text4") && name != QLatin1String("Text10"))
                QVERIFY2(edit->text().isEmpty() || (name == QLatin1String("Text13") && edit->text() == u'0'),
                         qPrintable(name));
        }
        select(QStringLiteral("2"));
        // Two subjects whose first entries differ in every item: the windows hold the same texts.
        QCOMPARE(shownTexts(), first);
        QCOMPARE(storedAnswers(QStringLiteral("2")), sheet(3)); // the second entry is kept apart

        // Back to the first subject, whose second entry goes on; three slips in it.
        select(QStringLiteral("1"));
        QString slipped = sheet(0);
        slipped[0] = u'5';
        slipped[9] = u'0';
        slipped[34] = u'2';
        bool reviewed = false;
        whenReviewOpens([&](DoubleEntryReview& review) {
            QVERIFY(review.findChild<QLabel*>(QStringLiteral("reviewIntro"))
                        ->text()
                        .contains(QStringLiteral("91.4")));
            for (int item = 1; item <= 35; ++item)
                QCOMPARE(review.valueBox(item) != nullptr, item == 1 || item == 10 || item == 35);
            // An undecided item keeps the review open.
            QTest::mouseClick(review.findChild<QPushButton*>(QStringLiteral("reviewStore")), Qt::LeftButton);
            QCOMPARE(m_folder->prompts.texts(FakePrompts::Kind::Message).constLast(),
                     TestingTexts::reviewIncomplete);
            QVERIFY(review.isVisible());
            // The second entry's value by a click, one typed in Persian with blanks, one left unanswered.
            QTest::mouseClick(review.findChild<QPushButton*>(QStringLiteral("reviewPick2_1")),
                              Qt::LeftButton);
            QCOMPARE(review.valueBox(1)->text(), QStringLiteral("5"));
            review.valueBox(10)->setText(QStringLiteral(" ۴ "));
            review.valueBox(35)->setText(QStringLiteral("0"));
            QTest::mouseClick(review.findChild<QPushButton*>(QStringLiteral("reviewStore")), Qt::LeftButton);
            reviewed = !review.isVisible();
        });
        type(slipped);
        QVERIFY(reviewed);

        QString expected = sheet(0);
        expected[0] = u'5';
        expected[9] = u'4';
        expected[34] = u'0';
        QCOMPARE(storedAnswers(QStringLiteral("1")), expected);
        const AdministrationDetails::Details kept = details(QStringLiteral("1"));
        QCOMPARE(kept.state, EntryState::Verified);
        QCOMPARE(kept.secondUser, QStringLiteral("reza"));
        QCOMPARE(kept.reviewer, QStringLiteral("reza"));
        subjects->requery();
        subjects->filterBy(QStringLiteral("Code"), QStringLiteral("1"));
        QVERIFY(subjects->field(QStringLiteral("S")).isEmpty()); // scored again from the reviewed answers
        const QStringList audit = auditRows(m_folder->path());
        QVERIFY(audit.contains(QStringLiteral("record-change|1|%1|reza")
                                   .arg(AuditTexts::entriesDisagreeDetail(QStringLiteral("91.4")))));
        QVERIFY(audit.contains(QStringLiteral("record-change|1|%1|reza").arg(AuditTexts::reviewDetail)));
        // The other subject still waits for its second entry.
        QCOMPARE(details(QStringLiteral("2")).state, EntryState::SecondUnderWay);
    }

    // A review put off waits, and opens again when the subject is chosen.
    void reviewPutOffWaits()
    {
        openAs(QStringLiteral("mina"));
        select(QStringLiteral("1"));
        type(sheet(0));
        m_window->close();
        openAs(QStringLiteral("mina"));
        select(QStringLiteral("1"));
        whenReviewOpens([](DoubleEntryReview& review) { review.reject(); });
        type(sheet(1));
        QCOMPARE(details(QStringLiteral("1")).state, EntryState::AwaitingReview);
        QCOMPARE(storedAnswers(QStringLiteral("1")), sheet(0));
        bool opened = false;
        whenReviewOpens([&](DoubleEntryReview& review) {
            opened = review.valueBox(1) != nullptr;
            review.reject();
        });
        select(QStringLiteral("1"));
        QVERIFY(opened);
        QVERIFY(!box(1)->isVisible());
    }
};

QTEST_MAIN(DoubleEntryTest)
#include "DoubleEntryTest.moc"
