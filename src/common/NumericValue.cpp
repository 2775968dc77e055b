#include "NumericValue.h"

#include <cmath>

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
    // "-", "." or "-." alone: there is no number.
    return 0.0;
}

long long wholeNumericValue(const QString& text)
{
    return static_cast<long long>(std::trunc(numericValue(text)));
}
