#include "testing/FrmTest.h"
#include "TestProgramFolder.h"
#include "TypeText.h"
#include "datastore/AdministrationStore.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

class FrmTestTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<FrmTest> m_window;

    template <typename T> T* child(const QString& name) const
    {
        auto* found = m_window->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QLineEdit* itemNumber() const { return child<QLineEdit>(QStringLiteral("Text6")); }
    QRadioButton* option(int n) const { return child<QRadioButton>(QStringLiteral("Option%1").arg(n)); }
    QString itemText() const { return child<QLabel>(QStringLiteral("SkinLbl5"))->text(); }
    QString frameCaption() const { return child<QGroupBox>(QStringLiteral("Frame2"))->title(); }
    void click(const char* name) const
    {
        QTest::mouseClick(child<QPushButton>(QLatin1String(name)), Qt::LeftButton);
    }
    // A click on the option's round indicator, which stands where the button's reading starts.
    void choose(int n) const
    {
        QRadioButton* button = option(n);
        const int x = button->isRightToLeft() ? button->width() - 8 : 8;
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(x, button->height() / 2));
    }
    int checkedOption() const
    {
        for (int n = 1; n <= 5; ++n) {
            if (option(n)->isChecked())
                return n;
        }
        return 0;
    }
    void setItemNumber(const QString& text) const
    {
        itemNumber()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(itemNumber(), Qt::Key_Backspace);
        else
            QTest::keyClicks(itemNumber(), text);
    }

    QString questionText(int item)
    {
        auto questions = m_folder->view(QStringLiteral("QU"));
        questions->filterBy(QStringLiteral("ID"), QString::number(item));
        return questions->field(QStringLiteral("QUs"));
    }
    QString storedAnswer(const QString& code, int item)
    {
        auto answers = m_folder->view(QStringLiteral("Answer"));
        answers->filterBy(QStringLiteral("Code"), code);
        return answers->field(QString::number(item));
    }

    // The window as the main window's run-test command shows it, running from item 1.
    void openAndStart(const QString& code)
    {
        m_window = std::make_unique<FrmTest>(m_folder->context());
        m_window->prepareForCode(code);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        click("Command1");
    }

private slots:
    // The program runs right to left.
    void initTestCase() { QApplication::setLayoutDirection(Qt::RightToLeft); }

    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_folder->addSubject(QStringLiteral("1"), QStringLiteral("Ali"), QStringLiteral("Ahmadi"));
    }
    void cleanup()
    {
        m_window.reset();
        m_folder.reset();
    }

    void opensInTheIntroStateAtItsPlaceWithTheSkinAndCaptions()
    {
        m_window = std::make_unique<FrmTest>(m_folder->context());
        m_window->prepareForCode(QStringLiteral("1"));
        m_window->show();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("صفحه اجراي تست"));
        QCOMPARE(m_window->pos(), QPoint(156, 51));
        QVERIFY(!m_window->property("skinNumber").toString().isEmpty());
        QCOMPARE(child<QLabel>(QStringLiteral("SkinLabel3"))->text(),
                 QStringLiteral("نرم افزار آزمون ولمورا"));
        QCOMPARE(child<QLabel>(QStringLiteral("SkinLabel6"))->text(),
                 QStringLiteral(" بسيار زياد  --- زياد  ---  متوسط ---   کم ---  بسيار کم "));
        for (const char* shown : {"SkinLabel3", "SkinLabel4", "SkinLabel6", "Command1"})
            QVERIFY2(child<QWidget>(QLatin1String(shown))->isVisible(), shown);
        for (const char* hidden : {"Frame1", "Frame2", "SkinLbl5", "Text6", "CmdNext", "CmdBack", "Command5"})
            QVERIFY2(!child<QWidget>(QLatin1String(hidden))->isVisible(), hidden);
        QCOMPARE(child<QLabel>(QStringLiteral("SkinLbl5"))->geometry(), QRect(32, 205, 569, 97));
        const char* captions[] = {"بسيار زياد", "زياد", "متوسط", "کم", "بسيار کم"};
        for (int n = 1; n <= 5; ++n)
            QCOMPARE(option(n)->text(), QString::fromUtf8(captions[n - 1]));
        QCOMPARE(child<QPushButton>(QStringLiteral("Command1"))->text(), QStringLiteral("شروع"));
        QCOMPARE(child<QPushButton>(QStringLiteral("CmdNext"))->text(), QStringLiteral("بعدي"));
        QVERIFY(child<QPushButton>(QStringLiteral("CmdNext"))->isDefault());
        QCOMPARE(child<QPushButton>(QStringLiteral("CmdBack"))->text(), QStringLiteral("قبلي"));
        QCOMPARE(child<QPushButton>(QStringLiteral("Command5"))->text(), QStringLiteral("ذخيره و خروج"));
        for (QLineEdit* field : m_window->findChildren<QLineEdit*>()) {
            if (field->objectName() == QLatin1String("Text14"))
                continue;
            QVERIFY2(!field->accessibleName().isEmpty(), qPrintable(field->objectName()));
            auto* label = child<QLabel>(QStringLiteral("Label_") + field->objectName());
            QCOMPARE(label->buddy(), field);
            QCOMPARE(label->text(), field->accessibleName());
        }
        QCOMPARE(child<QLabel>(QStringLiteral("Label_Text7"))->text(), QStringLiteral(" :وضعيت تاهل"));
    }

    void startShowsTheSubjectAndLoadsItemOneEvenWhenTheBoxShowedOne()
    {
        m_window = std::make_unique<FrmTest>(m_folder->context());
        m_window->prepareForCode(QStringLiteral("1"));
        m_window->show();
        itemNumber()->setText(QStringLiteral("1")); // the box already shows 1
        child<QLabel>(QStringLiteral("SkinLbl5"))->clear();
        click("Command1");
        for (const char* shown : {"Frame1", "Frame2", "SkinLbl5", "Text6", "CmdNext", "CmdBack", "Command5"})
            QVERIFY2(child<QWidget>(QLatin1String(shown))->isVisible(), shown);
        for (const char* hidden : {"SkinLabel3", "SkinLabel4", "SkinLabel6", "Command1"})
            QVERIFY2(!child<QWidget>(QLatin1String(hidden))->isVisible(), hidden);
        QCOMPARE(child<QPushButton>(QStringLiteral("Command5"))->geometry(),
                 child<QPushButton>(QStringLiteral("Command1"))->geometry());
        QCOMPARE(itemText(), questionText(1));
        QVERIFY(!itemText().isEmpty());
        QCOMPARE(frameCaption(), QStringLiteral("1"));
        QCOMPARE(child<QLineEdit>(QStringLiteral("Text2"))->text(), QStringLiteral("Ali"));
        QVERIFY(child<QLineEdit>(QStringLiteral("Text1"))->isReadOnly());
        QVERIFY(child<QLineEdit>(QStringLiteral("Text4"))->isReadOnly());
    }

    void eachOptionStoresItsCodeAtOnceAndReachesTheFileAtNext()
    {
        openAndStart(QStringLiteral("1"));
        for (int n = 1; n <= 5; ++n) {
            choose(n);
            QVERIFY(option(n)->isChecked());
            QVERIFY(storedAnswer(QStringLiteral("1"), n).isEmpty()); // not committed yet
            click("CmdNext");
            QCOMPARE(storedAnswer(QStringLiteral("1"), n), QString::number(6 - n));
            QCOMPARE(itemNumber()->text(), QString::number(n + 1));
            QCOMPARE(checkedOption(), 0); // an unanswered item shows no option
        }
        setItemNumber(QStringLiteral("2"));
        QCOMPARE(checkedOption(), 2);
        QCOMPARE(itemText(), questionText(2));
        choose(4); // an answer can be changed
        click("CmdBack");
        QCOMPARE(storedAnswer(QStringLiteral("1"), 2), QStringLiteral("2"));
        QCOMPARE(checkedOption(), 1);
    }

    void backOnItemOneCommitsAndLeavesItemOneToAnswerThenStartsOver()
    {
        openAndStart(QStringLiteral("1"));
        choose(3);
        click("CmdBack");
        QCOMPARE(storedAnswer(QStringLiteral("1"), 1), QStringLiteral("3"));
        QCOMPARE(itemNumber()->text(), QStringLiteral("0"));
        QCOMPARE(itemText(), questionText(1));
        QCOMPARE(frameCaption(), QStringLiteral("1"));
        QVERIFY(m_folder->prompts.notices().isEmpty());
        choose(5); // still answers item 1
        click("CmdBack");
        QCOMPARE(m_folder->prompts.notices(), QStringList({QStringLiteral("شروع")}));
        QCOMPARE(itemNumber()->text(), QStringLiteral("1"));
        QCOMPARE(storedAnswer(QStringLiteral("1"), 1), QStringLiteral("1"));
        QCOMPARE(checkedOption(), 5);
    }

    void itemNumbersOutOfRangeEndOnItemOneOr35AndZeroChangesNothing()
    {
        openAndStart(QStringLiteral("1"));
        setItemNumber(QStringLiteral("35"));
        QCOMPARE(itemText(), questionText(35));
        choose(2);
        click("CmdNext");
        QCOMPARE(m_folder->prompts.notices(), QStringList({QStringLiteral("پايان")}));
        QCOMPARE(itemNumber()->text(), QStringLiteral("35"));
        QCOMPARE(frameCaption(), QStringLiteral("35"));
        QCOMPARE(storedAnswer(QStringLiteral("1"), 35), QStringLiteral("4"));

        setItemNumber(QStringLiteral("7"));
        choose(1);
        setItemNumber(QStringLiteral("40")); // "4" loads item 4, then "40" ends on item 35
        QCOMPARE(storedAnswer(QStringLiteral("1"), 7), QStringLiteral("5"));
        QCOMPARE(m_folder->prompts.notices().size(), 2);
        QCOMPARE(itemNumber()->text(), QStringLiteral("35"));
        QCOMPARE(itemText(), questionText(35));

        setItemNumber(QStringLiteral("12"));
        setItemNumber(QStringLiteral("0"));
        QCOMPARE(itemText(), questionText(12));
        QCOMPARE(frameCaption(), QStringLiteral("12"));
        setItemNumber(QString());
        QCOMPARE(itemNumber()->text(), QStringLiteral("1"));
        QCOMPARE(itemText(), questionText(1));
    }

    void itemNumberAndAgeTakeDigitsOnly()
    {
        openAndStart(QStringLiteral("1"));
        setItemNumber(QStringLiteral("x3"));
        QCOMPARE(itemNumber()->text(), QStringLiteral("3"));
        QCOMPARE(m_folder->prompts.beeps, 1);
        QCOMPARE(m_folder->prompts.lastNotice(), QStringLiteral("شما بايد عدد وارد كنيد"));
        auto* age = child<QLineEdit>(QStringLiteral("Text5"));
        age->clear();
        QTest::keyClicks(age, QStringLiteral("1a234"));
        QCOMPARE(age->text(), QStringLiteral("123"));
        QCOMPARE(m_folder->prompts.beeps, 2);

        itemNumber()->selectAll();
        typeText(itemNumber(), QStringLiteral("۱۲"));
        QCOMPARE(itemNumber()->text(), QStringLiteral("12"));
        QCOMPARE(frameCaption(), QStringLiteral("12"));
        QApplication::clipboard()->setText(QStringLiteral("7b"));
        QTest::keyClick(itemNumber(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(itemNumber()->text(), QStringLiteral("12"));
        QCOMPARE(m_folder->prompts.beeps, 3);
    }

    void aChosenAnswerTheFileRefusesIsReportedAndStaysOnScreen()
    {
        m_folder->addSubject(QStringLiteral("5"), QStringLiteral("Reza"), QStringLiteral("Karimi"), false);
        QSqlQuery trigger(m_folder->view(QStringLiteral("Answer"))->database());
        QVERIFY(trigger.exec(QStringLiteral(
            "CREATE TRIGGER refuse_answers BEFORE INSERT ON Answer BEGIN SELECT RAISE(ABORT, 'full'); END")));
        m_window = std::make_unique<FrmTest>(m_folder->context());
        QVERIFY(!m_window->prepareForCode(QStringLiteral("5"))); // no row for the answers: no test
        QCOMPARE(m_folder->prompts.texts(FakePrompts::Kind::Message).size(), 1);
        QVERIFY(trigger.exec(QStringLiteral("DROP TRIGGER refuse_answers")));

        openAndStart(QStringLiteral("1"));
        QVERIFY(trigger.exec(QStringLiteral(
            "CREATE TRIGGER refuse_answers BEFORE UPDATE ON Answer BEGIN SELECT RAISE(ABORT, 'full'); END")));
        choose(2);
        click("CmdNext");
        QCOMPARE(m_folder->prompts.texts(FakePrompts::Kind::Message).size(), 2);
        QCOMPARE(itemNumber()->text(), QStringLiteral("1"));
        QCOMPARE(checkedOption(), 2);
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_folder->prompts.texts(FakePrompts::Kind::Message).size(), 3);

        QVERIFY(trigger.exec(QStringLiteral("DROP TRIGGER refuse_answers")));
        click("Command5");
        QVERIFY(!m_window->isVisible());
        QCOMPARE(storedAnswer(QStringLiteral("1"), 1), QStringLiteral("4"));
    }

    void saveAndExitStoresTheAnswerAndTheSubjectPanelEdits()
    {
        openAndStart(QStringLiteral("1"));
        choose(1);
        auto* firstName = child<QLineEdit>(QStringLiteral("Text2"));
        firstName->clear();
        QTest::keyClicks(firstName, QStringLiteral("Hassan"));
        click("Command5");
        QVERIFY(!m_window->isVisible());
        QCOMPARE(storedAnswer(QStringLiteral("1"), 1), QStringLiteral("5"));
        QCOMPARE(m_folder->view(QStringLiteral("IDE"))->field(QStringLiteral("FName")),
                 QStringLiteral("Hassan"));
    }

    void closingByTheTitleBarOrEscKeepsTheChosenAnswerAndResetLeavesTheIntro()
    {
        openAndStart(QStringLiteral("1"));
        choose(2);
        m_window->close();
        QVERIFY(!m_window->isVisible());
        QCOMPARE(storedAnswer(QStringLiteral("1"), 1), QStringLiteral("4"));

        m_window->resetToIntro();
        m_window->prepareForCode(QStringLiteral("1"));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        click("Command1");
        QCOMPARE(checkedOption(), 2); // kept over two openings
        click("CmdNext");
        choose(3);
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QVERIFY(!m_window->isVisible());
        QCOMPARE(storedAnswer(QStringLiteral("1"), 2), QStringLiteral("3"));
        QCOMPARE(storedAnswer(QStringLiteral("1"), 1), QStringLiteral("4"));

        m_window->resetToIntro();
        QCOMPARE(itemNumber()->text(), QStringLiteral("0"));
        QVERIFY(!child<QWidget>(QStringLiteral("Frame1"))->isVisibleTo(m_window.get()));
        QVERIFY(child<QWidget>(QStringLiteral("Command1"))->isVisibleTo(m_window.get()));
    }

    void subjectWithoutAnswerRowGetsOneHoldingOnlyTheCode()
    {
        m_folder->addSubject(QStringLiteral("2"), QStringLiteral("Sara"), QStringLiteral("Nazari"), false);
        m_window = std::make_unique<FrmTest>(m_folder->context());
        m_window->prepareForCode(QStringLiteral("2"));
        auto answers = m_folder->view(QStringLiteral("Answer"));
        answers->filterBy(QStringLiteral("Code"), QStringLiteral("2"));
        QCOMPARE(answers->count(), 1);
        for (int item = 1; item <= 35; ++item)
            QVERIFY(answers->field(QString::number(item)).isEmpty());
        m_window->prepareForCode(QStringLiteral("2"));
        QCOMPARE(answers->count(), 1); // a subject with a row keeps it
    }

    void missingItemTextShowsAnEmptyAreaAndTheItemCanStillBeAnswered()
    {
        auto questions = m_folder->view(QStringLiteral("QU"));
        questions->filterBy(QStringLiteral("ID"), QStringLiteral("4"));
        QVERIFY(questions->removeCurrent());
        openAndStart(QStringLiteral("1"));
        setItemNumber(QStringLiteral("4"));
        QVERIFY(itemText().isEmpty());
        choose(1);
        click("CmdNext");
        QCOMPARE(storedAnswer(QStringLiteral("1"), 4), QStringLiteral("5"));
    }

    // The time each item is on screen, summed over its visits, and each change of an answer are
    // kept for the administration when the test is left; the window shows none of it.
    void itemTimesAndAnswerChangesAreKept()
    {
        openAndStart(QStringLiteral("1"));
        QDateTime& now = m_folder->clock.at;
        now = now.addSecs(4);
        choose(1);
        click("CmdNext");
        now = now.addSecs(1);
        choose(2);
        choose(3);
        now = now.addSecs(2);
        click("CmdBack");
        now = now.addMSecs(3500);
        click("Command5");
        const QSqlDatabase db = Database::connection(m_folder->path(), Database::File::Clinical);
        const auto details = AdministrationDetails::read(
            db, QStringLiteral("1"), *AdministrationStore::latestSequence(db, QStringLiteral("1")));
        QVERIFY(details && details->timed);
        QCOMPARE(details->milliseconds[0], qint64(7500));
        QCOMPARE(details->milliseconds[1], qint64(3000));
        QCOMPARE(details->milliseconds[2], qint64(0));
        QCOMPARE(details->changes[0], 0);
        QCOMPARE(details->changes[1], 1);
    }
};

QTEST_MAIN(FrmTestTest)
#include "FrmTestTest.moc"
