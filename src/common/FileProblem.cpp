#include "FileProblem.h"

#include "CommonTexts.h"

#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>

namespace {
// Below this much free space a failed write is taken for a full disk: a file system keeps a few
// blocks back for its owner, so "full" seldom reads as zero.
constexpr qint64 kNearlyFullBytes = 1024 * 1024;

// The problem an errno value names; Unknown for one that names none of them.
FileProblem fileProblemOf(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM:
    case EROFS:
        return FileProblem::NoPermission;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileProblem::DiskFull;
    case ENOENT:
    case ENOTDIR:
        return FileProblem::FolderMissing;
    case EBUSY:
    case ETXTBSY:
    case EAGAIN:
        return FileProblem::InUse;
    default:
        return FileProblem::Unknown;
    }
}
} // namespace

FileProblem diagnoseWriteProblem(const QString& path, int errorNumber)
{
    const FileProblem named = fileProblemOf(errorNumber);
    if (named != FileProblem::Unknown)
        return named;
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir())
        return FileProblem::FolderMissing;
    if (!QFileInfo(folder).isWritable() || (target.exists() && !target.isWritable()))
        return FileProblem::NoPermission;
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.bytesAvailable() < kNearlyFullBytes)
        return FileProblem::DiskFull;
    if (storage.isValid() && storage.isReadOnly())
        return FileProblem::NoPermission;
    return FileProblem::Unknown;
}

QString fileProblemText(FileProblem problem)
{
    switch (problem) {
    case FileProblem::NoPermission:
        return CommonTexts::noWritePermission;
    case FileProblem::DiskFull:
        return CommonTexts::diskFull;
    case FileProblem::FolderMissing:
        return CommonTexts::folderMissing;
    case FileProblem::InUse:
        return CommonTexts::fileInUse;
    case FileProblem::Unknown:
        break;
    }
    return {};
}

QString withWriteProblem(const QString& message, const QString& path, int errorNumber)
{
    const QString reason = fileProblemText(diagnoseWriteProblem(path, errorNumber));
    return reason.isEmpty() ? message : message + QLatin1Char('\n') + reason;
}
