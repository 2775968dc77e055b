#include "testing/Frmpas2.h"
#include "TestProgramFolder.h"
#include "TypeText.h"
#include "datastore/DataView.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

class Frmpas2Test : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<Frmpas2> m_window;

    template <typename T> T* child(const QString& name) const
    {
        auto* found = m_window->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QLineEdit* box(int item) const { return child<QLineEdit>(QStringLiteral("Txt1_%1").arg(item)); }
    QWidget* grid() const { return box(1)->parentWidget(); }
    void click(const char* name) const
    {
        QTest::mouseClick(child<QPushButton>(QLatin1String(name)), Qt::LeftButton);
    }
    // Types a code into the code box and selects the subject with the button.
    void select(const QString& code) const
    {
        auto* codeBox = child<QLineEdit>(QStringLiteral("Text4"));
        codeBox->clear();
        QTest::keyClicks(codeBox, code);
        click("Command3");
    }
    QString stored(const QString& code, int item)
    {
        auto answers = m_folder->view(QStringLiteral("Answer"));
        answers->filterBy(QStringLiteral("Code"), code);
        return answers->field(QString::number(item));
    }
    QString counter() const { return child<QLineEdit>(QStringLiteral("Text13"))->text(); }

    void open()
    {
        m_window = std::make_unique<Frmpas2>(m_folder->context());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

private slots:
    // The program runs right to left.
    void initTestCase() { QApplication::setLayoutDirection(Qt::RightToLeft); }

    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_folder->addSubject(QStringLiteral("1"), QStringLiteral("Ali"), QStringLiteral("Ahmadi"));
        m_folder->addSubject(QStringLiteral("2"), QStringLiteral("Sara"), QStringLiteral("Nazari"));
    }
    void cleanup()
    {
        m_window.reset();
        m_folder.reset();
    }

    void gridIsHiddenUntilASubjectIsSelectedAndLaidOutInFourColumns()
    {
        open();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("پاسخنامه"));
        QCOMPARE(m_window->pos(), QPoint(156, 51));
        QVERIFY(!m_window->property("skinNumber").toString().isEmpty());
        QVERIFY(!grid()->isVisible());
        select(QStringLiteral("1"));
        QVERIFY(grid()->isVisible());
        QCOMPARE(child<QLineEdit>(QStringLiteral("Text10"))->text(), QStringLiteral("Ali Ahmadi"));
        QCOMPARE(box(1)->size(), QSize(31, 25));
        QTest::keyClicks(box(1), QStringLiteral("34"));
        QCOMPARE(box(1)->text(), QStringLiteral("3")); // one answer a box
        QCOMPARE(box(2)->y() - box(1)->y(), 24);
        QCOMPARE(box(10)->x(), box(1)->x());
        QCOMPARE(box(1)->x() - box(11)->x(), 86);
        QCOMPARE(box(21)->x() - box(31)->x(), 86);
        QCOMPARE(box(31)->y(), box(1)->y());
        for (int item = 1; item <= 35; ++item) {
            auto* label = child<QLabel>(QStringLiteral("SkinLbl1_%1").arg(item));
            QCOMPARE(label->text(), QString::number(item));
            QCOMPARE(label->buddy(), box(item));
            QVERIFY(label->geometry().right() < box(item)->x());
            QCOMPARE(box(item)->accessibleName(), QString::number(item));
        }
    }

    void emptyOrUnknownCodeIsRefusedAndSavingNeedsACode()
    {
        open();
        click("Command3");
        QCOMPARE(m_folder->prompts.lastNotice(),
                 QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد"));
        select(QStringLiteral(" 1"));
        QCOMPARE(m_folder->prompts.lastNotice(), QStringLiteral("فردي با اين مشخصات وجود ندارد"));
        QVERIFY(!grid()->isVisible());

        select(QStringLiteral("1"));
        select(QStringLiteral("9")); // a failed selection takes the grid away from the subject shown before
        QVERIFY(!grid()->isVisible());
        QVERIFY(child<QLineEdit>(QStringLiteral("Text10"))->text().isEmpty());
        child<QLineEdit>(QStringLiteral("Text4"))->clear();
        click("Command1");
        QCOMPARE(m_folder->prompts.lastNotice(),
                 QStringLiteral("ابتدا کدآزمودني مورد نظر را وارد نموده سپس روي انتخاب آزمودني کليک كنيد"));
    }

    void subjectWithoutAnswerRowGetsOneAndEnterSelectsToo()
    {
        m_folder->addSubject(QStringLiteral("3"), QStringLiteral("Reza"), QStringLiteral("Karimi"), false);
        open();
        select(QStringLiteral("3"));
        auto answers = m_folder->view(QStringLiteral("Answer"));
        answers->filterBy(QStringLiteral("Code"), QStringLiteral("3"));
        QCOMPARE(answers->count(), 1);
        QTest::keyClicks(box(1), QStringLiteral("2"));
        click("Command1");
        QCOMPARE(stored(QStringLiteral("3"), 1), QStringLiteral("2"));
        m_window.reset();
        open();
        QTest::keyClicks(child<QLineEdit>(QStringLiteral("Text4")), QStringLiteral("2"));
        QTest::keyClick(child<QLineEdit>(QStringLiteral("Text4")), Qt::Key_Return);
        QVERIFY(grid()->isVisible());
        QCOMPARE(child<QLineEdit>(QStringLiteral("Text10"))->text(), QStringLiteral("Sara Nazari"));
    }

    void storedAnswersAreShownWithoutBeingStoredOrCounted()
    {
        m_folder->setAnswers(QStringLiteral("1"), {"5", "", "3"});
        open();
        select(QStringLiteral("1"));
        QCOMPARE(box(1)->text(), QStringLiteral("5"));
        QVERIFY(box(2)->text().isEmpty());
        QCOMPARE(box(3)->text(), QStringLiteral("3"));
        QCOMPARE(counter(), QStringLiteral("0"));
        select(QStringLiteral("2"));
        QVERIFY(box(1)->text().isEmpty());
        QVERIFY(box(3)->text().isEmpty());
        QCOMPARE(stored(QStringLiteral("1"), 1), QStringLiteral("5"));
        QVERIFY(stored(QStringLiteral("2"), 1).isEmpty());
    }

    void typedDigitIsStoredAndTheNextBoxIsReadyExceptAfterTheLast()
    {
        m_folder->setAnswers(QStringLiteral("1"), {"1", "1", "1", "1", "1", "1", "3", "2"});
        open();
        select(QStringLiteral("1"));
        box(7)->setFocus();
        box(7)->selectAll();
        QTest::keyClicks(box(7), QStringLiteral("4"));
        QCOMPARE(QApplication::focusWidget(), box(8));
        QCOMPARE(box(8)->selectedText(), QStringLiteral("2"));
        QCOMPARE(counter(), QStringLiteral("1"));
        QTest::keyClicks(box(8), QStringLiteral("0")); // 0 leaves the item unanswered
        QCOMPARE(QApplication::focusWidget(), box(9));
        box(3)->setFocus();
        box(3)->setCursorPosition(1);
        QTest::keyClick(box(3), Qt::Key_Backspace); // an emptied box clears the item, focus stays
        QCOMPARE(QApplication::focusWidget(), box(3));
        QCOMPARE(counter(), QStringLiteral("2"));
        click("Command1");
        QCOMPARE(m_folder->prompts.lastNotice(), QStringLiteral("تغييرات با موفقيت ذخيره گرديد"));
        QCOMPARE(counter(), QStringLiteral("0"));
        QCOMPARE(stored(QStringLiteral("1"), 7), QStringLiteral("4"));
        QVERIFY(stored(QStringLiteral("1"), 8).isEmpty());
        QVERIFY(stored(QStringLiteral("1"), 3).isEmpty());
        QCOMPARE(stored(QStringLiteral("1"), 2), QStringLiteral("1"));
        box(35)->setFocus();
        QTest::keyClicks(box(35), QStringLiteral("5"));
        QCOMPARE(QApplication::focusWidget(), box(35));
        QCOMPARE(counter(), QStringLiteral("0"));
    }

    void everyTwentiethEntryReachesTheFile()
    {
        open();
        select(QStringLiteral("1"));
        box(1)->setFocus();
        for (int item = 1; item <= 19; ++item)
            QTest::keyClicks(box(item), QString::number(item % 5 + 1));
        QVERIFY(stored(QStringLiteral("1"), 1).isEmpty());
        QCOMPARE(counter(), QStringLiteral("19"));
        QTest::keyClicks(box(20), QStringLiteral("4"));
        QCOMPARE(counter(), QStringLiteral("0"));
        for (int item = 1; item <= 19; ++item)
            QCOMPARE(stored(QStringLiteral("1"), item), QString::number(item % 5 + 1));
        QCOMPARE(stored(QStringLiteral("1"), 20), QStringLiteral("4"));
        QCOMPARE(QApplication::focusWidget(), box(21));
    }

    void savingMidSheetReturnsToTheBoxBeingTypedIn()
    {
        open();
        select(QStringLiteral("1"));
        QTest::keyClicks(box(7), QStringLiteral("4"));
        QTRY_COMPARE(QApplication::focusWidget(), box(8));
        click("Command1");
        QCOMPARE(m_folder->prompts.lastNotice(), QStringLiteral("تغييرات با موفقيت ذخيره گرديد"));
        QCOMPARE(QApplication::focusWidget(), box(8));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2"));
        QCOMPARE(m_window->findChild<QLineEdit*>(QStringLiteral("Txt2_8"))->text(), QStringLiteral("2"));
    }

    void keysOtherThanZeroToFiveOnlyBeep()
    {
        open();
        select(QStringLiteral("1"));
        box(4)->setFocus();
        QTest::keyClicks(box(4), QStringLiteral("6789a-"));
        QTest::keyClick(box(4), Qt::Key_Return);
        QVERIFY(box(4)->text().isEmpty());
        QCOMPARE(m_folder->prompts.beeps, 7);
        QVERIFY(m_folder->prompts.notices().isEmpty());
        QCOMPARE(QApplication::focusWidget(), box(4));
    }

    void typedAnswersAreKeptWhenAnotherSubjectIsSelected()
    {
        open();
        select(QStringLiteral("1"));
        QTest::keyClicks(box(1), QStringLiteral("3"));
        select(QStringLiteral("2"));
        QCOMPARE(stored(QStringLiteral("1"), 1), QStringLiteral("3"));
        QTest::keyClicks(box(1), QStringLiteral("1"));
        select(QStringLiteral("7")); // even a failed selection keeps them
        QCOMPARE(stored(QStringLiteral("2"), 1), QStringLiteral("1"));
    }

    void typedAnswersAreKeptWhicheverWayTheWindowCloses()
    {
        const auto closers = {"Command2", "closeBox", "Escape"};
        int item = 1;
        for (const char* closer : closers) {
            open();
            select(QStringLiteral("1"));
            QTest::keyClicks(box(item), QStringLiteral("2"));
            if (QByteArray(closer) == "Command2")
                click("Command2");
            else if (QByteArray(closer) == "closeBox")
                m_window->close();
            else
                QTest::keyClick(m_window.get(), Qt::Key_Escape);
            QVERIFY2(!m_window->isVisible(), closer);
            QCOMPARE(stored(QStringLiteral("1"), item), QStringLiteral("2"));
            ++item;
        }
    }

private:
    // The file refuses writes to the answers table, as a full disk or a read-only file would.
    void refuseAnswerWrites(const char* event)
    {
        QSqlQuery trigger(m_folder->view(QStringLiteral("Answer"))->database());
        QVERIFY(trigger.exec(QStringLiteral("CREATE TRIGGER refuse_answers BEFORE %1 ON Answer BEGIN "
                                            "SELECT RAISE(ABORT, 'disk full'); END")
                                 .arg(QLatin1String(event))));
    }
    void allowAnswerWrites()
    {
        QSqlQuery drop(m_folder->view(QStringLiteral("Answer"))->database());
        QVERIFY(drop.exec(QStringLiteral("DROP TRIGGER refuse_answers")));
    }
    QStringList errorBoxes() const
    {
        QStringList titles;
        for (const FakePrompts::Shown& shown : m_folder->prompts.shown) {
            if (shown.kind == FakePrompts::Kind::Message && shown.title == QStringLiteral("خطا"))
                titles << shown.text;
        }
        return titles;
    }

private slots:
    void answerRowThatCannotBeCreatedIsReportedAtOnceAndNothingClaimsSuccess()
    {
        m_folder->addSubject(QStringLiteral("3"), QStringLiteral("Reza"), QStringLiteral("Karimi"), false);
        refuseAnswerWrites("INSERT");
        open();
        select(QStringLiteral("3"));
        QVERIFY(!grid()->isVisible());
        QCOMPARE(errorBoxes().size(), 1);
        click("Command1");
        QVERIFY(!m_folder->prompts.notices().contains(QStringLiteral("تغييرات با موفقيت ذخيره گرديد")));
        auto answers = m_folder->view(QStringLiteral("Answer"));
        answers->filterBy(QStringLiteral("Code"), QStringLiteral("3"));
        QCOMPARE(answers->count(), 0);

        // Once the file takes writes again, the row is made under the code as typed.
        allowAnswerWrites();
        select(QStringLiteral("3"));
        QVERIFY(grid()->isVisible());
        answers->requery();
        answers->filterBy(QStringLiteral("Code"), QStringLiteral("3"));
        QCOMPARE(answers->count(), 1);
    }

    void answersTheFileRefusesStayOnScreenWithAnErrorWhateverTheUserDoes()
    {
        open();
        select(QStringLiteral("1"));
        refuseAnswerWrites("UPDATE");
        QTest::keyClicks(box(1), QStringLiteral("4"));

        click("Command1");
        QCOMPARE(errorBoxes().size(), 1);
        QVERIFY(!m_folder->prompts.notices().contains(QStringLiteral("تغييرات با موفقيت ذخيره گرديد")));

        select(QStringLiteral("2")); // another subject: refused, the sheet stays on subject 1
        QCOMPARE(errorBoxes().size(), 2);
        QCOMPARE(child<QLineEdit>(QStringLiteral("Text4"))->text(), QStringLiteral("1"));
        QCOMPARE(child<QLineEdit>(QStringLiteral("Text10"))->text(), QStringLiteral("Ali Ahmadi"));
        QCOMPARE(box(1)->text(), QStringLiteral("4"));

        m_window->close();
        QVERIFY(m_window->isVisible());
        QCOMPARE(errorBoxes().size(), 3);
        QCOMPARE(stored(QStringLiteral("1"), 1), QString());

        allowAnswerWrites();
        click("Command1");
        QCOMPARE(stored(QStringLiteral("1"), 1), QStringLiteral("4"));
        QCOMPARE(m_folder->prompts.lastNotice(), QStringLiteral("تغييرات با موفقيت ذخيره گرديد"));
        m_window->close();
        QVERIFY(!m_window->isVisible());
    }

    void persianDigitsAreAnswersAndCodes()
    {
        open();
        auto* codeBox = child<QLineEdit>(QStringLiteral("Text4"));
        typeText(codeBox, QStringLiteral("۲"));
        click("Command3");
        QVERIFY(grid()->isVisible());
        typeText(box(1), QStringLiteral("۵"));
        typeText(box(2), QStringLiteral("٣"));
        click("Command1");
        QCOMPARE(stored(QStringLiteral("2"), 1), QStringLiteral("5"));
        QCOMPARE(stored(QStringLiteral("2"), 2), QStringLiteral("3"));
    }

    void controlsCarryTheirCaptions()
    {
        open();
        QCOMPARE(child<QPushButton>(QStringLiteral("Command3"))->text(), QStringLiteral("انتخاب آزمودني"));
        QCOMPARE(child<QPushButton>(QStringLiteral("Command1"))->text(), QStringLiteral("ذخيره"));
        QCOMPARE(child<QPushButton>(QStringLiteral("Command2"))->text(), QStringLiteral("خروج"));
        QCOMPARE(
            child<QLabel>(QStringLiteral("Label1"))->text(),
            QStringLiteral("جهت گزينه بسيار زياد عدد5 ، گزينه زياد  عدد 4 ، گزينه متوسط عدد 3 ، گزينه کم عدد "
                           "2 ، و گزينه بسيار کم عدد 1 و گزينه هاي بدون پاسخ عدد 0 را وارد نماييد"));
        for (const char* name : {"Text4", "Text10"}) {
            auto* field = child<QLineEdit>(QLatin1String(name));
            auto* label = child<QLabel>(QStringLiteral("Label_") + QLatin1String(name));
            QCOMPARE(label->buddy(), field);
            QCOMPARE(field->accessibleName(), label->text());
        }
    }
};

QTEST_MAIN(Frmpas2Test)
#include "Frmpas2Test.moc"
