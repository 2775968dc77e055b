#pragma once

#include "common/ClinicTexts.h"
#include "common/NeedsChartInput.h"

#include <QImage>
#include <QString>
#include <QStringList>

// The chart as a word-processor document (.docx) that the program writes itself.
namespace WordExport {

// The document text: the first subject's data line and two line breaks; for a couple, then the
// second subject's line and one more line break. Line breaks are CR LF.
QString documentText(const NeedsChartInput& input);

// The text's paragraphs: each line break ends a paragraph ("a\r\n\r\n" gives "a" and "").
QStringList paragraphs(const QString& text);

// The exported bitmap of the chart: the data folder, the subject code, ".bmp". Characters a
// file name cannot hold are replaced, so that the file always lands in the data folder.
QString bitmapPath(const QString& dataFolder, const QString& subjectCode);

// The typefaces of the document's Persian text: the free ones the program ships, which a word
// processor finds on every machine the program runs on, each declared with the typeface it stands
// in for as its alternate name, for a word processor that has only that one.
inline const QString kTextTypeface = QStringLiteral("Nazli");
inline const QString kTextAlternate = QStringLiteral("B Nazanin");
inline const QString kHeadingTypeface = QStringLiteral("Titr");
inline const QString kHeadingAlternate = QStringLiteral("B Titr");

// The complete .docx: an empty paragraph, the chart picture inline, an empty paragraph, then the
// text paragraphs; every paragraph right to left and justified. The clinic's letterhead (its name,
// address, contact lines and, where its flag says so, its logo) stands in the page header. Stored
// values that right-to-left text would reorder are isolated; characters XML cannot hold show as
// U+FFFD. Empty when the document could not be made.
QByteArray documentBytes(const QImage& chart, const QStringList& textParagraphs,
                         const ClinicTexts& letterhead = {});

// Writes the document, replacing the file only once it is complete. False when it could not be
// written; then errorNumber, where given, holds the errno of the failing step (0 when unknown).
bool writeDocument(const QString& filePath, const QImage& chart, const QStringList& textParagraphs,
                   const ClinicTexts& letterhead = {}, int* errorNumber = nullptr);

// The document's name in the folder: "VM.docx", or with replaceExisting false and that file there,
// the first of "VM (2).docx", "VM (3).docx" … that is free.
QString documentPath(const QString& folder, bool replaceExisting);

} // namespace WordExport
