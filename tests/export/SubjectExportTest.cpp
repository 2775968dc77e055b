#include "export/SubjectExport.h"
#include "TestProgramFolder.h"
#include "ZipEntries.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "export/ExportCommand.h"
#include "export/ExportTexts.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlQuery>
#include <QTimer>
#include <QXmlStreamReader>
#include <QtTest>

using Kind = FakePrompts::Kind;

namespace {

QString answersCsv(const QStringList& answers)
{
    return answers.join(u',');
}

void writeEarlierExport(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write("earlier export"), 14);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A part of the .xlsx container, as an office program reads it.
QString zipEntry(const QString& archive, const QString& entry)
{
    return QString::fromUtf8(ZipEntries::read(archive, entry));
}

// The XML of one cell of a sheet, e.g. cell(sheet, "D2").
QString cell(const QString& sheetXml, const QString& reference)
{
    const QRegularExpression pattern(QStringLiteral("<c r=\"%1\"(?: [^>]*?)?(?:/>|>.*?</c>)").arg(reference));
    return pattern.match(sheetXml).captured(0);
}

// The permission bits of a file, without the ones that only say what this user may do.
QFile::Permissions modeOf(const QString& path)
{
    constexpr QFile::Permissions kBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                         QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                         QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return QFileInfo(path).permissions() & kBits;
}

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

// The texts of a sheet's cells by reference, as a spreadsheet reads them: the XML must be well
// formed, and _xHHHH_ stands for the character HHHH. Empty when the XML is broken.
QHash<QString, QString> cellTexts(const QString& sheetXml)
{
    QHash<QString, QString> texts;
    QXmlStreamReader reader(sheetXml);
    QString reference;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"c") {
            reference = reader.attributes().value(QStringLiteral("r")).toString();
        } else if (reader.isStartElement() && reader.name() == u"t") {
            QString text = reader.readElementText();
            static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
            QString decoded;
            qsizetype from = 0;
            for (auto it = escape.globalMatch(text); it.hasNext();) {
                const QRegularExpressionMatch match = it.next();
                decoded += text.mid(from, match.capturedStart() - from);
                decoded += QChar(static_cast<char16_t>(match.captured(1).toUShort(nullptr, 16)));
                from = match.capturedEnd();
            }
            texts[reference] += decoded + text.mid(from);
        }
    }
    if (reader.hasError())
        return {};
    return texts;
}

} // namespace

class SubjectExportTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    QTemporaryDir m_out;

    FakePrompts& prompts() { return m_folder->prompts; }

    void setSubject(const QString& code, const QHash<QString, QString>& fields)
    {
        auto subjects = m_folder->view(QStringLiteral("IDE"));
        QVERIFY(subjects->filterBy(QStringLiteral("Code"), code));
        for (auto it = fields.begin(); it != fields.end(); ++it)
            QVERIFY(subjects->setField(it.key(), it.value()));
        QVERIFY(subjects->commit());
    }

    // Exports the selection to the file the user "chooses"; true when a file was written.
    bool exportTo(const QString& path, const SubjectSelection& selection = {})
    {
        prompts().fileAnswers.enqueue(path);
        return ExportCommand(m_folder->context(), nullptr).run(selection, ExportCommand::Choice{});
    }

    QStringList messagesTitled(const QString& title) const
    {
        QStringList texts;
        for (const FakePrompts::Shown& shown : m_folder->prompts.shown) {
            if (shown.kind == Kind::Message && shown.title == title)
                texts << shown.text;
        }
        return texts;
    }

    // Adds subjects "big1" … with every item answered, straight into the file.
    void addManySubjects(int count)
    {
        QSqlDatabase db = Database::connection(m_folder->path(), Database::File::Clinical);
        QSqlQuery query(db);
        const QString numbers =
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ")
                .arg(count);
        QVERIFY(query.exec(numbers + QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"FName\", \"LName\", "
                                                    "\"Sen\", \"Group\") SELECT 'big' || i, 'نام' || i, "
                                                    "'خانواده', '40', 'C' FROM n")));
        QStringList columns{QStringLiteral("\"Code\"")};
        QStringList values{QStringLiteral("'big' || i")};
        for (int item = 1; item <= Database::kItemCount; ++item) {
            columns << u'"' + Database::itemColumn(item) + u'"';
            values << QString::number(1 + item % 5).prepend(u'\'').append(u'\'');
        }
        QVERIFY(query.exec(numbers + QStringLiteral("INSERT INTO \"Answer\" (%1) SELECT %2 FROM n")
                                         .arg(columns.join(u','), values.join(u','))));
    }

    // Files of the output folder, hidden temporary ones included.
    QStringList outputFiles() const
    {
        return QDir(m_out.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot | QDir::Dirs);
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        // 1: Persian names, all answered, scored.
        m_folder->addSubject(QStringLiteral("1"), QStringLiteral("علی"), QStringLiteral("احمدي"));
        m_folder->setAnswers(QStringLiteral("1"), QStringList(35, QStringLiteral("5")));
        setSubject(QStringLiteral("1"), {{"S", "5."}, {"L", "5."}, {"F1", "5."}, {"P", "5."}, {"F2", "5."}});
        // 2: an apostrophe and a comma, items 3 and 17 unanswered, never scored.
        m_folder->addSubject(QStringLiteral("2"), QStringLiteral("O'Brien"), QStringLiteral("Smith, Jr."));
        QStringList answers(35, QStringLiteral("4"));
        answers[2].clear();
        answers[16].clear();
        m_folder->setAnswers(QStringLiteral("2"), answers);
        // 3: a formula for a name, Persian digits for the age, no answer row, odd score texts.
        m_folder->addSubject(QStringLiteral("3"), QStringLiteral("=HYPERLINK(\"http://x.invalid\",\"y\")"),
                             QStringLiteral("-2+3"), false);
        setSubject(QStringLiteral("3"), {{"Sen", QStringLiteral("۱۹")},
                                         {"Group", "B"},
                                         {"Jens", QStringLiteral("زن")},
                                         {"S", "3.43"},
                                         {"L", "."},
                                         {"F1", "4."},
                                         {"P", "2.86"},
                                         {"F2", "1."}});
        // 10: sorts between 1 and 2 as a text, as the finder's grid shows it.
        m_folder->addSubject(QStringLiteral("10"), QStringLiteral("Sara"), QStringLiteral("Karimi"));
        prompts().clear();
    }
    void cleanup()
    {
        m_folder.reset();
        QVERIFY(QDir(m_out.path()).removeRecursively());
        QVERIFY(QDir().mkpath(m_out.path()));
    }

    void csvHoldsEverySelectedSubjectExactly()
    {
        const QString path = m_out.filePath(QStringLiteral("all.csv"));
        QVERIFY(exportTo(path));
        const QString header =
            QStringLiteral(
                "code,first_name,last_name,age,gender,marital,education,group,reg_date,reg_time,") +
            [] {
                QStringList q;
                for (int i = 1; i <= 35; ++i)
                    q << QStringLiteral("q%1").arg(i);
                return q.join(u',');
            }() +
            QStringLiteral(
                ",S,L,F1,P,F2,miss_S,miss_L,miss_F1,miss_P,miss_F2,miss_total,entry,med_sec,fast_items,"
                "flag_same,flag_run,flag_fast,flag_missing");
        // Typed once, without timings; the same answer everywhere and many unanswered are flagged.
        const QString same = QStringLiteral(",once,,,1,0,0,0");
        const QString missing = QStringLiteral(",once,,,0,0,0,1");
        QStringList two(35, QStringLiteral("4"));
        two[2].clear();
        two[16].clear();
        const QString particulars = QStringLiteral(",30,مرد,مجرد,ليسانس,A,1402/02/13,14:05:09,");
        const QStringList lines{
            header,
            QStringLiteral("1,علی,احمدي") + particulars + answersCsv(QStringList(35, QStringLiteral("5"))) +
                QStringLiteral(",5,5,5,5,5,0,0,0,0,0,0") + same,
            QStringLiteral("10,Sara,Karimi") + particulars + answersCsv(QStringList(35, QString())) +
                QStringLiteral(",,,,,,7,7,7,7,7,35") + missing,
            QStringLiteral("2,O'Brien,\"Smith, Jr.\"") + particulars + answersCsv(two) +
                QStringLiteral(",,,,,,1,0,1,0,0,2") + same,
            QStringLiteral("3,\"'=HYPERLINK(\"\"http://x.invalid\"\",\"\"y\"\")\",'-2+3,19,زن,مجرد,ليسانس,B,"
                           "1402/02/13,14:05:09,") +
                answersCsv(QStringList(35, QString())) + QStringLiteral(",3.43,0,4,2.86,1,7,7,7,7,7,35") +
                missing,
        };
        const QByteArray expected =
            QByteArrayLiteral("\xEF\xBB\xBF") + (lines.join(QStringLiteral("\r\n")) + "\r\n").toUtf8();
        QCOMPARE(readAll(path), expected);
        QCOMPARE(outputFiles(), QStringList({QStringLiteral("all.csv")}));
    }

    void exportTakesTheFinderFilterAndOrder()
    {
        const QString path = m_out.filePath(QStringLiteral("group.csv"));
        QVERIFY(exportTo(path, {QStringLiteral("group"), QStringLiteral("A"), QStringLiteral("LName")}));
        const QList<QByteArray> lines = readAll(path).split('\n');
        QCOMPARE(lines.size(), 5); // header, three subjects, nothing after the last CR LF
        QVERIFY(lines.last().isEmpty());
        QStringList codes;
        for (qsizetype i = 1; i < 4; ++i)
            codes << QString::fromUtf8(lines.at(i).left(lines.at(i).indexOf(',')));
        // Ordered by last name as text: "Karimi", "Smith, Jr.", then the Persian name.
        QCOMPARE(codes, QStringList({"10", "2", "1"}));

        // A name with an apostrophe is matched as itself.
        QVERIFY(exportTo(path, {QStringLiteral("FName"), QStringLiteral("O'Brien")}));
        QCOMPARE(readAll(path).count("\r\n"), 2);
    }

    void xlsxStoresNumbersAsNumbersAndExplainsTheVariables()
    {
        const QString path = m_out.filePath(QStringLiteral("all.xlsx"));
        QVERIFY(exportTo(path));
        const QString sheet = zipEntry(path, QStringLiteral("xl/worksheets/sheet1.xml"));
        QVERIFY2(!sheet.isEmpty(), "the workbook could not be read");
        QVERIFY(sheet.contains(QStringLiteral("rightToLeft=\"1\"")));
        QVERIFY(sheet.contains(QStringLiteral("state=\"frozen\"")));
        QVERIFY(sheet.contains(QStringLiteral("<col ")));
        // Row 2 is subject 1: its code a text, its age and answers numbers.
        QVERIFY(cell(sheet, "A2").contains(QStringLiteral("t=\"inlineStr\"")));
        QVERIFY(cell(sheet, "A2").contains(QStringLiteral("<t xml:space=\"preserve\">1</t>")) ||
                cell(sheet, "A2").contains(QStringLiteral("<t>1</t>")));
        QVERIFY(cell(sheet, "B2").contains(QStringLiteral("علی")));
        QVERIFY(cell(sheet, "D2").contains(QStringLiteral("<v>30</v>")));
        QVERIFY(!cell(sheet, "D2").contains(QStringLiteral("t=\"")));
        QVERIFY(cell(sheet, "K2").contains(QStringLiteral("<v>5</v>")));
        QVERIFY(cell(sheet, "AT2").contains(QStringLiteral("<v>5</v>"))); // S
        // Row 5 is subject 3: the formula is a text, the Persian digits a number, the score "." is 0.
        QVERIFY(cell(sheet, "B5").contains(QStringLiteral("t=\"inlineStr\"")));
        QVERIFY(cell(sheet, "B5").contains(QStringLiteral("=HYPERLINK(")));
        QVERIFY(!sheet.contains(QStringLiteral("<f>")));
        QVERIFY(cell(sheet, "D5").contains(QStringLiteral("<v>19</v>")));
        QVERIFY(cell(sheet, "AT5").contains(QStringLiteral("<v>3.43</v>")));
        QVERIFY(cell(sheet, "AU5").contains(QStringLiteral("<v>0</v>")));
        // Unanswered items are no cells at all; the counts are numbers.
        QVERIFY(cell(sheet, "K5").isEmpty());
        QVERIFY(cell(sheet, "BD5").contains(QStringLiteral("<v>35</v>")));
        QVERIFY(cell(sheet, "BE5").contains(QStringLiteral("once")));
        QVERIFY(cell(sheet, "BK5").contains(QStringLiteral("<v>1</v>"))); // many unanswered
        QVERIFY(cell(sheet, "BL5").isEmpty());

        const QString workbook = zipEntry(path, QStringLiteral("xl/workbook.xml"));
        QVERIFY(workbook.contains(ExportTexts::dataSheet));
        QVERIFY(workbook.contains(ExportTexts::codebookSheet));
        const QString codebook = zipEntry(path, QStringLiteral("xl/worksheets/sheet2.xml"));
        QVERIFY(codebook.contains(QStringLiteral("rightToLeft=\"1\"")));
        QVERIFY(codebook.contains(QStringLiteral("miss_total")));
        QVERIFY(codebook.contains(QStringLiteral("نياز به بقا")));
        QVERIFY(codebook.contains(ExportTexts::valuesAnswer));
        QCOMPARE(outputFiles(), QStringList({QStringLiteral("all.xlsx")}));
    }

    void successOffersToOpenTheFile()
    {
        const QString path = m_out.filePath(QStringLiteral("open.xlsx"));
        prompts().yesNoAnswers.enqueue(true);
        QVERIFY(exportTo(path, {QStringLiteral("Group"), QStringLiteral("A")}));
        const FakePrompts::Shown& asked = prompts().shown.constLast();
        QCOMPARE(asked.kind, Kind::YesNo);
        QCOMPARE(asked.title, QStringLiteral("توجه"));
        // The path reads left to right inside the right-to-left question.
        QCOMPARE(asked.text,
                 ExportTexts::written.arg(QStringLiteral("3"),
                                          QChar(0x2066) + QDir::toNativeSeparators(path) + QChar(0x2069)));
        QCOMPARE(m_folder->desktop.openedUrls, QList<QUrl>({QUrl::fromLocalFile(path)}));

        // Declining leaves the file closed.
        QVERIFY(exportTo(m_out.filePath(QStringLiteral("closed.csv"))));
        QCOMPARE(m_folder->desktop.openedUrls.size(), 1);
    }

    void aNameWithoutSuffixBecomesAWorkbook()
    {
        QVERIFY(exportTo(m_out.filePath(QStringLiteral("study"))));
        QVERIFY(QFile::exists(m_out.filePath(QStringLiteral("study.xlsx"))));
        QVERIFY(zipEntry(m_out.filePath(QStringLiteral("study.xlsx")), QStringLiteral("xl/workbook.xml"))
                    .contains(QStringLiteral("<sheet ")));
    }

    void proposesTodaysJalaliDateInTheDocumentsFolder()
    {
        const QString proposed = ExportCommand(m_folder->context(), nullptr).proposedPath();
        QCOMPARE(QFileInfo(proposed).fileName(), QStringLiteral("Velmora-1402-02-13.xlsx"));
        QVERIFY(!exportTo({})); // the dialog was cancelled: nothing happens
        QVERIFY(prompts().shown.size() == 1 && outputFiles().isEmpty());
    }

    void nothingToExportSaysSo()
    {
        QVERIFY(!exportTo(m_out.filePath(QStringLiteral("none.csv")),
                          {QStringLiteral("Group"), QStringLiteral("G")}));
        QCOMPARE(prompts().notices(), QStringList({ExportTexts::noSubjects}));
        QVERIFY(outputFiles().isEmpty());
    }

    void anUnreadableDatabaseFailsBeforeAskingForAFile()
    {
        m_folder->closeDatabases();
        QVERIFY(!exportTo(m_out.filePath(QStringLiteral("x.csv"))));
        QCOMPARE(messagesTitled(QStringLiteral("خطا")).size(), 1);
        QCOMPARE(prompts().shown.size(), 1); // no file dialog
        QVERIFY(outputFiles().isEmpty());
    }

    void aFolderChosenFailsAndLeavesItAlone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("xlsx") << "folder.xlsx";
        QTest::newRow("csv") << "folder.csv";
    }
    void aFolderChosenFailsAndLeavesItAlone()
    {
        QFETCH(QString, name);
        const QString path = m_out.filePath(name);
        QVERIFY(QDir().mkpath(path));
        QVERIFY(!exportTo(path));
        QCOMPARE(messagesTitled(QStringLiteral("خطا")).size(), 1);
        QVERIFY(messagesTitled(QStringLiteral("خطا")).constFirst().contains(ExportTexts::folderChosen));
        QCOMPARE(outputFiles(), QStringList({name}));
        QVERIFY(QDir(path).isEmpty());
    }

    void anUnwritableFolderFailsAndLeavesNoFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("xlsx") << "out.xlsx";
        QTest::newRow("csv") << "out.csv";
    }
    void anUnwritableFolderFailsAndLeavesNoFile()
    {
        QFETCH(QString, name);
        // A folder that does not exist: unwritable for every user, root included.
        QVERIFY(!exportTo(m_out.filePath(QStringLiteral("missing/") + name)));
        QCOMPARE(messagesTitled(QStringLiteral("خطا")).size(), 1);
        // The reason in Persian words, on a line of its own.
        QVERIFY2(messagesTitled(QStringLiteral("خطا"))
                     .constFirst()
                     .endsWith(QStringLiteral("\nپوشه مقصد وجود ندارد")),
                 qPrintable(messagesTitled(QStringLiteral("خطا")).constFirst()));
        QVERIFY(outputFiles().isEmpty());

        // A read-only folder holding an earlier export: it stays as it was.
        const QString locked = m_out.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(locked));
        const QString earlier = locked + u'/' + name;
        writeEarlierExport(earlier);
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(locked + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("this user may write into read-only folders");
        }
        prompts().clear();
        QVERIFY(!exportTo(earlier));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(messagesTitled(QStringLiteral("خطا")).size(), 1);
        QCOMPARE(readAll(earlier), QByteArray("earlier export"));
        QCOMPARE(QDir(locked).entryList(QDir::Files | QDir::Hidden), QStringList({name}));
    }

    void cancellingLeavesNoFileAndTheEarlierOneIntact_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("xlsx") << "cancel.xlsx";
        QTest::newRow("csv") << "cancel.csv";
    }
    void cancellingLeavesNoFileAndTheEarlierOneIntact()
    {
        QFETCH(QString, name);
        const QString path = m_out.filePath(name);
        writeEarlierExport(path);
        // The user presses the progress dialog's cancel button as soon as the export starts.
        bool cancelled = false;
        QTimer::singleShot(0, this, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QProgressDialog*>(widget)) {
                    dialog->cancel();
                    cancelled = true;
                }
            }
        });
        QVERIFY(!exportTo(path));
        QVERIFY(cancelled);
        QCOMPARE(prompts().notices(), QStringList({ExportTexts::cancelled}));
        QVERIFY(messagesTitled(QStringLiteral("خطا")).isEmpty());
        QCOMPARE(readAll(path), QByteArray("earlier export"));
        QCOMPARE(outputFiles(), QStringList({name}));
    }

    void xlsxHoldsEveryTextWholeAndStaysReadable()
    {
        // Texts pasted from elsewhere: a NUL, the format's own escape typed as text, a control
        // character.
        const QString withNul = QStringLiteral("Ali") + QChar(0) + QStringLiteral("Reza");
        const QString withEscapeText = QStringLiteral("y _x0041_ _X00e9_ z");
        QSqlQuery store(Database::connection(m_folder->path(), Database::File::Clinical));
        QVERIFY(store.prepare(QStringLiteral("UPDATE \"IDE\" SET \"FName\" = ?, \"LName\" = ?, \"Tahsil\" = "
                                             "?, \"Taahol\" = ? WHERE \"Code\" = '1'")));
        for (const QString& value :
             {withNul, withEscapeText, QStringLiteral("ليسانس"), QStringLiteral("\x01_x")})
            store.addBindValue(value);
        QVERIFY(store.exec());
        QCOMPARE(store.numRowsAffected(), 1);
        const QString path = m_out.filePath(QStringLiteral("texts.xlsx"));
        QVERIFY(exportTo(path));
        const QHash<QString, QString> texts =
            cellTexts(zipEntry(path, QStringLiteral("xl/worksheets/sheet1.xml")));
        QVERIFY2(!texts.isEmpty(), "the data sheet is no well-formed XML");
        QCOMPARE(texts.value(QStringLiteral("B2")), withNul);
        QCOMPARE(texts.value(QStringLiteral("C2")), withEscapeText);
        QCOMPARE(texts.value(QStringLiteral("F2")), QStringLiteral("\x01_x"));
        // The rows after it are all there.
        QCOMPARE(texts.value(QStringLiteral("A5")), QStringLiteral("3"));
    }

    // A text of several lines (an education typed on two) wraps in its cell, and its row is as tall
    // as its lines, so that a spreadsheet does not draw it over the row above.
    void rowsAreAsTallAsTheirTextsOfSeveralLines()
    {
        setSubject(QStringLiteral("1"), {{QStringLiteral("Tahsil"), QStringLiteral("کارشناسي\r\nارشد")}});
        setSubject(QStringLiteral("2"),
                   {{QStringLiteral("Tahsil"), QStringLiteral("دکتري\nروانشناسي\nباليني")}});
        const QString path = m_out.filePath(QStringLiteral("lines.xlsx"));
        QVERIFY(exportTo(path));
        const QString sheet = zipEntry(path, QStringLiteral("xl/worksheets/sheet1.xml"));
        const auto rowStart = [&sheet](int row) {
            return QRegularExpression(QStringLiteral("<row r=\"%1\"[^>]*>").arg(row))
                .match(sheet)
                .captured(0);
        };
        QVERIFY2(rowStart(2).contains(QStringLiteral("ht=\"30\"")), qPrintable(rowStart(2)));
        QVERIFY(rowStart(2).contains(QStringLiteral("customHeight=\"1\"")));
        QVERIFY2(rowStart(4).contains(QStringLiteral("ht=\"45\"")), qPrintable(rowStart(4))); // 2 after 10
        // A row of one-line texts (subject 10, after 1 as a text) keeps the height a spreadsheet gives it.
        QVERIFY2(!rowStart(3).contains(QStringLiteral("ht=")), qPrintable(rowStart(3)));
        // The text cell's style wraps.
        const QRegularExpression styleOf(QStringLiteral(" s=\"(\\d+)\""));
        const int style = styleOf.match(cell(sheet, "G3")).captured(1).toInt();
        QVERIFY(style > 0);
        const QString styles = zipEntry(path, QStringLiteral("xl/styles.xml"));
        const QString cellXfs = styles.mid(styles.indexOf(QStringLiteral("<cellXfs")));
        const QStringList formats = cellXfs.split(QStringLiteral("<xf "), Qt::SkipEmptyParts).mid(1);
        QVERIFY(style < formats.size());
        QVERIFY2(formats.at(style).contains(QStringLiteral("wrapText=\"1\"")), qPrintable(formats.at(style)));

        // The codebook's rows are as tall as their wrapped explanations: an item's value list
        // takes two lines of its column, a one-line row keeps its height.
        const QString codebook = zipEntry(path, QStringLiteral("xl/worksheets/sheet2.xml"));
        const auto codebookRow = [&codebook](int row) {
            return QRegularExpression(QStringLiteral("<row r=\"%1\"[^>]*>").arg(row))
                .match(codebook)
                .captured(0);
        };
        QVERIFY2(codebookRow(2).contains(QStringLiteral("ht=")) == false, qPrintable(codebookRow(2))); // code
        const int firstItemRow = 12; // after the header and the ten particulars
        QVERIFY2(codebook.contains(QStringLiteral("<c r=\"A%1\"").arg(firstItemRow)), "no item row");
        QVERIFY2(codebookRow(firstItemRow).contains(QStringLiteral("ht=\"30\"")),
                 qPrintable(codebookRow(firstItemRow)));
    }

    void anEarlierExportKeepsItsPermissionsAndANewOneIsADocument_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("xlsx") << "private.xlsx";
        QTest::newRow("csv") << "private.csv";
    }
    void anEarlierExportKeepsItsPermissionsAndANewOneIsADocument()
    {
        QFETCH(QString, name);
        const QString path = m_out.filePath(name);
        writeEarlierExport(path);
        QVERIFY(QFile::setPermissions(path, kOwnerOnly));
        QVERIFY(exportTo(path));
        QVERIFY(readAll(path) != QByteArray("earlier export"));
        QCOMPARE(modeOf(path), kOwnerOnly);

        const QString fresh = m_out.filePath(QStringLiteral("fresh-") + name);
        QVERIFY(exportTo(fresh));
        QCOMPARE(modeOf(fresh), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }

    void thePartFileIsHiddenBesideTheTargetForItsOwnerOnly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("xlsx") << "part.xlsx";
        QTest::newRow("csv") << "part.csv";
    }
    void thePartFileIsHiddenBesideTheTargetForItsOwnerOnly()
    {
        QFETCH(QString, name);
        const QString path = m_out.filePath(name);
        writeEarlierExport(path);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        QStringList parts;
        QList<QFile::Permissions> modes;
        const auto progress = [&](int, int) {
            for (const QString& file : outputFiles()) {
                if (file != name) {
                    parts << file;
                    modes << modeOf(m_out.filePath(file));
                }
            }
            return true;
        };
        const SubjectExport::Outcome outcome = SubjectExport::write(
            Database::connection(m_folder->path(), Database::File::Clinical), {}, path, progress);
        QCOMPARE(outcome.status, SubjectExport::Outcome::Status::Written);
        QVERIFY(!parts.isEmpty());
        // The start-up sweep finds a killed export's leftovers by this name.
        const QRegularExpression pattern(QStringLiteral("^\\.") + QRegularExpression::escape(name) +
                                         QStringLiteral("\\.[A-Za-z0-9]{6}\\.part$"));
        for (const QString& part : std::as_const(parts))
            QVERIFY2(pattern.match(part).hasMatch(), qPrintable(part));
        QCOMPARE(modes, QList<QFile::Permissions>(modes.size(), kOwnerOnly));
        QCOMPARE(outputFiles(), QStringList({name}));
        QCOMPARE(modeOf(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    }

    void anExportToALinkWritesWhereTheLinkPoints_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("xlsx") << "linked.xlsx";
        QTest::newRow("csv") << "linked.csv";
    }
    void anExportToALinkWritesWhereTheLinkPoints()
    {
        QFETCH(QString, name);
        // A folder on a share, linked into the documents folder.
        const QString share = m_out.filePath(QStringLiteral("share"));
        QVERIFY(QDir().mkpath(share));
        const QString real = share + u'/' + name;
        writeEarlierExport(real);
        const QString link = m_out.filePath(name);
        QVERIFY(QFile::link(real, link));
        QVERIFY(exportTo(link));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QFileInfo(link).symLinkTarget(), real);
        QVERIFY(readAll(real).size() > 100);
        QCOMPARE(QDir(share).entryList(QDir::Files | QDir::Hidden), QStringList({name}));
    }

    void anExportThroughTwoLinksToANewFileMakesThatFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("xlsx") << "new.xlsx";
        QTest::newRow("csv") << "new.csv";
    }
    void anExportThroughTwoLinksToANewFileMakesThatFile()
    {
        QFETCH(QString, name);
        // The chosen name links to a link to a file on the share that is not made yet: the export
        // makes that file, and both links stay links.
        const QString share = m_out.filePath(QStringLiteral("chain"));
        QVERIFY(QDir().mkpath(share));
        const QString real = share + u'/' + name;
        const QString middle = m_out.filePath(QStringLiteral("middle-") + name);
        const QString chosen = m_out.filePath(name);
        QVERIFY(QFile::link(real, middle));
        QVERIFY(QFile::link(middle, chosen));
        QVERIFY(exportTo(chosen));
        QVERIFY(QFileInfo(middle).isSymLink());
        QVERIFY(QFileInfo(chosen).isSymLink());
        QVERIFY(readAll(real).size() > 100);
    }

    void aCancelWhileTheFileIsPackedLeavesNoFileAndTheWindowRuns_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("button") << "button";
        QTest::newRow("escape") << "escape";
        QTest::newRow("close") << "close";
    }
    void aCancelWhileTheFileIsPackedLeavesNoFileAndTheWindowRuns()
    {
        QFETCH(QString, how);
        // Enough subjects that packing the workbook takes a good while.
        addManySubjects(20000);
        const QString path = m_out.filePath(QStringLiteral("large.xlsx"));
        writeEarlierExport(path);
        int ticksWhilePacking = 0;
        bool pressed = false;
        bool openAfterPress = false;
        bool buttonEnabledAfterPress = true;
        QString labelAfterPress;
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, this, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QProgressDialog*>(widget);
                if (!dialog || (dialog->labelText() != ExportTexts::finishingLabel &&
                                dialog->labelText() != ExportTexts::cancellingLabel))
                    continue;
                ++ticksWhilePacking;
                if (pressed || !dialog->isVisible())
                    continue;
                pressed = true;
                auto* button = dialog->findChild<QPushButton*>();
                if (how == QLatin1String("button"))
                    button->click();
                else if (how == QLatin1String("escape"))
                    QTest::keyClick(dialog, Qt::Key_Escape);
                else
                    dialog->close();
                openAfterPress = dialog->isVisible();
                buttonEnabledAfterPress = button->isEnabled();
                labelAfterPress = dialog->labelText();
            }
        });
        poll.start();
        QVERIFY(!exportTo(path));
        poll.stop();
        QVERIFY2(pressed, "the window never ran while the file was packed");
        QVERIFY2(ticksWhilePacking > 1, "the window did not run after the cancel");
        // The dialog stays and says that the cancel is under way; the button cannot be pressed again.
        QVERIFY(openAfterPress);
        QCOMPARE(labelAfterPress, ExportTexts::cancellingLabel);
        QVERIFY(!buttonEnabledAfterPress);
        QCOMPARE(prompts().notices(), QStringList({ExportTexts::cancelled}));
        QVERIFY(messagesTitled(QStringLiteral("خطا")).isEmpty());
        QCOMPARE(readAll(path), QByteArray("earlier export"));
        QCOMPARE(outputFiles(), QStringList({QStringLiteral("large.xlsx")}));
    }

    void aNewExportReplacesAnEarlierFile()
    {
        const QString path = m_out.filePath(QStringLiteral("again.csv"));
        QVERIFY(exportTo(path));
        QVERIFY(exportTo(path, {QStringLiteral("Code"), QStringLiteral("3")}));
        QCOMPARE(readAll(path).count("\r\n"), 2);
        QCOMPARE(outputFiles(), QStringList({QStringLiteral("again.csv")}));
    }
};

QTEST_MAIN(SubjectExportTest)
#include "SubjectExportTest.moc"
