#include "UpdateServer.h"

#include "common/VendorLinks.h"

#include <QHostAddress>

namespace UpdateServer {

QString addressFrom(const QString& overrideValue)
{
    const QUrl url(overrideValue.trimmed(), QUrl::StrictMode);
    // Only the host and port may be given: the paths stay those of the vendor's server.
    const bool bare = url.isValid() && url.scheme() == u"http" && url.userInfo().isEmpty() &&
                      (url.path().isEmpty() || url.path() == u"/") && !url.hasQuery() && !url.hasFragment();
    if (!bare)
        return VendorLinks::updateServer;
    const QString host = url.host();
    if (host != u"localhost" && !QHostAddress(host).isLoopback())
        return VendorLinks::updateServer;
    return url.toString(QUrl::RemovePath | QUrl::StripTrailingSlash);
}

QString address()
{
    return addressFrom(qEnvironmentVariable(kOverrideVariable));
}

QUrl versionFile()
{
    return QUrl(address() + VendorLinks::updateFolder + VendorLinks::versionFileName);
}

QString installationPackage()
{
    return address() + VendorLinks::updateFolder + VendorLinks::packageName;
}

} // namespace UpdateServer
