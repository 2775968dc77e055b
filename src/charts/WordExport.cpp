#include "WordExport.h"

#include <QBuffer>
#include <QDir>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <zip.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

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
const QString kPersianTypeface = QStringLiteral("B Nazanin");
constexpr int kHalfPoints = 24; // 12 point

const QByteArray kContentTypes = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Default Extension="png" ContentType="image/png"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>)";

const QByteArray kPackageRelationships = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>)";

const QByteArray kDocumentRelationships = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rIdChart" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/image" Target="media/chart.png"/></Relationships>)";

void writeParagraphProperties(QXmlStreamWriter& xml)
{
    xml.writeStartElement(QStringLiteral("w:pPr"));
    xml.writeEmptyElement(QStringLiteral("w:bidi"));
    xml.writeEmptyElement(QStringLiteral("w:jc"));
    xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("both"));
    xml.writeEndElement();
}

void writeRunProperties(QXmlStreamWriter& xml)
{
    xml.writeStartElement(QStringLiteral("w:rPr"));
    xml.writeEmptyElement(QStringLiteral("w:rFonts"));
    xml.writeAttribute(QStringLiteral("w:cs"), kPersianTypeface);
    xml.writeEmptyElement(QStringLiteral("w:rtl"));
    for (const QString& size : {QStringLiteral("w:sz"), QStringLiteral("w:szCs")}) {
        xml.writeEmptyElement(size);
        xml.writeAttribute(QStringLiteral("w:val"), QString::number(kHalfPoints));
    }
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

void writeTextParagraph(QXmlStreamWriter& xml, const QString& text)
{
    xml.writeStartElement(QStringLiteral("w:p"));
    writeParagraphProperties(xml);
    if (!text.isEmpty()) {
        xml.writeStartElement(QStringLiteral("w:r"));
        writeRunProperties(xml);
        xml.writeStartElement(QStringLiteral("w:t"));
        xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        xml.writeCharacters(xmlLegal(text));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void writePictureParagraph(QXmlStreamWriter& xml, const QSize& pixels)
{
    const qint64 width = (kPageWidth - 2 * kMargin) * kEmuPerTwip;
    const qint64 height = pixels.width() > 0 ? width * pixels.height() / pixels.width() : 0;
    const QString cx = QString::number(width);
    const QString cy = QString::number(height);

    xml.writeStartElement(QStringLiteral("w:p"));
    writeParagraphProperties(xml);
    xml.writeStartElement(QStringLiteral("w:r"));
    xml.writeStartElement(QStringLiteral("w:drawing"));
    xml.writeStartElement(QStringLiteral("wp:inline"));
    for (const char* distance : {"distT", "distB", "distL", "distR"})
        xml.writeAttribute(QLatin1String(distance), QStringLiteral("0"));
    xml.writeEmptyElement(QStringLiteral("wp:extent"));
    xml.writeAttribute(QStringLiteral("cx"), cx);
    xml.writeAttribute(QStringLiteral("cy"), cy);
    xml.writeEmptyElement(QStringLiteral("wp:docPr"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("Chart"));
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
    xml.writeAttribute(QStringLiteral("name"), kPictureName);
    xml.writeEmptyElement(QStringLiteral("pic:cNvPicPr"));
    xml.writeEndElement(); // nvPicPr
    xml.writeStartElement(QStringLiteral("pic:blipFill"));
    xml.writeEmptyElement(QStringLiteral("a:blip"));
    xml.writeAttribute(QStringLiteral("r:embed"), QStringLiteral("rIdChart"));
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

QByteArray documentXml(const QSize& picture, const QStringList& textParagraphs)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeStartElement(QStringLiteral("w:document"));
    xml.writeNamespace(QLatin1String(kWordNamespace), QStringLiteral("w"));
    xml.writeNamespace(QLatin1String(kRelationshipsNamespace), QStringLiteral("r"));
    xml.writeNamespace(QLatin1String(kDrawingNamespace), QStringLiteral("wp"));
    xml.writeNamespace(QLatin1String(kGraphicNamespace), QStringLiteral("a"));
    xml.writeNamespace(QLatin1String(kPictureNamespace), QStringLiteral("pic"));
    xml.writeStartElement(QStringLiteral("w:body"));

    writeTextParagraph(xml, QString());
    writePictureParagraph(xml, picture);
    writeTextParagraph(xml, QString());
    for (const QString& text : textParagraphs)
        writeTextParagraph(xml, text);

    xml.writeStartElement(QStringLiteral("w:sectPr"));
    xml.writeEmptyElement(QStringLiteral("w:pgSz"));
    xml.writeAttribute(QStringLiteral("w:w"), QString::number(kPageWidth));
    xml.writeAttribute(QStringLiteral("w:h"), QString::number(kPageHeight));
    xml.writeEmptyElement(QStringLiteral("w:pgMar"));
    for (const char* side : {"w:top", "w:right", "w:bottom", "w:left"})
        xml.writeAttribute(QLatin1String(side), QString::number(kMargin));
    xml.writeEmptyElement(QStringLiteral("w:bidi"));
    xml.writeEndElement(); // sectPr
    xml.writeEndElement(); // body
    xml.writeEndElement(); // document
    xml.writeEndDocument();
    // A text the writer could not encode leaves a broken document: no document at all is better.
    return xml.hasError() ? QByteArray() : bytes;
}

// A zip archive built in memory with libzip.
class ZipWriter
{
public:
    ZipWriter()
    {
        zip_error_init(&m_error);
        m_source = zip_source_buffer_create(nullptr, 0, 0, &m_error);
        if (!m_source)
            return;
        zip_source_keep(m_source); // still needed after the archive is closed, to read the bytes
        m_archive = zip_open_from_source(m_source, ZIP_TRUNCATE, &m_error);
        if (!m_archive)
            zip_source_free(m_source); // the reference the archive would have taken
    }
    ~ZipWriter()
    {
        if (m_archive)
            zip_discard(m_archive);
        if (m_source)
            zip_source_free(m_source);
        zip_error_fini(&m_error);
    }
    Q_DISABLE_COPY_MOVE(ZipWriter)

    bool add(const QString& name, QByteArray data)
    {
        if (!m_archive)
            return false;
        m_parts.push_back(std::move(data)); // libzip reads the bytes only when the archive closes
        const QByteArray& kept = m_parts.back();
        zip_source_t* part =
            zip_source_buffer(m_archive, kept.constData(), static_cast<zip_uint64_t>(kept.size()), 0);
        if (!part)
            return false;
        if (zip_file_add(m_archive, name.toUtf8().constData(), part, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(part);
            return false;
        }
        return true;
    }

    // Closes the archive and returns its bytes; empty when it could not be made.
    QByteArray finish()
    {
        if (!m_archive || zip_close(m_archive) < 0)
            return {};
        m_archive = nullptr;
        QByteArray bytes;
        if (zip_source_open(m_source) < 0)
            return {};
        zip_source_seek(m_source, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(m_source);
        zip_source_seek(m_source, 0, SEEK_SET);
        if (size > 0) {
            bytes.resize(static_cast<qsizetype>(size));
            if (zip_source_read(m_source, bytes.data(), static_cast<zip_uint64_t>(size)) != size)
                bytes.clear();
        }
        zip_source_close(m_source);
        return bytes;
    }

private:
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

QString bitmapPath(const QString& programFolder, const QString& subjectCode)
{
    QString name = subjectCode;
    for (QChar& c : name) {
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.category() == QChar::Other_Control)
            c = u'_';
    }
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("_") + name;
    return QDir(programFolder).filePath(name + QStringLiteral(".bmp"));
}

QByteArray documentBytes(const QImage& chart, const QStringList& textParagraphs)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!chart.save(&buffer, "PNG"))
        return {};

    const QByteArray document = documentXml(chart.size(), textParagraphs);
    if (document.isEmpty())
        return {};
    ZipWriter zip;
    const bool added = zip.add(QStringLiteral("[Content_Types].xml"), kContentTypes) &&
                       zip.add(QStringLiteral("_rels/.rels"), kPackageRelationships) &&
                       zip.add(QStringLiteral("word/_rels/document.xml.rels"), kDocumentRelationships) &&
                       zip.add(QStringLiteral("word/document.xml"), document) &&
                       zip.add(QStringLiteral("word/media/") + kPictureName, png);
    return added ? zip.finish() : QByteArray();
}

bool writeDocument(const QString& filePath, const QImage& chart, const QStringList& textParagraphs)
{
    const QByteArray bytes = documentBytes(chart, textParagraphs);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

} // namespace WordExport
