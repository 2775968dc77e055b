#include "ReleaseSignature.h"

#include <QFile>
#include <QList>

#include <sodium.h>

namespace ReleaseSignature {

namespace {

constexpr qsizetype kAlgorithmSize = 2;
constexpr qsizetype kKeyIdSize = 8;
constexpr qsizetype kHashSize = crypto_generichash_BYTES_MAX; // BLAKE2b-512
constexpr qsizetype kHashBlockSize = 64 * 1024;
const QByteArray kPureAlgorithm = QByteArrayLiteral("Ed");
const QByteArray kHashedAlgorithm = QByteArrayLiteral("ED");
const QByteArray kUntrustedPrefix = QByteArrayLiteral("untrusted comment: ");
const QByteArray kTrustedPrefix = QByteArrayLiteral("trusted comment: ");

static_assert(crypto_sign_PUBLICKEYBYTES == 32 && crypto_sign_BYTES == 64);
static_assert(kHashSize == 64);

struct Signature
{
    bool hashed = false;
    QByteArray keyId;
    QByteArray signature;
    QByteArray trustedComment;
    QByteArray globalSignature;
};

// The text's lines without their CR LF or LF, blank lines at the end dropped.
QList<QByteArray> linesOf(QByteArrayView text)
{
    QList<QByteArray> lines = QByteArray(text.data(), text.size()).split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.constLast().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

// The bytes of a base64 line of exactly the expected length; nothing for anything else.
std::optional<QByteArray> decoded(const QByteArray& line, qsizetype expectedSize)
{
    const auto result =
        QByteArray::fromBase64Encoding(line.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!result || result.decoded.size() != expectedSize)
        return std::nullopt;
    return result.decoded;
}

std::optional<Signature> parseSignature(QByteArrayView text)
{
    const QList<QByteArray> lines = linesOf(text);
    if (lines.size() != 4 || !lines[0].startsWith(kUntrustedPrefix) || !lines[2].startsWith(kTrustedPrefix))
        return std::nullopt;
    const std::optional<QByteArray> first =
        decoded(lines[1], kAlgorithmSize + kKeyIdSize + crypto_sign_BYTES);
    const std::optional<QByteArray> global = decoded(lines[3], crypto_sign_BYTES);
    if (!first || !global)
        return std::nullopt;
    const QByteArray algorithm = first->left(kAlgorithmSize);
    if (algorithm != kPureAlgorithm && algorithm != kHashedAlgorithm)
        return std::nullopt;
    Signature signature;
    signature.hashed = algorithm == kHashedAlgorithm;
    signature.keyId = first->mid(kAlgorithmSize, kKeyIdSize);
    signature.signature = first->mid(kAlgorithmSize + kKeyIdSize);
    signature.trustedComment = lines[2].mid(kTrustedPrefix.size());
    signature.globalSignature = *global;
    return signature;
}

bool holds(const QByteArray& signature, QByteArrayView message, const PublicKey& key)
{
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.constData()),
                                       reinterpret_cast<const unsigned char*>(message.data()),
                                       static_cast<unsigned long long>(message.size()),
                                       reinterpret_cast<const unsigned char*>(key.key.constData())) == 0;
}

// The check once the signed bytes (the file, or its hash) are known.
Verdict check(const Signature& signature, QByteArrayView signedBytes, const PublicKey& key)
{
    if (!holds(signature.signature, signedBytes, key))
        return Verdict::Mismatch;
    // The trusted comment is only worth its name when the key vouches for it too.
    if (!holds(signature.globalSignature, signature.signature + signature.trustedComment, key))
        return Verdict::Mismatch;
    return Verdict::Valid;
}

// The signature parsed and its key checked; the verdict when there is no point in reading further.
std::optional<Verdict> refusalBeforeReading(const std::optional<Signature>& signature, const PublicKey& key)
{
    // Without a working library nothing can be vouched for.
    if (sodium_init() < 0)
        return Verdict::Mismatch;
    if (!signature)
        return Verdict::Malformed;
    if (signature->keyId != key.keyId || key.key.size() != crypto_sign_PUBLICKEYBYTES)
        return Verdict::OtherKey;
    return std::nullopt;
}

std::optional<QByteArray> hashOfFile(QFile& file)
{
    crypto_generichash_state state;
    crypto_generichash_init(&state, nullptr, 0, kHashSize);
    QByteArray block(kHashBlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 read = file.read(block.data(), block.size());
        if (read < 0)
            return std::nullopt;
        if (read == 0)
            break;
        crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(block.constData()),
                                  static_cast<unsigned long long>(read));
    }
    QByteArray hash(kHashSize, Qt::Uninitialized);
    crypto_generichash_final(&state, reinterpret_cast<unsigned char*>(hash.data()), kHashSize);
    return hash;
}

QByteArray hashOf(QByteArrayView data)
{
    QByteArray hash(kHashSize, Qt::Uninitialized);
    crypto_generichash(reinterpret_cast<unsigned char*>(hash.data()), kHashSize,
                       reinterpret_cast<const unsigned char*>(data.data()),
                       static_cast<unsigned long long>(data.size()), nullptr, 0);
    return hash;
}

} // namespace

std::optional<PublicKey> parsePublicKey(QByteArrayView text)
{
    const QList<QByteArray> lines = linesOf(text);
    if (lines.isEmpty() || lines.size() > 2 || (lines.size() == 2 && !lines[0].startsWith(kUntrustedPrefix)))
        return std::nullopt;
    const std::optional<QByteArray> bytes =
        decoded(lines.constLast(), kAlgorithmSize + kKeyIdSize + crypto_sign_PUBLICKEYBYTES);
    if (!bytes || bytes->left(kAlgorithmSize) != kPureAlgorithm)
        return std::nullopt;
    return PublicKey{bytes->mid(kAlgorithmSize, kKeyIdSize), bytes->mid(kAlgorithmSize + kKeyIdSize)};
}

Verdict verify(QByteArrayView data, QByteArrayView signatureFile, const PublicKey& key)
{
    const std::optional<Signature> signature = parseSignature(signatureFile);
    if (const std::optional<Verdict> refusal = refusalBeforeReading(signature, key))
        return *refusal;
    if (signature->hashed)
        return check(*signature, hashOf(data), key);
    return check(*signature, data, key);
}

Verdict verifyFile(const QString& path, QByteArrayView signatureFile, const PublicKey& key)
{
    const std::optional<Signature> signature = parseSignature(signatureFile);
    if (const std::optional<Verdict> refusal = refusalBeforeReading(signature, key))
        return *refusal;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Verdict::Unreadable;
    if (signature->hashed) {
        const std::optional<QByteArray> hash = hashOfFile(file);
        return hash ? check(*signature, *hash, key) : Verdict::Unreadable;
    }
    // The older form signs the file itself, which Ed25519 can only check whole.
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Verdict::Unreadable;
    return check(*signature, content, key);
}

} // namespace ReleaseSignature
