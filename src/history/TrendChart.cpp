#include "TrendChart.h"

#include "HistoryTexts.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace TrendChart {

namespace {

constexpr double kHighestScore = 5.0;

// One colour per scale, told apart in print too (different lightness as well as hue).
const std::array<QColor, 5> kColours{QColor(0x1f, 0x4e, 0x9d), QColor(0xc0, 0x39, 0x2b),
                                     QColor(0x27, 0x8c, 0x4a), QColor(0xe6, 0x9b, 0x00),
                                     QColor(0x7d, 0x3c, 0x98)};

} // namespace

QList<double> positions(const QList<Point>& points)
{
    QList<double> places;
    const int count = int(points.size());
    if (count == 0)
        return places;
    if (count == 1)
        return {0.5};
    bool byDate = true;
    for (int i = 0; i < count && byDate; ++i)
        byDate = points.at(i).date.isValid() && (i == 0 || points.at(i - 1).date < points.at(i).date);
    if (byDate) {
        const double span = double(points.first().date.daysTo(points.last().date));
        for (const Point& point : points)
            places << double(points.first().date.daysTo(point.date)) / span;
        return places;
    }
    for (int i = 0; i < count; ++i)
        places << double(i) / double(count - 1);
    return places;
}

void paint(QPainter& painter, const QRect& area, const QList<Point>& points)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(painter.font());
    const int line = metrics.height();
    // The legend on top, right to left as the names read.
    int legendRight = area.right() - line;
    for (std::size_t scale = 0; scale < kColours.size(); ++scale) {
        const QString& name = HistoryTexts::scaleNames.at(scale);
        const int width = metrics.horizontalAdvance(name);
        painter.fillRect(QRect(legendRight - line, area.top() + line / 4, line, line / 2),
                         kColours.at(scale));
        painter.setPen(Qt::black);
        painter.drawText(QRect(legendRight - line - width - line / 3, area.top(), width, line),
                         Qt::AlignCenter, name);
        legendRight -= line + width + line;
    }

    // The plot: room for the scale on the left and for dates under it, turned where they are many.
    const bool turned = points.size() > 6;
    const int dateRoom =
        turned ? metrics.horizontalAdvance(QStringLiteral("0000/00/00")) * 3 / 4 + line : 2 * line;
    const QRect plot(area.left() + metrics.horizontalAdvance(QStringLiteral("5.0")) + line,
                     area.top() + 2 * line, 0, 0);
    QRect box = plot;
    box.setRight(area.right() - line);
    box.setBottom(area.bottom() - dateRoom);
    painter.setPen(QPen(QColor(0xbb, 0xbb, 0xbb), 1));
    for (int step = 0; step <= int(kHighestScore); ++step) {
        const int y = box.bottom() - int(box.height() * step / kHighestScore);
        painter.drawLine(box.left(), y, box.right(), y);
        painter.setPen(Qt::black);
        painter.drawText(QRect(area.left(), y - line / 2, box.left() - area.left() - line / 3, line),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(step));
        painter.setPen(QPen(QColor(0xbb, 0xbb, 0xbb), 1));
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(box);
    if (points.isEmpty()) {
        painter.restore();
        return;
    }

    // Inset from the frame so that the first and last markers are whole.
    const int inset = line;
    const QList<double> places = positions(points);
    const auto xOf = [&](int i) { return box.left() + inset + places.at(i) * (box.width() - 2 * inset); };
    const auto yOf = [&](double score) {
        return box.bottom() - std::clamp(score, 0.0, kHighestScore) / kHighestScore * box.height();
    };
    for (std::size_t scale = 0; scale < kColours.size(); ++scale) {
        QPainterPath path;
        for (int i = 0; i < points.size(); ++i) {
            const QPointF at(xOf(i), yOf(points.at(i).scores.at(scale)));
            if (i == 0)
                path.moveTo(at);
            else
                path.lineTo(at);
        }
        painter.setPen(QPen(kColours.at(scale), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        painter.setBrush(kColours.at(scale));
        for (int i = 0; i < points.size(); ++i)
            painter.drawEllipse(QPointF(xOf(i), yOf(points.at(i).scores.at(scale))), 3.5, 3.5);
    }

    painter.setPen(Qt::black);
    for (int i = 0; i < points.size(); ++i) {
        const QString& text = points.at(i).dateText;
        const int x = int(xOf(i));
        painter.drawLine(x, box.bottom(), x, box.bottom() + line / 3);
        if (turned) {
            painter.save();
            painter.translate(x, box.bottom() + line / 2);
            painter.rotate(-45);
            painter.drawText(
                QRect(-metrics.horizontalAdvance(text), -line / 2, metrics.horizontalAdvance(text), line),
                Qt::AlignRight | Qt::AlignVCenter, text);
            painter.restore();
        } else {
            const int width = metrics.horizontalAdvance(text) + line;
            painter.drawText(QRect(x - width / 2, box.bottom() + line / 3, width, line), Qt::AlignCenter,
                             text);
        }
    }
    painter.restore();
}

QImage picture(const QList<Point>& points, const QSize& size)
{
    // Drawn at twice the size with the lines and letters of the window's chart, so that the print
    // is sharp and reads as the window does.
    constexpr int kSharpness = 2;
    QImage image(size * kSharpness, QImage::Format_RGB32);
    image.setDevicePixelRatio(kSharpness);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(std::max(12, size.height() / 30));
    painter.setFont(font);
    paint(painter, QRect(QPoint(0, 0), size).adjusted(6, 6, -6, -6), points);
    return image;
}

} // namespace TrendChart

TrendChartView::TrendChartView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrendChartView::setPoints(const QList<TrendChart::Point>& points)
{
    m_points = points;
    update();
}

void TrendChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    TrendChart::paint(painter, rect().adjusted(4, 4, -4, -4), m_points);
}
