#include "common/sql_literals.h"

#include <cmath>

QString sqlText(const QString &value)
{
    QString text = value.trimmed();
    text.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QString sqlNum(double value, int decimals, int width)
{
    // Formatting is locale-free: QString::number always writes a point.
    return QString::number(value, 'f', decimals).rightJustified(width, QLatin1Char(' '));
}

QString sqlDate(const QDate &value)
{
    if (!value.isValid())
        return QStringLiteral("NULL");
    return QLatin1Char('\'') + value.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char('\'');
}

QString sqlId(double id)
{
    return QString::number(std::llround(id));
}
