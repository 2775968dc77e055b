#include "WordExport.h"

#include "common/BidiText.h"
#include "formatlibs/ZipLibrary.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <array>
#include <cerrno>
#include <memory>
#include <utility>
#include <vector>

namespace {

using WordExport::kHeadingTypeface;
using WordExport::kTextTypeface;

constexpr auto kWordNamespace = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr auto kRelationshipsNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr auto kDrawingNamespace = "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
constexpr auto kGraphicNamespace = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr auto kPictureNamespace = "http://schemas.openxmlformats.org/drawingml/2006/picture";

// A4 with one-inch margins, in twips; the picture takes the full width between the margins.
constexpr int kPageWidth = 11906;
constexpr int kPageHeight = 16838;
constexpr int kMargin = 1440;
constexpr qint64 kEmuPerTwip = 635;

const QString kPictureName = QStringLiteral("chart.png");
const QString kLogoName = QStringLiteral("logo.png");
const QString kContactTypeface = QStringLiteral("Calibri");
constexpr int kHalfPoints = 24; // 12 point
// The letterhead's sizes, as the printed chart has them: the name 15.75 point, the address and the
// contact text 9.75 point (in half points, rounded).
constexpr int kNameHalfPoints = 32;
constexpr int kSmallHalfPoints = 20;
// The logo's box in the page header, in twips, as on the printed chart.
constexpr QSize kLogoBox{1471, 1286};
// The header's two columns: the name and address on the right, the logo and contact text on the left.
constexpr int kTextWidth = kPageWidth - 2 * kMargin;
constexpr int kHeaderRightColumn = 5600;
constexpr int kHeaderLeftColumn = kTextWidth - kHeaderRightColumn;

const QByteArray kContentTypes = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Default Extension="png" ContentType="image/png"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/><Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/><Override PartName="/word/fontTable.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.fontTable+xml"/><Override PartName="/word/header1.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml"/></Types>)";

const QByteArray kPackageRelationships = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>)";

const QByteArray kDocumentRelationships = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rIdChart" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/image" Target="media/chart.png"/><Relationship Id="rIdStyles" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/><Relationship Id="rIdFonts" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/fontTable" Target="fontTable.xml"/><Relationship Id="rIdHeader" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/header" Target="header1.xml"/></Relationships>)";

const QByteArray kHeaderRelationships = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rIdLogo" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/image" Target="media/logo.png"/></Relationships>)";

// How a run of text is set.
struct RunStyle
{
    QString typeface = kTextTypeface; // of the Persian (complex script) text
    int halfPoints = kHalfPoints;
    bool bold = false;
    bool rightToLeft = true;
    QString latinTypeface; // of Latin text; empty: the document's default
};

enum class Alignment
{
    Justified,
    Centred,
    Right,
    Left
};

void writeParagraphProperties(QXmlStreamWriter& xml, Alignment alignment = Alignment::Justified,
                              bool rightToLeft = true)
{
    xml.writeStartElement(QStringLiteral("w:pPr"));
    if (rightToLeft)
        xml.writeEmptyElement(QStringLiteral("w:bidi"));
    xml.writeEmptyElement(QStringLiteral("w:jc"));
    // In a right-to-left paragraph a word processor reads "left" and "right" from the paragraph's
    // start; these are the page's sides.
    QString side;
    switch (alignment) {
    case Alignment::Justified:
        side = QStringLiteral("both");
        break;
    case Alignment::Centred:
        side = QStringLiteral("center");
        break;
    case Alignment::Right:
        side = rightToLeft ? QStringLiteral("left") : QStringLiteral("right");
        break;
    case Alignment::Left:
        side = rightToLeft ? QStringLiteral("right") : QStringLiteral("left");
        break;
    }
    xml.writeAttribute(QStringLiteral("w:val"), side);
    xml.writeEndElement();
}

void writeRunProperties(QXmlStreamWriter& xml, const RunStyle& style = {})
{
    xml.writeStartElement(QStringLiteral("w:rPr"));
    xml.writeEmptyElement(QStringLiteral("w:rFonts"));
    if (!style.latinTypeface.isEmpty()) {
        for (const QString& slot : {QStringLiteral("w:ascii"), QStringLiteral("w:hAnsi")})
            xml.writeAttribute(slot, style.latinTypeface);
    }
    xml.writeAttribute(QStringLiteral("w:cs"), style.typeface);
    if (style.bold) {
        xml.writeEmptyElement(QStringLiteral("w:b"));
        xml.writeEmptyElement(QStringLiteral("w:bCs"));
    }
    for (const QString& size : {QStringLiteral("w:sz"), QStringLiteral("w:szCs")}) {
        xml.writeEmptyElement(size);
        xml.writeAttribute(QStringLiteral("w:val"), QString::number(style.halfPoints));
    }
    // After the sizes, where the schema puts it: a word processor may refuse properties out of order.
    if (style.rightToLeft)
        xml.writeEmptyElement(QStringLiteral("w:rtl"));
    xml.writeEndElement();
}

// The text with every character XML 1.0 cannot hold (a lone surrogate, a control character
// other than tab, LF and CR, U+FFFE, U+FFFF) replaced by U+FFFD: one such character pasted into
// a subject's data would otherwise make the whole document unreadable.
QString xmlLegal(const QString& text)
{
    QString legal = text;
    for (qsizetype i = 0; i < legal.size(); ++i) {
        const char16_t c = legal.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < legal.size() && legal.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        const bool control = c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
        if (control || QChar::isSurrogate(c) || c >= 0xFFFE)
            legal[i] = QChar(QChar::ReplacementCharacter);
    }
    return legal;
}

void writeRun(QXmlStreamWriter& xml, const QString& text, const RunStyle& style)
{
    xml.writeStartElement(QStringLiteral("w:r"));
    writeRunProperties(xml, style);
    xml.writeStartElement(QStringLiteral("w:t"));
    xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
    xml.writeCharacters(xmlLegal(text));
    xml.writeEndElement();
    xml.writeEndElement();
}

void writeTextParagraph(QXmlStreamWriter& xml, const QString& text, const RunStyle& style = {},
                        Alignment alignment = Alignment::Justified)
{
    xml.writeStartElement(QStringLiteral("w:p"));
    writeParagraphProperties(xml, alignment, style.rightToLeft);
    if (!text.isEmpty())
        writeRun(xml, text, style);
    xml.writeEndElement();
}

// The lines of a stored text (the clinic's name, address, contact text), each a unit of its own
// reading direction; no empty lines at its end.
QStringList storedLines(const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    while (lines.endsWith(u'\n'))
        lines.chop(1);
    if (lines.isEmpty())
        return {};
    QStringList result = lines.split(u'\n');
    for (QString& line : result)
        line = BidiText::isolated(line);
    return result;
}

// An inline picture of the given size in EMU, from the part the relationship names.
struct InlinePicture
{
    qint64 width = 0;
    qint64 height = 0;
    QString relationship;
    QString name;
    int id = 1;
};

void writePictureParagraph(QXmlStreamWriter& xml, const InlinePicture& picture,
                           Alignment alignment = Alignment::Justified)
{
    const QString cx = QString::number(picture.width);
    const QString cy = QString::number(picture.height);

    xml.writeStartElement(QStringLiteral("w:p"));
    writeParagraphProperties(xml, alignment);
    xml.writeStartElement(QStringLiteral("w:r"));
    xml.writeStartElement(QStringLiteral("w:drawing"));
    xml.writeStartElement(QStringLiteral("wp:inline"));
    for (const char* distance : {"distT", "distB", "distL", "distR"})
        xml.writeAttribute(QLatin1String(distance), QStringLiteral("0"));
    xml.writeEmptyElement(QStringLiteral("wp:extent"));
    xml.writeAttribute(QStringLiteral("cx"), cx);
    xml.writeAttribute(QStringLiteral("cy"), cy);
    xml.writeEmptyElement(QStringLiteral("wp:docPr"));
    xml.writeAttribute(QStringLiteral("id"), QString::number(picture.id));
    xml.writeAttribute(QStringLiteral("name"), picture.name);
    xml.writeStartElement(QStringLiteral("wp:cNvGraphicFramePr"));
    xml.writeEmptyElement(QStringLiteral("a:graphicFrameLocks"));
    xml.writeAttribute(QStringLiteral("noChangeAspect"), QStringLiteral("1"));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("a:graphic"));
    xml.writeStartElement(QStringLiteral("a:graphicData"));
    xml.writeAttribute(QStringLiteral("uri"), QLatin1String(kPictureNamespace));
    xml.writeStartElement(QStringLiteral("pic:pic"));
    xml.writeStartElement(QStringLiteral("pic:nvPicPr"));
    xml.writeEmptyElement(QStringLiteral("pic:cNvPr"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("name"), picture.name);
    xml.writeEmptyElement(QStringLiteral("pic:cNvPicPr"));
    xml.writeEndElement(); // nvPicPr
    xml.writeStartElement(QStringLiteral("pic:blipFill"));
    xml.writeEmptyElement(QStringLiteral("a:blip"));
    xml.writeAttribute(QStringLiteral("r:embed"), picture.relationship);
    xml.writeStartElement(QStringLiteral("a:stretch"));
    xml.writeEmptyElement(QStringLiteral("a:fillRect"));
    xml.writeEndElement();
    xml.writeEndElement(); // blipFill
    xml.writeStartElement(QStringLiteral("pic:spPr"));
    xml.writeStartElement(QStringLiteral("a:xfrm"));
    xml.writeEmptyElement(QStringLiteral("a:off"));
    xml.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
    xml.writeEmptyElement(QStringLiteral("a:ext"));
    xml.writeAttribute(QStringLiteral("cx"), cx);
    xml.writeAttribute(QStringLiteral("cy"), cy);
    xml.writeEndElement(); // xfrm
    xml.writeStartElement(QStringLiteral("a:prstGeom"));
    xml.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
    xml.writeEmptyElement(QStringLiteral("a:avLst"));
    xml.writeEndElement();
    xml.writeEndElement(); // spPr
    xml.writeEndElement(); // pic
    xml.writeEndElement(); // graphicData
    xml.writeEndElement(); // graphic
    xml.writeEndElement(); // inline
    xml.writeEndElement(); // drawing
    xml.writeEndElement(); // r
    xml.writeEndElement(); // p
}

void startPart(QXmlStreamWriter& xml, const QString& root)
{
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeStartElement(root);
    xml.writeNamespace(QLatin1String(kWordNamespace), QStringLiteral("w"));
    xml.writeNamespace(QLatin1String(kRelationshipsNamespace), QStringLiteral("r"));
    xml.writeNamespace(QLatin1String(kDrawingNamespace), QStringLiteral("wp"));
    xml.writeNamespace(QLatin1String(kGraphicNamespace), QStringLiteral("a"));
    xml.writeNamespace(QLatin1String(kPictureNamespace), QStringLiteral("pic"));
}

// A text written by the writer, or nothing when it could not be written whole.
QByteArray finishedPart(QXmlStreamWriter& xml, const QByteArray& bytes)
{
    xml.writeEndDocument();
    // A text the writer could not encode leaves a broken document: no document at all is better.
    return xml.hasError() ? QByteArray() : bytes;
}

bool hasLetterhead(const ClinicTexts& letterhead)
{
    return !storedLines(letterhead.name).isEmpty() || !storedLines(letterhead.address).isEmpty() ||
           !storedLines(letterhead.contactLines).isEmpty() ||
           (letterhead.showLogo && !letterhead.logo.isNull());
}

QSize logoSizeInTwips(const QImage& logo)
{
    return logo.size().scaled(kLogoBox, Qt::KeepAspectRatio);
}

void writeCell(QXmlStreamWriter& xml, int width)
{
    xml.writeStartElement(QStringLiteral("w:tc"));
    xml.writeStartElement(QStringLiteral("w:tcPr"));
    xml.writeEmptyElement(QStringLiteral("w:tcW"));
    xml.writeAttribute(QStringLiteral("w:w"), QString::number(width));
    xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
    xml.writeEndElement();
}

// The page header: the clinic's name and address on the right, its logo and contact text on the
// left, and below them the double rule of the printed chart.
QByteArray headerXml(const ClinicTexts& letterhead)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    startPart(xml, QStringLiteral("w:hdr"));

    xml.writeStartElement(QStringLiteral("w:tbl"));
    xml.writeStartElement(QStringLiteral("w:tblPr"));
    xml.writeEmptyElement(QStringLiteral("w:bidiVisual"));
    xml.writeEmptyElement(QStringLiteral("w:tblW"));
    xml.writeAttribute(QStringLiteral("w:w"), QString::number(kTextWidth));
    xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("dxa"));
    xml.writeEmptyElement(QStringLiteral("w:tblLayout"));
    xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("fixed"));
    xml.writeEndElement(); // tblPr
    xml.writeStartElement(QStringLiteral("w:tblGrid"));
    for (const int width : {kHeaderRightColumn, kHeaderLeftColumn}) {
        xml.writeEmptyElement(QStringLiteral("w:gridCol"));
        xml.writeAttribute(QStringLiteral("w:w"), QString::number(width));
    }
    xml.writeEndElement(); // tblGrid
    xml.writeStartElement(QStringLiteral("w:tr"));

    // A cell must end with a paragraph, so an empty text still gives one.
    writeCell(xml, kHeaderRightColumn);
    const RunStyle name{kTextTypeface, kNameHalfPoints, true, true, {}};
    const RunStyle address{kHeadingTypeface, kSmallHalfPoints, true, true, {}};
    const QStringList nameLines = storedLines(letterhead.name);
    const QStringList addressLines = storedLines(letterhead.address);
    for (const QString& line : nameLines)
        writeTextParagraph(xml, line, name, Alignment::Centred);
    for (const QString& line : addressLines)
        writeTextParagraph(xml, line, address, Alignment::Right);
    if (nameLines.isEmpty() && addressLines.isEmpty())
        writeTextParagraph(xml, QString(), name, Alignment::Centred);
    xml.writeEndElement(); // tc

    writeCell(xml, kHeaderLeftColumn);
    const bool logo = letterhead.showLogo && !letterhead.logo.isNull();
    if (logo) {
        const QSize twips = logoSizeInTwips(letterhead.logo);
        writePictureParagraph(xml,
                              {twips.width() * kEmuPerTwip, twips.height() * kEmuPerTwip,
                               QStringLiteral("rIdLogo"), kLogoName, 2},
                              Alignment::Left);
    }
    const RunStyle contact{kTextTypeface, kSmallHalfPoints, true, true, kContactTypeface};
    const QStringList contactLines = storedLines(letterhead.contactLines);
    for (const QString& line : contactLines)
        writeTextParagraph(xml, line, contact, Alignment::Left);
    if (!logo && contactLines.isEmpty())
        writeTextParagraph(xml, QString(), contact, Alignment::Left);
    xml.writeEndElement(); // tc

    xml.writeEndElement(); // tr
    xml.writeEndElement(); // tbl

    // The two rules under the letterhead.
    xml.writeStartElement(QStringLiteral("w:p"));
    xml.writeStartElement(QStringLiteral("w:pPr"));
    xml.writeStartElement(QStringLiteral("w:pBdr"));
    xml.writeEmptyElement(QStringLiteral("w:bottom"));
    xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("double"));
    xml.writeAttribute(QStringLiteral("w:sz"), QStringLiteral("6"));
    xml.writeAttribute(QStringLiteral("w:space"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("w:color"), QStringLiteral("000000"));
    xml.writeEndElement(); // pBdr
    xml.writeEmptyElement(QStringLiteral("w:bidi"));
    xml.writeEndElement(); // pPr
    xml.writeEndElement(); // p

    xml.writeEndElement(); // hdr
    return finishedPart(xml, bytes);
}

// The typefaces the document names, each with the one it stands in for as its alternate name.
QByteArray fontTableXml()
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeStartElement(QStringLiteral("w:fonts"));
    xml.writeNamespace(QLatin1String(kWordNamespace), QStringLiteral("w"));
    const std::array<std::pair<QString, QString>, 2> persian{
        {{WordExport::kTextTypeface, WordExport::kTextAlternate},
         {WordExport::kHeadingTypeface, WordExport::kHeadingAlternate}}};
    for (const auto& [typeface, alternate] : persian) {
        xml.writeStartElement(QStringLiteral("w:font"));
        xml.writeAttribute(QStringLiteral("w:name"), typeface);
        xml.writeEmptyElement(QStringLiteral("w:altName"));
        xml.writeAttribute(QStringLiteral("w:val"), alternate);
        xml.writeEmptyElement(QStringLiteral("w:charset"));
        xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("B2")); // Arabic
        xml.writeEmptyElement(QStringLiteral("w:family"));
        xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("auto"));
        xml.writeEmptyElement(QStringLiteral("w:pitch"));
        xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("variable"));
        xml.writeEndElement();
    }
    xml.writeEndElement(); // fonts
    xml.writeEndDocument();
    return xml.hasError() ? QByteArray() : bytes;
}

// The document's defaults: Persian as the language of its right-to-left text, set in the Persian
// typeface.
QByteArray stylesXml()
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeStartElement(QStringLiteral("w:styles"));
    xml.writeNamespace(QLatin1String(kWordNamespace), QStringLiteral("w"));
    xml.writeStartElement(QStringLiteral("w:docDefaults"));
    xml.writeStartElement(QStringLiteral("w:rPrDefault"));
    xml.writeStartElement(QStringLiteral("w:rPr"));
    xml.writeEmptyElement(QStringLiteral("w:rFonts"));
    xml.writeAttribute(QStringLiteral("w:cs"), WordExport::kTextTypeface);
    xml.writeEmptyElement(QStringLiteral("w:lang"));
    xml.writeAttribute(QStringLiteral("w:bidi"), QStringLiteral("fa-IR"));
    xml.writeEndElement(); // rPr
    xml.writeEndElement(); // rPrDefault
    xml.writeEndElement(); // docDefaults
    xml.writeEndElement(); // styles
    xml.writeEndDocument();
    return xml.hasError() ? QByteArray() : bytes;
}

QByteArray documentXml(const QSize& picture, const QStringList& textParagraphs, bool withHeader)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    startPart(xml, QStringLiteral("w:document"));
    xml.writeStartElement(QStringLiteral("w:body"));

    const qint64 width = kTextWidth * kEmuPerTwip;
    const qint64 height = picture.width() > 0 ? width * picture.height() / picture.width() : 0;
    writeTextParagraph(xml, QString());
    writePictureParagraph(xml, {width, height, QStringLiteral("rIdChart"), QStringLiteral("Chart"), 1});
    writeTextParagraph(xml, QString());
    for (const QString& text : textParagraphs)
        writeTextParagraph(xml, text);

    xml.writeStartElement(QStringLiteral("w:sectPr"));
    if (withHeader) {
        xml.writeEmptyElement(QStringLiteral("w:headerReference"));
        xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("default"));
        xml.writeAttribute(QStringLiteral("r:id"), QStringLiteral("rIdHeader"));
    }
    xml.writeEmptyElement(QStringLiteral("w:pgSz"));
    xml.writeAttribute(QStringLiteral("w:w"), QString::number(kPageWidth));
    xml.writeAttribute(QStringLiteral("w:h"), QString::number(kPageHeight));
    xml.writeEmptyElement(QStringLiteral("w:pgMar"));
    for (const char* side : {"w:top", "w:right", "w:bottom", "w:left"})
        xml.writeAttribute(QLatin1String(side), QString::number(kMargin));
    // The letterhead sits in the top margin's upper half.
    xml.writeAttribute(QStringLiteral("w:header"), QString::number(kMargin / 2));
    xml.writeAttribute(QStringLiteral("w:footer"), QString::number(kMargin / 2));
    xml.writeAttribute(QStringLiteral("w:gutter"), QStringLiteral("0"));
    xml.writeEmptyElement(QStringLiteral("w:bidi"));
    xml.writeEndElement(); // sectPr
    xml.writeEndElement(); // body
    xml.writeEndElement(); // document
    return finishedPart(xml, bytes);
}

QByteArray pngOf(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? png : QByteArray();
}

// A zip archive built in memory with libzip; none is made where libzip is missing.
class ZipWriter
{
public:
    ZipWriter()
    {
        if (!m_zip)
            return;
        m_zip->zip_error_init(&m_error);
        m_source = m_zip->zip_source_buffer_create(nullptr, 0, 0, &m_error);
        if (!m_source)
            return;
        m_zip->zip_source_keep(m_source); // still needed after the archive is closed, to read the bytes
        m_archive = m_zip->zip_open_from_source(m_source, ZIP_TRUNCATE, &m_error);
        if (!m_archive)
            m_zip->zip_source_free(m_source); // the reference the archive would have taken
    }
    ~ZipWriter()
    {
        if (!m_zip)
            return;
        if (m_archive)
            m_zip->zip_discard(m_archive);
        if (m_source)
            m_zip->zip_source_free(m_source);
        m_zip->zip_error_fini(&m_error);
    }
    Q_DISABLE_COPY_MOVE(ZipWriter)

    bool add(const QString& name, QByteArray data)
    {
        if (!m_archive)
            return false;
        m_parts.push_back(std::move(data)); // libzip reads the bytes only when the archive closes
        const QByteArray& kept = m_parts.back();
        zip_source_t* part =
            m_zip->zip_source_buffer(m_archive, kept.constData(), static_cast<zip_uint64_t>(kept.size()), 0);
        if (!part)
            return false;
        if (m_zip->zip_file_add(m_archive, name.toUtf8().constData(), part, ZIP_FL_ENC_UTF_8) < 0) {
            m_zip->zip_source_free(part);
            return false;
        }
        return true;
    }

    // Closes the archive and returns its bytes; empty when it could not be made.
    QByteArray finish()
    {
        if (!m_archive || m_zip->zip_close(m_archive) < 0)
            return {};
        m_archive = nullptr;
        QByteArray bytes;
        if (m_zip->zip_source_open(m_source) < 0)
            return {};
        m_zip->zip_source_seek(m_source, 0, SEEK_END);
        const zip_int64_t size = m_zip->zip_source_tell(m_source);
        m_zip->zip_source_seek(m_source, 0, SEEK_SET);
        if (size > 0) {
            bytes.resize(static_cast<qsizetype>(size));
            if (m_zip->zip_source_read(m_source, bytes.data(), static_cast<zip_uint64_t>(size)) != size)
                bytes.clear();
        }
        m_zip->zip_source_close(m_source);
        return bytes;
    }

private:
    const ZipLibrary* const m_zip = ZipLibrary::get();
    zip_error_t m_error;
    zip_source_t* m_source = nullptr;
    zip_t* m_archive = nullptr;
    std::vector<QByteArray> m_parts;
};

} // namespace

namespace WordExport {

QString documentText(const NeedsChartInput& input)
{
    const QString lineBreak = QStringLiteral("\r\n");
    QString text = input.subject1Line + lineBreak + lineBreak;
    if (input.modeText() != QLatin1String("1"))
        text += input.subject2Line + lineBreak;
    return text;
}

QStringList paragraphs(const QString& text)
{
    QStringList parts = text.split(QStringLiteral("\r\n"));
    // The last break ends the last paragraph; it starts no paragraph of its own.
    if (parts.size() > 1 && parts.constLast().isEmpty())
        parts.removeLast();
    return parts;
}

QString bitmapPath(const QString& dataFolder, const QString& subjectCode)
{
    QString name = subjectCode;
    for (QChar& c : name) {
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.category() == QChar::Other_Control)
            c = u'_';
    }
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("_") + name;
    return QDir(dataFolder).filePath(name + QStringLiteral(".bmp"));
}

QByteArray documentBytes(const QImage& chart, const QStringList& textParagraphs,
                         const ClinicTexts& letterhead)
{
    const QByteArray png = pngOf(chart);
    if (png.isEmpty())
        return {};
    const bool withHeader = hasLetterhead(letterhead);
    const bool withLogo = withHeader && letterhead.showLogo && !letterhead.logo.isNull();

    const QByteArray document = documentXml(chart.size(), textParagraphs, withHeader);
    const QByteArray fonts = fontTableXml();
    const QByteArray styles = stylesXml();
    const QByteArray header = withHeader ? headerXml(letterhead) : QByteArray();
    const QByteArray logo = withLogo ? pngOf(letterhead.logo) : QByteArray();
    if (document.isEmpty() || fonts.isEmpty() || styles.isEmpty() || (withHeader && header.isEmpty()) ||
        (withLogo && logo.isEmpty()))
        return {};
    QByteArray relationships = kDocumentRelationships;
    if (!withHeader)
        relationships.replace(
            QByteArrayLiteral(
                R"(<Relationship Id="rIdHeader" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/header" Target="header1.xml"/>)"),
            QByteArray());
    QByteArray contentTypes = kContentTypes;
    if (!withHeader)
        contentTypes.replace(
            QByteArrayLiteral(
                R"(<Override PartName="/word/header1.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml"/>)"),
            QByteArray());

    ZipWriter zip;
    bool added = zip.add(QStringLiteral("[Content_Types].xml"), contentTypes) &&
                 zip.add(QStringLiteral("_rels/.rels"), kPackageRelationships) &&
                 zip.add(QStringLiteral("word/_rels/document.xml.rels"), relationships) &&
                 zip.add(QStringLiteral("word/document.xml"), document) &&
                 zip.add(QStringLiteral("word/styles.xml"), styles) &&
                 zip.add(QStringLiteral("word/fontTable.xml"), fonts) &&
                 zip.add(QStringLiteral("word/media/") + kPictureName, png);
    if (withHeader) {
        added = added && zip.add(QStringLiteral("word/header1.xml"), header);
        if (withLogo)
            added = added && zip.add(QStringLiteral("word/_rels/header1.xml.rels"), kHeaderRelationships) &&
                    zip.add(QStringLiteral("word/media/") + kLogoName, logo);
    }
    return added ? zip.finish() : QByteArray();
}

bool writeDocument(const QString& filePath, const QImage& chart, const QStringList& textParagraphs,
                   const ClinicTexts& letterhead, int* errorNumber)
{
    int failure = 0;
    const auto failed = [&failure, errorNumber] {
        if (errorNumber)
            *errorNumber = failure;
        return false;
    };
    const QByteArray bytes = documentBytes(chart, textParagraphs, letterhead);
    if (bytes.isEmpty())
        return failed();
    QSaveFile file(filePath);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        failure = errno;
        return failed();
    }
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        failure = errno;
        return failed();
    }
    errno = 0;
    if (!file.commit()) {
        failure = errno;
        return failed();
    }
    if (errorNumber)
        *errorNumber = 0;
    return true;
}

QString documentPath(const QString& folder, bool replaceExisting)
{
    const QDir dir(folder);
    const QString first = dir.filePath(QStringLiteral("VM.docx"));
    if (replaceExisting || !QFileInfo::exists(first))
        return first;
    for (int n = 2;; ++n) {
        const QString next = dir.filePath(QStringLiteral("VM (%1).docx").arg(n));
        if (!QFileInfo::exists(next))
            return next;
    }
}

} // namespace WordExport
