#include "common/DataLocation.h"
#include "common/CommonTexts.h"
#include "datastore/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using DataLocation::Facts;
using DataLocation::Folders;

Q_DECLARE_METATYPE(Facts)

namespace {
void makeFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}
} // namespace

// The tests may run as root, whom no permission bit stops: the folders that cannot be written
// here are ones nobody can write (a path under a file, /proc).
class DataLocationTest : public QObject
{
    Q_OBJECT

    QByteArray m_dataHome;

private slots:
    void init() { m_dataHome = qgetenv("XDG_DATA_HOME"); }
    void cleanup() { qputenv("XDG_DATA_HOME", m_dataHome); }

    void theFoldersFollowTheProgramFolder_data()
    {
        const QString program = QStringLiteral("/opt/velmora/bin");
        const QString share = QStringLiteral("/opt/velmora/share/velmora");
        const QString user = QStringLiteral("/home/u/.local/share/Velmora");
        QTest::addColumn<Facts>("facts");
        QTest::addColumn<QString>("dataFolder");
        QTest::addColumn<QString>("sharedFolder");
        QTest::addColumn<bool>("portable");
        QTest::newRow("writable: portable") << Facts{program, true, {}, user} << program << program << true;
        QTest::newRow("read-only, installed") << Facts{program, false, share, user} << user << share << false;
        QTest::newRow("read-only copy without a share folder")
            << Facts{program, false, {}, user} << user << program << false;
        // Root may write /usr/bin, yet the package's layout keeps its data out of it.
        QTest::newRow("writable but installed")
            << Facts{program, true, share, user} << user << share << false;
    }
    void theFoldersFollowTheProgramFolder()
    {
        QFETCH(Facts, facts);
        const Folders folders = DataLocation::choose(facts);
        QTEST(folders.dataFolder, "dataFolder");
        QTEST(folders.sharedFolder, "sharedFolder");
        QTEST(folders.portable, "portable");
    }

    void theProbeMakesAFileAndLeavesNothing()
    {
        QTemporaryDir folder;
        QVERIFY(DataLocation::canCreateFilesIn(folder.path()));
        QVERIFY(
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());

        makeFile(folder.filePath(QStringLiteral("file")));
        QVERIFY(!DataLocation::canCreateFilesIn(folder.filePath(QStringLiteral("file"))));
        QVERIFY(!DataLocation::canCreateFilesIn(folder.filePath(QStringLiteral("file/bin"))));
        QVERIFY(!DataLocation::canCreateFilesIn(folder.filePath(QStringLiteral("missing"))));
        QVERIFY(!DataLocation::canCreateFilesIn(QString()));
        // Where the permission bits let root through, the real attempt still fails.
        if (QFileInfo(QStringLiteral("/proc/self")).isDir())
            QVERIFY(!DataLocation::canCreateFilesIn(QStringLiteral("/proc")));

        const QString locked = folder.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkdir(locked));
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
        QCOMPARE(DataLocation::canCreateFilesIn(locked), ::geteuid() == 0);
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void theFactsAreReadFromTheFileSystem()
    {
        QTemporaryDir prefix;
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        qputenv("XDG_DATA_HOME", prefix.filePath(QStringLiteral("home")).toUtf8());

        Facts facts = DataLocation::factsOf(bin);
        QVERIFY(facts.programFolderWritable);
        QVERIFY(facts.installedSharedFolder.isEmpty());
        QCOMPARE(facts.userDataFolder, prefix.filePath(QStringLiteral("home/Velmora")));
        QVERIFY(DataLocation::choose(facts).portable);

        QVERIFY(QDir().mkpath(prefix.filePath(QStringLiteral("share/velmora/skin"))));
        facts = DataLocation::factsOf(bin);
        QCOMPARE(facts.installedSharedFolder, prefix.filePath(QStringLiteral("share/velmora")));

        makeFile(prefix.filePath(QStringLiteral("file")));
        QVERIFY(!DataLocation::factsOf(prefix.filePath(QStringLiteral("file/bin"))).programFolderWritable);
    }

    // An installed program's first start: the data folder, and any missing folder above it, made
    // for its user only; the databases then made in it.
    void theFirstStartMakesTheDataFolderAndItsDatabases()
    {
        QTemporaryDir root;
        makeFile(root.filePath(QStringLiteral("file")));
        qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("new/share")).toUtf8());
        const Folders folders =
            DataLocation::choose(DataLocation::factsOf(root.filePath(QStringLiteral("file/bin"))));
        QVERIFY(!folders.portable);
        QCOMPARE(folders.dataFolder, root.filePath(QStringLiteral("new/share/Velmora")));

        QString reason;
        QVERIFY2(DataLocation::makeDataFolder(folders, &reason), qPrintable(reason));
        for (const char* made : {"new", "new/share", "new/share/Velmora"}) {
            struct stat status = {};
            QCOMPARE(::stat(QFile::encodeName(root.filePath(QString::fromLatin1(made))).constData(), &status),
                     0);
            QCOMPARE(status.st_mode & 0777, mode_t(0700));
        }
        // A second start finds it there.
        QVERIFY(DataLocation::makeDataFolder(folders, &reason));

        QVERIFY(Database::openProgramDatabases(folders.dataFolder).ok);
        Database::closeProgramDatabases(folders.dataFolder);
        QVERIFY(QFileInfo(QDir(folders.dataFolder).filePath(Database::clinicalFileName)).isFile());
        QVERIFY(QFileInfo(QDir(folders.dataFolder).filePath(Database::themeFileName)).isFile());
    }

    void aDataFolderThatCannotBeMadeIsSaidSo()
    {
        QTemporaryDir root;
        makeFile(root.filePath(QStringLiteral("file")));
        Folders folders{root.filePath(QStringLiteral("file/Velmora")), root.path(), false};
        QString reason;
        QVERIFY(!DataLocation::makeDataFolder(folders, &reason));
        QVERIFY2(reason.startsWith(CommonTexts::dataFolderNotMade.arg(folders.dataFolder)),
                 qPrintable(reason));

        folders.dataFolder.clear(); // no home folder
        QVERIFY(!DataLocation::makeDataFolder(folders, &reason));
        QCOMPARE(reason, CommonTexts::noHomeFolder);

        // A portable copy's folder is the program's own: nothing is made.
        QVERIFY(
            DataLocation::makeDataFolder(Folders{root.filePath(QStringLiteral("file")), {}, true}, &reason));
    }
};

QTEST_GUILESS_MAIN(DataLocationTest)
#include "DataLocationTest.moc"
