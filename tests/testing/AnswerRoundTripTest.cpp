#include "TestProgramFolder.h"
#include "datastore/DataView.h"
#include "testing/FrmTest.h"
#include "testing/Frmpas2.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// A sheet half typed in the answer sheet is finished on screen, and the other way round: both
// windows read and write the same coding.
class AnswerRoundTripTest : public QObject
{
    Q_OBJECT

    // The option that stands for an answer code: "5" is the first option, "1" the fifth.
    static int optionFor(const QString& code) { return 6 - code.toInt(); }
    static QString codeFor(int item) { return QString::number((item * 7) % 5 + 1); }

    static void typeOnSheet(TestProgramFolder& folder, const QString& code, int from, int to)
    {
        Frmpas2 sheet(folder.context());
        sheet.show();
        QVERIFY(QTest::qWaitForWindowActive(&sheet));
        QTest::keyClicks(sheet.findChild<QLineEdit*>(QStringLiteral("Text4")), code);
        QTest::mouseClick(sheet.findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
        for (int item = from; item <= to; ++item) {
            auto* box = sheet.findChild<QLineEdit*>(QStringLiteral("Txt1_%1").arg(item));
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, codeFor(item));
        }
        sheet.close();
    }

    // Goes through all 35 items on screen: checks that items 1 … shownUpTo show their stored answer,
    // and answers items from … to.
    static void answerOnScreen(TestProgramFolder& folder, const QString& code, int from, int to,
                               int shownUpTo)
    {
        FrmTest test(folder.context());
        test.prepareForCode(code);
        test.show();
        QVERIFY(QTest::qWaitForWindowActive(&test));
        QTest::mouseClick(test.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        auto* next = test.findChild<QPushButton*>(QStringLiteral("CmdNext"));
        for (int item = 1; item <= 35; ++item) {
            auto option = [&test](int n) {
                return test.findChild<QRadioButton*>(QStringLiteral("Option%1").arg(n));
            };
            if (item <= shownUpTo)
                QVERIFY2(option(optionFor(codeFor(item)))->isChecked(), qPrintable(QString::number(item)));
            if (item >= from && item <= to)
                option(optionFor(codeFor(item)))->click();
            if (item < 35)
                QTest::mouseClick(next, Qt::LeftButton);
        }
        QTest::mouseClick(test.findChild<QPushButton*>(QStringLiteral("Command5")), Qt::LeftButton);
    }

    static void verifyStored(TestProgramFolder& folder, const QString& code)
    {
        auto answers = folder.view(QStringLiteral("Answer"));
        answers->filterBy(QStringLiteral("Code"), code);
        for (int item = 1; item <= 35; ++item)
            QCOMPARE(answers->field(QString::number(item)), codeFor(item));
    }

    static void verifySheetShows(TestProgramFolder& folder, const QString& code)
    {
        Frmpas2 sheet(folder.context());
        QTest::keyClicks(sheet.findChild<QLineEdit*>(QStringLiteral("Text4")), code);
        QTest::mouseClick(sheet.findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
        for (int item = 1; item <= 35; ++item)
            QCOMPARE(sheet.findChild<QLineEdit*>(QStringLiteral("Txt1_%1").arg(item))->text(), codeFor(item));
    }

private slots:
    void sheetStartedOnPaperIsFinishedOnScreen()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"));
        typeOnSheet(folder, QStringLiteral("1"), 1, 17);
        answerOnScreen(folder, QStringLiteral("1"), 18, 35, 17);
        verifyStored(folder, QStringLiteral("1"));
        verifySheetShows(folder, QStringLiteral("1"));
    }

    void testStartedOnScreenIsFinishedFromTheSheet()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("4"), QStringLiteral("Sara"), QStringLiteral("Nazari"), false);
        answerOnScreen(folder, QStringLiteral("4"), 1, 20, 0);
        typeOnSheet(folder, QStringLiteral("4"), 21, 35);
        verifyStored(folder, QStringLiteral("4"));
        verifySheetShows(folder, QStringLiteral("4"));
        answerOnScreen(folder, QStringLiteral("4"), 36, 35, 35);
    }
};

QTEST_MAIN(AnswerRoundTripTest)
#include "AnswerRoundTripTest.moc"
