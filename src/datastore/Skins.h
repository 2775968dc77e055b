#pragma once

#include <QString>

// The numbered skins: skin/1.skn … skin/48.skn in the shared folder are Qt style sheets, and
// skin/skin.txt in the data folder holds the current number (the two are one folder in a portable
// copy; common/DataLocation.h says where they are). A missing or unreadable skin.txt or skin file, or a
// number that names no shipped skin (a leading zero, say), gives skin 1. Putting a skin on a window
// is widgets/WindowSkin.h.
namespace Skins {

constexpr int kFirst = 1;
constexpr int kLast = 48;

// The skin/ folder of a data or shared folder.
QString skinFolder(const QString& folder);
QString numberFilePath(const QString& dataFolder);
QString skinFilePath(const QString& sharedFolder, const QString& number);

// The first field of the first line of skin.txt: leading blanks skipped, ended by a comma or the
// end of the line, surrounding double quotes removed. The line ends at CR, LF or both, and a byte
// order mark in front of it is skipped. Empty when the file cannot be read.
QString readCurrentNumber(const QString& dataFolder);
QString parseNumberField(const QString& line);

// Writes skin.txt as the number followed by CR LF; false when it could not be written.
bool writeCurrentNumber(const QString& dataFolder, const QString& number);

// The style sheet of a skin number, falling back to skin 1 and then to the built-in skin 1.
// `applied` receives the number whose skin was used.
QString styleSheetFor(const QString& sharedFolder, const QString& number, int* applied = nullptr);

} // namespace Skins
