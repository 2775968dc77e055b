#include "TestSigner.h"

#include <QFile>
#include <QtGlobal>

#include <sodium.h>

namespace {

QByteArray detached(const QByteArray& message, const QByteArray& secretKey)
{
    QByteArray signature(crypto_sign_BYTES, Qt::Uninitialized);
    crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr,
                         reinterpret_cast<const unsigned char*>(message.constData()),
                         static_cast<unsigned long long>(message.size()),
                         reinterpret_cast<const unsigned char*>(secretKey.constData()));
    return signature;
}

void requireSodium()
{
    if (sodium_init() < 0)
        qFatal("libsodium does not start");
}

} // namespace

QString TestSigner::testDataPath(const QString& name)
{
    return qEnvironmentVariable("VELMORA_SOURCE_DIR") + QStringLiteral("/tests/data/release-signing/") + name;
}

TestSigner TestSigner::projectTestKey()
{
    requireSodium();
    QFile file(testDataPath(QStringLiteral("test.key")));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the test key is missing: %s", qPrintable(file.fileName()));
    const QList<QByteArray> lines = file.readAll().split('\n');
    const QByteArray bytes = QByteArray::fromBase64(lines.value(1).trimmed());
    // "Ed", no key derivation (unencrypted), "B2", salt 32, opslimit 8, memlimit 8, then the key
    // id 8, the secret key 64 and a checksum 32.
    if (bytes.size() != 158 || bytes.left(2) != "Ed" || bytes.mid(2, 2) != QByteArray(2, '\0'))
        qFatal("the test key is not an unencrypted minisign key");
    TestSigner signer;
    signer.m_keyId = bytes.mid(54, 8);
    signer.m_secretKey = bytes.mid(62, 64);
    return signer;
}

TestSigner TestSigner::generated(const QByteArray& keyId)
{
    requireSodium();
    TestSigner signer;
    QByteArray publicKey(crypto_sign_PUBLICKEYBYTES, Qt::Uninitialized);
    signer.m_secretKey = QByteArray(crypto_sign_SECRETKEYBYTES, Qt::Uninitialized);
    crypto_sign_keypair(reinterpret_cast<unsigned char*>(publicKey.data()),
                        reinterpret_cast<unsigned char*>(signer.m_secretKey.data()));
    signer.m_keyId = keyId;
    if (signer.m_keyId.isEmpty()) {
        signer.m_keyId = QByteArray(8, Qt::Uninitialized);
        randombytes_buf(signer.m_keyId.data(), 8);
    }
    return signer;
}

QString TestSigner::publicKey() const
{
    // The public half is the second half of libsodium's secret key.
    return QString::fromLatin1(("Ed" + m_keyId + m_secretKey.mid(32)).toBase64());
}

QByteArray TestSigner::sign(const QByteArray& data, bool hashed, const QByteArray& trustedComment) const
{
    QByteArray signedBytes = data;
    if (hashed) {
        signedBytes = QByteArray(crypto_generichash_BYTES_MAX, Qt::Uninitialized);
        crypto_generichash(reinterpret_cast<unsigned char*>(signedBytes.data()), crypto_generichash_BYTES_MAX,
                           reinterpret_cast<const unsigned char*>(data.constData()),
                           static_cast<unsigned long long>(data.size()), nullptr, 0);
    }
    const QByteArray signature = detached(signedBytes, m_secretKey);
    return signatureText(hashed ? "ED" : "Ed", m_keyId, signature, trustedComment,
                         detached(signature + trustedComment, m_secretKey));
}

QByteArray TestSigner::signatureText(const QByteArray& algorithm, const QByteArray& keyId,
                                     const QByteArray& signature, const QByteArray& trustedComment,
                                     const QByteArray& globalSignature)
{
    return "untrusted comment: signature from the test key\n" + (algorithm + keyId + signature).toBase64() +
           "\ntrusted comment: " + trustedComment + "\n" + globalSignature.toBase64() + "\n";
}
