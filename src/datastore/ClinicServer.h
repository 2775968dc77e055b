#pragma once

#include "ServerSettings.h"

#include <QString>

// The clinic's shared PostgreSQL server: what the clinic database window and the start-up need
// of it. Every failure carries a Persian text for the user.
namespace ClinicServer {

struct Result
{
    bool ok = false;
    QString message;
};

// Connects with these settings and password, checks that the tables can be made or read, and
// disconnects again.
Result testConnection(const ServerSettings& settings, const QString& password);

// Copies the subjects, answers, item texts and clinic profile (logo included) of the program
// folder's files to the server, in one transaction. Refused when the server already holds subjects.
Result copyFolderToServer(const QString& folder, const ServerSettings& settings, const QString& password);

// From now on Database::connection(folder, …) and Database::openView(folder, …) of this folder
// work on the server (tables are made there when missing, with their first-run content).
Result useServer(const QString& folder, const ServerSettings& settings, const QString& password);

// Back to the program folder's own files (Database::openProgramDatabases).
Result useFolderFiles(const QString& folder);

// Whether the folder's connections go to the server (after useServer).
bool isInUse(const QString& folder);

// The clinic logo kept on the server, as the bytes of its picture file; empty when none is stored
// or it could not be read.
QByteArray storedLogo(const QString& folder);
// Replaces the logo on the server; false when it was not stored.
bool storeLogo(const QString& folder, const QByteArray& picture);

// The logo file of a program folder, which copyFolderToServer takes along.
inline const QString logoFileName = QStringLiteral("VMpic.jpg");

} // namespace ClinicServer
