#include "common/numtools.h"

#include "common/text_case.h"

#include <cmath>

namespace {

// Each word carries its trailing blank, so words are simply appended.
const char *const kUnits[10] = {"",      "одна ",  "две ",  "три ",    "четыре ",
                                "пять ", "шесть ", "семь ", "восемь ", "девять "};
const char *const kUnitsMasculine[3] = {"", "один ", "два "};
const char *const kTeens[10] = {"десять ",       "одиннадцать ", "двенадцать ",  "тринадцать ",
                                "четырнадцать ", "пятнадцать ",  "шестнадцать ", "семнадцать ",
                                "восемнадцать ", "девятнадцать "};
const char *const kTens[10] = {"",
                               "",
                               "двадцать ",
                               "тридцать ",
                               "сорок ",
                               "пятьдесят ",
                               "шестьдесят ",
                               "семьдесят ",
                               "восемьдесят ",
                               "девяносто "};
const char *const kHundreds[10] = {"",         "сто ",      "двести ",  "триста ",    "четыреста ",
                                   "пятьсот ", "шестьсот ", "семьсот ", "восемьсот ", "девятьсот "};

struct ScaleWord
{
    const char *one;
    const char *few;
    const char *many;
};

// Indexed by k / 3 - 1, k being the digits right of the triad's units digit.
const ScaleWord kScales[8] = {
    {"тысяча ", "тысячи ", "тысяч "},
    {"миллион ", "миллиона ", "миллионов "},
    {"миллиард ", "миллиарда ", "миллиардов "},
    {"триллион ", "триллиона ", "триллионов "},
    {"квадриллион ", "квадриллиона ", "квадриллионов "},
    {"квинтиллион ", "квинтиллиона ", "квинтиллинов "},
    {"секстиллион ", "секстиллиона ", "секстиллионов "},
    {"септиллион ", "септиллиона ", "септиллионов "},
};

int digitAt(const QString &text, int index)
{
    if (index >= text.size())
        return 0;
    const QChar c = text.at(index);
    return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : 0;
}

QString scaleWord(int k, int unitsDigit)
{
    const ScaleWord &scale = kScales[k / 3 - 1];
    return PluralForm(QString::number(unitsDigit), QString::fromUtf8(scale.one), QString::fromUtf8(scale.few),
                      QString::fromUtf8(scale.many));
}

QString stripControls(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString groupDigits(const QString &digits, const QString &separator)
{
    QString result;
    const qsizetype start = digits.startsWith(QLatin1Char('-')) ? 1 : 0;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const qsizetype fromRight = digits.size() - i;
        if (i > start && fromRight % 3 == 0)
            result += separator;
        result += digits.at(i);
    }
    return result;
}

} // namespace

QString PluralForm(const QString &digits, const QString &one, const QString &few, const QString &many)
{
    bool ok = false;
    int a = digits.right(2).toInt(&ok);
    if (!ok)
        a = 0;
    if (a % 10 == 1 && a != 11)
        return one;
    if (a % 10 < 2 || a % 10 > 4 || (a > 11 && a < 15))
        return many;
    return few;
}

QString NumberToWords(const QString &digits)
{
    QString work = digits;
    const int n = int(work.size());
    QString words;
    int nonZero = 0;
    for (int i = 0; i < n; ++i) {
        const int b = digitAt(work, i);
        const int k = n - 1 - i;
        switch ((k + 1) % 3) {
        case 0:
            words += QString::fromUtf8(kHundreds[b]);
            break;
        case 2:
            if (b == 1) {
                // A teen takes the units digit with it; the scale then says "many".
                words += QString::fromUtf8(kTeens[digitAt(work, i + 1)]);
                work[i + 1] = QLatin1Char('0');
            } else {
                words += QString::fromUtf8(kTens[b]);
            }
            break;
        default:
            // Only the thousands are feminine: одна тысяча, but один миллион.
            words += QString::fromUtf8(b <= 2 && k != 3 ? kUnitsMasculine[b] : kUnits[b]);
            if ((b > 0 || nonZero > 0) && k % 3 == 0 && k >= 3 && k <= 24)
                words += scaleWord(k, b);
            nonZero = 0;
            continue;
        }
        if (b > 0)
            ++nonZero;
    }
    words = stripControls(words);
    if (words.isEmpty())
        words = QStringLiteral("ноль");
    return upperWin1251(words.left(1)) + words.mid(1);
}

QString SumPropis(double amount)
{
    const double rubles = std::trunc(amount);
    // Ties to even, as the document forms always rounded kopecks.
    const int kop = int(std::nearbyint((amount - rubles) * 100));
    const QString r = QString::number(rubles, 'f', 0);
    const QString k = QString::number(kop);
    return NumberToWords(r) + QLatin1Char(' ') +
           PluralForm(r, QStringLiteral("рубль"), QStringLiteral("рубля"), QStringLiteral("рублей")) +
           (kop >= 10 ? QStringLiteral(" ") : QStringLiteral(" 0")) + k + QLatin1Char(' ') +
           PluralForm(k, QStringLiteral("копейка"), QStringLiteral("копейки"), QStringLiteral("копеек"));
}

QString thousandsSeparator(const QLocale &locale)
{
    if (locale.language() == QLocale::C)
        return QString(QChar(0x00A0));
    return locale.groupSeparator();
}

QString SumRubKop(double amount, const QLocale &locale)
{
    const double rubles = std::trunc(amount);
    const int kop = int(std::trunc(DRound(0, (amount - rubles) * 100)));
    return groupDigits(QString::number(rubles, 'f', 0), thousandsSeparator(locale)) +
           QStringLiteral(" руб. ") + (kop < 10 ? QStringLiteral("0") : QString()) + QString::number(kop) +
           QStringLiteral(" коп.");
}

QString thousandsText(double value, int decimals, const QLocale &locale)
{
    const QString fixed = QString::number(DRound(decimals, value), 'f', decimals);
    const qsizetype point = fixed.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? fixed : fixed.left(point);
    const QString separator = thousandsSeparator(locale);
    const QString decimalPoint = locale.language() == QLocale::C ? QStringLiteral(".") : locale.decimalPoint();
    return groupDigits(whole, separator) + (point < 0 ? QString() : decimalPoint + fixed.mid(point + 1));
}

double DRound(int decimals, double x)
{
    if (!std::isfinite(x))
        return x;
    const int n = decimals > 0 ? decimals : 0;
    for (int i = 0; i < n; ++i)
        x *= 10;
    // Fifteen significant digits hide the binary error: 100.49999999999999 reads 100.500000000000.
    const QString wide = QString::number(x, 'f', 15);
    const int p = std::max(1, 16 - int(wide.indexOf(QLatin1Char('.')) + 1));
    const QString text = QString::number(x, 'f', p);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    double whole = text.left(point).toDouble();
    if (text.mid(point).toDouble() >= 0.5)
        whole += x >= 0 ? 1 : -1;
    if (n == 0)
        return whole + 0.0;
    // Read back as decimal text, so the result is the double nearest to it (0.13, not 0.13000000000000003).
    return (QString::number(whole, 'f', 0) + QStringLiteral("e-") + QString::number(n)).toDouble() + 0.0;
}

Fio GetFIO(const QString &fullName)
{
    QString parts[3];
    int part = 0;
    bool inGap = false;
    for (const QChar c : fullName.trimmed()) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            inGap = true;
            continue;
        }
        if (inGap) {
            if (part < 2)
                ++part;
            else
                parts[part] += QLatin1Char(' ');
        }
        inGap = false;
        parts[part] += c;
    }
    return {parts[0].trimmed(), parts[1].trimmed(), parts[2].trimmed()};
}

QString FAc(const QString &text)
{
    QString digits;
    for (const QChar c : text.trimmed()) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    return digits;
}

QString FAc0(const QString &text)
{
    const QString digits = FAc(text);
    return digits.isEmpty() ? QStringLiteral("0") : digits;
}
