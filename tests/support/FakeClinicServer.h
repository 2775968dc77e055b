#pragma once

#include "mainwindow/ClinicServerActions.h"

#include <QStringList>

#include <optional>

// Answers the clinic server commands as the test tells and records each call with its settings and
// password.
class FakeClinicServer final : public ClinicServerActions
{
public:
    ClinicServer::Result testConnection(const ServerSettings& settings, const QString& password) override
    {
        return record(QStringLiteral("testConnection"), settings, password, testResult);
    }
    ClinicServer::Result copyFolderToServer(const QString& folder, const ServerSettings& settings,
                                            const QString& password) override
    {
        lastFolder = folder;
        return record(QStringLiteral("copyFolderToServer"), settings, password, copyResult);
    }
    ClinicServer::Result useServer(const QString& folder, const ServerSettings& settings,
                                   const QString& password) override
    {
        lastFolder = folder;
        return record(QStringLiteral("useServer"), settings, password, useResult);
    }
    ClinicServer::Result useFolderFiles(const QString& folder, Database::PageCheck pageCheck) override
    {
        lastFolder = folder;
        lastPageCheck = pageCheck;
        calls << QStringLiteral("useFolderFiles");
        return folderResult;
    }
    ClinicServer::ConnectionSecurity connectionSecurity(const QString& folder) override
    {
        lastFolder = folder;
        return security;
    }

    ClinicServer::Result testResult{true, {}};
    ClinicServer::Result copyResult{true, {}};
    ClinicServer::Result useResult{true, {}};
    ClinicServer::Result folderResult{true, {}};
    ClinicServer::ConnectionSecurity security = ClinicServer::ConnectionSecurity::NotOnServer;

    QStringList calls;
    ServerSettings lastSettings;
    QString lastPassword;
    QString lastFolder;
    std::optional<Database::PageCheck> lastPageCheck;

private:
    ClinicServer::Result record(const QString& call, const ServerSettings& settings, const QString& password,
                                const ClinicServer::Result& result)
    {
        calls << call;
        lastSettings = settings;
        lastPassword = password;
        return result;
    }
};
