#pragma once

#include <QColor>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

// What the main window holds for every screen during one run of the program.
struct Session
{
    QString WorkDir;        // the current folder at start-up, without a trailing separator
    int AccessLevel = -1;   // -1 while nobody is logged in
    double UserId = 0;
    QString LoginName;
    double SessionId = 0;
    double OpenGroupFlag = 0;
    QString KladrDatabase; // the address classifier's database name, server + ":kladrp"
    const QString ProgramVersion = QStringLiteral("22.01");
    const QDate ProgramVersionDate = QDate(2022, 8, 5);
    const QColor gridColors[3] = {QColor(240, 236, 255), QColor(235, 255, 234), QColor(255, 255, 234)};
    QStringList OperTypeName; // index 1..6, entry 0 unused
    QStringList MonthName;    // index 1..12, then the genitive forms at 13..24
    QVector<double> warehouseIds; // "select id from sklad order by id"

    QString path(const QString &relative) const { return WorkDir + QLatin1Char('/') + relative; }
    QString versionText() const;
    void fillNameTables();
};

// The name shown on the status line for an access level; empty for levels without one.
QString accessLevelName(int level);
