// The numeric reading of stored texts: codes, item numbers, skin numbers, answers and scores.
#include "FuzzSupport.h"
#include "common/NumericValue.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const QString text = input.byte() % 2 ? input.text(256) : input.restAsUtf8();

    const double value = numericValue(text);
    FUZZ_CHECK(std::isfinite(value), "a finite value");
    // What follows the number does not change it.
    FUZZ_CHECK(numericValue(text + QStringLiteral("x1")) == value, "reading stops at a letter");
    if (!text.isEmpty() && text.front().isDigit() && text.front().unicode() < 128)
        FUZZ_CHECK(numericValue(u'-' + text) == -value, "a sign in front negates");

    const long long whole = wholeNumericValue(text);
    constexpr long long limit = 9007199254740992LL; // 2^53
    FUZZ_CHECK(whole >= -limit && whole <= limit, "the whole value stays within 2^53");
    if (std::fabs(value) < 9.0e15)
        FUZZ_CHECK(whole == static_cast<long long>(std::trunc(value)), "the whole value drops the fraction");
    return 0;
}
