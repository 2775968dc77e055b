#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/fsuid.h>
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
