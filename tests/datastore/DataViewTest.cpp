#include "datastore/DataView.h"
#include "TestProgramFolder.h"
#include "datastore/Database.h"
#include "widgets/FieldBinding.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSqlQuery>
#include <QtTest>

class DataViewTest : public QObject
{
    Q_OBJECT

    static QStringList codes(const DataView& view)
    {
        QStringList result;
        for (const auto& row : view.rows())
            result << row.value(QStringLiteral("Code"));
        return result;
    }

    // Sets the Group of subjects by code; a null group is stored as NULL.
    static void setGroups(TestProgramFolder& folder, const QList<QPair<const char*, const char*>>& groups)
    {
        QSqlQuery query(Database::connection(folder.path(), Database::File::Clinical));
        for (const auto& [code, group] : groups) {
            query.prepare(QStringLiteral("UPDATE IDE SET \"Group\" = ? WHERE Code = ?"));
            query.addBindValue(group ? QString::fromLatin1(group) : QString());
            query.addBindValue(QString::fromLatin1(code));
            QVERIFY(query.exec());
            QCOMPARE(query.numRowsAffected(), 1);
        }
    }

private slots:
    void filterMatchesWholeValueAsPlainText_data()
    {
        QTest::addColumn<QString>("storedCode");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("matches");
        QTest::newRow("same code") << "12"
                                   << "12" << 1;
        QTest::newRow("leading blank finds nothing") << "12"
                                                     << " 12" << 0;
        QTest::newRow("trailing blank finds nothing") << "12"
                                                      << "12 " << 0;
        QTest::newRow("prefix is not a match") << "123"
                                               << "12" << 0;
        QTest::newRow("apostrophe matched as itself") << "O'Neil"
                                                      << "O'Neil" << 1;
        QTest::newRow("injection text matches nothing") << "12"
                                                        << "x' OR '1'='1" << 0;
        QTest::newRow("injection text stored as a code") << "x' OR '1'='1"
                                                         << "x' OR '1'='1" << 1;
        QTest::newRow("statement separator") << "1; DROP TABLE IDE; --"
                                             << "1; DROP TABLE IDE; --" << 1;
        QTest::newRow("double quote") << "a\"b"
                                      << "a\"b" << 1;
    }
    void filterMatchesWholeValueAsPlainText()
    {
        QFETCH(QString, storedCode);
        QFETCH(QString, typed);
        QFETCH(int, matches);
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"));
        folder.addSubject(storedCode);
        folder.addSubject(QStringLiteral("99"));
        auto view = folder.view(QStringLiteral("IDE"));
        QVERIFY(view->setFilter(QStringLiteral("code='") + typed + u'\''));
        QCOMPARE(view->count(), matches);
        QCOMPARE(view->hasCurrentRow(), matches > 0);
        if (matches)
            QCOMPARE(view->field(QStringLiteral("Code")), storedCode);
        view->requery();
        QCOMPARE(view->count(), 3); // the table is intact whatever was typed
    }

    void unmatchedFilterLeavesNoCurrentRowAndEmptyFields()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("5"), QStringLiteral("Sara"));
        auto view = folder.view(QStringLiteral("IDE"));
        QLineEdit name;
        FieldBinding::bind(*view, QStringLiteral("FName"), &name);
        QCOMPARE(name.text(), QStringLiteral("Sara"));
        view->filterBy(QStringLiteral("Code"), QStringLiteral("6"));
        QVERIFY(!view->hasCurrentRow());
        QCOMPARE(name.text(), QString());
        QVERIFY(!view->setField(QStringLiteral("FName"), QStringLiteral("x")));
    }

    void columnNamesMatchWithoutRegardToCaseAndReservedNamesWork()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("7"));
        auto view = folder.view(QStringLiteral("IDE"));
        QVERIFY(view->setFilter(QStringLiteral("CODE='7'")));
        QCOMPARE(view->count(), 1);
        QVERIFY(view->setFilter(QStringLiteral("group='A'")));
        QCOMPARE(view->count(), 1);
        QVERIFY(view->setField(QStringLiteral("date"), QStringLiteral("1402/01/01")));
        QVERIFY(view->setField(QStringLiteral("TIME"), QStringLiteral("10:00:00")));
        QVERIFY(view->commit());
        QCOMPARE(folder.view(QStringLiteral("IDE"))->field(QStringLiteral("Date")),
                 QStringLiteral("1402/01/01"));
        QVERIFY(!view->setFilter(QStringLiteral("nosuch='7'")));
        QCOMPARE(view->count(), 0);
        QVERIFY(!view->setFilter(QStringLiteral("Code=7")));
        QCOMPARE(view->count(), 0);
    }

    void itemColumnsAreAddressedByTheirNumberText()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("3"));
        folder.setAnswers(QStringLiteral("3"), {QStringLiteral("5"), QString(), QStringLiteral("2")});
        auto view = folder.view(QStringLiteral("Answer"));
        view->filterBy(QStringLiteral("Code"), QStringLiteral("3"));
        QCOMPARE(view->field(Database::itemColumn(1)), QStringLiteral("5"));
        QCOMPARE(view->field(Database::itemColumn(2)), QString());
        QCOMPARE(view->field(Database::itemColumn(3)), QStringLiteral("2"));
        QCOMPARE(view->field(Database::itemColumn(35)), QString());
    }

    void requeryDropsFilterChangesAndPendingRow()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"), QStringLiteral("A"));
        folder.addSubject(QStringLiteral("2"), QStringLiteral("B"));
        auto view = folder.view(QStringLiteral("IDE"));
        view->filterBy(QStringLiteral("Code"), QStringLiteral("2"));
        view->setField(QStringLiteral("FName"), QStringLiteral("changed"));
        view->requery();
        QCOMPARE(view->count(), 2);
        QCOMPARE(view->field(QStringLiteral("Code")), QStringLiteral("1"));
        view->moveLast();
        QCOMPARE(view->field(QStringLiteral("FName")), QStringLiteral("B"));

        view->addNew();
        view->setField(QStringLiteral("Code"), QStringLiteral("3"));
        view->requery();
        QCOMPARE(view->count(), 2);
        QVERIFY(!view->isNewRow());
    }

    void newRowIsStoredByCommitAndStaysCurrent()
    {
        TestProgramFolder folder;
        auto view = folder.view(QStringLiteral("IDE"));
        QVERIFY(!view->hasCurrentRow());
        view->addNew();
        QVERIFY(view->hasCurrentRow());
        view->setField(QStringLiteral("Code"), QStringLiteral("10"));
        QVERIFY(view->commit());
        QVERIFY(!view->isNewRow());
        QCOMPARE(view->field(QStringLiteral("Code")), QStringLiteral("10"));
        QCOMPARE(folder.view(QStringLiteral("IDE"))->count(), 1);
        // A second view on the same file sees it after reading again.
        auto other = folder.view(QStringLiteral("IDE"));
        QCOMPARE(other->field(QStringLiteral("Code")), QStringLiteral("10"));
    }

    void lastRowFollowsStoredOrderNotCodeOrder()
    {
        TestProgramFolder folder;
        for (const char* code : {"1", "5", "4"})
            folder.addSubject(QString::fromLatin1(code));
        auto view = folder.view(QStringLiteral("IDE"));
        QVERIFY(view->moveLast());
        QCOMPARE(view->field(QStringLiteral("Code")), QStringLiteral("4"));
        QVERIFY(view->movePrevious());
        QCOMPARE(view->field(QStringLiteral("Code")), QStringLiteral("5"));
        QCOMPARE(codes(*view), (QStringList{"1", "5", "4"}));
    }

    void sortOrdersRowsAndNavigationFollowsIt()
    {
        TestProgramFolder folder;
        for (const char* code : {"b", "c", "a"})
            folder.addSubject(QString::fromLatin1(code));
        auto view = folder.view(QStringLiteral("IDE"));
        view->setSort(QStringLiteral("Code"));
        QCOMPARE(codes(*view), (QStringList{"a", "b", "c"}));
        QCOMPARE(view->field(QStringLiteral("Code")), QStringLiteral("a"));
        QVERIFY(view->moveNext());
        QCOMPARE(view->field(QStringLiteral("Code")), QStringLiteral("b"));
        QVERIFY(view->moveNext());
        QVERIFY(!view->moveNext());
        view->setSort(QString());
        QCOMPARE(codes(*view), (QStringList{"b", "c", "a"}));
    }

    // Missing (NULL) groups sort first, then empty ones, as the finder's grid shows them, and the
    // walk passes through them in both directions; an edit of the sort field does not move the walk.
    void sortedWalkVisitsEveryRowInBothDirections()
    {
        TestProgramFolder folder;
        for (const char* code : {"1", "2", "3", "4", "5", "6"})
            folder.addSubject(QString::fromLatin1(code));
        setGroups(folder, {{"1", "B"}, {"2", nullptr}, {"3", ""}, {"4", "A"}, {"5", nullptr}, {"6", "B"}});
        auto view = folder.view(QStringLiteral("IDE"));
        view->setSort(QStringLiteral("group"));
        const QStringList sorted{"2", "5", "3", "4", "1", "6"};
        QCOMPARE(codes(*view), sorted);
        QCOMPARE(view->count(), 6);

        QStringList forward{view->field(QStringLiteral("Code"))};
        view->setField(QStringLiteral("Group"), QStringLiteral("Z")); // not committed
        while (view->moveNext())
            forward << view->field(QStringLiteral("Code"));
        QCOMPARE(forward, sorted);

        QVERIFY(view->moveLast());
        QStringList backward{view->field(QStringLiteral("Code"))};
        while (view->movePrevious())
            backward << view->field(QStringLiteral("Code"));
        std::reverse(backward.begin(), backward.end());
        QCOMPARE(backward, sorted);

        // The same under a filter, and back to stored order.
        QVERIFY(view->setFilter(QStringLiteral("Group='B'")));
        QVERIFY(view->moveLast());
        QCOMPARE(view->field(QStringLiteral("Code")), QStringLiteral("6"));
        QVERIFY(view->movePrevious());
        QCOMPARE(view->field(QStringLiteral("Code")), QStringLiteral("1"));
        QVERIFY(!view->movePrevious());
        view->requery();
        view->setSort(QStringLiteral("nosuch"));
        QCOMPARE(codes(*view), (QStringList{"1", "2", "3", "4", "5", "6"}));
    }

    void removingUnderASortStandsOnTheFollowingRowThenTheOneBefore()
    {
        TestProgramFolder folder;
        for (const char* code : {"1", "2", "3", "4"})
            folder.addSubject(QString::fromLatin1(code));
        setGroups(folder, {{"1", "B"}, {"2", nullptr}, {"3", "A"}, {"4", nullptr}});
        auto view = folder.view(QStringLiteral("IDE"));
        view->setSort(QStringLiteral("Group"));
        QCOMPARE(codes(*view), (QStringList{"2", "4", "3", "1"}));
        QVERIFY(view->removeCurrent()); // 2, whose group is missing
        QCOMPARE(view->field(QStringLiteral("Code")), QStringLiteral("4"));
        QVERIFY(view->moveLast());
        QVERIFY(view->removeCurrent()); // 1, the last row
        QCOMPARE(view->field(QStringLiteral("Code")), QStringLiteral("3"));
        QVERIFY(view->removeCurrent());
        QCOMPARE(view->field(QStringLiteral("Code")), QStringLiteral("4"));
        QVERIFY(view->removeCurrent());
        QVERIFY(!view->hasCurrentRow());
        QVERIFY(!view->removeCurrent());
        QCOMPARE(folder.view(QStringLiteral("IDE"))->count(), 0);
    }

    void removingARowThatAnotherViewDeletedFails()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"));
        folder.addSubject(QStringLiteral("2"));
        auto first = folder.view(QStringLiteral("IDE"));
        auto second = folder.view(QStringLiteral("IDE"));
        QVERIFY(second->removeCurrent());
        QVERIFY(!first->removeCurrent());
        QCOMPARE(codes(*first), (QStringList{"2"}));
    }

    // A null value, an empty value and the text  Group=''  all find the rows without a group,
    // whether the field is empty or missing.
    void emptyFilterValueFindsEmptyAndMissingFields()
    {
        TestProgramFolder folder;
        for (const char* code : {"1", "2", "3"})
            folder.addSubject(QString::fromLatin1(code));
        setGroups(folder, {{"1", ""}, {"2", nullptr}, {"3", "A"}});
        auto view = folder.view(QStringLiteral("IDE"));
        QVERIFY(view->filterBy(QStringLiteral("Group"), QString()));
        QCOMPARE(codes(*view), (QStringList{"1", "2"}));
        QVERIFY(view->filterBy(QStringLiteral("Group"), QStringLiteral("")));
        QCOMPARE(view->count(), 2);
        QVERIFY(view->setFilter(QStringLiteral("Group=''")));
        QCOMPARE(view->count(), 2);
        QCOMPARE(view->field(QStringLiteral("Code")), QStringLiteral("1"));
        QVERIFY(view->moveNext());
        QVERIFY(!view->moveNext());
        QVERIFY(view->setFilter(QStringLiteral("Group='A'")));
        QCOMPARE(codes(*view), (QStringList{"3"}));
        // Texts without the form column='value' let nothing pass.
        for (const char* malformed : {"Group='A", "Group=A'", "='A'", "Group", "Group=''A"}) {
            QVERIFY2(!view->setFilter(QString::fromLatin1(malformed)), malformed);
            QCOMPARE(view->count(), 0);
        }
    }

    // Texts are stored exactly as typed, a leading byte order mark included, and found only by
    // themselves; what SQLite cannot hold exactly is refused, never stored as another text.
    void textsAreStoredExactlyOrRefused()
    {
        const QString bom = QString(QChar(0xFEFF)) + QStringLiteral("12");
        const QString emoji = QStringLiteral("x") + QString::fromUtf8("\xF0\x9F\x98\x80"); // x😀
        const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
        TestProgramFolder folder;
        for (const QString& code : {QStringLiteral("12"), bom, emoji, withNul})
            folder.addSubject(code);
        auto view = folder.view(QStringLiteral("IDE"));
        QCOMPARE(codes(*view), (QStringList{"12", bom, emoji, withNul}));
        for (const QString& code : {QStringLiteral("12"), bom, emoji, withNul}) {
            QVERIFY(view->filterBy(QStringLiteral("Code"), code));
            QCOMPARE(view->count(), 1);
            QCOMPARE(view->field(QStringLiteral("Code")), code);
        }
        view->requery();
        view->setSort(QStringLiteral("Code"));
        int walked = view->hasCurrentRow() ? 1 : 0;
        while (view->moveNext())
            ++walked;
        QCOMPARE(walked, 4);

        const QString loneHalf = QStringLiteral("x") + QChar(0xD83D);
        for (const QString& refused : {loneHalf, QString(QChar(0xFFFE)) + QStringLiteral("12"),
                                       QStringLiteral("12") + QChar(0xFFFF), QString(QChar(0xDE00))}) {
            QVERIFY(!DataView::isStorableText(refused));
            QVERIFY(view->filterBy(QStringLiteral("Code"), refused));
            QCOMPARE(view->count(), 0);
            view->requery();
            QVERIFY(view->setField(QStringLiteral("FName"), refused));
            QVERIFY(!view->commit());
            view->cancelChanges();
            view->addNew();
            view->setField(QStringLiteral("Code"), refused);
            QVERIFY(!view->commit());
            view->cancelChanges();
        }
        QCOMPARE(codes(*folder.view(QStringLiteral("IDE"))), (QStringList{"12", bom, emoji, withNul}));
        // A changed field is written as typed, and an unchanged one keeps its stored text.
        view->setSort(QString());
        QVERIFY(view->filterBy(QStringLiteral("Code"), emoji));
        QVERIFY(view->setField(QStringLiteral("LName"), bom));
        QVERIFY(view->commit());
        QCOMPARE(view->field(QStringLiteral("LName")), bom);
        QCOMPARE(view->field(QStringLiteral("FName")), QStringLiteral("Ali"));
    }

    void removeDeletesOnlyTheCurrentRow()
    {
        TestProgramFolder folder;
        for (const char* code : {"1", "2", "3"})
            folder.addSubject(QString::fromLatin1(code));
        auto view = folder.view(QStringLiteral("IDE"));
        view->filterBy(QStringLiteral("Code"), QStringLiteral("2"));
        QVERIFY(view->removeCurrent());
        QVERIFY(!view->hasCurrentRow());
        view->requery();
        QCOMPARE(codes(*view), (QStringList{"1", "3"}));
        auto answers = folder.view(QStringLiteral("Answer"));
        answers->filterBy(QStringLiteral("Code"), QStringLiteral("9"));
        QVERIFY(!answers->removeCurrent());
    }

    void commitOfARowThatWasDeletedMeanwhileFails()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"));
        auto first = folder.view(QStringLiteral("IDE"));
        auto second = folder.view(QStringLiteral("IDE"));
        QVERIFY(second->removeCurrent());
        first->setField(QStringLiteral("FName"), QStringLiteral("x"));
        QVERIFY(!first->commit());
    }

    void transactionWithoutCommitLeavesNothing()
    {
        TestProgramFolder folder;
        const QSqlDatabase db = Database::connection(folder.path(), Database::File::Clinical);
        auto answers = folder.view(QStringLiteral("Answer"));
        {
            Transaction transaction(db);
            answers->addNew();
            answers->setField(QStringLiteral("Code"), QStringLiteral("8"));
            QVERIFY(answers->commit());
        }
        QCOMPARE(folder.view(QStringLiteral("Answer"))->count(), 0);
        {
            Transaction transaction(db);
            answers->addNew();
            answers->setField(QStringLiteral("Code"), QStringLiteral("8"));
            QVERIFY(answers->commit());
            QVERIFY(transaction.commit());
        }
        QCOMPARE(folder.view(QStringLiteral("Answer"))->count(), 1);
    }

    void boundFieldsFollowTheRowAndWriteIntoIt()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"), QStringLiteral("A"));
        folder.addSubject(QStringLiteral("2"), QStringLiteral("B"));
        auto view = folder.view(QStringLiteral("IDE"));
        auto theme = folder.view(QStringLiteral("Theme"));
        QLineEdit name;
        QCheckBox flag;
        FieldBinding::bind(*view, QStringLiteral("FName"), &name);
        FieldBinding::bind(*theme, QStringLiteral("Check1"), &flag);
        view->moveNext();
        QCOMPARE(name.text(), QStringLiteral("B"));
        name.setText(QStringLiteral("Bita"));
        QCOMPARE(view->field(QStringLiteral("FName")), QStringLiteral("Bita"));
        QVERIFY(view->commit());
        QCOMPARE(folder.view(QStringLiteral("IDE"))->rows().at(1).value(QStringLiteral("FName")),
                 QStringLiteral("Bita"));
        view->setField(QStringLiteral("FName"), QStringLiteral("from code"));
        QCOMPARE(name.text(), QStringLiteral("from code"));

        QVERIFY(!flag.isChecked());
        flag.setChecked(true);
        QCOMPARE(theme->field(QStringLiteral("Check1")), QStringLiteral("1"));
    }
};

QTEST_MAIN(DataViewTest)
#include "DataViewTest.moc"
