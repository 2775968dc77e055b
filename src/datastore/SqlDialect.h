#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringConverter>
#include <QVariant>

class QSqlError;
class QSqlQuery;

// The few places where the data folder's SQLite files and the clinic's PostgreSQL server differ,
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

// The value to bind for a text placeholder written as CAST(? AS TEXT): the exact bytes for a SQLite
// file in UTF-8 (see boundText), the text itself for one in UTF-16, which SQLite keeps as it comes,
// and for the server.
QVariant textValue(const QSqlDatabase& database, const QString& text,
                   QStringConverter::Encoding fileEncoding = QStringConverter::Utf8);

// The encoding in which a file keeps its texts: UTF-8 in files made by this program, UTF-16 in some
// made elsewhere. UTF-8 on the server, whose texts are bound as texts.
QStringConverter::Encoding textEncoding(const QSqlDatabase& database);

// Whether a text is stored and read back exactly: false for a lone surrogate (half of a character
// such as an emoji) and for U+FFFE and U+FFFF, which SQLite reads back as U+FFFD. Such a text is
// refused rather than stored as another one.
bool isStorableText(const QString& text);

// Whether a text can be stored and read back exactly on this connection (isStorableText, and no
// NUL character on the server, which keeps none in a text).
bool isStorable(const QSqlDatabase& database, const QString& text);

// Transactions open on each connection, kept by Transaction, so that a lost connection is not
// silently replaced by one outside the transaction.
void noteTransaction(const QSqlDatabase& database, bool open);
bool inTransaction(const QSqlDatabase& database);

} // namespace SqlDialect

// The SQL text for a column name: always quoted, since Date, Time, Group and 1 … 35 need it.
QString quotedIdentifier(const QString& name);

// The value to bind for a text placeholder written as CAST(? AS TEXT): the text's UTF-8 bytes,
// which SQLite takes byte for byte. A QString bound as it is goes over as UTF-16, where SQLite
// drops a leading U+FEFF and reads one starting with U+FFFE byte-swapped. SQLite reads bound bytes
// cast to a text as UTF-8, even in a file that keeps its texts in UTF-16 (where it first drops an
// odd last byte): such a file takes the text itself. A null text is bound as NULL. Check
// isStorableText first: a lone surrogate cannot be encoded exactly.
QVariant boundText(const QString& text);
