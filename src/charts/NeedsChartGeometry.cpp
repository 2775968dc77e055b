#include "NeedsChartGeometry.h"

#include "ChartTexts.h"
#include "common/NumericValue.h"

namespace NeedsChartGeometry {

double scoreY(const QString& scoreText)
{
    return kBaseY - kTwipsPerScorePoint * numericValue(scoreText);
}

QPointF scorePoint(int column, const QString& scoreText)
{
    return {static_cast<qreal>(kColumnX.at(static_cast<std::size_t>(column))), scoreY(scoreText)};
}

std::array<QLineF, kSegmentCount> polyline(const std::array<QString, kScaleCount>& scoreTexts)
{
    std::array<QLineF, kSegmentCount> segments;
    for (int k = 0; k < kSegmentCount; ++k) {
        segments[static_cast<std::size_t>(k)] =
            QLineF(scorePoint(k, scoreTexts[static_cast<std::size_t>(k)]),
                   scorePoint(k + 1, scoreTexts[static_cast<std::size_t>(k + 1)]));
    }
    return segments;
}

std::vector<Box> bands()
{
    return {{QStringLiteral("Label1_4"), QRect(1335, 525, 9780, 1980), QColor(220, 65, 147)},
            {QStringLiteral("Label1_3"), QRect(1320, 2535, 9795, 2985), QColor(202, 111, 182)}};
}

std::vector<Line> referenceLines()
{
    const QColor red(192, 0, 0);
    const QColor brown(128, 64, 0);
    return {{QStringLiteral("Line3_0"), QLineF(1125, 495, 11220, 495), red, 1},
            {QStringLiteral("Line3_1"), QLineF(1155, 1515, 11220, 1515), red, 1},
            {QStringLiteral("Line3_2"), QLineF(1155, 2520, 11220, 2520), red, 2},
            {QStringLiteral("Line3_3"), QLineF(1155, 3525, 11220, 3525), brown, 1},
            {QStringLiteral("Line3_4"), QLineF(1155, 4515, 11220, 4515), red, 1}};
}

std::vector<Line> guideLines()
{
    std::vector<Line> lines;
    const std::array<int, 4> x{3150, 5115, 7080, 9090};
    for (std::size_t i = 0; i < x.size(); ++i) {
        lines.push_back({QStringLiteral("Line1_%1").arg(6 + i), QLineF(x[i], 5500, x[i], 480),
                         QColor(0, 0, 0), 1, Qt::DotLine});
    }
    return lines;
}

std::vector<Text> axisFigures()
{
    // Figure n sits beside the reference height of score n, on the left and on the right.
    const std::array<int, 5> top{4380, 3375, 2385, 1365, 405};
    const std::array<int, 10> index{1, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    std::vector<Text> figures;
    for (std::size_t side = 0; side < 2; ++side) {
        for (std::size_t n = 0; n < top.size(); ++n) {
            figures.push_back({QStringLiteral("Label3_%1").arg(index[side * 5 + n]), QString::number(n + 1),
                               QPoint(side == 0 ? 900 : 11520, top[n]), 0, true, 12});
        }
    }
    return figures;
}

std::vector<Text> scaleNames()
{
    const std::array<int, kScaleCount> left{1755, 3420, 5805, 7425, 9525};
    std::vector<Text> names;
    for (std::size_t i = 0; i < left.size(); ++i) {
        // Centred on the column: the width reaches as far past the column as the left edge is before it.
        const int width = 2 * (kColumnX[i] - left[i]);
        names.push_back({QStringLiteral("Label2_%1").arg(i), ChartTexts::scaleNames[i], QPoint(left[i], 5625),
                         width, true, 0});
    }
    return names;
}

QPoint valueLabelPosition(int index)
{
    const std::array<int, kScaleCount> left{2040, 4065, 6120, 8085, 10120};
    const int column = (index - 1) % kScaleCount;
    return {left.at(static_cast<std::size_t>(column)), index <= kScaleCount ? 5910 : 6300};
}

std::vector<Text> legendCaptions()
{
    const int right = legendSwatches().at(1).rect.left() - kLegendGap;
    return {{QStringLiteral("Label3_0"), ChartTexts::subject1, valueLabelPosition(1), 0, true, 0, right},
            {QStringLiteral("Label3_15"), ChartTexts::subject2, valueLabelPosition(6), 0, true, 0, right}};
}

std::vector<Box> legendSwatches()
{
    return {{QStringLiteral("Label4_0"), QRect(1125, 5895, 645, 240), kSubject1Colour},
            {QStringLiteral("Label4_1"), QRect(11655, 5895, 645, 240), kSubject1Colour},
            {QStringLiteral("Label4_2"), QRect(1125, 6300, 645, 240), kSubject2Colour},
            {QStringLiteral("Label4_3"), QRect(11655, 6300, 645, 240), kSubject2Colour}};
}

Text title()
{
    return {QStringLiteral("Label6"), ChartTexts::title, QPoint(1170, 90), 9150, true, 12};
}

} // namespace NeedsChartGeometry
