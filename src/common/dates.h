#pragma once

#include <QDate>
#include <QString>

// Month and weekday names and the date arithmetic of the personnel cards and
// the timesheet.

// Month m in the nominative for 1..12 ("январь") and, as one table, in the
// genitive for 13..24 ("января" is entry 13); empty outside 1..24.
QString MonthName(int month);

// Month m in the genitive ("мая"); empty outside 1..12.
QString MonthNameGen(int month);

// Two-letter weekday ("пн"); empty for an invalid date.
QString NameDay(const QDate &date);

// Days in month m of year y; 0 when m is not 1..12.
int NDayMes(int month, int year);

struct MonthsCount
{
    int years = 0;
    int months = 0;
    int days = 0;

    friend bool operator==(const MonthsCount &, const MonthsCount &) = default;
};

// The span between two dates, in either order, as years, months and days. A
// borrowed month has the length of the earlier date's month, judged for
// February by the later date's year.
MonthsCount GetMonthsCount(const QDate &first, const QDate &second);

// Full years from birth to date; negative when date is before birth.
int CalculateAge(const QDate &birth, const QDate &date);
