#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

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
        // A process that has ended stands for the crashed copy: its lock names a dead process.
        QProcess ended;
        ended.start(QStringLiteral("sleep"), {QStringLiteral("0.1")});
        QVERIFY(ended.waitForStarted());
        const qint64 deadPid = ended.processId();
        QVERIFY(ended.waitForFinished());
        QFile lock(SingleInstance::lockFilePath(folder.path()));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(deadPid) + '\n' + QCoreApplication::applicationName().toUtf8() + '\n' +
                   QSysInfo::machineHostName().toUtf8() + '\n');
        lock.close();

        SingleInstance next(folder.path());
        QVERIFY(next.acquire());
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
