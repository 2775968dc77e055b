#pragma once

#include <QString>
#include <QTemporaryFile>

#include <memory>

// The hidden temporary file an export is written to before it replaces its target. It lies beside
// the target, so that the last step is a rename within one folder, and is named
// ".<target name>.XXXXXX.part" (XXXXXX: six letters or digits), a name the program's start-up
// sweep recognises when a killed export left one behind. Until the rename only its owner may read
// it: it holds client records.
namespace PartFile {

// A new, empty, open part file beside the real target, readable and writable by its owner only;
// null (and the reason in error) when none could be made.
std::unique_ptr<QTemporaryFile> create(const QString& realTarget, QString* error);

// Makes the finished part file durable, so that a power cut after the rename cannot leave a
// truncated file in the target's place.
bool syncToDisk(const QString& partPath, QString* error);

// Gives the part file the permissions the target should have (an earlier file's own, otherwise
// those of a new document) and renames it over the target in one step: a reader sees the old file
// or the new one, never a mixture.
bool replaceTarget(const QString& partPath, const QString& realTarget, QString* error);

} // namespace PartFile
