#include "ShamsiDate.h"

#include <array>

namespace {

const QDate kBaseDate(1953, 3, 21); // 1332/1/1
constexpr int kBaseYear = 1332;

const std::array<QString, 12> kMonthNames = {
    QStringLiteral("فروردين"), QStringLiteral("ارديبهشت"), QStringLiteral("خرداد"), QStringLiteral("تير"),
    QStringLiteral("مرداد"),   QStringLiteral("شهريور"),   QStringLiteral("مهر"),   QStringLiteral("آبان"),
    QStringLiteral("آذر"),     QStringLiteral("دي"),       QStringLiteral("بهمن"),  QStringLiteral("اسفند"),
};

const std::array<QString, 7> kWeekdayNames = {
    QStringLiteral("يکشنبه"),   QStringLiteral("دوشنبه"),  QStringLiteral("سه شنبه"),
    QStringLiteral("چهارشنبه"), QStringLiteral("پنجشنبه"), QStringLiteral("جمعه"),
    QStringLiteral("شنبه"),
};

} // namespace

bool isJalaliLeapYear(int year)
{
    // A 32-year cycle with a leap year every fourth year, shifted by one each cycle.
    const int y = year - 1309;
    const int t = (y % 32) - (y / 32);
    return t % 4 == 0;
}

bool toJalali(const QDate& date, JalaliDate* result)
{
    if (!date.isValid() || date < kBaseDate)
        return false;
    qint64 remaining = kBaseDate.daysTo(date);
    int year = kBaseYear;
    for (;;) {
        const int length = isJalaliLeapYear(year) ? 366 : 365;
        if (remaining - length < 0)
            break;
        remaining -= length;
        ++year;
    }
    const int r = static_cast<int>(remaining);
    result->year = year;
    if (r <= 185) {
        result->month = r / 31 + 1;
        result->day = r % 31 + 1;
    } else {
        result->month = (r - 186) / 30 + 7;
        result->day = (r - 186) % 30 + 1;
    }
    return true;
}

QDate fromJalali(const JalaliDate& date)
{
    if (date.year < kBaseYear || date.year > 9000 || date.month < 1 || date.month > 12 || date.day < 1)
        return {};
    const int monthLength = date.month <= 6    ? 31
                            : date.month <= 11 ? 30
                                               : (isJalaliLeapYear(date.year) ? 30 : 29);
    if (date.day > monthLength)
        return {};
    qint64 days = 0;
    for (int year = kBaseYear; year < date.year; ++year)
        days += isJalaliLeapYear(year) ? 366 : 365;
    days += date.month <= 7 ? (date.month - 1) * 31 : 186 + (date.month - 7) * 30;
    return kBaseDate.addDays(days + date.day - 1);
}

QString jalaliMonthName(int month)
{
    return month >= 1 && month <= 12 ? kMonthNames[month - 1] : QString();
}

QString persianWeekdayName(int weekday)
{
    return weekday >= 1 && weekday <= 7 ? kWeekdayNames[weekday - 1] : QString();
}

QString ShamsiDate(const QDate& date, int style)
{
    JalaliDate jalali;
    if (style < 0 || style > 4 || !toJalali(date, &jalali))
        return {};
    // Qt numbers Monday 1 … Sunday 7; the names run from Sunday 1 to Saturday 7.
    const int weekday = date.dayOfWeek() % 7 + 1;
    const QString year = QString::number(jalali.year);
    const QString month = QString::number(jalali.month);
    const QString day = QString::number(jalali.day);
    const QString slashed = year + u'/' + month + u'/' + day;
    switch (style) {
    case 0:
        return year + u'/' + month.rightJustified(2, u'0') + u'/' + day.rightJustified(2, u'0');
    case 1:
        return day + u' ' + jalaliMonthName(jalali.month) + u' ' + year;
    case 2:
        return persianWeekdayName(weekday) + u' ' + slashed;
    case 3:
        return persianWeekdayName(weekday) + u' ' + day + u' ' + jalaliMonthName(jalali.month) + u' ' + year;
    default:
        return year + u'.' + month + u'.' + day;
    }
}
