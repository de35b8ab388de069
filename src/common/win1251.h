#pragma once

#include <QString>

#include <optional>

// The database stores text in WIN1251; these tell whether a text can be stored
// there before anything is sent to the server.
namespace win1251 {

// The first character (a whole code point) that WIN1251 cannot hold.
std::optional<char32_t> firstUnfit(const QString &text);

inline bool fits(const QString &text) { return !firstUnfit(text).has_value(); }

// The message shown when a text cannot be stored; empty when it fits.
QString unfitMessage(const QString &text);

// The WIN1251 byte of a code point, or -1 when there is none.
int byteOf(char32_t codePoint);

// The code point of a WIN1251 byte; 0 for the one undefined byte.
char32_t codePointOf(unsigned char byte);

} // namespace win1251
