#pragma once

#include <QDate>
#include <QString>

// The only way a value enters SQL text. Text is trimmed with its apostrophes
// doubled; numbers carry a point; dates are 'dd.mm.yyyy'; an invalid date is NULL.
QString sqlText(const QString &value);
QString sqlNum(double value, int decimals = 2, int width = 12);
QString sqlDate(const QDate &value);
QString sqlId(double id);
