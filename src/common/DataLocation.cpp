#include "DataLocation.h"

#include "CommonTexts.h"
#include "FileProblem.h"
#include "Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DataLocation {

namespace {

// Whether a file can be made in the folder; errorNumber receives why not.
bool tryToCreateFileIn(const QString& folder, int* errorNumber)
{
    *errorNumber = 0;
    if (folder.isEmpty()) {
        *errorNumber = ENOENT;
        return false;
    }
    // A name of this process and a random part: two copies starting together, or a file of that
    // name left behind, never make the check fail or remove someone else's file.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QString name = QStringLiteral(".velmora-write-check-%1-%2")
                                 .arg(::getpid())
                                 .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
        const QByteArray path = QFile::encodeName(QDir(folder).filePath(name));
        const int descriptor =
            ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (descriptor < 0) {
            if (errno == EEXIST)
                continue;
            *errorNumber = errno;
            return false;
        }
        ::close(descriptor);
        // A folder where files can be made but not removed again (a sticky folder of another
        // user's, say) cannot hold the program's temporary copies and their renames either.
        if (::unlink(path.constData()) != 0) {
            *errorNumber = errno;
            return false;
        }
        return true;
    }
    *errorNumber = EEXIST;
    return false;
}

// Makes the folder and every missing folder above it, each readable by its owner only (the XDG
// rule for the data home, and the data folder holds client records).
bool makeFolderChain(const QString& folder, int* errorNumber)
{
    *errorNumber = 0;
    QStringList missing;
    QString current = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo::exists(current)) {
        missing.prepend(current);
        const QString parent = QFileInfo(current).path();
        if (parent == current)
            break;
        current = parent;
    }
    for (const QString& path : missing) {
        const QByteArray name = QFile::encodeName(path);
        if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
            *errorNumber = errno;
            return false;
        }
    }
    if (!QFileInfo(folder).isDir()) {
        *errorNumber = ENOTDIR;
        return false;
    }
    return true;
}

} // namespace

Folders choose(const Facts& facts)
{
    const bool installed = !facts.programFolderWritable || !facts.installedSharedFolder.isEmpty();
    if (!installed)
        return Folders{facts.programFolder, facts.programFolder, true};
    // A read-only copy without the package's layout (a program folder on a read-only share, say)
    // still has its skins beside it.
    const QString shared =
        facts.installedSharedFolder.isEmpty() ? facts.programFolder : facts.installedSharedFolder;
    return Folders{facts.userDataFolder, shared, false};
}

bool canCreateFilesIn(const QString& folder)
{
    int errorNumber = 0;
    return tryToCreateFileIn(folder, &errorNumber);
}

QString sharedFolderBeside(const QString& programFolder)
{
    return QDir::cleanPath(QDir(programFolder).absoluteFilePath(QStringLiteral("../share/velmora")));
}

QString userDataFolder()
{
    // Without a home Qt would name a folder under the root folder, which is nobody's.
    if (qEnvironmentVariableIsEmpty("XDG_DATA_HOME") && qEnvironmentVariableIsEmpty("HOME"))
        return {};
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return {};
    return QDir(dataHome).filePath(QStringLiteral("Velmora"));
}

Facts factsOf(const QString& programFolder)
{
    Facts facts;
    facts.programFolder = programFolder;
    facts.programFolderWritable = canCreateFilesIn(programFolder);
    const QString shared = sharedFolderBeside(programFolder);
    if (QFileInfo(shared).isDir())
        facts.installedSharedFolder = shared;
    facts.userDataFolder = userDataFolder();
    return facts;
}

bool makeDataFolder(const Folders& folders, QString* reason)
{
    if (folders.portable)
        return true;
    if (folders.dataFolder.isEmpty()) {
        *reason = CommonTexts::noHomeFolder;
        return false;
    }
    const QString message = CommonTexts::dataFolderNotMade.arg(QDir::toNativeSeparators(folders.dataFolder));
    int errorNumber = 0;
    if (!makeFolderChain(folders.dataFolder, &errorNumber) ||
        !tryToCreateFileIn(folders.dataFolder, &errorNumber)) {
        *reason = withWriteProblem(message, QDir(folders.dataFolder).filePath(QStringLiteral("DABSH.skn")),
                                   errorNumber);
        return false;
    }
    return true;
}

std::optional<Folders> settle(Prompts& prompts)
{
    const Folders folders = choose(factsOf(QCoreApplication::applicationDirPath()));
    QString reason;
    if (makeDataFolder(folders, &reason))
        return folders;
    prompts.message(nullptr, CommonTexts::warningTitle, reason, Prompts::Icon::Critical, true);
    return std::nullopt;
}

} // namespace DataLocation
