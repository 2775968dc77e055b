#pragma once

#include "ReportLayout.h"

#include <functional>

class QPagedPaintDevice;

// Prints a report onto a paged device (a printer, the preview, a PDF writer): the report header on
// the first page, the page header and page footer on every page, the detail band once per row,
// the report footer after the last row. The layout is centred across the page's printable width.
namespace ReportRenderer {

// Told every few rows how many of the report's rows are drawn, for a progress dialog.
using Progress = std::function<void(int drawnRows, int totalRows)>;

// The room kept free between the last row of a page and the page footer's rules, in twips.
constexpr double kFooterGap = 120.0;

// Where a rendering put a band: its page (from 0), and its top and height in twips from the top of
// the page's printable area.
struct PlacedBand
{
    int page = 0;
    QString band;
    double top = 0;
    double height = 0;
};

// Renders the whole report, starting on the device's current (first) page. Rows are numbered from
// 1 in each rendering. Returns the number of pages, 0 when the device could not be painted on.
// Where asked, tells where every band went.
int render(const Report& report, QPagedPaintDevice& device, const Progress& progress = {},
           QVector<PlacedBand>* placed = nullptr);

// A text as an element lays it out: line breaks as LF, none at its end, and each line a unit of
// its own reading direction, so that a stored value (a Latin name, a signed number, a Latin line
// among Persian ones) reads as stored in the right-to-left report; Persian lines stay as they are.
QString laidOutText(const QString& text);

// Writes the report as an A4 PDF file, replacing the file only once it is complete. False when the
// file could not be written.
bool writePdf(const Report& report, const QString& filePath, const Progress& progress = {});

// The page size and margins every print starts from.
void applyPageSetup(QPagedPaintDevice& device);

// Makes "B Nazanin" and "B Titr", the typefaces the reports were designed with, print with the
// free Persian typefaces that stand in for them, where the program has not done so already.
void registerFontSubstitutions();

} // namespace ReportRenderer
