#pragma once

#include <QString>

// Upper-casing as the WIN1251 database does it: Latin and every letter pair of
// the code page (Cyrillic with ё, ў, і, ї, є, ґ, ђ, ...) fold to their upper
// form; anything else, including characters the code page lacks, stays as it is.
QString upperWin1251(const QString &text);

// The search copy of a name (name2, fio2, kod2, ...) and the text a filter looks
// for in it: trimmed and upper-cased.
QString upperSearch(const QString &text);
