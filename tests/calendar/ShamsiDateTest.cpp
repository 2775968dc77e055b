#include "calendar/ShamsiDate.h"

#include <QtTest>

namespace {

// An independent Gregorian to Jalali conversion: the well-known arithmetic one built on the table
// of the years where the 33-year leap cycle breaks, working through Julian day numbers.
namespace reference {

const int kBreaks[] = {-61,  9,    38,   199,  426,  686,  756,  818,  1111, 1181,
                       1210, 1635, 2060, 2097, 2192, 2262, 2324, 2394, 2456, 3178};

int div(int a, int b)
{
    return a / b; // truncating, as the published algorithm's ~~(a / b)
}
int mod(int a, int b)
{
    return a - div(a, b) * b;
}

struct Cal
{
    int leap;
    int gy;
    int march;
};

Cal jalCal(int jy)
{
    const int count = sizeof(kBreaks) / sizeof(kBreaks[0]);
    const int gy = jy + 621;
    int leapJ = -14;
    int jp = kBreaks[0];
    int jump = 0;
    int jm = 0;
    for (int i = 1; i < count; ++i) {
        jm = kBreaks[i];
        jump = jm - jp;
        if (jy < jm)
            break;
        leapJ = leapJ + div(jump, 33) * 8 + div(mod(jump, 33), 4);
        jp = jm;
    }
    int n = jy - jp;
    leapJ = leapJ + div(n, 33) * 8 + div(mod(n, 33) + 3, 4);
    if (mod(jump, 33) == 4 && jump - n == 4)
        leapJ += 1;
    const int leapG = div(gy, 4) - div((div(gy, 100) + 1) * 3, 4) - 150;
    const int march = 20 + leapJ - leapG;
    if (jump - n < 6)
        n = n - jump + div(jump + 4, 33) * 33;
    int leap = mod(mod(n + 1, 33) - 1, 4);
    if (leap == -1)
        leap = 4;
    return {leap, gy, march};
}

int g2d(int gy, int gm, int gd)
{
    int d = div((gy + div(gm - 8, 6) + 100100) * 1461, 4) + div(153 * mod(gm + 9, 12) + 2, 5) + gd - 34840408;
    d = d - div(div(gy + 100100 + div(gm - 8, 6), 100) * 3, 4) + 752;
    return d;
}

JalaliDate toJalali(const QDate& date)
{
    const int jdn = g2d(date.year(), date.month(), date.day());
    int jy = date.year() - 621;
    const Cal r = jalCal(jy);
    const int jdn1f = g2d(date.year(), 3, r.march);
    int k = jdn - jdn1f;
    if (k >= 0) {
        if (k <= 185)
            return {jy, 1 + div(k, 31), mod(k, 31) + 1};
        k -= 186;
    } else {
        jy -= 1;
        k += 179;
        if (r.leap == 1)
            k += 1;
    }
    return {jy, 7 + div(k, 30), mod(k, 30) + 1};
}

} // namespace reference

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

class ShamsiDateTest : public QObject
{
    Q_OBJECT
private slots:
    void workedExampleInEveryStyle()
    {
        const QDate may3(2023, 5, 3); // a Wednesday
        QCOMPARE(ShamsiDate(may3, 0), QStringLiteral("1402/02/13"));
        QCOMPARE(ShamsiDate(may3, 1), text("13 ارديبهشت 1402"));
        QCOMPARE(ShamsiDate(may3, 2), text("چهارشنبه 1402/2/13"));
        QCOMPARE(ShamsiDate(may3, 3), text("چهارشنبه 13 ارديبهشت 1402"));
        QCOMPARE(ShamsiDate(may3, 4), QStringLiteral("1402.2.13"));
        QCOMPARE(ShamsiDate(may3), ShamsiDate(may3, 0));
        QCOMPARE(ShamsiDate(may3, 5), QString());
        QCOMPARE(ShamsiDate(may3, -1), QString());
        QCOMPARE(QDate(1953, 3, 21).daysTo(may3), 25610);
    }

    void knownDatesConvert_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("expected");
        QTest::newRow("base date") << QDate(1953, 3, 21) << QStringLiteral("1332.1.1");
        QTest::newRow("last day of 1332") << QDate(1954, 3, 20) << QStringLiteral("1332.12.29");
        QTest::newRow("new year 1403") << QDate(2024, 3, 20) << QStringLiteral("1403.1.1");
        QTest::newRow("last day of leap 1403") << QDate(2025, 3, 20) << QStringLiteral("1403.12.30");
        QTest::newRow("new year 1404") << QDate(2025, 3, 21) << QStringLiteral("1404.1.1");
        QTest::newRow("millennium") << QDate(2000, 1, 1) << QStringLiteral("1378.10.11");
        QTest::newRow("day 186 of a year") << QDate(2023, 9, 22) << QStringLiteral("1402.6.31");
        QTest::newRow("day 187 of a year") << QDate(2023, 9, 23) << QStringLiteral("1402.7.1");
    }
    void knownDatesConvert()
    {
        QFETCH(QDate, date);
        QFETCH(QString, expected);
        QCOMPARE(ShamsiDate(date, 4), expected);
    }

    void styleZeroPadsMonthAndDayOnly()
    {
        // 1402/02/05 and 1378/10/11
        QCOMPARE(ShamsiDate(QDate(2023, 4, 25), 0), QStringLiteral("1402/02/05"));
        QCOMPARE(ShamsiDate(QDate(2000, 1, 1), 0), QStringLiteral("1378/10/11"));
    }

    void leapYearsFollowTheArithmeticRule()
    {
        const QList<int> leapYears{1333, 1337, 1342, 1346, 1350, 1354, 1358, 1362, 1366, 1370, 1375,
                                   1379, 1383, 1387, 1391, 1395, 1399, 1403, 1408, 1412, 1416};
        for (int year = 1332; year <= 1416; ++year)
            QCOMPARE(isJalaliLeapYear(year), leapYears.contains(year));
    }

    void namesAreExactlyTheProgramsLetters()
    {
        const QStringList months{text("فروردين"), text("ارديبهشت"), text("خرداد"), text("تير"),
                                 text("مرداد"),   text("شهريور"),   text("مهر"),   text("آبان"),
                                 text("آذر"),     text("دي"),       text("بهمن"),  text("اسفند")};
        for (int m = 1; m <= 12; ++m)
            QCOMPARE(jalaliMonthName(m), months.at(m - 1));
        const QStringList days{text("يکشنبه"),  text("دوشنبه"), text("سه شنبه"), text("چهارشنبه"),
                               text("پنجشنبه"), text("جمعه"),   text("شنبه")};
        for (int d = 1; d <= 7; ++d)
            QCOMPARE(persianWeekdayName(d), days.at(d - 1));
        QVERIFY(jalaliMonthName(1).contains(QChar(0x064A)));    // Arabic yeh
        QVERIFY(persianWeekdayName(1).contains(QChar(0x06A9))); // keheh
        QCOMPARE(persianWeekdayName(3).count(u' '), 1);
        // Weekday 1 is Sunday: 7 May 2023 was a Sunday.
        QVERIFY(ShamsiDate(QDate(2023, 5, 7), 2).startsWith(text("يکشنبه ")));
    }

    void onlyTheDateCountsNotTheTimeOfDay()
    {
        const QDateTime morning(QDate(2023, 5, 3), QTime(0, 0, 1));
        const QDateTime night(QDate(2023, 5, 3), QTime(23, 59, 59));
        QCOMPARE(ShamsiDate(morning.date(), 3), ShamsiDate(night.date(), 3));
    }

    void datesBeforeTheBaseGiveEmptyText()
    {
        QCOMPARE(ShamsiDate(QDate(1953, 3, 20), 0), QString());
        QCOMPARE(ShamsiDate(QDate(1900, 1, 1), 4), QString());
        QCOMPARE(ShamsiDate(QDate(), 0), QString());
    }

    void agreesWithTheIndependentConversionOnEveryDayFrom1953To2059()
    {
        int days = 0;
        for (QDate date(1953, 3, 21); date <= QDate(2059, 3, 20); date = date.addDays(1), ++days) {
            JalaliDate ours;
            QVERIFY(toJalali(date, &ours));
            const JalaliDate theirs = reference::toJalali(date);
            if (ours.year != theirs.year || ours.month != theirs.month || ours.day != theirs.day)
                QFAIL(qPrintable(QStringLiteral("%1: %2/%3/%4 against %5/%6/%7")
                                     .arg(date.toString(Qt::ISODate))
                                     .arg(ours.year)
                                     .arg(ours.month)
                                     .arg(ours.day)
                                     .arg(theirs.year)
                                     .arg(theirs.month)
                                     .arg(theirs.day)));
        }
        // Every day of the range was compared, the last one included.
        QCOMPARE(days, QDate(1953, 3, 21).daysTo(QDate(2059, 3, 20)) + 1);
    }
};

QTEST_GUILESS_MAIN(ShamsiDateTest)
#include "ShamsiDateTest.moc"
