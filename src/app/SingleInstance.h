#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Refuses a second running copy for the same data folder. The lock names the process that
// holds it, so the lock of a copy that crashed is recognised as stale and taken over, by any user
// of that data folder, also one who may not write the lock file itself (a shared folder, the
// lock of another user). A user who may not write the folder locks in the temporary folder
// instead, and so gets past a crashed copy's lock there that only its writers could remove.
class SingleInstance final
{
    Q_DISABLE_COPY_MOVE(SingleInstance)
public:
    explicit SingleInstance(const QString& dataFolder);
    ~SingleInstance();
    // True when this copy is the only one running.
    bool acquire();

    static QString lockFilePath(const QString& dataFolder);

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_dataFolder;
};
