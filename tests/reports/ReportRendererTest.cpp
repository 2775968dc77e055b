#include "reports/ReportRenderer.h"
#include "PdfText.h"
#include "TestProgramFolder.h"
#include "datastore/DataView.h"
#include "reports/ReportLayouts.h"
#include "reports/ReportPreview.h"
#include "reports/SubjectListReport.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

namespace {

const QString kEducation = QStringLiteral("کارشناسي");
const QString kMarital = QStringLiteral("متاهل");
const QString kTitleEducation = QStringLiteral("تحصيلات");

ReportRow subjectRow(int index)
{
    // Codes and ages carry letters, so that the only bare numbers printed are the row numbers.
    return {{QStringLiteral("Code"), QStringLiteral("K%1").arg(index)},
            {QStringLiteral("FName"), QStringLiteral("Ali")},
            {QStringLiteral("LName"), QStringLiteral("Ahmadi")},
            {QStringLiteral("Sen"), QStringLiteral("y%1").arg(20 + index % 40)},
            {QStringLiteral("Jens"), QStringLiteral("زن")},
            {QStringLiteral("Taahol"), kMarital},
            {QStringLiteral("Tahsil"), kEducation},
            {QStringLiteral("Group"), QStringLiteral("G%1").arg(index % 3)},
            {QStringLiteral("S"), QStringLiteral("3.43")},
            {QStringLiteral("L"), QStringLiteral("2.71")},
            {QStringLiteral("F1"), QStringLiteral("4.")},
            {QStringLiteral("P"), QStringLiteral("1.14")},
            {QStringLiteral("F2"), QStringLiteral(".57")}};
}

QVector<ReportRow> subjectRows(int count)
{
    QVector<ReportRow> rows;
    for (int i = 1; i <= count; ++i)
        rows << subjectRow(i);
    return rows;
}

ClinicTexts clinic()
{
    ClinicTexts texts;
    texts.name = QStringLiteral("مرکز مشاوره آرامش");
    texts.address = QStringLiteral("تهران خيابان وليعصر");
    texts.contactLines = QStringLiteral("Tel 021-5550\r\nwww.aramesh.example\r\n");
    return texts;
}

} // namespace

class ReportRendererTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString pdfPath(const QString& name) const { return m_dir.filePath(name + QStringLiteral(".pdf")); }

    QStringList printed(const Report& report, const QString& name)
    {
        const QString path = pdfPath(name);
        if (!ReportRenderer::writePdf(report, path))
            return {};
        return PdfText::pages(path);
    }

private slots:
    void subjectListNumbersEveryRowAcrossPagesUnderRepeatedTitlesAndFooters()
    {
        const ClinicTexts letterhead = clinic();
        const QStringList pages = printed(SubjectListReport::build(subjectRows(75), &letterhead), "list");
        QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));

        QList<int> numbers;
        for (int page = 0; page < pages.size(); ++page) {
            const QString& text = pages[page];
            QVERIFY2(PdfText::hasWords(text, kTitleEducation),
                     qPrintable(QStringLiteral("page %1").arg(page + 1)));
            QVERIFY(PdfText::hasWords(text, QStringLiteral("رديف")));
            QVERIFY(PdfText::hasWords(text, QStringLiteral("Tel 021-5550")));
            QVERIFY(PdfText::hasWords(text, QStringLiteral("www.aramesh.example")));
            QVERIFY(PdfText::hasWords(text, letterhead.address));
            // The clinic name heads the report once, not every page.
            QCOMPARE(PdfText::hasWords(text, letterhead.name), page == 0);
            for (const QString& word : PdfText::words(text)) {
                bool isNumber = false;
                const int number = word.toInt(&isNumber);
                if (isNumber && !word.startsWith(u'0')) // not the 021 of the contact line
                    numbers << number;
            }
        }
        QList<int> expected;
        for (int i = 1; i <= 75; ++i)
            expected << i;
        std::sort(numbers.begin(), numbers.end());
        QCOMPARE(numbers, expected);
    }

    void subjectListPrintsEveryColumnOfARow()
    {
        const QStringList pages = printed(SubjectListReport::build(subjectRows(1), nullptr), "one");
        QCOMPARE(pages.size(), 1);
        const QStringList words = PdfText::words(pages.first());
        for (const QString& value :
             {QStringLiteral("K1"), QStringLiteral("y21"), QStringLiteral("G1"), QStringLiteral("زن"),
              kMarital, kEducation, QStringLiteral("3.43"), QStringLiteral("2.71"), QStringLiteral("4."),
              QStringLiteral("1.14"), QStringLiteral(".57"), QStringLiteral("1")})
            QVERIFY2(words.contains(PdfText::fold(value)),
                     qPrintable(value + QStringLiteral(" in ") + words.join(u' ')));
        QVERIFY(PdfText::hasWords(pages.first(), QStringLiteral("گزارش نتيجه آزمون ولمورا تاروين")));
        // Without a letterhead no clinic text appears.
        QVERIFY(!PdfText::hasWords(pages.first(), clinic().address));
    }

    void eachRenderingNumbersItsRowsFromOne()
    {
        const Report report = SubjectListReport::build(subjectRows(3), nullptr);
        printed(report, "first");
        const QStringList again = printed(report, "again");
        QCOMPARE(again.size(), 1);
        QStringList numbers;
        for (const QString& word : PdfText::words(again.first())) {
            if (word.toInt() > 0)
                numbers << word;
        }
        QCOMPARE(numbers.size(), 3);
        for (const QString& n : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")})
            QVERIFY(numbers.contains(n));
    }

    void anEmptyListPrintsItsTitlesOnOnePage()
    {
        const QStringList pages = printed(SubjectListReport::build({}, nullptr), "empty");
        QCOMPARE(pages.size(), 1);
        QVERIFY(PdfText::hasWords(pages.first(), kTitleEducation));
    }

    void growingLabelPushesTheElementsBelowItDown()
    {
        ReportLayout layout;
        layout.width = 6000;
        ReportLayouts::nameBands(layout);
        layout.detail.height = 1000;
        ReportElement first =
            ReportLayouts::label(QStringLiteral("First"), {0, 0, 3000, 300}, {}, ReportLayouts::nazanin(11));
        first.growsToFit = true;
        first.caption = QStringList(40, QStringLiteral("alpha")).join(u' ');
        layout.detail.elements << first
                               << ReportLayouts::label(QStringLiteral("Below"), {0, 400, 3000, 300},
                                                       QStringLiteral("omega"), ReportLayouts::nazanin(11));
        const QStringList pages = printed(Report{layout, {ReportRow()}, QStringLiteral("grow")}, "grow");
        QCOMPARE(pages.size(), 1);
        const QStringList lines = pages.first().split(u'\n', Qt::SkipEmptyParts);
        // The long text wraps over several lines, all of them above the element that followed it.
        QVERIFY(lines.size() >= 4);
        QCOMPARE(lines.constLast().trimmed(), QStringLiteral("omega"));
        QCOMPARE(pages.first().count(QStringLiteral("alpha")), 40);
    }

    void lineBreaksAtTheEndOfATextTakeNoRoom_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("one") << "\r\n";
        QTest::newRow("several") << "\r\n\r\n\r\n";
        QTest::newRow("mixed") << "\r\n\n\r\r\n";
    }
    void lineBreaksAtTheEndOfATextTakeNoRoom()
    {
        // A contact text or a data line typed with Enter at its end: the rows of a growing field
        // are as tall as without the breaks, so as many fit on a page.
        QFETCH(QString, ending);
        ReportLayout layout;
        layout.width = 6000;
        ReportLayouts::nameBands(layout);
        layout.detail.height = 300;
        ReportElement grower = ReportLayouts::field(QStringLiteral("Text"), {0, 0, 3000, 300},
                                                    QStringLiteral("Text"), ReportLayouts::nazanin(11));
        grower.growsToFit = true;
        layout.detail.elements << grower;
        const auto pagesFor = [&](const QString& text) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            writer.setResolution(300);
            ReportRenderer::applyPageSetup(writer);
            return ReportRenderer::render(Report{layout, QVector<ReportRow>(30, {{"Text", text}}), {}},
                                          writer);
        };
        const int plain = pagesFor(QStringLiteral("alpha"));
        QCOMPARE(plain, 1);
        QCOMPARE(pagesFor(QStringLiteral("alpha") + ending), plain);
        // Breaks inside the text still count.
        QVERIFY(pagesFor(QStringLiteral("alpha\r\n\r\nomega")) > plain);
    }

    void layoutElementsAreFoundByBandAndName()
    {
        ReportLayout layout = ReportLayouts::dataR1();
        QVERIFY(layout.setCaption(QStringLiteral("Section1"), QStringLiteral("Label8"), QStringLiteral("x")));
        QVERIFY(layout.setTop(QStringLiteral("Section1"), QStringLiteral("Image2"), 2491));
        QCOMPARE(layout.element(QStringLiteral("Section1"), QStringLiteral("Image2"))->geometry,
                 QRect(113, 2491, 10125, 6540));
        // A misspelt name, the wrong band or the wrong kind is refused, not silently ignored.
        QVERIFY(
            !layout.setCaption(QStringLiteral("Section3"), QStringLiteral("Label8"), QStringLiteral("x")));
        QVERIFY(
            !layout.setCaption(QStringLiteral("Section1"), QStringLiteral("Image2"), QStringLiteral("x")));
        QVERIFY(!layout.setPicture(QStringLiteral("Section1"), QStringLiteral("Label8"), QImage()));
        QVERIFY(
            !layout.setCaption(QStringLiteral("Section9"), QStringLiteral("Label8"), QStringLiteral("x")));
    }

    void aPdfThatCannotBeWrittenIsReportedAndLeavesNoFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("missing/folder/list.pdf"));
        QVERIFY(!ReportRenderer::writePdf(SubjectListReport::build(subjectRows(2), nullptr), path));
        QVERIFY(!QFile::exists(path));
    }

    void selectsTheChosenSubjectsAsPlainTextInTheirOrder()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("3"), QStringLiteral("Sara"), QStringLiteral("O'Neil"));
        folder.addSubject(QStringLiteral("1"), QStringLiteral("Reza"), QStringLiteral("Karimi"));
        folder.addSubject(QStringLiteral("2"), QStringLiteral("Mina"), QStringLiteral("O'Neil"));
        folder.addSubject(QStringLiteral("4"), QStringLiteral("Nima"), QStringLiteral("O'Neil "));
        const QString path = folder.path();
        auto codes = [&](const SubjectSelection& selection) {
            QStringList result;
            for (const ReportRow& row : SubjectListReport::selectedSubjects(path, selection))
                result << row.value(QStringLiteral("Code"));
            return result;
        };
        QCOMPARE(codes({}), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(codes({QString(), QString(), QString()}), (QStringList{"3", "1", "2", "4"}));
        QCOMPARE(codes({QStringLiteral("LName"), QStringLiteral("O'Neil"), QStringLiteral("Code")}),
                 (QStringList{"2", "3"}));
        QCOMPARE(codes({QStringLiteral("LName"), QStringLiteral("x' OR '1'='1"), QStringLiteral("Code")}),
                 QStringList());
    }

    void previewOpensMaximizedAndSavesAPdfWithOneClick()
    {
        TestProgramFolder folder;
        const QString path = pdfPath(QStringLiteral("saved"));
        folder.prompts.fileAnswers.enqueue(path);
        bool maximized = false;
        bool hadPdfCommand = false;
        QTimer::singleShot(0, this, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!preview)
                return;
            maximized = preview->windowState().testFlag(Qt::WindowMaximized);
            if (auto* pdf = preview->findChild<QAction*>(QStringLiteral("SavePdf"))) {
                hadPdfCommand = true;
                pdf->trigger();
            }
            preview->reject();
        });
        ReportPreview::show(nullptr, SubjectListReport::build(subjectRows(2), nullptr), folder.prompts);
        QVERIFY(maximized);
        QVERIFY(hadPdfCommand);
        QCOMPARE(folder.prompts.lastNotice(), QStringLiteral("فايل PDF ساخته شد"));
        QCOMPARE(PdfText::pages(path).size(), 1);
    }

    void savingAPdfWhereNoFileCanBeWrittenSaysSo()
    {
        TestProgramFolder folder;
        folder.prompts.fileAnswers.enqueue(m_dir.filePath(QStringLiteral("no/such/folder/list")));
        QVERIFY(!ReportPreview::savePdf(nullptr, SubjectListReport::build(subjectRows(1), nullptr),
                                        folder.prompts));
        QVERIFY(folder.prompts.notices().isEmpty());
        QCOMPARE(folder.prompts.shown.constLast().title, QStringLiteral("خطا"));
        QVERIFY(folder.prompts.shown.constLast().text.startsWith(QStringLiteral("فايل PDF ساخته نشد")));
        // And why, in words the user can act on.
        QVERIFY2(folder.prompts.shown.constLast().text.endsWith(QStringLiteral("\nپوشه مقصد وجود ندارد")),
                 qPrintable(folder.prompts.shown.constLast().text));
    }

    // Every stored value of a report is laid out by its own first strong character: a Latin or
    // signed value, or a Latin line among Persian ones, reads as stored; Persian stays as it is.
    void storedValuesKeepTheirOwnReadingOrder()
    {
        const QString lri(QChar(0x2066));
        const QString pdi(QChar(0x2069));
        QCOMPARE(ReportRenderer::laidOutText(QStringLiteral("+1")), lri + QStringLiteral("+1") + pdi);
        QCOMPARE(ReportRenderer::laidOutText(QStringLiteral("Ali \"the great\"")),
                 lri + QStringLiteral("Ali \"the great\"") + pdi);
        QCOMPARE(ReportRenderer::laidOutText(QStringLiteral("تلفن: 021\r\n+98 21 5550\r\nwww.a.example\r\n")),
                 QStringLiteral("تلفن: 021\n") + lri + QStringLiteral("+98 21 5550") + pdi + u'\n' + lri +
                     QStringLiteral("www.a.example") + pdi);
        for (const QString& unchanged :
             {QStringLiteral("کارشناسي"), QStringLiteral("12"), QStringLiteral("K1")})
            QCOMPARE(ReportRenderer::laidOutText(unchanged), unchanged);

        // Laid out as the renderer lays out a text (its direction from its first strong
        // character), the Latin line under a Persian one reads as it does on its own: its sign
        // first, on the left, and its last figure on the right.
        const auto signIsLeftOfTheEnd = [](const QString& text) {
            QTextLayout layout(QString(text).replace(u'\n', QChar::LineSeparator), QFont());
            QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
            option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
                line.setLineWidth(2000);
            layout.endLayout();
            const int sign = static_cast<int>(text.indexOf(u'+'));
            const int last = static_cast<int>(text.lastIndexOf(u'0'));
            const QTextLine line = layout.lineForTextPosition(sign);
            // Inside the line, clear of the edges of its runs, where a cursor is ambiguous.
            return line.cursorToX(sign + 1) < line.cursorToX(last);
        };
        const QString contact = QStringLiteral("تلفن همراه\r\n+98 21 5550");
        QVERIFY(signIsLeftOfTheEnd(QStringLiteral("+98 21 5550")));
        QVERIFY(signIsLeftOfTheEnd(ReportRenderer::laidOutText(contact)));
        QVERIFY(!signIsLeftOfTheEnd(QStringLiteral("تلفن همراه\n+98 21 5550"))); // the fault it mends
    }

    // The footer of the subject list spans the table and no more, and the last row of a full page
    // keeps a gap above the footer's rules.
    void subjectListFooterAlignsWithTheTableAndTheLastRowKeepsAGap()
    {
        const ReportLayout layout = ReportLayouts::dataRPrint();
        int tableLeft = 0;
        int tableRight = 0;
        for (const ReportElement& element : layout.detail.elements) {
            if (element.kind == ReportElement::Kind::Line && element.line.x1() == element.line.x2())
                tableRight = std::max(tableRight, element.line.x1());
        }
        QCOMPARE(tableRight, 9513);
        QCOMPARE(layout.width, tableRight); // centred on the page as the table is
        for (const ReportElement& element : layout.pageFooter.elements) {
            if (element.kind == ReportElement::Kind::Line) {
                QCOMPARE(element.line.x1(), tableLeft);
                QCOMPARE(element.line.x2(), tableRight);
            } else {
                QVERIFY2(element.geometry.left() >= tableLeft && element.geometry.right() < tableRight,
                         qPrintable(element.name));
            }
        }

        // A page just tall enough for thirty rows to reach the footer exactly.
        const ClinicTexts letterhead = clinic();
        const Report report = SubjectListReport::build(subjectRows(80), &letterhead);
        const double printable = layout.reportHeader.height + layout.pageHeader.height +
                                 30 * layout.detail.height + layout.pageFooter.height + 4;
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1440);
        writer.setPageLayout(
            QPageLayout(QPageSize(QSizeF(210, printable / 1440 * 25.4 + 20), QPageSize::Millimeter),
                        QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        QVector<ReportRenderer::PlacedBand> placed;
        const int pages = ReportRenderer::render(report, writer, {}, &placed);
        QVERIFY(pages >= 2);
        for (int page = 0; page < pages - 1; ++page) {
            double rowsEnd = 0;
            double footerTop = 0;
            for (const ReportRenderer::PlacedBand& band : std::as_const(placed)) {
                if (band.page != page)
                    continue;
                if (band.band == ReportLayouts::detail)
                    rowsEnd = std::max(rowsEnd, band.top + band.height);
                if (band.band == ReportLayouts::pageFooter)
                    footerTop = band.top;
            }
            QVERIFY(rowsEnd > 0 && footerTop > 0);
            QVERIFY2(footerTop - rowsEnd >= ReportRenderer::kFooterGap,
                     qPrintable(QStringLiteral("page %1: rows end at %2, footer at %3")
                                    .arg(page + 1)
                                    .arg(rowsEnd)
                                    .arg(footerTop)));
            // And the page is full: one more row would not have kept the gap.
            QVERIFY(footerTop - rowsEnd < ReportRenderer::kFooterGap + layout.detail.height);
        }
    }
};

QTEST_MAIN(ReportRendererTest)
#include "ReportRendererTest.moc"
