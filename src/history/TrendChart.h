#pragma once

#include <QDate>
#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

#include <array>

class QPainter;

// The five need scales of one subject over its administrations, on one time axis: each
// administration stands where its date falls, so that three sessions a week apart and a fourth
// months later look as they happened.
namespace TrendChart {

struct Point
{
    QDate date;       // Gregorian, for the axis; invalid where the stored date is no date
    QString dateText; // the Jalali date as stored, for the label
    std::array<double, 5> scores{};
};

// The horizontal place of each point between 0 and 1. By date where every date is valid and
// later than the one before; otherwise evenly, in the order they were taken.
QList<double> positions(const QList<Point>& points);

// Draws the chart into the rectangle: the scale from 0 to 5, the five lines with their legend
// and the dates under the points.
void paint(QPainter& painter, const QRect& area, const QList<Point>& points);

// The chart on a white picture, for the print.
QImage picture(const QList<Point>& points, const QSize& size);

} // namespace TrendChart

// The chart in a window.
class TrendChartView final : public QWidget
{
public:
    explicit TrendChartView(QWidget* parent = nullptr);
    void setPoints(const QList<TrendChart::Point>& points);
    const QList<TrendChart::Point>& points() const { return m_points; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<TrendChart::Point> m_points;
};
