#pragma once

#include <QString>

// Passwords kept only as Argon2id hashes (libsodium's crypto_pwhash_str), each with its own salt
// and the cost it was made with. Both functions take a good part of a second on purpose: call them
// beside the window.
namespace PasswordHash {

// The cost of a new hash: bench/accounts measures one check on this machine, which should take
// between 0.2 and 1 second.
constexpr unsigned long long kOperations = 3;
constexpr unsigned long long kMemoryBytes = 128ULL * 1024 * 1024;

// The hash text ("$argon2id$…"); empty when libsodium could not make one (out of memory).
QString make(const QString& password);
// Whether the password is the one the hash was made from; false for a text that is no hash.
bool matches(const QString& hash, const QString& password);
// Whether the hash was made with a lower cost than a new one and should be made again.
bool needsRenewal(const QString& hash);

} // namespace PasswordHash
