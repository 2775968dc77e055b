#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// In the shared temporary folder, for a data folder that cannot hold the lock.
QString fallbackLockFilePath(const QString& dataFolder)
{
    const QByteArray key = QFileInfo(dataFolder).absoluteFilePath().toUtf8();
    const QString hash =
        QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    return QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
        .filePath(QStringLiteral("velmora-%1.lock").arg(hash));
}

// The same, of this user's own, for when the shared one is held by a dead copy of another user.
QString usersFallbackLockFilePath(const QString& dataFolder)
{
    QString path = fallbackLockFilePath(dataFolder);
    return path.insert(path.size() - int(sizeof(".lock") - 1), QStringLiteral("-%1").arg(::getuid()));
}

// Whether the copy a lock names has ended. QLockFile sees this too, but removes such a lock only
// where it may write; where it may not, it reports the lock as held.
bool lockOwnerHasEnded(const QLockFile& lock)
{
    qint64 pid = 0;
    QString hostName, programName;
    if (!lock.getLockInfo(&pid, &hostName, &programName) || pid <= 0)
        return false;
    if (!hostName.isEmpty() && hostName != QSysInfo::machineHostName())
        return false; // a copy on another machine sharing the folder cannot be asked
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
        return true;
    // The number may since have been given to another program (after a restart, say). The
    // process name is readable for every user's process, unlike its executable.
    QFile name(QStringLiteral("/proc/%1/comm").arg(pid));
    if (programName.isEmpty() || !name.open(QIODevice::ReadOnly))
        return false;
    return QString::fromLocal8Bit(name.readAll()).trimmed() != programName.left(15);
}

// Removes the lock of a copy that has ended, where QLockFile cannot: it takes the lock over only
// through a file it opens for writing, which a lock left by another user in a folder both may write
// is not (the file is that user's, readable by others at most). Removing it needs only the folder.
// The file lock that every running copy holds on its lock file tells that no copy holds it now,
// and that another copy removing it at the same moment has not already put a lock of its own in
// its place. False when the lock stays; `mayNotRemove` then says whether the folder forbids it
// (rather than a live copy holding it).
bool removeEndedOwnersLock(const QString& lockPath, bool* mayNotRemove)
{
    *mayNotRemove = false;
    const QByteArray path = QFile::encodeName(lockPath);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT; // removed meanwhile
    bool removed = false;
    struct stat held = {};
    struct stat named = {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0) {
        if (::stat(path.constData(), &named) != 0)
            removed = errno == ENOENT;
        else if (named.st_dev != held.st_dev || named.st_ino != held.st_ino)
            removed = false; // already replaced by a copy that started meanwhile
        else if (::unlink(path.constData()) == 0)
            removed = true;
        else
            *mayNotRemove = errno == EACCES || errno == EPERM || errno == EROFS;
    }
    ::close(fd);
    return removed;
}

enum class LockOutcome
{
    Taken,
    HeldByLiveCopy,
    Unusable // cannot be made here, or a dead copy's lock here cannot be removed
};

LockOutcome lockAt(QLockFile& lock)
{
    lock.setStaleLockTime(0); // only a dead owner makes the lock stale, never its age
    if (lock.tryLock(0)) {
        // Readable for every user of the folder, whatever the umask: the next user can then tell
        // whether its owner still runs, should it crash.
        QFile::setPermissions(lock.fileName(), QFile::permissions(lock.fileName()) | QFile::ReadOwner |
                                                   QFile::ReadGroup | QFile::ReadOther);
        return LockOutcome::Taken;
    }
    if (lock.error() == QLockFile::PermissionError)
        return LockOutcome::Unusable;
    if (lock.error() != QLockFile::LockFailedError || !lockOwnerHasEnded(lock))
        return LockOutcome::HeldByLiveCopy;
    bool mayNotRemove = false;
    if (removeEndedOwnersLock(lock.fileName(), &mayNotRemove) && lock.tryLock(0))
        return LockOutcome::Taken;
    return mayNotRemove ? LockOutcome::Unusable : LockOutcome::HeldByLiveCopy;
}
} // namespace

QString SingleInstance::lockFilePath(const QString& dataFolder)
{
    // Beside the data files it guards: one lock per set of data files, and every user who may
    // write those files may also remove the lock a crashed copy left behind, which a lock in the
    // shared temporary folder, owned by the first user, would not allow.
    return QDir(dataFolder).filePath(QStringLiteral(".Velmora.lock"));
}

SingleInstance::SingleInstance(const QString& dataFolder) : m_dataFolder(dataFolder) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    // A data folder that cannot hold the lock, or a dead copy's lock there that may not be removed: the lock
    // goes to the temporary folder instead; and where a dead copy's lock stays there too (another
    // user's, in a temporary folder that only lets owners remove their files), to a name of this
    // user's own. A dead copy's lock never keeps the program from starting.
    const QString candidates[] = {lockFilePath(m_dataFolder), fallbackLockFilePath(m_dataFolder),
                                  usersFallbackLockFilePath(m_dataFolder)};
    for (const QString& path : candidates) {
        m_lock = std::make_unique<QLockFile>(path);
        switch (lockAt(*m_lock)) {
        case LockOutcome::Taken:
            return true;
        case LockOutcome::HeldByLiveCopy:
            return false;
        case LockOutcome::Unusable:
            break;
        }
    }
    return false;
}
