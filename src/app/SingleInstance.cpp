#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
    if (m_lock->error() != QLockFile::PermissionError)
        return false;
    // A read-only program folder: the lock goes to the temporary folder instead.
    m_lock = std::make_unique<QLockFile>(fallbackLockFilePath(m_programFolder));
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}
