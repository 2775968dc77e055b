#include "export/ExportTable.h"
#include "ZipEntries.h"
#include "export/CsvFileWriter.h"
#include "export/XlsxFileWriter.h"

#include <QXmlStreamReader>
#include <QtTest>

namespace {

ExportCell text(const QString& value)
{
    return ExportCell::fromText(value);
}

} // namespace

class ExportTableTest : public QObject
{
    Q_OBJECT

private slots:
    void storedNumbersAcceptPersianDigitsAndTheScoreFormat_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<double>("value");
        QTest::newRow("digits") << "30" << true << 30.0;
        QTest::newRow("blanks around") << " 5 " << true << 5.0;
        QTest::newRow("persian") << QStringLiteral("۴۵") << true << 45.0;
        QTest::newRow("arabic-indic") << QStringLiteral("٣٢") << true << 32.0;
        QTest::newRow("persian nineteen") << QStringLiteral("۱۹") << true << 19.0;
        QTest::newRow("every persian digit") << QStringLiteral("۹۸۷۶۵۴۳۲۱۰") << true << 9876543210.0;
        QTest::newRow("every arabic-indic digit") << QStringLiteral("٩٨٧٦٥٤٣٢١٠") << true << 9876543210.0;
        QTest::newRow("persian with blanks") << QStringLiteral(" ۹ ") << true << 9.0;
        QTest::newRow("fraction") << "3.43" << true << 3.43;
        QTest::newRow("separator last") << "4." << true << 4.0;
        QTest::newRow("separator first") << ".5" << true << 0.5;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("separator alone") << "." << false << 0.0;
        QTest::newRow("letters after") << "12a" << false << 0.0;
        QTest::newRow("sign") << "-3" << false << 0.0;
        QTest::newRow("two separators") << "1.2.3" << false << 0.0;
    }
    void storedNumbersAcceptPersianDigitsAndTheScoreFormat()
    {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(double, value);
        const auto number = ExportTable::storedNumber(text);
        QCOMPARE(number.has_value(), isNumber);
        if (isNumber)
            QCOMPARE(*number, value);
    }

    void variablesAreNamedForStatisticsPrograms()
    {
        const QVector<ExportVariable> variables = ExportTable::variables();
        QStringList names;
        for (const ExportVariable& variable : variables)
            names << variable.name;
        QCOMPARE(names.size(), 10 + 35 + 5 + 6 + 7);
        QCOMPARE(names.mid(0, 10), QStringList({"code", "first_name", "last_name", "age", "gender", "marital",
                                                "education", "group", "reg_date", "reg_time"}));
        QCOMPARE(names.at(10), QStringLiteral("q1"));
        QCOMPARE(names.at(44), QStringLiteral("q35"));
        QCOMPARE(names.mid(45),
                 QStringList({"S", "L", "F1", "P", "F2", "miss_S", "miss_L", "miss_F1", "miss_P", "miss_F2",
                              "miss_total", "entry", "med_sec", "fast_items", "flag_same", "flag_run",
                              "flag_fast", "flag_missing"}));
        const QRegularExpression portable(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
        for (const QString& name : names)
            QVERIFY2(portable.match(name).hasMatch(), qPrintable(name));
    }

    void answerMeaningsCarryTheItemTextAndItsScale()
    {
        QStringList items;
        for (int i = 1; i <= 35; ++i)
            items << QStringLiteral("متن سوال %1").arg(i);
        const QVector<ExportVariable> variables = ExportTable::variables(items);
        QCOMPARE(variables.at(10 + 14).name, QStringLiteral("q15"));
        QCOMPARE(variables.at(10 + 14).meaning, QStringLiteral("متن سوال 15 (مقياس: نياز به آزادي)"));
        QVERIFY(variables.at(10).values.startsWith(QStringLiteral("5 = بسيار زياد، 4 = زياد")));
        QVERIFY(variables.at(10).values.contains(QStringLiteral("1 = بسيار کم")));
    }

    void cellsKeepTypesAndCountUnansweredItemsPerScale()
    {
        StoredSubject subject;
        subject.particulars = {
            "007", QStringLiteral("علی"), "",     QStringLiteral("۱۹"), QStringLiteral("زن"), "", "",
            "B",   "1402/02/13",          "10:00"};
        for (QString& answer : subject.answers)
            answer = QStringLiteral("4");
        subject.answers[2].clear();                // item 3: S
        subject.answers[16].clear();               // item 17: F1
        subject.answers[17].clear();               // item 18: F1
        subject.answers[29] = QStringLiteral("0"); // answered, as the scoring counts it
        subject.scores = {"3.43", ".", "4.", "", "x"};
        const ExportRow row = ExportTable::cells(subject);
        QCOMPARE(row.size(), 63);
        QCOMPARE(row.at(0).kind, ExportCell::Kind::Text); // codes stay texts: 007 is not 7
        QCOMPARE(row.at(0).text, QStringLiteral("007"));
        QCOMPARE(row.at(2).kind, ExportCell::Kind::Empty);
        QCOMPARE(row.at(3).kind, ExportCell::Kind::Number);
        QCOMPARE(row.at(3).number, 19.0); // the age in Persian digits is a number
        QCOMPARE(row.at(10 + 2).kind, ExportCell::Kind::Empty);
        QCOMPARE(row.at(10 + 29).number, 0.0);
        QCOMPARE(row.at(10).number, 4.0);
        QCOMPARE(row.at(45).number, 3.43);
        QCOMPARE(row.at(46).kind, ExportCell::Kind::Number); // "." is the score 0
        QCOMPARE(row.at(46).number, 0.0);
        QCOMPARE(row.at(47).number, 4.0);
        QCOMPARE(row.at(48).kind, ExportCell::Kind::Empty); // never scored
        QCOMPARE(row.at(49).kind, ExportCell::Kind::Text);  // kept as stored for the researcher to see
        QList<double> missing;
        for (int i = 50; i < 56; ++i)
            missing << row.at(i).number;
        QCOMPARE(missing, QList<double>({1, 0, 2, 0, 0, 3}));
    }

    // How the administration was entered and taken, and its flags, end the row.
    void cellsEndWithTheEntryTimingsAndFlags()
    {
        StoredSubject subject;
        for (QString& answer : subject.answers)
            answer = QStringLiteral("2");
        AdministrationDetails::Details details;
        details.state = AdministrationDetails::EntryState::Verified;
        details.timed = true;
        details.milliseconds.fill(2500);
        details.milliseconds[0] = 1000;
        ExportTable::describe(subject, details, {});
        ExportRow row = ExportTable::cells(subject);
        QCOMPARE(row.at(56).text, QStringLiteral("verified"));
        QCOMPARE(row.at(57).number, 2.5);
        QCOMPARE(row.at(58).number, 1.0); // one item under the two seconds of the default
        QList<double> flags;
        for (int i = 59; i < 63; ++i)
            flags << row.at(i).number;
        QCOMPARE(flags, QList<double>({1, 0, 1, 0}));

        // Without timings: on paper, nothing timed, no completion flagged.
        subject.answers[3].clear();
        ExportTable::describe(subject, AdministrationDetails::Details(), {});
        row = ExportTable::cells(subject);
        QCOMPARE(row.at(56).text, QStringLiteral("once"));
        QCOMPARE(row.at(57).kind, ExportCell::Kind::Empty);
        QCOMPARE(row.at(58).kind, ExportCell::Kind::Empty);
        QCOMPARE(row.at(61).number, 0.0);
    }

    void csvFieldsAreQuotedAndNeverRunAsFormulas_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain persian") << QStringLiteral("احمدي") << QStringLiteral("احمدي");
        QTest::newRow("apostrophe") << "O'Brien"
                                    << "O'Brien";
        QTest::newRow("comma") << "Smith, Jr."
                               << "\"Smith, Jr.\"";
        QTest::newRow("double quote") << "a \"b\""
                                      << "\"a \"\"b\"\"\"";
        QTest::newRow("line feed") << "a\nb"
                                   << "\"a\nb\"";
        QTest::newRow("formula") << "=HYPERLINK(\"http://x\",\"y\")"
                                 << "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\"";
        QTest::newRow("plus") << "+98 912"
                              << "'+98 912";
        QTest::newRow("minus") << "-2+3"
                               << "'-2+3";
        QTest::newRow("at") << "@SUM(A1)"
                            << "'@SUM(A1)";
        QTest::newRow("blank then equals") << "  =1+1"
                                           << "'  =1+1";
        QTest::newRow("tab") << "\t=1"
                             << "'\t=1";
        QTest::newRow("nul then equals") << QChar(0) + QStringLiteral("=1+1") << u'\'' + QChar(0) + "=1+1";
        QTest::newRow("control then equals") << "\x01=1+1"
                                             << "'\x01=1+1";
        QTest::newRow("unit separator then equals") << "\x1f=1+1"
                                                    << "'\x1f=1+1";
        QTest::newRow("blank then nul")
            << QStringLiteral(" ") + QChar(0) + "=1" << QStringLiteral("' ") + QChar(0) + "=1";
        QTest::newRow("cr alone") << "\r=1"
                                  << "\"'\r=1\"";
        QTest::newRow("equals inside") << "a=b"
                                       << "a=b";
    }
    void csvFieldsAreQuotedAndNeverRunAsFormulas()
    {
        QFETCH(QString, value);
        QFETCH(QString, field);
        QCOMPARE(CsvFileWriter::field(text(value)), field);
    }

    void csvNumbersAreWrittenPlainly()
    {
        QCOMPARE(CsvFileWriter::field(ExportCell::fromNumber(3.43)), QStringLiteral("3.43"));
        QCOMPARE(CsvFileWriter::field(ExportCell::fromNumber(4)), QStringLiteral("4"));
        QCOMPARE(CsvFileWriter::field(ExportCell::fromNumber(0)), QStringLiteral("0"));
        QCOMPARE(CsvFileWriter::field(ExportCell::fromNumber(100000)), QStringLiteral("100000"));
        QCOMPARE(CsvFileWriter::field(ExportCell::empty()), QString());
    }

    void workbookTextsThatXmlCannotHoldAreEscapedWhole()
    {
        const QString nonCharacters =
            QStringLiteral("a") + QChar(0xFFFF) + QStringLiteral("b") + QChar(0xFFFE);
        const QString lone = QStringLiteral("c") + QChar(0xD83D) + QStringLiteral("d") + QChar(0xDC62);
        const QString pair = QStringLiteral("e") + QChar(0xD83D) + QChar(0xDE00);
        QCOMPARE(XlsxFileWriter::cellText(nonCharacters), QByteArray("a_xFFFF_b_xFFFE_"));
        QCOMPARE(XlsxFileWriter::cellText(lone), QStringLiteral("c\uFFFDd\uFFFD").toUtf8());
        QCOMPARE(XlsxFileWriter::cellText(pair), pair.toUtf8());
        QCOMPARE(XlsxFileWriter::cellText(QStringLiteral("_x00e9_ _x12_ _xABCD")),
                 QByteArray("_x005F_x00e9_ _x12_ _xABCD"));
        QCOMPARE(XlsxFileWriter::cellText(QStringLiteral("n") + QChar(0) + QStringLiteral("m")),
                 QByteArray("n_x0000_m"));

        // The sheet stays well-formed XML, and the rows after such a text are all there.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("texts.xlsx"));
        XlsxFileWriter writer;
        QVERIFY(writer.open(path, ExportTable::variables()));
        for (const QString& value : {nonCharacters, lone, QStringLiteral("last")})
            QVERIFY(writer.writeRow({text(value)}));
        QVERIFY(writer.commit());
        QXmlStreamReader sheet(ZipEntries::read(path, QStringLiteral("xl/worksheets/sheet1.xml")));
        QStringList cells;
        while (!sheet.atEnd()) {
            if (sheet.readNext() == QXmlStreamReader::StartElement && sheet.name() == u"t")
                cells << sheet.readElementText();
        }
        QVERIFY2(!sheet.hasError(), qPrintable(sheet.errorString()));
        QCOMPARE(cells.mid(cells.size() - 3),
                 QStringList({"a_xFFFF_b_xFFFE_", QStringLiteral("c\uFFFDd\uFFFD"), "last"}));
    }

    void aFinishedWorkbookIsCheckedForEveryRow()
    {
        // Enough rows that the read-back crosses many chunk boundaries.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rows.xlsx"));
        StoredSubject subject;
        subject.particulars[0] = QStringLiteral("1");
        subject.answers.fill(QStringLiteral("3"));
        XlsxFileWriter writer;
        QVERIFY(writer.open(path, ExportTable::variables()));
        for (int i = 0; i < 3000; ++i)
            QVERIFY(writer.writeRow(ExportTable::cells(subject)));
        QVERIFY(writer.commit());
        QVERIFY(XlsxFileWriter::hasAllRows(path, 3001));
        QVERIFY(!XlsxFileWriter::hasAllRows(path, 3000));
        QVERIFY(!XlsxFileWriter::hasAllRows(path, 3002));
        QVERIFY(!XlsxFileWriter::hasAllRows(dir.filePath(QStringLiteral("missing.xlsx")), 1));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"rows.xlsx"}));
    }
};

QTEST_GUILESS_MAIN(ExportTableTest)
#include "ExportTableTest.moc"
