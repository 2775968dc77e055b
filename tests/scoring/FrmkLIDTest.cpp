#include "scoring/FrmkLID.h"
#include "AuditRows.h"
#include "PdfText.h"
#include "SignedInSession.h"
#include "TestProgramFolder.h"
#include "TypeText.h"
#include "common/Twips.h"
#include "datastore/AdministrationDetails.h"
#include "datastore/AdministrationStore.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "datastore/DatastoreTexts.h"
#include "reports/ReportPreview.h"
#include "reports/ReportRenderer.h"
#include "scoring/ScoringTexts.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

using Kind = FakePrompts::Kind;

namespace {

QStringList answersAll(const QString& value)
{
    return QStringList(35, value);
}

// Answers 1 … 35 from a pattern of per-scale values, so each scale has its own score.
QStringList answersPerScale(const QStringList& scaleValues)
{
    QStringList answers;
    for (int item = 0; item < 35; ++item)
        answers << scaleValues.at(item / 7);
    return answers;
}

} // namespace

class FrmkLIDTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    SignedInSession m_signedIn;
    std::unique_ptr<FrmkLID> m_window;

    FakePrompts& prompts() { return m_folder->prompts; }
    FakeNavigator& navigator() { return m_folder->navigator; }

    template <typename T = QWidget> T* child(const char* name)
    {
        auto* widget = m_window->findChild<T*>(QLatin1String(name));
        if (!widget)
            qWarning("no child %s", name);
        return widget;
    }
    QString text(const char* name) { return child<QLineEdit>(name)->text(); }
    void click(const char* name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }

    void openWindow()
    {
        m_window = std::make_unique<FrmkLID>(m_folder->context());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // Types a code into the scoring dialog and runs the scoring.
    void score(const QString& code)
    {
        prompts().textAnswers.enqueue(code);
        click("Command1");
    }

    DataView::Row storedSubject(const QString& code)
    {
        auto view = m_folder->view(QStringLiteral("IDE"));
        view->filterBy(QStringLiteral("Code"), code);
        return view->rows().value(0);
    }
    QStringList storedScores(const QString& code)
    {
        const DataView::Row row = storedSubject(code);
        return {row.value("S"), row.value("L"), row.value("F1"), row.value("P"), row.value("F2")};
    }
    QStringList shownScores()
    {
        return {text("TextS"), text("TextL"), text("TextF1"), text("TextP"), text("TextF2")};
    }
    bool resultsVisible() { return child("Frame3")->isVisible(); }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        m_folder = std::make_unique<TestProgramFolder>();
        m_folder->addSubject(QStringLiteral("1"), QStringLiteral("علي"), QStringLiteral("احمدي"));
        m_folder->addSubject(QStringLiteral("2"), QStringLiteral("مريم"), QStringLiteral("رضايي"));
    }
    void cleanup()
    {
        m_window.reset();
        m_folder.reset();
        QLocale::setDefault(QLocale::c());
    }

    void laysOutTheWindowAsDesigned()
    {
        openWindow();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("کليد گذاري"));
        // A row under the scores holds the administrations' history.
        QCOMPARE(m_window->size(), twipsSize(9945, 5685));
        QCOMPARE(child("Frame5")->geometry(), twipsRect(300, 120, 9495, 2115));
        QCOMPARE(child("Frame1")->geometry(), twipsRect(315, 2235, 9495, 1155));
        QCOMPARE(child("Frame3")->geometry(), twipsRect(285, 3420, 9495, 1425));
        QCOMPARE(child("Frame2")->geometry(), twipsRect(1380, 570, 7635, 4485));
        QVERIFY(!child("Frame2")->isVisible());
        QCOMPARE(child("TextS")->geometry(), twipsRect(465, 495, 1155, 630));
        QCOMPARE(child("TextF2")->geometry(), twipsRect(7830, 495, 1155, 630));
        QVERIFY(m_window->property("skinNumber").isValid());

        const QList<QPair<const char*, QString>> commands{{"Command1", "انتخاب آزمودني"},
                                                          {"Cmdzooj", "مشاهده نمودار زوجي"},
                                                          {"Command5", "مشاهده نمودارتکي"},
                                                          {"Command3", "پرينت کل  آزمودني ها "},
                                                          {"Command6", "پرينت آزمودني انتخاب شده"},
                                                          {"Command8", "ذخيره تغييرات"},
                                                          {"Command2", "راهنما"},
                                                          {"Command7", "خروج"},
                                                          {"Command4", " خروج"}};
        for (const auto& [name, caption] : commands) {
            QCOMPARE(child<QPushButton>(name)->text(), caption);
            QCOMPARE(child<QPushButton>(name)->accessibleName(), caption);
        }

        // Each input is found by its caption: the caption label names it and is its buddy.
        const QList<QPair<const char*, QString>> inputs{
            {"Text15", " :کد آزمودني"},   {"Text3_3", " :نام"},        {"Text12", " :نام خانوادگي"},
            {"Text10", " :جنس"},          {"Text6", " :سن"},           {"Text11", " :وضعيت تاهل"},
            {"Text7", " :ميزان تحصيلات"}, {"Text8", " :تاريخ"},        {"TextS", "نياز به بقا"},
            {"TextL", "نياز به عشق"},     {"TextF1", "نياز به آزادي"}, {"TextP", "نياز به قدرت"},
            {"TextF2", "نياز به تفريح"}};
        for (const auto& [name, caption] : inputs) {
            QWidget* input = child(name);
            auto* label = m_window->findChild<QLabel*>(QStringLiteral("Label_") + QLatin1String(name));
            QVERIFY2(label, name);
            QCOMPARE(label->text(), caption);
            QCOMPARE(label->buddy(), input);
            QCOMPARE(input->accessibleName(), caption);
        }
        auto* gender = child<QComboBox>("Combo2");
        QCOMPARE(gender->count(), 2);
        QCOMPARE(gender->itemText(0), QStringLiteral("مرد"));
        QCOMPARE(gender->itemText(1), QStringLiteral("زن"));
        QCOMPARE(gender->toolTip(), QStringLiteral("جنسيت را انتخاب كنيد"));
        // Nothing visible sticks out of its area.
        for (const char* area : {"Frame5", "Frame1", "Frame3"}) {
            QWidget* frame = child(area);
            for (QWidget* inner : frame->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (inner->isVisible())
                    QVERIFY2(frame->rect().contains(inner->geometry()), qPrintable(inner->objectName()));
            }
        }
        QVERIFY(!child<QLineEdit>("Txt3_1")->isVisible());
        // Before any choice the views stand on the first subject and no code is chosen.
        QCOMPARE(text("Text15"), QStringLiteral("1"));
        QCOMPARE(text("Text3_3"), QStringLiteral("علي"));
        QCOMPARE(text("Text5"), QString());
        QVERIFY(child<QLineEdit>("Txtn1_9"));
    }

    void scoresACompleteSubjectStoresTheScoresAndSaysSo()
    {
        m_folder->setAnswers(QStringLiteral("2"), answersPerScale({"1", "2", "3", "4", "5"}));
        m_folder->context().session = &m_signedIn; // the trail is kept under sign-in
        openWindow();
        child("Frame3")->hide();
        score(QStringLiteral("2"));

        QCOMPARE(prompts().shown.first().kind, Kind::Text);
        QCOMPARE(prompts().shown.first().title, QStringLiteral(" کد آزمودني را وارد کنيد"));
        QCOMPARE(prompts().shown.first().text, QStringLiteral(" Enter Number "));
        QCOMPARE(prompts().texts(Kind::Message), QStringList());
        QCOMPARE(prompts().notices(), QStringList{QStringLiteral("اطلاعات با موفقيت محاسبه و ذخيره شد")});
        QCOMPARE(shownScores(), (QStringList{"1.", "2.", "3.", "4.", "5."}));
        QCOMPARE(storedScores("2"), shownScores());
        QVERIFY(resultsVisible());
        QCOMPARE(text("Text5"), QStringLiteral("2"));
        QCOMPARE(text("Text17"), QStringLiteral("مريم رضايي"));
        QCOMPARE(text("Text9"),
                 QStringLiteral("كد آزمودني: 2  -  نام و نام خانوادگي: مريم رضايي  -  سن: 30  -  "
                                "جنس: مرد  -  وضعيت تاهل: مجرد  -  ميزان تحصيلات: ليسانس"));
        QCOMPARE(text("Text3_3"), QStringLiteral("مريم"));
        QCOMPARE(text("Text8"), QStringLiteral("1402/02/13"));
        // The other subject is untouched.
        QCOMPARE(storedScores("1"), (QStringList{"", "", "", "", ""}));
        QCOMPARE(auditRows(m_folder->path()), QStringList{QStringLiteral("scores-opened|2||admin")});
    }

    void warnsAboutUnansweredItemsAndScoresThemAsZero()
    {
        QStringList answers = answersAll(QStringLiteral("4"));
        answers[2] = QString();
        answers[16] = QString();
        m_folder->setAnswers(QStringLiteral("1"), answers);
        openWindow();
        score(QStringLiteral("1"));

        QCOMPARE(prompts().shown.size(), 3);
        const FakePrompts::Shown warning = prompts().shown.at(1);
        QCOMPARE(warning.kind, Kind::Message);
        QCOMPARE(warning.title, QStringLiteral("خطا"));
        QCOMPARE(warning.icon, Prompts::Icon::Exclamation);
        QCOMPARE(warning.text, QStringLiteral("شما به سوالات زير پاسخ نداده ايد \r\n\r\n 3   17  "));
        QCOMPARE(prompts().lastNotice(), QStringLiteral("اطلاعات با موفقيت محاسبه و ذخيره شد"));
        QCOMPARE(storedScores("1"), (QStringList{"3.43", "4.", "3.43", "4.", "4."}));
        QVERIFY(resultsVisible());
    }

    void writesAPointInScoresUnderAPersianLocale()
    {
        QLocale::setDefault(QLocale(QLocale::Persian, QLocale::Iran));
        QStringList answers = answersAll(QStringLiteral("4"));
        answers[0] = QString();
        m_folder->setAnswers(QStringLiteral("1"), answers);
        openWindow();
        score(QStringLiteral("1"));
        QCOMPARE(storedScores("1").first(), QStringLiteral("3.43"));
        QCOMPARE(text("TextS"), QStringLiteral("3.43"));
    }

    void seesAnswersStoredAfterTheWindowOpenedAndRescoresTheSameRow()
    {
        openWindow();
        m_folder->setAnswers(QStringLiteral("1"), answersAll(QStringLiteral("2")));
        score(QStringLiteral("1"));
        QCOMPARE(storedScores("1"), (QStringList{"2.", "2.", "2.", "2.", "2."}));
        m_folder->setAnswers(QStringLiteral("1"), answersAll(QStringLiteral("5")));
        score(QStringLiteral("1"));
        QCOMPARE(storedScores("1"), (QStringList{"5.", "5.", "5.", "5.", "5."}));
        QCOMPARE(shownScores(), storedScores("1"));
        auto all = m_folder->view(QStringLiteral("IDE"));
        QCOMPARE(all->count(), 2);
    }

    void cancelledCodeAsksForANumberAndChangesNothing()
    {
        openWindow();
        score(QString());
        QCOMPARE(prompts().notices(),
                 QStringList{QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد")});
        QCOMPARE(text("Text5"), QString());
        QVERIFY(resultsVisible());
    }

    void unknownCodeHidesTheResultsAndKeepsTheEarlierSubject()
    {
        m_folder->setAnswers(QStringLiteral("1"), answersAll(QStringLiteral("3")));
        openWindow();
        score(QStringLiteral("1"));
        prompts().clear();
        score(QStringLiteral("99"));
        QCOMPARE(prompts().notices(), QStringList{QStringLiteral("فردي با اين مشخصات وجود ندارد")});
        QVERIFY(!resultsVisible());
        QCOMPARE(text("Text5"), QStringLiteral("1"));
        QCOMPARE(text("Text15"), QStringLiteral("1"));
        QCOMPARE(text("TextS"), QStringLiteral("3."));
    }

    // Codes are matched as whole texts through bound values: quotes match themselves and nothing
    // else, so a quote can neither break the lookup nor reach other rows.
    void matchesCodesWithQuotesAsPlainText()
    {
        m_folder->addSubject(QStringLiteral("7'8"), QStringLiteral("Sara"), QStringLiteral("O'Neil"));
        m_folder->setAnswers(QStringLiteral("7'8"), answersAll(QStringLiteral("1")));
        m_folder->setAnswers(QStringLiteral("1"), answersAll(QStringLiteral("3")));
        openWindow();
        score(QStringLiteral("1' OR '1'='1"));
        QCOMPARE(prompts().lastNotice(), QStringLiteral("فردي با اين مشخصات وجود ندارد"));
        QCOMPARE(storedScores("1"), (QStringList{"", "", "", "", ""}));

        score(QStringLiteral("7'8"));
        QCOMPARE(storedScores("7'8"), (QStringList{"1.", "1.", "1.", "1.", "1."}));
        QCOMPARE(text("Text17"), QStringLiteral("Sara O'Neil"));
        QCOMPARE(storedScores("1"), (QStringList{"", "", "", "", ""}));
        // A code is not trimmed: " 1" is another code.
        score(QStringLiteral(" 1"));
        QCOMPARE(prompts().lastNotice(), QStringLiteral("فردي با اين مشخصات وجود ندارد"));
    }

    void answersWithoutASubjectRecordAreReportedAndStoreNothing()
    {
        m_folder->setAnswers(QStringLiteral("1"), answersAll(QStringLiteral("3")));
        {
            auto answers = m_folder->view(QStringLiteral("Answer"));
            answers->addNew();
            answers->setField(QStringLiteral("Code"), QStringLiteral("5"));
            QVERIFY(answers->commit());
        }
        m_folder->setAnswers(QStringLiteral("5"), answersAll(QStringLiteral("4")));
        openWindow();
        score(QStringLiteral("1"));
        prompts().clear();
        score(QStringLiteral("5"));

        QCOMPARE(prompts().shown.size(), 2);
        const FakePrompts::Shown warning = prompts().shown.at(1);
        QCOMPARE(warning.title, QStringLiteral("خطا"));
        QCOMPARE(warning.icon, Prompts::Icon::Exclamation);
        QCOMPARE(warning.text, ScoringTexts::noSubjectRecord);
        QCOMPARE(prompts().notices(), QStringList());
        QCOMPARE(text("Text5"), QStringLiteral("1"));
        QCOMPARE(text("Text15"), QStringLiteral("1"));
        QCOMPARE(storedScores("1"), (QStringList{"3.", "3.", "3.", "3.", "3."}));
        QCOMPARE(storedScores("2"), (QStringList{"", "", "", "", ""}));
        auto subjects = m_folder->view(QStringLiteral("IDE"));
        QCOMPARE(subjects->count(), 2);
    }

    void reportsScoresThatCouldNotBeStoredInsteadOfClaimingSuccess()
    {
        m_folder->setAnswers(QStringLiteral("1"), answersAll(QStringLiteral("3")));
        QSqlQuery trigger(Database::connection(m_folder->path(), Database::File::Clinical));
        QVERIFY(trigger.exec(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE UPDATE ON IDE BEGIN SELECT RAISE(ABORT, 'read only'); END")));
        openWindow();
        score(QStringLiteral("1"));
        QCOMPARE(prompts().notices(), QStringList());
        QCOMPARE(prompts().texts(Kind::Message), QStringList{ScoringTexts::scoresNotStored});
        QCOMPARE(text("TextS"), QStringLiteral("3."));
        QCOMPARE(storedScores("1").first(), QString());
    }

    void singleChartNeedsAChosenSubject()
    {
        openWindow();
        click("Command5");
        QCOMPARE(prompts().shown.size(), 1);
        QCOMPARE(prompts().shown.first().kind, Kind::Notice);
        QCOMPARE(prompts().shown.first().milliseconds, 2000);
        QCOMPARE(prompts().lastNotice(),
                 QStringLiteral("ابتدا روي انتخاب آزمودني کليک کرده سپس کد آزمودني را "
                                "وارد کنيد بعد روي مشاهده نمودار کليک کنيد "));
        QCOMPARE(navigator().calls, QStringList());
    }

    void singleChartHandsTheScoreBoxesOverInOneSubjectMode()
    {
        m_folder->setAnswers(QStringLiteral("2"), answersPerScale({"1", "2", "3", "4", "5"}));
        openWindow();
        score(QStringLiteral("2"));
        click("Command5");
        QCOMPARE(navigator().calls, QStringList{QStringLiteral("showNeedsChart")});
        const NeedsChartInput& chart = navigator().lastChart;
        QCOMPARE(chart.mode, NeedsChartInput::Mode::OneSubject);
        QVERIFY(!chart.secondSubjectVisible);
        QCOMPARE(QStringList(chart.subject1Scores.begin(), chart.subject1Scores.end()), shownScores());
        QCOMPARE(chart.subject1Line, text("Text9"));
        QCOMPARE(chart.testDate, QStringLiteral("1402/02/13"));
        QCOMPARE(chart.subjectCode, QStringLiteral("2"));
    }

    void savesRecordEditsAndCopiesTheChosenGender()
    {
        m_folder->setAnswers(QStringLiteral("2"), answersAll(QStringLiteral("3")));
        m_folder->context().session = &m_signedIn; // the trail is kept under sign-in
        openWindow();
        score(QStringLiteral("2"));
        prompts().clear();
        auto* lastName = child<QLineEdit>("Text12");
        lastName->clear();
        QTest::keyClicks(lastName, QStringLiteral("Karimi"));
        auto* gender = child<QComboBox>("Combo2");
        gender->setCurrentIndex(1);
        QCOMPARE(text("Text10"), QStringLiteral("زن"));
        click("Command8");
        QCOMPARE(prompts().notices(), QStringList{QStringLiteral("تغييرات با موفقيت ذخيره شد")});
        const DataView::Row row = storedSubject(QStringLiteral("2"));
        QCOMPARE(row.value("LName"), QStringLiteral("Karimi"));
        QCOMPARE(row.value("Jens"), QStringLiteral("زن"));
        // The scores written by the scoring are not overwritten by the record's older copy.
        QCOMPARE(row.value("S"), QStringLiteral("3."));
        QCOMPARE(auditRows(m_folder->path()),
                 (QStringList{QStringLiteral("scores-opened|2||admin"),
                              QStringLiteral("record-change|2|مشخصات آزمودني|admin")}));
    }

    void reportsRecordEditsThatCouldNotBeSaved()
    {
        m_folder->setAnswers(QStringLiteral("2"), answersAll(QStringLiteral("3")));
        openWindow();
        score(QStringLiteral("2"));
        prompts().clear();
        QTest::keyClicks(child<QLineEdit>("Text6"), QStringLiteral("1"));
        QSqlQuery remove(Database::connection(m_folder->path(), Database::File::Clinical));
        QVERIFY(remove.exec(QStringLiteral("DELETE FROM IDE WHERE Code = '2'")));
        click("Command8");
        QCOMPARE(prompts().notices(), QStringList());
        QCOMPARE(prompts().texts(Kind::Message), QStringList{ScoringTexts::changesNotSaved});
    }

    void recordCodeStaysUniqueAndANewCodeTakesTheAnswersAlong()
    {
        // An earlier administration, which goes with the subject to its new code.
        m_folder->setAnswers(QStringLiteral("2"), answersAll(QStringLiteral("4")));
        QVERIFY(AdministrationStore::startNew(
            Database::connection(m_folder->path(), Database::File::Clinical), QStringLiteral("2"), {}));
        m_folder->setAnswers(QStringLiteral("2"), answersAll(QStringLiteral("3")));
        openWindow();
        score(QStringLiteral("2"));
        auto* code = child<QLineEdit>("Text15");
        const auto answerCodes = [this] {
            QStringList codes;
            for (const DataView::Row& row : m_folder->view(QStringLiteral("Answer"))->rows())
                codes << row.value(QStringLiteral("Code"));
            return codes;
        };

        for (const QString& taken : {QStringLiteral("1"), QStringLiteral(" 1 "), QStringLiteral("۱")}) {
            prompts().clear();
            code->clear();
            typeText(code, taken);
            click("Command8");
            QCOMPARE(prompts().notices(), QStringList{QStringLiteral("فردديگري با اين کد ثبت شده")});
        }
        prompts().clear();
        code->setText(QStringLiteral("  "));
        click("Command8");
        QCOMPARE(prompts().notices(), QStringList{QStringLiteral("کد آزمودني را وارد کنيد")});
        QCOMPARE(storedSubject(QStringLiteral("2")).value("FName"), QStringLiteral("مريم"));
        QCOMPARE(answerCodes(), QStringList({"1", "2"}));

        prompts().clear();
        code->clear();
        typeText(code, QStringLiteral(" ۲۷"));
        click("Command8");
        QCOMPARE(prompts().notices(), QStringList{QStringLiteral("تغييرات با موفقيت ذخيره شد")});
        QCOMPARE(storedSubject(QStringLiteral("27")).value("FName"), QStringLiteral("مريم"));
        QVERIFY(storedSubject(QStringLiteral("2")).isEmpty());
        QCOMPARE(answerCodes(), QStringList({"1", "27"}));
        const QSqlDatabase clinical = Database::connection(m_folder->path(), Database::File::Clinical);
        QVERIFY(AdministrationStore::list(clinical, QStringLiteral("2"))->isEmpty());
        QCOMPARE(AdministrationStore::list(clinical, QStringLiteral("27"))->constFirst().answers.at(0),
                 QStringLiteral("4"));
        QCOMPARE(text("Text5"), QStringLiteral("27"));
        // The subject scores under its new code, with its answers.
        score(QStringLiteral("27"));
        QCOMPARE(shownScores(), QStringList(5, QStringLiteral("3.")));
    }

    void aCodeChangeTheFileRefusesMovesNeitherRow()
    {
        m_folder->setAnswers(QStringLiteral("2"), answersAll(QStringLiteral("3")));
        openWindow();
        score(QStringLiteral("2"));
        prompts().clear();
        QSqlQuery trigger(Database::connection(m_folder->path(), Database::File::Clinical));
        QVERIFY(trigger.exec(QStringLiteral("CREATE TRIGGER refuse_subject BEFORE UPDATE ON IDE BEGIN SELECT "
                                            "RAISE(ABORT, 'disk full'); END")));
        child<QLineEdit>("Text15")->setText(QStringLiteral("9"));
        click("Command8");
        QCOMPARE(prompts().texts(Kind::Message), QStringList{ScoringTexts::changesNotSaved});
        QCOMPARE(storedSubject(QStringLiteral("2")).value("Code"), QStringLiteral("2"));
        auto answers = m_folder->view(QStringLiteral("Answer"));
        answers->filterBy(QStringLiteral("Code"), QStringLiteral("2"));
        QCOMPARE(answers->count(), 1);                 // the Answer row moved back with the rollback
        QCOMPARE(text("Text15"), QStringLiteral("9")); // the typed edit stays on screen
    }

    void helpPanelOpensAndCloses()
    {
        openWindow();
        click("Command2");
        QVERIFY(child("Frame2")->isVisible());
        QCOMPARE(child<QPlainTextEdit>("Text21")->toPlainText().split(u'\n').first(),
                 QStringLiteral("در اين قسمت از نرم افزار ابتدا روي انتخاب آزمودني "));
        click("Command7");
        QVERIFY(!child("Frame2")->isVisible());
    }

    void closingGivesTheMainWindowBackOnce()
    {
        openWindow();
        click("Command4");
        QVERIFY(!m_window->isVisible());
        m_window->close();
        QCOMPARE(navigator().calls, QStringList{QStringLiteral("scoringClosed")});
    }

    void comparesACoupleAndChartsBoth()
    {
        m_folder->setAnswers(QStringLiteral("1"), answersPerScale({"5", "4", "3", "2", "1"}));
        m_folder->setAnswers(QStringLiteral("2"), answersPerScale({"1", "2", "3", "4", "5"}));
        openWindow();
        prompts().textAnswers << QStringLiteral("1") << QStringLiteral("2");
        click("Cmdzooj");

        const QStringList titles{QStringLiteral("  کد آزمودني شماره 1 را وارد کنيد"),
                                 QStringLiteral("  کد آزمودني شماره2 را وارد کنيد")};
        QCOMPARE(prompts().shown.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(prompts().shown.at(i).kind, Kind::Text);
            QCOMPARE(prompts().shown.at(i).title, titles.at(i));
            QCOMPARE(prompts().shown.at(i).text, QStringLiteral("  "));
        }
        QCOMPARE(storedScores("1"), (QStringList{"5.", "4.", "3.", "2.", "1."}));
        QCOMPARE(storedScores("2"), (QStringList{"1.", "2.", "3.", "4.", "5."}));
        QStringList couple;
        for (int i = 0; i < 10; ++i)
            couple << text(qPrintable(QStringLiteral("Txtn1_%1").arg(i)));
        QCOMPARE(couple, (QStringList{"5.", "4.", "3.", "2.", "1.", "1.", "2.", "3.", "4.", "5."}));
        QVERIFY(text("Text9").startsWith(QStringLiteral("آزمودني 1:  كد آزمودني: 1  -  ")));
        QVERIFY(text("Text14").startsWith(QStringLiteral("آزمودني 2:  كد آزمودني: 2  -  ")));
        QCOMPARE(text("Text5"), QStringLiteral("2"));
        QCOMPARE(text("Text17"), QStringLiteral("مريم رضايي"));

        QCOMPARE(navigator().calls, QStringList{QStringLiteral("showNeedsChart")});
        const NeedsChartInput& chart = navigator().lastChart;
        QCOMPARE(chart.mode, NeedsChartInput::Mode::Couple);
        QVERIFY(chart.secondSubjectVisible);
        QCOMPARE(chart.subject1Scores[0], QStringLiteral("5."));
        QCOMPARE(chart.subject2Scores[4], QStringLiteral("5."));
        QCOMPARE(chart.subject1Line, text("Text9"));
        QCOMPARE(chart.subject2Line, text("Text14"));
        QCOMPARE(chart.testDate, QStringLiteral("1402/02/13"));

        // The single chart afterwards shows the second subject, and names it on its print.
        click("Command5");
        QCOMPARE(navigator().lastChart.subject1Scores[0], QStringLiteral("1."));
        QVERIFY(navigator().lastChart.subject1Line.startsWith(QStringLiteral("كد آزمودني: 2  -  ")));
        QCOMPARE(navigator().lastChart.subject2Line, QString());
    }

    void coupleWarningsNameTheirSubjectAndListOnlyItsItems()
    {
        QStringList first = answersAll(QStringLiteral("3"));
        first[0] = QString();
        QStringList second = answersAll(QStringLiteral("3"));
        second[34] = QString();
        m_folder->setAnswers(QStringLiteral("1"), first);
        m_folder->setAnswers(QStringLiteral("2"), second);
        openWindow();
        prompts().textAnswers << QStringLiteral("1") << QStringLiteral("2");
        click("Cmdzooj");
        QCOMPARE(
            prompts().texts(Kind::Message),
            (QStringList{QStringLiteral(" آزمودني شماره 1 به سوالات زير پاسخ نداده است \r\n\r\n 1  "),
                         QStringLiteral(" آزمودني شماره 2  به سوالات زير پاسخ نداده است \r\n\r\n 35  ")}));
        for (const FakePrompts::Shown& shown : prompts().shown) {
            if (shown.kind == Kind::Message)
                QCOMPARE(shown.title, QStringLiteral("خطا"));
        }
        QVERIFY(!resultsVisible());
        QCOMPARE(prompts().notices(), QStringList());
        QCOMPARE(navigator().calls, QStringList{QStringLiteral("showNeedsChart")});
        QCOMPARE(navigator().lastChart.subject1Scores[0], QStringLiteral("2.57"));
    }

    // A failure of one half of a couple names that half, whichever it is.
    void coupleFailuresNameTheSubjectTheyBelongTo_data()
    {
        QTest::addColumn<int>("failing");
        QTest::addColumn<bool>("recordMissing"); // else its scores cannot be stored
        QTest::newRow("subject 1 without record") << 1 << true;
        QTest::newRow("subject 2 without record") << 2 << true;
        QTest::newRow("subject 1 not stored") << 1 << false;
        QTest::newRow("subject 2 not stored") << 2 << false;
    }
    void coupleFailuresNameTheSubjectTheyBelongTo()
    {
        QFETCH(int, failing);
        QFETCH(bool, recordMissing);
        const QString failingCode = recordMissing ? QStringLiteral("9") : QString::number(failing);
        const QString otherCode = failing == 1 ? QStringLiteral("2") : QStringLiteral("1");
        m_folder->setAnswers(otherCode, answersAll(QStringLiteral("3")));
        if (recordMissing) {
            auto answers = m_folder->view(QStringLiteral("Answer"));
            answers->addNew();
            answers->setField(QStringLiteral("Code"), failingCode);
            QVERIFY(answers->commit());
            m_folder->setAnswers(failingCode, answersAll(QStringLiteral("4")));
        } else {
            m_folder->setAnswers(failingCode, answersAll(QStringLiteral("4")));
            QSqlQuery trigger(Database::connection(m_folder->path(), Database::File::Clinical));
            QVERIFY(
                trigger.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON IDE WHEN OLD.Code = '%1' "
                                            "BEGIN SELECT RAISE(ABORT, 'read only'); END")
                                 .arg(failingCode)));
        }
        openWindow();
        prompts().textAnswers << (failing == 1 ? failingCode : otherCode)
                              << (failing == 1 ? otherCode : failingCode);
        click("Cmdzooj");

        const CoupleComparison::SubjectTexts texts = CoupleComparison::subjectTexts(failing);
        const QStringList messages = prompts().texts(Kind::Message);
        QCOMPARE(messages, QStringList{recordMissing ? texts.noRecord : texts.notStored});
        QVERIFY(messages.first().contains(QString::number(failing)));
        QVERIFY(!messages.first().contains(QString::number(3 - failing)));
        // A first subject without a record ends the run before the second is scored.
        const bool otherScored = failing == 2 || !recordMissing;
        QCOMPARE(storedScores(otherCode).first(), otherScored ? QStringLiteral("3.") : QString());
        if (!recordMissing)
            QCOMPARE(storedScores(failingCode).first(), QString());
    }

    void coupleStopsWhenTheSecondCodeIsCancelledKeepingTheFirst()
    {
        m_folder->setAnswers(QStringLiteral("1"), answersAll(QStringLiteral("4")));
        openWindow();
        prompts().textAnswers << QStringLiteral("1");
        click("Cmdzooj");
        QCOMPARE(prompts().notices(),
                 QStringList{QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد")});
        QCOMPARE(storedScores("1"), (QStringList{"4.", "4.", "4.", "4.", "4."}));
        QVERIFY(text("Text9").startsWith(QStringLiteral("آزمودني 1:  ")));
        QCOMPARE(text("Text5"), QStringLiteral("1"));
        QCOMPARE(navigator().calls, QStringList());
    }

    void coupleStopsOnAnUnknownCodeWithAPlainBoxNamingTheSubject()
    {
        m_folder->setAnswers(QStringLiteral("1"), answersAll(QStringLiteral("4")));
        openWindow();
        prompts().textAnswers << QStringLiteral("1") << QStringLiteral("77");
        click("Cmdzooj");
        QCOMPARE(prompts().shown.last().kind, Kind::Message);
        QCOMPARE(prompts().shown.last().title, QStringLiteral("هشدار"));
        QCOMPARE(prompts().shown.last().icon, Prompts::Icon::None);
        QCOMPARE(prompts().shown.last().text,
                 QStringLiteral("کد آزمودني شماره 2 اشتباه است يا فردي با اين مشخصات وجود ندارد"));
        QVERIFY(!resultsVisible());
        QCOMPARE(storedScores("1").first(), QStringLiteral("4."));
        QCOMPARE(navigator().calls, QStringList());

        prompts().clear();
        prompts().textAnswers << QStringLiteral("77");
        click("Cmdzooj");
        QCOMPARE(prompts().shown.last().text,
                 QStringLiteral("کد آزمودني شماره 1 اشتباه است يا فردي با اين مشخصات وجود ندارد"));
        QCOMPARE(prompts().shown.size(), 2);
    }

    void printOfAllSubjectsAsksForEveryStoredSubjectUnderTheLetterhead()
    {
        openWindow();
        click("Command3");
        QCOMPARE(navigator().calls, QStringList{QStringLiteral("printSubjectList:= by  with letterhead")});
        QVERIFY(navigator().lastSelection.orderColumn.isEmpty()); // the table's stored order
        QVERIFY(prompts().shown.isEmpty());
    }

    void printOfTheChosenSubjectNeedsAChoiceFirst()
    {
        QList<Report> reports;
        ReportPreview::setHandlerForTests([&](const Report& report) { reports << report; });
        openWindow();
        click("Command6");
        ReportPreview::setHandlerForTests({});
        QVERIFY(reports.isEmpty());
        QCOMPARE(prompts().shown.size(), 1);
        QCOMPARE(prompts().shown.first().milliseconds, 2000);
        QCOMPARE(prompts().lastNotice(),
                 QStringLiteral("ابتدا روي انتخاب آزمودني کليک کرده سپس کد آزمودني را "
                                "وارد کنيد بعد روي پرينت کليک کنيد "));
    }

    void printOfTheChosenSubjectShowsScoresAndUnansweredItemsThenNeedsANewChoice()
    {
        // Two items of the Love scale left unanswered.
        QStringList answers = answersPerScale({"1", "2", "3", "4", "5"});
        answers[8] = answers[12] = QString();
        m_folder->setAnswers(QStringLiteral("2"), answers);
        navigator().clinic.name = QStringLiteral("مرکز مشاوره آرامش");
        navigator().clinic.address = QStringLiteral("تهران خيابان وليعصر");
        m_folder->context().session = &m_signedIn; // the trail is kept under sign-in
        openWindow();
        score(QStringLiteral("2"));
        prompts().clear();

        QList<Report> reports;
        ReportPreview::setHandlerForTests([&](const Report& report) { reports << report; });
        click("Command6");
        ReportPreview::setHandlerForTests({});
        QCOMPARE(reports.size(), 1);
        QVERIFY(text("Text5").isEmpty());
        QVERIFY(prompts().shown.isEmpty());
        QCOMPARE(auditRows(m_folder->path()).constLast(), QStringLiteral("print|2|برگه نمره ها|admin"));

        const ReportLayout& layout = reports.first().layout;
        auto caption = [&](const char* band, const char* name) {
            const ReportElement* element = layout.element(QLatin1String(band), QLatin1String(name));
            return element ? element->caption : QStringLiteral("<missing>");
        };
        QCOMPARE(caption("Section1", "Label15"), QStringLiteral("2"));
        QCOMPARE(caption("Section1", "Label16"), QStringLiteral("مريم رضايي"));
        QCOMPARE(caption("Section1", "Label19"), QStringLiteral("30"));
        QCOMPARE(caption("Section1", "Label14"), QStringLiteral("مرکز مشاوره آرامش"));
        QCOMPARE(caption("Section3", "Label5"), QStringLiteral("تهران خيابان وليعصر"));
        QCOMPARE(caption("Section1", "Label23"), QStringLiteral("1."));
        QCOMPARE(caption("Section1", "Label24"), QStringLiteral("1.43")); // five twos over seven
        QCOMPARE(caption("Section1", "Label27"), QStringLiteral("5."));
        QCOMPARE(caption("Section1", "UnansweredS"), QStringLiteral("0 از 7"));
        QCOMPARE(caption("Section1", "UnansweredL"), QStringLiteral("2 از 7"));
        QVERIFY(layout.element(QStringLiteral("Section1"), QStringLiteral("UnansweredNote")));

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("subject.pdf"));
        QVERIFY(ReportRenderer::writePdf(reports.first(), pdf));
        const QString page = PdfText::pages(pdf).value(0);
        for (const QString& expected :
             {QStringLiteral("مريم"), QStringLiteral("آرامش"), QStringLiteral("عشق"), QStringLiteral("1.43")})
            QVERIFY2(PdfText::hasWords(page, expected), qPrintable(expected + u'\n' + page));
        QVERIFY(page.contains(QStringLiteral("1402/02/13")));

        // The choice is gone: the chart and this print refuse until a subject is chosen again.
        click("Command5");
        QCOMPARE(prompts().shown.size(), 1);
        QCOMPARE(prompts().shown.first().milliseconds, 2000);
        QCOMPARE(navigator().calls, QStringList());
    }

    void aCompletelyAnsweredSubjectPrintsNoUnansweredNote()
    {
        m_folder->setAnswers(QStringLiteral("1"), answersAll(QStringLiteral("4")));
        openWindow();
        score(QStringLiteral("1"));
        QList<Report> reports;
        ReportPreview::setHandlerForTests([&](const Report& report) { reports << report; });
        click("Command6");
        ReportPreview::setHandlerForTests({});
        QCOMPARE(reports.size(), 1);
        QVERIFY(
            !reports.first().layout.element(QStringLiteral("Section1"), QStringLiteral("UnansweredNote")));
    }

    // The scoring window and the print say how the administration was entered, how fast it was
    // taken and which patterns it raises; none of it changes a score.
    void entryStateTimingsAndFlagsAreShownAndPrinted()
    {
        m_folder->setAnswers(QStringLiteral("1"), answersAll(QStringLiteral("4")));
        m_folder->setAnswers(QStringLiteral("2"), answersPerScale({"1", "2", "3", "4", "5"}));
        const QSqlDatabase db = Database::connection(m_folder->path(), Database::File::Clinical);
        AdministrationDetails::Details details;
        details.code = QStringLiteral("1");
        details.sequence = *AdministrationStore::latestSequence(db, details.code);
        details.state = AdministrationDetails::EntryState::AwaitingReview;
        details.timed = true;
        details.milliseconds.fill(1500);
        QVERIFY(AdministrationDetails::store(db, details));
        openWindow();
        score(QStringLiteral("1"));
        QCOMPARE(storedScores(QStringLiteral("1")), QStringList(5, QStringLiteral("4.")));
        const QStringList lines = child<QLabel>("administrationChecks")->text().split(u'\n');
        QCOMPARE(lines,
                 QStringList({DatastoreTexts::entryAwaitingReview,
                              DatastoreTexts::timingLine(QStringLiteral("1.5"), 35, 2),
                              DatastoreTexts::flagsCaption + DatastoreTexts::flagSameAnswer +
                                  DatastoreTexts::flagSeparator + DatastoreTexts::flagFastCompletion}));
        QList<Report> reports;
        ReportPreview::setHandlerForTests([&](const Report& report) { reports << report; });
        click("Command6");
        ReportPreview::setHandlerForTests({});
        QCOMPARE(reports.size(), 1);
        const ReportElement* printed =
            reports.first().layout.element(QStringLiteral("Section1"), QStringLiteral("Checks2"));
        QVERIFY(printed);
        QCOMPARE(printed->caption, lines.at(2));

        score(QStringLiteral("2"));
        QCOMPARE(child<QLabel>("administrationChecks")->text(), DatastoreTexts::entryOnce);
    }
};

QTEST_MAIN(FrmkLIDTest)
#include "FrmkLIDTest.moc"
