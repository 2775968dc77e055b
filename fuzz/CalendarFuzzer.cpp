// The Jalali calendar: every day from its first one to the year 9999 follows the day before.
#include "FuzzSupport.h"
#include "calendar/ShamsiDate.h"

#include <QRegularExpression>

namespace {
// 1332/1/1 (21 March 1953) and 31 December 9999.
const qint64 kFirstDay = QDate(1953, 3, 21).toJulianDay();
const qint64 kLastDay = QDate(9999, 12, 31).toJulianDay();

int monthLength(int year, int month)
{
    if (month <= 6)
        return 31;
    if (month <= 11)
        return 30;
    return isJalaliLeapYear(year) ? 30 : 29;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const auto raw = input.value<std::uint32_t>();
    const int style = static_cast<signed char>(input.byte());
    const qint64 day =
        kFirstDay - 2 + static_cast<qint64>(raw % static_cast<std::uint32_t>(kLastDay - kFirstDay + 3));
    const QDate date = QDate::fromJulianDay(day);

    JalaliDate jalali;
    const bool known = toJalali(date, &jalali);
    FUZZ_CHECK(known == (day >= kFirstDay), "every day from 1332/1/1 on has a Jalali date");
    const QString text = ShamsiDate(date, style);
    FUZZ_CHECK(text.isEmpty() == (!known || style < 0 || style > 4), "a text for known days and styles");
    if (!known)
        return 0;
    FUZZ_CHECK(jalali.month >= 1 && jalali.month <= 12, "a month of the year");
    FUZZ_CHECK(jalali.day >= 1 && jalali.day <= monthLength(jalali.year, jalali.month), "a day of the month");

    JalaliDate next;
    FUZZ_CHECK(toJalali(date.addDays(1), &next), "the next day is known too");
    const bool sameMonth =
        next.year == jalali.year && next.month == jalali.month && next.day == jalali.day + 1;
    const bool nextMonth = next.year == jalali.year && next.month == jalali.month + 1 && next.day == 1 &&
                           jalali.day == monthLength(jalali.year, jalali.month);
    const bool nextYear = next.year == jalali.year + 1 && next.month == 1 && next.day == 1 &&
                          jalali.month == 12 && jalali.day == monthLength(jalali.year, 12);
    FUZZ_CHECK(sameMonth || nextMonth || nextYear, "the next day follows");

    static const QRegularExpression slashed(QStringLiteral("^[0-9]{4}/[0-9]{2}/[0-9]{2}$"));
    if (style == 0)
        FUZZ_CHECK(slashed.match(text).hasMatch(), "style 0 is yyyy/mm/dd");
    if (style == 4)
        FUZZ_CHECK(text == QStringLiteral("%1.%2.%3").arg(jalali.year).arg(jalali.month).arg(jalali.day),
                   "style 4 is y.m.d");
    return 0;
}
