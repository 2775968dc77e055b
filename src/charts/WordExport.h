#pragma once

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

// The exported bitmap of the chart: the program folder, the subject code, ".bmp". Characters a
// file name cannot hold are replaced, so that the file always lands in the program folder.
QString bitmapPath(const QString& programFolder, const QString& subjectCode);

// The complete .docx: an empty paragraph, the chart picture inline, an empty paragraph, then the
// text paragraphs; every paragraph right to left and justified. Characters XML cannot hold show as
// U+FFFD. Empty when the document could not be made.
QByteArray documentBytes(const QImage& chart, const QStringList& textParagraphs);

// Writes the document, replacing the file only once it is complete. False when it could not be
// written.
bool writeDocument(const QString& filePath, const QImage& chart, const QStringList& textParagraphs);

} // namespace WordExport
