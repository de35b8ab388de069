#include "goods/barcod.h"
#include "scripted_desktop.h"

#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTest>

// The code-text routines and the bar picture. The module rows are checked
// against an independent encoder, the picture pixel by pixel.
class TstBarcod : public QObject
{
    Q_OBJECT

private slots:
    void validity_data();
    void validity();
    void formatting_data();
    void formatting();
    void generatedCodes();
    void patternMatchesIndependentEncoder_data();
    void patternMatchesIndependentEncoder();
    void firstDigitChoosesLeftSets_data();
    void firstDigitChoosesLeftSets();
    void pictureFollowsPattern_data();
    void pictureFollowsPattern();
    void barLengthsAndDigits();
    void pictureTakesColour();
    void noPictureForOtherLengths_data();
    void noPictureForOtherLengths();
    void pictureGoesToClipboard();
};

namespace {

// The published digit sets, written out here independently of the routine's tables.
const QStringList kSetL = {"0001101", "0011001", "0010011", "0111101", "0100011",
                           "0110001", "0101111", "0111011", "0110111", "0001011"};
const QStringList kSetG = {"0100111", "0110011", "0011011", "0100001", "0011101",
                           "0111001", "0000101", "0010001", "0001001", "0010111"};

bool isDark(const QImage &picture, int x, int y)
{
    return qGray(picture.pixel(x, y)) < 128;
}

bool isWhite(const QImage &picture, int x, int y)
{
    return picture.pixel(x, y) == qRgb(255, 255, 255);
}

int darkPixels(const QImage &picture, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += isDark(picture, x, y) ? 1 : 0;
    }
    return count;
}

// The module row the other encoder prints as hex bytes, first 95 bits.
QString encoderModules(const QString &program, const QString &twelveDigits)
{
    QProcess zint;
    zint.start(program, {QStringLiteral("-b"), QStringLiteral("13"), QStringLiteral("--dump"),
                         QStringLiteral("-d"), twelveDigits});
    if (!zint.waitForFinished(10000) || zint.exitCode() != 0)
        return {};
    QString bits;
    const QStringList bytes =
        QString::fromLatin1(zint.readAllStandardOutput()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &byte : bytes) {
        bool ok = false;
        const int value = byte.trimmed().toInt(&ok, 16);
        if (!ok)
            return {};
        bits += QStringLiteral("%1").arg(value, 8, 2, QLatin1Char('0'));
    }
    return bits.left(95);
}

void addCodes()
{
    QTest::addColumn<QString>("code");
    const QStringList codes = {"0123456789012", "1234567890128", "2000000000008", "3123456789019",
                               "4600000000008", "4680000000000", "5123456789000", "6543210987654",
                               "7123456789015", "8901234567890", "9780201379624", "4006381333931"};
    for (const QString &code : codes)
        QTest::newRow(qPrintable(code)) << code;
}

} // namespace

void TstBarcod::validity_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("valid");
    QTest::newRow("valid") << "4600000000008" << true;
    QTest::newRow("wrong check digit") << "4600000000007" << false;
    QTest::newRow("check digit 0") << "4680000000000" << true;
    QTest::newRow("check digit 0 written as 1") << "4680000000001" << false;
    QTest::newRow("first digit 0") << "0123456789012" << true;
    QTest::newRow("published example") << "4006381333931" << true;
    QTest::newRow("book number") << "9780201379624" << true;
    QTest::newRow("twelve digits") << "460000000000" << false;
    QTest::newRow("fourteen digits") << "46000000000008" << false;
    QTest::newRow("spaced groups") << "4 600000 000008" << true;
    QTest::newRow("blanks around") << "  4600000000008 " << true;
    QTest::newRow("letter inside") << "46000A00000008" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("digits swapped") << "6400000000008" << false;
}

void TstBarcod::validity()
{
    QFETCH(QString, code);
    QFETCH(bool, valid);
    QCOMPARE(FValidBarCode(code), valid);
}

void TstBarcod::formatting_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("shown");
    QTest::newRow("valid") << "4600000000008"
                           << "4 600000 000008";
    QTest::newRow("first digit 0") << "0123456789012"
                                   << "0 123456 789012";
    QTest::newRow("invalid") << "4600000000007"
                             << "4600000000007";
    QTest::newRow("twelve digits") << "460000000000"
                                   << "460000000000";
    QTest::newRow("plain text") << "Болт М8"
                                << "Болт М8";
    QTest::newRow("empty") << ""
                           << "";
}

void TstBarcod::formatting()
{
    QFETCH(QString, code);
    QFETCH(QString, shown);
    QCOMPARE(FormatBarCode(code), shown);
}

void TstBarcod::generatedCodes()
{
    QSet<QChar> seen;
    QSet<QString> distinct;
    for (int i = 0; i < 2000; ++i) {
        const QString code = GetBarCode();
        QCOMPARE(code.size(), 13);
        QVERIFY2(code.startsWith(QLatin1String("46")), qPrintable(code));
        for (const QChar c : code)
            QVERIFY2(c.isDigit(), qPrintable(code));
        for (int p = 2; p < 12; ++p) {
            QVERIFY2(code.at(p) != QLatin1Char('9'), qPrintable(code));
            seen.insert(code.at(p));
        }
        QVERIFY2(FValidBarCode(code), qPrintable(code));
        distinct.insert(code);
    }
    QCOMPARE(seen.size(), 9);
    QVERIFY(distinct.size() > 1990);
}

void TstBarcod::patternMatchesIndependentEncoder_data()
{
    addCodes();
}

void TstBarcod::patternMatchesIndependentEncoder()
{
    QFETCH(QString, code);
    const QString zint = QStandardPaths::findExecutable(QStringLiteral("zint"));
    if (zint.isEmpty())
        QSKIP("zint is not installed: the bar patterns are not compared with an independent encoder");
    // The encoder computes its own check digit from the first twelve.
    const QString expected = encoderModules(zint, code.left(12));
    QCOMPARE(expected.size(), 95);
    QCOMPARE(barPattern(code), expected);
}

void TstBarcod::firstDigitChoosesLeftSets_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("parity");
    QTest::newRow("0") << "0123456789012"
                       << "LLLLLL";
    QTest::newRow("0 all zeros") << "0000000000000"
                                 << "LLLLLL";
    QTest::newRow("4") << "4600000000008"
                       << "LGLLGG";
    QTest::newRow("9") << "9780201379624"
                       << "LGGLGL";
}

void TstBarcod::firstDigitChoosesLeftSets()
{
    QFETCH(QString, code);
    QFETCH(QString, parity);
    const QString pattern = barPattern(code);
    QCOMPARE(pattern.size(), 95);
    QCOMPARE(pattern.left(3), QStringLiteral("101"));
    QCOMPARE(pattern.mid(45, 5), QStringLiteral("01010"));
    QCOMPARE(pattern.right(3), QStringLiteral("101"));
    for (int i = 0; i < 6; ++i) {
        const int digit = code.at(i + 1).digitValue();
        const QStringList &set = parity.at(i) == QLatin1Char('L') ? kSetL : kSetG;
        QCOMPARE(pattern.mid(3 + 7 * i, 7), set.at(digit));
    }
}

void TstBarcod::pictureFollowsPattern_data()
{
    addCodes();
}

void TstBarcod::pictureFollowsPattern()
{
    QFETCH(QString, code);
    const QImage picture = FBarCodeBitmap(code);
    QCOMPARE(picture.size(), QSize(210, 75));
    const QString pattern = barPattern(code);
    for (int k = 1; k <= 95; ++k) {
        const bool bar = pattern.at(k - 1) == QLatin1Char('1');
        for (const int x : {2 * k + 13, 2 * k + 14}) {
            for (const int y : {3, 30, 57}) {
                QVERIFY2(isDark(picture, x, y) == bar,
                         qPrintable(QStringLiteral("module %1 x %2 y %3").arg(k).arg(x).arg(y)));
            }
        }
    }
    // Nothing above the bars, nothing beside them.
    for (int x = 0; x < 210; ++x) {
        QVERIFY(isWhite(picture, x, 0));
        QVERIFY(isWhite(picture, x, 2));
    }
    for (int y = 0; y < 58; ++y) {
        for (int x = 0; x <= 14; ++x)
            QVERIFY(isWhite(picture, x, y));
        for (int x = 205; x < 210; ++x)
            QVERIFY(isWhite(picture, x, y));
    }
}

void TstBarcod::barLengthsAndDigits()
{
    const QImage picture = FBarCodeBitmap(QStringLiteral("4600000000008"));
    QCOMPARE(picture.size(), QSize(210, 75));
    // Start guard, module 1.
    QVERIFY(isDark(picture, 15, 70));
    QVERIFY(isDark(picture, 16, 70));
    QVERIFY(isWhite(picture, 15, 71));
    QVERIFY(isWhite(picture, 16, 71));
    QVERIFY(isWhite(picture, 17, 70)); // module 2 is a space
    // Centre guard: modules 47 and 49 are bars down to the digit line, 46 and 48 spaces.
    for (const int x : {107, 108, 111, 112})
        QVERIFY(isDark(picture, x, 70));
    for (const int x : {105, 106, 109, 110})
        QVERIFY(isWhite(picture, x, 70));
    // End guard, module 95.
    QVERIFY(isDark(picture, 204, 70));
    QVERIFY(isWhite(picture, 204, 71));
    // Module 45 (always a bar) and module 89 (the bar of the last digit 8) stop at y = 57,
    // beyond the reach of the digit groups.
    for (const int x : {103, 104, 191, 192}) {
        QVERIFY(isDark(picture, x, 57));
        for (int y = 58; y < 75; ++y)
            QVERIFY2(isWhite(picture, x, y), qPrintable(QStringLiteral("x %1 y %2").arg(x).arg(y)));
    }
    // The digits were written in their three places under the bars.
    QVERIFY(darkPixels(picture, QRect(4, 58, 10, 17)) > 5);
    QVERIFY(darkPixels(picture, QRect(30, 58, 64, 17)) > 30);
    QVERIFY(darkPixels(picture, QRect(121, 58, 64, 17)) > 30);
    // Nothing between the start guard and the second group in the text line.
    QCOMPARE(darkPixels(picture, QRect(21, 58, 9, 17)), 0);
}

void TstBarcod::pictureTakesColour()
{
    const QImage picture = FBarCodeBitmap(QStringLiteral("4600000000008"), Qt::red);
    QCOMPARE(picture.pixel(15, 30), qRgb(255, 0, 0));
    QCOMPARE(picture.pixel(15, 70), qRgb(255, 0, 0));
    QCOMPARE(picture.pixel(17, 30), qRgb(255, 255, 255));
}

void TstBarcod::noPictureForOtherLengths_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("twelve digits") << "460000000000";
    QTest::newRow("spaced valid code") << "4 600000 000008";
    QTest::newRow("fourteen digits") << "46000000000008";
    QTest::newRow("letter among thirteen") << "46000A0000008";
    QTest::newRow("empty") << "";
}

void TstBarcod::noPictureForOtherLengths()
{
    QFETCH(QString, code);
    ScriptedDesktop desktop;
    QVERIFY(FBarCodeBitmap(code, Qt::black, 10, &desktop).isNull());
    QVERIFY(desktop.clipboard().isNull());
    QVERIFY(barPattern(code).isEmpty());
}

void TstBarcod::pictureGoesToClipboard()
{
    ScriptedDesktop desktop;
    const QImage picture = FBarCodeBitmap(QStringLiteral("4680000000000"), Qt::black, 10, &desktop);
    QVERIFY(!picture.isNull());
    QCOMPARE(desktop.clipboard(), picture);
    QVERIFY(desktop.messages().isEmpty());
}

QTEST_MAIN(TstBarcod)
#include "tst_barcod.moc"
