#include "app/Startup.h"
#include "FakeClinicServer.h"
#include "TestProgramFolder.h"
#include "app/AppNavigator.h"
#include "app/SingleInstance.h"
#include "backup/Frmbackup.h"
#include "backup/TemporaryFiles.h"
#include "common/CommonTexts.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "datastore/ServerSettings.h"
#include "mainwindow/ClinicServerTexts.h"
#include "mainwindow/MainWindowTexts.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest>

// The start from the lock to the main window, on a folder as a user's program folder may be.
class StartupTest : public QObject
{
    Q_OBJECT

    static void writeFile(const QString& path, const QByteArray& content)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }

    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static Frmbackup* damagedFileWindow()
    {
        auto* window = qobject_cast<Frmbackup*>(QApplication::activeModalWidget());
        return window && window->occasion() == Frmbackup::Occasion::DamagedDatabase && window->isVisible()
                   ? window
                   : nullptr;
    }

    struct Run
    {
        explicit Run(TestProgramFolder& folder)
            : navigator(folder.context()), startup(folder.context(), navigator, server)
        {
        }
        FakeClinicServer server;
        AppNavigator navigator;
        Startup startup;
    };

private slots:
    void init() { QGuiApplication::setQuitOnLastWindowClosed(true); }

    // The lock comes first and is held for the whole run; the files are made or opened only by
    // the copy that holds it.
    void onlyTheCopyHoldingTheLockOpensTheDataFiles()
    {
        TestProgramFolder folder(false);
        {
            SingleInstance other(folder.path());
            QVERIFY(other.acquire());
            Run second(folder);
            QCOMPARE(second.startup.showMainWindow(), std::optional<int>(0));
            QCOMPARE(folder.prompts.texts(FakePrompts::Kind::Message),
                     QStringList{MainWindowTexts::alreadyRunning});
            QCOMPARE(folder.prompts.shown.constFirst().title, MainWindowTexts::alreadyRunningTitle);
            QVERIFY(!second.navigator.mainWindow());
            QVERIFY(!QFile::exists(folder.filePath(Database::clinicalFileName)));
            QVERIFY(!QFile::exists(folder.filePath(Database::themeFileName)));
        }
        folder.prompts.shown.clear();
        {
            Run first(folder);
            QCOMPARE(first.startup.showMainWindow(), std::nullopt);
            QVERIFY(folder.prompts.shown.isEmpty());
            QVERIFY(first.navigator.mainWindow() && first.navigator.mainWindow()->isVisible());
            QVERIFY(QFile::exists(folder.filePath(Database::clinicalFileName)));
            QVERIFY(QFile::exists(folder.filePath(Database::themeFileName)));
            SingleInstance later(folder.path());
            QVERIFY(!later.acquire());
        }
        QVERIFY(SingleInstance(folder.path()).acquire());
    }

    // A Theme.skn that is no database ends the start with its message, and is left as it was.
    void anUnusableThemeFileEndsTheStartWithItsMessage()
    {
        TestProgramFolder folder(false);
        const QByteArray notADatabase("these are not the pages of a database");
        writeFile(folder.filePath(Database::themeFileName), notADatabase);
        Run run(folder);
        QCOMPARE(run.startup.showMainWindow(), std::optional<int>(1));
        QCOMPARE(folder.prompts.texts(FakePrompts::Kind::Message),
                 QStringList{Database::messageFor(Database::FileState::Unreadable, Database::File::Theme)});
        QCOMPARE(folder.prompts.shown.constFirst().title, CommonTexts::warningTitle);
        QVERIFY(!run.navigator.mainWindow());
        QCOMPARE(readFile(folder.filePath(Database::themeFileName)), notADatabase);
    }

    // A DABSH.skn that cannot be read opens the backup window's choice: the user who leaves it
    // ends the program, the file untouched; after a restore the start goes on with the restored
    // file.
    void anUnreadableClinicalFileIsOfferedForRestore()
    {
        TestProgramFolder good;
        good.addSubject(QStringLiteral("7"));
        good.closeDatabases();
        const QByteArray restored = readFile(good.filePath(Database::clinicalFileName));
        const QByteArray damaged("the first page of a database, overwritten");

        TestProgramFolder folder(false);
        const QString path = folder.filePath(Database::clinicalFileName);
        writeFile(path, damaged);
        {
            Run run(folder);
            bool offered = false;
            QTimer::singleShot(0, this, [&] {
                Frmbackup* window = damagedFileWindow();
                offered = window;
                if (window)
                    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command1")),
                                      Qt::LeftButton);
            });
            QCOMPARE(run.startup.showMainWindow(), std::optional<int>(1));
            QVERIFY(offered);
            QVERIFY(!run.navigator.mainWindow());
            QCOMPARE(readFile(path), damaged);
        }
        {
            Run run(folder);
            bool offered = false;
            QTimer::singleShot(0, this, [&] {
                Frmbackup* window = damagedFileWindow();
                offered = window;
                if (!window)
                    return;
                // As the window's restore ends: the backup in place of the damaged file.
                writeFile(path, restored);
                emit window->finished(true);
            });
            QCOMPARE(run.startup.showMainWindow(), std::nullopt);
            QVERIFY(offered);
            QVERIFY(run.navigator.mainWindow() && run.navigator.mainWindow()->isVisible());
            QVERIFY(folder.prompts.texts(FakePrompts::Kind::Message).isEmpty());
            QCOMPARE(folder.view(QStringLiteral("IDE"))->field(QStringLiteral("Code")), QStringLiteral("7"));
        }
    }

    // The work the main window does not need waits for its first picture, then runs beside it.
    void leftOverCopiesAreSweptAfterTheFirstPicture()
    {
        TestProgramFolder folder(false);
        const QString leftOver = folder.filePath(TemporaryFiles::restorePrefix + QStringLiteral("a1B2c3"));
        writeFile(leftOver, {});
        Run run(folder);
        QCOMPARE(run.startup.showMainWindow(), std::nullopt);
        QThread::msleep(300); // time enough for work that had been started already
        QVERIFY(QFile::exists(leftOver));
        QVERIFY(QTest::qWaitForWindowExposed(run.navigator.mainWindow()));
        QTRY_VERIFY(!QFile::exists(leftOver));
        QVERIFY(folder.prompts.shown.isEmpty());
    }

    // A start that ends (its window closed, say) before the first picture or the latest moment of
    // the work after it leaves nothing that would still run.
    void aStartEndedBeforeItsFirstPictureLeavesNoWorkBehind()
    {
        TestProgramFolder folder(false);
        const QString leftOver = folder.filePath(TemporaryFiles::restorePrefix + QStringLiteral("d4E5f6"));
        {
            Run run(folder);
            QCOMPARE(run.startup.showMainWindow(), std::nullopt);
        }
        writeFile(leftOver, {});
        QWidget later;
        later.show();
        QVERIFY(QTest::qWaitForWindowExposed(&later));
        QTest::qWait(2500);
        QVERIFY(QFile::exists(leftOver));
    }

    // With Server.ini set to the clinic server, the start goes there; when it cannot and the user
    // does not want this computer's files, the program ends before any window.
    void theClinicServerIsTriedBeforeTheMainWindow()
    {
        TestProgramFolder folder(false);
        ServerSettings settings;
        settings.host = QStringLiteral("db.clinic.local");
        settings.databaseName = QStringLiteral("velmora");
        settings.userName = QStringLiteral("reception");
        settings.inUse = true;
        QVERIFY(ServerSettingsFile::write(folder.path(), settings));
        {
            Run run(folder);
            folder.prompts.passwordAnswers.enqueue(QStringLiteral("secret"));
            run.server.useResult = {false, QStringLiteral("refused")};
            QCOMPARE(run.startup.showMainWindow(), std::optional<int>(0));
            QCOMPARE(run.server.calls, QStringList{QStringLiteral("useServer")});
            QCOMPARE(folder.prompts.texts(FakePrompts::Kind::YesNo),
                     QStringList{ClinicServerTexts::chooseAfterFailure.arg(QStringLiteral("refused"))});
            QVERIFY(!run.navigator.mainWindow());
        }
        folder.prompts.shown.clear();
        {
            Run run(folder);
            folder.prompts.passwordAnswers.enqueue(QStringLiteral("secret"));
            QCOMPARE(run.startup.showMainWindow(), std::nullopt);
            QCOMPARE(run.server.calls, QStringList{QStringLiteral("useServer")});
            QVERIFY(run.navigator.mainWindow() && run.navigator.mainWindow()->isVisible());
        }
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
