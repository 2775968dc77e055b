#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <signal.h>

namespace {
// In the shared temporary folder, for a program folder that cannot hold the lock.
QString fallbackLockFilePath(const QString& programFolder)
{
    const QByteArray key = QFileInfo(programFolder).absoluteFilePath().toUtf8();
    const QString hash =
        QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    return QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
        .filePath(QStringLiteral("velmora-%1.lock").arg(hash));
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

// QLockFile removes a stale lock only under a companion lock made beside it. Where that cannot be
// made, the stale lock stays for good; where it is merely held, another copy is removing it now.
bool staleLockCannotBeRemoved(const QString& lockPath)
{
    QLockFile removal(lockPath + QStringLiteral(".rmlock"));
    return !removal.tryLock(0) && removal.error() == QLockFile::PermissionError;
}
} // namespace

QString SingleInstance::lockFilePath(const QString& programFolder)
{
    // Beside the data files it guards: one lock per set of data files, and every user who may
    // write those files may also remove the lock a crashed copy left behind, which a lock in the
    // shared temporary folder, owned by the first user, would not allow.
    return QDir(programFolder).filePath(QStringLiteral(".Velmora.lock"));
}

SingleInstance::SingleInstance(const QString& programFolder)
    : m_lock(std::make_unique<QLockFile>(lockFilePath(programFolder))), m_programFolder(programFolder)
{
    m_lock->setStaleLockTime(0); // only a dead owner makes the lock stale, never its age
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    if (m_lock->tryLock(0))
        return true;
    // A read-only program folder: the lock goes to the temporary folder instead. So it does when
    // a copy that could write the folder crashed there, and its lock cannot be removed by us.
    const bool cannotCreate = m_lock->error() == QLockFile::PermissionError;
    const bool cannotRemoveStale = m_lock->error() == QLockFile::LockFailedError &&
                                   lockOwnerHasEnded(*m_lock) && staleLockCannotBeRemoved(m_lock->fileName());
    if (!cannotCreate && !cannotRemoveStale)
        return false;
    m_lock = std::make_unique<QLockFile>(fallbackLockFilePath(m_programFolder));
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}
