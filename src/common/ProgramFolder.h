#pragma once

#include <QString>

// The folder of the executable: the databases, skins, logo and backups live beside the program.
QString programFolder();

// The same folder before the application object exists, read as that object reads it on Linux:
// the folder of the resolved /proc/self/exe. Empty where that is not to be had.
QString programFolderBeforeApplication();

// A file or folder inside a program folder, with "/" as separator on every platform.
QString inProgramFolder(const QString& folder, const QString& relativePath);
