#pragma once

#include <QString>

#include <optional>

class Prompts;

// Where one copy of the program keeps its files. A portable copy, in a folder its user may write,
// keeps everything beside the executable, as it always has. An installed copy (in a folder the
// user may not write, or beside the package's shared folder <program folder>/../share/velmora)
// keeps each user's data in that user's own XDG data folder, ~/.local/share/Velmora, and reads
// the shipped skins from the shared folder.
namespace DataLocation {

struct Folders
{
    // DABSH.skn, Theme.skn, VMpic.jpg, skin/skin.txt, Back/, Server.ini, the single-instance lock,
    // exported bitmaps, the temporary copies of a backup or restore and the updater's download.
    QString dataFolder;
    // The shipped, read-only files: skin/1.skn … skin/48.skn.
    QString sharedFolder;
    bool portable = true;
};

// What the choice depends on, gathered from the file system by factsOf().
struct Facts
{
    QString programFolder;
    // Files can be made in the program folder (canCreateFilesIn).
    bool programFolderWritable = true;
    // <program folder>/../share/velmora exists: the package's layout.
    QString installedSharedFolder; // empty when there is none
    // <XDG data home>/Velmora; empty when the user's home is not known.
    QString userDataFolder;
};

// The folders for the given facts; no file is looked at.
Folders choose(const Facts& facts);

// Whether a file can be made in a folder, found out by making one of a name nobody else uses and
// removing it again. Permission bits alone do not tell: a read-only mount or an access list is
// only seen by trying, and root passes every permission check. False for a path that is not a
// folder. (Root may write /usr/bin: the shared folder beside it tells that copy it is installed.)
bool canCreateFilesIn(const QString& folder);

// The package's shared folder beside a program folder, whether or not it exists.
QString sharedFolderBeside(const QString& programFolder);
// <XDG data home>/Velmora (QStandardPaths::GenericDataLocation, which honours XDG_DATA_HOME).
QString userDataFolder();

Facts factsOf(const QString& programFolder);

// Makes an installed copy's data folder on its first start, readable by its user only (and any
// missing folder above it likewise), and checks that files can be made in it. A portable copy's
// folder is the program's own and needs nothing. False, with the Persian reason, when the folder
// cannot be made or written.
bool makeDataFolder(const Folders& folders, QString* reason);

// The folders of this program (the executable's folder), with the data folder made. Where it
// cannot be made the user is told why and where, and the caller ends: the data never quietly goes
// somewhere else.
std::optional<Folders> settle(Prompts& prompts);

} // namespace DataLocation
