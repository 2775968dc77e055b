#include "PanelDriver.h"
#include "TestProgramFolder.h"
#include "common/Twips.h"
#include "datastore/DataView.h"
#include "mainwindow/Frm1.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace PanelDriver;

class QuestionEditorTest : public QObject
{
    Q_OBJECT

    static QStringList storedTexts(TestProgramFolder& folder)
    {
        QStringList texts;
        auto items = folder.view(QStringLiteral("QU"));
        for (const DataView::Row& row : items->rows())
            texts << row.value(QStringLiteral("QUS"));
        return texts;
    }

    static QString storedText(TestProgramFolder& folder, int item)
    {
        return storedTexts(folder).value(item - 1);
    }

    // Replaces the number box's text by typing, the way a user does: select all, then type.
    static void typeNumber(Frm1& window, const QString& keys)
    {
        auto* box = child<QLineEdit>(window, "Text18");
        box->selectAll();
        QTest::keyClicks(box, keys);
    }

    static void replaceItemText(Frm1& window, const QString& text)
    {
        auto* edit = child<QPlainTextEdit>(window, "Text21");
        edit->selectAll();
        typeText(edit, text);
    }

    static QString number(Frm1& window) { return child<QLineEdit>(window, "Text18")->text(); }
    static QString shownText(Frm1& window) { return child<QPlainTextEdit>(window, "Text21")->toPlainText(); }

    // A main window with the editor open on item 1.
    static void openEditor(Frm1& window)
    {
        window.show();
        click(window, "Command9");
        click(window, "Cmndedit");
    }

private slots:
    void opensOnItemOneBesideTheSettingsPanel()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        openEditor(window);
        auto* editor = child(window, "Frame1");
        QVERIFY(editor->isVisible());
        QVERIFY(child(window, "Frame8")->isVisible());
        QCOMPARE(editor->geometry(), twipsRect(720, 720, 6915, 2970));
        QCOMPARE(number(window), QStringLiteral("1"));
        QCOMPARE(shownText(window), storedText(folder, 1));
        QVERIFY(!shownText(window).isEmpty());
        QCOMPARE(child<QPushButton>(window, "Command13")->text(), QStringLiteral("بعدي >>>"));
        QCOMPARE(child<QPushButton>(window, "Command18")->text(), QStringLiteral("<<<قبلي"));
        QCOMPARE(child<QPushButton>(window, "Command16")->text(), QStringLiteral("ذخيره "));
        QCOMPARE(child<QPushButton>(window, "Command15")->text(), QStringLiteral("انصراف"));
    }

    void theNumberBoxSettlesBetweenOneAndThirtyFive()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        openEditor(window);

        typeNumber(window, QStringLiteral("0"));
        QCOMPARE(number(window), QStringLiteral("1"));

        typeNumber(window, QStringLiteral("4"));
        QCOMPARE(shownText(window), storedText(folder, 4));
        QTest::keyClicks(child<QLineEdit>(window, "Text18"), QStringLiteral("0"));
        QCOMPARE(number(window), QStringLiteral("35"));
        QCOMPARE(shownText(window), storedText(folder, 35));

        typeNumber(window, QStringLiteral("99"));
        QCOMPARE(number(window), QStringLiteral("35"));
        QCOMPARE(shownText(window), storedText(folder, 35));

        child<QLineEdit>(window, "Text18")->selectAll();
        QTest::keyClick(child<QLineEdit>(window, "Text18"), Qt::Key_Backspace);
        QCOMPARE(number(window), QStringLiteral("1"));
        QCOMPARE(shownText(window), storedText(folder, 1));

        // A pasted text with a leading zero or letters settles on the item it names.
        child<QLineEdit>(window, "Text18")->setText(QStringLiteral("07"));
        QCOMPARE(number(window), QStringLiteral("7"));
        QCOMPARE(shownText(window), storedText(folder, 7));
        child<QLineEdit>(window, "Text18")->setText(QStringLiteral("12abc"));
        QCOMPARE(number(window), QStringLiteral("12"));
        QCOMPARE(shownText(window), storedText(folder, 12));
    }

    void pagingStaysWithinTheItems()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        openEditor(window);
        click(window, "Command18");
        QCOMPARE(number(window), QStringLiteral("1"));
        QCOMPARE(shownText(window), storedText(folder, 1));
        click(window, "Command13");
        QCOMPARE(number(window), QStringLiteral("2"));
        QCOMPARE(shownText(window), storedText(folder, 2));
        typeNumber(window, QStringLiteral("35"));
        click(window, "Command13");
        QCOMPARE(number(window), QStringLiteral("35"));
        QCOMPARE(shownText(window), storedText(folder, 35));
        click(window, "Command18");
        QCOMPARE(number(window), QStringLiteral("34"));
        QCOMPARE(shownText(window), storedText(folder, 34));
        QVERIFY(folder.prompts.shown.isEmpty());
    }

    void savingWritesTheShownItemOnlyAndStaysOpen()
    {
        TestProgramFolder folder;
        const QStringList before = storedTexts(folder);
        Frm1 window(folder.context());
        openEditor(window);
        typeNumber(window, QStringLiteral("12"));
        replaceItemText(window, QStringLiteral("من از زندگي ام راضي هستم"));
        click(window, "Command16");

        QStringList expected = before;
        expected[11] = QStringLiteral("من از زندگي ام راضي هستم");
        QCOMPARE(storedTexts(folder), expected);
        QCOMPARE(folder.prompts.notices(), QStringList{QStringLiteral("تغييرات با موفقيت ذخيره شد")});
        QVERIFY(child(window, "Frame1")->isVisible());
        QCOMPARE(number(window), QStringLiteral("12"));

        // Moving on after a save asks nothing.
        click(window, "Command13");
        QCOMPARE(folder.prompts.shown.size(), 1);
    }

    void cancellingDropsTheEditAndCloses()
    {
        TestProgramFolder folder;
        const QStringList before = storedTexts(folder);
        Frm1 window(folder.context());
        openEditor(window);
        typeNumber(window, QStringLiteral("5"));
        replaceItemText(window, QStringLiteral("not wanted"));
        click(window, "Command15");
        QVERIFY(!child(window, "Frame1")->isVisible());
        QCOMPARE(number(window), QStringLiteral("1"));
        QCOMPARE(storedTexts(folder), before);

        click(window, "Cmndedit");
        QCOMPARE(shownText(window), storedText(folder, 1));
        typeNumber(window, QStringLiteral("5"));
        QCOMPARE(shownText(window), before.at(4));
    }

    void anUnsavedEditIsNeverSavedIntoAnotherItem()
    {
        TestProgramFolder folder;
        const QStringList before = storedTexts(folder);
        Frm1 window(folder.context());
        openEditor(window);

        // Declining the question drops the edit; the next item shows its own text.
        typeNumber(window, QStringLiteral("12"));
        replaceItemText(window, QStringLiteral("first draft"));
        click(window, "Command13");
        QCOMPARE(folder.prompts.texts(FakePrompts::Kind::YesNo).size(), 1);
        QVERIFY(folder.prompts.texts(FakePrompts::Kind::YesNo).constFirst().contains(QStringLiteral("12")));
        QCOMPARE(number(window), QStringLiteral("13"));
        QCOMPARE(shownText(window), before.at(12));
        QCOMPARE(storedTexts(folder), before);

        // Accepting it saves the edit into the item it was typed for, while the box already shows
        // the next number.
        folder.prompts.yesNoAnswers.enqueue(true);
        replaceItemText(window, QStringLiteral("second draft"));
        typeNumber(window, QStringLiteral("3"));
        QCOMPARE(number(window), QStringLiteral("3"));
        QCOMPARE(shownText(window), before.at(2));
        QStringList expected = before;
        expected[12] = QStringLiteral("second draft");
        QCOMPARE(storedTexts(folder), expected);

        // Another command closing the panels drops an edit as well.
        replaceItemText(window, QStringLiteral("abandoned"));
        click(window, "Command9");
        click(window, "Cmndedit");
        typeNumber(window, QStringLiteral("3"));
        QCOMPARE(shownText(window), before.at(2));
        QCOMPARE(storedTexts(folder), expected);
    }

    void theShownNumberAndTheSavedItemAgreeAfterTheViewsAreReadAgain()
    {
        TestProgramFolder folder;
        const QStringList before = storedTexts(folder);
        Frm1 window(folder.context());
        openEditor(window);
        typeNumber(window, QStringLiteral("20"));

        // Without an edit, the item is shown as stored now.
        {
            auto items = folder.view(QStringLiteral("QU"));
            QVERIFY(items->filterBy(QStringLiteral("ID"), QStringLiteral("20")));
            items->setField(QStringLiteral("QUS"), QStringLiteral("changed elsewhere"));
            QVERIFY(items->commit());
        }
        window.becameActive(); // a modal window closed; the main window read its views again
        QCOMPARE(number(window), QStringLiteral("20"));
        QCOMPARE(shownText(window), QStringLiteral("changed elsewhere"));

        // An edit in progress survives and is saved into the shown item, not into item 1.
        replaceItemText(window, QStringLiteral("edited before the switch"));
        window.becameActive();
        QCOMPARE(number(window), QStringLiteral("20"));
        QCOMPARE(shownText(window), QStringLiteral("edited before the switch"));
        click(window, "Command16");
        QStringList expected = before;
        expected[19] = QStringLiteral("edited before the switch");
        QCOMPARE(storedTexts(folder), expected);
    }

    void anItemThatCouldNotBeSavedIsNotReportedAsSaved()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        openEditor(window);
        typeNumber(window, QStringLiteral("8"));
        replaceItemText(window, QStringLiteral("will it stay?"));
        {
            auto items = folder.view(QStringLiteral("QU"));
            QVERIFY(items->filterBy(QStringLiteral("ID"), QStringLiteral("8")));
            QVERIFY(items->removeCurrent());
        }
        click(window, "Command16");
        QVERIFY(folder.prompts.notices().isEmpty());
        QCOMPARE(folder.prompts.texts(FakePrompts::Kind::Message),
                 QStringList{QStringLiteral("تغييرات ذخيره نشد")});

        // Paging away with the failed edit keeps the editor on its item instead of losing it.
        folder.prompts.yesNoAnswers.enqueue(true);
        click(window, "Command13");
        QCOMPARE(number(window), QStringLiteral("8"));
        QCOMPARE(shownText(window), QStringLiteral("will it stay?"));
        QCOMPARE(folder.prompts.texts(FakePrompts::Kind::Message).size(), 2);
    }
};

QTEST_MAIN(QuestionEditorTest)
#include "QuestionEditorTest.moc"
