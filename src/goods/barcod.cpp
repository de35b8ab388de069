#include "goods/barcod.h"

#include "common/numtools.h"
#include "platform/desktop.h"

#include <QFont>
#include <QPainter>
#include <QRandomGenerator>

namespace {

constexpr int kDigits = 13;
constexpr int kModules = 95;
constexpr int kWidth = 210;
constexpr int kHeight = 75;
constexpr int kBarTop = 3;
constexpr int kBarBottom = 57;
constexpr int kGuardBottom = 70;
constexpr int kTextTop = 58;

// The published EAN-13 digit codes, indexed by digit.
const char *const kSetL[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                               "0110001", "0101111", "0111011", "0110111", "0001011"};
const char *const kSetG[10] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                               "0111001", "0000101", "0010001", "0001001", "0010111"};
const char *const kSetR[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                               "1001110", "1010000", "1000100", "1001000", "1110100"};
// Which set each of d2..d7 takes, chosen by d1.
const char *const kParity[10] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                 "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};

bool allDigits(const QString &text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

int digitAt(const QString &text, int index)
{
    return text.at(index).unicode() - '0';
}

// Start, centre and end guards are drawn down into the digit line.
bool isGuard(int module)
{
    return module <= 3 || (module >= 46 && module <= 50) || module >= 93;
}

QString spaced(const QString &digits)
{
    QString text;
    for (const QChar c : digits) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += c;
    }
    return text;
}

QFont digitFont(int size)
{
    QFont font(QStringLiteral("Arial"), size);
    // Linux desktops carry Arial's metric twin under its own name.
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    return font;
}

} // namespace

int barCheckDigit(const QString &twelveDigits)
{
    Q_ASSERT(twelveDigits.size() >= 12 && allDigits(twelveDigits.left(12)));
    int even = 0;
    int odd = 0;
    for (int i = 0; i < 12; ++i)
        (i % 2 == 0 ? odd : even) += digitAt(twelveDigits, i);
    return (10 - (3 * even + odd) % 10) % 10;
}

bool FValidBarCode(const QString &code)
{
    const QString digits = FAc(code);
    return digits.size() == kDigits && barCheckDigit(digits) == digitAt(digits, 12);
}

QString GetBarCode()
{
    QString code = QStringLiteral("46");
    for (int i = 0; i < 10; ++i)
        code += QChar(u'0' + QRandomGenerator::global()->bounded(9));
    return code + QString::number(barCheckDigit(code));
}

QString FormatBarCode(const QString &code)
{
    if (!FValidBarCode(code))
        return code;
    return code.left(1) + QLatin1Char(' ') + code.mid(1, 6) + QLatin1Char(' ') + code.mid(7);
}

QString barPattern(const QString &code)
{
    if (code.size() != kDigits || !allDigits(code))
        return {};
    const char *const parity = kParity[digitAt(code, 0)];
    QString pattern = QStringLiteral("101");
    for (int i = 1; i <= 6; ++i) {
        const int d = digitAt(code, i);
        pattern += QLatin1String(parity[i - 1] == 'L' ? kSetL[d] : kSetG[d]);
    }
    pattern += QStringLiteral("01010");
    for (int i = 7; i <= 12; ++i)
        pattern += QLatin1String(kSetR[digitAt(code, i)]);
    pattern += QStringLiteral("101");
    Q_ASSERT(pattern.size() == kModules);
    return pattern;
}

QImage FBarCodeBitmap(const QString &code, const QColor &colour, int fontSize, Desktop *clipboard)
{
    const QString pattern = barPattern(code);
    if (pattern.isEmpty())
        return {};

    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int k = 1; k <= kModules; ++k) {
        if (pattern.at(k - 1) != QLatin1Char('1'))
            continue;
        const int bottom = isGuard(k) ? kGuardBottom : kBarBottom;
        painter.fillRect(QRect(2 * k + 13, kBarTop, 2, bottom - kBarTop + 1), colour);
    }

    painter.setPen(colour);
    painter.setFont(digitFont(fontSize));
    const auto write = [&painter](int x, const QString &text) {
        painter.drawText(QRect(x, kTextTop, kWidth - x, kHeight - kTextTop), Qt::AlignLeft | Qt::AlignTop,
                         text);
    };
    write(4, code.left(1));
    write(30, spaced(code.mid(1, 6)));
    write(121, spaced(code.mid(7, 6)));
    painter.end();

    if (clipboard)
        clipboard->copyPicture(picture);
    return picture;
}
