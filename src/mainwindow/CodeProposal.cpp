#include "CodeProposal.h"

#include "common/NumericValue.h"

#include <QLocale>

#include <cmath>

namespace {
// Beyond this, adding one no longer changes a double, and the search would never end.
constexpr double kLargestCountableCode = 9007199254740992.0; // 2^53
} // namespace

QString decimalCodeText(double value)
{
    if (value == std::floor(value) && std::fabs(value) < kLargestCountableCode)
        return QString::number(static_cast<long long>(value));
    // Never in exponent form: the shortest plain decimal that reads back as the same value.
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString proposeCode(const std::optional<QString>& lastStoredCode,
                    const std::function<bool(const QString&)>& isTaken)
{
    if (!lastStoredCode)
        return {};
    double value = numericValue(*lastStoredCode);
    for (;;) {
        if (!(std::fabs(value) + 1 < kLargestCountableCode))
            return {};
        value += 1;
        const QString code = decimalCodeText(value);
        if (!isTaken(code))
            return code;
        // The taken row's own numeric value is the code just tried, so counting goes on from it.
        value = numericValue(code);
    }
}
