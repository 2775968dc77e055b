#pragma once

#include "AuditTrail.h"

#include <QList>
#include <QString>

// The audit rows as a .csv file (UTF-8, commas, a header row of the window's column headings),
// written beside the target and renamed over it only when complete.
namespace AuditCsv {

// The Persian name of an action key as the window and the file show it; the key itself for one
// this program does not know.
QString actionName(const QString& key);

// One row's cells as the window and the file show them: number, Jalali date, local time, user,
// computer, action, subject code, detail, hash.
QStringList cells(const AuditTrail::Entry& entry);
QStringList headings();

// False, with the reason in `error`, when the file was not put in place; the target is then as it
// was.
bool write(const QString& path, const QList<AuditTrail::Entry>& entries, QString* error);

} // namespace AuditCsv
