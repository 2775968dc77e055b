#include "common/FileProblem.h"
#include "common/CommonTexts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <unistd.h>

class FileProblemTest : public QObject
{
    Q_OBJECT

private slots:
    // A real full device: the reason comes from the errno the failed write left.
    void aWriteToAFullDiskSaysTheDiskIsFull()
    {
        QFile full(QStringLiteral("/dev/full"));
        if (!full.open(QIODevice::WriteOnly))
            QSKIP("no /dev/full here");
        full.write(QByteArray(8192, 'x'));
        errno = 0;
        QVERIFY(!full.flush());
        const int error = errno;
        QCOMPARE(withWriteProblem(QStringLiteral("x.docx"), full.fileName(), error),
                 QStringLiteral("x.docx\n") + CommonTexts::diskFull);
    }

    void aFolderThatIsNotThereIsNamedAsMissing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("gone/VM.docx"));
        QCOMPARE(diagnoseWriteProblem(path), FileProblem::FolderMissing);
        QCOMPARE(diagnoseWriteProblem(path, ENOENT), FileProblem::FolderMissing);
        QCOMPARE(fileProblemText(FileProblem::FolderMissing), CommonTexts::folderMissing);
    }

    void aFolderThatCannotBeWrittenIsNamedAsNoPermission()
    {
        if (geteuid() == 0)
            QSKIP("the superuser writes into any folder");
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        QCOMPARE(diagnoseWriteProblem(dir.filePath(QStringLiteral("VM.docx"))), FileProblem::NoPermission);
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    // Where nothing explains the failure, the message stays as it was: no reason is made up.
    void anUnexplainedFailureAddsNoReason()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("VM.docx"));
        QCOMPARE(diagnoseWriteProblem(path, EIO), FileProblem::Unknown);
        QCOMPARE(withWriteProblem(QStringLiteral("VM.docx"), path, EIO), QStringLiteral("VM.docx"));
        QCOMPARE(withWriteProblem(QStringLiteral("VM.docx"), path, EACCES),
                 QStringLiteral("VM.docx\n") + CommonTexts::noWritePermission);
        QCOMPARE(withWriteProblem(QStringLiteral("VM.docx"), path, ETXTBSY),
                 QStringLiteral("VM.docx\n") + CommonTexts::fileInUse);
    }
};

QTEST_GUILESS_MAIN(FileProblemTest)
#include "FileProblemTest.moc"
