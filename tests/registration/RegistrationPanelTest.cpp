#include "mainwindow/RegistrationPanel.h"
#include "AuditRows.h"
#include "TestProgramFolder.h"
#include "TestServer.h"
#include "TypeText.h"
#include "common/CommonTexts.h"
#include "datastore/ClinicServer.h"
#include "datastore/DataView.h"
#include "mainwindow/Frm1.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QThread>
#include <QtTest>

#include <memory>

// The registration panel, driven through the main window that holds it.
class RegistrationPanelTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<Frm1> m_main;

    template <typename T = QWidget> T* child(const QString& name) const
    {
        auto* found = m_main->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QLineEdit* edit(const char* name) const { return child<QLineEdit>(QLatin1String(name)); }
    QComboBox* list(const char* name) const { return child<QComboBox>(QLatin1String(name)); }
    RegistrationPanel* panel() const { return child<RegistrationPanel>(QStringLiteral("Frame10")); }
    QPushButton* button(const char* name) const { return child<QPushButton>(QLatin1String(name)); }
    void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    void type(const char* name, const QString& text) const { QTest::keyClicks(edit(name), text); }
    QString notice() const { return m_folder->prompts.lastNotice(); }

    void openMainWindow()
    {
        m_main = std::make_unique<Frm1>(m_folder->context());
        m_main->show();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    }

    // Fills in every field of the open panel but the code, which keeps the proposal unless given.
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
    QStringList codes(const QString& table)
    {
        QStringList result;
        for (const DataView::Row& row : rows(table))
            result << row.value(QStringLiteral("Code"));
        return result;
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
        QVERIFY(panel()->isPending());
        QCOMPARE(panel()->geometry(), QRect(67, 52, 478, 193));
        QCOMPARE(edit("Text11")->text(), QStringLiteral("6"));
        QCOMPARE(edit("Text8")->text(), QStringLiteral("1402/02/13"));
        QCOMPARE(edit("Text9")->text(), QStringLiteral("14:05:09"));
        QVERIFY(edit("Text6")->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), edit("Text6"));
        QVERIFY(!button("Command1")->isEnabled());

        const char* names[] = {"Text11", "Text6", "Text4", "Combo2", "Text5",
                               "Combo1", "Text7", "Text8", "Text9",  "Combo3"};
        const char* captions[] = {":کد آزمودني", " :نام",     " :نام خانوادگي", " :جنس",  " :سن",
                                  " :تاهل",      " :تحصيلات", " :تاريخ",        " :ساعت", " :گروه"};
        for (int i = 0; i < 10; ++i) {
            auto* label = child<QLabel>(QStringLiteral("Label_") + QLatin1String(names[i]));
            QCOMPARE(label->text(), QString::fromUtf8(captions[i]));
            QCOMPARE(label->buddy(), child(QLatin1String(names[i])));
            QCOMPARE(child(QLatin1String(names[i]))->accessibleName(), QString::fromUtf8(captions[i]));
        }
        QCOMPARE(button("Command8")->text(), QStringLiteral("ذخيره"));
        QCOMPARE(button("Command10")->text(), QStringLiteral("انصراف"));
    }

    void savingChecksTheFieldsInOrderThenStoresBothRows()
    {
        m_folder->addSubject(QStringLiteral("1"));
        openMainWindow();
        click("Command1");
        edit("Text11")->clear();
        const QList<std::tuple<QString, QWidget*, std::function<void()>>> steps = {
            {QStringLiteral("کد آزمودني را وارد کنيد"), edit("Text11"),
             [this] { type("Text11", QStringLiteral("2")); }},
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
        for (const auto& [text, focus, fill] : steps) {
            click("Command8");
            QCOMPARE(notice(), text);
            QCOMPARE(QApplication::focusWidget(), focus);
            QVERIFY(panel()->isPending());
            QCOMPARE(rows(QStringLiteral("IDE")).size(), 1);
            fill();
        }
        const int noticesBefore = m_folder->prompts.notices().size();
        click("Command8");
        QCOMPARE(m_folder->prompts.notices().size(), noticesBefore); // no success message
        QVERIFY(!panel()->isVisible());
        QVERIFY(button("Command1")->isEnabled());
        QCOMPARE(m_main->quietCloseFlag(), QStringLiteral("1"));

        const DataView::Row row = rows(QStringLiteral("IDE")).at(1);
        const QStringList expected = {"2",    "Sara", " ",       "زن",         "7",
                                      "مجرد", "G",    "Diploma", "1402/02/13", "14:05:09"};
        const char* columns[] = {"Code",   "FName", "LName",  "Jens", "Sen",
                                 "Taahol", "Group", "Tahsil", "Date", "Time"};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(row.value(QLatin1String(columns[i])), expected.at(i));
        for (const char* score : {"S", "L", "F1", "P", "F2"})
            QVERIFY(row.value(QLatin1String(score)).isEmpty());
        QCOMPARE(codes(QStringLiteral("Answer")), QStringList({"1", "2"}));
        for (int item = 1; item <= 35; ++item)
            QVERIFY(rows(QStringLiteral("Answer")).at(1).value(QString::number(item)).isEmpty());
        // Without sign-in no audit trail is kept: the file holds what it held before.
        QCOMPARE(auditRows(m_folder->path()), QStringList());
    }

    void codesDifferingOnlyByBlanksOrKeyboardLayoutAreOneSubject()
    {
        m_folder->addSubject(QStringLiteral("7"));
        openMainWindow();
        for (const QString& typed : {QStringLiteral("7"), QStringLiteral(" 7 "), QStringLiteral("۷")}) {
            click("Command1");
            edit("Text11")->clear();
            typeText(edit("Text11"), typed);
            fillIn(QStringLiteral("Sara"));
            click("Command8");
            QCOMPARE(notice(), QStringLiteral("فردديگري با اين کد ثبت شده"));
            QVERIFY(panel()->isPending());
            click("Command10");
        }
        click("Command1");
        edit("Text11")->clear();
        type("Text11", QStringLiteral("   "));
        fillIn(QStringLiteral("Sara"));
        click("Command8");
        QCOMPARE(notice(), QStringLiteral("کد آزمودني را وارد کنيد"));
        QVERIFY(panel()->isPending());
        QCOMPARE(codes(QStringLiteral("Answer")), QStringList({"7"}));

        // Both rows of a new subject carry the code as stored, without blanks and in Latin digits.
        typeText(edit("Text11"), QStringLiteral(" ۱۲ "));
        click("Command8");
        QVERIFY(!panel()->isVisible());
        QCOMPARE(codes(QStringLiteral("IDE")), QStringList({"7", "12"}));
        QCOMPARE(codes(QStringLiteral("Answer")), QStringList({"7", "12"}));
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
        QCOMPARE(items("Combo2"), QStringList({"مرد", "زن"}));
        QCOMPARE(items("Combo1"), QStringList({"مجرد", "متأهل", "مطلقه", "بيوه"}));
        QCOMPARE(items("Combo3"), QStringList({"A", "B", "C", "D", "E", "F", "G"}));
        QCOMPARE(list("Combo1")->toolTip(), QStringLiteral("وضعيت تأهل خود را مشخص کنيد"));
        QCOMPARE(list("Combo2")->toolTip(), QStringLiteral("جنسيت را انتخاب كنيد"));
        QCOMPARE(list("Combo3")->toolTip(), QStringLiteral("گروه را انتخاب كنيد"));
        for (const char* name : {"Combo1", "Combo2", "Combo3"})
            QVERIFY(list(name)->currentIndex() == -1 && !list(name)->isEditable());

        click("Command1");
        fillIn(QStringLiteral("Sara"), QStringLiteral("1"));
        click("Command8");
        click("Command1");
        QCOMPARE(edit("Text11")->text(), QStringLiteral("2"));
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
        QVERIFY(!panel()->isVisible() && !panel()->isPending());
        QVERIFY(button("Command1")->isEnabled());
        QCOMPARE(codes(QStringLiteral("IDE")), QStringList({"1"}));
        QCOMPARE(m_main->quietCloseFlag(), QStringLiteral("2"));
    }

    void ageTakesAtMostTwoDigitsAndRefusesOtherKeysWithTheNotice()
    {
        openMainWindow();
        click("Command1");
        type("Text5", QStringLiteral("4a-79"));
        QCOMPARE(edit("Text5")->text(), QStringLiteral("47"));
        QCOMPARE(m_folder->prompts.beeps, 2);
        QCOMPARE(m_folder->prompts.notices(), QStringList(2, QStringLiteral("شما بايد عدد وارد كنيد")));
        QTest::keyClick(edit("Text5"), Qt::Key_Backspace);
        QCOMPARE(edit("Text5")->text(), QStringLiteral("4"));

        // Persian digits are digits; pasted letters are refused like typed ones.
        edit("Text5")->clear();
        typeText(edit("Text5"), QStringLiteral("۳۸"));
        QCOMPARE(edit("Text5")->text(), QStringLiteral("38"));
        edit("Text5")->clear();
        QApplication::clipboard()->setText(QStringLiteral("ab"));
        QTest::keyClick(edit("Text5"), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit("Text5")->text(), QString());
        QCOMPARE(m_folder->prompts.notices().size(), 3);
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
        QCOMPARE(codes(QStringLiteral("Answer")), QStringList({"1"})); // the Answer row went back too
        QVERIFY(panel()->isPending());
        QCOMPARE(edit("Text6")->text(), QStringLiteral("Sara"));
        QCOMPARE(m_folder->prompts.shown.last().kind, FakePrompts::Kind::Message);
        QCOMPARE(m_folder->prompts.shown.last().title, QStringLiteral("خطا"));
        QCOMPARE(m_main->quietCloseFlag(), QStringLiteral("2"));

        QVERIFY(trigger.exec(QStringLiteral("DROP TRIGGER refuse_subject")));
        click("Command8");
        QVERIFY(!panel()->isVisible());
        QCOMPARE(codes(QStringLiteral("IDE")), QStringList({"1", "2"}));
        QCOMPARE(codes(QStringLiteral("Answer")), QStringList({"1", "2"}));
        QCOMPARE(rows(QStringLiteral("IDE")).at(1).value(QStringLiteral("FName")), QStringLiteral("Sara"));
    }

    void codeStoredMeanwhileOnAnotherWorkstationGetsTheTakenNoticeAndTheNextCode()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        QVERIFY(ClinicServer::useServer(m_folder->path(), server.settings(), server.password()).ok);
        m_folder->addSubject(QStringLiteral("1"));
        openMainWindow();
        click("Command1");
        fillIn(QStringLiteral("Sara"));
        QCOMPARE(edit("Text11")->text(), QStringLiteral("2"));

        // The other workstation has stored code 2 but not yet committed when this one checks the
        // code; it commits while this one's save waits on the server.
        QSemaphore inserted;
        QThread* other = QThread::create([&server, &inserted] {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("other"));
                db.setHostName(server.settings().host);
                db.setPort(server.settings().port);
                db.setDatabaseName(server.settings().databaseName);
                db.setUserName(server.settings().userName);
                db.setPassword(server.password());
                QSqlQuery query(db);
                const bool ok = db.open() && db.transaction() &&
                                query.exec(QStringLiteral(
                                    "INSERT INTO \"IDE\" (\"Code\", \"FName\") VALUES ('2', 'Reza')"));
                inserted.release();
                QThread::msleep(500);
                if (ok)
                    db.commit();
                db.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("other"));
        });
        other->start();
        inserted.acquire();
        click("Command8");
        other->wait();
        delete other;

        QCOMPARE(notice(), CommonTexts::codeTaken);
        QVERIFY(panel()->isPending());
        QCOMPARE(edit("Text11")->text(), QStringLiteral("3"));
        QCOMPARE(edit("Text6")->text(), QStringLiteral("Sara"));
        QCOMPARE(codes(QStringLiteral("IDE")), QStringList({"1", "2"}));
        QCOMPARE(codes(QStringLiteral("Answer")), QStringList({"1"})); // no Answer row of the refused save
        click("Command8");
        QVERIFY(!panel()->isVisible());
        QCOMPARE(codes(QStringLiteral("IDE")), QStringList({"1", "2", "3"}));
        QCOMPARE(rows(QStringLiteral("IDE")).at(2).value(QStringLiteral("FName")), QStringLiteral("Sara"));
    }

    void subjectLeftPendingWhileNoSubjectExistsIsNeverSavedLater()
    {
        openMainWindow();
        click("Command1");
        QVERIFY(edit("Text11")->text().isEmpty()); // no subject, no proposal
        fillIn(QStringLiteral("Forgotten"), QStringLiteral("5"));
        click("Command5"); // another command closes the panels
        QVERIFY(!panel()->isVisible() && !panel()->isPending());
        QVERIFY(rows(QStringLiteral("IDE")).isEmpty());

        click("Command1");
        QVERIFY(edit("Text6")->text().isEmpty());
        fillIn(QStringLiteral("Sara"), QStringLiteral("1"));
        click("Command8");
        const auto stored = rows(QStringLiteral("IDE"));
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored.at(0).value(QStringLiteral("FName")), QStringLiteral("Sara"));
        QCOMPARE(codes(QStringLiteral("Answer")), QStringList({"1"}));
    }

    void openPanelSurvivesTheMainWindowBecomingActiveAndSavesANewSubject()
    {
        m_folder->addSubject(QStringLiteral("1"), QStringLiteral("Ali"));
        openMainWindow();
        click("Command1");
        type("Text6", QStringLiteral("Sara"));
        click("Cmdpasokh"); // a modal window that leaves the panels open; the views are read again
        QCOMPARE(m_folder->navigator.calls.last(), QStringLiteral("openAnswerSheet"));
        m_main->becameActive();
        QVERIFY(panel()->isVisible() && panel()->isPending());
        QCOMPARE(edit("Text6")->text(), QStringLiteral("Sara"));
        QCOMPARE(edit("Text11")->text(), QStringLiteral("2"));
        QVERIFY(!button("Command1")->isEnabled());

        fillIn(QString());
        click("Command8");
        const auto stored = rows(QStringLiteral("IDE"));
        QCOMPARE(stored.size(), 2);
        QCOMPARE(stored.at(0).value(QStringLiteral("FName")), QStringLiteral("Ali"));
        QCOMPARE(stored.at(0).value(QStringLiteral("Sen")), QStringLiteral("30"));
        QCOMPARE(stored.at(1).value(QStringLiteral("FName")), QStringLiteral("Sara"));
    }
};

QTEST_MAIN(RegistrationPanelTest)
#include "RegistrationPanelTest.moc"
