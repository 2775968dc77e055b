#include "PdfText.h"
#include "TestProgramFolder.h"
#include "ZipEntries.h"
#include "charts/ChartReport.h"
#include "charts/FrmNemudar1.h"
#include "charts/WordExport.h"
#include "common/BidiText.h"
#include "reports/ReportPreview.h"
#include "reports/ReportRenderer.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QtTest>

using Kind = FakePrompts::Kind;

namespace {

const QChar kLri = BidiText::kLeftToRightIsolate;
const QChar kPdi = BidiText::kPopDirectionalIsolate;

const QString kLine1 = QStringLiteral("كد آزمودني: 12  -  نام و نام خانوادگي: سارا رضايي  -  سن: 31");
const QString kLine2 =
    QStringLiteral("آزمودني 2:  كد آزمودني: 13  -  نام و نام خانوادگي: علي رضايي  -  سن: 33");

NeedsChartInput oneSubject()
{
    NeedsChartInput input;
    input.subject1Scores = {QStringLiteral("3.43"), QStringLiteral("2."), QStringLiteral("4.14"),
                            QStringLiteral("1.71"), QStringLiteral("5.")};
    input.subject1Line = kLine1;
    input.testDate = QStringLiteral("1402/02/13");
    input.subjectCode = QStringLiteral("12");
    return input;
}

NeedsChartInput couple()
{
    NeedsChartInput input = oneSubject();
    input.mode = NeedsChartInput::Mode::Couple;
    input.secondSubjectVisible = true;
    input.subject2Scores = {QStringLiteral("1."), QStringLiteral("2."), QStringLiteral("3."),
                            QStringLiteral("4."), QStringLiteral("5.")};
    input.subject2Line = kLine2;
    input.subjectCode = QStringLiteral("13");
    return input;
}

// The paragraphs of a document.xml: the text of each, and whether it holds the picture.
struct DocParagraph
{
    QString text;
    bool picture = false;
    bool rightToLeftJustified = false;
};

QList<DocParagraph> docParagraphs(const QByteArray& xml)
{
    QList<DocParagraph> result;
    QXmlStreamReader reader(xml);
    DocParagraph current;
    bool hasBidi = false;
    bool justified = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QStringView name = reader.qualifiedName();
            if (name == u"w:p") {
                current = {};
                hasBidi = justified = false;
            } else if (name == u"w:bidi") {
                hasBidi = true;
            } else if (name == u"w:jc") {
                justified = reader.attributes().value(QStringLiteral("w:val")) == u"both";
            } else if (name == u"w:t") {
                current.text += reader.readElementText();
            } else if (name == u"w:drawing") {
                current.picture = true;
            }
        } else if (reader.isEndElement() && reader.qualifiedName() == u"w:p") {
            current.rightToLeftJustified = hasBidi && justified;
            result << current;
        }
    }
    // A word processor refuses a document that is not well-formed XML.
    if (reader.hasError())
        return {};
    return result;
}

// Where a document.xml places its picture, in EMU, and the page's text width.
struct PictureExtent
{
    qint64 width = 0; // wp:extent, what the word processor lays out
    qint64 height = 0;
    qint64 shapeWidth = 0; // a:ext, the picture's own shape
    qint64 shapeHeight = 0;
    qint64 textWidth = 0; // page width less the left and right margins
};

PictureExtent pictureExtent(const QByteArray& xml)
{
    constexpr qint64 kEmuPerTwip = 635;
    PictureExtent extent;
    qint64 pageWidth = 0;
    qint64 margins = 0;
    QXmlStreamReader reader(xml);
    const auto number = [&reader](const QString& name) {
        return reader.attributes().value(name).toLongLong();
    };
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = reader.qualifiedName();
        if (name == u"wp:extent") {
            extent.width = number(QStringLiteral("cx"));
            extent.height = number(QStringLiteral("cy"));
        } else if (name == u"a:ext") {
            extent.shapeWidth = number(QStringLiteral("cx"));
            extent.shapeHeight = number(QStringLiteral("cy"));
        } else if (name == u"w:pgSz") {
            pageWidth = number(QStringLiteral("w:w"));
        } else if (name == u"w:pgMar") {
            margins = number(QStringLiteral("w:left")) + number(QStringLiteral("w:right"));
        }
    }
    extent.textWidth = (pageWidth - margins) * kEmuPerTwip;
    return extent;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ChartPrintTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<FrmNemudar1> m_chart;
    QList<Report> m_reports;

    template <typename T = QWidget> T* child(const QString& name) { return m_chart->findChild<T*>(name); }
    FakePrompts& prompts() { return m_folder->prompts; }
    QString documentPath() const
    {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QStringLiteral("VM.docx"));
    }

    void open(const NeedsChartInput& input)
    {
        m_chart = std::make_unique<FrmNemudar1>(m_folder->context());
        m_chart->setInput(input);
        m_chart->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_chart.get()));
        QApplication::clipboard()->setText(QStringLiteral("something the user copied"));
    }

    void click(const QString& name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }

    void verifyScreenLook()
    {
        QVERIFY(!m_chart->inPrintLook());
        QVERIFY(child(QStringLiteral("Frame2"))->isVisible());
        QVERIFY(child(QStringLiteral("Label6"))->isVisible());
        QCOMPARE(m_chart->size(), QSize(840, 497));
        QCOMPARE(m_chart->palette().color(QPalette::Window), QColor(192, 192, 192));
        QCOMPARE(child<QLabel>(QStringLiteral("Label1_4"))->palette().color(QPalette::Window),
                 QColor(220, 65, 147));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(QApplication::clipboard()->text().isEmpty());
    }

    // The latest export's document: its paragraphs, after checking the picture part.
    QList<DocParagraph> exportedParagraphs()
    {
        const QImage picture =
            QImage::fromData(ZipEntries::read(documentPath(), QStringLiteral("word/media/chart.png")));
        if (picture.size() != QSize(840, 529))
            return {};
        return docParagraphs(ZipEntries::read(documentPath(), QStringLiteral("word/document.xml")));
    }

private slots:
    void initTestCase()
    {
        // The user's documents folder lies in a home of the test's own.
        qputenv("HOME", m_home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral(".config")).toLocal8Bit());
        ReportPreview::setHandlerForTests([this](const Report& report) { m_reports << report; });
    }
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_folder->navigator.clinic.name = QStringLiteral("مرکز مشاوره آرامش");
        m_folder->navigator.clinic.address = QStringLiteral("تهران خيابان وليعصر");
        m_folder->navigator.clinic.contactLines = QStringLiteral("Tel 021-5550\r\n");
        m_folder->navigator.clinic.logo = QImage(40, 30, QImage::Format_RGB32);
        m_folder->navigator.clinic.logo.fill(Qt::darkGreen);
        m_reports.clear();
        QFile::remove(documentPath());
    }
    void cleanup()
    {
        m_chart.reset();
        m_folder.reset();
    }

    void printTakesThePrintLookThenPrintsTheCapturedChartAndRestoresTheScreen()
    {
        open(oneSubject());
        click(QStringLiteral("Cmdprint"));
        QVERIFY(m_chart->inPrintLook());
        QVERIFY(child(QStringLiteral("Frame2"))->isHidden());
        QVERIFY(child(QStringLiteral("Label6"))->isHidden());
        QCOMPARE(m_chart->height(), 529);
        QVERIFY(m_chart->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QVERIFY(QApplication::clipboard()->text().isEmpty());
        QVERIFY(m_reports.isEmpty());

        QTRY_COMPARE_WITH_TIMEOUT(m_reports.size(), 1, 3000);
        verifyScreenLook();

        const ReportLayout& layout = m_reports.first().layout;
        const QImage picture = layout.element(QStringLiteral("Section1"), QStringLiteral("Image2"))->picture;
        QCOMPARE(picture.size(), QSize(840, 529));
        // Captured in the print look: white window, pale upper band, white lower band.
        QCOMPARE(picture.pixelColor(20, 200), QColor(Qt::white));
        QCOMPARE(picture.pixelColor(300, 60), QColor(241, 239, 241));
        QCOMPARE(picture.pixelColor(300, 300), QColor(Qt::white));
        QCOMPARE(layout.element(QStringLiteral("Section1"), QStringLiteral("Image2"))->geometry.top(), 2491);
        QVERIFY(layout.element(QStringLiteral("Section1"), QStringLiteral("Label3"))->caption.isEmpty());
        // The logo flag is off.
        QVERIFY(layout.element(QStringLiteral("Section1"), QStringLiteral("Image3"))->picture.isNull());

        const QString pdf = m_folder->filePath(QStringLiteral("chart.pdf"));
        QVERIFY(ReportRenderer::writePdf(m_reports.first(), pdf));
        const QStringList pages = PdfText::pages(pdf);
        QCOMPARE(pages.size(), 1);
        for (const QString& expected :
             {QStringLiteral("سارا"), QStringLiteral("رضايي"), QStringLiteral("اجراي"),
              QStringLiteral("آرامش"), QStringLiteral("وليعصر"), QStringLiteral("Tel"),
              QStringLiteral("ولمورا")})
            QVERIFY2(PdfText::hasWords(pages.first(), expected),
                     qPrintable(expected + u'\n' + pages.first()));
        // pdftotext joins the date to the caption before it, across the right-to-left boundary.
        QVERIFY(pages.first().contains(QStringLiteral("1402/02/13")));
    }

    void coupleChartPrintsBothLinesWithThePictureLowerAndTheLogoWhenAsked()
    {
        m_folder->navigator.clinic.showLogo = true;
        open(couple());
        click(QStringLiteral("Cmdprint"));
        QTRY_COMPARE_WITH_TIMEOUT(m_reports.size(), 1, 3000);
        const ReportLayout& layout = m_reports.first().layout;
        QCOMPARE(layout.element(QStringLiteral("Section1"), QStringLiteral("Label8"))->caption, kLine1);
        QCOMPARE(layout.element(QStringLiteral("Section1"), QStringLiteral("Label3"))->caption, kLine2);
        // The stored date keeps its own reading order after the Persian caption.
        QCOMPARE(layout.element(QStringLiteral("Section1"), QStringLiteral("Label2"))->caption,
                 QStringLiteral("تاريخ اجراي آزمون: ") + kLri + QStringLiteral("1402/02/13") + kPdi);
        QCOMPARE(layout.element(QStringLiteral("Section1"), QStringLiteral("Image2"))->geometry.top(), 3175);
        QCOMPARE(layout.element(QStringLiteral("Section1"), QStringLiteral("Image3"))->picture.size(),
                 QSize(40, 30));
        QCOMPARE(layout.element(QStringLiteral("Section3"), QStringLiteral("Label9"))->caption,
                 QStringLiteral("Tel 021-5550\r\n"));
        QCOMPARE(layout.element(QStringLiteral("Section3"), QStringLiteral("Label5"))->caption,
                 QStringLiteral("تهران خيابان وليعصر"));

        const QString pdf = m_folder->filePath(QStringLiteral("couple.pdf"));
        QVERIFY(ReportRenderer::writePdf(m_reports.first(), pdf));
        const QString page = PdfText::pages(pdf).value(0);
        QVERIFY(PdfText::hasWords(page, QStringLiteral("سارا رضايي")));
        QVERIFY(PdfText::hasWords(page, QStringLiteral("علي رضايي")));
    }

    void exportWritesTheDocumentAndTheBitmapOpensItAndSaysSo()
    {
        open(oneSubject());
        click(QStringLiteral("Cmdword"));
        QVERIFY(m_chart->inPrintLook());
        QTRY_VERIFY_WITH_TIMEOUT(!prompts().texts(Kind::Message).isEmpty(), 3000);
        verifyScreenLook();

        const FakePrompts::Shown& shown = prompts().shown.constLast();
        QCOMPARE(shown.title, QStringLiteral("پيام"));
        // The message says where the document went, its path reading left to right.
        QCOMPARE(shown.text, QStringLiteral(": فايل شما\r\n\r\n") + kLri + documentPath() + kPdi +
                                 QStringLiteral("\r\n\r\n. ساخته شد"));
        QCOMPARE(shown.icon, Prompts::Icon::Information);
        QCOMPARE(m_folder->desktop.openedUrls, QList<QUrl>{QUrl::fromLocalFile(documentPath())});
        QCOMPARE(QImage(m_folder->filePath(QStringLiteral("12.bmp"))).size(), QSize(840, 529));

        const QList<DocParagraph> paragraphs = exportedParagraphs();
        QCOMPARE(paragraphs.size(), 5);
        QVERIFY(paragraphs[0].text.isEmpty() && !paragraphs[0].picture);
        QVERIFY(paragraphs[1].picture);
        QVERIFY(paragraphs[2].text.isEmpty() && !paragraphs[2].picture);
        QCOMPARE(paragraphs[3].text, kLine1);
        QVERIFY(paragraphs[4].text.isEmpty());
        for (const DocParagraph& paragraph : paragraphs)
            QVERIFY(paragraph.rightToLeftJustified);
        QCOMPARE(child<QPlainTextEdit>(QStringLiteral("Txtid"))->toPlainText(),
                 kLine1 + QStringLiteral("\n\n"));
    }

    void theDocumentsPictureFillsTheTextWidthInTheChartsProportions()
    {
        open(oneSubject());
        click(QStringLiteral("Cmdword"));
        QTRY_VERIFY_WITH_TIMEOUT(!prompts().texts(Kind::Message).isEmpty(), 3000);
        const QImage picture =
            QImage::fromData(ZipEntries::read(documentPath(), QStringLiteral("word/media/chart.png")));
        QCOMPARE(picture.size(), QSize(840, 529));
        const PictureExtent extent =
            pictureExtent(ZipEntries::read(documentPath(), QStringLiteral("word/document.xml")));
        QVERIFY(extent.textWidth > 0);
        // Between the margins, and not much narrower than the space between them.
        QVERIFY2(extent.width <= extent.textWidth && extent.width * 10 >= extent.textWidth * 9,
                 qPrintable(QStringLiteral("%1 of %2").arg(extent.width).arg(extent.textWidth)));
        // Upright as the chart is, not squeezed: height to width as 529 to 840, to an EMU's rounding.
        QVERIFY2(std::abs(extent.height * picture.width() - extent.width * picture.height()) <
                     picture.width(),
                 qPrintable(QStringLiteral("%1 x %2").arg(extent.width).arg(extent.height)));
        QCOMPARE(extent.shapeWidth, extent.width);
        QCOMPARE(extent.shapeHeight, extent.height);
        QCOMPARE(ZipEntries::names(documentPath()),
                 QStringList({"[Content_Types].xml", "_rels/.rels", "word/_rels/document.xml.rels",
                              "word/document.xml", "word/styles.xml", "word/fontTable.xml",
                              "word/media/chart.png", "word/header1.xml"}));
    }

    void aDataLineWithCharactersXmlCannotHoldStillMakesAReadableDocument()
    {
        // Half of a character pair and a control character, pasted into a name.
        NeedsChartInput input = oneSubject();
        input.subject1Line = kLine1 + QChar(0xD83D) + QStringLiteral(" x") + QChar(0x01) + QChar(0xFFFF) +
                             QStringLiteral(" y\tz");
        open(input);
        click(QStringLiteral("Cmdword"));
        QTRY_VERIFY_WITH_TIMEOUT(!prompts().texts(Kind::Message).isEmpty(), 3000);
        QCOMPARE(prompts().shown.constLast().title, QStringLiteral("پيام"));
        const QList<DocParagraph> paragraphs = exportedParagraphs();
        QVERIFY2(paragraphs.size() == 5, "the document is no well-formed XML");
        const QChar unknown(QChar::ReplacementCharacter);
        QCOMPARE(paragraphs[3].text,
                 kLine1 + unknown + QStringLiteral(" x") + unknown + unknown + QStringLiteral(" y\tz"));
    }

    void aSecondExportAsksBeforeReplacingTheEarlierDocument()
    {
        open(oneSubject());
        click(QStringLiteral("Cmdword"));
        QTRY_VERIFY_WITH_TIMEOUT(!prompts().texts(Kind::Message).isEmpty(), 3000);
        QVERIFY(prompts().texts(Kind::YesNo).isEmpty()); // nothing there to replace
        const QByteArray first = readAll(documentPath());

        // Declined: the earlier document stays, the new one takes the next free name.
        m_chart->setInput(couple());
        prompts().clear();
        prompts().yesNoAnswers.enqueue(false);
        click(QStringLiteral("Cmdword"));
        QTRY_VERIFY_WITH_TIMEOUT(!prompts().texts(Kind::Message).isEmpty(), 3000);
        QCOMPARE(prompts().texts(Kind::YesNo).size(), 1);
        QVERIFY(prompts().texts(Kind::YesNo).constFirst().contains(kLri + documentPath() + kPdi));
        QCOMPARE(readAll(documentPath()), first);
        const QString second = QFileInfo(documentPath()).dir().filePath(QStringLiteral("VM (2).docx"));
        QVERIFY(prompts().texts(Kind::Message).constLast().contains(second));
        QList<DocParagraph> paragraphs =
            docParagraphs(ZipEntries::read(second, QStringLiteral("word/document.xml")));
        QCOMPARE(paragraphs.size(), 6);
        QCOMPARE(paragraphs[3].text, kLine1);
        QVERIFY(paragraphs[4].text.isEmpty());
        QCOMPARE(paragraphs[5].text, kLine2);
        QVERIFY(QFile::exists(m_folder->filePath(QStringLiteral("13.bmp"))));

        // Declined again: the next name after that.
        prompts().clear();
        prompts().yesNoAnswers.enqueue(false);
        click(QStringLiteral("Cmdword"));
        QTRY_VERIFY_WITH_TIMEOUT(!prompts().texts(Kind::Message).isEmpty(), 3000);
        QVERIFY(QFile::exists(QFileInfo(documentPath()).dir().filePath(QStringLiteral("VM (3).docx"))));

        // Accepted: the earlier document is replaced.
        prompts().clear();
        prompts().yesNoAnswers.enqueue(true);
        click(QStringLiteral("Cmdword"));
        QTRY_VERIFY_WITH_TIMEOUT(!prompts().texts(Kind::Message).isEmpty(), 3000);
        paragraphs = exportedParagraphs();
        QCOMPARE(paragraphs.size(), 6);
        QCOMPARE(paragraphs[5].text, kLine2);
        QVERIFY(!QFile::exists(QFileInfo(documentPath()).dir().filePath(QStringLiteral("VM (4).docx"))));
    }

    void theDocumentCarriesTheLetterheadInItsPageHeader()
    {
        ClinicTexts& clinic = m_folder->navigator.clinic;
        clinic.contactLines = QStringLiteral("تلفن: 021-5550\r\n+98 21 5550\r\nwww.aramesh.example\r\n");
        clinic.showLogo = true;
        open(oneSubject());
        click(QStringLiteral("Cmdword"));
        QTRY_VERIFY_WITH_TIMEOUT(!prompts().texts(Kind::Message).isEmpty(), 3000);

        const QByteArray header = ZipEntries::read(documentPath(), QStringLiteral("word/header1.xml"));
        const QList<DocParagraph> lines = docParagraphs(header);
        QStringList texts;
        bool logo = false;
        for (const DocParagraph& line : lines) {
            if (!line.text.isEmpty())
                texts << line.text;
            logo = logo || line.picture;
        }
        // Each stored line as stored; the one a right-to-left line would reorder, isolated.
        QCOMPARE(texts, QStringList({clinic.name, clinic.address, QStringLiteral("تلفن: 021-5550"),
                                     kLri + QStringLiteral("+98 21 5550") + kPdi,
                                     kLri + QStringLiteral("www.aramesh.example") + kPdi}));
        QVERIFY(logo);
        const QImage logoPart =
            QImage::fromData(ZipEntries::read(documentPath(), QStringLiteral("word/media/logo.png")));
        QCOMPARE(logoPart.size(), clinic.logo.size());
        // The section names the header; the body is as it was.
        const QByteArray document = ZipEntries::read(documentPath(), QStringLiteral("word/document.xml"));
        QVERIFY(document.contains("<w:headerReference w:type=\"default\" r:id=\"rIdHeader\"/>"));
        QVERIFY(ZipEntries::read(documentPath(), QStringLiteral("word/_rels/document.xml.rels"))
                    .contains("Id=\"rIdHeader\" "
                              "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                              "header\" Target=\"header1.xml\""));
        QCOMPARE(exportedParagraphs().size(), 5);

        // Without the logo flag the header holds no picture and the document no logo part.
        clinic.showLogo = false;
        prompts().clear();
        prompts().yesNoAnswers.enqueue(true);
        click(QStringLiteral("Cmdword"));
        QTRY_VERIFY_WITH_TIMEOUT(!prompts().texts(Kind::Message).isEmpty(), 3000);
        QVERIFY(!ZipEntries::names(documentPath()).contains(QStringLiteral("word/media/logo.png")));
        for (const DocParagraph& line :
             docParagraphs(ZipEntries::read(documentPath(), QStringLiteral("word/header1.xml"))))
            QVERIFY(!line.picture);
    }

    void thePersianTextIsSetInTheTypefacesTheProgramShips()
    {
        open(oneSubject());
        click(QStringLiteral("Cmdword"));
        QTRY_VERIFY_WITH_TIMEOUT(!prompts().texts(Kind::Message).isEmpty(), 3000);
        // The typeface of each run's Persian text, by the part it stands in.
        QSet<QString> typefaces;
        for (const QString& part :
             {QStringLiteral("word/document.xml"), QStringLiteral("word/header1.xml")}) {
            QXmlStreamReader reader(ZipEntries::read(documentPath(), part));
            while (!reader.atEnd()) {
                if (reader.readNext() == QXmlStreamReader::StartElement &&
                    reader.qualifiedName() == u"w:rFonts")
                    typefaces << reader.attributes().value(QStringLiteral("w:cs")).toString();
            }
        }
        QCOMPARE(typefaces, QSet<QString>({QStringLiteral("Nazli"), QStringLiteral("Titr")}));
        // Each declared with the typeface it stands in for as its alternate.
        QHash<QString, QString> alternates;
        QXmlStreamReader fonts(ZipEntries::read(documentPath(), QStringLiteral("word/fontTable.xml")));
        QString font;
        while (!fonts.atEnd()) {
            if (fonts.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (fonts.qualifiedName() == u"w:font")
                font = fonts.attributes().value(QStringLiteral("w:name")).toString();
            else if (fonts.qualifiedName() == u"w:altName")
                alternates.insert(font, fonts.attributes().value(QStringLiteral("w:val")).toString());
        }
        QVERIFY(!fonts.hasError());
        QCOMPARE(alternates.value(QStringLiteral("Nazli")), QStringLiteral("B Nazanin"));
        QCOMPARE(alternates.value(QStringLiteral("Titr")), QStringLiteral("B Titr"));
        // And both reachable from the document.
        const QByteArray relationships =
            ZipEntries::read(documentPath(), QStringLiteral("word/_rels/document.xml.rels"));
        QVERIFY(relationships.contains("Target=\"fontTable.xml\""));
        QVERIFY(relationships.contains("Target=\"styles.xml\""));
    }

    void aDocumentThatCannotBeWrittenIsReportedInsteadOfTheSuccessMessage()
    {
        // A file where the documents folder should be: nothing can be written into it.
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QDir(documents).removeRecursively();
        QFile blocker(documents);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        open(oneSubject());
        click(QStringLiteral("Cmdword"));
        QTRY_VERIFY_WITH_TIMEOUT(!prompts().texts(Kind::Message).isEmpty(), 3000);
        QFile::remove(documents);

        QCOMPARE(prompts().texts(Kind::Message).size(), 1);
        const FakePrompts::Shown& shown = prompts().shown.constLast();
        QCOMPARE(shown.title, QStringLiteral("خطا"));
        QCOMPARE(shown.icon, Prompts::Icon::Exclamation);
        QVERIFY(shown.text.startsWith(QStringLiteral("فايل Word ساخته نشد")));
        QVERIFY(shown.text.contains(kLri + documentPath() + kPdi));
        // And why, in words the user can act on.
        QVERIFY2(shown.text.endsWith(QStringLiteral("\nپوشه مقصد وجود ندارد")), qPrintable(shown.text));
        QVERIFY(m_folder->desktop.openedUrls.isEmpty());
        verifyScreenLook();
    }

    void aBitmapThatCannotBeSavedSaysWhyAndTheDocumentIsStillMade()
    {
        open(oneSubject());
        // The program folder gone from under the running program (a network share dropped).
        const QString dataFolder = m_folder->path();
        const QString parked = dataFolder + QStringLiteral(".parked");
        QVERIFY(QDir().rename(dataFolder, parked));
        click(QStringLiteral("Cmdword"));
        QTRY_VERIFY_WITH_TIMEOUT(prompts().texts(Kind::Message).size() == 2, 3000);
        QVERIFY(QDir().rename(parked, dataFolder));

        const FakePrompts::Shown& bitmap = prompts().shown.first();
        QCOMPARE(bitmap.title, QStringLiteral("خطا"));
        QVERIFY(bitmap.text.startsWith(QStringLiteral("تصوير نمودار در پوشه برنامه ذخيره نشد:")));
        QVERIFY(bitmap.text.contains(kLri + m_folder->filePath(QStringLiteral("12.bmp")) + kPdi));
        QVERIFY2(bitmap.text.endsWith(QStringLiteral("\nپوشه مقصد وجود ندارد")), qPrintable(bitmap.text));
        QCOMPARE(prompts().shown.constLast().title, QStringLiteral("پيام"));
        QCOMPARE(exportedParagraphs().size(), 5);
    }

    void theDocumentNamesTakeTheNextFreeNumber()
    {
        QTemporaryDir folder;
        const QDir dir(folder.path());
        QCOMPARE(WordExport::documentPath(folder.path(), false), dir.filePath(QStringLiteral("VM.docx")));
        QFile(dir.filePath(QStringLiteral("VM.docx"))).open(QIODevice::WriteOnly);
        QCOMPARE(WordExport::documentPath(folder.path(), true), dir.filePath(QStringLiteral("VM.docx")));
        QCOMPARE(WordExport::documentPath(folder.path(), false), dir.filePath(QStringLiteral("VM (2).docx")));
        QFile(dir.filePath(QStringLiteral("VM (2).docx"))).open(QIODevice::WriteOnly);
        QFile(dir.filePath(QStringLiteral("VM (4).docx"))).open(QIODevice::WriteOnly);
        QCOMPARE(WordExport::documentPath(folder.path(), false), dir.filePath(QStringLiteral("VM (3).docx")));
    }

    void bitmapNamesStayInTheProgramFolder()
    {
        const QString folder = QStringLiteral("/opt/velmora");
        QCOMPARE(WordExport::bitmapPath(folder, QStringLiteral("12")), QStringLiteral("/opt/velmora/12.bmp"));
        QCOMPARE(WordExport::bitmapPath(folder, QStringLiteral("../a/b")),
                 QStringLiteral("/opt/velmora/.._a_b.bmp"));
        QCOMPARE(WordExport::bitmapPath(folder, QStringLiteral("..")),
                 QStringLiteral("/opt/velmora/_...bmp"));
        QCOMPARE(WordExport::bitmapPath(folder, QString()), QStringLiteral("/opt/velmora/_.bmp"));
        // A code pasted with a tab or a line break names no file with one in it.
        QCOMPARE(WordExport::bitmapPath(folder, QStringLiteral("12\t3")),
                 QStringLiteral("/opt/velmora/12_3.bmp"));
        QCOMPARE(WordExport::bitmapPath(folder, QStringLiteral("12\r\n")),
                 QStringLiteral("/opt/velmora/12__.bmp"));
        QCOMPARE(WordExport::bitmapPath(folder, QStringLiteral("\n12")),
                 QStringLiteral("/opt/velmora/_12.bmp"));
    }
};

QTEST_MAIN(ChartPrintTest)
#include "ChartPrintTest.moc"
