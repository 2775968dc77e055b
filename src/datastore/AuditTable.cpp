#include "AuditTable.h"

#include "SqlDialect.h"

#include <QSqlError>
#include <QSqlQuery>

namespace AuditTable {

namespace {

bool exec(QSqlDatabase& db, const QString& sql, QString* error)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

QString quotedColumns()
{
    QStringList quoted;
    for (const QString& column : columns())
        quoted << quotedIdentifier(column);
    return quoted.join(u',');
}

} // namespace

QStringList columns()
{
    return {QStringLiteral("Seq"),         QStringLiteral("Time"),   QStringLiteral("User"),
            QStringLiteral("Workstation"), QStringLiteral("Action"), QStringLiteral("Code"),
            QStringLiteral("Detail"),      QStringLiteral("Hash")};
}

bool exists(const QSqlDatabase& db)
{
    return db.tables().contains(name, Qt::CaseInsensitive);
}

bool ensure(QSqlDatabase& db, QString* error)
{
    if (exists(db))
        return true;
    const bool server = SqlDialect::isServer(db);
    // The sequence number is a number on both engines, so that the rows read back in the order
    // they were appended; its unique index refuses a second row with the same place in the chain.
    const QString text = server ? QStringLiteral(" TEXT COLLATE \"C\"") : QStringLiteral(" TEXT");
    QStringList definitions{
        quotedIdentifier(QStringLiteral("Seq")) +
        (server ? QStringLiteral(" BIGINT NOT NULL UNIQUE") : QStringLiteral(" INTEGER NOT NULL UNIQUE"))};
    for (const QString& column : columns().mid(1))
        definitions << quotedIdentifier(column) + text;
    if (!exec(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(quotedIdentifier(name), definitions.join(u',')),
              error))
        return false;
    // Changing or removing a row is refused by the database itself. Whoever can drop the triggers
    // can still change the file; the hash chain is what finds that.
    if (!server) {
        return exec(db,
                    QStringLiteral("CREATE TRIGGER \"AuditTrail_NoUpdate\" BEFORE UPDATE ON \"AuditTrail\" "
                                   "BEGIN SELECT RAISE(ABORT, 'the audit trail is append-only'); END"),
                    error) &&
               exec(db,
                    QStringLiteral("CREATE TRIGGER \"AuditTrail_NoDelete\" BEFORE DELETE ON \"AuditTrail\" "
                                   "BEGIN SELECT RAISE(ABORT, 'the audit trail is append-only'); END"),
                    error);
    }
    return exec(db,
                QStringLiteral("CREATE OR REPLACE FUNCTION velmora_audit_append_only() RETURNS trigger "
                               "LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION "
                               "'the audit trail is append-only'; END $$"),
                error) &&
           exec(db,
                QStringLiteral("CREATE TRIGGER \"AuditTrail_AppendOnly\" BEFORE UPDATE OR DELETE OR TRUNCATE "
                               "ON \"AuditTrail\" FOR EACH STATEMENT "
                               "EXECUTE FUNCTION velmora_audit_append_only()"),
                error);
}

bool copy(const QSqlDatabase& from, const QSqlDatabase& to, QString* error)
{
    if (!exists(from))
        return true;
    QSqlQuery read(from);
    read.setForwardOnly(true);
    if (!read.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY \"Seq\"")
                       .arg(quotedColumns(), quotedIdentifier(name)))) {
        if (error)
            *error = read.lastError().text();
        return false;
    }
    const int count = static_cast<int>(columns().size());
    QSqlQuery write(to);
    QStringList placeholders{QStringLiteral("?")};
    for (int i = 1; i < count; ++i)
        placeholders << QStringLiteral("CAST(? AS TEXT)");
    if (!write.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(quotedIdentifier(name), quotedColumns(), placeholders.join(u',')))) {
        if (error)
            *error = write.lastError().text();
        return false;
    }
    while (read.next()) {
        write.bindValue(0, read.value(0).toLongLong());
        for (int i = 1; i < count; ++i) {
            const QVariant value = read.value(i);
            write.bindValue(i, value.isNull() ? QVariant(QMetaType::fromType<QString>())
                                              : SqlDialect::textValue(to, value.toString()));
        }
        if (!write.exec()) {
            if (error)
                *error = write.lastError().text();
            return false;
        }
    }
    if (read.lastError().isValid()) {
        if (error)
            *error = read.lastError().text();
        return false;
    }
    return true;
}

} // namespace AuditTable
