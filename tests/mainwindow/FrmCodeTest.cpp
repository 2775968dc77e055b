#include "mainwindow/FrmCode.h"
#include "AuditRows.h"
#include "SignedInSession.h"
#include "TestProgramFolder.h"
#include "TestServer.h"
#include "datastore/AdministrationStore.h"
#include "datastore/ClinicServer.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "mainwindow/SubjectListModel.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

namespace {

const QString kNoSuchCode = QStringLiteral("فردي با اين کد وجود ندارد");
const QString kDeleted = QStringLiteral("حذف با موفقيت انجام گرفت");

template <typename T> T* child(FrmCode& finder, const char* name)
{
    auto* found = finder.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QStringList column(const FrmCode& finder, int index)
{
    QStringList texts;
    for (int row = 0; row < finder.list().rowCount(); ++row)
        texts << finder.list().text(row, index);
    return texts;
}

QStringList codes(const FrmCode& finder)
{
    return column(finder, 0);
}

QStringList items(FrmCode& finder, const char* box)
{
    auto* combo = child<QComboBox>(finder, box);
    QFocusEvent turnTo(QEvent::FocusIn, Qt::TabFocusReason); // lists are read when the user turns to them
    QCoreApplication::sendEvent(combo, &turnTo);
    // The list is read on a thread of its own.
    if (!QTest::qWaitFor([&finder] { return !finder.isListing(); }, 10000))
        qFatal("the list of %s was not read", box);
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

void type(FrmCode& finder, const char* box, const QString& text)
{
    child<QComboBox>(finder, box)->setEditText(text);
}

void addSubject(TestProgramFolder& folder, const QString& code, const QString& firstName,
                const QString& lastName, const QString& group, bool withAnswers = true)
{
    folder.addSubject(code, firstName, lastName, withAnswers);
    auto subjects = folder.view(QStringLiteral("IDE"));
    QVERIFY(subjects->filterBy(QStringLiteral("Code"), code));
    subjects->setField(QStringLiteral("Group"), group);
    QVERIFY(subjects->commit());
}

int rowsWithCode(TestProgramFolder& folder, const QString& table, const QString& code)
{
    auto view = folder.view(table);
    view->filterBy(QStringLiteral("Code"), code);
    return view->count();
}

} // namespace

class FrmCodeTest : public QObject
{
    Q_OBJECT

private slots:
    void opensWithItsControlsAndEverySubjectOrderedByCode()
    {
        TestProgramFolder folder;
        addSubject(folder, QStringLiteral("2"), QStringLiteral("Sara"), QStringLiteral("Karimi"),
                   QStringLiteral("B"));
        addSubject(folder, QStringLiteral("10"), QStringLiteral("Ali"), QStringLiteral("Ahmadi"),
                   QStringLiteral("A"));
        addSubject(folder, QStringLiteral("1"), QStringLiteral("Reza"), QStringLiteral("Ahmadi"),
                   QStringLiteral("C"));
        auto theme = folder.view(QStringLiteral("Theme"));
        theme->setField(QStringLiteral("Adress"), QStringLiteral("تهران"));
        QVERIFY(theme->commit());

        FrmCode finder(folder.context());
        QCOMPARE(finder.windowTitle(), QStringLiteral("کد آزمودني"));
        QCOMPARE(finder.pos(), QPoint(156, 51));
        QCOMPARE(codes(finder), (QStringList{"1", "10", "2"}));
        QCOMPARE(column(finder, 2), (QStringList{"Ahmadi", "Ahmadi", "Karimi"}));
        QCOMPARE(column(finder, 3), (QStringList{"C", "A", "B"}));
        QCOMPARE(child<QLineEdit>(finder, "Text4")->text(), QStringLiteral("تهران"));

        auto* grid = child<QTableView>(finder, "DataGrid1");
        QCOMPARE(grid->accessibleName(), QStringLiteral("مشخصات آزمودني"));
        const QStringList headers{"كدآزمودني", "نام", "نام خانوادگي", "گروه"};
        for (int section = 0; section < headers.size(); ++section)
            QCOMPARE(grid->model()->headerData(section, Qt::Horizontal).toString(), headers.at(section));
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);

        const std::pair<const char*, const char*> captions[] = {
            {"DataCombo1", " :نام خانوادگي"}, {"DataCombo6", " :نام "}, {"Combo3", " :گروه"}};
        for (const auto& [name, caption] : captions) {
            QCOMPARE(child<QComboBox>(finder, name)->accessibleName(), QString::fromUtf8(caption));
            QVERIFY(child<QComboBox>(finder, name)->currentText().isEmpty());
        }
        QCOMPARE(child<QLineEdit>(finder, "Text5")->accessibleName(),
                 QStringLiteral("کد آزمودني را وارد کنيد"));
        const std::pair<const char*, const char*> buttons[] = {{"Command1", "پرينت بر اساس گروه"},
                                                               {"Command2", "حذف "},
                                                               {"Command6", "خروج"},
                                                               {"CmdExport", "خروجي اکسل"}};
        for (const auto& [name, caption] : buttons)
            QCOMPARE(child<QPushButton>(finder, name)->text(), QString::fromUtf8(caption));

        // Each name once, in the order of the grid; the group box offers the seven groups and only
        // hints at its use while empty.
        QCOMPARE(items(finder, "DataCombo1"), (QStringList{"Ahmadi", "Karimi"}));
        QCOMPARE(items(finder, "DataCombo6"), (QStringList{"Reza", "Ali", "Sara"}));
        QCOMPARE(items(finder, "Combo3"), (QStringList{"A", "B", "C", "D", "E", "F", "G"}));
        QCOMPARE(child<QComboBox>(finder, "Combo3")->lineEdit()->placeholderText(),
                 QStringLiteral("گروه را انتخاب كنيد"));
    }

    void searchesOneCriterionAtATimeAndTheOtherNameListFollowsTheGrid()
    {
        TestProgramFolder folder;
        addSubject(folder, QStringLiteral("1"), QStringLiteral("Ali"), QStringLiteral("Ahmadi"),
                   QStringLiteral("A"));
        addSubject(folder, QStringLiteral("2"), QStringLiteral("Sara"), QStringLiteral("Karimi"),
                   QStringLiteral("B"));
        addSubject(folder, QStringLiteral("3"), QStringLiteral("Reza"), QStringLiteral("Ahmadi"),
                   QStringLiteral("B"));
        FrmCode finder(folder.context());

        type(finder, "Combo3", QStringLiteral("b")); // a small letter names the same group
        QCOMPARE(child<QComboBox>(finder, "Combo3")->currentText(), QStringLiteral("B"));
        QCOMPARE(codes(finder), (QStringList{"2", "3"}));
        QCOMPARE(items(finder, "DataCombo1"), (QStringList{"Karimi", "Ahmadi"}));
        QCOMPARE(items(finder, "DataCombo6"), (QStringList{"Sara", "Reza"}));

        // Picking a last name empties the group box without searching for an empty group.
        child<QComboBox>(finder, "DataCombo1")->setCurrentIndex(1);
        QVERIFY(child<QComboBox>(finder, "Combo3")->currentText().isEmpty());
        QCOMPARE(codes(finder), (QStringList{"1", "3"}));
        QCOMPARE(finder.shownSelection().filterColumn, QStringLiteral("LName"));
        QCOMPARE(items(finder, "DataCombo6"), (QStringList{"Ali", "Reza"}));
        QCOMPARE(items(finder, "DataCombo1"), (QStringList{"Karimi", "Ahmadi"})); // the list picked from

        type(finder, "DataCombo6", QStringLiteral("Reza"));
        QVERIFY(child<QComboBox>(finder, "DataCombo1")->currentText().isEmpty());
        QCOMPARE(codes(finder), QStringList{"3"});
        QCOMPARE(items(finder, "DataCombo1"), QStringList{"Ahmadi"});

        // A part of a name matches nothing; an emptied box shows every subject again.
        type(finder, "DataCombo6", QStringLiteral("Rez"));
        QVERIFY(codes(finder).isEmpty());
        type(finder, "DataCombo6", QString());
        QCOMPARE(codes(finder), (QStringList{"1", "2", "3"}));
        QCOMPARE(items(finder, "DataCombo1"), (QStringList{"Ahmadi", "Karimi"}));
        QCOMPARE(items(finder, "DataCombo6"), (QStringList{"Ali", "Sara", "Reza"}));

        // Typed key by key into a box that has the focus, as a user does.
        finder.show();
        QVERIFY(QTest::qWaitForWindowExposed(&finder));
        auto* lastName = child<QComboBox>(finder, "DataCombo1");
        lastName->setFocus();
        QTest::keyClicks(lastName, QStringLiteral("Karimi"));
        QCOMPARE(lastName->currentText(), QStringLiteral("Karimi"));
        QCOMPARE(codes(finder), QStringList{"2"});
    }

    void searchTextsMatchAsPlainWholeTexts()
    {
        TestProgramFolder folder;
        // A name pasted with a byte order mark in front is found as stored, and not as the bare name.
        const QStringList lastNames{"O'Brien", "50%",    "a_b",      "x\"y",
                                    "Ahmadi ", "Ahmadi", "قلي'زاده", QStringLiteral("\uFEFFRahimi")};
        for (int i = 0; i < lastNames.size(); ++i)
            addSubject(folder, QString::number(i + 1), QStringLiteral("Ali"), lastNames.at(i),
                       QStringLiteral("A"));
        FrmCode finder(folder.context());

        for (int i = 0; i < lastNames.size(); ++i) {
            type(finder, "DataCombo1", lastNames.at(i));
            QCOMPARE(codes(finder), QStringList{QString::number(i + 1)});
        }
        for (const char* other : {"%", "a%", "_", "' OR '1'='1", " Ahmadi", "O''Brien", "ahmadi", "Rahimi"}) {
            type(finder, "DataCombo1", QString::fromUtf8(other));
            QVERIFY2(codes(finder).isEmpty(), other);
        }
        type(finder, "DataCombo1", QString(QChar(0xD800)) + QStringLiteral("Ahmadi"));
        QVERIFY(codes(finder).isEmpty());
        type(finder, "DataCombo6", QStringLiteral("Ali'"));
        QVERIFY(codes(finder).isEmpty());
        type(finder, "Combo3", QStringLiteral("A' OR '1'='1"));
        QVERIFY(codes(finder).isEmpty());
    }

    // A Latin or signed value is drawn in its own reading order in the right-to-left grid; Persian
    // values and plain numbers are drawn as stored, and a screen reader reads every value as stored.
    void latinAndSignedValuesKeepTheirOwnOrderInTheGrid()
    {
        TestProgramFolder folder;
        addSubject(folder, QStringLiteral("1"), QStringLiteral("Ali \"the great\""), QStringLiteral("+1"),
                   QStringLiteral("A"));
        addSubject(folder, QStringLiteral("2"), QStringLiteral("علي"), QStringLiteral("احمدي"),
                   QStringLiteral("B"));
        FrmCode finder(folder.context());
        const auto shown = [&finder](int row, int column, int role) {
            return finder.list().data(finder.list().index(row, column), role).toString();
        };
        const QChar lri(0x2066);
        const QChar pdi(0x2069);
        QCOMPARE(shown(0, 1, Qt::DisplayRole), lri + QStringLiteral("Ali \"the great\"") + pdi);
        QCOMPARE(shown(0, 2, Qt::DisplayRole), lri + QStringLiteral("+1") + pdi);
        QCOMPARE(shown(0, 2, Qt::AccessibleTextRole), QStringLiteral("+1"));
        QCOMPARE(shown(1, 1, Qt::DisplayRole), QStringLiteral("علي"));
        QCOMPARE(shown(1, 0, Qt::DisplayRole), QStringLiteral("2"));
    }

    void printByGroupNeedsAGroupAndHandsOverTheShownGroup()
    {
        TestProgramFolder folder;
        addSubject(folder, QStringLiteral("1"), QStringLiteral("Ali"), QStringLiteral("Ahmadi"),
                   QStringLiteral("B"));
        FrmCode finder(folder.context());
        auto* print = child<QPushButton>(finder, "Command1");

        print->click();
        QCOMPARE(folder.prompts.notices(), QStringList{"شما بايد گروه آزمودني مورد نظر را انتخاب كنيد"});
        QVERIFY(folder.navigator.calls.isEmpty());

        type(finder, "Combo3", QStringLiteral("B"));
        print->click();
        QCOMPARE(folder.navigator.calls, QStringList{"printSubjectList:Group=B by Group"});

        type(finder, "DataCombo1", QStringLiteral("Ahmadi")); // the group box is emptied
        print->click();
        QCOMPARE(folder.navigator.calls.size(), 1);
        QCOMPARE(folder.prompts.notices().size(), 2);
    }

    void exportHandsOverTheShownSubjectsInCodeOrder()
    {
        TestProgramFolder folder;
        addSubject(folder, QStringLiteral("1"), QStringLiteral("Ali"), QStringLiteral("O'Brien"),
                   QStringLiteral("B"));
        FrmCode finder(folder.context());
        auto* exportButton = child<QPushButton>(finder, "CmdExport");
        exportButton->click();
        type(finder, "DataCombo1", QStringLiteral("O'Brien"));
        exportButton->click();
        QCOMPARE(folder.navigator.calls,
                 (QStringList{"exportSubjects:= by Code", "exportSubjects:LName=O'Brien by Code"}));
    }

    void deletionRefusesEmptyAndUnknownCodesAndNoDeletesNothing()
    {
        TestProgramFolder folder;
        addSubject(folder, QStringLiteral("12"), QStringLiteral("Ali"), QStringLiteral("Ahmadi"),
                   QStringLiteral("A"));
        FrmCode finder(folder.context());
        auto* code = child<QLineEdit>(finder, "Text5");

        child<QPushButton>(finder, "Command2")->click();
        QCOMPARE(folder.prompts.lastNotice(), QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد"));
        for (const char* typed : {" 12", "12 ", "12'", "1"}) {
            code->setText(QString::fromUtf8(typed));
            child<QPushButton>(finder, "Command2")->click();
            QCOMPARE(folder.prompts.lastNotice(), kNoSuchCode);
        }
        QVERIFY(folder.prompts.texts(FakePrompts::Kind::YesNo).isEmpty());

        code->setText(QStringLiteral("12"));
        child<QPushButton>(finder, "Command2")->click(); // answered No
        const FakePrompts::Shown question = folder.prompts.shown.constLast();
        QCOMPARE(question.kind, FakePrompts::Kind::YesNo);
        QCOMPARE(question.title, QStringLiteral("Velmora V:"));
        QCOMPARE(question.text, QStringLiteral("آيا براي حذف کردن مطمئن هستيد؟"));
        QCOMPARE(rowsWithCode(folder, QStringLiteral("IDE"), QStringLiteral("12")), 1);
        QCOMPARE(rowsWithCode(folder, QStringLiteral("Answer"), QStringLiteral("12")), 1);
        QCOMPARE(codes(finder), QStringList{"12"});
    }

    void deletionRemovesBothRowsAndShowsEveryRemainingSubject()
    {
        TestProgramFolder folder;
        addSubject(folder, QStringLiteral("11"), QStringLiteral("Ali"), QStringLiteral("Ahmadi"),
                   QStringLiteral("A"));
        addSubject(folder, QStringLiteral("12"), QStringLiteral("Sara"), QStringLiteral("Karimi"),
                   QStringLiteral("A"));
        addSubject(folder, QStringLiteral("13"), QStringLiteral("Reza"), QStringLiteral("Ahmadi"),
                   QStringLiteral("A"));
        // Earlier administrations of 12 and 11: 12's go with it, 11's stay.
        const QSqlDatabase clinical = Database::connection(folder.path(), Database::File::Clinical);
        for (const QString& earlier : {QStringLiteral("12"), QStringLiteral("11")}) {
            folder.setAnswers(earlier, {QStringLiteral("3")});
            QVERIFY(AdministrationStore::startNew(clinical, earlier, {}));
        }
        SignedInSession signedIn; // the trail is kept under sign-in
        folder.context().session = &signedIn;
        FrmCode finder(folder.context());
        type(finder, "DataCombo1", QStringLiteral("Karimi"));
        QCOMPARE(codes(finder), QStringList{"12"});

        // Typed on a Persian keyboard, confirmed with Enter.
        auto* code = child<QLineEdit>(finder, "Text5");
        for (const QChar digit : QStringLiteral("۱۲"))
            QTest::sendKeyEvent(QTest::Click, code, Qt::Key_unknown, QString(digit), Qt::NoModifier);
        QCOMPARE(code->text(), QStringLiteral("12"));
        folder.prompts.yesNoAnswers.enqueue(true);
        QTest::keyClick(code, Qt::Key_Return);

        QCOMPARE(folder.prompts.lastNotice(), kDeleted);
        QCOMPARE(rowsWithCode(folder, QStringLiteral("IDE"), QStringLiteral("12")), 0);
        QCOMPARE(rowsWithCode(folder, QStringLiteral("Answer"), QStringLiteral("12")), 0);
        QCOMPARE(rowsWithCode(folder, QStringLiteral("Answer"), QStringLiteral("11")), 1);
        QCOMPARE(rowsWithCode(folder, AdministrationStore::table, QStringLiteral("12")), 0);
        QCOMPARE(rowsWithCode(folder, AdministrationStore::table, QStringLiteral("11")), 2);
        QVERIFY(code->text().isEmpty());
        QCOMPARE(codes(finder), (QStringList{"11", "13"}));
        QVERIFY(child<QComboBox>(finder, "DataCombo1")->currentText().isEmpty());
        QCOMPARE(items(finder, "DataCombo1"), QStringList{"Ahmadi"});

        // Pasted Arabic-Indic digits are digits as well; a subject without answers goes completely.
        addSubject(folder, QStringLiteral("14"), QStringLiteral("Mina"), QStringLiteral("Rad"),
                   QStringLiteral("A"), false);
        code->setText(QStringLiteral("١٤"));
        QCOMPARE(code->text(), QStringLiteral("14"));
        folder.prompts.yesNoAnswers.enqueue(true);
        child<QPushButton>(finder, "Command2")->click();
        QCOMPARE(folder.prompts.lastNotice(), kDeleted);
        QVERIFY(folder.prompts.texts(FakePrompts::Kind::Message).isEmpty());
        QCOMPARE(rowsWithCode(folder, QStringLiteral("IDE"), QStringLiteral("14")), 0);
        QCOMPARE(auditRows(folder.path()),
                 (QStringList{QStringLiteral("deletion|12||admin"), QStringLiteral("deletion|14||admin")}));
    }

    void failedDeletionOfTheAnswersKeepsTheSubjectAndSaysWhy()
    {
        TestProgramFolder folder;
        addSubject(folder, QStringLiteral("7"), QStringLiteral("Ali"), QStringLiteral("Ahmadi"),
                   QStringLiteral("A"));
        QSqlQuery lock(Database::connection(folder.path(), Database::File::Clinical));
        QVERIFY(lock.exec(QStringLiteral("CREATE TRIGGER keep_answers BEFORE DELETE ON Answer "
                                         "BEGIN SELECT RAISE(ABORT, 'answers are locked'); END")));
        FrmCode finder(folder.context());
        auto* code = child<QLineEdit>(finder, "Text5");
        code->setText(QStringLiteral("7"));
        folder.prompts.yesNoAnswers.enqueue(true);
        child<QPushButton>(finder, "Command2")->click();

        const FakePrompts::Shown error = folder.prompts.shown.constLast();
        QCOMPARE(error.kind, FakePrompts::Kind::Message);
        QCOMPARE(error.title, QStringLiteral("Error"));
        QCOMPARE(error.icon, Prompts::Icon::Exclamation);
        QVERIFY(error.rightToLeft);
        QVERIFY2(error.text.contains(QStringLiteral("answers are locked")), qPrintable(error.text));
        QVERIFY(!folder.prompts.notices().contains(kDeleted));
        QCOMPARE(rowsWithCode(folder, QStringLiteral("IDE"), QStringLiteral("7")), 1);
        QCOMPARE(rowsWithCode(folder, QStringLiteral("Answer"), QStringLiteral("7")), 1);
        QCOMPARE(code->text(), QStringLiteral("7"));
        QCOMPARE(codes(finder), QStringList{"7"});
        QCOMPARE(auditRows(folder.path()), QStringList()); // nothing was deleted, nothing recorded
    }

    void closingBringsTheMainWindowBackOnce()
    {
        TestProgramFolder folder;
        FrmCode finder(folder.context());
        finder.show();
        child<QPushButton>(finder, "Command6")->click();
        QVERIFY(!finder.isVisible());
        finder.close();
        QCOMPARE(folder.navigator.calls, QStringList{"subjectFinderClosed"});
    }

    void gridReadsManySubjectsAPageAtATime()
    {
        TestProgramFolder folder;
        QSqlDatabase db = Database::connection(folder.path(), Database::File::Clinical);
        {
            Transaction transaction(db);
            QSqlQuery insert(db);
            insert.prepare(
                QStringLiteral("INSERT INTO IDE (Code, FName, LName, \"Group\") VALUES (?, ?, ?, ?)"));
            for (int i = 1000; i >= 1; --i) {
                insert.addBindValue(QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')));
                insert.addBindValue(QStringLiteral("F%1").arg(i));
                insert.addBindValue(QStringLiteral("L%1").arg(i % 10));
                insert.addBindValue(QString(QChar(u'A' + i % 7)));
                QVERIFY(insert.exec());
            }
            QVERIFY(transaction.commit());
        }
        SubjectListModel list(db);
        QVERIFY(list.show({}));
        QCOMPARE(list.rowCount(), 1000);
        QCOMPARE(list.text(999, 0), QStringLiteral("1000"));
        QCOMPARE(list.text(0, 1), QStringLiteral("F1"));
        QCOMPARE(list.text(500, 2), QStringLiteral("L1"));
        QCOMPARE(list.data(list.index(129, 3)).toString(), QString(QChar(u'A' + 130 % 7)));

        QVERIFY(list.show({QStringLiteral("lname"), QStringLiteral("L3"), QStringLiteral("Code")}));
        QCOMPARE(list.rowCount(), 100);
        QCOMPARE(list.text(99, 0), QStringLiteral("0993"));
        QVERIFY(list.show({QStringLiteral("NoSuchColumn"), QStringLiteral("x"), QStringLiteral("Code")}));
        QCOMPARE(list.rowCount(), 0);
    }

    void turningBackToABoxWhileItsListIsReadOffersTheNamesOfTheShownRows()
    {
        TestProgramFolder folder;
        QSqlDatabase db = Database::connection(folder.path(), Database::File::Clinical);
        {
            // Enough rows that a list is still being read when the next event comes.
            Transaction transaction(db);
            QSqlQuery insert(db);
            insert.prepare(QStringLiteral("INSERT INTO IDE (Code, FName, LName) VALUES (?, ?, ?)"));
            for (int i = 1; i <= 30000; ++i) {
                insert.addBindValue(QString::number(i));
                insert.addBindValue(QStringLiteral("F%1").arg(i % 40));
                insert.addBindValue(QStringLiteral("L%1").arg(i % 300));
                QVERIFY(insert.exec());
            }
            QVERIFY(transaction.commit());
        }
        FrmCode finder(folder.context());
        auto* lastName = child<QComboBox>(finder, "DataCombo1");
        const auto turnTo = [](QComboBox* box) {
            QFocusEvent event(QEvent::FocusIn, Qt::TabFocusReason);
            QCoreApplication::sendEvent(box, &event);
        };
        // The last names of the rows the grid shows, each once, in the grid's order.
        const auto shownLastNames = [&finder] {
            QStringList names;
            for (const QString& name : column(finder, 2)) {
                if (!names.contains(name))
                    names << name;
            }
            return names;
        };
        const auto offered = [lastName] {
            QStringList texts;
            for (int i = 0; i < lastName->count(); ++i)
                texts << lastName->itemText(i);
            return texts;
        };

        for (int round = 0; round < 12; ++round) {
            turnTo(lastName);
            type(finder, "DataCombo6", QStringLiteral("F%1").arg(round));
            turnTo(lastName);
            QVERIFY(QTest::qWaitFor([&finder] { return !finder.isListing(); }, 20000));
            QCOMPARE(offered(), shownLastNames());
            QCOMPARE(offered().size(), 15);

            // Back to every subject: the list for no criterion is the whole one, never the list of
            // rows that were shown while it was read.
            type(finder, "DataCombo6", QString());
            turnTo(lastName);
            QVERIFY(QTest::qWaitFor([&finder] { return !finder.isListing(); }, 20000));
            QCOMPARE(offered().size(), 300);
        }
        QCOMPARE(offered(), shownLastNames());
    }

    void subjectsWithoutANameAreListedOnTheServerAsInTheFile()
    {
        // Names left out at registration are missing fields. The server sorts them last by itself,
        // the file first; paging on from the last name of a page must still list every subject, in
        // the file's order, on both.
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder file;
        TestProgramFolder onServer;
        const ClinicServer::Result used =
            ClinicServer::useServer(onServer.path(), server.settings(), server.password());
        QVERIFY2(used.ok, qPrintable(used.message));
        QList<QStringList> listed;
        for (TestProgramFolder* folder : {&file, &onServer}) {
            QSqlDatabase db = Database::connection(folder->path(), Database::File::Clinical);
            QSqlQuery insert(db);
            QVERIFY(
                insert.prepare(QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"LName\") VALUES (?, ?)")));
            for (int i = 0; i < 300; ++i) {
                insert.addBindValue(QString::number(i));
                insert.addBindValue(i % 3 == 0 ? QVariant() : QVariant(QStringLiteral("L%1").arg(i % 7)));
                QVERIFY(insert.exec());
            }
            SubjectListModel list(db);
            QVERIFY(list.show({QString(), QString(), QStringLiteral("LName")}));
            while (list.canFetchMore({}))
                list.fetchMore({});
            QStringList codes;
            for (int row = 0; row < list.rowCount(); ++row)
                codes << list.text(row, 0);
            listed << codes;
        }
        QCOMPARE(listed.at(0).size(), 300);
        QCOMPARE(listed.at(1), listed.at(0));
    }

    void pagesFollowTheOrderAcrossEqualCodesHoweverThePageIsFound()
    {
        // Codes repeat across page boundaries; a page reached by going on from the one before and
        // a page reached by counting from the start (once the read pages were let go) must give the
        // same rows, in code then stored order. The grid is given the rows as it scrolls on.
        TestProgramFolder folder;
        QSqlDatabase db = Database::connection(folder.path(), Database::File::Clinical);
        {
            Transaction transaction(db);
            QSqlQuery insert(db);
            insert.prepare(QStringLiteral("INSERT INTO IDE (Code, FName, \"Group\") VALUES (?, ?, ?)"));
            for (int i = 0; i < 9000; ++i) {
                insert.addBindValue(QString::number(i % 45));
                insert.addBindValue(QStringLiteral("F%1").arg(i));
                insert.addBindValue(i % 3 == 0 ? QStringLiteral("B") : QStringLiteral("A"));
                QVERIFY(insert.exec());
            }
            QVERIFY(transaction.commit());
        }
        for (const QString& group : {QString(), QStringLiteral("A")}) {
            QStringList expected;
            QSqlQuery query(db);
            QVERIFY(
                query.exec(QStringLiteral("SELECT FName FROM IDE%1 ORDER BY Code, rowid")
                               .arg(group.isEmpty() ? QString() : QStringLiteral(" WHERE \"Group\" = 'A'"))));
            while (query.next())
                expected << query.value(0).toString();
            const SubjectSelection selection =
                group.isEmpty() ? SubjectSelection{} : SubjectSelection{QStringLiteral("Group"), group};

            SubjectListModel forward(db);
            QVERIFY(forward.show(selection));
            QVERIFY(forward.rowCount() < expected.size());
            while (forward.canFetchMore({}))
                forward.fetchMore({});
            QCOMPARE(forward.rowCount(), expected.size());
            QStringList readForward;
            for (int row = 0; row < forward.rowCount(); ++row)
                readForward << forward.text(row, 1);
            QCOMPARE(readForward, expected);

            SubjectListModel backward(db);
            QVERIFY(backward.show(selection));
            while (backward.canFetchMore({}))
                backward.fetchMore({});
            QStringList readBackward;
            for (int row = backward.rowCount() - 1; row >= 0; --row)
                readBackward.prepend(backward.text(row, 1));
            QCOMPARE(readBackward, expected);
        }
    }

    void sortedByAColumnManySubjectsLeaveEmptyEverySubjectIsListed()
    {
        // More than a page of subjects without a group (missing, as an older file keeps them, or
        // empty, as the registration leaves them), then the rest: the grid goes on past the first
        // page whichever of them it ended on, in the file's order on the file and on the server.
        TestServer server;
        TestProgramFolder file;
        TestProgramFolder onServer;
        QList<TestProgramFolder*> folders{&file};
        if (server.available()) {
            const ClinicServer::Result used =
                ClinicServer::useServer(onServer.path(), server.settings(), server.password());
            QVERIFY2(used.ok, qPrintable(used.message));
            folders << &onServer;
        }
        QStringList expected;
        for (int i = 0; i < 200; ++i)
            expected << QStringLiteral("n%1").arg(i);
        for (int i = 0; i < 200; ++i)
            expected << QStringLiteral("e%1").arg(i);
        for (int i = 0; i < 10; ++i)
            expected << QStringLiteral("g%1").arg(i);
        for (TestProgramFolder* folder : folders) {
            QSqlDatabase db = Database::connection(folder->path(), Database::File::Clinical);
            {
                Transaction transaction(db);
                QSqlQuery insert(db);
                QVERIFY(insert.prepare(
                    QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"Group\") VALUES (?, ?)")));
                // Stored mixed, so that only the order puts the missing ones first.
                for (int i = 0; i < 200; ++i) {
                    for (const QString& code : {QStringLiteral("e%1").arg(i), QStringLiteral("n%1").arg(i)}) {
                        insert.addBindValue(code);
                        insert.addBindValue(code.startsWith(u'n') ? QVariant()
                                                                  : QVariant(QStringLiteral("")));
                        QVERIFY(insert.exec());
                    }
                    if (i < 10) {
                        insert.addBindValue(QStringLiteral("g%1").arg(i));
                        insert.addBindValue(QStringLiteral("A"));
                        QVERIFY(insert.exec());
                    }
                }
                QVERIFY(transaction.commit());
            }
            for (const QString& order : {QStringLiteral("Group"), QStringLiteral("group")}) {
                SubjectListModel list(db);
                QVERIFY(list.show({QString(), QString(), order}));
                while (list.canFetchMore({}))
                    list.fetchMore({});
                QStringList listed;
                for (int row = 0; row < list.rowCount(); ++row)
                    listed << list.text(row, 0);
                QCOMPARE(listed, expected);
            }
        }
    }

    void filterOnAnEmptyValueFindsMissingValuesToo()
    {
        TestProgramFolder folder;
        QSqlDatabase db = Database::connection(folder.path(), Database::File::Clinical);
        QSqlQuery insert(db);
        QVERIFY(insert.prepare(
            QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"LName\", \"Group\") VALUES (?, ?, ?)")));
        const QList<QVariantList> rows{{QStringLiteral("1"), QStringLiteral("Rad"), QVariant()},
                                       {QStringLiteral("2"), QStringLiteral("Ahmadi"), QStringLiteral("")},
                                       {QStringLiteral("3"), QStringLiteral("Karimi"), QStringLiteral("A")},
                                       {QStringLiteral("4"), QVariant(), QStringLiteral(" ")}};
        for (const QVariantList& row : rows) {
            for (const QVariant& value : row)
                insert.addBindValue(value);
            QVERIFY(insert.exec());
        }
        SubjectListModel list(db);
        QVERIFY(list.show({QStringLiteral("Group"), QString(), QStringLiteral("Code")}));
        QCOMPARE(list.rowCount(), 2);
        QCOMPARE(list.text(0, 0), QStringLiteral("1"));
        QCOMPARE(list.text(1, 0), QStringLiteral("2"));
        // The names those subjects offer in a name box, and a name box's empty search.
        QCOMPARE(subjectColumnValues(db, QStringLiteral("LName"), {QStringLiteral("Group"), QString()}),
                 (QStringList{QStringLiteral("Rad"), QStringLiteral("Ahmadi")}));
        QVERIFY(list.show({QStringLiteral("LName"), QString(), QStringLiteral("Code")}));
        QCOMPARE(list.rowCount(), 1);
        QCOMPARE(list.text(0, 0), QStringLiteral("4"));
    }

    void persianAndArabicNinesAreDigitsInTheCodeBox()
    {
        TestProgramFolder folder;
        addSubject(folder, QStringLiteral("19"), QStringLiteral("Ali"), QStringLiteral("Ahmadi"),
                   QStringLiteral("A"));
        addSubject(folder, QStringLiteral("90"), QStringLiteral("Sara"), QStringLiteral("Karimi"),
                   QStringLiteral("A"));
        FrmCode finder(folder.context());
        auto* code = child<QLineEdit>(finder, "Text5");
        for (const QChar digit : QStringLiteral("۱۹"))
            QTest::sendKeyEvent(QTest::Click, code, Qt::Key_unknown, QString(digit), Qt::NoModifier);
        QCOMPARE(code->text(), QStringLiteral("19"));
        folder.prompts.yesNoAnswers.enqueue(true);
        QTest::keyClick(code, Qt::Key_Return);
        QCOMPARE(folder.prompts.lastNotice(), kDeleted);
        QCOMPARE(rowsWithCode(folder, QStringLiteral("IDE"), QStringLiteral("19")), 0);

        code->setText(QStringLiteral("٩٠"));
        QCOMPARE(code->text(), QStringLiteral("90"));
        folder.prompts.yesNoAnswers.enqueue(true);
        child<QPushButton>(finder, "Command2")->click();
        QCOMPARE(rowsWithCode(folder, QStringLiteral("IDE"), QStringLiteral("90")), 0);
        QCOMPARE(codes(finder), QStringList{});
    }
};

QTEST_MAIN(FrmCodeTest)
#include "FrmCodeTest.moc"
