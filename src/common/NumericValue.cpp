#include "NumericValue.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}
} // namespace

double numericValue(const QString& text)
{
    QString digits;
    bool signAllowed = true;
    bool seenPoint = false;
    for (const QChar c : text) {
        if (isSkipped(c))
            continue;
        if (signAllowed && (c == u'-' || c == u'+')) {
            digits += c;
            signAllowed = false;
            continue;
        }
        signAllowed = false;
        if (c >= u'0' && c <= u'9') {
            digits += c;
        } else if (c == u'.' && !seenPoint) {
            digits += c;
            seenPoint = true;
        } else {
            break;
        }
    }
    bool ok = false;
    const double value = digits.toDouble(&ok);
    if (ok)
        return value;
    // Digits beyond the range of a double: the nearest value there is, which is finite.
    if (std::isinf(value))
        return std::copysign(std::numeric_limits<double>::max(), value);
    // "-", "." or "-." alone (or a fraction too small to tell from 0): there is no number.
    return 0.0;
}

long long wholeNumericValue(const QString& text)
{
    // Beyond 2^53 a double no longer holds every whole number, and beyond 2^63 the conversion is
    // undefined; keeping within 2^53 also leaves callers room to count on by one.
    constexpr double kLimit = 9007199254740992.0; // 2^53
    return static_cast<long long>(std::clamp(std::trunc(numericValue(text)), -kLimit, kLimit));
}
