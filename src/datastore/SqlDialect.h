#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringConverter>
#include <QVariant>

class QSqlError;
class QSqlQuery;

// The few places where the program folder's SQLite files and the clinic's PostgreSQL server differ,
// for the code that writes its own SQL. Everything else is written once for both: names are always
// quoted, `rowid` is the stored order on both (SQLite's own, a hidden identity column on the
// server), and every text column of the server compares byte by byte as SQLite does.
namespace SqlDialect {

inline const QString rowIdColumn = QStringLiteral("rowid");

// Whether the connection goes to the clinic's database server rather than a file.
bool isServer(const QSqlDatabase& database);

enum class Failure
{
    None,
    Other,
    DuplicateKey,  // a unique index refused the row (a code another workstation stored first)
    ConnectionLost // the server went away; whether a write got through is unknown
};
Failure classify(const QSqlDatabase& database, const QSqlError& error);

enum class Access
{
    Read,
    Write
};

// Prepares and runs one statement with its bound values. A statement that failed because the
// server connection was lost opens the connection again (unless a transaction was open on it, which
// the server has rolled back), and a read is then run once more; a write never is, since whether it
// got through is unknown. `failure` tells what went wrong.
bool run(QSqlQuery& query, const QSqlDatabase& database, const QString& sql, const QVariantList& values,
         Access access, Failure* failure = nullptr);

// Opens a lost connection again; false when the server is still out of reach.
bool reconnect(const QSqlDatabase& database);

// The value to bind for a text placeholder written as CAST(? AS TEXT): the exact bytes for SQLite
// (see boundText), the text itself for the server.
QVariant textValue(const QSqlDatabase& database, const QString& text,
                   QStringConverter::Encoding fileEncoding = QStringConverter::Utf8);

// Whether a text can be stored and read back exactly on this connection (isStorableText, and no
// NUL character on the server, which keeps none in a text).
bool isStorable(const QSqlDatabase& database, const QString& text);

// Transactions open on each connection, kept by Transaction, so that a lost connection is not
// silently replaced by one outside the transaction.
void noteTransaction(const QSqlDatabase& database, bool open);
bool inTransaction(const QSqlDatabase& database);

} // namespace SqlDialect
