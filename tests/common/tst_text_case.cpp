#include "common/text_case.h"

#include "common/win1251.h"

#include <QTest>

class TstTextCase : public QObject
{
    Q_OBJECT

private slots:
    void upper_data();
    void upper();
    void wholeCodePage();
};

void TstTextCase::upper_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("search");
    QTest::newRow("cyrillic") << QStringLiteral("молоко") << QStringLiteral("МОЛОКО");
    QTest::newRow("yo") << QStringLiteral("ёлка Ёж") << QStringLiteral("ЁЛКА ЁЖ");
    QTest::newRow("trimmed") << QStringLiteral("  хлеб ржаной \r\n") << QStringLiteral("ХЛЕБ РЖАНОЙ");
    QTest::newRow("latin and digits") << QStringLiteral("Coca-Cola 0,5л") << QStringLiteral("COCA-COLA 0,5Л");
    QTest::newRow("belarusian and ukrainian") << QStringLiteral("ў і ї є ґ") << QStringLiteral("Ў І Ї Є Ґ");
    QTest::newRow("serbian and macedonian")
        << QStringLiteral("ђ ѓ љ њ ќ ћ џ ј ѕ") << QStringLiteral("Ђ Ѓ Љ Њ Ќ Ћ Џ Ј Ѕ");
    QTest::newRow("micro sign has no upper form in the code page")
        << QStringLiteral("5µ") << QStringLiteral("5µ");
    QTest::newRow("signs unchanged") << QStringLiteral("№ «а»") << QStringLiteral("№ «А»");
    QTest::newRow("outside the code page unchanged")
        << QStringLiteral("straße é") << QStringLiteral("STRAßE é");
    QTest::newRow("empty") << QString() << QString();
}

void TstTextCase::upper()
{
    QFETCH(QString, text);
    QFETCH(QString, search);
    QCOMPARE(upperSearch(text), search);
    QCOMPARE(upperWin1251(text).trimmed(), search);
}

// The case pairs of WIN1251 as the code page lays them out: a-z under A-Z,
// а-я 0x20 above А-Я, and the letters of 0x80..0xBF in their fixed pairs.
void TstTextCase::wholeCodePage()
{
    const QList<QPair<int, int>> extraPairs = {
        {0x90, 0x80}, {0x83, 0x81}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D},
        {0x9E, 0x8E}, {0x9F, 0x8F}, {0xA2, 0xA1}, {0xBC, 0xA3}, {0xB4, 0xA5},
        {0xB8, 0xA8}, {0xBA, 0xAA}, {0xBF, 0xAF}, {0xB3, 0xB2}, {0xBE, 0xBD},
    };
    for (int byte = 1; byte < 256; ++byte) {
        int upperByte = byte;
        if ((byte >= 'a' && byte <= 'z') || byte >= 0xE0)
            upperByte = byte - 0x20;
        for (const auto &pair : extraPairs) {
            if (pair.first == byte)
                upperByte = pair.second;
        }
        const char32_t c = win1251::codePointOf(uchar(byte));
        if (c == 0)
            continue;
        const QString upper = upperWin1251(QString::fromUcs4(&c, 1));
        QCOMPARE(win1251::byteOf(upper.toUcs4().value(0)), upperByte);
    }
}

QTEST_GUILESS_MAIN(TstTextCase)
#include "tst_text_case.moc"
