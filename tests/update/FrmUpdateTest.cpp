#include "update/FrmUpdate.h"
#include "ScriptedHttpServer.h"
#include "TestProgramFolder.h"
#include "update/VersionCheck.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using Reply = ScriptedHttpServer::Reply;
Q_DECLARE_METATYPE(ScriptedHttpServer::Reply)

namespace {
const QString kTitle = QStringLiteral("Velmora V: 2.2");
const QString kNoNewerVersion =
    QStringLiteral("شما آخرين ورژن نرم افزار را داريد و يا اينکه ارتباط شما با اينترنت برقرار نمي باشد ");
const QByteArray kVersionPath = "/Soft/Velmora/LastVersion.txt";
} // namespace

class FrmUpdateTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedHttpServer> m_server;
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<FrmUpdate> m_window;

    QPushButton* checkButton() { return m_window->findChild<QPushButton*>(QStringLiteral("Command1")); }
    void openWindow(const QString& versionUrl)
    {
        m_window = std::make_unique<FrmUpdate>(m_folder->context(), QUrl(versionUrl));
        m_window->setTimeout(400);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    // Starts the check and waits for its end, checking the busy state on the way.
    void runCheck()
    {
        QTest::mouseClick(checkButton(), Qt::LeftButton);
        QVERIFY(m_window->isChecking());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Please wait..."));
        QVERIFY(!checkButton()->isEnabled());
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->isChecking(), 5000);
        QVERIFY(!QApplication::overrideCursor());
    }
    void verifyNoUpdateMessage()
    {
        const auto& shown = m_folder->prompts.shown;
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Velmora V:"));
        QCOMPARE(shown[0].text, kNoNewerVersion);
        QCOMPARE(shown[0].icon, Prompts::Icon::Information);
        QVERIFY(m_folder->desktop.startedPrograms.isEmpty());
        QCOMPARE(m_folder->desktop.quits, 0);
        QCOMPARE(m_window->windowTitle(), kTitle);
        QVERIFY(checkButton()->isEnabled());
    }

private slots:
    void init()
    {
        m_server = std::make_unique<ScriptedHttpServer>();
        QVERIFY(m_server->listen());
        m_folder = std::make_unique<TestProgramFolder>(false);
    }
    void cleanup() { m_window.reset(); }

    void versionNumbersAreDigitsRunTogether()
    {
        QCOMPARE(VersionCheck::localVersionNumber(2, 2), 22);
        QCOMPARE(VersionCheck::localVersionNumber(2, 10), 210);
    }

    void windowShowsVersionAndInstructions()
    {
        openWindow(m_server->url(kVersionPath));
        QCOMPARE(m_window->windowTitle(), kTitle);
        QCOMPARE(m_window->findChild<QLabel*>(QStringLiteral("Label1"))->text(), kTitle);
        QVERIFY(m_window->findChild<QLabel*>(QStringLiteral("Label2"))
                    ->text()
                    .startsWith(QStringLiteral("جهت به روز رساني نرم افزار")));
        QCOMPARE(checkButton()->text(), QStringLiteral("بررسي آپديت جديد"));
        QCOMPARE(m_window->findChild<QPushButton*>(QStringLiteral("Command2"))->text(),
                 QStringLiteral("خروج"));
        QVERIFY(m_server->requests.isEmpty());
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QVERIFY(!m_window->isVisible());
    }

    void newerVersionStartsUpdaterAndEndsProgram_data()
    {
        QTest::addColumn<QByteArray>("versionFile");
        QTest::newRow("23") << QByteArray("23");
        QTest::newRow("23 with line break") << QByteArray("23\r\n");
        QTest::newRow("2 blank 3") << QByteArray("2 3");
    }
    void newerVersionStartsUpdaterAndEndsProgram()
    {
        QFETCH(QByteArray, versionFile);
        m_server->script(kVersionPath, ScriptedHttpServer::ok(versionFile));
        openWindow(m_server->url(kVersionPath));
        runCheck();
        // From the executable's own folder, not the data folder.
        QCOMPARE(m_folder->desktop.startedPrograms,
                 QStringList{
                     QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Velmoraupdate"))});
        QVERIFY(m_folder->prompts.shown.isEmpty());
        // Accepted: the caller ends the program that the updater replaces.
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_window->result(), int(QDialog::Accepted));
        QVERIFY(m_server->requests.value(0).startsWith("GET /Soft/Velmora/LastVersion.txt "));
    }

    // A portable copy has the updater under its own name, the package under velmora-update.
    void updaterIsFoundUnderEitherName()
    {
        QTemporaryDir folder;
        const auto place = [&folder](const QString& name) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        };
        QCOMPARE(VersionCheck::updaterPath(folder.path()), folder.filePath(QStringLiteral("Velmoraupdate")));
        place(QStringLiteral("velmora-update"));
        QCOMPARE(VersionCheck::updaterPath(folder.path()), folder.filePath(QStringLiteral("velmora-update")));
        place(QStringLiteral("Velmoraupdate"));
        QCOMPARE(VersionCheck::updaterPath(folder.path()), folder.filePath(QStringLiteral("Velmoraupdate")));
    }

    void sameOrOlderOrUnreadableVersionShowsTheMessage_data()
    {
        QTest::addColumn<QByteArray>("versionFile");
        QTest::newRow("22") << QByteArray("22");
        QTest::newRow("2.3 is two point three") << QByteArray("2.3");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a number") << QByteArray("<html>23</html>");
    }
    void sameOrOlderOrUnreadableVersionShowsTheMessage()
    {
        QFETCH(QByteArray, versionFile);
        m_server->script(kVersionPath, ScriptedHttpServer::ok(versionFile));
        openWindow(m_server->url(kVersionPath));
        runCheck();
        verifyNoUpdateMessage();
    }

    void missingFileOrServerShowsTheMessage_data()
    {
        QTest::addColumn<bool>("serverRuns");
        QTest::addColumn<Reply>("reply");
        // An error page that starts with digits is still not a version number.
        QTest::newRow("404") << true
                             << ScriptedHttpServer::withStatus("HTTP/1.1 404 Not Found", "404 Not Found");
        Reply silent;
        silent.silent = true;
        QTest::newRow("silent server") << true << silent;
        QTest::newRow("no server") << false << Reply();
    }
    void missingFileOrServerShowsTheMessage()
    {
        QFETCH(bool, serverRuns);
        QFETCH(Reply, reply);
        m_server->script(kVersionPath, reply);
        openWindow(serverRuns ? m_server->url(kVersionPath) : ScriptedHttpServer::deadAddress(kVersionPath));
        runCheck();
        verifyNoUpdateMessage();
    }

    void updaterThatCannotStartKeepsProgramRunning()
    {
        m_server->script(kVersionPath, ScriptedHttpServer::ok("23"));
        m_folder->desktop.startSucceeds = false;
        openWindow(m_server->url(kVersionPath));
        runCheck();
        QCOMPARE(m_folder->prompts.shown.size(), 1);
        QCOMPARE(m_folder->prompts.shown[0].title, QStringLiteral("خطا"));
        QVERIFY(m_window->isVisible());
        QVERIFY(checkButton()->isEnabled());
        QCOMPARE(m_window->windowTitle(), kTitle);
    }

    void windowKeepsPaintingAndClosesDuringCheck()
    {
        Reply late = ScriptedHttpServer::ok("23");
        late.delayMs = 3000;
        m_server->script(kVersionPath, late);
        openWindow(m_server->url(kVersionPath));
        m_window->setTimeout(10000);
        QTest::mouseClick(checkButton(), Qt::LeftButton);
        int paints = 0;
        QTimer repaint;
        connect(&repaint, &QTimer::timeout, this, [&] {
            m_window->repaint();
            ++paints;
        });
        repaint.start(20);
        QTest::qWait(200);
        QVERIFY(paints > 3);
        QVERIFY(m_window->isChecking());
        m_window->reject();
        QVERIFY(!m_window->isChecking());
        QVERIFY(!QApplication::overrideCursor());
        QTest::qWait(100);
        QVERIFY(m_folder->desktop.startedPrograms.isEmpty());
    }
};

QTEST_MAIN(FrmUpdateTest)
#include "FrmUpdateTest.moc"
