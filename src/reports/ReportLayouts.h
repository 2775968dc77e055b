#pragma once

#include "ReportLayout.h"
#include "common/ClinicTexts.h"

// The two fixed report layouts of the program, as designed, with nothing filled in yet.
namespace ReportLayouts {

// The printed chart: clinic name and logo, the date and data lines, the chart picture, and the
// clinic's address and contact text in the page footer. Print it with one row.
ReportLayout dataR1();
// Puts the clinic's name, logo, address and contact text into a dataR1 layout.
void setChartLetterhead(ReportLayout& layout, const ClinicTexts& clinic);

// The table of subjects: one row per subject with its data and five scores, the clinic name in
// the report header and the address and contact text in the page footer. Rows are IDE rows.
ReportLayout dataRPrint();

// Bands of both layouts, by name.
inline const QString reportHeader = QStringLiteral("Section4");
inline const QString pageHeader = QStringLiteral("Section2");
inline const QString detail = QStringLiteral("Section1");
inline const QString pageFooter = QStringLiteral("Section3");
inline const QString reportFooter = QStringLiteral("Section5");

// Building blocks for report layouts.
ReportFont nazanin(double pointSize);
ReportFont titr(double pointSize);
ReportFont calibri(double pointSize);
ReportElement label(const QString& name, const QRect& twips, const QString& caption, const ReportFont& font,
                    Qt::Alignment alignment = Qt::AlignLeft);
ReportElement field(const QString& name, const QRect& twips, const QString& column, const ReportFont& font,
                    Qt::Alignment alignment = Qt::AlignLeft);
ReportElement image(const QString& name, const QRect& twips, const QColor& fill = {});
ReportElement line(const QString& name, const QLine& twips);
// Sets the band names of a layout in layout order.
void nameBands(ReportLayout& layout);

} // namespace ReportLayouts
