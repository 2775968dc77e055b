#include "datastore/SelectionQuery.h"
#include "TestProgramFolder.h"
#include "TestServer.h"
#include "datastore/ClinicServer.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "export/SubjectRowReader.h"
#include "mainwindow/SubjectListModel.h"
#include "reports/SubjectListReport.h"

#include <QSqlQuery>
#include <QtTest>

#include <algorithm>

// The subjects of a selection, and their order, as each reader of them finds them: the data view,
// the finder's grid and its name lists, the print and the export, over a file of awkward values.
class SelectionQueryTest : public QObject
{
    Q_OBJECT

    // A stored subject: Code, FName, LName, Group; a null QVariant is a missing value.
    using Stored = std::array<QVariant, 4>;

    static QVariant missing() { return QVariant(); }
    static QString bom() { return QString(QChar(0xFEFF)); }

    static QList<Stored> awkwardSubjects()
    {
        const QString rad = QStringLiteral("Rad");
        const QString ahmadi = QStringLiteral("احمدي");
        return {
            {QStringLiteral("3"), QStringLiteral("Ali"), rad, missing()},
            {QStringLiteral("1"), QStringLiteral("علي"), ahmadi, QStringLiteral("A")},
            {QStringLiteral("10"), QStringLiteral(""), rad, QStringLiteral("")},
            {bom() + QStringLiteral("2"), QStringLiteral("Sara"), bom() + rad, QStringLiteral("B")},
            {QStringLiteral("2"), QStringLiteral(" "), missing(), QStringLiteral("A")},
            {QStringLiteral("12"), QStringLiteral("Sara"), rad, QStringLiteral(" ")},
            {missing(), QStringLiteral("Reza"), ahmadi, QStringLiteral("A")},
            {QStringLiteral(""), QStringLiteral("Ali"), rad, missing()},
            {QStringLiteral("5"), QStringLiteral("سارا"), rad + QStringLiteral(" "), QStringLiteral("ب")},
            // Equal names, different codes, stored out of their order.
            {QStringLiteral("7"), QStringLiteral("Ali"), ahmadi, QStringLiteral("B")},
            {QStringLiteral("6"), QStringLiteral("Ali"), ahmadi, QStringLiteral("B")},
        };
    }

    static QStringList columnNames()
    {
        return {QStringLiteral("Code"), QStringLiteral("FName"), QStringLiteral("LName"),
                QStringLiteral("Group")};
    }

    // A row as every path can show it: its four texts, a missing value read as empty.
    static QString identity(const QString& code, const QString& first, const QString& last,
                            const QString& group)
    {
        return QStringList{code, first, last, group}.join(u'|');
    }
    // Qt's PostgreSQL driver drops a leading U+FEFF from a text it reads (the server holds it, and
    // the filters find it): a row read from the server shows its texts without it.
    static QString identity(const Stored& row, bool readFromServer)
    {
        QStringList texts;
        for (const QVariant& value : row) {
            QString text = value.toString();
            if (readFromServer && text.startsWith(QChar(0xFEFF)))
                text.remove(0, 1);
            texts << text;
        }
        return identity(texts[0], texts[1], texts[2], texts[3]);
    }

    static bool store(QSqlDatabase db, const QList<Stored>& rows)
    {
        Transaction transaction(db);
        QSqlQuery insert(db);
        if (!insert.prepare(
                QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"FName\", \"LName\", \"Group\") VALUES "
                               "(CAST(? AS TEXT), CAST(? AS TEXT), CAST(? AS TEXT), CAST(? AS TEXT))")))
            return false;
        for (const Stored& row : rows) {
            for (const QVariant& value : row) {
                // Bound as bytes under a cast, so that a leading U+FEFF is stored as typed.
                insert.addBindValue(value.isNull() ? QVariant()
                                                   : SqlDialect::textValue(db, value.toString(),
                                                                           SqlDialect::textEncoding(db)));
            }
            if (!insert.exec())
                return false;
        }
        return transaction.commit();
    }

    // What a selection means, worked out here without SQL: the rows whose field equals the value as
    // a whole text (an empty value finds empty and missing fields, an unstorable one nothing), a
    // missing value first, then the texts by their bytes, then stored order.
    static QStringList expected(const QList<Stored>& rows, const SubjectSelection& selection, bool onServer)
    {
        auto index = [](const QString& name) {
            for (int i = 0; i < 4; ++i) {
                if (columnNames().at(i).compare(name, Qt::CaseInsensitive) == 0)
                    return i;
            }
            return -1;
        };
        QList<Stored> passing;
        const int filter = index(selection.filterColumn);
        for (const Stored& row : rows) {
            if (!selection.filterColumn.isEmpty()) {
                if (filter < 0 || !SqlDialect::isStorableText(selection.filterValue))
                    continue;
                const QVariant& field = row[filter];
                if (selection.filterValue.isEmpty()
                        ? !(field.isNull() || field.toString().isEmpty())
                        : (field.isNull() || field.toString() != selection.filterValue))
                    continue;
            }
            passing << row;
        }
        const int order = index(selection.orderColumn);
        if (order >= 0) {
            std::stable_sort(passing.begin(), passing.end(), [order](const Stored& a, const Stored& b) {
                if (a[order].isNull() || b[order].isNull())
                    return a[order].isNull() && !b[order].isNull();
                return a[order].toString().toUtf8() < b[order].toString().toUtf8();
            });
        }
        QStringList result;
        for (const Stored& row : passing)
            result << identity(row, onServer);
        return result;
    }

    static QStringList throughDataView(const QSqlDatabase& db, const SubjectSelection& selection)
    {
        DataView view(db, QStringLiteral("IDE"));
        view.setSort(selection.orderColumn);
        if (!selection.filterColumn.isEmpty())
            view.filterBy(selection.filterColumn, selection.filterValue);
        QStringList rows;
        for (const DataView::Row& row : view.rows()) {
            rows << identity(row.value(QStringLiteral("Code")), row.value(QStringLiteral("FName")),
                             row.value(QStringLiteral("LName")), row.value(QStringLiteral("Group")));
        }
        return rows;
    }

    // The view's walk, row by row in both directions.
    static QPair<QStringList, QStringList> walkedThroughDataView(const QSqlDatabase& db,
                                                                 const SubjectSelection& selection)
    {
        DataView view(db, QStringLiteral("IDE"));
        view.setSort(selection.orderColumn);
        if (!selection.filterColumn.isEmpty())
            view.filterBy(selection.filterColumn, selection.filterValue);
        auto current = [&view] {
            return identity(view.field(QStringLiteral("Code")), view.field(QStringLiteral("FName")),
                            view.field(QStringLiteral("LName")), view.field(QStringLiteral("Group")));
        };
        QStringList forward;
        for (bool on = view.moveFirst(); on; on = view.moveNext())
            forward << current();
        QStringList backward;
        for (bool on = view.moveLast(); on; on = view.movePrevious())
            backward.prepend(current());
        return {forward, backward};
    }

    static QStringList throughGrid(const QSqlDatabase& db, const SubjectSelection& selection)
    {
        SubjectListModel grid(db);
        if (!grid.show(selection))
            return {QStringLiteral("failed: ") + grid.lastError()};
        while (grid.canFetchMore({}))
            grid.fetchMore({});
        QStringList rows;
        for (int row = 0; row < grid.rowCount(); ++row)
            rows << identity(grid.text(row, 0), grid.text(row, 1), grid.text(row, 2), grid.text(row, 3));
        return rows;
    }

    static QStringList throughExport(const QSqlDatabase& db, const SubjectSelection& selection)
    {
        SubjectRowReader reader(db, selection);
        const int count = reader.count();
        if (!reader.start())
            return {QStringLiteral("failed: ") + reader.lastError()};
        QStringList rows;
        StoredSubject subject;
        while (reader.next(&subject)) {
            // Code, FName, LName … Group is the eighth particular.
            rows << identity(subject.particulars[0], subject.particulars[1], subject.particulars[2],
                             subject.particulars[7]);
        }
        if (count != rows.size())
            rows << QStringLiteral("counted %1").arg(count);
        return rows;
    }

    static QStringList throughPrint(const QString& folder, const SubjectSelection& selection)
    {
        QStringList rows;
        for (const ReportRow& row : SubjectListReport::selectedSubjects(folder, selection)) {
            rows << identity(row.value(QStringLiteral("Code")), row.value(QStringLiteral("FName")),
                             row.value(QStringLiteral("LName")), row.value(QStringLiteral("Group")));
        }
        return rows;
    }

    // The distinct non-empty last names of the expected rows, in the order they first show (as
    // stored; read from the server as its driver reads them).
    static QStringList expectedNames(const QList<Stored>& stored, const SubjectSelection& selection,
                                     bool onServer)
    {
        QStringList names;
        for (const QString& row : expected(stored, selection, false)) {
            const QString name = row.section(u'|', 2, 2);
            if (!name.isEmpty() && !names.contains(name))
                names << name;
        }
        if (onServer) {
            for (QString& name : names) {
                if (name.startsWith(QChar(0xFEFF)))
                    name.remove(0, 1);
            }
        }
        return names;
    }

    static void compareAllPaths(const QString& folder, const QList<Stored>& stored,
                                const SubjectSelection& selection, bool withPrint)
    {
        const QSqlDatabase db = Database::connection(folder, Database::File::Clinical);
        const QStringList want = expected(stored, selection, SqlDialect::isServer(db));
        QCOMPARE(throughDataView(db, selection), want);
        const auto [forward, backward] = walkedThroughDataView(db, selection);
        QCOMPARE(forward, want);
        QCOMPARE(backward, want);
        QCOMPARE(throughGrid(db, selection), want);
        QCOMPARE(throughExport(db, selection), want);
        if (withPrint)
            QCOMPARE(throughPrint(folder, selection), want);
        QCOMPARE(subjectColumnValues(db, QStringLiteral("LName"), selection),
                 expectedNames(stored, selection, SqlDialect::isServer(db)));
    }

    // The file of the program folder, and the same subjects on the clinic server where one is at hand.
    struct Places
    {
        TestServer server;
        TestProgramFolder file;
        TestProgramFolder onServer;
        QList<TestProgramFolder*> folders{&file};
    };
    static bool prepare(Places& places, const QList<Stored>& rows)
    {
        if (places.server.available()) {
            const ClinicServer::Result used = ClinicServer::useServer(
                places.onServer.path(), places.server.settings(), places.server.password());
            if (!used.ok)
                return false;
            places.folders << &places.onServer;
        }
        for (TestProgramFolder* folder : places.folders) {
            if (!store(Database::connection(folder->path(), Database::File::Clinical), rows))
                return false;
        }
        return true;
    }

private slots:
    void everyPathFindsTheSameSubjectsInTheSameOrder_data()
    {
        QTest::addColumn<SubjectSelection>("selection");
        const QString code = QStringLiteral("Code");
        const QString group = QStringLiteral("Group");
        QTest::newRow("every subject by code") << SubjectSelection{};
        QTest::newRow("every subject in stored order") << SubjectSelection{QString(), QString(), QString()};
        QTest::newRow("every subject by group") << SubjectSelection{QString(), QString(), group};
        QTest::newRow("by a column in small letters") << SubjectSelection{QString(), QString(), "lname"};
        QTest::newRow("by last name") << SubjectSelection{QString(), QString(), "LName"};
        QTest::newRow("by an unknown column: stored order")
            << SubjectSelection{QString(), QString(), "nosuch"};
        QTest::newRow("empty group finds missing too") << SubjectSelection{group, QString(), code};
        QTest::newRow("empty group, not null") << SubjectSelection{group, QStringLiteral(""), group};
        QTest::newRow("a blank group finds only the blank") << SubjectSelection{group, " ", code};
        QTest::newRow("Latin name, not with a mark or a blank") << SubjectSelection{"LName", "Rad", group};
        QTest::newRow("name with a leading U+FEFF") << SubjectSelection{"lname", bom() + "Rad", code};
        QTest::newRow("code with a leading U+FEFF") << SubjectSelection{code, bom() + "2", code};
        QTest::newRow("Persian name, missing code first") << SubjectSelection{"LName", "احمدي", code};
        QTest::newRow("Persian first name") << SubjectSelection{"FName", "سارا", code};
        QTest::newRow("equal first names by code") << SubjectSelection{"FName", "Ali", code};
        QTest::newRow("missing last name") << SubjectSelection{"LName", QString(), group};
        QTest::newRow("Persian group") << SubjectSelection{group, "ب", code};
        QTest::newRow("unstorable value finds nothing")
            << SubjectSelection{"LName", QStringLiteral("Rad") + QChar(0xD800), code};
        QTest::newRow("U+FFFE finds nothing") << SubjectSelection{code, QString(QChar(0xFFFE)) + "2", code};
        QTest::newRow("unknown filter column finds nothing") << SubjectSelection{"nosuch", "Rad", code};
        QTest::newRow("apostrophe finds nothing") << SubjectSelection{"LName", "x' OR '1'='1", code};
    }

    void everyPathFindsTheSameSubjectsInTheSameOrder()
    {
        QFETCH(SubjectSelection, selection);
        static Places* places = nullptr;
        static const QList<Stored> rows = awkwardSubjects();
        if (!places) {
            places = new Places; // kept for the rows of the table, dropped with the test program
            QVERIFY(prepare(*places, rows));
        }
        for (TestProgramFolder* folder : places->folders) {
            // The print reads the program folder's own file.
            compareAllPaths(folder->path(), rows, selection, true);
        }
    }

    // Pages of the grid and the walk of a view go on from a row's position: past pages that end
    // among missing values, among empty ones and among texts that differ only by a leading U+FEFF.
    void pagesGoOnFromWhereTheLastEnded()
    {
        QList<Stored> rows;
        for (int i = 0; i < 150; ++i) {
            const QString n = QString::number(i);
            rows << Stored{"m" + n, "Ali", "Rad", missing()}
                 << Stored{"e" + n, "Ali", "Rad", QStringLiteral("")}
                 << Stored{"b" + n, "Ali", "Rad", bom() + "x"}
                 << Stored{"x" + n, "Ali", "Rad", QStringLiteral("x")};
        }
        Places places;
        QVERIFY(prepare(places, rows));
        for (TestProgramFolder* folder : places.folders) {
            for (const SubjectSelection& selection :
                 {SubjectSelection{QString(), QString(), QStringLiteral("Group")},
                  SubjectSelection{QStringLiteral("Group"), QString(), QStringLiteral("Group")},
                  SubjectSelection{QString(), QString(), QString()}}) {
                compareAllPaths(folder->path(), rows, selection, false);
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }

    // A value another program kept as bytes orders after every text; the walk and the pages pass it
    // once and come to their end.
    void valuesKeptAsBytesAreListedOnce()
    {
        TestProgramFolder folder;
        QSqlDatabase db = Database::connection(folder.path(), Database::File::Clinical);
        QSqlQuery insert(db);
        QVERIFY(insert.prepare(QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"Group\") VALUES (?, ?)")));
        const QList<QVariantList> rows{{QStringLiteral("1"), QByteArray("B")},
                                       {QStringLiteral("2"), QStringLiteral("A")},
                                       {QStringLiteral("3"), QByteArray("A")},
                                       {QStringLiteral("4"), QVariant()}};
        for (const QVariantList& row : rows) {
            for (const QVariant& value : row)
                insert.addBindValue(value);
            QVERIFY(insert.exec());
        }
        const SubjectSelection byGroup{QString(), QString(), QStringLiteral("Group")};
        const auto [forward, backward] = walkedThroughDataView(db, byGroup);
        QCOMPARE(forward.size(), 4);
        QCOMPARE(forward.first().section(u'|', 0, 0), QStringLiteral("4"));
        QCOMPARE(forward.at(1).section(u'|', 0, 0), QStringLiteral("2"));
        QCOMPARE(backward, forward);
        QCOMPARE(throughDataView(db, byGroup), forward);
        QCOMPARE(throughGrid(db, byGroup), forward);
        QCOMPARE(throughExport(db, byGroup), forward);
    }

    // A file made elsewhere may keep its texts in UTF-16: a value is bound so that SQLite takes it as
    // the text it is (of odd length too), not as bytes of another encoding. (Such a file loses a
    // leading U+FEFF of a text, as SQLite takes a UTF-16 text.)
    void aFileInUtf16FindsItsSubjects()
    {
        QTemporaryDir dir;
        const QString name = QStringLiteral("utf16 file");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(dir.filePath(QStringLiteral("DABSH.skn")));
            QVERIFY(db.open());
            QSqlQuery make(db);
            QVERIFY(make.exec(QStringLiteral("PRAGMA encoding = 'UTF-16le'")));
            QStringList columns;
            for (const QString& column : Database::subjectColumns())
                columns << quotedIdentifier(column) + QStringLiteral(" TEXT");
            QVERIFY(make.exec(QStringLiteral("CREATE TABLE \"IDE\" (%1)").arg(columns.join(u','))));
            QStringList answers;
            for (const QString& column : Database::answerColumns())
                answers << quotedIdentifier(column) + QStringLiteral(" TEXT");
            QVERIFY(make.exec(QStringLiteral("CREATE TABLE \"Answer\" (%1)").arg(answers.join(u','))));
            QVERIFY(make.exec(QStringLiteral("PRAGMA encoding")) && make.next());
            QCOMPARE(make.value(0).toString(), QStringLiteral("UTF-16le"));
            QList<Stored> rows{{QStringLiteral("1"), "Ali", QStringLiteral("احمدي"), "A"},
                               {QStringLiteral("2"), "Sara", "Rad", "B"},
                               {QStringLiteral("3"), "Reza", QStringLiteral("احمدي"), "B"}};
            QVERIFY(store(db, rows));
            for (const SubjectSelection& selection :
                 {SubjectSelection{QStringLiteral("LName"), QStringLiteral("احمدي"), QStringLiteral("Code")},
                  SubjectSelection{QStringLiteral("LName"), "Rad", QStringLiteral("Group")}}) {
                const QStringList want = expected(rows, selection, false);
                QVERIFY(!want.isEmpty());
                QCOMPARE(throughDataView(db, selection), want);
                QCOMPARE(throughGrid(db, selection), want);
                QCOMPARE(throughExport(db, selection), want);
                const auto [forward, backward] = walkedThroughDataView(db, selection);
                QCOMPARE(forward, want);
                QCOMPARE(backward, want);
            }
            // What a view writes into such a file is found as typed.
            DataView view(db, QStringLiteral("IDE"));
            QVERIFY(view.filterBy(QStringLiteral("Code"), QStringLiteral("3")));
            QVERIFY(view.setField(QStringLiteral("FName"), QStringLiteral("رضا")));
            QVERIFY(view.commit());
            QVERIFY(view.filterBy(QStringLiteral("FName"), QStringLiteral("رضا")));
            QCOMPARE(view.count(), 1);
            QCOMPARE(view.field(QStringLiteral("Code")), QStringLiteral("3"));
        }
        QSqlDatabase::removeDatabase(name);
    }

    // The finder's name box offers a name at the place of its first subject in the grid, not at
    // the least code of any of its subjects next to the least stored place of any other.
    void namesFollowTheFirstRowThatShowsThem()
    {
        Places places;
        QVERIFY(prepare(places, {{QStringLiteral("9"), "Sara", "Rad", "B"},
                                 {QStringLiteral("2"), "Ali", "Karimi", "A"},
                                 {QStringLiteral("1"), "Reza", "Rad", "A"},
                                 {missing(), "Ali", "Amini", "B"},
                                 {QStringLiteral("99"), "Ali", "Amini", "A"}}));
        for (TestProgramFolder* folder : places.folders) {
            const QSqlDatabase db = Database::connection(folder->path(), Database::File::Clinical);
            QCOMPARE(subjectColumnValues(db, QStringLiteral("LName"), {QString(), QString(), "Group"}),
                     (QStringList{"Karimi", "Rad", "Amini"}));
            QCOMPARE(subjectColumnValues(db, QStringLiteral("LName"), {}),
                     (QStringList{"Amini", "Rad", "Karimi"}));
        }
    }
};

QTEST_MAIN(SelectionQueryTest)
#include "SelectionQueryTest.moc"
