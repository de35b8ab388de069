#include "common/session.h"

#include "common/dates.h"

QString Session::versionText() const
{
    return QStringLiteral("[версия ") + ProgramVersion + QStringLiteral(" от ")
        + ProgramVersionDate.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char(']');
}

void Session::fillNameTables()
{
    OperTypeName = {QString(),
                    QStringLiteral("Поступление"),
                    QStringLiteral("Списание"),
                    QStringLiteral("Перемещение"),
                    QStringLiteral("Продажа"),
                    QStringLiteral("??"),
                    QStringLiteral("??")};
    MonthName = QStringList{QString()};
    for (int m = 1; m <= 24; ++m)
        MonthName << ::MonthName(m);
}

QString accessLevelName(int level)
{
    switch (level) {
    case 0:
        return QStringLiteral("РАЗРАБОТЧИК");
    case 1:
        return QStringLiteral("Администратор");
    case 2:
        return QStringLiteral("Бухгалтер");
    case 3:
        return QStringLiteral("Кадровый работник");
    default:
        return {};
    }
}
