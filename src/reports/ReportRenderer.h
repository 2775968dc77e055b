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

// Renders the whole report, starting on the device's current (first) page. Rows are numbered from
// 1 in each rendering. Returns the number of pages, 0 when the device could not be painted on.
int render(const Report& report, QPagedPaintDevice& device, const Progress& progress = {});

// Writes the report as an A4 PDF file, replacing the file only once it is complete. False when the
// file could not be written.
bool writePdf(const Report& report, const QString& filePath, const Progress& progress = {});

// The page size and margins every print starts from.
void applyPageSetup(QPagedPaintDevice& device);

// Makes "B Nazanin" and "B Titr", the typefaces the reports were designed with, print with the
// free Persian typefaces that stand in for them, where the program has not done so already.
void registerFontSubstitutions();

} // namespace ReportRenderer
