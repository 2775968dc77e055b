#pragma once

#include <QString>

// Whether the vendor offers a newer release than this one.
namespace VersionCheck {

// The major number's digits followed directly by the minor number's, read as a number:
// 2.2 gives 22, 2.10 would give 210.
long long localVersionNumber(int major, int minor);

// The number at the start of the version file's text (blanks anywhere skipped, so "2 3" is 23;
// "2.3" is two point three); 0 when the text holds no number.
double remoteVersionNumber(const QString& versionFileText);

// True only when the remote number is strictly greater than the local one.
bool isNewerVersion(const QString& versionFileText, long long localVersion);

// The updater program's file name beside the program: its own name in a portable copy.
QString updaterProgramName();
// The updater in the executable's folder: under its own name, or under the package's name
// (velmora-update) where installed; the first name when neither is there.
QString updaterPath(const QString& programFolder);

} // namespace VersionCheck
