#pragma once

#include <QString>
#include <QStringList>

// The program's own temporary copies of the records: a backup, restore, safety copy, server
// snapshot or export is written under a temporary name beside its target and renamed into place.
// One that was cut off (the program killed, the power gone) leaves a full or partial copy of
// client records behind; these are swept away at start and before each such operation.
namespace TemporaryFiles {

// The name patterns, for the folders they are written in. Each ends in the six characters a
// temporary file gets in place of "XXXXXX".
inline const QString backupSuffix = QStringLiteral(".part-");                    // <backup name>.part-XXXXXX
inline const QString restorePrefix = QStringLiteral("DABSH.skn.restore-");       // DABSH.skn.restore-XXXXXX
inline const QString safetyPrefix = QStringLiteral(".safety-");                  // .safety-XXXXXX, in Back/
inline const QString serverSnapshotPrefix = QStringLiteral(".server-snapshot-"); // .server-snapshot-XXXXXX
// The plain copy an encrypted backup is checked on, beside DABSH.skn, never beside the backup.
inline const QString plainCopyPrefix = QStringLiteral(".backup-plain-"); // .backup-plain-XXXXXX
// .<export name>.XXXXXX.part beside an export.

// Whether a file name is one of the program's temporary names.
bool isOwnTemporaryName(const QString& fileName);

// Removes the program's temporary files in one folder (not its subfolders) and returns how many
// went. Only files of the current user that match a name pattern exactly and hold what the program
// writes there (nothing yet, or the beginning of a database or a workbook) are touched, and
// only while no program has them open: a copy that is being written right now is left alone.
int sweep(const QString& folder);

// The folders the program writes its temporary files to: the data folder, its Back folder,
// the folder of the real DABSH.skn when that is a link, the folder of the last backup when
// known, and the documents folder for exports.
QStringList sweptFolders(const QString& dataFolder);
// Sweeps all of them.
void sweepAll(const QString& dataFolder);

// The folder of the last backup the user chose is kept for the sweep at the next start.
void rememberBackupFolder(const QString& folder);
QString rememberedBackupFolder();

// A temporary file of the program: made readable by its owner only, held open (and locked) while
// it is written so that no sweep removes it meanwhile, and removed again unless it was renamed
// into place.
class Held final
{
public:
    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held();

    // A new, empty file in the folder whose name is the prefix, six random characters and the
    // suffix. False when none could be made.
    bool create(const QString& folder, const QString& prefix, const QString& suffix = {});
    const QString& path() const { return m_path; }

    // Gives the file the access rights it is to have in place, just before the rename: those of
    // the file it replaces, or those of a newly made file.
    bool setFinalMode(const QString& replaces);
    // The file was renamed into place: it is no longer removed.
    void release();

private:
    QString m_path;
    int m_descriptor = -1;
};

} // namespace TemporaryFiles
