#include "TemporaryFiles.h"

#include "BackupCipher.h"
#include "BackupTexts.h"
#include "common/FileLinks.h"
#include "datastore/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TemporaryFiles {

namespace {

// The six characters a temporary file gets in place of "XXXXXX".
const QString kRandom = QStringLiteral("[A-Za-z0-9]{6}");

enum class Content
{
    Database,
    Workbook
};

struct Pattern
{
    QRegularExpression name;
    Content content;
};

const QList<Pattern>& patterns()
{
    static const QList<Pattern> all{
        {QRegularExpression(QStringLiteral("^.+") + QRegularExpression::escape(backupSuffix) + kRandom +
                            u'$'),
         Content::Database},
        {QRegularExpression(u'^' + QRegularExpression::escape(restorePrefix) + kRandom + u'$'),
         Content::Database},
        {QRegularExpression(u'^' + QRegularExpression::escape(safetyPrefix) + kRandom + u'$'),
         Content::Database},
        {QRegularExpression(u'^' + QRegularExpression::escape(serverSnapshotPrefix) + kRandom + u'$'),
         Content::Database},
        {QRegularExpression(u'^' + QRegularExpression::escape(plainCopyPrefix) + kRandom + u'$'),
         Content::Database},
        {QRegularExpression(QStringLiteral("^\\..+\\.") + kRandom + QStringLiteral("\\.part$")),
         Content::Workbook},
    };
    return all;
}

const Pattern* patternOf(const QString& fileName)
{
    for (const Pattern& pattern : patterns()) {
        if (pattern.name.match(fileName).hasMatch())
            return &pattern;
    }
    return nullptr;
}

// What a partial copy begins with: nothing yet, or the first bytes of what is being written.
bool beginsAsWritten(int descriptor, Content content)
{
    static const QByteArray database("SQLite format 3\0", 16);
    static const QByteArray workbook("PK\x03\x04", 4);
    const QByteArray& header = content == Content::Database ? database : workbook;
    QByteArray start(header.size(), '\0');
    const ssize_t got = ::pread(descriptor, start.data(), static_cast<size_t>(start.size()), 0);
    if (got == 0)
        return true;
    // A backup being encrypted begins with its own header instead.
    if (content == Content::Database && got == start.size() && start == BackupCipher::magic)
        return true;
    return got == start.size() && start == header;
}

// Removes one file when it is the program's own leftover and nobody has it open.
bool sweepOne(const QString& path, Content content)
{
    const QByteArray name = QFile::encodeName(path);
    const int descriptor = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    bool removed = false;
    struct stat status;
    // A copy being written holds its lock; other writers (an export) are seen by the lease, which
    // only a file nobody else has open can get. Where leases are not to be had, the lock decides.
    const bool ours =
        ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid();
    if (ours && ::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
        const bool leased = ::fcntl(descriptor, F_SETLEASE, F_WRLCK) == 0;
        const bool inUse = !leased && errno == EAGAIN;
        if (!inUse && beginsAsWritten(descriptor, content))
            removed = ::unlink(name.constData()) == 0;
        if (leased)
            ::fcntl(descriptor, F_SETLEASE, F_UNLCK);
    }
    ::close(descriptor);
    return removed;
}

const QString kRememberedFolderKey = QStringLiteral("Backup/LastFolder");

QSettings userSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velmora"),
                     QStringLiteral("Velmora"));
}

} // namespace

bool isOwnTemporaryName(const QString& fileName)
{
    return patternOf(fileName) != nullptr;
}

int sweep(const QString& folder)
{
    if (folder.isEmpty())
        return 0;
    const QDir dir(folder);
    int removed = 0;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (const Pattern* pattern = patternOf(name);
            pattern && sweepOne(dir.filePath(name), pattern->content))
            ++removed;
    }
    return removed;
}

QStringList sweptFolders(const QString& dataFolder)
{
    const QDir program(dataFolder);
    const QStringList candidates{
        dataFolder,
        program.filePath(BackupTexts::backupFolder),
        QFileInfo(FileLinks::realTarget(program.filePath(Database::clinicalFileName))).absolutePath(),
        rememberedBackupFolder(),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
    };
    QStringList folders;
    QStringList seen;
    for (const QString& folder : candidates) {
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            continue;
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (seen.contains(canonical))
            continue;
        seen << canonical;
        folders << folder;
    }
    return folders;
}

void sweepAll(const QString& dataFolder)
{
    for (const QString& folder : sweptFolders(dataFolder))
        sweep(folder);
}

void rememberBackupFolder(const QString& folder)
{
    QSettings settings = userSettings();
    settings.setValue(kRememberedFolderKey, QFileInfo(folder).absoluteFilePath());
}

QString rememberedBackupFolder()
{
    return userSettings().value(kRememberedFolderKey).toString();
}

Held::~Held()
{
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

bool Held::create(const QString& folder, const QString& prefix, const QString& suffix)
{
    // QTemporaryFile makes the file readable by its owner only.
    QTemporaryFile file(QDir(folder).filePath(prefix + QStringLiteral("XXXXXX") + suffix));
    file.setAutoRemove(false);
    if (!file.open())
        return false;
    // A descriptor of its own, so that the lock lasts until this object ends; taken before the
    // temporary file object lets go of the file, so that it is never open by nobody. A network
    // drive without locks still takes the copy: the open descriptor keeps a sweep of this
    // computer away from it.
    const int descriptor = ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 || (::flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)) {
        if (descriptor >= 0)
            ::close(descriptor);
        file.remove();
        return false;
    }
    m_path = file.fileName();
    m_descriptor = descriptor;
    return true;
}

bool Held::setFinalMode(const QString& replaces)
{
    mode_t mode = 0;
    struct stat existing;
    if (::stat(QFile::encodeName(replaces).constData(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    return ::fchmod(m_descriptor, mode) == 0;
}

void Held::release()
{
    m_path.clear();
}

} // namespace TemporaryFiles
