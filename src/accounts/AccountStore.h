#pragma once

#include <QList>
#include <QString>

#include <optional>

// The clinic's user accounts, kept in the Accounts and AccountSettings tables where the records
// are (the program folder's DABSH.skn, or the clinic server while the folder works on it). Sign-in
// is on as long as one administrator account exists. No password is ever kept: only its hash.
enum class Role
{
    Administrator,
    Clinician,
    Reception
};

// The stored word of a role, and back; nullopt for a word that is none.
QString roleCode(Role role);
std::optional<Role> roleFromCode(const QString& code);
// The role's Persian name.
QString roleName(Role role);

struct Account
{
    QString name;
    QString hash;
    Role role = Role::Reception;
};

namespace AccountStore {

struct Result
{
    bool ok = false;
    QString message; // Persian, for the user, when not ok
};

enum class SignInState
{
    Off,
    On,
    Unknown // the accounts could not be read
};
SignInState signInState(const QString& folder);

// Every account, in the order they were made; nullopt when they could not be read.
std::optional<QList<Account>> accounts(const QString& folder);
std::optional<Account> find(const QString& folder, const QString& name);

// A user name as it is kept: without blanks around it. Empty when it cannot be kept.
QString cleanName(const QString& typed);

// The hash is made beforehand (PasswordHash::make). Refused for a name already taken.
Result addAccount(const QString& folder, const QString& name, const QString& hash, Role role);
// Refused when it would leave no administrator.
Result setRole(const QString& folder, const QString& name, Role role);
Result setHash(const QString& folder, const QString& name, const QString& hash);

// Minutes without input after which the program locks.
constexpr int kDefaultLockMinutes = 10;
constexpr int kLongestLockMinutes = 240;
int lockMinutes(const QString& folder);
Result setLockMinutes(const QString& folder, int minutes);

// The code of the subject whose locked test is under way, empty when none is; kept with the
// records so that a program started again during it knows.
QString lockedTest(const QString& folder);
Result setLockedTest(const QString& folder, const QString& code);

} // namespace AccountStore
