#include "mainwindow/RegistrationPanel.h"
#include "TestProgramFolder.h"
#include "datastore/DataView.h"
#include "mainwindow/Frm1.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

// The registration panel, driven through the main window that holds it.
class RegistrationPanelTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<Frm1> m_main;

    template <typename T> T* child(const char* name) const
    {
        auto* found = m_main->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QLineEdit* edit(const char* name) const { return child<QLineEdit>(name); }
    QComboBox* list(const char* name) const { return child<QComboBox>(name); }
    RegistrationPanel* panel() const { return child<RegistrationPanel>("Frame10"); }
    void click(const char* name) const { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }
    void type(const char* name, const QString& text) const { QTest::keyClicks(edit(name), text); }

    void openMainWindow()
    {
        m_main = std::make_unique<Frm1>(m_folder->context());
        m_main->show();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    }

    // Fills every field of an open panel; the code field keeps the proposal unless one is given.
    void fillIn(const QString& firstName, const QString& code = {})
    {
        if (!code.isNull()) {
            edit("Text11")->clear();
            type("Text11", code);
        }
        type("Text6", firstName);
        type("Text4", QStringLiteral("Karimi"));
        list("Combo2")->setCurrentIndex(1);
        type("Text5", QStringLiteral("34"));
        list("Combo1")->setCurrentIndex(1);
        type("Text7", QStringLiteral("Master"));
        list("Combo3")->setCurrentIndex(2);
    }

    QVector<DataView::Row> rows(const QString& table) { return m_folder->view(table)->rows(); }

    QStringList storedCodes(const QString& table)
    {
        QStringList codes;
        for (const DataView::Row& row : rows(table))
            codes << row.value(QStringLiteral("Code"));
        return codes;
    }

private slots:
    // The program runs right to left.
    void initTestCase() { QApplication::setLayoutDirection(Qt::RightToLeft); }

    void init() { m_folder = std::make_unique<TestProgramFolder>(); }
    void cleanup()
    {
        m_main.reset();
        m_folder.reset();
    }

    void openingProposesTheNextFreeCodeAndStampsDateAndTime()
    {
        for (const char* code : {"1", "5", "4"})
            m_folder->addSubject(QLatin1String(code));
        openMainWindow();
        click("Command1");
        QVERIFY(panel()->isVisible());
        QCOMPARE(panel()->geometry(), QRect(67, 52, 478, 193));
        QCOMPARE(edit("Text11")->text(), QStringLiteral("6"));
        QCOMPARE(edit("Text8")->text(), QStringLiteral("1402/02/13"));
        QCOMPARE(edit("Text9")->text(), QStringLiteral("14:05:09"));
        QVERIFY(!child<QPushButton>("Command1")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), edit("Text6"));
        QVERIFY(panel()->isPending());
        for (const char* field : {"Text6", "Text4", "Text5", "Text7"})
            QVERIFY(edit(field)->text().isEmpty());
    }

    void withNoSubjectTheCodeIsLeftToTheUser()
    {
        openMainWindow();
        click("Command1");
        QVERIFY(edit("Text11")->text().isEmpty());
        fillIn(QStringLiteral("Sara"));
        click("Command8");
        QCOMPARE(m_folder->prompts.lastNotice(), QStringLiteral("کد آزمودني را وارد کنيد"));
        QCOMPARE(QApplication::focusWidget(), edit("Text11"));
        QVERIFY(rows(QStringLiteral("IDE")).isEmpty());
    }

    void savingChecksTheFieldsInOrderWithTheirNoticeAndFocus()
    {
        m_folder->addSubject(QStringLiteral("1"));
        openMainWindow();
        click("Command1");
        struct Step
        {
            QString notice;
            QWidget* focus;
            std::function<void()> fill;
        };
        const Step steps[] = {
            {QStringLiteral("نام آزمودني را وارد کنيد"), edit("Text6"),
             [this] { type("Text6", QStringLiteral("Sara")); }},
            {QStringLiteral("نام خانوادگي آزمودني را وارد کنيد"), edit("Text4"),
             [this] { type("Text4", QStringLiteral(" ")); }}, // a blank counts as filled in
            {QStringLiteral("جنسيت آزمودني را مشخص کنيد"), list("Combo2"),
             [this] { list("Combo2")->setCurrentIndex(1); }},
            {QStringLiteral("سن آزمودني را وارد کنيد"), edit("Text5"),
             [this] { type("Text5", QStringLiteral("7")); }},
            {QStringLiteral("وضعيت تاهل آزمودني را مشخص کنيد"), list("Combo1"),
             [this] { list("Combo1")->setCurrentIndex(0); }},
            {QStringLiteral("گروه را مشخص کنيد"), list("Combo3"),
             [this] { list("Combo3")->setCurrentIndex(6); }},
            {QStringLiteral("ميزان تحصيلات آزمودني را وارد کنيد"), edit("Text7"),
             [this] { type("Text7", QStringLiteral("Diploma")); }},
        };
        for (const Step& step : steps) {
            click("Command8");
            QCOMPARE(m_folder->prompts.lastNotice(), step.notice);
            QCOMPARE(QApplication::focusWidget(), step.focus);
            QVERIFY(panel()->isVisible());
            QCOMPARE(rows(QStringLiteral("IDE")).size(), 1);
            step.fill();
        }
        click("Command8");
        QVERIFY(!panel()->isVisible());
        const auto stored = rows(QStringLiteral("IDE"));
        QCOMPARE(stored.size(), 2);
        const DataView::Row& row = stored.at(1);
        QCOMPARE(row.value(QStringLiteral("Code")), QStringLiteral("2"));
        QCOMPARE(row.value(QStringLiteral("FName")), QStringLiteral("Sara"));
        QCOMPARE(row.value(QStringLiteral("LName")), QStringLiteral(" "));
        QCOMPARE(row.value(QStringLiteral("Jens")), QStringLiteral("زن"));
        QCOMPARE(row.value(QStringLiteral("Sen")), QStringLiteral("7"));
        QCOMPARE(row.value(QStringLiteral("Taahol")), QStringLiteral("مجرد"));
        QCOMPARE(row.value(QStringLiteral("Group")), QStringLiteral("G"));
        QCOMPARE(row.value(QStringLiteral("Tahsil")), QStringLiteral("Diploma"));
        QCOMPARE(row.value(QStringLiteral("Date")), QStringLiteral("1402/02/13"));
        QCOMPARE(row.value(QStringLiteral("Time")), QStringLiteral("14:05:09"));
        for (const char* score : {"S", "L", "F1", "P", "F2"})
            QVERIFY(row.value(QLatin1String(score)).isEmpty());
    }

    void savingStoresTheAnswerRowClosesThePanelAndSetsTheQuietFlag()
    {
        m_folder->addSubject(QStringLiteral("1"));
        openMainWindow();
        click("Command1");
        fillIn(QStringLiteral("Sara"));
        click("Command8");
        QVERIFY(m_folder->prompts.notices().isEmpty()); // no success message
        QVERIFY(!panel()->isVisible());
        QVERIFY(!panel()->isPending());
        QVERIFY(child<QPushButton>("Command1")->isEnabled());
        QCOMPARE(m_main->quietCloseFlag(), QStringLiteral("1"));
        QCOMPARE(storedCodes(QStringLiteral("IDE")), QStringList({"1", "2"}));
        QCOMPARE(storedCodes(QStringLiteral("Answer")), QStringList({"1", "2"}));
        const DataView::Row answer = rows(QStringLiteral("Answer")).at(1);
        for (int item = 1; item <= 35; ++item)
            QVERIFY(answer.value(QString::number(item)).isEmpty());
    }

    void takenCodeIsRefusedAndThePendingSubjectCanBeCorrected()
    {
        m_folder->addSubject(QStringLiteral("1"));
        m_folder->addSubject(QStringLiteral("2"));
        openMainWindow();
        click("Command1");
        fillIn(QStringLiteral("Sara"), QStringLiteral("1"));
        click("Command8");
        QCOMPARE(m_folder->prompts.lastNotice(), QStringLiteral("فردديگري با اين کد ثبت شده"));
        QVERIFY(panel()->isPending());
        QCOMPARE(rows(QStringLiteral("IDE")).size(), 2);
        QCOMPARE(rows(QStringLiteral("Answer")).size(), 2);

        edit("Text11")->clear();
        type("Text11", QStringLiteral("9"));
        click("Command8");
        QVERIFY(!panel()->isVisible());
        QCOMPARE(storedCodes(QStringLiteral("IDE")), QStringList({"1", "2", "9"}));
    }

    void codeWithBlankBeforeItIsAnotherCodeAndItsAnswerRowIsTrimmed()
    {
        m_folder->addSubject(QStringLiteral("7"));
        openMainWindow();
        click("Command1");
        fillIn(QStringLiteral("Sara"), QStringLiteral(" 7"));
        click("Command8");
        QVERIFY(!panel()->isVisible());
        QCOMPARE(storedCodes(QStringLiteral("IDE")), QStringList({"7", " 7"}));
        QCOMPARE(storedCodes(QStringLiteral("Answer")), QStringList({"7", "7"}));
    }

    void listsOfferTheirItemsAndKeepTheChoiceForTheNextSubject()
    {
        openMainWindow();
        auto items = [this](const char* name) {
            QStringList texts;
            for (int i = 0; i < list(name)->count(); ++i)
                texts << list(name)->itemText(i);
            return texts;
        };
        QCOMPARE(items("Combo2"), QStringList({QStringLiteral("مرد"), QStringLiteral("زن")}));
        QCOMPARE(items("Combo1"), QStringList({QStringLiteral("مجرد"), QStringLiteral("متأهل"),
                                               QStringLiteral("مطلقه"), QStringLiteral("بيوه")}));
        QCOMPARE(items("Combo3"), QStringList({"A", "B", "C", "D", "E", "F", "G"}));
        for (const char* name : {"Combo1", "Combo2", "Combo3"}) {
            QCOMPARE(list(name)->currentIndex(), -1);
            QVERIFY(!list(name)->isEditable());
        }
        QCOMPARE(list("Combo1")->toolTip(), QStringLiteral("وضعيت تأهل خود را مشخص کنيد"));
        QCOMPARE(list("Combo2")->toolTip(), QStringLiteral("جنسيت را انتخاب كنيد"));

        click("Command1");
        fillIn(QStringLiteral("Sara"), QStringLiteral("1"));
        click("Command8");
        click("Command1");
        QCOMPARE(edit("Text11")->text(), QStringLiteral("2"));
        QCOMPARE(list("Combo2")->currentText(), QStringLiteral("زن"));
        type("Text6", QStringLiteral("Reza"));
        type("Text4", QStringLiteral("Karimi"));
        type("Text5", QStringLiteral("40"));
        type("Text7", QStringLiteral("PhD"));
        click("Command8"); // the kept choices count as chosen
        QVERIFY(!panel()->isVisible());
        const DataView::Row second = rows(QStringLiteral("IDE")).at(1);
        QCOMPARE(second.value(QStringLiteral("Jens")), QStringLiteral("زن"));
        QCOMPARE(second.value(QStringLiteral("Taahol")), QStringLiteral("متأهل"));
        QCOMPARE(second.value(QStringLiteral("Group")), QStringLiteral("C"));
    }

    void cancellingDropsThePendingSubject()
    {
        m_folder->addSubject(QStringLiteral("1"));
        openMainWindow();
        click("Command1");
        fillIn(QStringLiteral("Sara"));
        click("Command10");
        QVERIFY(!panel()->isVisible());
        QVERIFY(!panel()->isPending());
        QVERIFY(child<QPushButton>("Command1")->isEnabled());
        QCOMPARE(rows(QStringLiteral("IDE")).size(), 1);
        QCOMPARE(m_main->quietCloseFlag(), QStringLiteral("2"));
        click("Command1");
        QVERIFY(edit("Text6")->text().isEmpty());
    }

    void ageTakesAtMostTwoDigitsAndRefusesOtherKeysWithTheNotice()
    {
        openMainWindow();
        click("Command1");
        type("Text5", QStringLiteral("4a-7"));
        QCOMPARE(edit("Text5")->text(), QStringLiteral("47"));
        QCOMPARE(m_folder->prompts.beeps, 2);
        QCOMPARE(m_folder->prompts.notices(), QStringList({QStringLiteral("شما بايد عدد وارد كنيد"),
                                                           QStringLiteral("شما بايد عدد وارد كنيد")}));
        type("Text5", QStringLiteral("9"));
        QCOMPARE(edit("Text5")->text(), QStringLiteral("47"));
        QTest::keyClick(edit("Text5"), Qt::Key_Backspace);
        QCOMPARE(edit("Text5")->text(), QStringLiteral("4"));
    }

    void failedStoreLeavesNeitherRowAndKeepsThePanelForAnotherTry()
    {
        m_folder->addSubject(QStringLiteral("1"));
        QSqlQuery trigger(m_folder->view(QStringLiteral("IDE"))->database());
        QVERIFY(trigger.exec(QStringLiteral("CREATE TRIGGER refuse_subject BEFORE INSERT ON IDE BEGIN SELECT "
                                            "RAISE(ABORT, 'disk full'); END")));
        openMainWindow();
        click("Command1");
        fillIn(QStringLiteral("Sara"));
        click("Command8");
        QCOMPARE(storedCodes(QStringLiteral("IDE")), QStringList({"1"}));
        QCOMPARE(storedCodes(QStringLiteral("Answer")), QStringList({"1"}));
        QVERIFY(panel()->isPending());
        QCOMPARE(edit("Text6")->text(), QStringLiteral("Sara"));
        QCOMPARE(edit("Text11")->text(), QStringLiteral("2"));
        QCOMPARE(m_folder->prompts.shown.last().kind, FakePrompts::Kind::Message);
        QCOMPARE(m_folder->prompts.shown.last().title, QStringLiteral("خطا"));
        QCOMPARE(m_main->quietCloseFlag(), QStringLiteral("2"));

        QVERIFY(trigger.exec(QStringLiteral("DROP TRIGGER refuse_subject")));
        click("Command8");
        QVERIFY(!panel()->isVisible());
        QCOMPARE(storedCodes(QStringLiteral("IDE")), QStringList({"1", "2"}));
        QCOMPARE(storedCodes(QStringLiteral("Answer")), QStringList({"1", "2"}));
        QCOMPARE(rows(QStringLiteral("IDE")).at(1).value(QStringLiteral("FName")), QStringLiteral("Sara"));
    }

    void subjectLeftPendingWhileNoSubjectExistsIsNeverSavedLater()
    {
        openMainWindow();
        click("Command1");
        fillIn(QStringLiteral("Forgotten"), QStringLiteral("5"));
        click("Command5"); // another command closes the panels
        QVERIFY(!panel()->isVisible());
        QVERIFY(!panel()->isPending());
        QVERIFY(rows(QStringLiteral("IDE")).isEmpty());

        click("Command1");
        QVERIFY(edit("Text6")->text().isEmpty());
        fillIn(QStringLiteral("Sara"), QStringLiteral("1"));
        click("Command8");
        const auto stored = rows(QStringLiteral("IDE"));
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored.at(0).value(QStringLiteral("FName")), QStringLiteral("Sara"));
        QCOMPARE(storedCodes(QStringLiteral("Answer")), QStringList({"1"}));
    }

    void openPanelSurvivesTheMainWindowBecomingActiveAndSavesANewSubject()
    {
        m_folder->addSubject(QStringLiteral("1"), QStringLiteral("Ali"), QStringLiteral("Ahmadi"));
        openMainWindow();
        click("Command1");
        type("Text6", QStringLiteral("Sara"));
        click("Cmdpasokh"); // a modal window that leaves the panels open; the views are read again
        QCOMPARE(m_folder->navigator.calls.last(), QStringLiteral("openAnswerSheet"));
        m_main->becameActive();
        QVERIFY(panel()->isVisible());
        QVERIFY(panel()->isPending());
        QCOMPARE(edit("Text6")->text(), QStringLiteral("Sara"));
        QCOMPARE(edit("Text11")->text(), QStringLiteral("2"));
        QVERIFY(!child<QPushButton>("Command1")->isEnabled());

        fillIn(QString());
        click("Command8");
        const auto stored = rows(QStringLiteral("IDE"));
        QCOMPARE(stored.size(), 2);
        QCOMPARE(stored.at(0).value(QStringLiteral("FName")), QStringLiteral("Ali"));
        QCOMPARE(stored.at(0).value(QStringLiteral("Sen")), QStringLiteral("30"));
        QCOMPARE(stored.at(1).value(QStringLiteral("FName")), QStringLiteral("Sara"));
    }

    void everyFieldCarriesItsCaptionAsAccessibleName()
    {
        openMainWindow();
        const QPair<const char*, QString> captions[] = {
            {"Text11", QStringLiteral(":کد آزمودني")},   {"Text6", QStringLiteral(" :نام")},
            {"Text4", QStringLiteral(" :نام خانوادگي")}, {"Combo2", QStringLiteral(" :جنس")},
            {"Text5", QStringLiteral(" :سن")},           {"Combo1", QStringLiteral(" :تاهل")},
            {"Text7", QStringLiteral(" :تحصيلات")},      {"Text8", QStringLiteral(" :تاريخ")},
            {"Text9", QStringLiteral(" :ساعت")},         {"Combo3", QStringLiteral(" :گروه")},
        };
        for (const auto& [name, caption] : captions) {
            auto* field = child<QWidget>(name);
            QCOMPARE(field->accessibleName(), caption);
            auto* label = child<QLabel>(qPrintable(QStringLiteral("Label_") + QLatin1String(name)));
            QCOMPARE(label->text(), caption);
            QCOMPARE(label->buddy(), field);
        }
        QCOMPARE(child<QPushButton>("Command8")->text(), QStringLiteral("ذخيره"));
        QCOMPARE(child<QPushButton>("Command10")->text(), QStringLiteral("انصراف"));
    }
};

QTEST_MAIN(RegistrationPanelTest)
#include "RegistrationPanelTest.moc"
