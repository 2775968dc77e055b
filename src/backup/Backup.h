#pragma once

#include <QString>

#include <functional>

// The file copy shared by the backup and the restore.
namespace Backup {

// Bytes moved per step; the user interface gets its turn between steps.
constexpr qint64 kBlockSize = 4048;

// Told after each block: bytes copied so far and the source's length.
using BlockCopied = std::function<void(qint64 done, qint64 total)>;

// Copies the source file to the destination in blocks of kBlockSize bytes, letting the user
// interface process its pending events before every block. The destination is created or
// emptied first, so it ends exactly as long as the source, and it is flushed to the disk before
// the result is given. Returns 1 when the copy completed and 0 when it failed; `failure` then
// receives a Persian description for the user.
int CopyBackupFile(const QString& source, const QString& destination, QString* failure = nullptr,
                   const BlockCopied& blockCopied = {});

// Makes a rename inside a folder durable.
void syncFolder(const QString& folder);

} // namespace Backup
