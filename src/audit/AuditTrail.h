#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

class QWidget;
struct AppContext;

// The audit trail: who did what to which subject's record, when and on which computer. Rows are
// only ever appended (datastore/AuditTable.h), each with a SHA-256 hash over its content and the
// hash of the row before it, so that a row changed or removed by hand breaks the chain at that
// place.
//
// The trail is part of the protected record: it is kept while the clinic signs its users in. A
// program without sign-in records nothing and writes its files exactly as before, so that its
// backups stay byte for byte the file they were made of.
namespace AuditTrail {

enum class Action
{
    SignIn,
    SignInFailed,
    SignOut,
    AccountChanged,
    SettingsChanged,
    ScoresOpened,
    ChartOpened,
    Printed,
    Exported,
    Registered,
    RecordChanged,
    Deleted,
    BackedUp,
    Restored
};

// The key stored in the "Action" column ("sign-in", "export", …), which never changes with the
// language of the window that shows it.
QString key(Action action);
std::optional<Action> actionOfKey(const QString& key);
QList<Action> allActions();

struct Entry
{
    qint64 seq = 0;
    QDateTime time; // UTC
    QString user;
    QString workstation;
    QString action; // the key
    QString code;
    QString detail;
    QString hash; // 64 hexadecimal digits
};

// The hash of a row chained to the hash of the one before it (64 zeros before the first row).
QString hashOf(const Entry& entry, const QString& previousHash);
QString firstPreviousHash();

// This computer's name, as the rows carry it.
QString workstationName();

// Appends one row on the connection. Inside a transaction the caller holds, the row stands or falls
// with the caller's change; otherwise it is one transaction of its own. Rows are appended one at a
// time across every workstation on the clinic server (a lock held to the end of the transaction),
// so the chain stays one line. False, with the reason in `error`, when the row was not stored.
bool append(const QSqlDatabase& db, const QString& user, Action action, const QString& subjectCode,
            const QString& detail, const QDateTime& now, QString* error = nullptr);

// Whether actions are recorded in this context: while sign-in is on.
bool isKept(const AppContext& context);

// The same on the program folder's data by the signed-in user at the context's clock (true without
// a row where the trail is not kept), for a change that holds its own transaction: nothing is shown, the
// caller's failure message says it.
bool append(const AppContext& context, Action action, const QString& subjectCode, const QString& detail,
            QString* error = nullptr);

// The same for the windows: on the program folder's data, by the signed-in user (empty where
// sign-in is not used), at the context's clock. A row that could not be stored is told in a
// "خطا" box over `parent`.
bool record(const AppContext& context, Action action, const QString& subjectCode = {},
            const QString& detail = {}, QWidget* parent = nullptr);

// The chain read through from the first row.
struct CheckResult
{
    enum class Finding
    {
        Intact,
        Changed,   // the row's content or hash is not what was written
        Missing,   // one or more rows before this one are gone
        Unreadable // the table could not be read
    };
    Finding finding = Finding::Intact;
    qint64 rows = 0;     // rows read
    qint64 brokenAt = 0; // the sequence number of the first row whose link is broken
    bool intact() const { return finding == Finding::Intact; }
};
CheckResult check(const QSqlDatabase& db);

// Which rows the audit window lists. Empty texts match every row; times are UTC, `until` excluded.
struct Filter
{
    QString user;
    QString code;
    QString action; // a key
    std::optional<QDateTime> from;
    std::optional<QDateTime> until;
};
// The matching rows in the order they were appended; nullopt when the table could not be read.
std::optional<QList<Entry>> entries(const QSqlDatabase& db, const Filter& filter);

// Whether the audit window is offered: to an administrator of a clinic that signs its users in.
bool mayView(const AppContext& context);

} // namespace AuditTrail
