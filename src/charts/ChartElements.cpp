#include "ChartElements.h"

#include "common/Twips.h"

#include <QPainter>
#include <QPen>

#include <cmath>

namespace {

// Sets up a painter on a child so that it draws in the parent window's twips.
void mapToParentTwips(QPainter& painter, const QWidget& child)
{
    painter.translate(-child.x(), -child.y());
    painter.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
}

// The pixel rectangle that holds a twips rectangle, grown by a margin for the pen.
QRect coveringPixels(const QRectF& twips, int margin)
{
    const int left = static_cast<int>(std::floor(twips.left() / kTwipsPerPixel)) - margin;
    const int top = static_cast<int>(std::floor(twips.top() / kTwipsPerPixel)) - margin;
    const int right = static_cast<int>(std::ceil(twips.right() / kTwipsPerPixel)) + margin;
    const int bottom = static_cast<int>(std::ceil(twips.bottom() / kTwipsPerPixel)) + margin;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

ChartLine::ChartLine(const QString& name, const QColor& colour, int width, Qt::PenStyle style,
                     QWidget* parent)
    : QWidget(parent), m_colour(colour), m_width(width), m_style(style)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ChartLine::setLine(const QLineF& twips)
{
    m_line = twips;
    setGeometry(coveringPixels(QRectF(twips.p1(), twips.p2()).normalized(), m_width / 2 + 2));
    update();
}

void ChartLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Only slanting lines are smoothed; level and upright ones stay one crisp pixel row.
    const bool slanting = m_line.dx() != 0 && m_line.dy() != 0;
    painter.setRenderHint(QPainter::Antialiasing, slanting);
    mapToParentTwips(painter, *this);
    QPen pen(m_colour, m_width, m_style, Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawLine(m_line);
}

ChartFrame::ChartFrame(const QString& name, const QRect& twips, int borderWidth, QWidget* parent)
    : QWidget(parent), m_rect(twips), m_borderWidth(borderWidth)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(coveringPixels(QRectF(twips), borderWidth));
}

void ChartFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    mapToParentTwips(painter, *this);
    QPen pen(Qt::black, m_borderWidth);
    pen.setCosmetic(true);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(m_rect));
}
