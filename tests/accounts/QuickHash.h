#pragma once

#include <sodium.h>

#include <QString>

// An Argon2id hash at the lowest cost, for accounts the tests make by the dozen; the program's own
// cost is checked once, and by bench/accounts.
inline QString quickHash(const QString& password)
{
    if (sodium_init() < 0)
        return {};
    const QByteArray bytes = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES] = {};
    if (crypto_pwhash_str_alg(hash, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                              crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN,
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        return {};
    return QString::fromLatin1(hash);
}
