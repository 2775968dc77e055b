#include "ReportRenderer.h"

#include "common/BidiText.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerPoint = 20.0;
constexpr double kLineWidthTwips = 15.0; // one pixel of the screen the layouts were drawn on
constexpr double kSmallestPointSize = 6.0;

// Draws bands of one report on one device, in twips converted to device pixels.
class BandPainter
{
public:
    BandPainter(QPainter& painter, QPagedPaintDevice& device, int reportWidth)
        : m_painter(painter), m_device(device), m_xScale(device.logicalDpiX() / kTwipsPerInch),
          m_yScale(device.logicalDpiY() / kTwipsPerInch)
    {
        m_left = std::max(0.0, (device.width() - reportWidth * m_xScale) / 2.0);
        // The print preview records each page and lays its texts out again when it shows them,
        // without their direction; there texts go as shaped glyphs, so the screen shows what the
        // paper will.
        m_recorded = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Picture;
    }

    double pageHeightTwips() const { return m_device.height() / m_yScale; }

    // The height the band takes for this row, grown labels included.
    double measure(const ReportBand& band, const ReportRow& row) const { return layout(band, row).height; }

    // Draws the band with its top at the given twips from the top of the page's printable area.
    // Returns the height it took.
    double draw(const ReportBand& band, double top, const ReportRow& row, int rowNumber)
    {
        const Placement placement = layout(band, row);
        for (int i = 0; i < band.elements.size(); ++i) {
            const ReportElement& element = band.elements[i];
            const QRectF box = placement.boxes[i].translated(0, top);
            switch (element.kind) {
            case ReportElement::Kind::Line:
                drawLine(element.line, top);
                break;
            case ReportElement::Kind::Image:
                drawImage(element, box);
                break;
            case ReportElement::Kind::Label:
                drawText(element, element.caption, box);
                break;
            case ReportElement::Kind::Field:
                drawText(element,
                         element.numbersRows ? QString::number(rowNumber) : row.value(element.column), box);
                break;
            }
        }
        return placement.height;
    }

private:
    struct Placement
    {
        QVector<QRectF> boxes; // twips, relative to the band
        double height = 0;
    };

    // Where each element goes: a growing label pushes the elements below it down by its growth,
    // and the band grows by as much.
    Placement layout(const ReportBand& band, const ReportRow& row) const
    {
        QVector<double> growth(band.elements.size(), 0.0);
        for (int i = 0; i < band.elements.size(); ++i) {
            const ReportElement& element = band.elements[i];
            if (!element.growsToFit || element.kind == ReportElement::Kind::Line)
                continue;
            const QString text =
                element.kind == ReportElement::Kind::Field ? row.value(element.column) : element.caption;
            growth[i] = std::max(0.0, textHeight(element, text) - element.geometry.height());
        }
        Placement placement;
        placement.height = band.height;
        for (int i = 0; i < band.elements.size(); ++i) {
            const ReportElement& element = band.elements[i];
            QRectF box = element.geometry;
            box.setHeight(box.height() + growth[i]);
            if (element.kind != ReportElement::Kind::Line) {
                for (int j = 0; j < band.elements.size(); ++j) {
                    const QRect& grower = band.elements[j].geometry;
                    if (growth[j] > 0 && element.geometry.top() >= grower.top() + grower.height())
                        box.translate(0, growth[j]);
                }
            }
            placement.boxes << box;
            placement.height += growth[i];
        }
        return placement;
    }

    QFont font(const ReportFont& face, double pointSize) const
    {
        QFont font(face.family);
        font.setPointSizeF(pointSize);
        font.setBold(face.bold);
        return font;
    }

    static QString printable(const QString& text) { return ReportRenderer::laidOutText(text); }

    static int flags(const ReportElement& element)
    {
        // Positions are absolute: a right-to-left text that is to sit on the left stays on the left.
        return static_cast<int>(element.alignment | Qt::AlignTop | Qt::AlignAbsolute) | Qt::TextWordWrap;
    }

    // The height in twips of the text wrapped into the element's width.
    double textHeight(const ReportElement& element, const QString& text) const
    {
        const QFontMetricsF metrics(font(element.font, element.font.pointSize), &m_device);
        const QRectF room(0, 0, element.geometry.width() * m_xScale, 1e9);
        return metrics.boundingRect(room, flags(element), printable(text)).height() / m_yScale;
    }

    void drawText(const ReportElement& element, const QString& rawText, const QRectF& twips)
    {
        const QString text = printable(rawText);
        if (text.isEmpty())
            return;
        const QRectF box = toDevice(twips);
        QFont shown = font(element.font, element.font.pointSize);
        // A text too long for its box is set smaller until it fits rather than cut off; a text on
        // one line that fits its width is drawn as it is, whatever the typeface's line height.
        if (!element.growsToFit) {
            QFontMetricsF metrics(shown, &m_device);
            while (shown.pointSizeF() > kSmallestPointSize &&
                   (text.contains(u'\n') || metrics.horizontalAdvance(text) > box.width()) &&
                   metrics.boundingRect(QRectF(0, 0, box.width(), 1e9), flags(element), text).height() >
                       std::max(box.height(), metrics.height())) {
                shown.setPointSizeF(shown.pointSizeF() - 0.5);
                metrics = QFontMetricsF(shown, &m_device);
            }
        }
        QTextOption option(element.alignment | Qt::AlignTop | Qt::AlignAbsolute);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
        m_painter.setFont(shown);
        m_painter.setPen(Qt::black);
        if (m_recorded)
            drawGlyphs(text, shown, option, box);
        else
            m_painter.drawText(box, text, option);
    }

    void drawGlyphs(const QString& text, const QFont& font, const QTextOption& option, const QRectF& box)
    {
        QTextLayout layout(QString(text).replace(u'\n', QChar::LineSeparator), font, &m_device);
        layout.setTextOption(option);
        layout.beginLayout();
        double y = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(box.width());
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns())
            m_painter.drawGlyphRun(box.topLeft(), run);
    }

    void drawImage(const ReportElement& element, const QRectF& twips)
    {
        const QRectF box = toDevice(twips);
        if (!element.picture.isNull()) {
            // Scaled into its box without distortion, centred across it.
            const QSizeF size = QSizeF(element.picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
            const QRectF target(box.left() + (box.width() - size.width()) / 2, box.top(), size.width(),
                                size.height());
            m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
            m_painter.drawImage(target, element.picture);
        } else if (element.fill.isValid()) {
            m_painter.fillRect(box, element.fill);
        }
    }

    void drawLine(const QLine& twips, double top)
    {
        QPen pen(Qt::black);
        pen.setWidthF(kLineWidthTwips * m_yScale);
        pen.setCapStyle(Qt::FlatCap);
        m_painter.setPen(pen);
        m_painter.drawLine(QPointF(m_left + twips.x1() * m_xScale, (top + twips.y1()) * m_yScale),
                           QPointF(m_left + twips.x2() * m_xScale, (top + twips.y2()) * m_yScale));
    }

    QRectF toDevice(const QRectF& twips) const
    {
        return {m_left + twips.left() * m_xScale, twips.top() * m_yScale, twips.width() * m_xScale,
                twips.height() * m_yScale};
    }

    QPainter& m_painter;
    QPagedPaintDevice& m_device;
    double m_xScale;
    double m_yScale;
    double m_left = 0;
    bool m_recorded = false;
};

} // namespace

namespace ReportRenderer {

QString laidOutText(const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    while (lines.endsWith(u'\n'))
        lines.chop(1);
    // The paragraph takes its direction from its first strong character outside the isolates, so
    // a Persian line among them still makes the whole text right to left, as before.
    QStringList laidOut = lines.split(u'\n');
    for (QString& line : laidOut)
        line = BidiText::isolated(line);
    return laidOut.join(u'\n');
}

void registerFontSubstitutions()
{
    const std::array<std::pair<QString, QString>, 2> substitutions{
        {{QStringLiteral("B Nazanin"), QStringLiteral("Nazli")},
         {QStringLiteral("B Titr"), QStringLiteral("Titr")}}};
    for (const auto& [designed, free] : substitutions) {
        if (!QFont::substitutes(designed).contains(free))
            QFont::insertSubstitution(designed, free);
    }
}

void applyPageSetup(QPagedPaintDevice& device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

int render(const Report& report, QPagedPaintDevice& device, const Progress& progress,
           QVector<PlacedBand>* placed)
{
    constexpr int kRowsBetweenProgress = 50;
    registerFontSubstitutions();
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    painter.setRenderHint(QPainter::Antialiasing);
    const ReportLayout& layout = report.layout;
    BandPainter bands(painter, device, layout.width);
    const double pageHeight = bands.pageHeightTwips();
    const double footerTop = pageHeight - layout.pageFooter.height;
    const ReportRow noRow;

    int pages = 1;
    const auto draw = [&](const ReportBand& band, double top, const ReportRow& row, int number) {
        const double height = bands.draw(band, top, row, number);
        if (placed)
            placed->append({pages - 1, band.name, top, height});
        return height;
    };
    double y = draw(layout.reportHeader, 0, noRow, 0);
    y += draw(layout.pageHeader, y, noRow, 0);
    bool rowsOnPage = false;
    auto newPage = [&] {
        draw(layout.pageFooter, footerTop, noRow, 0);
        device.newPage();
        ++pages;
        y = draw(layout.pageHeader, 0, noRow, 0);
        rowsOnPage = false;
    };
    // The last row of a page keeps a gap to the footer's rules instead of sitting on them.
    const double rowsEnd = footerTop - kFooterGap;

    // Each rendering numbers its rows from 1; the number is a 32-bit whole number as it always was.
    qint32 rowNumber = 0;
    for (const ReportRow& row : report.rows) {
        const double height = bands.measure(layout.detail, row);
        if (rowsOnPage && y + height > rowsEnd)
            newPage();
        y += draw(layout.detail, y, row, ++rowNumber);
        rowsOnPage = true;
        if (progress && rowNumber % kRowsBetweenProgress == 0)
            progress(rowNumber, static_cast<int>(report.rows.size()));
    }
    if (y + layout.reportFooter.height > rowsEnd && layout.reportFooter.height > 0)
        newPage();
    y += draw(layout.reportFooter, y, noRow, 0);
    draw(layout.pageFooter, footerTop, noRow, 0);
    return painter.end() ? pages : 0;
}

bool writePdf(const Report& report, const QString& filePath, const Progress& progress)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(report.title);
        writer.setCreator(QStringLiteral("Velmora"));
        writer.setResolution(600);
        applyPageSetup(writer);
        if (render(report, writer, progress) == 0) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
}

} // namespace ReportRenderer
