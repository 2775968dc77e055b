#include "ClinicServerAdapter.h"

// Built only while the server data layer (datastore/ClinicServer.cpp) is not part of the source
// tree: every server command fails with a clear message and the program stays on its files.
namespace {

const QString kNotBuilt = QStringLiteral("اين نسخه برنامه بدون امکان کار با سرور ساخته شده است.");

class ClinicServerNotBuilt final : public ClinicServerActions
{
public:
    ClinicServer::Result testConnection(const ServerSettings&, const QString&) override
    {
        return {false, kNotBuilt};
    }
    ClinicServer::Result copyFolderToServer(const QString&, const ServerSettings&, const QString&) override
    {
        return {false, kNotBuilt};
    }
    ClinicServer::Result useServer(const QString&, const ServerSettings&, const QString&) override
    {
        return {false, kNotBuilt};
    }
    // Nothing was switched, so the program is on its files already.
    ClinicServer::Result useFolderFiles(const QString&) override { return {true, {}}; }
};

} // namespace

std::unique_ptr<ClinicServerActions> makeClinicServerActions()
{
    return std::make_unique<ClinicServerNotBuilt>();
}
