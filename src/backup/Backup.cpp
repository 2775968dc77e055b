#include "Backup.h"

#include "BackupTexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace Backup {

namespace {

QString describe(const QString& what, const QString& path, const QString& systemError)
{
    return what + QStringLiteral("\r\n") + path + QStringLiteral("\r\n") + systemError;
}

bool syncDescriptor(int descriptor)
{
    return descriptor >= 0 && ::fsync(descriptor) == 0;
}

} // namespace

int CopyBackupFile(const QString& source, const QString& destination, QString* failure,
                   const BlockCopied& blockCopied)
{
    auto fail = [failure](const QString& description) {
        if (failure)
            *failure = description;
        return 0;
    };

    const QFileInfo sourceInfo(source);
    if (!sourceInfo.exists())
        return fail(BackupTexts::sourceMissing + QStringLiteral("\r\n") + source);
    if (!sourceInfo.isFile())
        return fail(BackupTexts::sourceNotAFile + QStringLiteral("\r\n") + source);

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(describe(BackupTexts::sourceUnreadable, source, in.errorString()));
    // Unbuffered, so that every block is handed to the system as it is written.
    QFile out(destination);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return fail(describe(BackupTexts::destinationUnwritable, destination, out.errorString()));

    const qint64 total = in.size();
    qint64 block = kBlockSize;
    qint64 done = 0;
    char buffer[kBlockSize];
    while (done < total) {
        QCoreApplication::processEvents();
        if (total - done < block)
            block = total - done;
        const qint64 got = in.read(buffer, block);
        if (got != block)
            return fail(describe(BackupTexts::readFailed, source, in.errorString()));
        if (out.write(buffer, block) != block)
            return fail(describe(BackupTexts::writeFailed, destination, out.errorString()));
        done += block;
        if (blockCopied)
            blockCopied(done, total);
    }
    if (!syncDescriptor(out.handle()))
        return fail(
            describe(BackupTexts::writeFailed, destination, QString::fromLocal8Bit(std::strerror(errno))));
    out.close();
    if (out.error() != QFileDevice::NoError)
        return fail(describe(BackupTexts::writeFailed, destination, out.errorString()));
    return 1;
}

void syncFolder(const QString& folder)
{
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    ::close(descriptor);
}

} // namespace Backup
