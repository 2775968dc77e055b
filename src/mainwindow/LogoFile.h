#pragma once

#include <QImage>
#include <QString>

// The clinic logo file VMpic.jpg in the data folder. The file keeps its name whatever picture
// format it holds, so it is always read by content; an older installation may have left a Windows
// bitmap there.
namespace LogoFile {

inline const QString kFileName = QStringLiteral("VMpic.jpg");

QString path(const QString& dataFolder);

// Reads a picture by its content, whatever its name says; a null image when the file is missing or
// is not a picture. Photos are turned upright by their orientation tag.
QImage read(const QString& filePath);

// Writes the logo losslessly (PNG content) as VMpic.jpg, replacing the old file as a whole: a
// failed write leaves the old logo untouched. False when nothing was written.
bool write(const QImage& logo, const QString& dataFolder);

// The clinic's logo wherever the program keeps it: VMpic.jpg, or on the clinic's server when the
// program works there. A null image when there is none.
QImage load(const QString& dataFolder);
// Stores the logo there (losslessly); false when nothing was stored.
bool store(const QImage& logo, const QString& dataFolder);

} // namespace LogoFile
