#include "UpdateServer.h"

#include "common/VendorLinks.h"

#include <QStringList>

#include <algorithm>

namespace {

// 127.0.0.0/8, ::1 (as QUrl writes any form of it) or localhost; read here rather than by Qt's
// network library, which the program loads only when it checks for an update.
bool isLoopbackHost(const QString& host)
{
    if (host == u"localhost" || host == u"::1")
        return true;
    const QStringList parts = host.split(u'.');
    if (parts.size() != 4 || parts.first() != u"127")
        return false;
    return std::all_of(parts.cbegin(), parts.cend(), [](const QString& part) {
        const bool digits =
            !part.isEmpty() && part.size() <= 3 &&
            std::all_of(part.cbegin(), part.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        return digits && part.toInt() <= 255;
    });
}

} // namespace

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
    if (!isLoopbackHost(host))
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
