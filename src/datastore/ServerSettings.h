#pragma once

#include <QString>

#include <optional>

// Where a clinic's shared database server is, as kept in Server.ini in the data folder.
// The password is never part of it: it comes from the user's ~/.pgpass or is asked for at start.
struct ServerSettings
{
    QString host;
    int port = 5432;
    QString databaseName;
    QString userName;
    // Encrypted connections only, to a server whose certificate names the host and is signed by a
    // certificate authority of the file below, or of the system's trust store when it is empty.
    bool requireEncryption = false;
    QString certificateAuthorityFile;
    bool inUse = false; // "use the server"; false keeps the settings but works on the local files

    bool operator==(const ServerSettings&) const = default;
};

namespace ServerSettingsFile {

inline const QString fileName = QStringLiteral("Server.ini");

// The settings of a data folder; nullopt when there is no Server.ini (or it holds no host).
std::optional<ServerSettings> read(const QString& folder);

// Writes Server.ini whole (a crash leaves the old file or the new one). False with a reason.
bool write(const QString& folder, const ServerSettings& settings, QString* error = nullptr);

// The password for these settings from a .pgpass file (PostgreSQL's own format and wildcards);
// empty when none matches. An empty path means the user's own file ($PGPASSFILE or ~/.pgpass).
QString passwordFromPgpass(const ServerSettings& settings, const QString& pgpassPath = {});

} // namespace ServerSettingsFile
