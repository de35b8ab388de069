#include "platform/dbf.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The dBase adapter: a table written in either Cyrillic code page reads back as typed.
class TstDbf : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void languageDriver_data();
    void languageDriver();
    void missingFile();
};

void TstDbf::roundTrip_data()
{
    QTest::addColumn<int>("codePage");
    QTest::newRow("dos") << int(DbfTable::CodePage::Cp866);
    QTest::newRow("windows") << int(DbfTable::CodePage::Cp1251);
}

void TstDbf::roundTrip()
{
    QFETCH(int, codePage);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    const QStringList names = {QStringLiteral("Кот д'Ивуар"), QStringLiteral("Ёлкино ёж №5"),
                               QStringLiteral("Latin text")};
    {
        DbfTable table;
        QVERIFY2(table.create(path, DbfTable::CodePage(codePage)), qPrintable(table.errorString()));
        QVERIFY(table.addField(QStringLiteral("KOD"), DbfTable::FieldType::Integer, 3));
        QVERIFY(table.addField(QStringLiteral("NAIM"), DbfTable::FieldType::String, 45));
        for (int i = 0; i < names.size(); ++i) {
            const int record = table.appendRecord();
            QCOMPARE(record, i);
            QVERIFY(table.writeInt(record, 0, 4 + i * 100));
            QVERIFY(table.writeString(record, 1, names[i]));
        }
    }
    // Byte 29 of the header names the code page for other programs.
    QFile raw(path);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    const bool windows = codePage == int(DbfTable::CodePage::Cp1251);
    QCOMPARE(static_cast<unsigned char>(bytes.at(29)), windows ? 0xC9 : 0x65);
    // "Кот" and "Ёлкино" as the code page spells them, so other programs read the same letters.
    QVERIFY(bytes.contains(windows ? QByteArray("\xCA\xEE\xF2") : QByteArray("\x8A\xAE\xE2")));
    QVERIFY(bytes.contains(windows ? QByteArray("\xA8\xEB\xEA") : QByteArray("\xF0\xAB\xAA")));

    DbfTable table;
    QVERIFY(table.open(path));
    QCOMPARE(int(table.codePage()), codePage);
    QCOMPARE(table.recordCount(), names.size());
    const int kod = table.fieldIndex(QStringLiteral("KOD"));
    const int naim = table.fieldIndex(QStringLiteral("NAIM"));
    QCOMPARE(table.fieldIndex(QStringLiteral("NOSUCH")), -1);
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(table.readInt(i, kod), 4 + i * 100);
        QCOMPARE(table.readString(i, naim), names[i]);
    }
}

void TstDbf::languageDriver_data()
{
    QTest::addColumn<int>("driver");
    QTest::addColumn<int>("codePage");
    QTest::newRow("0x65 dos") << 0x65 << int(DbfTable::CodePage::Cp866);
    QTest::newRow("0x26 dos") << 0x26 << int(DbfTable::CodePage::Cp866);
    QTest::newRow("0xC9 windows") << 0xC9 << int(DbfTable::CodePage::Cp1251);
    QTest::newRow("0x57 windows") << 0x57 << int(DbfTable::CodePage::Cp1251);
    QTest::newRow("none") << 0 << int(DbfTable::CodePage::Cp866);
}

void TstDbf::languageDriver()
{
    QFETCH(int, driver);
    QFETCH(int, codePage);
    QCOMPARE(int(DbfTable::codePageOf(driver)), codePage);
}

void TstDbf::missingFile()
{
    QTemporaryDir dir;
    DbfTable table;
    QVERIFY(!table.open(dir.filePath(QStringLiteral("oksm.dbf"))));
    QVERIFY(table.errorString().contains(QStringLiteral("oksm.dbf")));
    QVERIFY(!table.isOpen());
}

QTEST_GUILESS_MAIN(TstDbf)
#include "tst_dbf.moc"
