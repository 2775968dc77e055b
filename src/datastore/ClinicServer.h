#pragma once

#include "Database.h"
#include "ServerSettings.h"

#include <QString>

// The clinic's shared PostgreSQL server: what the clinic database window and the start-up need
// of it. Every failure carries a Persian text for the user.
namespace ClinicServer {

// What keeps others from reading or taking over a server connection.
enum class ConnectionSecurity
{
    NotOnServer,
    Unencrypted,
    EncryptedUnverified, // encrypted, but whoever answered at that address was taken for the server
    EncryptedVerified,   // encrypted, with the server's certificate checked
    Unknown              // the server does not answer now
};

struct Result
{
    bool ok = false;
    QString message;
    ConnectionSecurity security = ConnectionSecurity::NotOnServer; // of a connection that was made
};

// The system's trust store, where Server.ini names no certificate authority file of its own.
inline const QString systemCertificateAuthorities = QStringLiteral("/etc/ssl/certs/ca-certificates.crt");

// Connects with these settings and password, checks that the tables can be made or read, and
// disconnects again.
Result testConnection(const ServerSettings& settings, const QString& password);

// Copies the subjects, answers, item texts and clinic profile (logo included) of the program
// folder's files to the server, in one transaction. Refused when the server already holds subjects.
Result copyFolderToServer(const QString& folder, const ServerSettings& settings, const QString& password);

// From now on Database::connection(folder, …) and Database::openView(folder, …) of this folder
// work on the server (tables are made there when missing, with their first-run content).
Result useServer(const QString& folder, const ServerSettings& settings, const QString& password);

// Back to the data folder's own files (Database::openProgramDatabases, reading every page
// before it returns unless the caller reads them beside the window).
Result useFolderFiles(const QString& folder, Database::PageCheck pageCheck = Database::PageCheck::AtOpen);

// What protects the folder's connection to the server now; NotOnServer on the folder's files.
ConnectionSecurity connectionSecurity(const QString& folder);

// Whether the folder's connections go to the server (after useServer).
bool isInUse(const QString& folder);

// Whether Server.ini has the clinic work on its server while the folder's connections go to its own
// files: the server could not be used at start and the user chose the files for this session.
bool folderFilesStandInForServer(const QString& folder);

// The clinic logo kept on the server, as the bytes of its picture file; empty when none is stored
// or it could not be read.
QByteArray storedLogo(const QString& folder);
// Replaces the logo on the server; false when it was not stored.
bool storeLogo(const QString& folder, const QByteArray& picture);

// The logo file of a data folder, which copyFolderToServer takes along.
inline const QString logoFileName = QStringLiteral("VMpic.jpg");

} // namespace ClinicServer
