#pragma once

#include "Backup.h"
#include "BackupCipher.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <type_traits>

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

// What a backup or a restore tells the window while it runs.
struct Progress
{
    Progress() = default;
    Progress(Backup::BlockCopied copied, std::function<void()> checked)
        : blockCopied(std::move(copied)), checking(std::move(checked))
    {
    }
    // Implicit, so that a caller interested in the blocks only passes what is told of them.
    template <typename Told, typename = std::enable_if_t<std::is_invocable_v<Told, qint64, qint64>>>
    Progress(Told told) // NOLINT(google-explicit-constructor)
        : blockCopied(std::move(told))
    {
    }
    Backup::BlockCopied blockCopied; // after each block of a copy
    // The key of an encrypted backup is being derived from its password (about a second).
    std::function<void()> deriving;
    // The checked copy is being encrypted now; blocks are told again from the start.
    std::function<void()> encrypting;
    // The copy is being checked now. The check runs beside the window, which goes on answering
    // and repainting meanwhile; its commands must stay disabled until the outcome is there.
    std::function<void()> checking;
};

// An encrypted backup's password and how hard its key is to guess.
struct Encryption
{
    QString password;
    BackupCipher::Strength strength;
};

// Copies the folder's DABSH.skn to the destination. The database is read under a read
// transaction, so a write of the program in progress is never half in the copy. A destination
// that is a symbolic link stays one: the copy replaces the file it points to. With an encryption
// the copy is checked in plain beside DABSH.skn (never beside the destination) and only its
// encrypted form is written to the destination.
Outcome backUp(const QString& dataFolder, const QString& destination, const Progress& progress = {},
               const std::optional<Encryption>& encryption = std::nullopt);

// Replaces the folder's DABSH.skn by the source, when the source is a sound database with the
// program's tables. Closes the program's own connections to the folder first and opens them
// again afterwards; `now` names the safety copy. A DABSH.skn that is a symbolic link stays one.
// An encrypted source (told by its content, see BackupCipher) is opened with the password; a
// wrong password or a damaged file changes nothing. The audit trail is not rewound: the restored
// file goes on with the trail of the file it replaces (on the clinic server the trail stays).
Outcome restore(const QString& dataFolder, const QString& source, const QDateTime& now,
                const Progress& progress = {}, const std::optional<QString>& password = std::nullopt);

// Copies the folder's DABSH.skn as it is, damaged or not, to a new file for someone who can
// recover it. Never replaces a file: a destination that exists is refused.
Outcome saveDamagedCopy(const QString& dataFolder, const QString& destination, const Progress& progress = {});

// What the restore question must say when a restore would replace the clinic server's data.
struct ServerRestoreFacts
{
    QString server;                 // the server's name and its database
    std::optional<qint64> onServer; // subjects the server holds now
    std::optional<qint64> inFile;   // subjects the chosen file holds; none when it cannot be read
};
// Nullopt when the folder works on its own files.
std::optional<ServerRestoreFacts> serverRestoreFacts(const QString& dataFolder, const QString& source);

// True when the file opens as an SQLite database that passes its integrity check.
bool isSoundDatabase(const QString& path);
// A sound database that holds the tables of DABSH.skn.
bool isClinicalDatabase(const QString& path);

// "Velmora" "در تاريخ" date " ساعت)" time ")" ".mdbB", joined without separators.
QString proposedBackupName(const QString& dateText, const QString& timeText);
// The name of the safety copy taken before a restore; `attempt` above 1 adds a number, so that
// no earlier safety copy is ever overwritten.
QString safetyCopyName(const QDateTime& now, int attempt = 1);
// The proposed name of a copy of a damaged DABSH.skn.
QString damagedCopyName(const QString& dateText, const QString& timeText);

} // namespace DatabaseBackup
