#include "AccountStore.h"

#include "AccountTexts.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "datastore/SqlDialect.h"

#include <QSqlQuery>

#include <algorithm>

namespace {

const QString kLockMinutes = QStringLiteral("LockMinutes");
const QString kLockedTest = QStringLiteral("LockedTest");

QSqlDatabase storeOf(const QString& folder)
{
    return Database::connection(folder, Database::File::Clinical);
}

AccountStore::Result failed(const QString& message = AccountTexts::accountNotStored)
{
    return {false, message};
}

AccountStore::Result done()
{
    return {true, {}};
}

std::optional<QString> setting(const QString& folder, const QString& name)
{
    const QSqlDatabase db = storeOf(folder);
    QSqlQuery query(db);
    if (!SqlDialect::run(query, db,
                         QStringLiteral("SELECT \"Value\" FROM \"%1\" WHERE \"Name\" = CAST(? AS TEXT)")
                             .arg(Database::accountSettingsTable),
                         {SqlDialect::textValue(db, name)}, SqlDialect::Access::Read))
        return std::nullopt;
    return query.next() ? query.value(0).toString() : QString();
}

AccountStore::Result setSetting(const QString& folder, const QString& name, const QString& value)
{
    const QSqlDatabase db = storeOf(folder);
    Transaction transaction(db);
    if (!transaction.isOpen())
        return failed();
    QSqlQuery remove(db);
    if (!SqlDialect::run(remove, db,
                         QStringLiteral("DELETE FROM \"%1\" WHERE \"Name\" = CAST(? AS TEXT)")
                             .arg(Database::accountSettingsTable),
                         {SqlDialect::textValue(db, name)}, SqlDialect::Access::Write))
        return failed();
    if (!value.isEmpty()) {
        QSqlQuery insert(db);
        if (!SqlDialect::run(insert, db,
                             QStringLiteral("INSERT INTO \"%1\" (\"Name\", \"Value\") VALUES (CAST(? AS "
                                            "TEXT), CAST(? AS TEXT))")
                                 .arg(Database::accountSettingsTable),
                             {SqlDialect::textValue(db, name), SqlDialect::textValue(db, value)},
                             SqlDialect::Access::Write) ||
            insert.numRowsAffected() != 1)
            return failed();
    }
    return transaction.commit() ? done() : failed();
}

int administrators(const QList<Account>& all)
{
    return int(std::count_if(all.cbegin(), all.cend(),
                             [](const Account& a) { return a.role == Role::Administrator; }));
}

} // namespace

QString roleCode(Role role)
{
    switch (role) {
    case Role::Administrator:
        return QStringLiteral("administrator");
    case Role::Clinician:
        return QStringLiteral("clinician");
    case Role::Reception:
        break;
    }
    return QStringLiteral("reception");
}

std::optional<Role> roleFromCode(const QString& code)
{
    for (Role role : {Role::Administrator, Role::Clinician, Role::Reception}) {
        if (roleCode(role) == code)
            return role;
    }
    return std::nullopt;
}

QString roleName(Role role)
{
    switch (role) {
    case Role::Administrator:
        return AccountTexts::administrator;
    case Role::Clinician:
        return AccountTexts::clinician;
    case Role::Reception:
        break;
    }
    return AccountTexts::reception;
}

namespace AccountStore {

std::optional<QList<Account>> accounts(const QString& folder)
{
    const QSqlDatabase db = storeOf(folder);
    if (!db.isOpen())
        return std::nullopt;
    QSqlQuery query(db);
    if (!SqlDialect::run(query, db,
                         QStringLiteral("SELECT \"Name\", \"Hash\", \"Role\" FROM \"%1\" ORDER BY rowid")
                             .arg(Database::accountsTable),
                         {}, SqlDialect::Access::Read))
        return std::nullopt;
    QList<Account> all;
    while (query.next()) {
        // A row whose role is no known word (changed by hand) gives no rights: it is left out.
        const std::optional<Role> role = roleFromCode(query.value(2).toString());
        if (role)
            all.append({query.value(0).toString(), query.value(1).toString(), *role});
    }
    return all;
}

SignInState signInState(const QString& folder)
{
    const std::optional<QList<Account>> all = accounts(folder);
    if (!all)
        return SignInState::Unknown;
    return administrators(*all) > 0 ? SignInState::On : SignInState::Off;
}

std::optional<Account> find(const QString& folder, const QString& name)
{
    const std::optional<QList<Account>> all = accounts(folder);
    if (!all)
        return std::nullopt;
    for (const Account& account : *all) {
        if (account.name == name)
            return account;
    }
    return std::nullopt;
}

QString cleanName(const QString& typed)
{
    const QString name = typed.trimmed();
    if (name.isEmpty() || name.size() > 64 || !SqlDialect::isStorableText(name) || name.contains(QChar(0)))
        return {};
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control || c == u'\n' || c == u'\r')
            return {};
    }
    return name;
}

Result addAccount(const QString& folder, const QString& name, const QString& hash, Role role)
{
    const QString clean = cleanName(name);
    if (clean.isEmpty() || clean != name)
        return failed(AccountTexts::userNameInvalid);
    if (!hash.startsWith(QLatin1String("$argon2id$")))
        return failed();
    const QSqlDatabase db = storeOf(folder);
    Transaction transaction(db);
    if (!transaction.isOpen())
        return failed();
    const std::optional<QList<Account>> all = accounts(folder);
    if (!all)
        return failed();
    for (const Account& account : *all) {
        if (account.name.compare(clean, Qt::CaseInsensitive) == 0)
            return failed(AccountTexts::userNameTaken);
    }
    QSqlQuery insert(db);
    if (!SqlDialect::run(insert, db,
                         QStringLiteral("INSERT INTO \"%1\" (\"Name\", \"Hash\", \"Role\") VALUES (CAST(? AS "
                                        "TEXT), CAST(? AS TEXT), CAST(? AS TEXT))")
                             .arg(Database::accountsTable),
                         {SqlDialect::textValue(db, clean), SqlDialect::textValue(db, hash),
                          SqlDialect::textValue(db, roleCode(role))},
                         SqlDialect::Access::Write) ||
        insert.numRowsAffected() != 1)
        return failed();
    return transaction.commit() ? done() : failed();
}

namespace {

Result updateOne(const QString& folder, const QString& name, const QString& column, const QString& value,
                 bool keepAnAdministrator)
{
    const QSqlDatabase db = storeOf(folder);
    Transaction transaction(db);
    if (!transaction.isOpen())
        return failed();
    const std::optional<QList<Account>> all = accounts(folder);
    if (!all)
        return failed();
    const auto it =
        std::find_if(all->cbegin(), all->cend(), [&](const Account& a) { return a.name == name; });
    if (it == all->cend())
        return failed(AccountTexts::noSuchUser);
    if (keepAnAdministrator && it->role == Role::Administrator && administrators(*all) == 1)
        return failed(AccountTexts::lastAdministrator);
    QSqlQuery update(db);
    if (!SqlDialect::run(
            update, db,
            QStringLiteral("UPDATE \"%1\" SET \"%2\" = CAST(? AS TEXT) WHERE \"Name\" = CAST(? AS TEXT)")
                .arg(Database::accountsTable, column),
            {SqlDialect::textValue(db, value), SqlDialect::textValue(db, name)}, SqlDialect::Access::Write) ||
        update.numRowsAffected() < 1)
        return failed();
    return transaction.commit() ? done() : failed();
}

} // namespace

Result setRole(const QString& folder, const QString& name, Role role)
{
    return updateOne(folder, name, QStringLiteral("Role"), roleCode(role), role != Role::Administrator);
}

Result setHash(const QString& folder, const QString& name, const QString& hash)
{
    if (!hash.startsWith(QLatin1String("$argon2id$")))
        return failed();
    return updateOne(folder, name, QStringLiteral("Hash"), hash, false);
}

int lockMinutes(const QString& folder)
{
    bool number = false;
    const int minutes = setting(folder, kLockMinutes).value_or(QString()).toInt(&number);
    return number && minutes >= 1 && minutes <= kLongestLockMinutes ? minutes : kDefaultLockMinutes;
}

Result setLockMinutes(const QString& folder, int minutes)
{
    if (minutes < 1 || minutes > kLongestLockMinutes)
        return failed(AccountTexts::lockMinutesInvalid);
    return setSetting(folder, kLockMinutes, QString::number(minutes));
}

QString lockedTest(const QString& folder)
{
    return setting(folder, kLockedTest).value_or(QString());
}

Result setLockedTest(const QString& folder, const QString& code)
{
    return setSetting(folder, kLockedTest, code);
}

} // namespace AccountStore
