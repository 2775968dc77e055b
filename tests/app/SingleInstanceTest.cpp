#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Writes a lock as a copy with the given process number would have left it.
bool writeLock(const QString& folder, qint64 pid)
{
    QFile lock(SingleInstance::lockFilePath(folder));
    if (!lock.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = QByteArray::number(pid) + '\n' + QCoreApplication::applicationName().toUtf8() +
                            '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
    return lock.write(text) == text.size() && lock.flush();
}

qint64 numberOfAnEndedProcess()
{
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    if (!ended.waitForStarted())
        return -1;
    const qint64 pid = ended.processId();
    return ended.waitForFinished() ? pid : -1;
}

// Makes the folder read-only for the calls made inside; a superuser's file checks are made as an
// ordinary user meanwhile, since read-only means nothing to the superuser.
template <typename Check> void withReadOnlyFolder(const QString& folder, Check check)
{
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::ExeOther);
    const bool superuser = ::geteuid() == 0;
    if (superuser) {
        ::setfsgid(65534);
        ::setfsuid(65534);
    }
    check();
    if (superuser) {
        ::setfsuid(0);
        ::setfsgid(0);
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
// Runs the check as another user would: a superuser's file checks are made as an ordinary user
// meanwhile, since file permissions mean nothing to the superuser. Whoever runs the test, the lock
// files it wrote are made read-only, so that they cannot be opened for writing inside.
template <typename Check> void asAnotherUser(Check check)
{
    const bool superuser = ::geteuid() == 0;
    if (superuser) {
        ::setfsgid(65534);
        ::setfsuid(65534);
    }
    check();
    if (superuser) {
        ::setfsuid(0);
        ::setfsgid(0);
    }
}

// A folder every user may write, as a program folder that a clinic's users share; `sticky` lets
// each remove only the files of their own, as in the shared temporary folder.
void shareFolder(const QString& folder, bool sticky = false)
{
    const QByteArray path = QFile::encodeName(folder);
    ::chmod(path.constData(), sticky ? 01777 : 0777);
}

// Makes the lock file readable only, as another user's lock is to this one.
void makeLockReadOnly(const QString& folder)
{
    QFile::setPermissions(SingleInstance::lockFilePath(folder),
                          QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
}

qint64 lockOwner(const QString& lockPath)
{
    QLockFile lock(lockPath);
    qint64 pid = 0;
    QString host, name;
    return lock.getLockInfo(&pid, &host, &name) ? pid : -1;
}
} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT
private slots:
    void secondCopyIsRefusedWhileTheFirstRuns()
    {
        QTemporaryDir folder;
        auto first = std::make_unique<SingleInstance>(folder.path());
        QVERIFY(first->acquire());
        SingleInstance second(folder.path());
        QVERIFY(!second.acquire());
        first.reset();
        SingleInstance third(folder.path());
        QVERIFY(third.acquire());
    }

    void copiesInOtherProgramFoldersDoNotBlockEachOther()
    {
        QTemporaryDir a, b;
        SingleInstance first(a.path()), second(b.path());
        QVERIFY(first.acquire());
        QVERIFY(second.acquire());
    }

    void lockLeftByACrashedCopyDoesNotBlockTheNextStart()
    {
        QTemporaryDir folder;
        const qint64 deadPid = numberOfAnEndedProcess();
        QVERIFY(deadPid > 0);
        QVERIFY(writeLock(folder.path(), deadPid));
        SingleInstance next(folder.path());
        QVERIFY(next.acquire());
    }

    // A copy that could write the program folder crashed there; a user who cannot write it cannot
    // remove that lock, and must still be able to start.
    void staleLockInAReadOnlyFolderDoesNotBlockTheNextStart()
    {
        QTemporaryDir folder;
        const qint64 deadPid = numberOfAnEndedProcess();
        QVERIFY(deadPid > 0);
        QVERIFY(writeLock(folder.path(), deadPid));
        bool started = false, secondRefused = false;
        withReadOnlyFolder(folder.path(), [&] {
            SingleInstance next(folder.path());
            started = next.acquire();
            SingleInstance second(folder.path());
            secondRefused = !second.acquire();
        });
        QVERIFY(started);
        QVERIFY(secondRefused);
    }

    void liveCopyInAReadOnlyFolderStillRefusesTheNext()
    {
        QTemporaryDir folder;
        QVERIFY(writeLock(folder.path(), QCoreApplication::applicationPid()));
        bool refused = false;
        withReadOnlyFolder(folder.path(), [&] { refused = !SingleInstance(folder.path()).acquire(); });
        QVERIFY(refused);
    }

    // A copy of another user crashed in a program folder both users may write: its lock file cannot
    // be opened for writing by the next user, who must still start, and take the lock over there.
    void deadCopysLockThatCannotBeWrittenIsTakenOverInASharedFolder()
    {
        QTemporaryDir folder;
        shareFolder(folder.path());
        const qint64 deadPid = numberOfAnEndedProcess();
        QVERIFY(deadPid > 0);
        QVERIFY(writeLock(folder.path(), deadPid));
        makeLockReadOnly(folder.path());
        bool started = false, secondRefused = false;
        qint64 owner = 0;
        asAnotherUser([&] {
            SingleInstance next(folder.path());
            started = next.acquire();
            owner = lockOwner(SingleInstance::lockFilePath(folder.path()));
            SingleInstance second(folder.path());
            secondRefused = !second.acquire();
        });
        QVERIFY(started);
        QCOMPARE(owner, QCoreApplication::applicationPid());
        QVERIFY(secondRefused);
    }

    // Where the folder lets only a file's owner remove it, the dead copy's lock stays; the start
    // goes ahead with a lock elsewhere, and still refuses a second copy.
    void deadCopysLockThatMayNotBeRemovedDoesNotBlockTheNextStart()
    {
        QTemporaryDir folder;
        shareFolder(folder.path(), true);
        const qint64 deadPid = numberOfAnEndedProcess();
        QVERIFY(deadPid > 0);
        QVERIFY(writeLock(folder.path(), deadPid));
        makeLockReadOnly(folder.path());
        bool started = false, secondRefused = false;
        asAnotherUser([&] {
            SingleInstance next(folder.path());
            started = next.acquire();
            SingleInstance second(folder.path());
            secondRefused = !second.acquire();
        });
        QVERIFY(started);
        QVERIFY(secondRefused);
    }

    // Only a lock no running copy holds is removed: not one whose process number names a copy
    // that runs, nor one whose text names an ended process while a running copy holds the file.
    void lockOfARunningCopyInASharedFolderIsNeverRemoved()
    {
        QTemporaryDir folder;
        shareFolder(folder.path());
        QVERIFY(writeLock(folder.path(), QCoreApplication::applicationPid()));
        makeLockReadOnly(folder.path());
        bool refused = false;
        asAnotherUser([&] { refused = !SingleInstance(folder.path()).acquire(); });
        QVERIFY(refused);

        QTemporaryDir other;
        shareFolder(other.path());
        SingleInstance running(other.path());
        QVERIFY(running.acquire());
        const qint64 deadPid = numberOfAnEndedProcess();
        QVERIFY(deadPid > 0);
        QVERIFY(QFile::setPermissions(SingleInstance::lockFilePath(other.path()),
                                      QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(writeLock(other.path(), deadPid)); // the same file, still held
        makeLockReadOnly(other.path());
        asAnotherUser([&] { refused = !SingleInstance(other.path()).acquire(); });
        QVERIFY(refused);
        QVERIFY(QFileInfo::exists(SingleInstance::lockFilePath(other.path())));
    }

    void lockLivesInTheProgramFolderItGuards()
    {
        QTemporaryDir folder;
        SingleInstance instance(folder.path());
        QVERIFY(instance.acquire());
        QVERIFY(QFileInfo::exists(QDir(folder.path()).filePath(QStringLiteral(".Velmora.lock"))));
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
