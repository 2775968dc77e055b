#pragma once

#include "Backup.h"

#include <QDateTime>
#include <QString>

// Backup and restore of DABSH.skn. Neither may lose data: a backup is written beside its
// destination, checked and only then renamed over an earlier file of that name; a restore checks
// the chosen file, keeps the current database as a safety copy in Back/ and replaces DABSH.skn in
// one rename. An interruption at any moment leaves the earlier file whole.
namespace DatabaseBackup {

struct Outcome
{
    enum class Kind
    {
        Done,
        CopyFailed, // shown after the copy-failure text
        Refused     // shown on its own as a warning
    };
    Kind kind = Kind::Done;
    QString description;
    bool ok() const { return kind == Kind::Done; }
};

// Copies the folder's DABSH.skn to the destination. The database is read under a read
// transaction, so a write of the program in progress is never half in the copy.
Outcome backUp(const QString& programFolder, const QString& destination,
               const Backup::BlockCopied& blockCopied = {});

// Replaces the folder's DABSH.skn by the source, when the source is a sound database with the
// program's tables. Closes the program's own connections to the folder first and opens them
// again afterwards; `now` names the safety copy.
Outcome restore(const QString& programFolder, const QString& source, const QDateTime& now,
                const Backup::BlockCopied& blockCopied = {});

// True when the file opens as an SQLite database that passes its integrity check.
bool isSoundDatabase(const QString& path);
// A sound database that holds the tables of DABSH.skn.
bool isClinicalDatabase(const QString& path);

// "Velmora" "در تاريخ" date " ساعت)" time ")" ".mdbB", joined without separators.
QString proposedBackupName(const QString& dateText, const QString& timeText);
// The name of the safety copy taken before a restore; `attempt` above 1 adds a number, so that
// no earlier safety copy is ever overwritten.
QString safetyCopyName(const QDateTime& now, int attempt = 1);

} // namespace DatabaseBackup
