#include "common/text_case.h"

#include "common/win1251.h"

namespace {

// Pairs outside the code page (µ → Μ, ÿ → Ÿ) are not folded: the database
// could not store the upper form.
char16_t upperChar(char16_t c)
{
    if (win1251::byteOf(c) < 0)
        return c;
    const char16_t upper = QChar::toUpper(c);
    return win1251::byteOf(upper) < 0 ? c : upper;
}

} // namespace

QString upperWin1251(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        c = QChar(upperChar(c.unicode()));
    return result;
}

QString upperSearch(const QString &text)
{
    return upperWin1251(text.trimmed());
}
