#include "backup/TemporaryFiles.h"
#include "common/FileLinks.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kDatabaseStart("SQLite format 3\0 and pages", 26);
const QByteArray kWorkbookStart("PK\x03\x04 and the rest");

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QStringList namesIn(const QString& folder)
{
    QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

} // namespace

// The sweep of the temporary copies of client records that a backup, restore or export cut off
// leaves behind: it must take every one of them and nothing else.
class TemporaryFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void sweepTakesTheProgramsLeftoversAndNothingElse()
    {
        QTemporaryDir folder;
        const QStringList leftovers{
            QStringLiteral("Velmora 1402.mdbB.part-AbCdEf"),
            QStringLiteral("DABSH.skn.restore-QwErTy"),
            QStringLiteral(".safety-ZxCvBn"),
            QStringLiteral(".server-snapshot-PoIuYt"),
            QStringLiteral("empty.mdbB.part-LkJhGf"),
        };
        for (const QString& name : leftovers)
            QVERIFY(writeFile(folder.filePath(name),
                              name.startsWith(QStringLiteral("empty")) ? QByteArray() : kDatabaseStart));
        QVERIFY(writeFile(folder.filePath(QStringLiteral(".list.xlsx.MnBvCx.part")), kWorkbookStart));

        const QStringList others{
            QStringLiteral("b.mdbB"),
            QStringLiteral("DABSH.skn"),
            QStringLiteral("film.part-abcdef"),    // another program's, holding something else
            QStringLiteral("b.mdbB.part-abcde"),   // five characters, not six
            QStringLiteral("b.mdbB.part-abcdefg"), // seven
            QStringLiteral(".safety-abcdef.mdbB"),
            QStringLiteral("DABSH.skn.restore-"),
            QStringLiteral(".notes.txt.AbCdEf.part"), // a workbook's name, not a workbook
            QStringLiteral("list.xlsx.AbCdEf.part"),  // not hidden
        };
        for (const QString& name : others)
            QVERIFY(writeFile(folder.filePath(name), name.endsWith(QStringLiteral(".txt.AbCdEf.part"))
                                                         ? QByteArray("notes")
                                                         : QByteArray("kept ") + name.toUtf8()));
        QVERIFY(writeFile(folder.filePath(QStringLiteral("film.part-abcdef")), "a film"));
        // A link with a leftover's name is not followed, and a folder is no file.
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("b.mdbB")),
                            folder.filePath(QStringLiteral("link.mdbB.part-AbCdEf"))));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub.mdbB.part-AbCdEf")));

        QCOMPARE(TemporaryFiles::sweep(folder.path()), leftovers.size() + 1);
        QStringList expected = others + QStringList{QStringLiteral("link.mdbB.part-AbCdEf"),
                                                    QStringLiteral("sub.mdbB.part-AbCdEf")};
        expected.sort();
        QCOMPARE(namesIn(folder.path()), expected);
    }

    void aCopyBeingWrittenIsLeftAlone()
    {
        QTemporaryDir folder;
        {
            // The program's own copy in progress, held while it is written.
            TemporaryFiles::Held held;
            QVERIFY(held.create(folder.path(), QStringLiteral("b.mdbB") + TemporaryFiles::backupSuffix));
            QVERIFY(writeFile(held.path(), kDatabaseStart));
            QCOMPARE(QFile::permissions(held.path()), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                          QFileDevice::ReadUser | QFileDevice::WriteUser);
            // An export being written by another part of the program: open, but not held.
            const QString workbook = folder.filePath(QStringLiteral(".list.xlsx.MnBvCx.part"));
            QFile writer(workbook);
            QVERIFY(writer.open(QIODevice::WriteOnly));
            QVERIFY(writer.write(kWorkbookStart) > 0 && writer.flush());

            QCOMPARE(TemporaryFiles::sweep(folder.path()), 0);
            QCOMPARE(namesIn(folder.path()).size(), 2);
            writer.close();
            QCOMPARE(TemporaryFiles::sweep(folder.path()), 1);
            QVERIFY(QFileInfo::exists(held.path()));
        }
        // Not renamed into place: gone with its holder.
        QCOMPARE(namesIn(folder.path()), QStringList());
    }

    void aHeldFileRenamedIntoPlaceStaysWithTheRightsOfTheFileItReplaces()
    {
        QTemporaryDir folder;
        const QString target = folder.filePath(QStringLiteral("b.mdbB"));
        QVERIFY(writeFile(target, "earlier"));
        const auto rights = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                            QFileDevice::WriteUser | QFileDevice::ReadGroup;
        QVERIFY(QFile::setPermissions(target, rights));
        {
            TemporaryFiles::Held held;
            QVERIFY(held.create(folder.path(), QStringLiteral("b.mdbB") + TemporaryFiles::backupSuffix));
            QVERIFY(held.setFinalMode(target));
            QVERIFY(QFile::remove(target));
            QVERIFY(QFile::rename(held.path(), target));
            held.release();
        }
        QCOMPARE(QFile::permissions(target), rights);
        QCOMPARE(namesIn(folder.path()), QStringList{QStringLiteral("b.mdbB")});
    }

    void everyFolderTheProgramWritesToIsSwept()
    {
        QTemporaryDir program;
        QTemporaryDir drive;   // where DABSH.skn really lives
        QTemporaryDir backups; // the user's backup folder
        QVERIFY(QDir(program.path()).mkdir(QStringLiteral("Back")));
        QVERIFY(writeFile(drive.filePath(QStringLiteral("clinic.skn")), kDatabaseStart));
        QVERIFY(QFile::link(drive.filePath(QStringLiteral("clinic.skn")),
                            program.filePath(QStringLiteral("DABSH.skn"))));
        TemporaryFiles::rememberBackupFolder(backups.path());
        QCOMPARE(TemporaryFiles::rememberedBackupFolder(), backups.path());
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(QDir().mkpath(documents));

        const QStringList leftovers{
            program.filePath(QStringLiteral(".server-snapshot-AbCdEf")),
            program.filePath(QStringLiteral("Back/.safety-AbCdEf")),
            drive.filePath(QStringLiteral("DABSH.skn.restore-AbCdEf")),
            backups.filePath(QStringLiteral("b.mdbB.part-AbCdEf")),
            QDir(documents).filePath(QStringLiteral(".list.xlsx.AbCdEf.part")),
        };
        for (const QString& leftover : leftovers)
            QVERIFY(writeFile(leftover,
                              leftover.endsWith(QStringLiteral(".part")) ? kWorkbookStart : kDatabaseStart));
        TemporaryFiles::sweepAll(program.path());
        for (const QString& leftover : leftovers)
            QVERIFY2(!QFileInfo::exists(leftover), qPrintable(leftover));
        QVERIFY(QFileInfo::exists(drive.filePath(QStringLiteral("clinic.skn"))));
    }

    void realTargetFollowsEveryLink()
    {
        QTemporaryDir folder;
        const QString real = folder.filePath(QStringLiteral("real.mdbB"));
        QVERIFY(QFile::link(real, folder.filePath(QStringLiteral("one"))));
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("one")), folder.filePath(QStringLiteral("two"))));
        // Even a link to a file not made yet.
        QCOMPARE(FileLinks::realTarget(folder.filePath(QStringLiteral("two"))), real);
        QCOMPARE(FileLinks::realTarget(real), real);
        // A loop ends somewhere rather than never.
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("b")), folder.filePath(QStringLiteral("a"))));
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("a")), folder.filePath(QStringLiteral("b"))));
        QVERIFY(!FileLinks::realTarget(folder.filePath(QStringLiteral("a"))).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TemporaryFilesTest)
#include "TemporaryFilesTest.moc"
