#include "updater/Progress.h"
#include "ScriptedHttpServer.h"
#include "TestProgramFolder.h"
#include "TestSigner.h"
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
    const TestSigner m_signer = TestSigner::projectTestKey();

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
        m_window = std::make_unique<Progress>(m_folder->context(), m_server->url(path), m_signer.publicKey());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    QString package() const { return m_folder->filePath(QStringLiteral("setup-Velmora.exe")); }
    // The package with its signature by the test key, as a release offers it.
    void offerSigned(const QByteArray& content)
    {
        m_server->script("/Soft/Velmora/setup-Velmora.exe", ScriptedHttpServer::ok(content));
        m_server->script("/Soft/Velmora/setup-Velmora.exe.minisig",
                         ScriptedHttpServer::ok(m_signer.sign(content)));
    }
    QStringList filesLeft() const { return QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden); }

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
        offerSigned(QByteArray(5000, 'p'));
        openWindow();
        QList<int> barValues;
        connect(m_window->downloader(), &FileDownloader::DownloadProgress, this,
                [&] { barValues << bar()->value(); });
        QString percentAtSuccess;
        m_folder->prompts.onMessage = [&](const QString&) {
            percentAtSuccess = child<QLabel>("Label4")->text();
        };
        QTest::mouseClick(button(), Qt::LeftButton);
        // The download is in; the signature is fetched and checked before anything else.
        QVERIFY(m_window->isCheckingSignature());
        QVERIFY(m_folder->desktop.openedUrls.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(m_folder->desktop.quits, 1, 5000);
        QCOMPARE(percentAtSuccess, QStringLiteral("100"));
        QVERIFY(m_server->requests.value(1).startsWith("GET /Soft/Velmora/setup-Velmora.exe.minisig "));

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
        offerSigned("#!/bin/sh\n");
        openWindow();
        QTest::mouseClick(button(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(m_folder->desktop.quits, 1, 5000);
        QCOMPARE(m_folder->desktop.startedPrograms, QStringList{package()});
        QVERIFY(m_folder->desktop.openedUrls.isEmpty());
        QCOMPARE(m_folder->desktop.quits, 1);
    }

    // Whoever answers for the update host must not be able to have any file opened: the package
    // counts only with a good signature by the release key, and any other is removed unopened.
    void packageWithoutGoodSignatureIsRemovedUnopened_data()
    {
        QTest::addColumn<QByteArray>("served");    // the package the server sends
        QTest::addColumn<QByteArray>("signature"); // empty: none on the server
        QTest::addColumn<QString>("reason");
        const QByteArray package(5000, 'p');
        const QByteArray good = m_signer.sign(package);
        QTest::newRow("missing") << package << QByteArray() << T::signatureMissing;
        QTest::newRow("truncated") << package << good.left(good.size() - 30) << T::signatureMalformed;
        QTest::newRow("of another file") << package << m_signer.sign("another file") << T::signatureMismatch;
        QTest::newRow("by another key")
            << package << TestSigner::generated().sign(package) << T::signatureByOtherKey;
        QByteArray changed = package;
        changed[2500] = 'q';
        QTest::newRow("package changed by one byte after signing") << changed << good << T::signatureMismatch;
    }
    void packageWithoutGoodSignatureIsRemovedUnopened()
    {
        QFETCH(QByteArray, served);
        QFETCH(QByteArray, signature);
        QFETCH(QString, reason);
        m_server->script("/Soft/Velmora/setup-Velmora.exe", ScriptedHttpServer::ok(served));
        if (!signature.isEmpty())
            m_server->script("/Soft/Velmora/setup-Velmora.exe.minisig", ScriptedHttpServer::ok(signature));
        openWindow();
        QTest::mouseClick(button(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->isCheckingSignature(), 5000);
        const auto& shown = m_folder->prompts.shown;
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("خطا"));
        QCOMPARE(shown[0].icon, Prompts::Icon::Critical);
        QCOMPARE(shown[0].text, reason + QStringLiteral("\nفايل دانلود شده پاک شد و اجرا نمي شود."));
        QVERIFY(m_folder->desktop.openedUrls.isEmpty());
        QVERIFY(m_folder->desktop.startedPrograms.isEmpty());
        QCOMPARE(m_folder->desktop.quits, 0);
        QCOMPARE(filesLeft(), QStringList{});
        QCOMPARE(button()->text(), QStringLiteral("دانلود"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Downloading File ... "));
    }

    void cancelOrExitWhileCheckingLeavesNoPackage_data()
    {
        QTest::addColumn<QByteArray>("pressed");
        QTest::newRow("cancel") << QByteArray("cmdUpdate");
        QTest::newRow("exit") << QByteArray("Command1");
    }
    void cancelOrExitWhileCheckingLeavesNoPackage()
    {
        QFETCH(QByteArray, pressed);
        offerSigned(QByteArray(5000, 'p'));
        Reply late = ScriptedHttpServer::ok(m_signer.sign(QByteArray(5000, 'p')));
        late.delayMs = 10000;
        m_server->script("/Soft/Velmora/setup-Velmora.exe.minisig", late);
        openWindow();
        QTest::mouseClick(button(), Qt::LeftButton);
        QVERIFY(m_window->isCheckingSignature());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("بررسي امضاي فايل دانلود شده ..."));
        QCOMPARE(button()->text(), QStringLiteral("انصراف"));
        QTest::mouseClick(child<QPushButton>(pressed.constData()), Qt::LeftButton);
        QVERIFY(!m_window->isCheckingSignature());
        QCOMPARE(filesLeft(), QStringList{});
        QVERIFY(m_folder->prompts.shown.isEmpty());
        QVERIFY(m_folder->desktop.openedUrls.isEmpty());
        if (pressed == "Command1") {
            QCOMPARE(m_folder->desktop.quits, 1);
        } else {
            QCOMPARE(m_folder->desktop.quits, 0);
            QCOMPARE(button()->text(), QStringLiteral("دانلود"));
        }
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
