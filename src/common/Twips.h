#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Positions and sizes of this program are given in twips (1/1440 inch); at 96 dpi a pixel is
// 15 twips.
constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

inline QPoint twipsPoint(int left, int top)
{
    return {twipsToPixels(left), twipsToPixels(top)};
}

inline QSize twipsSize(int width, int height)
{
    return {twipsToPixels(width), twipsToPixels(height)};
}
