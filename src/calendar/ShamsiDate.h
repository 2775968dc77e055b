#pragma once

#include <QDate>
#include <QString>

// Persian (Jalali) dates, counted from 21 March 1953 = 1332/1/1 with an arithmetic leap rule.
struct JalaliDate
{
    int year = 0;
    int month = 0;
    int day = 0;
};

// The Jalali year, month and day of a Gregorian date on or after 21 March 1953.
// Returns false for an earlier or invalid date.
bool toJalali(const QDate& date, JalaliDate* result);

bool isJalaliLeapYear(int year);

// The Gregorian date of a Jalali date; an invalid date for a day that does not exist (1402/12/30
// in a common year) or one before 1332/1/1.
QDate fromJalali(const JalaliDate& date);

// The date as Persian text in one of five styles:
// 0 "1402/02/13", 1 "13 ارديبهشت 1402", 2 "چهارشنبه 1402/2/13", 3 "چهارشنبه 13 ارديبهشت 1402",
// 4 "1402.2.13". Any other style, and a date before 21 March 1953, give an empty text.
QString ShamsiDate(const QDate& date, int style = 0);

QString jalaliMonthName(int month);      // 1 … 12
QString persianWeekdayName(int weekday); // 1 = Sunday … 7 = Saturday
