#pragma once

#include <QString>

// Why a file could not be written, in the words a clinician can act on: free some space, choose
// another folder, close the program that holds the file.
enum class FileProblem
{
    NoPermission,
    DiskFull,
    FolderMissing,
    InUse,
    Unknown
};

// The problem behind a failed write of path: errorNumber where the failing call left one (errno
// right after it), otherwise what the file system shows now (a missing folder, a folder or file
// that cannot be written, a full disk).
FileProblem diagnoseWriteProblem(const QString& path, int errorNumber = 0);
// The Persian sentence for a problem; empty for Unknown.
QString fileProblemText(FileProblem problem);
// A "could not be written" message followed, on a line of its own, by the reason where one is known.
QString withWriteProblem(const QString& message, const QString& path, int errorNumber = 0);
