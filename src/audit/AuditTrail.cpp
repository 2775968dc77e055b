#include "AuditTrail.h"

#include "AuditTexts.h"
#include "common/AppContext.h"
#include "common/Clock.h"
#include "common/CommonTexts.h"
#include "common/Permissions.h"
#include "common/Prompts.h"
#include "common/Session.h"
#include "datastore/AuditTable.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "datastore/SqlDialect.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTimeZone>

#include <sodium.h>

namespace AuditTrail {

namespace {

struct ActionKey
{
    Action action;
    const char* key;
};

constexpr ActionKey kKeys[] = {
    {Action::SignIn, "sign-in"},
    {Action::SignInFailed, "sign-in-failed"},
    {Action::SignOut, "sign-out"},
    {Action::AccountChanged, "account-change"},
    {Action::SettingsChanged, "settings-change"},
    {Action::ScoresOpened, "scores-opened"},
    {Action::ChartOpened, "chart-opened"},
    {Action::Printed, "print"},
    {Action::Exported, "export"},
    {Action::Registered, "registration"},
    {Action::RecordChanged, "record-change"},
    {Action::Deleted, "deletion"},
    {Action::BackedUp, "backup"},
    {Action::Restored, "restore"},
};

// Times are stored in UTC with a fixed width, so that their order as texts is their order in time.
const QString kTimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ");

QString timeText(const QDateTime& time)
{
    return time.toUTC().toString(kTimeFormat);
}

QDateTime timeOf(const QString& text)
{
    QDateTime time = QDateTime::fromString(text, kTimeFormat);
    time.setTimeSpec(Qt::UTC);
    return time;
}

// Each field with its length in front, so that no two different rows give the same bytes.
void addField(QByteArray& bytes, const QString& field)
{
    const QByteArray utf8 = field.toUtf8();
    bytes += QByteArray::number(utf8.size());
    bytes += ':';
    bytes += utf8;
}

const QString kAppendLockKey = QStringLiteral("74658");

// One row as the queries below read it: the columns in the table's order.
Entry entryOf(const QSqlQuery& query)
{
    Entry entry;
    entry.seq = query.value(0).toLongLong();
    entry.time = timeOf(query.value(1).toString());
    entry.user = query.value(2).toString();
    entry.workstation = query.value(3).toString();
    entry.action = query.value(4).toString();
    entry.code = query.value(5).toString();
    entry.detail = query.value(6).toString();
    entry.hash = query.value(7).toString();
    return entry;
}

} // namespace

QString key(Action action)
{
    for (const ActionKey& entry : kKeys) {
        if (entry.action == action)
            return QString::fromLatin1(entry.key);
    }
    return {};
}

std::optional<Action> actionOfKey(const QString& text)
{
    for (const ActionKey& entry : kKeys) {
        if (text == QLatin1String(entry.key))
            return entry.action;
    }
    return std::nullopt;
}

QList<Action> allActions()
{
    QList<Action> actions;
    for (const ActionKey& entry : kKeys)
        actions << entry.action;
    return actions;
}

QString firstPreviousHash()
{
    return QString(64, u'0');
}

QString hashOf(const Entry& entry, const QString& previousHash)
{
    QByteArray bytes;
    addField(bytes, QString::number(entry.seq));
    addField(bytes, timeText(entry.time));
    addField(bytes, entry.user);
    addField(bytes, entry.workstation);
    addField(bytes, entry.action);
    addField(bytes, entry.code);
    addField(bytes, entry.detail);
    addField(bytes, previousHash);
    static const bool sodiumReady = sodium_init() >= 0;
    Q_UNUSED(sodiumReady)
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(bytes.constData()),
                       static_cast<unsigned long long>(bytes.size()));
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(digest), crypto_hash_sha256_BYTES).toHex());
}

QString workstationName()
{
    return QSysInfo::machineHostName();
}

bool append(const QSqlDatabase& db, const QString& user, Action action, const QString& subjectCode,
            const QString& detail, const QDateTime& now, QString* error)
{
    const auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (!db.isOpen())
        return fail(db.lastError().text());
    std::optional<Transaction> own;
    if (!SqlDialect::inTransaction(db)) {
        own.emplace(db);
        if (!own->isOpen())
            return fail(db.lastError().text());
    }
    QSqlQuery query(db);
    // Every workstation appends one row at a time: the lock is the server's to the end of the
    // transaction, needs no right on the table itself, and is taken before the last row is read.
    // A file is written by one connection at a time anyway, and the last row is read in the
    // transaction that appends.
    if (SqlDialect::isServer(db) &&
        !query.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kAppendLockKey)))
        return fail(query.lastError().text());
    if (!query.exec(
            QStringLiteral("SELECT \"Seq\", \"Hash\" FROM \"AuditTrail\" ORDER BY \"Seq\" DESC LIMIT 1")))
        return fail(query.lastError().text());
    Entry entry;
    QString previous = firstPreviousHash();
    if (query.next()) {
        entry.seq = query.value(0).toLongLong() + 1;
        previous = query.value(1).toString();
    } else {
        entry.seq = 1;
    }
    query.finish();
    entry.time = now.toUTC();
    entry.user = user;
    entry.workstation = workstationName();
    entry.action = key(action);
    entry.code = subjectCode;
    entry.detail = detail;
    entry.hash = hashOf(entry, previous);
    query.prepare(QStringLiteral("INSERT INTO \"AuditTrail\" (\"Seq\", \"Time\", \"User\", \"Workstation\", "
                                 "\"Action\", \"Code\", \"Detail\", \"Hash\") VALUES (?, CAST(? AS TEXT), "
                                 "CAST(? AS TEXT), CAST(? AS TEXT), CAST(? AS TEXT), CAST(? AS TEXT), "
                                 "CAST(? AS TEXT), CAST(? AS TEXT))"));
    query.addBindValue(entry.seq);
    for (const QString& text : {timeText(entry.time), entry.user, entry.workstation, entry.action, entry.code,
                                entry.detail, entry.hash})
        query.addBindValue(SqlDialect::textValue(db, text));
    if (!query.exec())
        return fail(query.lastError().text());
    if (own && !own->commit())
        return fail(db.lastError().text());
    return true;
}

bool isKept(const AppContext& context)
{
    return context.session && context.session->signInRequired();
}

bool append(const AppContext& context, Action action, const QString& subjectCode, const QString& detail,
            QString* error)
{
    if (!isKept(context))
        return true;
    const QSqlDatabase db = Database::connection(context.dataFolder, Database::File::Clinical);
    const QString user = context.session ? context.session->userName() : QString();
    const QDateTime now = context.clock ? context.clock->now() : QDateTime::currentDateTime();
    return append(db, user, action, subjectCode, detail, now, error);
}

bool record(const AppContext& context, Action action, const QString& subjectCode, const QString& detail,
            QWidget* parent)
{
    if (!isKept(context))
        return true;
    const QSqlDatabase db = Database::connection(context.dataFolder, Database::File::Clinical);
    // A window made without the program's data (some tests) has nothing to record into.
    if (!db.isValid() || !db.isOpen())
        return false;
    const QString user = context.session ? context.session->userName() : QString();
    const QDateTime now = context.clock ? context.clock->now() : QDateTime::currentDateTime();
    QString error;
    if (append(db, user, action, subjectCode, detail, now, &error))
        return true;
    if (context.prompts)
        context.prompts->message(parent, CommonTexts::warningTitle,
                                 AuditTexts::notRecorded + QStringLiteral("\r\n") + error,
                                 Prompts::Icon::Exclamation, true);
    return false;
}

CheckResult check(const QSqlDatabase& db)
{
    CheckResult result;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(
            QStringLiteral("SELECT \"Seq\", \"Time\", \"User\", \"Workstation\", \"Action\", \"Code\", "
                           "\"Detail\", \"Hash\" FROM \"AuditTrail\" ORDER BY \"Seq\""))) {
        result.finding = CheckResult::Finding::Unreadable;
        return result;
    }
    QString previous = firstPreviousHash();
    qint64 expectedSeq = 1;
    while (query.next()) {
        const Entry entry = entryOf(query);
        ++result.rows;
        if (entry.seq != expectedSeq) {
            result.finding = CheckResult::Finding::Missing;
            result.brokenAt = entry.seq;
            return result;
        }
        // A time that is no time any more was changed too: it cannot be what was written.
        if (!entry.time.isValid() || timeText(entry.time) != query.value(1).toString() ||
            hashOf(entry, previous) != entry.hash) {
            result.finding = CheckResult::Finding::Changed;
            result.brokenAt = entry.seq;
            return result;
        }
        previous = entry.hash;
        ++expectedSeq;
    }
    if (query.lastError().isValid())
        result.finding = CheckResult::Finding::Unreadable;
    return result;
}

std::optional<QList<Entry>> entries(const QSqlDatabase& db, const Filter& filter)
{
    QStringList conditions;
    QVariantList values;
    const auto match = [&](const QString& column, const QString& value) {
        if (value.isEmpty())
            return;
        conditions << quotedIdentifier(column) + QStringLiteral(" = CAST(? AS TEXT)");
        values << SqlDialect::textValue(db, value);
    };
    match(QStringLiteral("User"), filter.user);
    match(QStringLiteral("Code"), filter.code);
    match(QStringLiteral("Action"), filter.action);
    if (filter.from) {
        conditions << QStringLiteral("\"Time\" >= CAST(? AS TEXT)");
        values << SqlDialect::textValue(db, timeText(*filter.from));
    }
    if (filter.until) {
        conditions << QStringLiteral("\"Time\" < CAST(? AS TEXT)");
        values << SqlDialect::textValue(db, timeText(*filter.until));
    }
    QString sql = QStringLiteral("SELECT \"Seq\", \"Time\", \"User\", \"Workstation\", \"Action\", \"Code\", "
                                 "\"Detail\", \"Hash\" FROM \"AuditTrail\"");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY \"Seq\"");
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!SqlDialect::run(query, db, sql, values, SqlDialect::Access::Read))
        return std::nullopt;
    QList<Entry> rows;
    while (query.next()) {
        const Entry entry = entryOf(query);
        rows << entry;
    }
    if (query.lastError().isValid())
        return std::nullopt;
    return rows;
}

bool mayView(const AppContext& context)
{
    return isKept(context) && context.session->allows(Command::AuditTrail);
}

} // namespace AuditTrail
