#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlQuery>

// A mark that changes whenever the file of a connection is written, through this connection or by
// anyone else: what was read from the file while the mark stays the same need not be read again.
// Empty when it cannot be told, and an empty mark never counts as unchanged.
inline QByteArray writeMark(const QSqlDatabase& database)
{
    QByteArray mark;
    QSqlQuery query(database);
    // Writes through this connection, then commits by other connections to the file.
    for (const char* sql : {"SELECT total_changes()", "PRAGMA data_version"}) {
        if (!query.exec(QLatin1String(sql)) || !query.next())
            return {};
        mark += query.value(0).toByteArray() + ';';
    }
    return mark;
}
