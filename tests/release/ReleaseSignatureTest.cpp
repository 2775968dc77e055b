#include "release/ReleaseSignature.h"
#include "ScriptedHttpServer.h"
#include "TestSigner.h"
#include "common/VendorLinks.h"
#include "release/BoundedFetch.h"
#include "release/UpdateServer.h"

#include <QTemporaryDir>
#include <QtTest>

using ReleaseSignature::Verdict;
Q_DECLARE_METATYPE(ReleaseSignature::Verdict)
Q_DECLARE_METATYPE(BoundedFetch::Outcome)
using Reply = ScriptedHttpServer::Reply;

namespace {

QByteArray fileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ReleaseSignature::PublicKey keyOf(const TestSigner& signer)
{
    return *ReleaseSignature::parsePublicKey(signer.publicKey().toLatin1());
}

} // namespace

class ReleaseSignatureTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;

    // The verdict on data held in memory and on the same data as a file must agree.
    Verdict verdictOn(const QByteArray& data, const QByteArray& signature,
                      const ReleaseSignature::PublicKey& key)
    {
        const Verdict inMemory = ReleaseSignature::verify(data, signature, key);
        const QString path = m_folder.filePath(QStringLiteral("package"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
            qFatal("cannot write the package file");
        file.close();
        const Verdict onDisk = ReleaseSignature::verifyFile(path, signature, key);
        if (inMemory != onDisk)
            qWarning("memory and file verdicts differ: %d and %d", int(inMemory), int(onDisk));
        return inMemory == onDisk ? inMemory : Verdict(-1);
    }

private slots:
    void filesSignedWithMinisignVerify_data()
    {
        QTest::addColumn<QString>("file");
        // Made with "minisign -S" (BLAKE2b-prehashed, its default) and "minisign -S -l" (the older form).
        QTest::newRow("prehashed") << QStringLiteral("LastVersion.txt");
        QTest::newRow("legacy") << QStringLiteral("legacy.txt");
    }
    void filesSignedWithMinisignVerify()
    {
        QFETCH(QString, file);
        const auto key = ReleaseSignature::parsePublicKey(fileContent(TestSigner::testDataPath("test.pub")));
        QVERIFY(key);
        QCOMPARE(key->keyId, TestSigner::projectTestKey().keyId());
        const QByteArray signature = fileContent(TestSigner::testDataPath(file + ".minisig"));
        const QByteArray data = fileContent(TestSigner::testDataPath(file));
        QVERIFY(!data.isEmpty());
        QCOMPARE(verdictOn(data, signature, *key), Verdict::Valid);
        QByteArray changed = data;
        changed[0] = char(changed[0] ^ 1);
        QCOMPARE(verdictOn(changed, signature, *key), Verdict::Mismatch);
        // The signature this program's signer makes is what minisign makes, byte for byte where
        // Ed25519 is deterministic: the signature lines themselves.
        const QByteArray trusted = signature.split('\n').value(2).mid(17);
        const QByteArray own = TestSigner::projectTestKey().sign(data, file != "legacy.txt", trusted);
        QCOMPARE(own.split('\n').mid(1), signature.split('\n').mid(1));
    }

    void signaturesAreJudged_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("signature");
        QTest::addColumn<Verdict>("verdict");

        const TestSigner signer = TestSigner::projectTestKey();
        const QByteArray package = QByteArray(200000, 'p') + "end";
        const QByteArray good = signer.sign(package);
        QTest::newRow("prehashed") << package << good << Verdict::Valid;
        QTest::newRow("legacy") << package << signer.sign(package, false) << Verdict::Valid;
        QTest::newRow("empty file") << QByteArray() << signer.sign(QByteArray()) << Verdict::Valid;
        QTest::newRow("CR LF lines") << package << QByteArray(good).replace("\n", "\r\n") << Verdict::Valid;

        QTest::newRow("no signature") << package << QByteArray() << Verdict::Malformed;
        QTest::newRow("truncated") << package << good.left(good.size() / 2) << Verdict::Malformed;
        QTest::newRow("signature line cut short")
            << package << good.left(good.indexOf("\ntrusted") - 4) + good.mid(good.indexOf("\ntrusted"))
            << Verdict::Malformed;
        QTest::newRow("an error page")
            << package << QByteArray("<html>404 Not Found</html>") << Verdict::Malformed;
        QByteArray untrusted = good;
        untrusted.replace("\ntrusted comment: ", "\nuntrusted comment: ");
        QTest::newRow("no trusted comment line") << package << untrusted << Verdict::Malformed;
        const QByteArray signatureBytes(64, 's');
        QTest::newRow("unknown algorithm")
            << package << TestSigner::signatureText("EX", signer.keyId(), signatureBytes, "c", signatureBytes)
            << Verdict::Malformed;
        QByteArray notBase64 = good;
        notBase64.replace(good.indexOf("\n") + 5, 1, "*");
        QTest::newRow("not base64") << package << notBase64 << Verdict::Malformed;

        QTest::newRow("of another file") << package << signer.sign("another file") << Verdict::Mismatch;
        QByteArray changed = package;
        changed[100000] = 'q';
        QTest::newRow("one byte changed after signing") << changed << good << Verdict::Mismatch;
        QTest::newRow("one byte added after signing") << package + "x" << good << Verdict::Mismatch;
        QTest::newRow("legacy, one byte changed")
            << changed << signer.sign(package, false) << Verdict::Mismatch;
        QByteArray comment = good;
        comment.replace("file:test", "file:tost");
        QTest::newRow("trusted comment changed") << package << comment << Verdict::Mismatch;
        QByteArray swapped = good;
        swapped.replace(good.indexOf("\n") + 1, 3, "RWQ"); // "ED" made "Ed": the hash is not the file
        QTest::newRow("prehashed named legacy") << package << swapped << Verdict::Mismatch;

        QTest::newRow("by another key")
            << package << TestSigner::generated().sign(package) << Verdict::OtherKey;
        QTest::newRow("another key under the same key id")
            << package << TestSigner::generated(signer.keyId()).sign(package) << Verdict::Mismatch;
    }
    void signaturesAreJudged()
    {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, signature);
        QFETCH(Verdict, verdict);
        QCOMPARE(verdictOn(data, signature, keyOf(TestSigner::projectTestKey())), verdict);
    }

    void missingFileIsUnreadable()
    {
        const TestSigner signer = TestSigner::projectTestKey();
        QCOMPARE(ReleaseSignature::verifyFile(m_folder.filePath("absent"), signer.sign("x"), keyOf(signer)),
                 Verdict::Unreadable);
    }

    void publicKeysAreReadOnlyInMinisignsForm()
    {
        const QByteArray file = fileContent(TestSigner::testDataPath("test.pub"));
        const auto fromFile = ReleaseSignature::parsePublicKey(file);
        const auto fromLine = ReleaseSignature::parsePublicKey(file.split('\n').value(1));
        QVERIFY(fromFile && fromLine);
        QCOMPARE(fromFile->key, fromLine->key);
        QCOMPARE(fromFile->key.size(), 32);

        const auto vendor = ReleaseSignature::parsePublicKey(VendorLinks::releaseKey.toLatin1());
        QVERIFY(vendor);
        // The test key must never be the one releases are believed by.
        QVERIFY(vendor->key != fromFile->key && vendor->keyId != fromFile->keyId);

        const QByteArray line = file.split('\n').value(1);
        QVERIFY(!ReleaseSignature::parsePublicKey(QByteArray()));
        QVERIFY(!ReleaseSignature::parsePublicKey(line.left(line.size() - 4)));
        QVERIFY(!ReleaseSignature::parsePublicKey("RU" + line.mid(2))); // "ED" is no key algorithm
        QVERIFY(!ReleaseSignature::parsePublicKey("comment\n" + line));
    }

    void updateServerIsTheVendorsUnlessALoopbackOneIsNamed_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("address");
        const QString vendor = VendorLinks::updateServer;
        QTest::newRow("nothing") << QString() << vendor;
        QTest::newRow("loopback with port") << "http://127.0.0.1:8765"
                                            << "http://127.0.0.1:8765";
        QTest::newRow("localhost, trailing slash") << "http://localhost:81/"
                                                   << "http://localhost:81";
        QTest::newRow("IPv6 loopback") << "http://[::1]:8000"
                                       << "http://[::1]:8000";
        QTest::newRow("another host") << "http://update.example.com" << vendor;
        QTest::newRow("loopback-looking name") << "http://127.0.0.1.example.com" << vendor;
        QTest::newRow("with a path") << "http://127.0.0.1:8765/elsewhere" << vendor;
        QTest::newRow("with user") << "http://me@127.0.0.1:8765" << vendor;
        QTest::newRow("not http") << "ftp://127.0.0.1" << vendor;
        QTest::newRow("elsewhere in 127/8") << "http://127.8.9.10" << "http://127.8.9.10";
        QTest::newRow("IPv6 loopback written long") << "http://[0:0:0:0:0:0:0:1]" << "http://[::1]";
        QTest::newRow("a private address") << "http://192.168.1.127" << vendor;
        QTest::newRow("not an address") << "http://127.0.0.256" << vendor;
    }
    void updateServerIsTheVendorsUnlessALoopbackOneIsNamed()
    {
        QFETCH(QString, value);
        QFETCH(QString, address);
        QCOMPARE(UpdateServer::addressFrom(value), address);
    }

    void fetchKeepsNoMoreThanItsBound_data()
    {
        QTest::addColumn<Reply>("reply");
        QTest::addColumn<BoundedFetch::Outcome>("outcome");
        QTest::addColumn<QByteArray>("body");
        const QByteArray full(4096, 'v');
        QTest::newRow("exactly the bound")
            << ScriptedHttpServer::ok(full) << BoundedFetch::Outcome::Received << full;
        QTest::newRow("one byte more, announced")
            << ScriptedHttpServer::ok(full + "v") << BoundedFetch::Outcome::TooLarge << QByteArray();
        QTest::newRow("far more, unannounced")
            << ScriptedHttpServer::withStatus("HTTP/1.1 200 OK", QByteArray(1 << 20, 'v'), false)
            << BoundedFetch::Outcome::TooLarge << QByteArray();
        QTest::newRow("an error page") << ScriptedHttpServer::withStatus("HTTP/1.1 404 Not Found", "23")
                                       << BoundedFetch::Outcome::Failed << QByteArray();
    }
    void fetchKeepsNoMoreThanItsBound()
    {
        QFETCH(Reply, reply);
        QFETCH(BoundedFetch::Outcome, outcome);
        QFETCH(QByteArray, body);
        ScriptedHttpServer server;
        QVERIFY(server.listen());
        server.script("/file", reply);
        BoundedFetch fetch;
        std::optional<BoundedFetch::Outcome> got;
        QByteArray received;
        fetch.start(QUrl(server.url("/file")), 4096, 5000, [&](BoundedFetch::Outcome o, const QByteArray& b) {
            got = o;
            received = b;
        });
        QVERIFY(fetch.isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(got.has_value(), 5000);
        QCOMPARE(*got, outcome);
        QCOMPARE(received, body);
        QVERIFY(!fetch.isRunning());
    }
};

QTEST_GUILESS_MAIN(ReleaseSignatureTest)
#include "ReleaseSignatureTest.moc"
