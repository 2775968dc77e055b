#include "PartFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace PartFile {

std::unique_ptr<QTemporaryFile> create(const QString& realTarget, QString* error)
{
    const QFileInfo target(realTarget);
    auto part = std::make_unique<QTemporaryFile>(
        target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX.part").arg(target.fileName())));
    part->setAutoRemove(false);
    if (!part->open()) {
        *error = part->errorString();
        return nullptr;
    }
    // QTemporaryFile makes its files for the owner only; said again here, because this is what
    // keeps the records from other users of the machine while they are written.
    if (!part->setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
        *error = part->errorString();
        part->remove();
        return nullptr;
    }
    return part;
}

bool syncToDisk(const QString& partPath, QString* error)
{
#ifdef Q_OS_UNIX
    QFile file(partPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    if (::fsync(file.handle()) != 0) {
        *error = QString::fromLocal8Bit(std::generic_category().message(errno));
        return false;
    }
#else
    Q_UNUSED(partPath)
    Q_UNUSED(error)
#endif
    return true;
}

bool replaceTarget(const QString& partPath, const QString& realTarget, QString* error)
{
    const QFileInfo target(realTarget);
    // An earlier export keeps the permissions its owner gave it (one readable by its owner only
    // stays so); a new one gets the usual permissions of a document.
    const QFile::Permissions permissions =
        target.exists() ? target.permissions()
                        : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    QFile part(partPath);
    if (!part.setPermissions(permissions)) {
        *error = part.errorString();
        return false;
    }
    std::error_code failure;
    std::filesystem::rename(QFileInfo(partPath).filesystemFilePath(), target.filesystemFilePath(), failure);
    if (failure) {
        *error = QString::fromLocal8Bit(failure.message());
        return false;
    }
    return true;
}

} // namespace PartFile
