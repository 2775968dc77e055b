#include "updater/FileDownloader.h"
#include "ScriptedHttpServer.h"
#include "updater/UpdaterTexts.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

namespace T = UpdaterTexts;
using Reply = ScriptedHttpServer::Reply;

namespace {
QByteArray bytes(qint64 size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        data[i] = char('a' + i % 26);
    return data;
}
} // namespace

// Drives one FileDownloader against the loopback server and records what it reports.
class FileDownloaderTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedHttpServer> m_server;
    std::unique_ptr<FileDownloader> m_downloader;
    std::unique_ptr<QTemporaryDir> m_folder;
    QStringList m_errors, m_events, m_progress;
    int m_completions = 0;

    QString destination() const { return m_folder->filePath(QStringLiteral("setup-Velmora.exe")); }
    QString url() const { return m_server->url(QStringLiteral("/Soft/Velmora/setup-Velmora.exe")); }
    void offer(const Reply& reply) { m_server->script("/Soft/Velmora/setup-Velmora.exe", reply); }
    bool download(const QString& target) { return m_downloader->DownloadFile(url(), target); }
    bool download() { return download(destination()); }
    QByteArray stored() const
    {
        QFile file(destination());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Only the package itself, never a leftover under another name.
    QStringList folderContents() const
    {
        return QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden);
    }
    void placeOldPackage()
    {
        QFile old(destination());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old package");
    }

private slots:
    void init()
    {
        m_server = std::make_unique<ScriptedHttpServer>();
        QVERIFY(m_server->listen());
        m_folder = std::make_unique<QTemporaryDir>();
        m_downloader = std::make_unique<FileDownloader>();
        m_errors.clear();
        m_events.clear();
        m_progress.clear();
        m_completions = 0;
        connect(m_downloader.get(), &FileDownloader::DownloadErrors, this,
                [this](const QString& e) { m_errors << e; });
        connect(m_downloader.get(), &FileDownloader::DownloadEvents, this,
                [this](const QString& e) { m_events << e; });
        connect(m_downloader.get(), &FileDownloader::DownloadProgress, this,
                [this](const QString& p) { m_progress << p; });
        connect(m_downloader.get(), &FileDownloader::DowloadComplete, this, [this] { ++m_completions; });
    }

    void wholeBodyArrivesInBlocksOf1024()
    {
        const QByteArray body = bytes(3000);
        offer(Reply(ScriptedHttpServer::ok(body)));
        QVERIFY(download());
        QCOMPARE(m_events, QStringList{T::gettingInformation});
        // 1024, 1024, 952 and the final empty block.
        QCOMPARE(m_progress, (QStringList{"34", "68", "100", "100"}));
        QCOMPARE(m_completions, 1);
        QVERIFY(m_errors.isEmpty());
        QCOMPARE(stored(), body);
        QCOMPARE(folderContents(), QStringList{"setup-Velmora.exe"});
        QVERIFY(m_server->requests.value(0).contains("\r\nRange: bytes=0-\r\n"));
    }

    void partialContentIsTakenLikeWhole()
    {
        Reply partial = ScriptedHttpServer::withStatus("HTTP/1.1 206 Partial Content", bytes(2048));
        partial.head += "Content-Range: bytes 0-2047/2048\r\n";
        offer(partial);
        QVERIFY(download());
        QCOMPARE(m_progress, (QStringList{"50", "100", "100"}));
        QCOMPARE(stored(), bytes(2048));
    }

    // The request asks from the first byte and the body is stored from there: a part from
    // anywhere else would make a file that is not the package.
    void partialContentFromElsewhereIsRefused_data()
    {
        QTest::addColumn<QByteArray>("contentRange"); // empty: none sent
        QTest::newRow("starts later") << QByteArray("bytes 100-2147/2148");
        QTest::newRow("no range") << QByteArray();
        QTest::newRow("unreadable range") << QByteArray("bytes=0-2047");
    }
    void partialContentFromElsewhereIsRefused()
    {
        QFETCH(QByteArray, contentRange);
        Reply partial = ScriptedHttpServer::withStatus("HTTP/1.1 206 Partial Content", bytes(2048));
        if (!contentRange.isEmpty())
            partial.head += "Content-Range: " + contentRange + "\r\n";
        offer(partial);
        placeOldPackage();
        QVERIFY(!download());
        QCOMPARE(m_errors, QStringList{T::wrongRange});
        QVERIFY(m_progress.isEmpty());
        QCOMPARE(m_completions, 0);
        QCOMPARE(stored(), QByteArray("old package"));
        QCOMPARE(folderContents(), QStringList{"setup-Velmora.exe"});
    }

    void singleByteBodyEndsTheReadingLoop()
    {
        offer(ScriptedHttpServer::ok("x"));
        QVERIFY(download());
        QCOMPARE(m_progress, QStringList{"100"});
        QCOMPARE(m_completions, 1);
        QCOMPARE(stored(), QByteArray("x"));
    }

    void refusedRequestsReportTheirTextAndWriteNothing_data()
    {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QString>("failure");
        QTest::newRow("204") << QByteArray("HTTP/1.1 204 No Content") << T::nothingToDownload;
        QTest::newRow("401") << QByteArray("HTTP/1.1 401 Unauthorized") << T::authorizationFailed;
        QTest::newRow("404 of HTTP/1.0") << QByteArray("HTTP/1.0 404 Not Found") << QString();
        QTest::newRow("500")
            << QByteArray("HTTP/1.1 500 Internal Server Error")
            << "The server returned the following response:\r\rHTTP/1.1 500 Internal Server Error\r";
        // The transport reads no status from such a line, which leaves no answer at all.
        QTest::newRow("unreadable status line") << QByteArray("HTTP/2 200 OK") << T::cannotConnect;
    }
    void refusedRequestsReportTheirTextAndWriteNothing()
    {
        QFETCH(QByteArray, status);
        QFETCH(QString, failure);
        if (failure.isEmpty())
            failure = QStringLiteral("The file, \"") + url() + QStringLiteral("\" was not found!");
        offer(ScriptedHttpServer::withStatus(status, "page"));
        placeOldPackage();
        QVERIFY(!download());
        QCOMPARE(m_errors, QStringList{failure});
        QVERIFY(m_progress.isEmpty());
        QCOMPARE(m_completions, 0);
        // Nothing was learned about the length, so a file that was there stays.
        QCOMPARE(stored(), QByteArray("old package"));
    }

    void replyWithoutLengthIsNothingToDownload()
    {
        offer(ScriptedHttpServer::withStatus("HTTP/1.1 200 OK", "body without length", false));
        QVERIFY(!download());
        QCOMPARE(m_errors, QStringList{T::nothingToDownload});
        QCOMPARE(m_completions, 0);
        QVERIFY(folderContents().isEmpty());
    }

    void noServerMeansNoConnection()
    {
        QVERIFY(!m_downloader->DownloadFile(ScriptedHttpServer::deadAddress("/setup-Velmora.exe"),
                                            destination()));
        QCOMPARE(m_errors, QStringList{T::cannotConnect});
    }

    void silentServerEndsAtTheTimeOut()
    {
        Reply silent;
        silent.silent = true;
        offer(silent);
        m_downloader->setTimeout(300);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!download());
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(m_errors, QStringList{T::cannotConnect});
    }

    void droppedConnectionDeletesThePartialFile()
    {
        Reply dropped = ScriptedHttpServer::ok(bytes(5000));
        dropped.dropAfter = 2500;
        offer(dropped);
        placeOldPackage();
        QVERIFY(!download());
        QCOMPARE(m_errors, QStringList{T::connectionReset});
        QCOMPARE(m_completions, 0);
        QCOMPARE(m_progress.value(0), QStringLiteral("20"));
        // Neither the partial body nor the old file under the package's name remains.
        QVERIFY(folderContents().isEmpty());
    }

    void stalledBodyEndsAtTheTimeOut()
    {
        Reply stalled = ScriptedHttpServer::ok(bytes(4096));
        stalled.pauseAfter = 2048;
        stalled.pauseMs = 10000;
        offer(stalled);
        m_downloader->setTimeout(300);
        QVERIFY(!download());
        QCOMPARE(m_errors, QStringList{T::connectionReset});
        QVERIFY(folderContents().isEmpty());
    }

    void cancelDuringBodyWritesCurrentBlockThenDeletesQuietly()
    {
        offer(ScriptedHttpServer::ok(bytes(100 * 1024)));
        connect(m_downloader.get(), &FileDownloader::DownloadProgress, m_downloader.get(),
                &FileDownloader::Cancel);
        QVERIFY(!download());
        QCOMPARE(m_progress, QStringList{"1"});
        QVERIFY(m_errors.isEmpty());
        QCOMPARE(m_completions, 0);
        QVERIFY(folderContents().isEmpty());
    }

    void cancelWhileWaitingEndsAtOnceAndKeepsOldFile()
    {
        Reply late = ScriptedHttpServer::ok(bytes(10));
        late.delayMs = 10000;
        offer(late);
        placeOldPackage();
        QTimer::singleShot(100, m_downloader.get(), &FileDownloader::Cancel);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!download());
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(m_events, QStringList{T::gettingInformation});
        QVERIFY(m_errors.isEmpty());
        QVERIFY(m_progress.isEmpty());
        QCOMPARE(stored(), QByteArray("old package"));
    }

    void windowEventsRunWhileWaiting()
    {
        Reply late = ScriptedHttpServer::ok(bytes(10));
        late.delayMs = 600;
        offer(late);
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&ticks] { ++ticks; });
        tick.start(50);
        QVERIFY(download());
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
    }

    void tooLittleFreeSpaceIsRefused()
    {
        offer(ScriptedHttpServer::ok(bytes(3000)));
        QString askedFolder;
        m_downloader->setFreeSpaceQuery([&askedFolder](const QString& folder) {
            askedFolder = folder;
            return qint64(2999);
        });
        QVERIFY(!download());
        QCOMPARE(m_errors, QStringList{T::notEnoughSpace});
        QCOMPARE(QFileInfo(askedFolder).canonicalFilePath(), QFileInfo(m_folder->path()).canonicalFilePath());
        QVERIFY(folderContents().isEmpty());
    }

    void exactlyEnoughFreeSpaceIsEnough()
    {
        offer(ScriptedHttpServer::ok(bytes(3000)));
        m_downloader->setFreeSpaceQuery([](const QString&) { return qint64(3000); });
        QVERIFY(download());
        QVERIFY(m_errors.isEmpty());
        QCOMPARE(stored(), bytes(3000));
    }

    void lengthOfTwoToTheSixtyThreeIsRefused()
    {
        Reply huge;
        huge.head = "HTTP/1.1 200 OK\r\nContent-Length: 9223372036854775808\r\n";
        huge.body = "x";
        offer(huge);
        qint64 askedFor = 0;
        m_downloader->setFreeSpaceQuery([&askedFor](const QString&) {
            ++askedFor;
            return std::numeric_limits<qint64>::max();
        });
        QVERIFY(!download());
        QCOMPARE(m_errors.size(), 1);
        QVERIFY2(m_errors.first().contains(QStringLiteral("an announced length beyond any file size")),
                 qPrintable(m_errors.first()));
        QCOMPARE(askedFor, 0);
        QCOMPARE(m_completions, 0);
        QVERIFY(folderContents().isEmpty());
    }

    void destinationFolderIsCreatedOneLevelDeep()
    {
        offer(ScriptedHttpServer::ok(bytes(10)));
        QVERIFY(download(m_folder->filePath(QStringLiteral("new/setup-Velmora.exe"))));
        QVERIFY(QFileInfo::exists(m_folder->filePath(QStringLiteral("new/setup-Velmora.exe"))));

        m_errors.clear();
        QVERIFY(!download(m_folder->filePath(QStringLiteral("missing/deeper/setup-Velmora.exe"))));
        QCOMPARE(m_errors.size(), 1);
        QVERIFY2(m_errors.first().startsWith(QStringLiteral("Cannot write file to disk.\r\rError ")),
                 qPrintable(m_errors.first()));
        QVERIFY(!QFileInfo::exists(m_folder->filePath(QStringLiteral("missing"))));
    }

    void secondCallWhileRunningIsRefused()
    {
        Reply late = ScriptedHttpServer::ok(bytes(10));
        late.delayMs = 300;
        offer(late);
        bool nested = true;
        QTimer::singleShot(50, this, [&] { nested = m_downloader->DownloadFile(url(), destination()); });
        QVERIFY(download());
        QVERIFY(!nested);
        QCOMPARE(m_server->requests.size(), 1);
    }
};

QTEST_GUILESS_MAIN(FileDownloaderTest)
#include "FileDownloaderTest.moc"
