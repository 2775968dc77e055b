#include "updater/DownloadRules.h"
#include "updater/UpdaterTexts.h"

#include <QtTest>

using namespace DownloadRules;

class DownloadRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void fileNameOfAddress_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("name");
        QTest::newRow("package") << "http://update.velmorasoft.ir/Soft/Velmora/setup-Velmora.exe"
                                 << "setup-Velmora.exe";
        QTest::newRow("secure scheme") << "https://update.velmorasoft.ir/Soft/Velmora/setup-Velmora.exe"
                                       << "";
        QTest::newRow("scheme in capitals") << "HTTP://update.velmorasoft.ir/setup-Velmora.exe"
                                            << "";
        QTest::newRow("scheme alone") << "http://"
                                      << "";
        QTest::newRow("too short") << "h"
                                   << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("no point in segment") << "http://host/Soft/setup"
                                             << "";
        QTest::newRow("point only as last character") << "http://host/Soft/setup."
                                                      << "";
        QTest::newRow("segment of one character") << "http://host/a"
                                                  << "";
        QTest::newRow("host only, with a point") << "http://velmorasoft.ir"
                                                 << "velmorasoft.ir";
        // The last character is not examined, so a trailing "/" belongs to the segment.
        QTest::newRow("trailing slash") << "http://host/Soft/"
                                        << "";
        QTest::newRow("trailing slash after a point") << "http://host/v1.2/"
                                                      << "v1.2/";
        QTest::newRow("point as first character") << "http://host/.profile"
                                                  << ".profile";
    }
    void fileNameOfAddress()
    {
        QFETCH(QString, url);
        QFETCH(QString, name);
        QCOMPARE(GetFileName(url), name);
    }

    void rangeStartOfContentRange_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<qint64>("start"); // -1: no readable range
        QTest::newRow("whole file") << "bytes 0-2047/2048" << qint64(0);
        QTest::newRow("unknown length") << "bytes 100-199/*" << qint64(100);
        QTest::newRow("large offsets") << "bytes 4294967296-4294967395/4294967396" << qint64(4294967296);
        QTest::newRow("absent") << "" << qint64(-1);
        QTest::newRow("unsatisfied form") << "bytes */2048" << qint64(-1);
        QTest::newRow("ends before it starts") << "bytes 10-9/2048" << qint64(-1);
        QTest::newRow("ends beyond the length") << "bytes 0-2048/2048" << qint64(-1);
        QTest::newRow("other unit") << "items 0-1/2" << qint64(-1);
        QTest::newRow("negative start") << "bytes -5-9/10" << qint64(-1);
        QTest::newRow("beyond 64 bits") << "bytes 0-99999999999999999999/*" << qint64(-1);
    }
    void rangeStartOfContentRange()
    {
        QFETCH(QString, value);
        QFETCH(qint64, start);
        QCOMPARE(rangeStart(value).value_or(-1), start);
    }

    void statusDecidesWhetherBodyIsRead_data()
    {
        namespace T = UpdaterTexts;
        QTest::addColumn<QString>("headers");
        QTest::addColumn<QString>("failure"); // empty: the body is read
        QTest::newRow("200") << "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n"
                             << "";
        QTest::newRow("206") << "HTTP/1.1 206 Partial Content\r\n\r\n"
                             << "";
        QTest::newRow("204") << "HTTP/1.1 204 No Content\r\n\r\n" << T::nothingToDownload;
        QTest::newRow("401") << "HTTP/1.1 401 Unauthorized\r\n\r\n" << T::authorizationFailed;
        QTest::newRow("404 of HTTP/1.0") << "HTTP/1.0 404 Not Found\r\n\r\n"
                                         << "The file, \"http://host/setup-Velmora.exe\" was not found!";
        QTest::newRow("CR LF in the status") << "HTTP/1.1 \r\n" << T::cannotConnect;
        QTest::newRow("500")
            << "HTTP/1.1 500 Internal Server Error\r\nServer: x\r\n\r\n"
            << "The server returned the following response:\r\rHTTP/1.1 500 Internal Server Error\r";
        QTest::newRow("empty") << ""
                               << "The server returned the following response:\r\r<nothing>";
        QTest::newRow("no CR at all") << "HTTP/1.1 302 Found"
                                      << "The server returned the following response:\r\r<nothing>";
        QTest::newRow("two-character version")
            << "HTTP/2 200 OK\r\n\r\n"
            << "The server returned the following response:\r\rHTTP/2 200 OK\r";
        QTest::newRow("short text") << "HTTP/1.1 2"
                                    << "The server returned the following response:\r\r<nothing>";
    }
    void statusDecidesWhetherBodyIsRead()
    {
        QFETCH(QString, headers);
        QFETCH(QString, failure);
        const std::optional<QString> verdict =
            statusFailure(headers, QStringLiteral("http://host/setup-Velmora.exe"));
        QCOMPARE(verdict.value_or(QString()), failure);
        QCOMPARE(verdict.has_value(), !failure.isEmpty());
    }

    void announcedLengthReadsLeadingNumber()
    {
        auto length = [](const char* text) {
            return announcedLength(QString::fromLatin1(text)).value_or(-1);
        };
        QCOMPARE(length("3000"), qint64(3000));
        QCOMPARE(length(" 30 00 "), qint64(3000));
        QCOMPARE(length(""), qint64(0));
        QCOMPARE(length("abc"), qint64(0));
        QCOMPARE(length("5368709120"), Q_INT64_C(5368709120)); // 5 GiB
        QCOMPARE(length("-5"), qint64(-1));
        QCOMPARE(length("99999999999999999999999"), qint64(-1));
        // 2^63 is one past the largest file size a signed 64-bit count can hold; the largest
        // length below it that a double holds exactly is still a length.
        QCOMPARE(length("9223372036854775808"), qint64(-1));
        QCOMPARE(length("9223372036854774784"), Q_INT64_C(9223372036854774784));
    }

    void percentRoundsHalvesToEven_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("percent");
        QTest::newRow("first block of 3000") << qint64(1024) << qint64(3000) << qint64(34);  // 34.13
        QTest::newRow("second block of 3000") << qint64(2048) << qint64(3000) << qint64(68); // 68.27
        QTest::newRow("whole") << qint64(3000) << qint64(3000) << qint64(100);
        QTest::newRow("50.5 goes down") << qint64(101) << qint64(200) << qint64(50);
        QTest::newRow("51.5 goes up") << qint64(103) << qint64(200) << qint64(52);
        QTest::newRow("just above half") << qint64(1011) << qint64(2000) << qint64(51); // 50.55
        QTest::newRow("more than announced") << qint64(4096) << qint64(3000) << qint64(137);
        // Over 2 GiB, where 32-bit counters would overflow into negative values.
        QTest::newRow("half of 6 GiB") << Q_INT64_C(3221225472) << Q_INT64_C(6442450944) << qint64(50);
        QTest::newRow("near the end of 6 GiB")
            << Q_INT64_C(6442450943) << Q_INT64_C(6442450944) << qint64(100);
        QTest::newRow("no total") << qint64(5) << qint64(0) << qint64(0);
    }
    void percentRoundsHalvesToEven()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, total);
        QFETCH(qint64, percent);
        QCOMPARE(percentOf(received, total), percent);
    }
};

QTEST_GUILESS_MAIN(DownloadRulesTest)
#include "DownloadRulesTest.moc"
