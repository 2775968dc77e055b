#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reads the parts of a zip container (a .xlsx or .docx) the way an office program would, through
// libzip, so that the tests need no archive program on the machine.
namespace ZipEntries {

// The names of the archive's entries in archive order; empty when the file is no readable archive.
QStringList names(const QString& archivePath);

// The whole content of one entry; empty when the archive or the entry cannot be read, or the entry
// cannot be read to its end.
QByteArray read(const QString& archivePath, const QString& entryName);

} // namespace ZipEntries
