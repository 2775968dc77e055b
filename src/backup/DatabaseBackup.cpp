#include "DatabaseBackup.h"

#include "BackupTexts.h"
#include "calendar/ShamsiDate.h"
#include "datastore/ClinicServer.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace DatabaseBackup {

namespace {

using Kind = Outcome::Kind;

const QString kRestoreTempPrefix = Database::clinicalFileName + QStringLiteral(".restore-");
const QString kSafetyTempPrefix = QStringLiteral(".safety-");
const QString kServerSnapshotPrefix = QStringLiteral(".server-snapshot-");

Outcome failed(Kind kind, const QString& description)
{
    return {kind, description};
}

QString lastSystemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A connection of its own on one file, removed again when it goes out of scope. Queries on it
// must end before it does.
class ScopedConnection final
{
    Q_DISABLE_COPY_MOVE(ScopedConnection)
public:
    ScopedConnection(const QString& path, bool readOnly)
        : m_name(QStringLiteral("backup-%1").arg(++s_counter))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY")
                                      : QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        m_open = db.open();
    }
    ~ScopedConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    bool isOpen() const { return m_open; }
    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

private:
    static inline int s_counter = 0;
    QString m_name;
    bool m_open = false;
};

// Reads the first table of the file; an arbitrary file fails here.
bool probe(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) && query.next();
}

// The access rights a file renamed over `replaces` should carry: those of the file it replaces,
// or those of a newly made file.
mode_t modeFor(const QString& replaces)
{
    struct stat existing;
    if (::stat(QFile::encodeName(replaces).constData(), &existing) == 0)
        return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A new, empty file in the folder whose name starts with the prefix, with the access rights of
// the file it is to replace; empty when none could be made. The caller removes it unless it
// renames it into place.
QString reserveTemporaryFile(const QString& folder, const QString& prefix, const QString& replaces)
{
    QTemporaryFile file(QDir(folder).filePath(prefix + QStringLiteral("XXXXXX")));
    file.setAutoRemove(false);
    if (!file.open())
        return {};
    ::fchmod(file.handle(), modeFor(replaces));
    return file.fileName();
}

// Removes a temporary file unless it was renamed into place.
class TemporaryFileGuard final
{
    Q_DISABLE_COPY_MOVE(TemporaryFileGuard)
public:
    explicit TemporaryFileGuard(QString path) : m_path(std::move(path)) {}
    ~TemporaryFileGuard()
    {
        if (!m_path.isEmpty())
            QFile::remove(m_path);
    }
    void release() { m_path.clear(); }

private:
    QString m_path;
};

// Replaces the destination by the file in one step: afterwards the destination is either its
// old content or the new one, never a mixture.
bool replaceInOneStep(const QString& file, const QString& destination)
{
    return std::rename(QFile::encodeName(file).constData(), QFile::encodeName(destination).constData()) == 0;
}

// A journal left beside DABSH.skn belongs to the file being replaced: SQLite would play it back
// into the restored file and break it. Opening the database settles it (a pending write is rolled
// back); a journal that stays after that holds nothing and is removed.
bool settleJournals(const QString& databasePath)
{
    const QStringList journals{databasePath + QStringLiteral("-journal"),
                               databasePath + QStringLiteral("-wal")};
    bool any = false;
    for (const QString& journal : journals)
        any = any || QFileInfo::exists(journal);
    if (!any)
        return true;
    {
        ScopedConnection connection(databasePath, false);
        if (!connection.isOpen() || !probe(connection.database()))
            return false;
    }
    for (const QString& journal : journals) {
        if (QFileInfo::exists(journal) && !QFile::remove(journal))
            return false;
    }
    return true;
}

// Restores that were cut off leave their temporary copies behind; only restores make them.
void removeStaleCopies(const QString& folder, const QString& prefix)
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList({prefix + QStringLiteral("*")}, QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(name));
}

// Opens the program's connections to the folder again when it goes out of scope.
class ReopenProgramDatabases final
{
    Q_DISABLE_COPY_MOVE(ReopenProgramDatabases)
public:
    explicit ReopenProgramDatabases(QString folder) : m_folder(std::move(folder))
    {
        m_wereOpen = Database::connection(m_folder, Database::File::Clinical).isOpen();
        Database::closeProgramDatabases(m_folder);
    }
    ~ReopenProgramDatabases()
    {
        if (m_wereOpen)
            Database::openProgramDatabases(m_folder);
    }

private:
    QString m_folder;
    bool m_wereOpen = false;
};

// Keeps the current database in Back/ under a name of its own, never over another file.
Outcome keepSafetyCopy(const QString& folder, const QString& database, const QDateTime& now,
                       const Backup::BlockCopied& blockCopied)
{
    const QString backFolder = QDir(folder).filePath(BackupTexts::backupFolder);
    if (!QDir().mkpath(backFolder))
        return failed(Kind::Refused, BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + backFolder);
    removeStaleCopies(backFolder, kSafetyTempPrefix);
    const QString temporary = reserveTemporaryFile(backFolder, kSafetyTempPrefix, {});
    if (temporary.isEmpty())
        return failed(Kind::Refused, BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + backFolder);
    TemporaryFileGuard guard(temporary);
    QString failure;
    if (!Backup::CopyBackupFile(database, temporary, &failure, blockCopied))
        return failed(Kind::Refused, BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + failure);
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const QString name = QDir(backFolder).filePath(safetyCopyName(now, attempt));
        if (QFileInfo::exists(name))
            continue;
        // QFile::rename never replaces an existing file.
        QFile copy(temporary);
        if (!copy.rename(name))
            return failed(Kind::Refused,
                          BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + copy.errorString());
        guard.release();
        Backup::syncFolder(backFolder);
        return {};
    }
    return failed(Kind::Refused, BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + backFolder);
}

// Writes the clinic server's tables of DABSH.skn, as they stood at one moment, into a new empty
// SQLite file, which then has exactly the shape of a DABSH.skn made by the program.
bool writeServerSnapshot(const QSqlDatabase& server, const QString& path, QString* failure)
{
    ScopedConnection file(path, false);
    QSqlDatabase db = file.database();
    if (!file.isOpen()) {
        *failure = db.lastError().text();
        return false;
    }
    bool written = false;
    {
        Transaction fileTransaction(db);
        if (!fileTransaction.isOpen() || !Database::createEmptyTables(db, Database::File::Clinical)) {
            *failure = db.lastError().text();
            return false;
        }
        // One snapshot for all tables: a subject registered meanwhile is in all of them or none.
        Transaction snapshot(server);
        QSqlQuery isolation(server);
        if (!snapshot.isOpen() ||
            !isolation.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"))) {
            *failure = snapshot.isOpen() ? isolation.lastError().text() : server.lastError().text();
            return false;
        }
        for (const QString& table : Database::tableNames(Database::File::Clinical)) {
            if (!Database::copyTable(server, db, table, failure))
                return false;
        }
        written = fileTransaction.commit();
        if (!written)
            *failure = db.lastError().text();
    }
    return written;
}

Outcome backUpServer(const QSqlDatabase& server, const QString& temporary,
                     const Backup::BlockCopied& blockCopied)
{
    QString failure;
    if (!writeServerSnapshot(server, temporary, &failure))
        return failed(Kind::CopyFailed, BackupTexts::serverSnapshotFailed + QStringLiteral("\r\n") + failure);
    if (blockCopied) {
        const qint64 size = QFileInfo(temporary).size();
        blockCopied(size, size);
    }
    return {};
}

// Replaces the server's subjects, answers and item texts by those of a checked backup file, in one
// transaction, after a snapshot of the server's data is kept in Back/.
Outcome restoreServer(const QString& programFolder, const QString& backupFile, const QDateTime& now,
                      const Backup::BlockCopied& blockCopied)
{
    const QSqlDatabase server = Database::connection(programFolder, Database::File::Clinical);
    const QString snapshot = reserveTemporaryFile(programFolder, kServerSnapshotPrefix, {});
    if (snapshot.isEmpty())
        return failed(Kind::Refused, BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + programFolder);
    TemporaryFileGuard snapshotGuard(snapshot);
    QString failure;
    if (!writeServerSnapshot(server, snapshot, &failure))
        return failed(Kind::Refused, BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + failure);
    const Outcome safety = keepSafetyCopy(programFolder, snapshot, now, blockCopied);
    if (!safety.ok())
        return safety;

    ScopedConnection source(backupFile, true);
    Transaction transaction(server);
    QSqlQuery statement(server);
    if (!transaction.isOpen())
        return failed(Kind::CopyFailed,
                      BackupTexts::serverRestoreFailed + QStringLiteral("\r\n") + server.lastError().text());
    // Other workstations wait for the restore rather than write into the data it replaces.
    const QStringList tables = Database::tableNames(Database::File::Clinical);
    QStringList quoted;
    for (const QString& table : tables)
        quoted << quotedIdentifier(table);
    bool ok = statement.exec(QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(quoted.join(u',')));
    for (const QString& table : tables)
        ok = ok && statement.exec(QStringLiteral("DELETE FROM %1").arg(quotedIdentifier(table)));
    if (!ok)
        failure = statement.lastError().text();
    for (const QString& table : tables)
        ok = ok && Database::copyTable(source.database(), server, table, &failure);
    if (!ok || !transaction.commit())
        return failed(Kind::CopyFailed, BackupTexts::serverRestoreFailed + QStringLiteral("\r\n") +
                                            (failure.isEmpty() ? server.lastError().text() : failure));
    return {};
}

} // namespace

bool isSoundDatabase(const QString& path)
{
    ScopedConnection connection(path, true);
    if (!connection.isOpen())
        return false;
    QSqlQuery check(connection.database());
    if (!check.exec(QStringLiteral("PRAGMA integrity_check")) || !check.next())
        return false;
    return check.value(0).toString() == QLatin1String("ok") && !check.next();
}

bool isClinicalDatabase(const QString& path)
{
    if (!QFileInfo(path).isFile() || !isSoundDatabase(path))
        return false;
    ScopedConnection connection(path, true);
    const QStringList tables = connection.database().tables();
    for (const QString& table : Database::tableNames(Database::File::Clinical)) {
        if (!tables.contains(table, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

Outcome backUp(const QString& programFolder, const QString& destination,
               const Backup::BlockCopied& blockCopied)
{
    const QString database = QDir(programFolder).filePath(Database::clinicalFileName);
    const QFileInfo target(destination);
    if (target.isDir())
        return failed(Kind::CopyFailed,
                      BackupTexts::destinationUnwritable + QStringLiteral("\r\n") + destination);
    const QString temporary = reserveTemporaryFile(target.absolutePath(),
                                                   target.fileName() + QStringLiteral(".part-"), destination);
    if (temporary.isEmpty())
        return failed(Kind::CopyFailed,
                      BackupTexts::destinationUnwritable + QStringLiteral("\r\n") + destination);
    TemporaryFileGuard guard(temporary);

    if (ClinicServer::isInUse(programFolder)) {
        const Outcome snapshot = backUpServer(Database::connection(programFolder, Database::File::Clinical),
                                              temporary, blockCopied);
        if (!snapshot.ok())
            return snapshot;
    } else {
        // The read transaction holds SQLite's shared lock for the whole copy: no writer can
        // commit meanwhile, and a writer whose changes already reach the file keeps the copy from
        // starting. (Closing the copy's own handle on the file releases the process's locks, so
        // the transaction ends right after it.)
        if (!QFileInfo(database).isFile())
            return failed(Kind::CopyFailed, BackupTexts::sourceMissing + QStringLiteral("\r\n") + database);
        ScopedConnection reader(database, false);
        QSqlQuery lock(reader.database());
        if (!reader.isOpen() || !lock.exec(QStringLiteral("BEGIN")) || !probe(reader.database()))
            return failed(Kind::CopyFailed, BackupTexts::databaseBusy);
        QString failure;
        const int copied = Backup::CopyBackupFile(database, temporary, &failure, blockCopied);
        lock.exec(QStringLiteral("ROLLBACK"));
        if (!copied)
            return failed(Kind::CopyFailed, failure);
    }

    if (!isSoundDatabase(temporary))
        return failed(Kind::CopyFailed, BackupTexts::copyNotSound);
    if (!replaceInOneStep(temporary, destination))
        return failed(Kind::CopyFailed, BackupTexts::replaceFailed + QStringLiteral("\r\n") + destination +
                                            QStringLiteral("\r\n") + lastSystemError());
    guard.release();
    Backup::syncFolder(target.absolutePath());
    return {};
}

Outcome restore(const QString& programFolder, const QString& source, const QDateTime& now,
                const Backup::BlockCopied& blockCopied)
{
    // On the clinic server the program's connections stay open: the restore is one transaction there.
    const bool onServer = ClinicServer::isInUse(programFolder);
    const QString database = QDir(programFolder).filePath(Database::clinicalFileName);
    std::optional<ReopenProgramDatabases> reopen;
    if (!onServer) {
        reopen.emplace(programFolder);
        if (!settleJournals(database))
            return failed(Kind::Refused, BackupTexts::databaseInUse);
    }
    removeStaleCopies(programFolder, kRestoreTempPrefix);

    const QString temporary =
        reserveTemporaryFile(programFolder, kRestoreTempPrefix, onServer ? QString() : database);
    if (temporary.isEmpty())
        return failed(Kind::CopyFailed,
                      BackupTexts::destinationUnwritable + QStringLiteral("\r\n") + database);
    TemporaryFileGuard guard(temporary);
    QString failure;
    if (!Backup::CopyBackupFile(source, temporary, &failure, blockCopied))
        return failed(Kind::CopyFailed, failure);
    if (!isClinicalDatabase(temporary))
        return failed(Kind::Refused, BackupTexts::notABackup);
    if (onServer)
        return restoreServer(programFolder, temporary, now, blockCopied);

    if (QFileInfo::exists(database)) {
        const Outcome safety = keepSafetyCopy(programFolder, database, now, blockCopied);
        if (!safety.ok())
            return safety;
    }
    if (!replaceInOneStep(temporary, database))
        return failed(Kind::CopyFailed, BackupTexts::replaceFailed + QStringLiteral("\r\n") + database +
                                            QStringLiteral("\r\n") + lastSystemError());
    guard.release();
    Backup::syncFolder(programFolder);
    return {};
}

QString proposedBackupName(const QString& dateText, const QString& timeText)
{
    namespace T = BackupTexts;
    return T::nameProduct + T::nameOnDate + dateText + T::nameAtTime + timeText + T::nameTimeEnd +
           T::backupExtension;
}

QString safetyCopyName(const QDateTime& now, int attempt)
{
    namespace T = BackupTexts;
    QString name = T::nameProduct + T::safetyNameOnDate + ShamsiDate(now.date(), 4) + T::nameAtTime +
                   now.time().toString(QStringLiteral("H.mm.ss")) + T::nameTimeEnd;
    if (attempt > 1)
        name += QStringLiteral("-%1").arg(attempt);
    return name + T::backupExtension;
}

} // namespace DatabaseBackup
