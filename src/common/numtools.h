#pragma once

#include <QLocale>
#include <QString>

// Amounts in words, short amount texts, rounding and small text helpers shared
// by the documents and cards. All are pure functions of their arguments.

// The noun form for a count given as digit text: one (1, 21), few (2..4, 22) or
// many (0, 5..20, 25); only the last two digits decide.
QString PluralForm(const QString &digits, const QString &one, const QString &few, const QString &many);

// A digit text of up to 27 digits in Russian words, first letter upper-case;
// "Ноль" for zero or an empty text. Non-digits count as 0.
QString NumberToWords(const QString &digits);

// A non-negative amount below 10^15: rubles in words, kopecks in two digits,
// e.g. "Одна тысяча двести тридцать четыре рубля 05 копеек".
QString SumPropis(double amount);

// Rubles in digits grouped by the locale's thousands separator, then kopecks:
// "1 234 руб. 50 коп.".
QString SumRubKop(double amount, const QLocale &locale = QLocale::system());

// The locale's thousands separator; a no-break space for the C locale, whose
// comma would read as a decimal point to a Russian user.
QString thousandsSeparator(const QLocale &locale = QLocale::system());

// A rounded amount with its thousands grouped, as the lists show prices:
// "1 234,50" in a Russian locale.
QString thousandsText(double value, int decimals = 2, const QLocale &locale = QLocale());

// x rounded to the given decimals, half away from zero. The half is judged on the
// decimal text of x, so 1.005 rounds up although its double is 1.00499...
double DRound(int decimals, double x);

struct Fio
{
    QString surname;
    QString name;
    QString patronymic;
};

// Splits a full name at blanks and line breaks; words after the third stay in the
// patronymic ("Алиев Рашид Мамед оглы" → patronymic "Мамед оглы").
Fio GetFIO(const QString &fullName);

// Only the digits of the trimmed text; FAc0 gives "0" when there are none.
QString FAc(const QString &text);
QString FAc0(const QString &text);
