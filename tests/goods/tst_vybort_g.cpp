#include "common/grid_delegate.h"
#include "goods/dubl_tovar.h"
#include "goods/tt_pod.h"
#include "goods/vybort_g.h"
#include "goods_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

// The goods catalogue: its lists, filters and orders, picking, and the
// maintenance of goods and services with their pseudo-receipts.
class TstVyborTG : public QObject
{
    Q_OBJECT

private slots:
    void emptyFirstGroupMovesToNext();
    void allGroupsTickedFromSettings();
    void kindsListTheirItems_data();
    void kindsListTheirItems();
    void filtersInAnyCase_data();
    void filtersInAnyCase();
    void sortCycle();
    void cellsArePainted();
    void pickAnswersTheCaller();
    void emptyListDoesNothing();
    void add_data();
    void add();
    void addDeclined();
    void deleteItem_data();
    void deleteItem();
    void copyIsListedAsDuplicate();
    void copyOfLongNameFits();
    void copyOfServiceInCombinedList();
    void editOpensTheCard();
    void readOnlyLevels_data();
    void readOnlyLevels();
    void cancelHiddenForOneCall();
    void grabCatalogue();
};

namespace {

struct CatalogueFixture : GoodsFixture
{
    CatalogueFixture() : screen(ctx) { screen.setDialogRunner([](VyborTG &) {}); }

    void open(int mode, int kind, double currentId = 0, bool hideCancel = false)
    {
        Pick pick;
        pick.screen = QStringLiteral("VyborT_G");
        pick.mode = mode;
        pick.kind = kind;
        pick.currentId = currentId;
        if (hideCancel)
            pick.extra.insert(QStringLiteral("hideCancel"), true);
        screen.run(pick);
        lastPick = pick;
    }
    // Opens the screen and leaves it "open" for the test's actions.
    void prepare(int mode, int kind)
    {
        Pick pick;
        pick.mode = mode;
        pick.kind = kind;
        screen.prepare(pick);
    }

    QStringList names() const
    {
        QStringList list;
        const QAbstractItemModel *model = screen.itemGrid()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            list << model->index(r, 0).data().toString();
        return list;
    }

    // The card, when opened, renames the item and saves it.
    void cardSaves(const QString &name)
    {
        screen.card()->setDialogRunner([this, name](TtPod &card) {
            cardKinds << screen.kind();
            card.nameEdit()->setText(name);
            QVERIFY(card.okClicked());
        });
    }

    VyborTG screen;
    Pick lastPick;
    QList<int> cardKinds;
};

} // namespace

void TstVyborTG::emptyFirstGroupMovesToNext()
{
    CatalogueFixture f;
    const double drinks = f.addGroup(QStringLiteral("Напитки"));
    f.addGroup(QStringLiteral("Овощи"));
    f.addItem(QStringLiteral("Сок"), drinks);
    f.prepare(VyborTG::Maintain, VyborTG::Goods);
    // The "no group" row sorts first and has no items.
    QCOMPARE(f.screen.groupCount(), 3);
    QCOMPARE(f.screen.currentGroupId(), drinks);
    QCOMPARE(f.names(), QStringList{QStringLiteral("Сок")});
    QVERIFY(!f.screen.allGroupsBox()->isChecked());
    QVERIFY(!f.screen.groupGrid()->isHidden());
}

void TstVyborTG::allGroupsTickedFromSettings()
{
    CatalogueFixture f;
    f.session.OpenGroupFlag = 1;
    f.addItem(QStringLiteral("Сок"), f.addGroup(QStringLiteral("Напитки")));
    f.addItem(QStringLiteral("Морковь"), f.addGroup(QStringLiteral("Овощи")));
    f.prepare(VyborTG::Maintain, VyborTG::Goods);
    QVERIFY(f.screen.allGroupsBox()->isChecked());
    QVERIFY(f.screen.groupGrid()->isHidden());
    QCOMPARE(f.names(), (QStringList{QStringLiteral("Морковь"), QStringLiteral("Сок")}));
    // Unticking shows the group list and the items of its current group.
    f.screen.allGroupsBox()->click();
    QVERIFY(!f.screen.groupGrid()->isHidden());
    QCOMPARE(f.screen.currentGroupId(), 0.0);
    QCOMPARE(f.names(), QStringList{});
    f.screen.setCurrentGroupRow(2);
    QCOMPARE(f.names(), QStringList{QStringLiteral("Овощи") == f.screen.groupGrid()->currentIndex().data().toString()
                                        ? QStringLiteral("Морковь")
                                        : QStringLiteral("Сок")});
}

void TstVyborTG::kindsListTheirItems_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QString>("caption");
    QTest::newRow("goods") << 0 << QStringList{QStringLiteral("Сок")}
                           << QStringList{QString(), QStringLiteral("Напитки")} << "Справочник товаров";
    QTest::newRow("services") << 1 << QStringList{QStringLiteral("Доставка")}
                              << QStringList{QString(), QStringLiteral("Работы")} << "Справочник услуг";
    QTest::newRow("both") << 9 << QStringList{QStringLiteral("Доставка"), QStringLiteral("Сок")}
                          << QStringList{QString(), QStringLiteral("Напитки"), QStringLiteral("Работы")}
                          << "Справочник товаров";
}

void TstVyborTG::kindsListTheirItems()
{
    QFETCH(int, kind);
    QFETCH(QStringList, items);
    QFETCH(QStringList, groups);
    QFETCH(QString, caption);
    CatalogueFixture f;
    f.session.OpenGroupFlag = 1;
    f.addItem(QStringLiteral("Сок"), f.addGroup(QStringLiteral("Напитки")));
    GoodsFixture::Item service;
    service.name = QStringLiteral("Доставка");
    service.usl = 1;
    service.group = f.addGroup(QStringLiteral("Работы"), 1);
    f.addItem(service);
    f.prepare(VyborTG::Select, kind);
    QCOMPARE(f.names(), items);
    QStringList listedGroups;
    for (int r = 0; r < f.screen.groupCount(); ++r)
        listedGroups << f.screen.groupGrid()->model()->index(r, 0).data().toString();
    QCOMPARE(listedGroups, groups);
    QCOMPARE(f.screen.windowTitle(), caption);
}

void TstVyborTG::filtersInAnyCase_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("name, lower case") << 0 << "кофе" << QStringList{QStringLiteral("Кофе O'Neil")};
    QTest::newRow("name with apostrophe") << 0 << "o'ne" << QStringList{QStringLiteral("Кофе O'Neil")};
    QTest::newRow("group") << 1 << "напит" << QStringList{QStringLiteral("Кофе O'Neil"), QStringLiteral("Сок")};
    QTest::newRow("section") << 2 << "бакал" << QStringList{QStringLiteral("Мука")};
    QTest::newRow("code") << 3 << "ab1" << QStringList{QStringLiteral("Сок")};
    QTest::newRow("manufacturer") << 4 << "ромаш" << QStringList{QStringLiteral("Мука")};
    QTest::newRow("nothing matches") << 0 << "ёж" << QStringList{};
}

void TstVyborTG::filtersInAnyCase()
{
    QFETCH(int, filter);
    QFETCH(QString, text);
    QFETCH(QStringList, items);
    CatalogueFixture f;
    f.session.OpenGroupFlag = 1;
    const double drinks = f.addGroup(QStringLiteral("Напитки"), 0, f.addSection(QStringLiteral("ПРОДУКТЫ")));
    const double flour = f.addGroup(QStringLiteral("Мука и крупы"), 0, f.addSection(QStringLiteral("БАКАЛЕЯ")));
    f.addItem(QStringLiteral("Кофе O'Neil"), drinks);
    f.addItem(QStringLiteral("Сок"), drinks, 0, 0, QStringLiteral("xAB12"));
    GoodsFixture::Item item;
    item.name = QStringLiteral("Мука");
    item.group = flour;
    item.maker = QStringLiteral("ООО \"Ромашка\"");
    f.addItem(item);
    f.prepare(VyborTG::Select, VyborTG::Goods);
    QCOMPARE(f.names().size(), 3);
    QLineEdit *edits[] = {f.screen.nameFilter(), f.screen.groupFilter(), f.screen.sectionFilter(),
                          f.screen.codeFilter(), f.screen.makerFilter()};
    edits[filter]->setText(text);
    QCOMPARE(f.names(), items);
    QVERIFY(f.desktop.messages().isEmpty());
}

void TstVyborTG::sortCycle()
{
    CatalogueFixture f;
    f.session.OpenGroupFlag = 1;
    f.addItem(QStringLiteral("Бублик"), 0, 30, 0);
    f.addItem(QStringLiteral("апельсин"), 0, 10, 20);  // 12.00 with VAT
    f.addItem(QStringLiteral("Вафли"), 0, 11, 0);
    f.addItem(QStringLiteral("Апельсин"), 0, 9, 0);
    f.prepare(VyborTG::Select, VyborTG::Goods);
    QCOMPARE(f.screen.nameOrder(), int(VyborTG::Ascending));
    QCOMPARE(f.screen.priceOrder(), int(VyborTG::Ascending));
    QCOMPARE(f.screen.nameSortButton()->arrowType(), Qt::UpArrow);
    // Same names in another case are ordered by price with VAT.
    QCOMPARE(f.names(), (QStringList{QStringLiteral("Апельсин"), QStringLiteral("апельсин"), QStringLiteral("Бублик"),
                                     QStringLiteral("Вафли")}));
    f.screen.selectItem(f.screen.currentId());
    f.screen.setCurrentRow(2);
    const double kept = f.screen.currentId();
    f.screen.nameSortButton()->click();
    QCOMPARE(f.screen.nameOrder(), int(VyborTG::Descending));
    QCOMPARE(f.screen.nameSortButton()->arrowType(), Qt::DownArrow);
    QCOMPARE(f.names(), (QStringList{QStringLiteral("Вафли"), QStringLiteral("Бублик"), QStringLiteral("Апельсин"),
                                     QStringLiteral("апельсин")}));
    QCOMPARE(f.screen.currentId(), kept);
    f.screen.nameSortButton()->click();
    QCOMPARE(f.screen.nameOrder(), int(VyborTG::NoOrder));
    QCOMPARE(f.screen.nameSortButton()->arrowType(), Qt::NoArrow);
    QVERIFY(!f.screen.itemSql().contains(QStringLiteral("t.name2")));
    QCOMPARE(f.names(), (QStringList{QStringLiteral("Апельсин"), QStringLiteral("Вафли"), QStringLiteral("апельсин"),
                                     QStringLiteral("Бублик")}));
    f.screen.priceSortButton()->click();
    QCOMPARE(f.names(), (QStringList{QStringLiteral("Бублик"), QStringLiteral("апельсин"), QStringLiteral("Вафли"),
                                     QStringLiteral("Апельсин")}));
    f.screen.priceSortButton()->click();
    QVERIFY(!f.screen.itemSql().contains(QStringLiteral("order by")));
    f.screen.nameSortButton()->click();
    QVERIFY(f.screen.itemSql().endsWith(QStringLiteral(" order by t.name2")));
}

void TstVyborTG::cellsArePainted()
{
    CatalogueFixture f;
    f.session.OpenGroupFlag = 1;
    const double group = f.addGroup(QStringLiteral("Напитки"), 0, f.addSection(QStringLiteral("ПРОДУКТЫ")));
    GoodsFixture::Item item;
    item.name = QStringLiteral("Сок");
    item.group = group;
    item.code = QStringLiteral("4600000000008");
    item.maker = QStringLiteral("Завод");
    item.externalCode = QStringLiteral("999999000001");
    item.price = 1000;
    item.vat = 18;
    f.addItem(item);
    item.name = QStringLiteral("Вода");
    item.vat = 0;
    item.priceList = 1;
    item.price = 0.5;
    f.addItem(item);
    f.t.db().exec(QStringLiteral("update tovar set atolok='1' where name2='СОК'"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    f.prepare(VyborTG::Select, VyborTG::Goods);
    const QAbstractItemModel *m = f.screen.itemGrid()->model();
    const auto cell = [m](int row, int column, int role = Qt::DisplayRole) {
        return m->index(row, column).data(role).toString();
    };
    QCOMPARE(cell(1, 0), QStringLiteral("Сок"));
    QCOMPARE(cell(1, 0, GridDelegate::SecondLineRole), QStringLiteral("Напитки/ПРОДУКТЫ"));
    QCOMPARE(cell(1, 1), QStringLiteral("4600000000008"));
    QCOMPARE(cell(1, 1, GridDelegate::SecondLineRole), QStringLiteral("Завод"));
    QCOMPARE(cell(1, 3), QStringLiteral("1,000.00"));
    QCOMPARE(cell(1, 4), QStringLiteral("18%"));
    QCOMPARE(cell(1, 5), QStringLiteral("1,180.00"));
    QCOMPARE(cell(1, 6), QStringLiteral("[+]"));
    QCOMPARE(cell(1, 7), QStringLiteral("999999000001"));
    QCOMPARE(cell(1, 7, GridDelegate::SecondLineRole), QStringLiteral("1"));
    QCOMPARE(cell(0, 3), QStringLiteral("0.50"));
    QCOMPARE(cell(0, 4), QString());
    QCOMPARE(cell(0, 6), QString());
    QCOMPARE(m->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Цена с НДС"));
    const QAbstractItemModel *groups = f.screen.groupGrid()->model();
    QCOMPARE(groups->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(235, 255, 234));
    QCOMPARE(groups->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 128));
    QLocale::setDefault(QLocale::c());
}

void TstVyborTG::pickAnswersTheCaller()
{
    CatalogueFixture f;
    f.session.OpenGroupFlag = 1;
    GoodsFixture::Item item;
    item.name = QStringLiteral("Сок");
    item.unit = QStringLiteral("л");
    item.price = 55.5;
    item.vat = 10;
    const double id = f.addItem(item);
    f.addItem(QStringLiteral("Вода"));
    f.screen.setDialogRunner([](VyborTG &screen) {
        QCOMPARE(screen.okButton()->toolTip(), QStringLiteral("Выбрать запись из справочника"));
        QVERIFY(screen.okButton()->font().bold());
        screen.okClicked();
    });
    f.open(VyborTG::Select, VyborTG::Goods, id);
    QVERIFY(f.lastPick.chosen);
    QCOMPARE(f.lastPick.id, id);
    QCOMPARE(f.lastPick.name, QStringLiteral("Сок"));
    QCOMPARE(f.lastPick.extra.value(QStringLiteral("stnds")).toDouble(), 10.0);
    QCOMPARE(f.lastPick.extra.value(QStringLiteral("edizm")).toString(), QStringLiteral("л"));
    QCOMPARE(f.lastPick.extra.value(QStringLiteral("cenar")).toDouble(), 55.5);
    f.screen.setDialogRunner([](VyborTG &screen) { screen.cancelClicked(); });
    f.open(VyborTG::Select, VyborTG::Goods, id);
    QVERIFY(!f.lastPick.chosen);
    // Enter in the item grid chooses the current item.
    f.screen.setDialogRunner([id](VyborTG &screen) {
        screen.setCurrentRow(0);
        QVERIFY(screen.currentId() != id);
        screen.selectItem(id);
        QTest::keyClick(screen.itemGrid(), Qt::Key_Return);
        QCOMPARE(screen.result(), int(QDialog::Accepted));
    });
    f.open(VyborTG::Select, VyborTG::Goods);
    QVERIFY(f.lastPick.chosen);
    QCOMPARE(f.lastPick.id, id);
    // In maintenance mode "Ok!" only closes.
    f.screen.setDialogRunner([](VyborTG &screen) {
        QCOMPARE(screen.okButton()->text(), QStringLiteral("Ok!"));
        QCOMPARE(screen.okButton()->toolTip(), QStringLiteral("Закрыть справочник"));
        screen.okClicked();
    });
    f.open(VyborTG::Maintain, VyborTG::Goods, id);
    QVERIFY(!f.lastPick.chosen);
}

void TstVyborTG::emptyListDoesNothing()
{
    CatalogueFixture f;
    f.prepare(VyborTG::Select, VyborTG::Goods);
    QCOMPARE(f.screen.rowCount(), 0);
    f.screen.card()->setDialogRunner([](TtPod &) { QFAIL("the card must not open"); });
    f.screen.okClicked();
    f.screen.editRecord();
    f.screen.copyRecord();
    f.screen.deleteRecord();
    QCOMPARE(f.screen.result(), int(QDialog::Rejected));
    QVERIFY(f.desktop.messages().isEmpty());
}

void TstVyborTG::add_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("usl");
    QTest::addColumn<bool>("pseudoReceipt");
    QTest::newRow("goods") << 0 << 0 << false;
    QTest::newRow("service") << 1 << 1 << true;
    QTest::newRow("combined list adds goods") << 9 << 0 << false;
}

void TstVyborTG::add()
{
    QFETCH(int, kind);
    QFETCH(int, usl);
    QFETCH(bool, pseudoReceipt);
    CatalogueFixture f;
    const double group = f.addGroup(QStringLiteral("Группа"), usl);
    f.addItem(QStringLiteral("Старый"), group);
    f.t.db().exec(QStringLiteral("update tovar set usl=") + QString::number(usl) + QStringLiteral(" where id>0"));
    f.prepare(VyborTG::Maintain, kind);
    QCOMPARE(f.screen.currentGroupId(), group);
    f.cardSaves(QStringLiteral("Новый O'Neil"));
    f.desktop.answer(true);
    f.screen.addRecord();
    QCOMPARE(f.desktop.texts(), QStringList{QStringLiteral("Добавить новую запись в Справочник\n")});
    QCOMPARE(f.cardKinds, QList<int>{kind});
    const QSqlRecord row = f.committed(QStringLiteral("select * from tovar where name2=") +
                                       sqlText(QStringLiteral("НОВЫЙ O'NEIL")));
    QVERIFY(!row.isEmpty());
    const double id = row.value(QStringLiteral("id")).toDouble();
    QCOMPARE(row.value(QStringLiteral("usl")).toInt(), usl);
    QCOMPARE(row.value(QStringLiteral("idgruppa")).toDouble(), group);
    QCOMPARE(row.value(QStringLiteral("edizm")).toString(), QStringLiteral("шт."));
    QCOMPARE(f.screen.currentId(), id);
    const DbRows receipts =
        f.t.openSecond()->query(QStringLiteral("select * from obrt where idtovar=") + sqlId(id));
    QCOMPARE(receipts.size(), pseudoReceipt ? 1 : 0);
    if (pseudoReceipt) {
        const QSqlRecord &r = receipts.first();
        QCOMPARE(r.value(QStringLiteral("dat")).toDate(), QDate(1999, 12, 31));
        QCOMPARE(r.value(QStringLiteral("dokum")).toString(), QString());
        QCOMPARE(r.value(QStringLiteral("ttype")).toInt(), -1);
        QCOMPARE(r.value(QStringLiteral("idoper")).toDouble(), -1.0);
        for (const char *zero : {"idsklad", "idmol", "idpost", "idsobstv"})
            QCOMPARE(r.value(QLatin1String(zero)).toDouble(), 0.0);
        QCOMPARE(r.value(QStringLiteral("stnds")).toDouble(), 18.0);
    }
}

void TstVyborTG::addDeclined()
{
    CatalogueFixture f;
    f.addItem(QStringLiteral("Старый"));
    f.prepare(VyborTG::Maintain, VyborTG::Goods);
    f.screen.card()->setDialogRunner([](TtPod &) { QFAIL("the card must not open"); });
    f.desktop.answer(false);
    f.screen.addRecord();
    QCOMPARE(f.t.db().query(QStringLiteral("select * from tovar where id>0")).size(), 1);
}

void TstVyborTG::deleteItem_data()
{
    QTest::addColumn<int>("usl");
    QTest::addColumn<bool>("receipt");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("goods without receipts") << 0 << false << true << true;
    QTest::newRow("declined") << 0 << false << false << false;
    QTest::newRow("goods with a receipt") << 0 << true << true << false;
    QTest::newRow("service") << 1 << false << true << false;
}

void TstVyborTG::deleteItem()
{
    QFETCH(int, usl);
    QFETCH(bool, receipt);
    QFETCH(bool, yes);
    QFETCH(bool, deleted);
    CatalogueFixture f;
    f.session.OpenGroupFlag = 1;
    double id = 0;
    f.prepare(VyborTG::Maintain, usl);
    if (usl == 1) {
        // A service gets its pseudo-receipt when it is added.
        f.cardSaves(QStringLiteral("Доставка"));
        f.desktop.answer(true);
        f.screen.addRecord();
        id = f.screen.currentId();
    } else {
        id = f.addItem(QStringLiteral("Сок"));
        if (receipt)
            f.addReceipt(id);
        f.screen.loadItems(id);
    }
    f.t.db().commit();
    f.desktop.clear();
    f.desktop.answer(yes);
    f.screen.deleteRecord();
    QStringList expected{QStringLiteral("Удалить запись ?")};
    if (yes && !deleted)
        expected << QStringLiteral("Удаление невозможно, имеются ссылки в карточках операций");
    QCOMPARE(f.desktop.texts(), expected);
    QCOMPARE(f.committedItem(id).isEmpty(), deleted);
    QCOMPARE(f.screen.rowCount(), deleted ? 0 : 1);
}

void TstVyborTG::copyIsListedAsDuplicate()
{
    CatalogueFixture f;
    f.session.OpenGroupFlag = 1;
    GoodsFixture::Item item;
    item.name = QStringLiteral("Сок");
    item.group = f.addGroup(QStringLiteral("Напитки"));
    item.code = QStringLiteral("abc1");
    item.unit = QStringLiteral("л");
    item.price = 50;
    item.vat = 20;
    item.priceList = 1;
    item.maker = QStringLiteral("Завод");
    item.externalCode = QStringLiteral("999999000003");
    const double source = f.addItem(item);
    f.prepare(VyborTG::Maintain, VyborTG::Goods);
    QStringList duplicates;
    f.screen.card()->duplicates()->setDialogRunner([&duplicates](DublTovar &list) {
        for (int r = 0; r < list.rowCount(); ++r)
            duplicates << list.grid()->model()->index(r, 0).data().toString();
    });
    QString openedName;
    f.screen.card()->setDialogRunner([&openedName](TtPod &card) {
        openedName = card.nameEdit()->text();
        QVERIFY(card.okClicked());
    });
    f.desktop.answer(true);
    f.screen.copyRecord();
    QCOMPARE(f.desktop.messages().first().text, QStringLiteral("Копировать запись ?"));
    QCOMPARE(f.desktop.messages().first().kind, ScriptedDesktop::Kind::Question);
    QCOMPARE(openedName, QStringLiteral("Сок#КОПИЯ"));
    QCOMPARE(duplicates, QStringList{QStringLiteral("Сок")});
    const double copy = f.screen.currentId();
    QVERIFY(copy != source);
    const QSqlRecord row = f.committedItem(copy);
    QCOMPARE(row.value(QStringLiteral("name2")).toString().trimmed(), QStringLiteral("СОК#КОПИЯ"));
    QCOMPARE(row.value(QStringLiteral("kod")).toString(), QStringLiteral("abc1"));
    QCOMPARE(row.value(QStringLiteral("kod2")).toString(), QStringLiteral("ABC1"));
    QCOMPARE(row.value(QStringLiteral("edizm")).toString(), QStringLiteral("л"));
    QCOMPARE(row.value(QStringLiteral("cenar")).toDouble(), 50.0);
    QCOMPARE(row.value(QStringLiteral("stnds")).toDouble(), 20.0);
    QCOMPARE(row.value(QStringLiteral("price")).toInt(), 1);
    QCOMPARE(row.value(QStringLiteral("idgruppa")).toDouble(), item.group);
    QCOMPARE(row.value(QStringLiteral("usl")).toInt(), 0);
    QCOMPARE(row.value(QStringLiteral("kod5")).toString().trimmed(), QString());
    QCOMPARE(row.value(QStringLiteral("atolkod")).toString().trimmed(), QString());
}

void TstVyborTG::copyOfLongNameFits()
{
    CatalogueFixture f;
    f.session.OpenGroupFlag = 1;
    const QString longName = QString(100, QChar(0x0416));
    f.addItem(longName);
    f.prepare(VyborTG::Maintain, VyborTG::Goods);
    f.screen.card()->setDialogRunner([](TtPod &card) { card.cancelClicked(); });
    f.desktop.answer(true);
    f.screen.copyRecord();
    QCOMPARE(f.desktop.texts(), QStringList{QStringLiteral("Копировать запись ?")});
    const QSqlRecord row = f.committedItem(f.screen.currentId());
    QCOMPARE(row.value(QStringLiteral("name")).toString().trimmed(), longName.left(94) + QStringLiteral("#КОПИЯ"));
}

void TstVyborTG::copyOfServiceInCombinedList()
{
    CatalogueFixture f;
    f.session.OpenGroupFlag = 1;
    GoodsFixture::Item service;
    service.name = QStringLiteral("Доставка");
    service.usl = 1;
    f.addItem(service);
    f.prepare(VyborTG::Maintain, VyborTG::Both);
    f.screen.card()->setDialogRunner([](TtPod &card) { QVERIFY(card.okClicked()); });
    f.desktop.answer(true);
    f.screen.copyRecord();
    const double copy = f.screen.currentId();
    QCOMPARE(f.committedItem(copy).value(QStringLiteral("usl")).toInt(), 1);
    QCOMPARE(f.committedCount(QStringLiteral("select * from obrt where idoper=-1 and idtovar=") + sqlId(copy)), 1);
}

void TstVyborTG::editOpensTheCard()
{
    CatalogueFixture f;
    f.session.OpenGroupFlag = 1;
    const double id = f.addItem(QStringLiteral("Сок"));
    f.addItem(QStringLiteral("Вода"));
    f.prepare(VyborTG::Maintain, VyborTG::Goods);
    f.screen.selectItem(id);
    f.cardSaves(QStringLiteral("Сок яблочный"));
    // Double-click edits in maintenance mode.
    const QModelIndex index = f.screen.itemGrid()->currentIndex();
    emit f.screen.itemGrid()->doubleClicked(index);
    QCOMPARE(f.cardKinds, QList<int>{0});
    QCOMPARE(f.committedItem(id).value(QStringLiteral("name")).toString().trimmed(), QStringLiteral("Сок яблочный"));
    QCOMPARE(f.screen.currentId(), id);
    QCOMPARE(f.names(), (QStringList{QStringLiteral("Вода"), QStringLiteral("Сок яблочный")}));
}

void TstVyborTG::readOnlyLevels_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("level 1") << 1 << false;
    QTest::newRow("level 3") << 3 << false;
    QTest::newRow("level 4") << 4 << true;
    QTest::newRow("level 5") << 5 << true;
}

void TstVyborTG::readOnlyLevels()
{
    QFETCH(int, level);
    QFETCH(bool, readOnly);
    GoodsFixture base;
    base.session.AccessLevel = level;
    base.session.OpenGroupFlag = 1;
    const double id = base.addItem(QStringLiteral("Сок"));
    VyborTG screen(base.ctx);
    for (const QPushButton *b : {screen.addButton(), screen.editButton(), screen.deleteButton(), screen.copyButton()})
        QCOMPARE(b->isVisibleTo(&screen), !readOnly);
    if (!readOnly)
        return;
    Pick pick;
    pick.mode = VyborTG::Maintain;
    screen.prepare(pick);
    screen.card()->setDialogRunner([](TtPod &) { QFAIL("the card must not open"); });
    // No question is asked (the scripted desktop fails on one) and nothing changes.
    screen.addRecord();
    screen.editRecord();
    screen.copyRecord();
    screen.deleteRecord();
    emit screen.itemGrid()->doubleClicked(screen.itemGrid()->currentIndex());
    QCOMPARE(base.t.db().query(QStringLiteral("select * from tovar where id>0")).size(), 1);
    QVERIFY(!base.t.db().query(QStringLiteral("select * from tovar where id=") + sqlId(id)).isEmpty());
}

void TstVyborTG::cancelHiddenForOneCall()
{
    CatalogueFixture f;
    bool shown = true;
    f.screen.setDialogRunner([&shown](VyborTG &screen) { shown = screen.cancelButton()->isVisibleTo(&screen); });
    f.open(VyborTG::Maintain, VyborTG::Goods, 0, true);
    QVERIFY(!shown);
    QVERIFY(f.screen.cancelButton()->isVisibleTo(&f.screen));
    f.open(VyborTG::Select, VyborTG::Goods);
    QVERIFY(shown);
}

void TstVyborTG::grabCatalogue()
{
    CatalogueFixture f;
    const double drinks = f.addGroup(QStringLiteral("Напитки"), 0, f.addSection(QStringLiteral("ПРОДУКТЫ")));
    f.addGroup(QStringLiteral("Хозтовары"));
    GoodsFixture::Item item;
    item.group = drinks;
    item.name = QStringLiteral("Сок яблочный 1 л");
    item.code = QStringLiteral("4600000000008");
    item.maker = QStringLiteral("ООО \"Ромашка\"");
    item.externalCode = QStringLiteral("999999000001");
    item.price = 1234.5;
    item.vat = 20;
    f.addItem(item);
    item.name = QStringLiteral("Кофе \"Jacobs\" O'Neil");
    item.price = 350;
    item.priceList = 1;
    f.addItem(item);
    f.screen.setDialogRunner([](VyborTG &screen) {
        screen.show();
        QVERIFY(screen.grab().save(QStringLiteral(QT_TESTCASE_BUILDDIR) + QStringLiteral("/vybort_g.png")));
        screen.hide();
    });
    f.open(VyborTG::Select, VyborTG::Goods);
    QCOMPARE(f.screen.rowCount(), 2);
}

QTEST_MAIN(TstVyborTG)
#include "tst_vybort_g.moc"
