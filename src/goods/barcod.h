#pragma once

#include <QColor>
#include <QImage>
#include <QString>

class Desktop;

// True when only the digits of the text (FAc of common/numtools) are 13 and the last is the check digit of
// the first twelve.
bool FValidBarCode(const QString &code);

// A new in-house EAN-13 number: "46", ten random digits 0..8, check digit.
QString GetBarCode();

// "4 600000 000008" for a valid code; any other text unchanged.
QString FormatBarCode(const QString &code);

// The check digit of twelve digits (first twelve characters are digits).
int barCheckDigit(const QString &twelveDigits);

// The 95 modules ('1' bar, '0' space) of a 13-digit code; empty for anything else.
QString barPattern(const QString &code);

// The 210 x 75 picture of a 13-character code (a null QImage otherwise); white background,
// two-pixel modules, guards longer, digits in "Arial" of the given size. With a desktop,
// the picture is also put on its clipboard.
QImage FBarCodeBitmap(const QString &code, const QColor &colour = Qt::black, int fontSize = 10,
                      Desktop *clipboard = nullptr);
