#include "common/dates.h"

#include <QTest>

Q_DECLARE_METATYPE(MonthsCount)

class TstDates : public QObject
{
    Q_OBJECT

private slots:
    void monthNames_data();
    void monthNames();
    void nameDay_data();
    void nameDay();
    void nDayMes_data();
    void nDayMes();
    void monthsCount_data();
    void monthsCount();
    void age_data();
    void age();
};

void TstDates::monthNames_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("genitive");
    QTest::newRow("January") << 1 << QStringLiteral("январь") << QStringLiteral("января");
    QTest::newRow("May") << 5 << QStringLiteral("май") << QStringLiteral("мая");
    QTest::newRow("August") << 8 << QStringLiteral("август") << QStringLiteral("августа");
    QTest::newRow("December") << 12 << QStringLiteral("декабрь") << QStringLiteral("декабря");
    QTest::newRow("0") << 0 << QString() << QString();
    QTest::newRow("13") << 13 << QStringLiteral("января") << QString();
    QTest::newRow("24") << 24 << QStringLiteral("декабря") << QString();
    QTest::newRow("25") << 25 << QString() << QString();
}

void TstDates::monthNames()
{
    QFETCH(int, month);
    QFETCH(QString, name);
    QFETCH(QString, genitive);
    QCOMPARE(MonthName(month), name);
    QCOMPARE(MonthNameGen(month), genitive);
    if (month >= 1 && month <= 12)
        QCOMPARE(MonthName(month + 12), genitive);
}

void TstDates::nameDay_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("name");
    QTest::newRow("Sunday") << QDate(2022, 8, 7) << QStringLiteral("вс");
    QTest::newRow("Monday") << QDate(2022, 8, 1) << QStringLiteral("пн");
    QTest::newRow("Tuesday") << QDate(2022, 8, 2) << QStringLiteral("вт");
    QTest::newRow("Wednesday") << QDate(2022, 8, 3) << QStringLiteral("ср");
    QTest::newRow("Thursday") << QDate(2022, 8, 4) << QStringLiteral("чт");
    QTest::newRow("Friday") << QDate(2022, 8, 5) << QStringLiteral("пт");
    QTest::newRow("Saturday") << QDate(2022, 8, 6) << QStringLiteral("сб");
    QTest::newRow("leap day 2024") << QDate(2024, 2, 29) << QStringLiteral("чт");
    QTest::newRow("invalid") << QDate() << QString();
}

void TstDates::nameDay()
{
    QFETCH(QDate, date);
    QFETCH(QString, name);
    QCOMPARE(NameDay(date), name);
}

void TstDates::nDayMes_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("days");
    QTest::newRow("January") << 1 << 2023 << 31;
    QTest::newRow("April") << 4 << 2023 << 30;
    QTest::newRow("February 2023") << 2 << 2023 << 28;
    QTest::newRow("February 2024") << 2 << 2024 << 29;
    QTest::newRow("February 1900") << 2 << 1900 << 28;
    QTest::newRow("February 2000") << 2 << 2000 << 29;
    QTest::newRow("December rolls into January") << 12 << 2022 << 31;
    QTest::newRow("month 0") << 0 << 2022 << 0;
    QTest::newRow("month 13") << 13 << 2022 << 0;
}

void TstDates::nDayMes()
{
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, days);
    QCOMPARE(NDayMes(month, year), days);
}

void TstDates::monthsCount_data()
{
    QTest::addColumn<QDate>("earlier");
    QTest::addColumn<QDate>("later");
    QTest::addColumn<MonthsCount>("span");
    QTest::newRow("31.01 to 01.03") << QDate(2023, 1, 31) << QDate(2023, 3, 1) << MonthsCount{0, 1, 1};
    QTest::newRow("15.02.2023 to 10.03.2024")
        << QDate(2023, 2, 15) << QDate(2024, 3, 10) << MonthsCount{1, 0, 24};
    QTest::newRow("equal dates") << QDate(2022, 8, 5) << QDate(2022, 8, 5) << MonthsCount{0, 0, 0};
    QTest::newRow("whole years") << QDate(2010, 9, 1) << QDate(2022, 9, 1) << MonthsCount{12, 0, 0};
    QTest::newRow("day later than start")
        << QDate(2020, 3, 10) << QDate(2022, 5, 25) << MonthsCount{2, 2, 15};
    QTest::newRow("borrow over a year end")
        << QDate(2021, 12, 20) << QDate(2022, 1, 5) << MonthsCount{0, 0, 16};
    QTest::newRow("borrow of a 30-day month")
        << QDate(2022, 4, 30) << QDate(2022, 6, 1) << MonthsCount{0, 1, 1};
    QTest::newRow("February judged by the later year")
        << QDate(2023, 2, 20) << QDate(2024, 2, 10) << MonthsCount{0, 11, 19};
    QTest::newRow("February of a non-leap later year")
        << QDate(2024, 2, 20) << QDate(2025, 3, 10) << MonthsCount{1, 0, 18};
    QTest::newRow("eleven months") << QDate(2022, 1, 1) << QDate(2022, 12, 31) << MonthsCount{0, 11, 30};
}

void TstDates::monthsCount()
{
    QFETCH(QDate, earlier);
    QFETCH(QDate, later);
    QFETCH(MonthsCount, span);
    const MonthsCount forward = GetMonthsCount(earlier, later);
    QCOMPARE(forward.years, span.years);
    QCOMPARE(forward.months, span.months);
    QCOMPARE(forward.days, span.days);
    QVERIFY(GetMonthsCount(later, earlier) == forward);
}

void TstDates::age_data()
{
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("age");
    QTest::newRow("birthday today") << QDate(1990, 8, 5) << QDate(2022, 8, 5) << 32;
    QTest::newRow("day before birthday") << QDate(1990, 8, 5) << QDate(2022, 8, 4) << 31;
    QTest::newRow("month before birthday") << QDate(1990, 8, 5) << QDate(2022, 7, 30) << 31;
    QTest::newRow("after birthday") << QDate(1990, 8, 5) << QDate(2022, 9, 1) << 32;
    QTest::newRow("same day") << QDate(2022, 8, 5) << QDate(2022, 8, 5) << 0;
    QTest::newRow("leap-day birth on 28.02") << QDate(2000, 2, 29) << QDate(2023, 2, 28) << 22;
    QTest::newRow("leap-day birth on 01.03") << QDate(2000, 2, 29) << QDate(2023, 3, 1) << 23;
    QTest::newRow("date before birth") << QDate(2022, 8, 5) << QDate(2020, 1, 1) << -3;
}

void TstDates::age()
{
    QFETCH(QDate, birth);
    QFETCH(QDate, date);
    QFETCH(int, age);
    QCOMPARE(CalculateAge(birth, date), age);
}

QTEST_GUILESS_MAIN(TstDates)
#include "tst_dates.moc"
