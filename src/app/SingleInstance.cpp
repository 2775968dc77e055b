#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString SingleInstance::lockFilePath(const QString& programFolder)
{
    // In the temporary folder rather than the program folder, which may be read-only.
    const QByteArray key = QFileInfo(programFolder).absoluteFilePath().toUtf8();
    const QString hash =
        QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    return QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
        .filePath(QStringLiteral("velmora-%1.lock").arg(hash));
}

SingleInstance::SingleInstance(const QString& programFolder) : m_lock(lockFilePath(programFolder))
{
    m_lock.setStaleLockTime(0); // only a dead owner makes the lock stale, never its age
}

bool SingleInstance::acquire()
{
    return m_lock.tryLock(0);
}
