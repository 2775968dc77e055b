#include "SqlDialect.h"

#include <QHash>
#include <QMutex>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>

#include <algorithm>

namespace SqlDialect {

bool isServer(const QSqlDatabase& database)
{
    return database.driverName() == QLatin1String("QPSQL");
}

Failure classify(const QSqlDatabase& database, const QSqlError& error)
{
    if (!error.isValid())
        return Failure::None;
    const QString code = error.nativeErrorCode();
    if (!isServer(database)) {
        // SQLITE_CONSTRAINT_UNIQUE and SQLITE_CONSTRAINT_PRIMARYKEY
        if (code == QLatin1String("2067") || code == QLatin1String("1555"))
            return Failure::DuplicateKey;
        return Failure::Other;
    }
    if (code == QLatin1String("23505")) // unique_violation
        return Failure::DuplicateKey;
    // A statement the server answered carries its state; a lost connection has none, or a state of
    // class 08 (connection exception) or 57P01–57P03 (the server shut down or is starting).
    if (code.isEmpty() || code.startsWith(QLatin1String("08")) || code == QLatin1String("57P01") ||
        code == QLatin1String("57P02") || code == QLatin1String("57P03"))
        return Failure::ConnectionLost;
    return Failure::Other;
}

bool reconnect(const QSqlDatabase& database)
{
    QSqlDatabase db = database;
    db.close();
    return db.open();
}

namespace {

bool isNullValue(const QVariant& value)
{
    if (value.isNull())
        return true;
    if (value.metaType() == QMetaType::fromType<QString>())
        return value.toString().isNull();
    if (value.metaType() == QMetaType::fromType<QByteArray>())
        return value.toByteArray().isNull();
    return false;
}

// The statement with its values written in as literals, escaped by the driver exactly as Qt's
// PostgreSQL driver writes them itself when it runs a prepared statement. One round trip to the
// server instead of three (prepare, run, free), and no prepared statement left to free on a
// transaction that failed. Placeholders are the question marks outside quotes. Empty when the
// values do not match the placeholders.
QString withValuesWrittenIn(const QSqlDatabase& database, const QString& sql, const QVariantList& values)
{
    QString result;
    result.reserve(sql.size() + values.size() * 8);
    qsizetype next = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            result += c;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
            result += c;
        } else if (c == u'?') {
            if (next >= values.size())
                return {};
            const QVariant& value = values.at(next++);
            if (isNullValue(value)) {
                result += QLatin1String("NULL");
            } else {
                QSqlField field(QString(), value.metaType());
                field.setValue(value);
                result += database.driver()->formatValue(field);
            }
        } else {
            result += c;
        }
    }
    return next == values.size() ? result : QString();
}

bool attempt(QSqlQuery& query, const QSqlDatabase& database, const QString& sql, const QVariantList& values)
{
    const bool forwardOnly = query.isForwardOnly();
    query = QSqlQuery(database);
    query.setForwardOnly(forwardOnly);
    if (values.isEmpty())
        return query.exec(sql);
    if (isServer(database)) {
        const QString statement = withValuesWrittenIn(database, sql, values);
        return !statement.isEmpty() && query.exec(statement);
    }
    if (!query.prepare(sql))
        return false;
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

} // namespace

bool run(QSqlQuery& query, const QSqlDatabase& database, const QString& sql, const QVariantList& values,
         Access access, Failure* failure)
{
    auto result = [&](Failure kind) {
        if (failure)
            *failure = kind;
        return kind == Failure::None;
    };
    // A connection that could not be opened again after an earlier loss is tried once more first.
    if (isServer(database) && !database.isOpen() && !reconnect(database))
        return result(Failure::ConnectionLost);
    // A statement refused before it reached the database (values that do not match its
    // placeholders) leaves no error behind; it failed all the same.
    const auto failureOf = [&database](const QSqlQuery& failed) {
        const Failure kind = classify(database, failed.lastError());
        return kind == Failure::None ? Failure::Other : kind;
    };
    if (attempt(query, database, sql, values))
        return result(Failure::None);
    const Failure kind = failureOf(query);
    if (kind != Failure::ConnectionLost || inTransaction(database))
        return result(kind);
    if (!reconnect(database) || access == Access::Write)
        return result(Failure::ConnectionLost);
    if (attempt(query, database, sql, values))
        return result(Failure::None);
    return result(failureOf(query));
}

QVariant textValue(const QSqlDatabase& database, const QString& text, QStringConverter::Encoding fileEncoding)
{
    if (isServer(database) || fileEncoding != QStringConverter::Utf8)
        return QVariant(text);
    return boundText(text);
}

QStringConverter::Encoding textEncoding(const QSqlDatabase& database)
{
    if (isServer(database))
        return QStringConverter::Utf8;
    QSqlQuery encoding(database);
    if (encoding.exec(QStringLiteral("PRAGMA encoding")) && encoding.next()) {
        const QString name = encoding.value(0).toString();
        if (name.compare(QLatin1String("UTF-16le"), Qt::CaseInsensitive) == 0)
            return QStringConverter::Utf16LE;
        if (name.compare(QLatin1String("UTF-16be"), Qt::CaseInsensitive) == 0)
            return QStringConverter::Utf16BE;
    }
    return QStringConverter::Utf8;
}

bool isStorableText(const QString& text)
{
    if (!text.isValidUtf16())
        return false;
    return std::none_of(text.cbegin(), text.cend(),
                        [](QChar c) { return c.unicode() == 0xFFFE || c.unicode() == 0xFFFF; });
}

bool isStorable(const QSqlDatabase& database, const QString& text)
{
    return isStorableText(text) && !(isServer(database) && text.contains(QChar(0)));
}

namespace {
QMutex transactionsLock;
QHash<QString, int>& openTransactions()
{
    static QHash<QString, int> transactions;
    return transactions;
}
} // namespace

void noteTransaction(const QSqlDatabase& database, bool open)
{
    QMutexLocker locker(&transactionsLock);
    int& count = openTransactions()[database.connectionName()];
    count += open ? 1 : -1;
    if (count <= 0)
        openTransactions().remove(database.connectionName());
}

bool inTransaction(const QSqlDatabase& database)
{
    QMutexLocker locker(&transactionsLock);
    return openTransactions().contains(database.connectionName());
}

} // namespace SqlDialect

QString quotedIdentifier(const QString& name)
{
    QString escaped = name;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

QVariant boundText(const QString& text)
{
    if (text.isNull())
        return QVariant(QString());
    QByteArray bytes = text.toUtf8();
    if (bytes.isNull())
        bytes = QByteArray(""); // a null byte array would be bound as NULL
    return bytes;
}
