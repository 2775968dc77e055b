#include "DatabaseBackup.h"

#include "BackupTexts.h"
#include "TemporaryFiles.h"
#include "calendar/ShamsiDate.h"
#include "common/BackgroundWork.h"
#include "common/FileLinks.h"
#include "common/FileProblem.h"
#include "datastore/AdministrationDetails.h"
#include "datastore/AdministrationStore.h"
#include "datastore/AuditTable.h"
#include "datastore/ClinicServer.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DatabaseBackup {

namespace {

using Kind = Outcome::Kind;

Outcome failed(Kind kind, const QString& description)
{
    return {kind, description};
}

// A file or folder that could not be written: the message, and on a line of its own the reason in
// Persian words where one is known. errorNumber is errno right after the failing call.
Outcome writeFailed(Kind kind, const QString& message, const QString& path, int errorNumber = 0)
{
    return failed(kind, withWriteProblem(message, path, errorNumber));
}

QString lastSystemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A connection of its own on one file, removed again when it goes out of scope. Queries on it
// must end before it does. Usable on any thread, as the checks run beside the window.
class ScopedConnection final
{
    Q_DISABLE_COPY_MOVE(ScopedConnection)
public:
    ScopedConnection(const QString& path, bool readOnly)
        : m_name(QStringLiteral("backup-%1").arg(s_counter.fetchAndAddRelaxed(1)))
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
    static inline QAtomicInt s_counter;
    QString m_name;
    bool m_open = false;
};

// Another program holds a lock on the file: a passing state, not damage.
bool isBusy(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("5") || code == QLatin1String("6"); // SQLITE_BUSY, SQLITE_LOCKED
}

// Reads the first table of the file; an arbitrary file fails here.
bool probe(const QSqlDatabase& db, QSqlError* error = nullptr)
{
    QSqlQuery query(db);
    const bool ok = query.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) && query.next();
    if (!ok && error)
        *error = query.lastError();
    return ok;
}

// Runs a check of a copy beside the window and waits for its answer while the window goes on
// answering and repainting. Without an application (a command-line tool) or off its thread the
// check simply runs.
bool checkedBesideTheWindow(std::function<bool()> check, const Progress& progress)
{
    if (progress.checking)
        progress.checking();
    const QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread())
        return check();
    BackgroundWork work;
    QEventLoop loop;
    std::optional<bool> answer;
    work.start(std::move(check), [&answer, &loop](bool sound) {
        answer = sound;
        loop.quit();
    });
    if (!answer)
        loop.exec();
    if (!answer) {
        // The loop was ended from elsewhere (the program is being closed): the answer still comes.
        work.waitForAll();
        QCoreApplication::sendPostedEvents();
    }
    return answer.value_or(false);
}

// Replaces the destination by the file in one step: afterwards the destination is either its
// old content or the new one, never a mixture.
bool replaceInOneStep(const QString& file, const QString& destination)
{
    return std::rename(QFile::encodeName(file).constData(), QFile::encodeName(destination).constData()) == 0;
}

// Puts the file in place under a name that must not exist yet; false (errno EEXIST) when it does.
bool placeWithoutReplacing(const QString& file, const QString& destination)
{
    const QByteArray from = QFile::encodeName(file);
    const QByteArray to = QFile::encodeName(destination);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without that kind of rename: a second name, which is never made over a file.
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return true;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
        return false;
    // Nor with second names (some network drives): the name is looked at right before the rename.
    struct stat existing;
    if (::lstat(to.constData(), &existing) == 0) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.constData(), to.constData()) == 0;
}

enum class JournalState
{
    None,     // nothing beside the database
    Settled,  // played back or found empty, and removed
    Busy,     // another program is writing
    Unsettled // the database cannot be read, so its journal could not be played back
};

QStringList journalsOf(const QString& databasePath)
{
    return {databasePath + QStringLiteral("-journal"), databasePath + QStringLiteral("-wal")};
}

// A journal left beside DABSH.skn belongs to the file being replaced: SQLite would play it back
// into the restored file and break it. Opening the database settles it (a pending write is rolled
// back); a journal that stays after that holds nothing and is removed. One of a file that cannot
// be read any more is kept with the safety copy (keepJournals) instead.
JournalState settleJournals(const QString& databasePath)
{
    bool any = false;
    for (const QString& journal : journalsOf(databasePath))
        any = any || QFileInfo::exists(journal);
    if (!any)
        return JournalState::None;
    {
        ScopedConnection connection(databasePath, false);
        QSqlError error = connection.database().lastError();
        if (!connection.isOpen() || !probe(connection.database(), &error))
            return isBusy(error) ? JournalState::Busy : JournalState::Unsettled;
    }
    for (const QString& journal : journalsOf(databasePath)) {
        if (QFileInfo::exists(journal) && !QFile::remove(journal))
            return JournalState::Busy;
    }
    return JournalState::Settled;
}

// Moves the journals of a damaged database beside its safety copy, where whoever recovers the
// file finds them, and out of the way of the restored file.
bool keepJournals(const QString& databasePath, const QString& safetyCopy)
{
    const QStringList journals = journalsOf(databasePath);
    for (const QString& journal : journals) {
        if (!QFileInfo::exists(journal))
            continue;
        const QString kept = safetyCopy + journal.mid(databasePath.size());
        if (!QFile::rename(journal, kept) &&
            !(Backup::CopyBackupFile(journal, kept) && QFile::remove(journal)))
            return false;
    }
    return true;
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

QString backFolderOf(const QString& dataFolder)
{
    return QDir(dataFolder).filePath(BackupTexts::backupFolder);
}

// Starts a copy that is to become the file at target: the folder is kept for the sweep at the next
// start, what a copy cut off there earlier left is swept, and the new copy is held beside the
// target under its name and the backup suffix.
bool holdCopyBeside(const QFileInfo& target, TemporaryFiles::Held& temporary)
{
    TemporaryFiles::rememberBackupFolder(target.absolutePath());
    TemporaryFiles::sweep(target.absolutePath());
    return temporary.create(target.absolutePath(), target.fileName() + TemporaryFiles::backupSuffix);
}

// Keeps the current database in Back/ under a name of its own, never over another file; `kept`
// receives its path.
Outcome keepSafetyCopy(const QString& folder, const QString& database, const QDateTime& now,
                       const Progress& progress, QString* kept = nullptr)
{
    const QString backFolder = backFolderOf(folder);
    if (!QDir().mkpath(backFolder))
        return writeFailed(Kind::Refused, BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + backFolder,
                           backFolder);
    TemporaryFiles::sweep(backFolder);
    TemporaryFiles::Held temporary;
    if (!temporary.create(backFolder, TemporaryFiles::safetyPrefix)) {
        const int error = errno;
        return writeFailed(Kind::Refused, BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + backFolder,
                           QDir(backFolder).filePath(TemporaryFiles::safetyPrefix), error);
    }
    QString failure;
    if (!Backup::CopyBackupFile(database, temporary.path(), &failure, progress.blockCopied))
        return failed(Kind::Refused, BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + failure);
    temporary.setFinalMode({});
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const QString name = QDir(backFolder).filePath(safetyCopyName(now, attempt));
        if (QFileInfo::exists(name))
            continue;
        if (!placeWithoutReplacing(temporary.path(), name)) {
            const int error = errno;
            if (error == EEXIST)
                continue;
            return writeFailed(Kind::Refused,
                               BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + lastSystemError(),
                               name, error);
        }
        temporary.release();
        Backup::syncFolder(backFolder);
        if (kept)
            *kept = name;
        return {};
    }
    return failed(Kind::Refused, BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + backFolder);
}

// Writes the clinic server's tables of DABSH.skn into a new empty SQLite file, which then has
// exactly the shape of a DABSH.skn made by the program. The caller holds the server transaction
// that makes the tables one moment's state.
bool writeServerSnapshot(const QSqlDatabase& server, const QString& path, QString* failure)
{
    ScopedConnection file(path, false);
    QSqlDatabase db = file.database();
    if (!file.isOpen()) {
        *failure = db.lastError().text();
        return false;
    }
    Transaction fileTransaction(db);
    if (!fileTransaction.isOpen() || !Database::createEmptyTables(db, Database::File::Clinical)) {
        *failure = db.lastError().text();
        return false;
    }
    for (const QString& table : Database::tableNames(Database::File::Clinical)) {
        if (!Database::copyTable(server, db, table, failure))
            return false;
    }
    if (!Database::replaceAccounts(server, db, failure))
        return false;
    if (!AuditTable::copy(server, db, failure) || !AdministrationStore::copy(server, db, failure))
        return false;
    if (!fileTransaction.commit()) {
        *failure = db.lastError().text();
        return false;
    }
    return true;
}

Outcome backUpServer(const QSqlDatabase& server, const QString& temporary, const Progress& progress)
{
    QString failure;
    {
        // One snapshot for all tables: a subject registered meanwhile is in all of them or none.
        Transaction snapshot(server);
        QSqlQuery isolation(server);
        if (!snapshot.isOpen() ||
            !isolation.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"))) {
            failure = snapshot.isOpen() ? isolation.lastError().text() : server.lastError().text();
            return failed(Kind::CopyFailed,
                          BackupTexts::serverSnapshotFailed + QStringLiteral("\r\n") + failure);
        }
        if (!writeServerSnapshot(server, temporary, &failure))
            return writeFailed(Kind::CopyFailed,
                               BackupTexts::serverSnapshotFailed + QStringLiteral("\r\n") + failure,
                               temporary);
    }
    if (progress.blockCopied) {
        const qint64 size = QFileInfo(temporary).size();
        progress.blockCopied(size, size);
    }
    return {};
}

// Replaces the server's subjects, answers and item texts by those of a checked backup file, in one
// transaction. The tables are locked first and the safety snapshot is taken inside that same
// transaction: whatever another workstation stored before the lock is in the snapshot, and
// nothing can be stored between the snapshot and the replacement.
Outcome restoreServer(const QString& dataFolder, const QString& backupFile, const QDateTime& now,
                      const Progress& progress)
{
    const QSqlDatabase server = Database::connection(dataFolder, Database::File::Clinical);
    Transaction transaction(server);
    QSqlQuery statement(server);
    if (!transaction.isOpen())
        return failed(Kind::CopyFailed,
                      BackupTexts::serverRestoreFailed + QStringLiteral("\r\n") + server.lastError().text());
    // Other workstations wait for the restore rather than write into the data it replaces; they
    // may still read.
    const QStringList tables = Database::tableNames(Database::File::Clinical);
    QStringList quoted;
    for (const QString& table : tables)
        quoted << quotedIdentifier(table);
    quoted << quotedIdentifier(AdministrationStore::table) << quotedIdentifier(AdministrationDetails::table);
    if (!statement.exec(QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(quoted.join(u','))))
        return failed(Kind::CopyFailed, BackupTexts::serverRestoreFailed + QStringLiteral("\r\n") +
                                            statement.lastError().text());

    // The data folder was swept by the restore that calls this, just before its copy.
    TemporaryFiles::Held snapshot;
    if (!snapshot.create(dataFolder, TemporaryFiles::serverSnapshotPrefix)) {
        const int error = errno;
        return writeFailed(Kind::Refused, BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + dataFolder,
                           QDir(dataFolder).filePath(TemporaryFiles::serverSnapshotPrefix), error);
    }
    QString failure;
    if (!writeServerSnapshot(server, snapshot.path(), &failure))
        return writeFailed(Kind::Refused, BackupTexts::safetyCopyFailed + QStringLiteral("\r\n") + failure,
                           snapshot.path());
    const Outcome safety = keepSafetyCopy(dataFolder, snapshot.path(), now, progress);
    if (!safety.ok())
        return safety;

    ScopedConnection source(backupFile, true);
    bool ok = true;
    for (const QString& table : tables)
        ok = ok && statement.exec(QStringLiteral("DELETE FROM %1").arg(quotedIdentifier(table)));
    if (!ok)
        failure = statement.lastError().text();
    // A backup made before administrations were kept leaves none: it holds only the latest ones.
    ok = ok && AdministrationStore::clear(server, &failure);
    for (const QString& table : tables)
        ok = ok && Database::copyTable(source.database(), server, table, &failure);
    ok = ok && AdministrationStore::copy(source.database(), server, &failure);
    // The server's accounts stay; a server that has none yet takes the backup's (see carryProtection).
    if (ok && Database::rowCount(server, Database::accountsTable).value_or(1) == 0 &&
        Database::rowCount(source.database(), Database::accountsTable).value_or(0) > 0)
        ok = Database::replaceAccounts(source.database(), server, &failure);
    if (!ok || !transaction.commit())
        return failed(Kind::CopyFailed, BackupTexts::serverRestoreFailed + QStringLiteral("\r\n") +
                                            (failure.isEmpty() ? server.lastError().text() : failure));
    return {};
}

std::optional<qint64> subjectCount(const QSqlDatabase& db)
{
    QSqlQuery count(db);
    if (!count.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(quotedIdentifier(QStringLiteral("IDE")))) ||
        !count.next())
        return std::nullopt;
    return count.value(0).toLongLong();
}

// What a restore takes over from the file it replaces rather than from the backup, which brings
// back the records and nothing else:
// - the audit trail, or restoring an old backup would wipe out the record of everything done
//   since; the restored copy goes on from the current trail;
// - the accounts, or restoring a backup made before sign-in was turned on would turn it off, and
//   an older one would bring back passwords changed since. Where the current file has none (a new
//   computer), the backup's own stay, so a protected record restored there stays protected.
// Where the current file cannot be read (a damaged file), the backup's own stay. Where there is
// nothing to take over, the restored copy stays exactly the backup's bytes. False, with the
// reason, when the restored copy could not be written.
bool carryProtection(const QString& current, const QString& restored, QString* failure)
{
    ScopedConnection from(current, true);
    if (!from.isOpen())
        return true;
    const bool carryTrail = Database::rowCount(from.database(), AuditTable::name).value_or(0) > 0;
    const bool carryAccounts = Database::rowCount(from.database(), Database::accountsTable).value_or(0) > 0;
    if (!carryTrail && !carryAccounts)
        return true;
    ScopedConnection to(restored, false);
    QSqlDatabase db = to.database();
    Transaction transaction(db);
    bool ok = transaction.isOpen();
    QSqlQuery statement(db);
    if (ok && carryTrail) {
        // Dropping the table takes its append-only triggers along; they are made anew with it.
        ok = statement.exec(QStringLiteral("DROP TABLE IF EXISTS \"AuditTrail\"")) &&
             AuditTable::ensure(db, failure) && AuditTable::copy(from.database(), db, failure);
    }
    if (ok && carryAccounts)
        ok = Database::ensureAccountTables(db) && Database::replaceAccounts(from.database(), db, failure);
    ok = ok && transaction.commit();
    if (!ok && failure && failure->isEmpty())
        *failure = db.lastError().text();
    return ok;
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

Outcome backUp(const QString& dataFolder, const QString& destination, const Progress& progress,
               const std::optional<Encryption>& encryption)
{
    const QString database = QDir(dataFolder).filePath(Database::clinicalFileName);
    if (QFileInfo(destination).isDir())
        return failed(Kind::CopyFailed,
                      BackupTexts::destinationUnwritable + QStringLiteral("\r\n") + destination);
    const QFileInfo target(FileLinks::realTarget(destination));
    TemporaryFiles::Held temporary;
    if (!holdCopyBeside(target, temporary)) {
        const int error = errno;
        return writeFailed(Kind::CopyFailed,
                           BackupTexts::destinationUnwritable + QStringLiteral("\r\n") + destination,
                           target.filePath(), error);
    }
    // An encrypted backup is first copied and checked in plain where the database itself lies, so
    // that nothing readable of it ever reaches the backup's folder (a memory stick, a share).
    TemporaryFiles::Held plainCopy;
    if (encryption) {
        TemporaryFiles::sweep(dataFolder);
        if (!plainCopy.create(dataFolder, TemporaryFiles::plainCopyPrefix)) {
            const int error = errno;
            return writeFailed(Kind::CopyFailed,
                               BackupTexts::destinationUnwritable + QStringLiteral("\r\n") + dataFolder,
                               QDir(dataFolder).filePath(TemporaryFiles::plainCopyPrefix), error);
        }
    }
    const QString copy = encryption ? plainCopy.path() : temporary.path();

    if (ClinicServer::isInUse(dataFolder)) {
        const Outcome snapshot =
            backUpServer(Database::connection(dataFolder, Database::File::Clinical), copy, progress);
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
        const int copied = Backup::CopyBackupFile(database, copy, &failure, progress.blockCopied);
        lock.exec(QStringLiteral("ROLLBACK"));
        if (!copied)
            return failed(Kind::CopyFailed, failure);
    }

    if (!checkedBesideTheWindow([copy] { return isSoundDatabase(copy); }, progress))
        return failed(Kind::CopyFailed, BackupTexts::copyNotSound);
    if (encryption) {
        if (progress.encrypting)
            progress.encrypting();
        QString failure;
        if (BackupCipher::encryptFile(copy, temporary.path(), encryption->password, encryption->strength,
                                      &failure, progress.blockCopied,
                                      progress.deriving) != BackupCipher::Failure::None)
            return failed(Kind::CopyFailed, failure);
    }
    temporary.setFinalMode(target.filePath());
    if (!replaceInOneStep(temporary.path(), target.filePath())) {
        const int error = errno;
        return writeFailed(Kind::CopyFailed,
                           BackupTexts::replaceFailed + QStringLiteral("\r\n") + destination +
                               QStringLiteral("\r\n") + lastSystemError(),
                           target.filePath(), error);
    }
    temporary.release();
    Backup::syncFolder(target.absolutePath());
    return {};
}

Outcome restore(const QString& dataFolder, const QString& source, const QDateTime& now,
                const Progress& progress, const std::optional<QString>& password)
{
    // On the clinic server the program's connections stay open: the restore is one transaction there.
    const bool onServer = ClinicServer::isInUse(dataFolder);
    // Written beside the real file, so that a DABSH.skn that links elsewhere goes on doing so.
    const QString database = FileLinks::realTarget(QDir(dataFolder).filePath(Database::clinicalFileName));
    const QString databaseFolder = QFileInfo(database).absolutePath();
    std::optional<ReopenProgramDatabases> reopen;
    JournalState journals = JournalState::None;
    if (!onServer) {
        reopen.emplace(dataFolder);
        journals = settleJournals(database);
        if (journals == JournalState::Busy)
            return failed(Kind::Refused, BackupTexts::databaseInUse);
    }
    // Leftovers of a restore cut off earlier: in the data folder (where the copy of a restore
    // into the clinic server and its snapshot are written) and beside a DABSH.skn that links
    // elsewhere, each folder swept once.
    TemporaryFiles::sweep(dataFolder);
    if (QFileInfo(databaseFolder) != QFileInfo(dataFolder))
        TemporaryFiles::sweep(databaseFolder);

    TemporaryFiles::Held temporary;
    if (!temporary.create(onServer ? dataFolder : databaseFolder, TemporaryFiles::restorePrefix)) {
        const int error = errno;
        return writeFailed(
            Kind::CopyFailed, BackupTexts::destinationUnwritable + QStringLiteral("\r\n") + database,
            QDir(onServer ? dataFolder : databaseFolder).filePath(TemporaryFiles::restorePrefix), error);
    }
    QString failure;
    if (BackupCipher::isEncrypted(source)) {
        if (!password)
            return failed(Kind::Refused, BackupTexts::wrongBackupPassword);
        switch (BackupCipher::decryptFile(source, temporary.path(), *password, &failure, progress.blockCopied,
                                          progress.deriving)) {
        case BackupCipher::Failure::None:
            break;
        case BackupCipher::Failure::ReadFailed:
        case BackupCipher::Failure::WriteFailed:
            return failed(Kind::CopyFailed, failure);
        default:
            return failed(Kind::Refused, failure);
        }
    } else if (!Backup::CopyBackupFile(source, temporary.path(), &failure, progress.blockCopied)) {
        return failed(Kind::CopyFailed, failure);
    }
    const QString copied = temporary.path();
    if (!checkedBesideTheWindow([copied] { return isClinicalDatabase(copied); }, progress))
        return failed(Kind::Refused, BackupTexts::notABackup);
    if (onServer)
        return restoreServer(dataFolder, temporary.path(), now, progress);
    if (QFileInfo::exists(database) && !carryProtection(database, copied, &failure))
        return failed(Kind::CopyFailed, BackupTexts::protectionNotCarried + QStringLiteral("\r\n") + failure);

    if (QFileInfo::exists(database)) {
        QString safetyCopy;
        const Outcome safety = keepSafetyCopy(dataFolder, database, now, progress, &safetyCopy);
        if (!safety.ok())
            return safety;
        if (journals == JournalState::Unsettled && !keepJournals(database, safetyCopy))
            return failed(Kind::Refused, BackupTexts::databaseInUse);
    }
    temporary.setFinalMode(database);
    if (!replaceInOneStep(temporary.path(), database)) {
        const int error = errno;
        return writeFailed(Kind::CopyFailed,
                           BackupTexts::replaceFailed + QStringLiteral("\r\n") + database +
                               QStringLiteral("\r\n") + lastSystemError(),
                           database, error);
    }
    temporary.release();
    Backup::syncFolder(databaseFolder);
    return {};
}

Outcome saveDamagedCopy(const QString& dataFolder, const QString& destination, const Progress& progress)
{
    const QString database = QDir(dataFolder).filePath(Database::clinicalFileName);
    if (QFileInfo::exists(destination) || QFileInfo(destination).isSymLink())
        return failed(Kind::Refused,
                      BackupTexts::damagedCopyNameTaken + QStringLiteral("\r\n") + destination);
    const QFileInfo target(destination);
    TemporaryFiles::Held temporary;
    if (!holdCopyBeside(target, temporary)) {
        const int error = errno;
        return writeFailed(Kind::CopyFailed,
                           BackupTexts::destinationUnwritable + QStringLiteral("\r\n") + destination,
                           target.absoluteFilePath(), error);
    }
    QString failure;
    if (!Backup::CopyBackupFile(database, temporary.path(), &failure, progress.blockCopied))
        return failed(Kind::CopyFailed, failure);
    temporary.setFinalMode({});
    if (!placeWithoutReplacing(temporary.path(), target.absoluteFilePath())) {
        const int error = errno;
        if (error == EEXIST)
            return failed(Kind::Refused,
                          BackupTexts::damagedCopyNameTaken + QStringLiteral("\r\n") + destination);
        return writeFailed(Kind::CopyFailed,
                           BackupTexts::replaceFailed + QStringLiteral("\r\n") + destination +
                               QStringLiteral("\r\n") + lastSystemError(),
                           target.absoluteFilePath(), error);
    }
    temporary.release();
    Backup::syncFolder(target.absolutePath());
    return {};
}

std::optional<ServerRestoreFacts> serverRestoreFacts(const QString& dataFolder, const QString& source)
{
    if (!ClinicServer::isInUse(dataFolder))
        return std::nullopt;
    const QSqlDatabase server = Database::connection(dataFolder, Database::File::Clinical);
    ServerRestoreFacts facts;
    facts.server = server.hostName();
    if (server.port() > 0)
        facts.server += u':' + QString::number(server.port());
    facts.server += u'/' + server.databaseName();
    facts.onServer = subjectCount(server);
    if (QFileInfo(source).isFile()) {
        ScopedConnection file(source, true);
        if (file.isOpen())
            facts.inFile = subjectCount(file.database());
    }
    return facts;
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

QString damagedCopyName(const QString& dateText, const QString& timeText)
{
    namespace T = BackupTexts;
    return T::nameProduct + T::damagedNameOnDate + dateText + T::nameAtTime + timeText + T::nameTimeEnd +
           T::damagedExtension;
}

} // namespace DatabaseBackup
