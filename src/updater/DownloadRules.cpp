#include "DownloadRules.h"

#include "UpdaterTexts.h"
#include "common/NumericValue.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {
__extension__ using WideInt = __int128;
} // namespace

namespace DownloadRules {

QString GetFileName(const QString& url)
{
    static const QString scheme = QStringLiteral("http://");
    if (url.size() < 2 || !url.startsWith(scheme) || url == scheme)
        return {};
    // The last character is not examined: an address ending in "/" names its folder's segment.
    const qsizetype slash = url.lastIndexOf(u'/', url.size() - 2);
    if (slash < 0)
        return {};
    const QString segment = url.mid(slash + 1);
    if (segment.size() < 2)
        return {};
    const qsizetype point = segment.lastIndexOf(u'.', segment.size() - 2);
    if (point < 0)
        return {};
    return segment;
}

QString statusOf(const QString& headers)
{
    return headers.mid(9, 3);
}

std::optional<QString> statusFailure(const QString& headers, const QString& url)
{
    namespace T = UpdaterTexts;
    const QString status = statusOf(headers);
    if (status == u"200" || status == u"206")
        return std::nullopt;
    if (status == u"204")
        return T::nothingToDownload;
    if (status == u"401")
        return T::authorizationFailed;
    if (status == u"404")
        return T::notFound(url);
    if (status == u"\r\n")
        return T::cannotConnect;
    const qsizetype cr = headers.indexOf(u'\r');
    const QString firstLine = cr < 0 ? QString() : headers.left(cr + 1);
    return T::unexpectedResponse + (firstLine.isEmpty() ? T::nothingReceived : firstLine);
}

std::optional<qint64> rangeStart(const QString& contentRange)
{
    static const QRegularExpression form(
        QStringLiteral("^bytes ([0-9]{1,18})-([0-9]{1,18})/([0-9]{1,18}|\\*)$"));
    const QRegularExpressionMatch match = form.match(contentRange.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const qint64 first = match.captured(1).toLongLong();
    const qint64 last = match.captured(2).toLongLong();
    if (last < first)
        return std::nullopt;
    if (match.captured(3) != u"*" && match.captured(3).toLongLong() <= last)
        return std::nullopt;
    return first;
}

std::optional<qint64> announcedLength(const QString& value)
{
    const double length = std::nearbyint(numericValue(value));
    // 2^63 itself is not a qint64; every double below it is.
    if (length < 0 || !(length < 9223372036854775808.0))
        return std::nullopt;
    return static_cast<qint64>(length);
}

qint64 percentOf(qint64 received, qint64 total)
{
    if (total <= 0)
        return 0;
    // 128-bit so that received × 100 never overflows.
    const WideInt scaled = static_cast<WideInt>(received) * 100;
    const WideInt whole = scaled / total;
    const WideInt twiceRest = (scaled % total) * 2;
    const bool roundUp = twiceRest > total || (twiceRest == total && whole % 2 != 0);
    return static_cast<qint64>(roundUp ? whole + 1 : whole);
}

} // namespace DownloadRules
