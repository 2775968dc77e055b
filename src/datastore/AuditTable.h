#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The audit trail's table in DABSH.skn (or on the clinic's server): one row per recorded action,
// each chained to the one before it by a hash (src/audit/AuditTrail.h). The table stands apart
// from the program's data tables: a backup carries it, a restore never rewinds it, and a file made
// before it existed gains it on its first start.
namespace AuditTable {

inline const QString name = QStringLiteral("AuditTrail");

// "Seq" (1, 2, 3 … in the order the rows were appended), "Time", "User", "Workstation", "Action",
// "Code", "Detail", "Hash".
QStringList columns();

// Makes the table, its index and the triggers that refuse a change or a removal of a row, when the
// table is missing. A table that is there is left as it is. Runs in the caller's transaction.
bool ensure(QSqlDatabase& db, QString* error = nullptr);

// Whether the database holds the table.
bool exists(const QSqlDatabase& db);

// Appends every row of the table in one database to the table in another, which must hold none
// yet, in their order; true without a row when `from` has no table. The caller holds the
// transaction on `to`.
bool copy(const QSqlDatabase& from, const QSqlDatabase& to, QString* error = nullptr);

} // namespace AuditTable
