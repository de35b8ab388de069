#include "common/screen_registry.h"
#include "common/session.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "goods/gruppa.h"
#include "goods/vvod_tt_rr.h"
#include "scripted_desktop.h"
#include "test_db.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

// The reference screen over its seven tables and its name dialog.
class TstGruppa : public QObject
{
    Q_OBJECT

private slots:
    void addRow_data();
    void addRow();
    void renameRow_data();
    void renameRow();
    void filterInAnyCase_data();
    void filterInAnyCase();
    void deleteRefusedWhileInUse_data();
    void deleteRefusedWhileInUse();
    void zeroRowIsNeverTouched_data();
    void zeroRowIsNeverTouched();
    void serviceGroupListedOnlyWithServices();
    void sectionNameStoredUpperCase();
    void apostropheRoundTrips_data();
    void apostropheRoundTrips();
    void groupSectionIsChosenByName();
    void selectModeAnswersThePick();
    void unfitNameIsRefused();
};

namespace {

const QStringList kTables = {QStringLiteral("gruppat"), QStringLiteral("razdel"), QStringLiteral("sklad"),
                             QStringLiteral("post"),    QStringLiteral("sobstv"), QStringLiteral("oplata"),
                             QStringLiteral("doljnost")};

struct Fixture
{
    Fixture()
    {
        session.WorkDir = t.folder();
        // Counterparties are edited by their own card; here it renames the row it is given.
        screens.add(QStringLiteral("kagent"), [this](Pick &pick) {
            cardPicks.append(pick);
            t.db().exec(QStringLiteral("update post set name='Из карточки', name2='ИЗ КАРТОЧКИ' where id=") +
                        sqlId(pick.currentId));
        });
    }

    void insertRow(const QString &table, double id, const QString &name, int usl = 0)
    {
        QString sql = QStringLiteral("insert into %1 (id,name,name2").arg(table);
        sql += table == QLatin1String("gruppat") ? QStringLiteral(",idrazdel,usl) values (")
                                                 : QStringLiteral(") values (");
        sql += sqlId(id) + QLatin1Char(',') + sqlText(name) + QLatin1Char(',') + sqlText(upperSearch(name));
        if (table == QLatin1String("gruppat"))
            sql += QStringLiteral(",0,") + QString::number(usl);
        t.db().exec(sql + QLatin1Char(')'));
    }

    // Opens the screen on a table the way a caller does, leaving it ready for actions.
    void open(Gruppa &screen, const QString &table, int mode = Gruppa::Maintain, int kind = 0, double id = 0)
    {
        Pick pick;
        pick.screen = QStringLiteral("gruppa");
        pick.table = table;
        pick.mode = mode;
        pick.kind = kind;
        pick.currentId = id;
        screen.setDialogRunner([](Gruppa &) {});
        screen.run(pick);
    }

    // What another workstation reads, so only committed work counts.
    QSqlRecord committedRow(const QString &table, double id) const
    {
        return t.openSecond()
            ->query(QStringLiteral("select * from %1 where id=").arg(table) + sqlId(id))
            .value(0);
    }

    QStringList listed(const Gruppa &screen) const
    {
        QStringList names;
        const QAbstractItemModel *model = screen.grid()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            names << model->index(r, 0).data().toString();
        return names;
    }

    TestDb t;
    Session session;
    ScriptedDesktop desktop;
    ScreenRegistry screens;
    AppContext ctx{session, t.db(), desktop, screens};
    QList<Pick> cardPicks;
};

void addTables()
{
    QTest::addColumn<QString>("table");
    for (const QString &table : kTables)
        QTest::newRow(qPrintable(table)) << table;
}

void failIfNameDialogRuns(Gruppa &screen)
{
    screen.setNameDialogRunner([](VvodTtRr &) { QFAIL("the name dialog must not open"); });
}

} // namespace

void TstGruppa::addRow_data()
{
    addTables();
}

void TstGruppa::addRow()
{
    QFETCH(QString, table);
    Fixture f;
    Gruppa screen(f.ctx);
    QSignalSpy added(&screen, &Gruppa::warehouseAdded);
    f.open(screen, table);
    const int before = screen.rowCount();
    screen.setNameDialogRunner([](VvodTtRr &dialog) {
        QCOMPARE(dialog.nameEdit()->text(), QString());
        dialog.nameEdit()->setText(QStringLiteral("  Новая Запись  "));
        QVERIFY(dialog.save());
    });
    screen.addRecord();

    QCOMPARE(screen.rowCount(), before + 1);
    const double id = screen.currentId();
    QVERIFY(id > 2000);
    const QSqlRecord row = f.committedRow(table, id);
    const QString expected =
        table == QLatin1String("razdel") ? QStringLiteral("НОВАЯ ЗАПИСЬ") : QStringLiteral("Новая Запись");
    QCOMPARE(row.value(QStringLiteral("name")).toString(), expected);
    QCOMPARE(row.value(QStringLiteral("name2")).toString(), QStringLiteral("НОВАЯ ЗАПИСЬ"));
    QCOMPARE(added.count(), table == QLatin1String("sklad") ? 1 : 0);
    QVERIFY(f.desktop.messages().isEmpty());
}

void TstGruppa::renameRow_data()
{
    addTables();
}

void TstGruppa::renameRow()
{
    QFETCH(QString, table);
    Fixture f;
    f.insertRow(table, 3000, QStringLiteral("Старое имя"));
    f.insertRow(table, 3001, QStringLiteral("Другое"));
    Gruppa screen(f.ctx);
    f.open(screen, table, Gruppa::Maintain, 0, 3000);
    QCOMPARE(screen.currentId(), 3000.0);
    const bool isPost = table == QLatin1String("post");
    if (isPost) {
        failIfNameDialogRuns(screen);
    } else {
        screen.setNameDialogRunner([](VvodTtRr &dialog) {
            QCOMPARE(dialog.nameEdit()->text(), QStringLiteral("Старое имя"));
            dialog.nameEdit()->setText(QStringLiteral("Ящик 7"));
            QVERIFY(dialog.save());
        });
    }
    screen.editRecord();

    QCOMPARE(screen.currentId(), 3000.0);
    const QSqlRecord row = f.committedRow(table, 3000);
    if (isPost) {
        QCOMPARE(f.cardPicks.size(), 1);
        QCOMPARE(f.cardPicks.first().screen, QStringLiteral("kagent"));
        QCOMPARE(f.cardPicks.first().currentId, 3000.0);
        QCOMPARE(row.value(QStringLiteral("name")).toString(), QStringLiteral("Из карточки"));
    } else {
        QVERIFY(f.cardPicks.isEmpty());
        QCOMPARE(row.value(QStringLiteral("name"))
                     .toString()
                     .compare(QStringLiteral("Ящик 7"), Qt::CaseInsensitive),
                 0);
        QCOMPARE(row.value(QStringLiteral("name2")).toString(), QStringLiteral("ЯЩИК 7"));
    }
    QCOMPARE(f.committedRow(table, 3001).value(QStringLiteral("name")).toString(), QStringLiteral("Другое"));
}

void TstGruppa::filterInAnyCase_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("filter");
    const QStringList filters = {QStringLiteral("склад"), QStringLiteral("СКЛАД"), QStringLiteral(" сКлАд ")};
    const QStringList cases = {QStringLiteral("lower"), QStringLiteral("upper"), QStringLiteral("mixed")};
    for (const QString &table : kTables) {
        for (int i = 0; i < filters.size(); ++i)
            QTest::newRow(qPrintable(table + QLatin1Char(' ') + cases[i])) << table << filters[i];
    }
}

void TstGruppa::filterInAnyCase()
{
    QFETCH(QString, table);
    QFETCH(QString, filter);
    Fixture f;
    f.insertRow(table, 3000, QStringLiteral("Основной склад"));
    f.insertRow(table, 3001, QStringLiteral("СКЛАД №2"));
    f.insertRow(table, 3002, QStringLiteral("Магазин"));
    Gruppa screen(f.ctx);
    f.open(screen, table);
    QVERIFY(f.listed(screen).size() >= 3);

    screen.filterEdit()->setText(filter);
    QCOMPARE(f.listed(screen), (QStringList{QStringLiteral("Основной склад"), QStringLiteral("СКЛАД №2")}));
    screen.filterEdit()->setText(QStringLiteral("маг"));
    QCOMPARE(f.listed(screen), QStringList{QStringLiteral("Магазин")});
    screen.filterEdit()->clear();
    QVERIFY(f.listed(screen).contains(QStringLiteral("Магазин")));
    QCOMPARE(f.listed(screen).size(), screen.rowCount());
}

void TstGruppa::deleteRefusedWhileInUse_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("referrer");
    QTest::addColumn<QString>("reference");
    QTest::newRow("gruppat") << "gruppat"
                             << "tovar"
                             << "insert into tovar (id,name,name2,usl,idgruppa) values (4000,'Т','Т',0,%1)";
    QTest::newRow("razdel") << "razdel"
                            << "gruppat"
                            << "insert into gruppat (id,name,name2,usl,idrazdel) values (4000,'Г','Г',0,%1)";
    QTest::newRow("sklad") << "sklad"
                           << "obrt2"
                           << "insert into obrt2 (id,idsklad) values (4000,%1)";
    QTest::newRow("post") << "post"
                          << "oper"
                          << "insert into oper (id,idpost) values (4000,%1)";
    QTest::newRow("sobstv") << "sobstv"
                            << "obrt"
                            << "insert into obrt (id,idsobstv) values (4000,%1)";
    QTest::newRow("oplata") << "oplata"
                            << "oper"
                            << "insert into oper (id,oplata) values (4000,%1)";
    QTest::newRow("doljnost has no check") << "doljnost"
                                           << ""
                                           << "";
}

void TstGruppa::deleteRefusedWhileInUse()
{
    QFETCH(QString, table);
    QFETCH(QString, referrer);
    QFETCH(QString, reference);
    Fixture f;
    f.insertRow(table, 3000, QStringLiteral("Занятая"));
    if (!reference.isEmpty())
        f.t.db().exec(reference.arg(3000));
    f.t.db().commit();
    Gruppa screen(f.ctx);
    f.open(screen, table, Gruppa::Maintain, 0, 3000);

    if (!reference.isEmpty()) {
        screen.deleteRecord();
        QCOMPARE(f.desktop.messages().size(), 1);
        QCOMPARE(f.desktop.messages().first().kind, ScriptedDesktop::Kind::Warning);
        QCOMPARE(f.desktop.lastText(), QStringLiteral("Удаление невозможно, есть ссылки на данную запись"));
        QVERIFY(!f.committedRow(table, 3000).isEmpty());
        f.t.db().exec(QStringLiteral("delete from %1 where id=4000").arg(referrer));
        f.desktop.clear();
    }

    f.desktop.answer(false);
    screen.deleteRecord();
    QCOMPARE(f.desktop.lastText(), QStringLiteral("Удалить запись"));
    QVERIFY(!f.committedRow(table, 3000).isEmpty());

    f.desktop.answer(true);
    screen.deleteRecord();
    QVERIFY(f.committedRow(table, 3000).isEmpty());
    QVERIFY(!screen.selectId(3000));
}

void TstGruppa::zeroRowIsNeverTouched_data()
{
    addTables();
}

void TstGruppa::zeroRowIsNeverTouched()
{
    QFETCH(QString, table);
    Fixture f;
    if (table == QLatin1String("doljnost"))
        f.insertRow(table, 0, QString());
    f.insertRow(table, 3000, QStringLiteral("Запись"));
    f.t.db().commit();
    Gruppa screen(f.ctx);
    f.open(screen, table);
    QVERIFY(screen.selectId(0));
    failIfNameDialogRuns(screen);
    screen.editRecord();
    screen.deleteRecord(); // an unexpected question would fail here
    QVERIFY(f.desktop.messages().isEmpty());
    QVERIFY(f.cardPicks.isEmpty());
    QVERIFY(!f.committedRow(table, 0).isEmpty());
    QVERIFY(screen.selectId(0));
}

void TstGruppa::serviceGroupListedOnlyWithServices()
{
    Fixture f;
    f.insertRow(QStringLiteral("gruppat"), 3000, QStringLiteral("Товарная группа"), 0);
    Gruppa screen(f.ctx);
    Pick services;
    services.table = QStringLiteral("gruppat");
    services.mode = Gruppa::Maintain;
    services.kind = 1;
    double id = 0;
    screen.setNameDialogRunner([](VvodTtRr &dialog) {
        dialog.nameEdit()->setText(QStringLiteral("Ремонт"));
        QVERIFY(dialog.save());
    });
    screen.setDialogRunner([&](Gruppa &s) {
        QCOMPARE(f.listed(s), (QStringList{QString()}));
        s.addRecord();
        id = s.currentId();
        QCOMPARE(f.listed(s), (QStringList{QString(), QStringLiteral("Ремонт")}));
        s.okClicked();
    });
    screen.run(services);
    QVERIFY(!services.chosen);
    QCOMPARE(f.committedRow(QStringLiteral("gruppat"), id).value(QStringLiteral("usl")).toInt(), 1);

    // The kind is reset on closing: the next opening without a kind lists goods groups.
    Pick goods;
    goods.table = QStringLiteral("gruppat");
    screen.setDialogRunner([&](Gruppa &s) {
        QCOMPARE(f.listed(s), (QStringList{QString(), QStringLiteral("Товарная группа")}));
        QVERIFY(!s.selectId(id));
    });
    screen.run(goods);
    const DbRows panel =
        f.t.db().query(QStringLiteral("select name, id, usl from gruppat where id=0 or usl=1 order by name"));
    QCOMPARE(panel.size(), 2);
    QCOMPARE(panel.at(1).value(QStringLiteral("id")).toDouble(), id);
}

void TstGruppa::sectionNameStoredUpperCase()
{
    Fixture f;
    f.insertRow(QStringLiteral("razdel"), 3000, QStringLiteral("ХИМИЯ"));
    Gruppa screen(f.ctx);
    f.open(screen, QStringLiteral("razdel"), Gruppa::Maintain, 0, 3000);
    QCOMPARE(screen.windowTitle(), QStringLiteral("Раздел"));
    screen.setNameDialogRunner([](VvodTtRr &dialog) {
        QCOMPARE(dialog.nameLabel()->text(), QStringLiteral("Наименование Раздел"));
        QVERIFY(dialog.sectionBox()->isHidden());
        dialog.nameEdit()->setText(QStringLiteral("бытовая химия ёлки"));
        QVERIFY(dialog.save());
    });
    screen.editRecord();
    const QSqlRecord row = f.committedRow(QStringLiteral("razdel"), 3000);
    QCOMPARE(row.value(QStringLiteral("name")).toString(), QStringLiteral("БЫТОВАЯ ХИМИЯ ЁЛКИ"));
    QCOMPARE(row.value(QStringLiteral("name2")).toString(), QStringLiteral("БЫТОВАЯ ХИМИЯ ЁЛКИ"));
}

void TstGruppa::apostropheRoundTrips_data()
{
    addTables();
}

void TstGruppa::apostropheRoundTrips()
{
    QFETCH(QString, table);
    const QString name = table == QLatin1String("razdel") ? QStringLiteral("О'КЕЙ 'ДЛЯ ДОМА'")
                                                          : QStringLiteral("О'кей 'для дома'");
    Fixture f;
    Gruppa screen(f.ctx);
    f.open(screen, table);
    screen.setNameDialogRunner([&name](VvodTtRr &dialog) {
        dialog.nameEdit()->setText(name);
        QVERIFY(dialog.save());
    });
    screen.addRecord();
    const double id = screen.currentId();
    QCOMPARE(f.committedRow(table, id).value(QStringLiteral("name")).toString(), name);
    QCOMPARE(screen.currentName(), name);

    screen.filterEdit()->setText(QStringLiteral("'кей 'для"));
    QCOMPARE(f.listed(screen), QStringList{name});
    QVERIFY(f.desktop.messages().isEmpty());

    if (table == QLatin1String("post"))
        return;
    screen.setNameDialogRunner([&name](VvodTtRr &dialog) { QCOMPARE(dialog.nameEdit()->text(), name); });
    screen.editRecord();
}

void TstGruppa::groupSectionIsChosenByName()
{
    Fixture f;
    f.insertRow(QStringLiteral("razdel"), 3100, QStringLiteral("ПРОДУКТЫ"));
    f.insertRow(QStringLiteral("razdel"), 3101, QStringLiteral("ХИМИЯ"));
    f.t.db().exec(QStringLiteral(
        "insert into gruppat (id,name,name2,idrazdel,usl) values (3000,'Мыло','МЫЛО',3101,0)"));
    Gruppa screen(f.ctx);
    f.open(screen, QStringLiteral("gruppat"), Gruppa::Maintain, 0, 3000);
    QCOMPARE(screen.grid()->model()->columnCount(), 2);
    QCOMPARE(screen.grid()->model()->index(screen.grid()->currentIndex().row(), 1).data().toString(),
             QStringLiteral("ХИМИЯ"));
    screen.setNameDialogRunner([](VvodTtRr &dialog) {
        QCOMPARE(dialog.nameLabel()->text(), QStringLiteral("Наименование Группа"));
        QCOMPARE(dialog.sectionBox()->currentText(), QStringLiteral("ХИМИЯ"));
        QCOMPARE(dialog.sectionBox()->count(), 3);
        dialog.sectionBox()->setCurrentText(QStringLiteral("ПРОДУКТЫ"));
        QVERIFY(dialog.save());
    });
    screen.editRecord();
    QCOMPARE(f.committedRow(QStringLiteral("gruppat"), 3000).value(QStringLiteral("idrazdel")).toDouble(),
             3100.0);
    QCOMPARE(screen.grid()->model()->index(screen.grid()->currentIndex().row(), 1).data().toString(),
             QStringLiteral("ПРОДУКТЫ"));

    // A section removed behind the dialog's back leaves the group without one.
    screen.setNameDialogRunner([&f](VvodTtRr &dialog) {
        f.t.db().exec(QStringLiteral("update razdel set name='ОВОЩИ' where id=3100"));
        QVERIFY(dialog.save());
    });
    screen.editRecord();
    QCOMPARE(f.committedRow(QStringLiteral("gruppat"), 3000).value(QStringLiteral("idrazdel")).toDouble(),
             0.0);
}

void TstGruppa::selectModeAnswersThePick()
{
    Fixture f;
    f.insertRow(QStringLiteral("oplata"), 3000, QStringLiteral("Бартер  "));
    Gruppa screen(f.ctx);
    Pick pick;
    pick.table = QStringLiteral("oplata");
    pick.nameToFind = QStringLiteral("Безналичный расчет");
    screen.setDialogRunner([](Gruppa &s) {
        QCOMPARE(s.windowTitle(), QStringLiteral("Виды оплаты"));
        QCOMPARE(s.currentId(), 1947.0);
        s.selectId(3000);
        s.okClicked();
    });
    screen.run(pick);
    QVERIFY(pick.chosen);
    QCOMPARE(pick.id, 3000.0);
    QCOMPARE(pick.name, QStringLiteral("Бартер"));

    Pick positioned;
    positioned.table = QStringLiteral("oplata");
    positioned.currentId = 1946;
    screen.setDialogRunner([](Gruppa &s) {
        QCOMPARE(s.currentId(), 1946.0);
        s.cancelClicked();
    });
    screen.run(positioned);
    QVERIFY(!positioned.chosen);

    // In maintenance mode "Ok !" only closes.
    Pick maintain;
    maintain.table = QStringLiteral("oplata");
    maintain.mode = Gruppa::Maintain;
    screen.setDialogRunner([](Gruppa &s) { s.okClicked(); });
    screen.run(maintain);
    QVERIFY(!maintain.chosen);
}

void TstGruppa::unfitNameIsRefused()
{
    Fixture f;
    f.insertRow(QStringLiteral("sklad"), 3000, QStringLiteral("Склад"));
    Gruppa screen(f.ctx);
    f.open(screen, QStringLiteral("sklad"), Gruppa::Maintain, 0, 3000);
    screen.setNameDialogRunner([](VvodTtRr &dialog) {
        dialog.nameEdit()->setText(QStringLiteral("Склад ☺"));
        QVERIFY(!dialog.save());
    });
    screen.editRecord();
    QCOMPARE(f.desktop.lastText(),
             QStringLiteral("Текст содержит символы, которые нельзя сохранить в базе данных: ☺"));
    QCOMPARE(f.committedRow(QStringLiteral("sklad"), 3000).value(QStringLiteral("name")).toString(),
             QStringLiteral("Склад"));
}

QTEST_MAIN(TstGruppa)
#include "tst_gruppa.moc"
