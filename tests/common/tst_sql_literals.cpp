#include "common/sql_literals.h"

#include <QTest>

class TstSqlLiterals : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void number_data();
    void number();
    void date_data();
    void date();
    void id_data();
    void id();
};

void TstSqlLiterals::text_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("literal");
    QTest::newRow("plain") << QStringLiteral("Склад") << QStringLiteral("'Склад'");
    QTest::newRow("trimmed") << QStringLiteral("  a b  ") << QStringLiteral("'a b'");
    QTest::newRow("apostrophe") << QStringLiteral("O'Brien") << QStringLiteral("'O''Brien'");
    QTest::newRow("only apostrophes") << QStringLiteral("''") << QStringLiteral("''''''");
    QTest::newRow("quotes kept") << QStringLiteral("ООО \"Ромашка\"") << QStringLiteral("'ООО \"Ромашка\"'");
    QTest::newRow("empty") << QString() << QStringLiteral("''");
    QTest::newRow("injection") << QStringLiteral("' or '1'='1") << QStringLiteral("''' or ''1''=''1'");
}

void TstSqlLiterals::text()
{
    QFETCH(QString, value);
    QFETCH(QString, literal);
    QCOMPARE(sqlText(value), literal);
}

void TstSqlLiterals::number_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("literal");
    QTest::newRow("price") << 12.5 << QStringLiteral("       12.50");
    QTest::newRow("negative") << -2.0 << QStringLiteral("       -2.00");
    QTest::newRow("zero") << 0.0 << QStringLiteral("        0.00");
    QTest::newRow("wider than 12") << 1e12 << QStringLiteral("1000000000000.00");
}

void TstSqlLiterals::number()
{
    QFETCH(double, value);
    QFETCH(QString, literal);
    QCOMPARE(sqlNum(value), literal);
}

void TstSqlLiterals::date_data()
{
    QTest::addColumn<QDate>("value");
    QTest::addColumn<QString>("literal");
    QTest::newRow("day first") << QDate(2022, 8, 5) << QStringLiteral("'05.08.2022'");
    QTest::newRow("end of year") << QDate(1999, 12, 31) << QStringLiteral("'31.12.1999'");
    QTest::newRow("no date") << QDate() << QStringLiteral("NULL");
}

void TstSqlLiterals::date()
{
    QFETCH(QDate, value);
    QFETCH(QString, literal);
    QCOMPARE(sqlDate(value), literal);
}

void TstSqlLiterals::id_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("literal");
    QTest::newRow("whole") << 1947.0 << QStringLiteral("1947");
    QTest::newRow("float noise") << 2000.9999999 << QStringLiteral("2001");
    QTest::newRow("pseudo batch") << -1.0 << QStringLiteral("-1");
    QTest::newRow("large") << 123456789012.0 << QStringLiteral("123456789012");
}

void TstSqlLiterals::id()
{
    QFETCH(double, value);
    QFETCH(QString, literal);
    QCOMPARE(sqlId(value), literal);
}

QTEST_GUILESS_MAIN(TstSqlLiterals)
#include "tst_sql_literals.moc"
