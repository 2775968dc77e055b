#pragma once

#include "datastore/ClinicServer.h"

// What the clinic database window and the start-up ask of the clinic server. The program forwards
// to ClinicServer; tests answer in its place.
class ClinicServerActions
{
public:
    virtual ~ClinicServerActions() = default;

    virtual ClinicServer::Result testConnection(const ServerSettings& settings, const QString& password) = 0;
    virtual ClinicServer::Result copyFolderToServer(const QString& folder, const ServerSettings& settings,
                                                    const QString& password) = 0;
    virtual ClinicServer::Result useServer(const QString& folder, const ServerSettings& settings,
                                           const QString& password) = 0;
    virtual ClinicServer::Result useFolderFiles(const QString& folder, Database::PageCheck pageCheck) = 0;
    virtual ClinicServer::ConnectionSecurity connectionSecurity(const QString& folder) = 0;
};
