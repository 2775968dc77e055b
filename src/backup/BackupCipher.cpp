#include "BackupCipher.h"

#include "BackupTexts.h"
#include "common/BackgroundWork.h"
#include "common/FileProblem.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QThread>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <optional>

#include <unistd.h>

namespace BackupCipher {

namespace {

using Stream = crypto_secretstream_xchacha20poly1305_state;
constexpr qint64 kAbytes = crypto_secretstream_xchacha20poly1305_ABYTES;
constexpr quint8 kVersion = 1;
constexpr quint8 kArgon2id13 = 2;
// Limits a file may name: what libsodium allows, and no more memory than a clinic's computer has
// to spare, so that a forged header cannot make the restore take all of it.
constexpr unsigned long long kMostOperations = crypto_pwhash_OPSLIMIT_SENSITIVE;
constexpr size_t kMostMemory = crypto_pwhash_MEMLIMIT_SENSITIVE;

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// The key, in memory that is wiped when it goes and never swapped out where that can be had.
class Key final
{
    Q_DISABLE_COPY_MOVE(Key)
public:
    Key()
        : m_bytes(static_cast<unsigned char*>(sodium_malloc(crypto_secretstream_xchacha20poly1305_KEYBYTES)))
    {
    }
    ~Key()
    {
        if (m_bytes)
            sodium_free(m_bytes);
    }
    unsigned char* bytes() { return m_bytes; }
    bool isValid() const { return m_bytes != nullptr; }

private:
    unsigned char* m_bytes;
};

// Derives the key on a pooled thread and waits for it while the window goes on answering and
// repainting. The work holds a copy of the password's bytes, wiped once it is done.
bool deriveKey(Key& key, const QString& password, const QByteArray& salt, const Strength& strength)
{
    if (!key.isValid())
        return false;
    auto work = [utf8 = password.toUtf8(), salt, strength]() mutable {
        QByteArray derived(crypto_secretstream_xchacha20poly1305_KEYBYTES, '\0');
        const bool ok =
            crypto_pwhash(reinterpret_cast<unsigned char*>(derived.data()),
                          static_cast<unsigned long long>(derived.size()), utf8.constData(),
                          static_cast<unsigned long long>(utf8.size()),
                          reinterpret_cast<const unsigned char*>(salt.constData()), strength.operations,
                          strength.memory, crypto_pwhash_ALG_ARGON2ID13) == 0;
        sodium_memzero(utf8.data(), static_cast<size_t>(utf8.size()));
        if (!ok) {
            sodium_memzero(derived.data(), static_cast<size_t>(derived.size()));
            derived.clear();
        }
        return derived;
    };
    QByteArray derived;
    const QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread()) {
        derived = work();
    } else {
        BackgroundWork background;
        QEventLoop loop;
        std::optional<QByteArray> answer;
        background.start(std::move(work), [&answer, &loop](QByteArray result) {
            answer = std::move(result);
            loop.quit();
        });
        if (!answer)
            loop.exec();
        if (!answer) {
            background.waitForAll();
            QCoreApplication::sendPostedEvents();
        }
        derived = answer.value_or(QByteArray());
    }
    const bool ok = derived.size() == crypto_secretstream_xchacha20poly1305_KEYBYTES;
    if (ok)
        std::memcpy(key.bytes(), derived.constData(), static_cast<size_t>(derived.size()));
    sodium_memzero(derived.data(), static_cast<size_t>(derived.size()));
    return ok;
}

QString described(const QString& what, const QString& path, const QString& reason = {})
{
    QString text = what + QStringLiteral("\r\n") + path;
    if (!reason.isEmpty())
        text += QStringLiteral("\r\n") + reason;
    return text;
}

bool syncFile(QFile& file)
{
    return file.flush() && ::fsync(file.handle()) == 0;
}

const unsigned char* bytesOf(const QByteArray& data)
{
    return reinterpret_cast<const unsigned char*>(data.constData());
}

} // namespace

bool isEncrypted(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(magic.size()) == magic;
}

Failure encryptFile(const QString& source, const QString& destination, const QString& password,
                    const Strength& strength, QString* description, const Backup::BlockCopied& blockCopied,
                    const std::function<void()>& deriving)
{
    const auto fail = [description](Failure failure, const QString& text) {
        if (description)
            *description = text;
        return failure;
    };
    if (!sodiumReady())
        return fail(Failure::OutOfMemory, BackupTexts::encryptionUnavailable);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(Failure::ReadFailed, described(BackupTexts::sourceUnreadable, source, in.errorString()));
    QFile out(destination);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const int error = errno;
        return fail(Failure::WriteFailed, withWriteProblem(described(BackupTexts::destinationUnwritable,
                                                                     destination, out.errorString()),
                                                           destination, error));
    }

    QByteArray salt(crypto_pwhash_SALTBYTES, '\0');
    randombytes_buf(salt.data(), static_cast<size_t>(salt.size()));
    if (deriving)
        deriving();
    Key key;
    if (!deriveKey(key, password, salt, strength))
        return fail(Failure::OutOfMemory, BackupTexts::encryptionUnavailable);

    QByteArray header = magic;
    header.append(char(kVersion));
    header.append(char(kArgon2id13));
    header.append(2, '\0');
    char number[8];
    qToLittleEndian<quint64>(strength.operations, number);
    header.append(number, 8);
    qToLittleEndian<quint64>(strength.memory, number);
    header.append(number, 8);
    header.append(salt);
    QByteArray streamHeader(crypto_secretstream_xchacha20poly1305_HEADERBYTES, '\0');
    Stream state;
    crypto_secretstream_xchacha20poly1305_init_push(
        &state, reinterpret_cast<unsigned char*>(streamHeader.data()), key.bytes());
    header.append(streamHeader);
    Q_ASSERT(header.size() == kHeaderSize);

    const auto writeFailed = [&] {
        const int error = errno;
        return fail(Failure::WriteFailed,
                    withWriteProblem(described(BackupTexts::writeFailed, destination, out.errorString()),
                                     destination, error));
    };
    if (out.write(header) != header.size())
        return writeFailed();

    const qint64 total = in.size();
    qint64 done = 0;
    QByteArray plain(kChunkSize, '\0');
    QByteArray sealed(kChunkSize + kAbytes, '\0');
    do {
        QCoreApplication::processEvents();
        const qint64 wanted = qMin(kChunkSize, total - done);
        const qint64 got = in.read(plain.data(), wanted);
        if (got != wanted)
            return fail(Failure::ReadFailed, described(BackupTexts::readFailed, source, in.errorString()));
        done += got;
        const unsigned char tag = done >= total ? crypto_secretstream_xchacha20poly1305_TAG_FINAL
                                                : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE;
        unsigned long long sealedLength = 0;
        crypto_secretstream_xchacha20poly1305_push(&state, reinterpret_cast<unsigned char*>(sealed.data()),
                                                   &sealedLength, bytesOf(plain),
                                                   static_cast<unsigned long long>(got), bytesOf(header),
                                                   static_cast<unsigned long long>(header.size()), tag);
        char length[4];
        qToLittleEndian<quint32>(static_cast<quint32>(sealedLength), length);
        if (out.write(length, 4) != 4 || out.write(sealed.constData(), static_cast<qint64>(sealedLength)) !=
                                             static_cast<qint64>(sealedLength))
            return writeFailed();
        if (blockCopied)
            blockCopied(done, total);
    } while (done < total);
    sodium_memzero(plain.data(), static_cast<size_t>(plain.size()));
    sodium_memzero(&state, sizeof state);
    if (!syncFile(out))
        return writeFailed();
    out.close();
    if (out.error() != QFileDevice::NoError)
        return writeFailed();
    return Failure::None;
}

Failure decryptFile(const QString& source, const QString& destination, const QString& password,
                    QString* description, const Backup::BlockCopied& blockCopied,
                    const std::function<void()>& deriving)
{
    const auto fail = [description](Failure failure, const QString& text) {
        if (description)
            *description = text;
        return failure;
    };
    if (!sodiumReady())
        return fail(Failure::OutOfMemory, BackupTexts::encryptionUnavailable);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(Failure::ReadFailed, described(BackupTexts::sourceUnreadable, source, in.errorString()));
    const QByteArray header = in.read(kHeaderSize);
    if (header.size() != kHeaderSize || !header.startsWith(magic) || quint8(header.at(16)) != kVersion ||
        quint8(header.at(17)) != kArgon2id13)
        return fail(Failure::Damaged, BackupTexts::encryptedDamaged);
    Strength strength;
    strength.operations = qFromLittleEndian<quint64>(header.constData() + 20);
    const quint64 memory = qFromLittleEndian<quint64>(header.constData() + 28);
    if (strength.operations < crypto_pwhash_OPSLIMIT_MIN || strength.operations > kMostOperations ||
        memory < crypto_pwhash_MEMLIMIT_MIN || memory > kMostMemory)
        return fail(Failure::Damaged, BackupTexts::encryptedDamaged);
    strength.memory = static_cast<size_t>(memory);
    const QByteArray salt = header.mid(36, crypto_pwhash_SALTBYTES);

    QFile out(destination);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const int error = errno;
        return fail(Failure::WriteFailed, withWriteProblem(described(BackupTexts::destinationUnwritable,
                                                                     destination, out.errorString()),
                                                           destination, error));
    }
    if (deriving)
        deriving();
    Key key;
    if (!deriveKey(key, password, salt, strength))
        return fail(Failure::OutOfMemory, BackupTexts::encryptionUnavailable);
    Stream state;
    if (crypto_secretstream_xchacha20poly1305_init_pull(&state, bytesOf(header) + 52, key.bytes()) != 0)
        return fail(Failure::Damaged, BackupTexts::encryptedDamaged);

    const qint64 total = in.size();
    QByteArray sealed(kChunkSize + kAbytes, '\0');
    QByteArray plain(kChunkSize, '\0');
    bool first = true;
    bool final = false;
    const auto damaged = [&] {
        sodium_memzero(plain.data(), static_cast<size_t>(plain.size()));
        return fail(Failure::Damaged, BackupTexts::encryptedDamaged);
    };
    while (!final) {
        QCoreApplication::processEvents();
        char length[4];
        if (in.read(length, 4) != 4)
            return first ? fail(Failure::Damaged, BackupTexts::encryptedDamaged) : damaged();
        const quint32 sealedLength = qFromLittleEndian<quint32>(length);
        if (sealedLength < kAbytes || sealedLength > kChunkSize + kAbytes ||
            in.read(sealed.data(), sealedLength) != qint64(sealedLength))
            return damaged();
        unsigned long long plainLength = 0;
        unsigned char tag = 0;
        if (crypto_secretstream_xchacha20poly1305_pull(
                &state, reinterpret_cast<unsigned char*>(plain.data()), &plainLength, &tag, bytesOf(sealed),
                sealedLength, bytesOf(header), static_cast<unsigned long long>(header.size())) != 0) {
            // The first message is the one a wrong password fails on; a later one fails only when
            // the file was changed or damaged after the part that opened.
            if (first)
                return fail(Failure::WrongPassword, BackupTexts::wrongBackupPassword);
            return damaged();
        }
        first = false;
        final = tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL;
        if (out.write(plain.constData(), static_cast<qint64>(plainLength)) !=
            static_cast<qint64>(plainLength)) {
            const int error = errno;
            return fail(Failure::WriteFailed,
                        withWriteProblem(described(BackupTexts::writeFailed, destination, out.errorString()),
                                         destination, error));
        }
        if (blockCopied)
            blockCopied(in.pos(), total);
    }
    sodium_memzero(plain.data(), static_cast<size_t>(plain.size()));
    sodium_memzero(&state, sizeof state);
    // Anything after the last message was not written by the program.
    if (!in.atEnd())
        return damaged();
    if (!syncFile(out)) {
        const int error = errno;
        return fail(Failure::WriteFailed,
                    withWriteProblem(described(BackupTexts::writeFailed, destination, out.errorString()),
                                     destination, error));
    }
    out.close();
    return Failure::None;
}

} // namespace BackupCipher
