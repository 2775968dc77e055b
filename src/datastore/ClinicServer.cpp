#include "ClinicServer.h"

#include "AdministrationStore.h"
#include "AuditTable.h"
#include "DataView.h"
#include "Database.h"
#include "DatastoreTexts.h"
#include "SqlDialect.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace ClinicServer {

namespace {

Result failure(const QString& message)
{
    return {false, message};
}

// A value of a libpq connection option, quoted so that blanks, quotes and backslashes in a path
// stay part of it.
QString connectValue(const QString& value)
{
    QString escaped = value;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + escaped + u'\'';
}

void configure(QSqlDatabase& db, const ServerSettings& settings, const QString& password)
{
    db.setHostName(settings.host);
    db.setPort(settings.port);
    db.setDatabaseName(settings.databaseName);
    db.setUserName(settings.userName);
    db.setPassword(password);
    // A server out of reach is told within seconds rather than after the system's own wait.
    // The server's notices (an index that already exists) are no news for the user.
    QStringList options{QStringLiteral("connect_timeout=10"), QStringLiteral("application_name=Velmora"),
                        QStringLiteral("options='-c client_min_messages=warning'")};
    if (settings.requireEncryption) {
        // Encryption alone does not tell who is at the other end: the server must show a
        // certificate for the very host named, signed by an authority the clinic trusts, and prove
        // that the password exchange ran over this same connection (channel binding), so that no
        // one in between can pass it on.
        const QString authorities = settings.certificateAuthorityFile.trimmed().isEmpty()
                                        ? systemCertificateAuthorities
                                        : settings.certificateAuthorityFile.trimmed();
        options << QStringLiteral("sslmode=verify-full")
                << QStringLiteral("sslrootcert=") + connectValue(authorities)
                << QStringLiteral("channel_binding=require");
    }
    db.setConnectOptions(options.join(u';'));
}

// What protects a connection. One made to verify the server is verified whenever it is open
// (libpq makes no other), and is not asked; another is asked without being made again, so that a
// server out of reach does not keep the window waiting for the connection time-out.
ConnectionSecurity securityOf(const QSqlDatabase& db)
{
    if (!SqlDialect::isServer(db))
        return ConnectionSecurity::NotOnServer;
    if (db.connectOptions().contains(QLatin1String("sslmode=verify-full")))
        return ConnectionSecurity::EncryptedVerified;
    QSqlQuery query(db);
    if (!db.isOpen() ||
        !query.exec(QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()")) ||
        !query.next())
        return ConnectionSecurity::Unknown;
    return query.value(0).toBool() ? ConnectionSecurity::EncryptedUnverified
                                   : ConnectionSecurity::Unencrypted;
}

// A connection of its own to one database, removed again when it goes out of scope.
class ScopedConnection final
{
    Q_DISABLE_COPY_MOVE(ScopedConnection)
public:
    explicit ScopedConnection(const QString& driver)
        : m_name(QStringLiteral("clinic server %1").arg(s_serial.fetchAndAddRelaxed(1)))
    {
        QSqlDatabase::addDatabase(driver, m_name);
    }
    ~ScopedConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

private:
    static inline QAtomicInt s_serial;
    QString m_name;
};

// Opens the connection and brings the server's tables to the program's shape.
Result openAndPrepare(QSqlDatabase db)
{
    if (!db.open())
        return failure(DatastoreTexts::serverUnreachable(db.lastError().text()));
    for (Database::File file : {Database::File::Clinical, Database::File::Theme}) {
        QString error;
        if (!Database::prepareTables(db, file, &error))
            return failure(DatastoreTexts::serverTablesFailed(error));
    }
    return {true, {}};
}

bool replaceLogo(const QSqlDatabase& db, const QByteArray& picture, QString* error)
{
    QSqlQuery query(db);
    bool ok =
        SqlDialect::run(query, db, QStringLiteral("DELETE FROM \"Logo\""), {}, SqlDialect::Access::Write);
    if (ok && !picture.isEmpty())
        ok = SqlDialect::run(query, db, QStringLiteral("INSERT INTO \"Logo\" (\"Picture\") VALUES (?)"),
                             {picture}, SqlDialect::Access::Write);
    if (!ok && error)
        *error = query.lastError().text();
    return ok;
}

int subjectCount(const QSqlDatabase& db, bool* ok)
{
    QSqlQuery query(db);
    *ok = query.exec(QStringLiteral("SELECT COUNT(*) FROM \"IDE\"")) && query.next();
    return *ok ? query.value(0).toInt() : 0;
}

} // namespace

Result testConnection(const ServerSettings& settings, const QString& password)
{
    ScopedConnection connection(QStringLiteral("QPSQL"));
    QSqlDatabase db = connection.database();
    configure(db, settings, password);
    Result result = openAndPrepare(db);
    if (result.ok) {
        result.message = DatastoreTexts::serverConnectionWorks;
        result.security = securityOf(db);
    }
    return result;
}

namespace {

// A folder whose clinic signs its users in stays protected on the server: its accounts and its
// audit trail go along where the server has none yet. A server that has accounts keeps them (every
// workstation signs in with those), and a trail already begun there goes on.
bool carryProtection(const QSqlDatabase& file, const QSqlDatabase& server, QString* error)
{
    if (Database::rowCount(file, Database::accountsTable).value_or(0) > 0 &&
        Database::rowCount(server, Database::accountsTable).value_or(1) == 0 &&
        !Database::replaceAccounts(file, server, error))
        return false;
    if (Database::rowCount(server, AuditTable::name).value_or(1) == 0)
        return AuditTable::copy(file, server, error);
    return true;
}

} // namespace

Result copyFolderToServer(const QString& folder, const ServerSettings& settings, const QString& password)
{
    ScopedConnection server(QStringLiteral("QPSQL"));
    QSqlDatabase db = server.database();
    configure(db, settings, password);
    const Result opened = openAndPrepare(db);
    if (!opened.ok)
        return opened;

    // The folder's own files, read through connections of this call.
    ScopedConnection clinical(QStringLiteral("QSQLITE"));
    ScopedConnection theme(QStringLiteral("QSQLITE"));
    QSqlDatabase clinicalFile = clinical.database();
    QSqlDatabase themeFile = theme.database();
    clinicalFile.setDatabaseName(QDir(folder).filePath(Database::clinicalFileName));
    themeFile.setDatabaseName(QDir(folder).filePath(Database::themeFileName));
    clinicalFile.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=3000"));
    themeFile.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=3000"));
    if (!clinicalFile.open() || !themeFile.open())
        return failure(DatastoreTexts::copyToServerFailed(clinicalFile.lastError().text() +
                                                          themeFile.lastError().text()));

    Transaction transaction(db);
    if (!transaction.isOpen())
        return failure(DatastoreTexts::copyToServerFailed(db.lastError().text()));
    // Checked inside the transaction, under a lock that keeps a second copy from starting meanwhile.
    QSqlQuery lock(db);
    bool counted = false;
    if (!lock.exec(QStringLiteral("LOCK TABLE \"IDE\", \"Answer\", \"QU\", \"Theme\", \"Administrations\", "
                                  "\"AdministrationDetails\" "
                                  "IN EXCLUSIVE MODE")))
        return failure(DatastoreTexts::copyToServerFailed(lock.lastError().text()));
    const int subjects = subjectCount(db, &counted);
    if (!counted)
        return failure(DatastoreTexts::copyToServerFailed(db.lastError().text()));
    if (subjects > 0)
        return failure(DatastoreTexts::serverAlreadyHoldsSubjects);

    // The server's first-run item texts and clinic profile give way to this computer's.
    for (const QString& table : {QStringLiteral("Answer"), QStringLiteral("QU"), QStringLiteral("Theme")}) {
        QSqlQuery clear(db);
        if (!clear.exec(QStringLiteral("DELETE FROM %1").arg(quotedIdentifier(table))))
            return failure(DatastoreTexts::copyToServerFailed(clear.lastError().text()));
    }
    QString error;
    // The earlier administrations go along; a server without subjects has none of its own to keep.
    const bool copied = AdministrationStore::clear(db, &error) &&
                        AdministrationStore::copy(clinicalFile, db, &error) &&
                        Database::copyTable(clinicalFile, db, QStringLiteral("IDE"), &error) &&
                        Database::copyTable(clinicalFile, db, QStringLiteral("Answer"), &error) &&
                        Database::copyTable(clinicalFile, db, QStringLiteral("QU"), &error) &&
                        Database::copyTable(themeFile, db, QStringLiteral("Theme"), &error);
    QFile logo(QDir(folder).filePath(logoFileName));
    const QByteArray picture = logo.open(QIODevice::ReadOnly) ? logo.readAll() : QByteArray();
    if (!copied || !replaceLogo(db, picture, &error) || !carryProtection(clinicalFile, db, &error))
        return failure(DatastoreTexts::copyToServerFailed(error));
    if (!transaction.commit())
        return failure(DatastoreTexts::copyToServerFailed(db.lastError().text()));
    return {true, DatastoreTexts::copyToServerDone};
}

Result useServer(const QString& folder, const ServerSettings& settings, const QString& password)
{
    Database::closeProgramDatabases(folder);
    Result result{true, {}};
    for (Database::File file : {Database::File::Clinical, Database::File::Theme}) {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), Database::connectionName(folder, file));
        configure(db, settings, password);
        if (!db.open()) {
            result = failure(DatastoreTexts::serverUnreachable(db.lastError().text()));
            break;
        }
        QString error;
        if (!Database::prepareTables(db, file, &error)) {
            result = failure(DatastoreTexts::serverTablesFailed(error));
            break;
        }
    }
    if (result.ok)
        result.security = securityOf(Database::connection(folder, Database::File::Clinical));
    if (!result.ok) {
        // The program goes on with this computer's files rather than with no data at all.
        Database::closeProgramDatabases(folder);
        Database::openProgramDatabases(folder, Database::PageCheck::Separately);
    }
    return result;
}

Result useFolderFiles(const QString& folder, Database::PageCheck pageCheck)
{
    Database::closeProgramDatabases(folder);
    const Database::OpenResult opened = Database::openProgramDatabases(folder, pageCheck);
    return {opened.ok, opened.message};
}

QByteArray storedLogo(const QString& folder)
{
    const QSqlDatabase db = Database::connection(folder, Database::File::Theme);
    QSqlQuery query(db);
    if (!SqlDialect::run(query, db, QStringLiteral("SELECT \"Picture\" FROM \"Logo\""), {},
                         SqlDialect::Access::Read) ||
        !query.next())
        return {};
    return query.value(0).toByteArray();
}

bool storeLogo(const QString& folder, const QByteArray& picture)
{
    const QSqlDatabase db = Database::connection(folder, Database::File::Theme);
    Transaction transaction(db);
    return transaction.isOpen() && replaceLogo(db, picture, nullptr) && transaction.commit();
}

bool isInUse(const QString& folder)
{
    return SqlDialect::isServer(Database::connection(folder, Database::File::Clinical));
}

ConnectionSecurity connectionSecurity(const QString& folder)
{
    return securityOf(Database::connection(folder, Database::File::Clinical));
}

bool folderFilesStandInForServer(const QString& folder)
{
    if (isInUse(folder))
        return false;
    const std::optional<ServerSettings> settings = ServerSettingsFile::read(folder);
    return settings && settings->inUse;
}

} // namespace ClinicServer
