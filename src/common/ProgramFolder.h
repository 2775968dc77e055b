#pragma once

#include <QString>

// The folder of the executable: the databases, skins, logo and backups live beside the program.
QString programFolder();

// A file or folder inside a program folder, with "/" as separator on every platform.
QString inProgramFolder(const QString& folder, const QString& relativePath);
