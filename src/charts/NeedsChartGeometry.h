#pragma once

#include <QColor>
#include <QLineF>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <vector>

// Every coordinate of the needs chart, in twips of the window's client area (origin top left, y
// downward). The window draws from these and the tests check them, so the drawing and its
// numbers cannot drift apart.
namespace NeedsChartGeometry {

constexpr int kScaleCount = 5;
constexpr int kSegmentCount = kScaleCount - 1;

// The score axis: score s lies at y = 5535 - 1000 s (0 at 5535, 5 at 535).
constexpr int kBaseY = 5535;
constexpr int kTwipsPerScorePoint = 1000;

// The scale columns, S, L, F1, P, F2, 2010 apart.
constexpr std::array<int, kScaleCount> kColumnX{2130, 4140, 6150, 8160, 10170};

// The height of a score text: its leading number (an empty or non-numeric text reads as 0).
double scoreY(const QString& scoreText);

// The point of one scale (column 0 … 4) for a score text.
QPointF scorePoint(int column, const QString& scoreText);

// The four segments joining the five points in column order: segment k runs from column k to
// column k + 1.
std::array<QLineF, kSegmentCount> polyline(const std::array<QString, kScaleCount>& scoreTexts);

// A named line of the chart. Widths are in pixels, as the pens draw them.
struct Line
{
    QString name;
    QLineF line;
    QColor colour;
    int width;
    Qt::PenStyle style = Qt::SolidLine;
};

// A named filled rectangle.
struct Box
{
    QString name;
    QRect rect;
    QColor colour;
};

// A named text element: its top-left corner, and for centred texts the width it is centred in.
struct Text
{
    QString name;
    QString text;
    QPoint topLeft;
    int width = 0; // 0: sized to the text
    bool bold = false;
    int pointSize = 0; // 0: the window's size
    int right = 0;     // > 0: sized to the text and ending here (topLeft.x is then unused)
};

// The window: client area, place on the screen, background.
constexpr QSize kClientSize{12600, 7455};
constexpr QPoint kWindowPosition{2340, 765};
inline const QColor kBackground{192, 192, 192};

// The look for paper while the window is captured: white, the upper band pale, the lower one white,
// and the window's outer height.
inline const QColor kPrintBackground{255, 255, 255};
inline const QColor kPrintUpperBand{241, 239, 241};
inline const QColor kPrintLowerBand{255, 255, 255};
constexpr int kPrintOuterHeight = 7935;

// The plot frame Shape3 with its black border of width 2.
constexpr QRect kFrame{1320, 525, 9810, 5025};
constexpr int kFrameBorderWidth = 2;

// The two background bands, Label1 4 (above score 3) and Label1 3 (below).
std::vector<Box> bands();

// The horizontal reference lines Line3 0 … 4, from top to bottom.
std::vector<Line> referenceLines();

// The dotted vertical guide lines Line1 6 … 9.
std::vector<Line> guideLines();

// The polyline colours and widths: subject 1 navy and 7 wide, subject 2 black and 5 wide.
inline const QColor kSubject1Colour{0, 0, 128};
inline const QColor kSubject2Colour{0, 0, 0};
constexpr int kSubject1Width = 7;
constexpr int kSubject2Width = 5;

// The axis figures "1" … "5" on both sides of the frame: Label3 1 and 3 … 11.
std::vector<Text> axisFigures();

// The scale names Label2 0 … 4 under the frame, each centred on its column.
std::vector<Text> scaleNames();

// The value labels Lblkh 1 … 10: 1 … 5 subject 1, 6 … 10 subject 2; left edges and tops.
QPoint valueLabelPosition(int index);

// The legend captions Label3 0 and 15, and the swatches Label4 0 … 3. Each caption ends a little
// before its row's right swatch and stands at the height of its row's values, below the scale
// names, so that it keeps clear of "Fun & enjoyment" above it; bold as the values, whose figures
// sit level with the Persian letters where a light figure would look raised.
constexpr int kLegendGap = 90;
std::vector<Text> legendCaptions();
std::vector<Box> legendSwatches();

// The title Label6.
Text title();

// The command bar Frame2.
constexpr QRect kCommandBar{45, 6705, 12510, 600};

} // namespace NeedsChartGeometry
