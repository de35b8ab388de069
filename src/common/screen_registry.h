#pragma once

#include <QString>
#include <QVariantMap>

#include <functional>

class Db;
class Desktop;
class QWidget;
class ScreenRegistry;
struct Session;

// What every screen is built with.
struct AppContext
{
    Session &session;
    Db &db;
    Desktop &desktop;
    ScreenRegistry &screens;
    QWidget *mainWindow = nullptr;
};

// A request to a shared picker and, after it closes, its answer.
struct Pick
{
    QString screen;     // the picker's unit: "gruppa", "vyb_kagent", "VybKart", "VyborMol", "VyborT_G", ...
    QString table;      // for the reference screen: the table it lists
    int mode = 1;       // the picker's own mode numbers (1 = select for the reference screen)
    int kind = 0;       // group kind, goods kind and the like
    double currentId = 0;
    QString nameToFind;

    bool chosen = false;
    double id = 0;
    QString name;
    QVariantMap extra; // further values a picker returns (VAT rate, unit, price, ...)
};

// The shared pickers by unit name, so a screen opens one without knowing who
// builds it. Each picker is created on first use and kept until exit.
class ScreenRegistry final
{
public:
    using Opener = std::function<void(Pick &)>;

    void add(const QString &screen, Opener opener);
    bool has(const QString &screen) const;
    // Opens the picker modally; pick carries the request in and the answer out.
    void open(Pick &pick) const;

private:
    QHash<QString, Opener> m_openers;
};
