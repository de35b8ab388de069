#include "common/win1251.h"

#include <QTest>

class TstWin1251 : public QObject
{
    Q_OBJECT

private slots:
    void fits_data();
    void fits();
    void bytes_data();
    void bytes();
    void message();
};

void TstWin1251::fits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("firstUnfit");
    QTest::newRow("latin") << QStringLiteral("O'Brien 100%") << QString();
    QTest::newRow("cyrillic with yo") << QStringLiteral("Ёжик ёлка ЙЦУКЕН") << QString();
    QTest::newRow("punctuation of the code page") << QStringLiteral("«№ 5» — € ™ …") << QString();
    QTest::newRow("umlaut") << QStringLiteral("Müller") << QStringLiteral("ü");
    QTest::newRow("emoji is one character") << QStringLiteral("ok 😀") << QStringLiteral("😀");
    QTest::newRow("chinese") << QStringLiteral("Склад 仓库") << QStringLiteral("仓");
    QTest::newRow("empty") << QString() << QString();
}

void TstWin1251::fits()
{
    QFETCH(QString, text);
    QFETCH(QString, firstUnfit);
    const auto bad = win1251::firstUnfit(text);
    QCOMPARE(win1251::fits(text), firstUnfit.isEmpty());
    if (bad)
        QCOMPARE(QString::fromUcs4(&*bad, 1), firstUnfit);
}

void TstWin1251::bytes_data()
{
    QTest::addColumn<uint>("codePoint");
    QTest::addColumn<int>("byte");
    QTest::newRow("А") << 0x0410u << 0xC0;
    QTest::newRow("я") << 0x044Fu << 0xFF;
    QTest::newRow("Ё") << 0x0401u << 0xA8;
    QTest::newRow("ё") << 0x0451u << 0xB8;
    QTest::newRow("№") << 0x2116u << 0xB9;
    QTest::newRow("€") << 0x20ACu << 0x88;
    QTest::newRow("no-break space") << 0x00A0u << 0xA0;
    QTest::newRow("ascii") << 0x41u << 0x41;
    QTest::newRow("latin-1 é has no byte") << 0x00E9u << -1;
}

void TstWin1251::bytes()
{
    QFETCH(uint, codePoint);
    QFETCH(int, byte);
    QCOMPARE(win1251::byteOf(codePoint), byte);
    if (byte >= 0)
        QCOMPARE(uint(win1251::codePointOf(uchar(byte))), codePoint);
}

void TstWin1251::message()
{
    QCOMPARE(win1251::unfitMessage(QStringLiteral("Склад")), QString());
    QCOMPARE(win1251::unfitMessage(QStringLiteral("a→b")),
             QStringLiteral("Текст содержит символы, которые нельзя сохранить в базе данных: →"));
}

QTEST_GUILESS_MAIN(TstWin1251)
#include "tst_win1251.moc"
