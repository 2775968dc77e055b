#pragma once

#include <QColor>
#include <QLineF>
#include <QRect>
#include <QWidget>

// The drawn elements of the needs chart. Each is a small transparent child widget that paints
// itself with the window's twips coordinates (1 twip = 1/15 pixel), so that every element keeps
// its name and can be shown or hidden on its own, as the chart's modes require.

// One straight line; its width is in pixels whatever the scale.
class ChartLine final : public QWidget
{
    Q_OBJECT
public:
    ChartLine(const QString& name, const QColor& colour, int width, Qt::PenStyle style, QWidget* parent);

    // The line in twips of the parent window.
    void setLine(const QLineF& twips);
    QLineF line() const { return m_line; }
    QColor colour() const { return m_colour; }
    int penWidth() const { return m_width; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLineF m_line;
    QColor m_colour;
    int m_width;
    Qt::PenStyle m_style;
};

// The border of a rectangle, in twips of the parent window.
class ChartFrame final : public QWidget
{
    Q_OBJECT
public:
    ChartFrame(const QString& name, const QRect& twips, int borderWidth, QWidget* parent);
    QRect rectTwips() const { return m_rect; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect m_rect;
    int m_borderWidth;
};
