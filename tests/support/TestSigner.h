#pragma once

#include <QByteArray>
#include <QString>

// Signs as minisign does, so that tests can offer files signed, mis-signed or signed by another
// key. The project's test key is an unencrypted minisign secret key in tests/data/release-signing/;
// never a key any release is signed with.
class TestSigner
{
public:
    // The project's test key pair (tests/data/release-signing/test.key); aborts the test program
    // when the file is missing or not an unencrypted minisign key.
    static TestSigner projectTestKey();
    // A fresh key pair, under the given key id or a random one.
    static TestSigner generated(const QByteArray& keyId = {});

    // The public key's base64 line, as the program holds its release key.
    QString publicKey() const;
    QByteArray keyId() const { return m_keyId; }

    // The text of a ".minisig" file for data; hashed gives the "ED" form minisign makes by
    // default, otherwise the older "Ed" form that signs the data itself.
    QByteArray
    sign(const QByteArray& data, bool hashed = true,
         const QByteArray& trustedComment = QByteArrayLiteral("timestamp:1700000000\tfile:test")) const;

    // A signature file exactly as sign() writes it but for the given raw fields, for malformed cases.
    static QByteArray signatureText(const QByteArray& algorithm, const QByteArray& keyId,
                                    const QByteArray& signature, const QByteArray& trustedComment,
                                    const QByteArray& globalSignature);

    static QString testDataPath(const QString& name);

private:
    QByteArray m_keyId;     // 8 bytes
    QByteArray m_secretKey; // 64 bytes (libsodium's form: seed and public key)
};
