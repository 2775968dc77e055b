#pragma once

#include "Backup.h"

#include <QByteArray>
#include <QString>

#include <sodium.h>

// Encrypted backup files: a backup of DABSH.skn locked with a backup password.
//
// The file, all integers little-endian:
//   offset  size  content
//        0    16  "VelmoraEncBackup" (ASCII), which no SQLite file begins with
//       16     1  format version, 1
//       17     1  key derivation, 2: Argon2id version 1.3 (libsodium crypto_pwhash)
//       18     2  zero
//       20     8  Argon2id operations limit
//       28     8  Argon2id memory limit, in bytes
//       36    16  random salt
//       52    24  secretstream header (XChaCha20-Poly1305, crypto_secretstream_xchacha20poly1305)
//       76     …  chunks: a 4-byte length n, then n bytes of one secretstream message that holds up
//                 to 65536 bytes of the database. The 76 header bytes are the additional data of
//                 every message; the last message carries the FINAL tag, and nothing follows it.
// A file cut short lacks the FINAL message; a changed byte fails its message's check; either is
// found before anything of the file is used.
namespace BackupCipher {

inline const QByteArray magic = QByteArrayLiteral("VelmoraEncBackup");
constexpr qint64 kHeaderSize = 76;
constexpr qint64 kChunkSize = 65536;

// How hard the key is to guess: what a backup is written with, stored in its header.
struct Strength
{
    unsigned long long operations = crypto_pwhash_OPSLIMIT_MODERATE;
    size_t memory = crypto_pwhash_MEMLIMIT_MODERATE;
};

// Whether the file begins as an encrypted backup (by its content, whatever its name).
bool isEncrypted(const QString& path);

enum class Failure
{
    None,
    WrongPassword, // the first message does not open: another password, or that part is damaged
    Damaged,       // the header is not one this program writes, a later message fails, or it is cut short
    ReadFailed,
    WriteFailed,
    OutOfMemory // the key derivation found too little memory
};

// Writes an encrypted copy of `source` to `destination` (created or emptied), in chunks, telling
// each chunk written, and flushes it to the disk. The key is derived beside the window
// (`deriving` is told first). `description` receives a Persian text on failure; it never holds the
// password.
Failure encryptFile(const QString& source, const QString& destination, const QString& password,
                    const Strength& strength, QString* description,
                    const Backup::BlockCopied& blockCopied = {}, const std::function<void()>& deriving = {});

// Writes the database an encrypted backup holds to `destination` (created or emptied). On any
// failure the destination may hold part of it and is for the caller to remove.
Failure decryptFile(const QString& source, const QString& destination, const QString& password,
                    QString* description, const Backup::BlockCopied& blockCopied = {},
                    const std::function<void()>& deriving = {});

} // namespace BackupCipher
