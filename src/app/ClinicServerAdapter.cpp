#include "ClinicServerAdapter.h"

namespace {

class ClinicServerAdapter final : public ClinicServerActions
{
public:
    ClinicServer::Result testConnection(const ServerSettings& settings, const QString& password) override
    {
        return ClinicServer::testConnection(settings, password);
    }
    ClinicServer::Result copyFolderToServer(const QString& folder, const ServerSettings& settings,
                                            const QString& password) override
    {
        return ClinicServer::copyFolderToServer(folder, settings, password);
    }
    ClinicServer::Result useServer(const QString& folder, const ServerSettings& settings,
                                   const QString& password) override
    {
        return ClinicServer::useServer(folder, settings, password);
    }
    ClinicServer::Result useFolderFiles(const QString& folder, Database::PageCheck pageCheck) override
    {
        return ClinicServer::useFolderFiles(folder, pageCheck);
    }
    ClinicServer::ConnectionSecurity connectionSecurity(const QString& folder) override
    {
        return ClinicServer::connectionSecurity(folder);
    }
};

} // namespace

std::unique_ptr<ClinicServerActions> makeClinicServerActions()
{
    return std::make_unique<ClinicServerAdapter>();
}
