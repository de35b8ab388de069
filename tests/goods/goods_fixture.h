#pragma once

#include "common/screen_registry.h"
#include "common/session.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "scripted_desktop.h"
#include "test_db.h"

// A fresh database with the catalogue's reference rows, and a registry whose
// pickers the tests answer.
struct GoodsFixture
{
    GoodsFixture()
    {
        session.WorkDir = t.folder();
        session.AccessLevel = 1;
    }

    double addSection(const QString &name)
    {
        const double id = t.db().newId(QStringLiteral("deti"));
        t.db().exec(QStringLiteral("insert into razdel (id,name,name2) values (") + sqlId(id) + QLatin1Char(',') +
                    sqlText(name) + QLatin1Char(',') + sqlText(upperSearch(name)) + QLatin1Char(')'));
        return id;
    }

    double addGroup(const QString &name, int usl = 0, double section = 0)
    {
        const double id = t.db().newId(QStringLiteral("deti"));
        t.db().exec(QStringLiteral("insert into gruppat (id,name,name2,idrazdel,usl) values (") + sqlId(id) +
                    QLatin1Char(',') + sqlText(name) + QLatin1Char(',') + sqlText(upperSearch(name)) +
                    QLatin1Char(',') + sqlId(section) + QLatin1Char(',') + QString::number(usl) + QLatin1Char(')'));
        return id;
    }

    struct Item
    {
        QString name;
        double group = 0;
        double price = 0;
        double vat = 0;
        QString code;
        int usl = 0;
        QString maker;
        QString externalCode;
        QString unit = QStringLiteral("шт.");
        int priceList = 0;
    };

    double addItem(const Item &item)
    {
        const double id = t.db().newId(QStringLiteral("deti"));
        t.db().exec(QStringLiteral("insert into tovar (id,name,name2,kod,kod2,kod5,kod52,atolkod,edizm,cenar,stnds,"
                                   "usl,idgruppa,price) values (") +
                    sqlId(id) + QLatin1Char(',') + sqlText(item.name) + QLatin1Char(',') +
                    sqlText(upperSearch(item.name)) + QLatin1Char(',') + sqlText(item.code) + QLatin1Char(',') +
                    sqlText(upperSearch(item.code)) + QLatin1Char(',') + sqlText(item.maker) + QLatin1Char(',') +
                    sqlText(upperSearch(item.maker)) + QLatin1Char(',') + sqlText(item.externalCode) +
                    QLatin1Char(',') + sqlText(item.unit) + QLatin1Char(',') + sqlNum(item.price) +
                    QLatin1Char(',') + sqlNum(item.vat) + QLatin1Char(',') + QString::number(item.usl) +
                    QLatin1Char(',') + sqlId(item.group) + QLatin1Char(',') + QString::number(item.priceList) +
                    QLatin1Char(')'));
        return id;
    }

    double addItem(const QString &name, double group = 0, double price = 0, double vat = 0,
                   const QString &code = {})
    {
        Item item;
        item.name = name;
        item.group = group;
        item.price = price;
        item.vat = vat;
        item.code = code;
        return addItem(item);
    }

    void addReceipt(double itemId)
    {
        t.db().exec(QStringLiteral("insert into obrt (id,idtovar,ttype,idoper,dat) values (") +
                    sqlId(t.db().newId(QStringLiteral("deti"))) + QLatin1Char(',') + sqlId(itemId) +
                    QStringLiteral(",1,1,'01.02.2026')"));
    }

    // What another workstation reads, so only committed work counts.
    QSqlRecord committed(const QString &sql) const { return t.openSecond()->query(sql).value(0); }
    QSqlRecord committedItem(double id) const
    {
        return committed(QStringLiteral("select * from tovar where id=") + sqlId(id));
    }
    int committedCount(const QString &sql) const { return t.openSecond()->query(sql).size(); }

    TestDb t;
    Session session;
    ScriptedDesktop desktop;
    ScreenRegistry screens;
    AppContext ctx{session, t.db(), desktop, screens};
};
