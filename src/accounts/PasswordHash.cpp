#include "PasswordHash.h"

#include <sodium.h>

#include <QByteArray>

namespace PasswordHash {

namespace {

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// The password's bytes, wiped when they go.
class PasswordBytes final
{
public:
    explicit PasswordBytes(const QString& password) : m_bytes(password.toUtf8()) {}
    ~PasswordBytes() { sodium_memzero(m_bytes.data(), size_t(m_bytes.size())); }
    const char* data() const { return m_bytes.constData(); }
    unsigned long long size() const { return static_cast<unsigned long long>(m_bytes.size()); }

private:
    QByteArray m_bytes;
};

} // namespace

QString make(const QString& password)
{
    if (!sodiumReady())
        return {};
    const PasswordBytes bytes(password);
    char hash[crypto_pwhash_STRBYTES] = {};
    if (crypto_pwhash_str_alg(hash, bytes.data(), bytes.size(), kOperations, size_t(kMemoryBytes),
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        return {};
    return QString::fromLatin1(hash);
}

bool matches(const QString& hash, const QString& password)
{
    if (!sodiumReady() || !hash.startsWith(QLatin1String("$argon2id$")))
        return false;
    const QByteArray stored = hash.toLatin1();
    if (stored.size() >= crypto_pwhash_STRBYTES)
        return false;
    const PasswordBytes bytes(password);
    return crypto_pwhash_str_verify(stored.constData(), bytes.data(), bytes.size()) == 0;
}

bool needsRenewal(const QString& hash)
{
    if (!sodiumReady())
        return false;
    const QByteArray stored = hash.toLatin1();
    return crypto_pwhash_str_needs_rehash(stored.constData(), kOperations, size_t(kMemoryBytes)) != 0;
}

} // namespace PasswordHash
