#include "updater/Progress.h"
#include "ScriptedHttpServer.h"
#include "TestProgramFolder.h"
#include "updater/FileDownloader.h"
#include "updater/UpdaterTexts.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

namespace T = UpdaterTexts;
using Kind = FakePrompts::Kind;
using Reply = ScriptedHttpServer::Reply;

class ProgressTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedHttpServer> m_server;
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<Progress> m_window;

    template <typename W = QWidget> W* child(const char* name)
    {
        auto* widget = m_window->findChild<W*>(QLatin1String(name));
        if (!widget)
            qWarning("no child %s", name);
        return widget;
    }
    QPushButton* button() { return child<QPushButton>("cmdUpdate"); }
    QProgressBar* bar() { return child<QProgressBar>("ProgressBar"); }
    void openWindow(const QString& path = QStringLiteral("/Soft/Velmora/setup-Velmora.exe"))
    {
        m_window = std::make_unique<Progress>(m_folder->context(), m_server->url(path));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    QString package() const { return m_folder->filePath(QStringLiteral("setup-Velmora.exe")); }

private slots:
    void init()
    {
        m_server = std::make_unique<ScriptedHttpServer>();
        QVERIFY(m_server->listen());
        m_folder = std::make_unique<TestProgramFolder>(false);
    }
    void cleanup() { m_window.reset(); }

    void windowShowsItsDesignAndWaitsForTheUser()
    {
        openWindow();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Downloading File ... "));
        QVERIFY(!child<QLineEdit>("Text")->isVisible());
        QVERIFY(!child<QLabel>("Label1")->isVisible());
        QCOMPARE(child<QLineEdit>("Text")->text(), m_server->url("/Soft/Velmora/setup-Velmora.exe"));
        QCOMPARE(bar()->minimum(), 0);
        QCOMPARE(bar()->maximum(), 100);
        QCOMPARE(button()->text(), QStringLiteral("دانلود"));
        QCOMPARE(child<QPushButton>("Command1")->text(), QStringLiteral("خروج"));
        const QFont percentFont = child<QLabel>("Label4")->font();
        QCOMPARE(percentFont.pointSize(), 24);
        QVERIFY(percentFont.bold());
        auto* timer = m_window->findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer && timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        QVERIFY(m_server->requests.isEmpty());
        // The program's chosen skin, as every window of the program has it.
        QVERIFY(m_window->styleSheet().contains(QStringLiteral("QPushButton")));
    }

    void percentageLabelFollowsTheBarEverySecond()
    {
        openWindow();
        bar()->setValue(42);
        QCOMPARE(child<QLabel>("Label4")->text(), QStringLiteral("0"));
        QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>("Label4")->text(), QStringLiteral("42"), 2000);
    }

    void completedDownloadStartsPackageAndEnds()
    {
        m_server->script("/Soft/Velmora/setup-Velmora.exe", ScriptedHttpServer::ok(QByteArray(5000, 'p')));
        openWindow();
        QList<int> barValues;
        connect(m_window->downloader(), &FileDownloader::DownloadProgress, this,
                [&] { barValues << bar()->value(); });
        QString percentAtSuccess;
        m_folder->prompts.onMessage = [&](const QString&) {
            percentAtSuccess = child<QLabel>("Label4")->text();
        };
        QTest::mouseClick(button(), Qt::LeftButton);
        QCOMPARE(percentAtSuccess, QStringLiteral("100"));

        QCOMPARE(barValues, (QList<int>{20, 41, 61, 82, 100, 100}));
        const auto& shown = m_folder->prompts.shown;
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Success"));
        QCOMPARE(shown[0].text, QStringLiteral("دانلود فايل با موفقيت به پايان رسيد "));
        QCOMPARE(shown[0].icon, Prompts::Icon::Information);
        QCOMPARE(QFileInfo(package()).size(), 5000);
        // Not an executable file here, so the desktop's handler opens it.
        QCOMPARE(m_folder->desktop.openedUrls, QList<QUrl>{QUrl::fromLocalFile(package())});
        QCOMPARE(m_folder->desktop.quits, 1);
        QCOMPARE(button()->text(), QStringLiteral("دانلود"));
        QCOMPARE(bar()->value(), 0);
    }

    void executablePackageIsRunAsProgram()
    {
        // A package that is a program (the old file's permissions carry over) is started, not opened.
        QFile old(package());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        old.setPermissions(old.permissions() | QFileDevice::ExeOwner);
        m_server->script("/Soft/Velmora/setup-Velmora.exe", ScriptedHttpServer::ok("#!/bin/sh\n"));
        openWindow();
        QTest::mouseClick(button(), Qt::LeftButton);
        QCOMPARE(m_folder->desktop.startedPrograms, QStringList{package()});
        QVERIFY(m_folder->desktop.openedUrls.isEmpty());
        QCOMPARE(m_folder->desktop.quits, 1);
    }

    void failureShowsErrorAndReturnsToIdle()
    {
        openWindow(QStringLiteral("/Soft/Velmora/missing.exe"));
        QTest::mouseClick(button(), Qt::LeftButton);
        const auto& shown = m_folder->prompts.shown;
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Error"));
        QCOMPARE(shown[0].icon, Prompts::Icon::Critical);
        QCOMPARE(shown[0].text, QStringLiteral("The file, \"%1\" was not found!")
                                    .arg(m_server->url("/Soft/Velmora/missing.exe")));
        QCOMPARE(button()->text(), QStringLiteral("دانلود"));
        QCOMPARE(bar()->value(), 0);
        QCOMPARE(m_folder->desktop.quits, 0);
        QVERIFY(!QFileInfo::exists(m_folder->filePath(QStringLiteral("missing.exe"))));
    }

    void secondClickCancelsTheRunningDownload()
    {
        Reply slow = ScriptedHttpServer::ok(QByteArray(8192, 'p'));
        slow.pauseAfter = 4096;
        slow.pauseMs = 10000;
        m_server->script("/Soft/Velmora/setup-Velmora.exe", slow);
        openWindow();
        QTimer::singleShot(300, this, [this] {
            QCOMPARE(button()->text(), QStringLiteral("انصراف"));
            QCOMPARE(bar()->value(), 50);
            QTest::mouseClick(button(), Qt::LeftButton);
        });
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(button(), Qt::LeftButton);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(button()->text(), QStringLiteral("دانلود"));
        QCOMPARE(bar()->value(), 0);
        QVERIFY(m_folder->prompts.shown.isEmpty());
        QCOMPARE(m_folder->desktop.quits, 0);
        QVERIFY(!QFileInfo::exists(package()));
        QVERIFY(!m_window->downloader()->isDownloading());
    }

    void addressWithoutFileNameFailsAtTheFilePhase()
    {
        m_server->script("/Soft/", ScriptedHttpServer::ok("listing"));
        openWindow(QStringLiteral("/Soft/"));
        QTest::mouseClick(button(), Qt::LeftButton);
        QCOMPARE(m_folder->prompts.texts(Kind::Message).size(), 1);
        QVERIFY(m_folder->prompts.texts(Kind::Message)
                    .first()
                    .startsWith(QStringLiteral("Cannot write file to disk.")));
        QVERIFY(QFileInfo(m_folder->path()).isDir());
        QCOMPARE(button()->text(), QStringLiteral("دانلود"));
    }

    void exitDuringDownloadLeavesNoPackage()
    {
        Reply slow = ScriptedHttpServer::ok(QByteArray(8192, 'p'));
        slow.pauseAfter = 4096;
        slow.pauseMs = 10000;
        m_server->script("/Soft/Velmora/setup-Velmora.exe", slow);
        openWindow();
        QTimer::singleShot(300, this,
                           [this] { QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton); });
        QTest::mouseClick(button(), Qt::LeftButton);
        QCOMPARE(m_folder->desktop.quits, 1);
        QDir folder(m_folder->path());
        QCOMPARE(folder.entryList(QDir::Files), QStringList{});
    }
};

QTEST_MAIN(ProgressTest)
#include "ProgressTest.moc"
