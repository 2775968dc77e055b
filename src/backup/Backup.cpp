#include "Backup.h"

#include "BackupTexts.h"
#include "common/FileProblem.h"

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

// The same for a file that could not be written, with the reason in Persian words where one is
// known; errorNumber is errno right after the failing call.
QString describeWrite(const QString& what, const QString& path, const QString& systemError, int errorNumber)
{
    return withWriteProblem(describe(what, path, systemError), path, errorNumber);
}

bool syncDescriptor(int descriptor)
{
    return descriptor >= 0 && ::fsync(descriptor) == 0;
}

// Hands the written data to the disk a little at a time. Left to the system, a large copy piles
// up dirty pages until a write stalls for seconds while they are flushed, and the window freezes
// with it; this way each wait is short and the final sync has little left to do.
class SteadyWriteback
{
public:
    explicit SteadyWriteback(int descriptor) : m_descriptor(descriptor) {}
    void written(qint64 end)
    {
        if (end - m_started < kChunk)
            return;
        // Start writing the new chunk, then wait for the one before it.
        ::sync_file_range(m_descriptor, m_started, end - m_started, SYNC_FILE_RANGE_WRITE);
        if (m_started > m_waited)
            ::sync_file_range(m_descriptor, m_waited, m_started - m_waited,
                              SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                  SYNC_FILE_RANGE_WAIT_AFTER);
        m_waited = m_started;
        m_started = end;
    }

private:
    static constexpr qint64 kChunk = 4 * 1024 * 1024;
    int m_descriptor;
    qint64 m_started = 0; // written up to here and handed to the disk
    qint64 m_waited = 0;  // on the disk up to here
};

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
    QFile out(destination);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const int error = errno;
        return fail(describeWrite(BackupTexts::destinationUnwritable, destination, out.errorString(), error));
    }

    const qint64 total = in.size();
    qint64 block = kBlockSize;
    qint64 done = 0;
    char buffer[kBlockSize];
    SteadyWriteback writeback(out.handle());
    while (done < total) {
        QCoreApplication::processEvents();
        if (total - done < block)
            block = total - done;
        const qint64 got = in.read(buffer, block);
        if (got != block)
            return fail(describe(BackupTexts::readFailed, source, in.errorString()));
        if (out.write(buffer, block) != block) {
            const int error = errno;
            return fail(describeWrite(BackupTexts::writeFailed, destination, out.errorString(), error));
        }
        done += block;
        writeback.written(done);
        if (blockCopied)
            blockCopied(done, total);
    }
    // A write that finds the disk full fails here at the latest, when the last buffered part goes out.
    if (!out.flush()) {
        const int error = errno;
        return fail(describeWrite(BackupTexts::writeFailed, destination, out.errorString(), error));
    }
    if (!syncDescriptor(out.handle())) {
        const int error = errno;
        return fail(describeWrite(BackupTexts::writeFailed, destination,
                                  QString::fromLocal8Bit(std::strerror(error)), error));
    }
    out.close();
    if (out.error() != QFileDevice::NoError) {
        const int error = errno;
        return fail(describeWrite(BackupTexts::writeFailed, destination, out.errorString(), error));
    }
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
