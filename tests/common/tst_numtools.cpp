#include "common/numtools.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

class TstNumTools : public QObject
{
    Q_OBJECT

private slots:
    void pluralForm_data();
    void pluralForm();
    void numberToWords_data();
    void numberToWords();
    void numberToWordsAgreesWithSpeller();
    void sumPropis_data();
    void sumPropis();
    void sumRubKop_data();
    void sumRubKop();
    void thousandsText_data();
    void thousandsText();
    void dround_data();
    void dround();
    void getFio_data();
    void getFio();
    void digits_data();
    void digits();
};

void TstNumTools::pluralForm_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("form");
    QTest::newRow("1") << QStringLiteral("1") << QStringLiteral("one");
    QTest::newRow("2") << QStringLiteral("2") << QStringLiteral("few");
    QTest::newRow("4") << QStringLiteral("4") << QStringLiteral("few");
    QTest::newRow("5") << QStringLiteral("5") << QStringLiteral("many");
    QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("many");
    QTest::newRow("11") << QStringLiteral("11") << QStringLiteral("many");
    QTest::newRow("12") << QStringLiteral("12") << QStringLiteral("many");
    QTest::newRow("14") << QStringLiteral("14") << QStringLiteral("many");
    QTest::newRow("15") << QStringLiteral("15") << QStringLiteral("many");
    QTest::newRow("21") << QStringLiteral("21") << QStringLiteral("one");
    QTest::newRow("22") << QStringLiteral("22") << QStringLiteral("few");
    QTest::newRow("only last two digits: 111") << QStringLiteral("111") << QStringLiteral("many");
    QTest::newRow("only last two digits: 1001") << QStringLiteral("1001") << QStringLiteral("one");
    QTest::newRow("1000 is many") << QStringLiteral("1000") << QStringLiteral("many");
    QTest::newRow("leading zero 05") << QStringLiteral("05") << QStringLiteral("many");
    QTest::newRow("leading zero 03") << QStringLiteral("03") << QStringLiteral("few");
    QTest::newRow("empty") << QString() << QStringLiteral("many");
    QTest::newRow("not a number") << QStringLiteral("ab") << QStringLiteral("many");
}

void TstNumTools::pluralForm()
{
    QFETCH(QString, digits);
    QFETCH(QString, form);
    QCOMPARE(PluralForm(digits, QStringLiteral("one"), QStringLiteral("few"), QStringLiteral("many")), form);
}

void TstNumTools::numberToWords_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("words");
    QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("Ноль");
    QTest::newRow("empty") << QString() << QStringLiteral("Ноль");
    QTest::newRow("000") << QStringLiteral("000") << QStringLiteral("Ноль");
    QTest::newRow("1") << QStringLiteral("1") << QStringLiteral("Один");
    QTest::newRow("2") << QStringLiteral("2") << QStringLiteral("Два");
    QTest::newRow("10") << QStringLiteral("10") << QStringLiteral("Десять");
    QTest::newRow("19") << QStringLiteral("19") << QStringLiteral("Девятнадцать");
    QTest::newRow("100") << QStringLiteral("100") << QStringLiteral("Сто");
    QTest::newRow("1000") << QStringLiteral("1000") << QStringLiteral("Одна тысяча");
    QTest::newRow("2002") << QStringLiteral("2002") << QStringLiteral("Две тысячи два");
    QTest::newRow("11000") << QStringLiteral("11000") << QStringLiteral("Одиннадцать тысяч");
    QTest::newRow("12000 teen takes the units")
        << QStringLiteral("12000") << QStringLiteral("Двенадцать тысяч");
    QTest::newRow("100000 hundreds alone") << QStringLiteral("100000") << QStringLiteral("Сто тысяч");
    QTest::newRow("1000000") << QStringLiteral("1000000") << QStringLiteral("Один миллион");
    QTest::newRow("zero triad has no scale")
        << QStringLiteral("2000005") << QStringLiteral("Два миллиона пять");
    QTest::newRow("22 million") << QStringLiteral("22000000") << QStringLiteral("Двадцать два миллиона");
    QTest::newRow("leading zeros") << QStringLiteral("0021") << QStringLiteral("Двадцать один");
    QTest::newRow("non-digit counts as zero") << QStringLiteral("1x5") << QStringLiteral("Сто пять");
    QTest::newRow("quintillions, many form as the system writes it")
        << QStringLiteral("5000000000000000000") << QStringLiteral("Пять квинтиллинов");
    QTest::newRow("27 digits") << QStringLiteral("101000000000000000000000000")
                               << QStringLiteral("Сто один септиллион");
    QTest::newRow("beyond 27 digits: no scale word")
        << QStringLiteral("2000000000000000000000000000") << QStringLiteral("Два");
}

void TstNumTools::numberToWords()
{
    QFETCH(QString, digits);
    QFETCH(QString, words);
    QCOMPARE(NumberToWords(digits), words);
}

namespace {

// Numbers across every scale: all of 0..2000, then thousands, millions and
// long numbers with random digits (fixed seed, so a failure repeats).
QStringList sampleNumbers()
{
    QStringList numbers;
    for (int i = 0; i <= 2000; ++i)
        numbers << QString::number(i);
    for (int i = 2001; i < 1000000; i += 997)
        numbers << QString::number(i);
    for (qint64 i = 1000000; i < 2000000000; i += 1999993)
        numbers << QString::number(i);
    QRandomGenerator random(20220805);
    for (int i = 0; i < 1000; ++i) {
        const int length = 1 + int(random.bounded(27));
        QString digits = QString::number(1 + random.bounded(9));
        for (int d = 1; d < length; ++d) {
            // Runs of zeros make empty triads more likely.
            digits += random.bounded(3) == 0 ? QLatin1Char('0') : QChar(u'0' + random.bounded(10));
        }
        numbers << digits;
    }
    return numbers;
}

// Where our words are the system's own and differ from the usual spelling.
QString normalised(QString words)
{
    words.replace(QStringLiteral("квинтиллинов"), QStringLiteral("квинтиллионов"));
    return words.left(1).toLower() + words.mid(1);
}

} // namespace

void TstNumTools::numberToWordsAgreesWithSpeller()
{
    // Differences from that speller, normalised before comparing:
    // - our first letter is upper-case;
    // - the many form of quintillion is written "квинтиллинов".
    const QStringList numbers = sampleNumbers();
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QStringLiteral("import sys\n"
                                                       "from num2words import num2words\n"
                                                       "for line in sys.stdin:\n"
                                                       "    print(num2words(int(line), lang='ru'))\n")});
    if (!python.waitForStarted())
        QSKIP("/usr/bin/python3 is not available");
    python.write(numbers.join(QLatin1Char('\n')).toUtf8() + '\n');
    python.closeWriteChannel();
    QVERIFY(python.waitForFinished(30000));
    if (python.exitCode() != 0)
        QSKIP(qPrintable(QStringLiteral("num2words failed: ") +
                         QString::fromUtf8(python.readAllStandardError())));
    const QStringList expected = QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'));
    QVERIFY(expected.size() > numbers.size());
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const QString ours = normalised(NumberToWords(numbers.at(i)));
        if (ours != expected.at(i).trimmed())
            QFAIL(qPrintable(numbers.at(i) + QStringLiteral(": ") + ours + QStringLiteral(" / ") +
                             expected.at(i)));
    }
}

void TstNumTools::sumPropis_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("text");
    QTest::newRow("1234.05") << 1234.05
                             << QStringLiteral("Одна тысяча двести тридцать четыре рубля 05 копеек");
    QTest::newRow("0") << 0.0 << QStringLiteral("Ноль рублей 00 копеек");
    QTest::newRow("21000") << 21000.0 << QStringLiteral("Двадцать одна тысяча рублей 00 копеек");
    QTest::newRow("1 ruble 1 kopeck") << 1.01 << QStringLiteral("Один рубль 01 копейка");
    QTest::newRow("2 rubles 22 kopecks") << 2.22 << QStringLiteral("Два рубля 22 копейки");
    QTest::newRow("11 rubles 11 kopecks") << 11.11 << QStringLiteral("Одиннадцать рублей 11 копеек");
    QTest::newRow("kopecks 99") << 5.99 << QStringLiteral("Пять рублей 99 копеек");
    QTest::newRow("kopecks 10, no padding") << 3.1 << QStringLiteral("Три рубля 10 копеек");
    QTest::newRow("kopecks tie to even: 0.125") << 0.125 << QStringLiteral("Ноль рублей 12 копеек");
    QTest::newRow("million") << 1000000.5 << QStringLiteral("Один миллион рублей 50 копеек");
    QTest::newRow("just below 10^15")
        << 999999999999999.0
        << QStringLiteral("Девятьсот девяносто девять триллионов девятьсот девяносто "
                          "девять миллиардов девятьсот девяносто девять миллионов "
                          "девятьсот девяносто девять тысяч девятьсот девяносто "
                          "девять рублей 00 копеек");
}

void TstNumTools::sumPropis()
{
    QFETCH(double, amount);
    QFETCH(QString, text);
    QCOMPARE(SumPropis(amount), text);
}

void TstNumTools::sumRubKop_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    const QLocale c(QLocale::C);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QString nbsp(QChar(0x00A0));
    QTest::newRow("1234.5, C locale")
        << 1234.5 << c << QStringLiteral("1") + nbsp + QStringLiteral("234 руб. 50 коп.");
    QTest::newRow("1234.5, English") << 1234.5 << english << QStringLiteral("1,234 руб. 50 коп.");
    QTest::newRow("small kopecks padded") << 7.05 << c << QStringLiteral("7 руб. 05 коп.");
    QTest::newRow("zero") << 0.0 << c << QStringLiteral("0 руб. 00 коп.");
    QTest::newRow("kopecks half rounds up") << 2.125 << c << QStringLiteral("2 руб. 13 коп.");
    QTest::newRow("kopecks of 0.29") << 0.29 << c << QStringLiteral("0 руб. 29 коп.");
    QTest::newRow("no separator below 1000") << 999.99 << english << QStringLiteral("999 руб. 99 коп.");
    QTest::newRow("millions") << 1234567.0 << english << QStringLiteral("1,234,567 руб. 00 коп.");
    QTest::newRow("exact thousands") << 100000.0 << english << QStringLiteral("100,000 руб. 00 коп.");
}

void TstNumTools::sumRubKop()
{
    QFETCH(double, amount);
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QCOMPARE(SumRubKop(amount, locale), text);
}

void TstNumTools::thousandsText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QString nbsp(QChar(0x00A0));
    QTest::newRow("price in a Russian list")
        << 1234.5 << russian << QStringLiteral("1") + russian.groupSeparator() + QStringLiteral("234,50");
    QTest::newRow("C locale") << 1234567.0 << QLocale(QLocale::C)
                              << QStringLiteral("1") + nbsp + QStringLiteral("234") + nbsp + QStringLiteral("567.00");
    QTest::newRow("below a thousand") << 999.99 << english << QStringLiteral("999.99");
    QTest::newRow("half a kopeck rounds up") << 1.005 << english << QStringLiteral("1.01");
    QTest::newRow("negative") << -1234.5 << english << QStringLiteral("-1,234.50");
    QTest::newRow("zero") << 0.0 << english << QStringLiteral("0.00");
}

void TstNumTools::thousandsText()
{
    QFETCH(double, value);
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QCOMPARE(::thousandsText(value, 2, locale), text);
}

void TstNumTools::dround_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("rounded");
    QTest::newRow("1.005") << 2 << 1.005 << QStringLiteral("1.01");
    QTest::newRow("-2.675") << 2 << -2.675 << QStringLiteral("-2.68");
    QTest::newRow("2.5 to 0") << 0 << 2.5 << QStringLiteral("3");
    QTest::newRow("-0.5 to 0") << 0 << -0.5 << QStringLiteral("-1");
    QTest::newRow("0.125") << 2 << 0.125 << QStringLiteral("0.13");
    QTest::newRow("0.115") << 2 << 0.115 << QStringLiteral("0.12");
    QTest::newRow("1.015") << 2 << 1.015 << QStringLiteral("1.02");
    QTest::newRow("below half") << 2 << 0.1249 << QStringLiteral("0.12");
    QTest::newRow("negative below half") << 2 << -0.1249 << QStringLiteral("-0.12");
    QTest::newRow("3.5 to 0") << 0 << 3.5 << QStringLiteral("4");
    QTest::newRow("-0.4 gives zero") << 0 << -0.4 << QStringLiteral("0");
    QTest::newRow("negative decimals as 0") << -2 << 1234.5 << QStringLiteral("1235");
    QTest::newRow("3 decimals") << 3 << 2.0005 << QStringLiteral("2.001");
    QTest::newRow("already round") << 2 << 10.1 << QStringLiteral("10.1");
    QTest::newRow("large amount") << 2 << 123456789.125 << QStringLiteral("123456789.13");
    QTest::newRow("0.0701") << 2 << 0.0701 << QStringLiteral("0.07");
}

void TstNumTools::dround()
{
    QFETCH(int, decimals);
    QFETCH(double, x);
    QFETCH(QString, rounded);
    const double result = DRound(decimals, x);
    // Exactly the double nearest to the decimal, so it compares equal to a literal.
    QCOMPARE(QString::number(result, 'g', 17), QString::number(rounded.toDouble(), 'g', 17));
    QVERIFY(!std::signbit(result) || result != 0);
}

void TstNumTools::getFio_data()
{
    QTest::addColumn<QString>("fullName");
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("patronymic");
    QTest::newRow("plain") << QStringLiteral("Иванов Иван Иванович") << QStringLiteral("Иванов")
                           << QStringLiteral("Иван") << QStringLiteral("Иванович");
    QTest::newRow("blanks and line break")
        << QStringLiteral("   Петров   Пётр\r\nПетрович  ") << QStringLiteral("Петров")
        << QStringLiteral("Пётр") << QStringLiteral("Петрович");
    QTest::newRow("bare line feeds") << QStringLiteral("Сидоров\n\nСидор\nСидорович")
                                     << QStringLiteral("Сидоров") << QStringLiteral("Сидор")
                                     << QStringLiteral("Сидорович");
    QTest::newRow("fourth word stays in the patronymic")
        << QStringLiteral("Алиев Рашид Мамед  оглы") << QStringLiteral("Алиев") << QStringLiteral("Рашид")
        << QStringLiteral("Мамед оглы");
    QTest::newRow("fourth word after a line break")
        << QStringLiteral("Алиев Рашид Мамед\r\nоглы") << QStringLiteral("Алиев") << QStringLiteral("Рашид")
        << QStringLiteral("Мамед оглы");
    QTest::newRow("surname only") << QStringLiteral(" Смит ") << QStringLiteral("Смит") << QString()
                                  << QString();
    QTest::newRow("two words") << QStringLiteral("Смит\nДжон") << QStringLiteral("Смит")
                               << QStringLiteral("Джон") << QString();
    QTest::newRow("empty") << QString() << QString() << QString() << QString();
    QTest::newRow("blanks only") << QStringLiteral(" \r\n ") << QString() << QString() << QString();
}

void TstNumTools::getFio()
{
    QFETCH(QString, fullName);
    QFETCH(QString, surname);
    QFETCH(QString, name);
    QFETCH(QString, patronymic);
    const Fio fio = GetFIO(fullName);
    QCOMPARE(fio.surname, surname);
    QCOMPARE(fio.name, name);
    QCOMPARE(fio.patronymic, patronymic);
}

void TstNumTools::digits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("digitsOrZero");
    QTest::newRow("phone") << QStringLiteral(" +7 (495) 123-45-67 ") << QStringLiteral("74951234567")
                           << QStringLiteral("74951234567");
    QTest::newRow("leading zeros kept")
        << QStringLiteral("007") << QStringLiteral("007") << QStringLiteral("007");
    QTest::newRow("no digits") << QStringLiteral("нет") << QString() << QStringLiteral("0");
    QTest::newRow("empty") << QString() << QString() << QStringLiteral("0");
    QTest::newRow("decimal point dropped")
        << QStringLiteral("12.50") << QStringLiteral("1250") << QStringLiteral("1250");
    QTest::newRow("non-ASCII digits are not digits")
        << QStringLiteral("١٢3") << QStringLiteral("3") << QStringLiteral("3");
}

void TstNumTools::digits()
{
    QFETCH(QString, text);
    QFETCH(QString, digits);
    QFETCH(QString, digitsOrZero);
    QCOMPARE(FAc(text), digits);
    QCOMPARE(FAc0(text), digitsOrZero);
}

QTEST_GUILESS_MAIN(TstNumTools)
#include "tst_numtools.moc"
