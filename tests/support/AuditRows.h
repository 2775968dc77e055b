#pragma once

#include "datastore/Database.h"

#include <QSqlQuery>
#include <QStringList>

// The audit rows of a program folder's data as "action|code|detail|user", in the order appended.
inline QStringList auditRows(const QString& folder)
{
    QStringList rows;
    QSqlQuery query(Database::connection(folder, Database::File::Clinical));
    if (!query.exec(QStringLiteral("SELECT \"Action\", \"Code\", \"Detail\", \"User\" FROM \"AuditTrail\" "
                                   "ORDER BY \"Seq\"")))
        return {QStringLiteral("unreadable")};
    while (query.next())
        rows << QStringList{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                            query.value(3).toString()}
                    .join(u'|');
    return rows;
}
