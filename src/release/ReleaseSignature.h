#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Whether a file is one the vendor signed: signatures in minisign's format (Ed25519), checked with
// libsodium. Plain functions, used by the update check and by the updater alike.
//
// A public key is a line of base64 holding "Ed", an 8-byte key id and the 32-byte key, as the
// second line of minisign's ".pub" file. A signature file holds four lines: an untrusted comment,
// base64 of the algorithm ("Ed" signs the file itself, "ED" its BLAKE2b-512 hash), the key id and
// the 64-byte signature, then "trusted comment: " with its text, and base64 of a 64-byte signature
// over the first signature followed by that text. Both signatures must hold.
namespace ReleaseSignature {

// The most a signature file may take; a real one is well under 512 bytes.
constexpr qsizetype kMaxSignatureFileSize = 4096;
// What is fetched beside a file to prove where it came from.
inline const QString signatureSuffix = QStringLiteral(".minisig");

struct PublicKey
{
    QByteArray keyId; // 8 bytes
    QByteArray key;   // 32 bytes
};

enum class Verdict
{
    Valid,
    // Not a signature file at all: wrong lines, base64, sizes or algorithm.
    Malformed,
    // A well-formed signature by a key other than the one asked for.
    OtherKey,
    // The key id matches but a signature does not hold: the file (or the trusted comment) is not
    // what was signed.
    Mismatch,
    // The file to check could not be read.
    Unreadable,
};

// The key from its base64 line, or from the whole ".pub" file (comment line first); nothing when
// the text is not a minisign Ed25519 public key.
std::optional<PublicKey> parsePublicKey(QByteArrayView text);

// Checks data held in memory (a version file).
Verdict verify(QByteArrayView data, QByteArrayView signatureFile, const PublicKey& key);

// Checks a file on disk (a package), read in blocks for a hashed signature.
Verdict verifyFile(const QString& path, QByteArrayView signatureFile, const PublicKey& key);

} // namespace ReleaseSignature
