#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QLine>
#include <QRect>
#include <QString>
#include <QVector>

// A printed report as data: bands of elements placed in twips, filled by name and then rendered
// onto any paged device by ReportRenderer.

struct ReportFont
{
    QString family = QStringLiteral("Arial");
    double pointSize = 8.25;
    bool bold = false;
};

struct ReportElement
{
    enum class Kind
    {
        Label, // a fixed caption, or one set by the caller
        Field, // the value of a column of the current row
        Image, // a picture scaled into its box, or a plain colour
        Line
    };

    Kind kind = Kind::Label;
    QString name;
    QRect geometry; // twips, relative to the band; unused by lines
    QLine line;     // twips, relative to the band; lines only
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
    QString caption;          // labels
    QString column;           // fields
    bool numbersRows = false; // a field that shows the row's number (1, 2, 3 …) instead of its column
    bool growsToFit = false;  // a label that grows downward to show its whole text
    QImage picture;           // images
    QColor fill;              // images without a picture: a plain colour (invalid: nothing)
};

struct ReportBand
{
    QString name;
    int height = 0; // twips
    QVector<ReportElement> elements;
};

using ReportRow = QHash<QString, QString>;

struct ReportLayout
{
    QString name;
    int width = 0; // twips

    // In layout order: report header, page header, detail (once per row), page footer, report footer.
    ReportBand reportHeader;
    ReportBand pageHeader;
    ReportBand detail;
    ReportBand pageFooter;
    ReportBand reportFooter;

    ReportBand* band(const QString& bandName);
    const ReportBand* band(const QString& bandName) const;
    ReportElement* element(const QString& bandName, const QString& elementName);
    const ReportElement* element(const QString& bandName, const QString& elementName) const;

    // Fill an element found by band and element name; false when there is no such element of the
    // right kind, so that a misspelt name shows up in tests instead of printing nothing.
    bool setCaption(const QString& bandName, const QString& elementName, const QString& caption);
    bool setPicture(const QString& bandName, const QString& elementName, const QImage& picture);
    bool setTop(const QString& bandName, const QString& elementName, int top);
};

// A layout with the rows it prints: what a print preview shows and a PDF holds.
struct Report
{
    ReportLayout layout;
    QVector<ReportRow> rows;
    QString title; // the preview's window title and the PDF's title
};
