#include "common/dates.h"

#include <utility>

namespace {

// The genitive follows the nominative in one table, so entry m + 12 is the genitive of m.
const char *const kMonthNames[24] = {
    "январь",   "февраль", "март",   "апрель",  "май",      "июнь",    "июль",   "август",
    "сентябрь", "октябрь", "ноябрь", "декабрь", "января",   "февраля", "марта",  "апреля",
    "мая",      "июня",    "июля",   "августа", "сентября", "октября", "ноября", "декабря",
};

// Sunday first.
const char *const kDayNames[7] = {"вс", "пн", "вт", "ср", "чт", "пт", "сб"};

bool isLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int borrowedMonthLength(int month, int year)
{
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return isLeap(year) ? 29 : 28;
    default:
        return 31;
    }
}

} // namespace

QString MonthName(int month)
{
    return month >= 1 && month <= 24 ? QString::fromUtf8(kMonthNames[month - 1]) : QString();
}

QString MonthNameGen(int month)
{
    return month >= 1 && month <= 12 ? MonthName(month + 12) : QString();
}

QString NameDay(const QDate &date)
{
    return date.isValid() ? QString::fromUtf8(kDayNames[date.dayOfWeek() % 7]) : QString();
}

int NDayMes(int month, int year)
{
    if (month < 1 || month > 12)
        return 0;
    const QDate first(month == 12 ? year + 1 : year, month == 12 ? 1 : month + 1, 1);
    return first.addDays(-1).day();
}

MonthsCount GetMonthsCount(const QDate &first, const QDate &second)
{
    QDate later = first;
    QDate earlier = second;
    if (later < earlier)
        std::swap(later, earlier);
    int months = (later.month() - earlier.month()) + 12 * (later.year() - earlier.year());
    int days = later.day() - earlier.day();
    if (days < 0) {
        --months;
        days += borrowedMonthLength(earlier.month(), later.year());
    }
    return {months / 12, months % 12, days};
}

int CalculateAge(const QDate &birth, const QDate &date)
{
    if (birth == date)
        return 0;
    int years = date.year() - birth.year();
    if (birth.month() > date.month() || (birth.month() == date.month() && birth.day() > date.day()))
        --years;
    return years;
}
