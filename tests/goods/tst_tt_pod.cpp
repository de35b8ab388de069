#include "goods/barcod.h"
#include "goods/dubl_tovar.h"
#include "goods/tt_pod.h"
#include "goods_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>

// The goods card: prices and VAT, price history, the change marker for the
// cash registers, the external-code lock, barcodes and the duplicates warning.
class TstTtPod : public QObject
{
    Q_OBJECT

private slots:
    void priceWithVatOnLeaving_data();
    void priceWithVatOnLeaving();
    void badAmountsRefusedAtInput_data();
    void badAmountsRefusedAtInput();
    void badAmountRefusedOnSave();
    void priceHistory_data();
    void priceHistory();
    void changeMarker_data();
    void changeMarker();
    void textsStoredAsTyped();
    void unfitTextRefused();
    void duplicates_data();
    void duplicates();
    void externalCodeLock();
    void generateEan13();
    void readFromScanner_data();
    void readFromScanner();
    void copyToClipboard_data();
    void copyToClipboard();
    void restrictedMode();
    void captionsByKind_data();
    void captionsByKind();
    void groupChoice();
    void cancelWritesNothing();
    void grabCard();
};

namespace {

struct CardFixture : GoodsFixture
{
    CardFixture() : card(ctx) {}

    // Opens the card the way the catalogue does; the test acts while it is "open".
    bool open(double id, int kind, const std::function<void(TtPod &)> &act, bool restricted = false)
    {
        card.setDialogRunner(act);
        const bool saved = card.run(id, kind, restricted);
        t.db().commit();
        return saved;
    }

    void leave(QLineEdit *edit) { emit edit->editingFinished(); }

    TtPod card;
};

} // namespace

void TstTtPod::priceWithVatOnLeaving_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("vat");
    QTest::addColumn<QString>("withVat");
    QTest::newRow("100.00 with 18 %") << "100.00" << "18" << "118.00";
    QTest::newRow("half a kopeck rounds up") << "0.05" << "10" << "0.06";
    QTest::newRow("comma as decimal point") << "10,55" << "20" << "12.66";
    QTest::newRow("no VAT") << "99.99" << "0" << "99.99";
    QTest::newRow("empty VAT") << "40" << "" << "40.00";
    QTest::newRow("fractional rate") << "200" << "10.5" << "221.00";
}

void TstTtPod::priceWithVatOnLeaving()
{
    QFETCH(QString, price);
    QFETCH(QString, vat);
    QFETCH(QString, withVat);
    CardFixture f;
    const double id = f.addItem(QStringLiteral("Чай"));
    f.open(id, 0, [&](TtPod &card) {
        card.vatEdit()->setText(vat);
        f.leave(card.vatEdit());
        card.priceEdit()->setText(price);
        QCOMPARE(card.priceWithVatEdit()->text(), QStringLiteral("0.00"));
        f.leave(card.priceEdit());
        QCOMPARE(card.priceWithVatEdit()->text(), withVat);
        QVERIFY(card.priceWithVatEdit()->isReadOnly());
    });
}

void TstTtPod::badAmountsRefusedAtInput_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("minus sign") << "-5" << "5";
    QTest::newRow("third decimal") << "12.345" << "12.34";
    QTest::newRow("letters") << "1a2" << "12";
    QTest::newRow("second point") << "1.2.3" << "1.23";
}

void TstTtPod::badAmountsRefusedAtInput()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    CardFixture f;
    const double id = f.addItem(QStringLiteral("Чай"));
    f.open(id, 0, [&](TtPod &card) {
        for (QLineEdit *edit : {card.priceEdit(), card.vatEdit()}) {
            edit->clear();
            QTest::keyClicks(edit, typed);
            QCOMPARE(edit->text(), kept);
        }
    });
}

void TstTtPod::badAmountRefusedOnSave()
{
    CardFixture f;
    const double id = f.addItem(QStringLiteral("Чай"), 0, 10, 18);
    f.t.db().commit();
    const bool saved = f.open(id, 0, [](TtPod &card) {
        card.priceEdit()->setText(QStringLiteral("-3.50"));
        QVERIFY(!card.okClicked());
        card.priceEdit()->setText(QStringLiteral("3.505"));
        QVERIFY(!card.okClicked());
    });
    QVERIFY(!saved);
    QCOMPARE(f.desktop.messages().size(), 2);
    QVERIFY(f.desktop.lastText().contains(QStringLiteral("Цена реализации (без НДС)")));
    QCOMPARE(f.committedItem(id).value(QStringLiteral("cenar")).toDouble(), 10.0);
    QCOMPARE(f.committedCount(QStringLiteral("select * from cenar")), 0);
}

void TstTtPod::priceHistory_data()
{
    QTest::addColumn<double>("oldPrice");
    QTest::addColumn<double>("oldVat");
    QTest::addColumn<QString>("newPrice");
    QTest::addColumn<QString>("newVat");
    QTest::addColumn<bool>("written");
    QTest::newRow("new item filled in") << 0.0 << 0.0 << "100.00" << "18" << false;
    QTest::newRow("price raised") << 100.0 << 18.0 << "120.50" << "18" << true;
    QTest::newRow("rate changed") << 100.0 << 18.0 << "100" << "20" << true;
    QTest::newRow("price set where only a rate was") << 0.0 << 20.0 << "50" << "20" << true;
    QTest::newRow("nothing changed") << 100.0 << 18.0 << "100.00" << "18" << false;
    QTest::newRow("price cleared") << 100.0 << 0.0 << "0" << "0" << true;
}

void TstTtPod::priceHistory()
{
    QFETCH(double, oldPrice);
    QFETCH(double, oldVat);
    QFETCH(QString, newPrice);
    QFETCH(QString, newVat);
    QFETCH(bool, written);
    CardFixture f;
    const double id = f.addItem(QStringLiteral("Кофе"), 0, oldPrice, oldVat);
    QVERIFY(f.open(id, 0, [&](TtPod &card) {
        card.priceEdit()->setText(newPrice);
        card.vatEdit()->setText(newVat);
        QVERIFY(card.okClicked());
    }));
    const DbRows history = f.t.openSecond()->query(QStringLiteral("select * from cenar"));
    QCOMPARE(history.size(), written ? 1 : 0);
    QCOMPARE(f.desktop.texts(), written ? QStringList{QStringLiteral("Зафиксировано изменение цены реализации либо "
                                                                     "ставки НДС")}
                                        : QStringList{});
    if (!written)
        return;
    const QSqlRecord &row = history.first();
    QCOMPARE(row.value(QStringLiteral("idtovar")).toDouble(), id);
    QCOMPARE(row.value(QStringLiteral("dat")).toDate(), QDate::currentDate());
    QCOMPARE(row.value(QStringLiteral("oldcenar")).toDouble(), oldPrice);
    QCOMPARE(row.value(QStringLiteral("oldstnds")).toDouble(), oldVat);
    QCOMPARE(row.value(QStringLiteral("newcenar")).toDouble(), newPrice.toDouble());
    QCOMPARE(row.value(QStringLiteral("newstnds")).toDouble(), newVat.toDouble());
    // The history ids come from their own generator.
    QVERIFY(row.value(QStringLiteral("id")).toDouble() >= 1);
}

void TstTtPod::changeMarker_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("marked");
    QTest::newRow("unit only") << "unit" << "кг" << false;
    QTest::newRow("price with VAT") << "price" << "110" << true;
    QTest::newRow("VAT rate") << "vat" << "20" << true;
    QTest::newRow("name") << "name" << "Сахар-песок" << true;
    QTest::newRow("code") << "code" << "2000000000015" << true;
    QTest::newRow("manufacturer") << "maker" << "Завод" << true;
    QTest::newRow("name with blanks around only") << "name" << "  Сахар  " << false;
    QTest::newRow("price-list flag only") << "priceList" << "1" << false;
    QTest::newRow("nothing") << "" << "" << false;
}

void TstTtPod::changeMarker()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(bool, marked);
    CardFixture f;
    const double id = f.addItem(QStringLiteral("Сахар"), 0, 100, 10);
    QVERIFY(f.open(id, 0, [&](TtPod &card) {
        if (field == QLatin1String("unit"))
            card.unitEdit()->setText(value);
        else if (field == QLatin1String("price"))
            card.priceEdit()->setText(value);
        else if (field == QLatin1String("vat"))
            card.vatEdit()->setText(value);
        else if (field == QLatin1String("name"))
            card.nameEdit()->setText(value);
        else if (field == QLatin1String("code"))
            card.codeEdit()->setText(value);
        else if (field == QLatin1String("maker"))
            card.makerEdit()->setText(value);
        else if (field == QLatin1String("priceList"))
            card.priceListChoice()->setCurrentIndex(value.toInt());
        f.desktop.clear();
        QVERIFY(card.okClicked());
    }));
    const QSqlRecord row = f.committedItem(id);
    QCOMPARE(row.value(QStringLiteral("atolok")).toString().trimmed(), marked ? QStringLiteral("1") : QString());
    if (field == QLatin1String("unit"))
        QCOMPARE(row.value(QStringLiteral("edizm")).toString(), value);
    if (field == QLatin1String("priceList"))
        QCOMPARE(row.value(QStringLiteral("price")).toInt(), 1);
}

void TstTtPod::textsStoredAsTyped()
{
    CardFixture f;
    const double id = f.addItem(QStringLiteral(""));
    const QString name = QStringLiteral("Кофе \"Jacobs\" O'Neil");
    QVERIFY(f.open(id, 0, [&](TtPod &card) {
        card.nameEdit()->setText(QStringLiteral("  ") + name + QStringLiteral(" "));
        card.codeEdit()->setText(QStringLiteral("ab'12"));
        card.makerEdit()->setText(QStringLiteral("ООО \"Ромашка\""));
        card.unitEdit()->setText(QStringLiteral("уп'"));
        card.externalCodeEdit()->setText(QStringLiteral("x'1"));
        QVERIFY(card.okClicked());
        QCOMPARE(card.nameEdit()->text().trimmed(), name);
    }));
    const QSqlRecord row = f.committedItem(id);
    QCOMPARE(row.value(QStringLiteral("name")).toString().trimmed(), name);
    QCOMPARE(row.value(QStringLiteral("name2")).toString().trimmed(), QStringLiteral("КОФЕ \"JACOBS\" O'NEIL"));
    QCOMPARE(row.value(QStringLiteral("kod")).toString(), QStringLiteral("ab'12"));
    QCOMPARE(row.value(QStringLiteral("kod2")).toString(), QStringLiteral("AB'12"));
    QCOMPARE(row.value(QStringLiteral("kod5")).toString().trimmed(), QStringLiteral("ООО \"Ромашка\""));
    QCOMPARE(row.value(QStringLiteral("kod52")).toString().trimmed(), QStringLiteral("ООО \"РОМАШКА\""));
    QCOMPARE(row.value(QStringLiteral("edizm")).toString(), QStringLiteral("уп'"));
    QCOMPARE(row.value(QStringLiteral("atolkod")).toString().trimmed(), QStringLiteral("x'1"));
}

void TstTtPod::unfitTextRefused()
{
    CardFixture f;
    const double id = f.addItem(QStringLiteral("Чай"));
    f.t.db().commit();
    QVERIFY(!f.open(id, 0, [](TtPod &card) {
        card.nameEdit()->setText(QStringLiteral("Чай 中国"));
        card.priceEdit()->setText(QStringLiteral("5"));
        QVERIFY(!card.okClicked());
    }));
    QCOMPARE(f.desktop.messages().size(), 1);
    QCOMPARE(f.desktop.messages().first().kind, ScriptedDesktop::Kind::Warning);
    QVERIFY(f.desktop.lastText().contains(QStringLiteral("中")));
    const QSqlRecord row = f.committedItem(id);
    QCOMPARE(row.value(QStringLiteral("name")).toString().trimmed(), QStringLiteral("Чай"));
    QCOMPARE(row.value(QStringLiteral("cenar")).toDouble(), 0.0);
}

void TstTtPod::duplicates_data()
{
    QTest::addColumn<QString>("otherCode");
    QTest::addColumn<QString>("otherExternal");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("external");
    QTest::addColumn<bool>("listed");
    QTest::newRow("same code in another letter case") << "abc-123" << "" << "ABC-123" << "" << true;
    QTest::newRow("same external code") << "111" << "999999000001" << "222" << "999999000001" << true;
    QTest::newRow("different codes") << "111" << "9001" << "222" << "9002" << false;
    QTest::newRow("both blank") << "" << "" << "" << "" << false;
    QTest::newRow("blank code is no duplicate") << "" << "9001" << "" << "9002" << false;
}

void TstTtPod::duplicates()
{
    QFETCH(QString, otherCode);
    QFETCH(QString, otherExternal);
    QFETCH(QString, code);
    QFETCH(QString, external);
    QFETCH(bool, listed);
    CardFixture f;
    GoodsFixture::Item other;
    other.name = QStringLiteral("Другой товар");
    other.code = otherCode;
    other.externalCode = otherExternal;
    f.addItem(other);
    const double id = f.addItem(QStringLiteral("Этот товар"));
    QStringList shown;
    f.card.duplicates()->setDialogRunner([&shown](DublTovar &list) {
        list.show();
        QVERIFY(list.grab().save(QStringLiteral(QT_TESTCASE_BUILDDIR) + QStringLiteral("/dubl_tovar.png")));
        list.hide();
        const QAbstractItemModel *model = list.grid()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            shown << model->index(r, 0).data().toString() + QLatin1Char('|') + model->index(r, 1).data().toString() +
                         QLatin1Char('|') + model->index(r, 2).data().toString();
    });
    QVERIFY(f.open(id, 0, [&](TtPod &card) {
        card.codeEdit()->setText(code);
        card.externalCodeEdit()->setText(external);
        QVERIFY(card.okClicked());
    }));
    QCOMPARE(shown, listed ? QStringList{QStringLiteral("Другой товар|") + otherCode + QLatin1Char('|') + otherExternal}
                           : QStringList{});
    // The save stands either way.
    QCOMPARE(f.committedItem(id).value(QStringLiteral("kod")).toString(), code);
}

void TstTtPod::externalCodeLock()
{
    CardFixture f;
    GoodsFixture::Item item;
    item.name = QStringLiteral("Хлеб");
    item.externalCode = QStringLiteral("999999000007");
    const double locked = f.addItem(item);
    const double open = f.addItem(QStringLiteral("Батон"));
    f.open(locked, 0, [&](TtPod &card) {
        QVERIFY(card.externalCodeEdit()->isReadOnly());
        QCOMPARE(card.externalCodeEdit()->palette().color(QPalette::Base), QColor(230, 255, 213));
        QVERIFY(card.unlockButton()->isVisibleTo(&card));
        f.desktop.answer(false);
        card.unlockExternalCode();
        QVERIFY(card.externalCodeEdit()->isReadOnly());
        f.desktop.answer(true);
        card.unlockExternalCode();
        QVERIFY(!card.externalCodeEdit()->isReadOnly());
        QVERIFY(card.externalCodeEdit()->palette().color(QPalette::Base) != QColor(230, 255, 213));
    });
    QCOMPARE(f.desktop.texts(),
             (QStringList{QStringLiteral("Разрешить редактирование внешнего кода ?\nВнешний код товара важен для "
                                         "обмена с другими программами (например АТОЛ Кассы)\nИзменение кода "
                                         "необходимо проводить внимательно, т.к. может привести к сбою обмена "
                                         "(например, задвоение товаров)"),
                          QStringLiteral("Разрешить редактирование внешнего кода ?\nВнешний код товара важен для "
                                         "обмена с другими программами (например АТОЛ Кассы)\nИзменение кода "
                                         "необходимо проводить внимательно, т.к. может привести к сбою обмена "
                                         "(например, задвоение товаров)"),
                          QStringLiteral("Внешний код товара открыт для редактирования !\nБудьте внимательный")}));
    // A blank external code is open from the start; the lock comes back with the next item.
    f.open(open, 0, [](TtPod &card) {
        QVERIFY(!card.externalCodeEdit()->isReadOnly());
        QVERIFY(!card.unlockButton()->isVisibleTo(&card));
    });
    f.open(locked, 0, [](TtPod &card) { QVERIFY(card.externalCodeEdit()->isReadOnly()); });
}

void TstTtPod::generateEan13()
{
    CardFixture f;
    const double id = f.addItem(QStringLiteral("Мыло"), 0, 0, 0, QStringLiteral("ABC"));
    QString generated;
    QVERIFY(f.open(id, 0, [&](TtPod &card) {
        f.desktop.answer(false);
        card.generateEan13();
        QCOMPARE(card.codeEdit()->text(), QStringLiteral("ABC"));
        f.desktop.answer(true);
        card.generateEan13();
        generated = card.codeEdit()->text();
        QVERIFY(!card.barcodePicture()->pixmap().isNull());
        QCOMPARE(card.barcodePicture()->pixmap().size(), QSize(210, 75));
        card.codeEdit()->clear();
        QVERIFY(card.barcodePicture()->pixmap().isNull());
        f.desktop.answer(true);
        card.generateEan13();
        QVERIFY(card.okClicked());
    }));
    QVERIFY(FValidBarCode(generated));
    QVERIFY(generated.startsWith(QStringLiteral("46")));
    const QString question = QStringLiteral("Сгенерировать новый штрих-код товара в стандарте EAN-13 вместо "
                                            "имеющегося кода\nABC");
    QCOMPARE(f.desktop.texts(),
             (QStringList{question, question, QStringLiteral("Сгенерировать штрих-код товара в стандарте EAN-13")}));
    QVERIFY(FValidBarCode(f.committedItem(id).value(QStringLiteral("kod")).toString()));
}

void TstTtPod::readFromScanner_data()
{
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("picture");
    QTest::newRow("scanned code") << true << "4600000000008 " << "4600000000008" << true;
    QTest::newRow("typed text") << true << "A-17" << "A-17" << false;
    QTest::newRow("cancelled") << false << "4600000000008" << "ABC" << false;
}

void TstTtPod::readFromScanner()
{
    QFETCH(bool, chosen);
    QFETCH(QString, entered);
    QFETCH(QString, code);
    QFETCH(bool, picture);
    CardFixture f;
    Pick asked;
    f.screens.add(QStringLiteral("Findtovar_Barcode"), [&](Pick &pick) {
        asked = pick;
        pick.chosen = chosen;
        pick.name = chosen ? entered : QString();
    });
    const double id = f.addItem(QStringLiteral("Мыло"), 0, 0, 0, QStringLiteral("ABC"));
    f.open(id, 0, [&](TtPod &card) {
        f.desktop.answer(true);
        card.readFromScanner();
        QCOMPARE(card.codeEdit()->text(), code);
        QCOMPARE(!card.barcodePicture()->pixmap().isNull(), picture);
    });
    QCOMPARE(asked.mode, 2);
    QCOMPARE(asked.name, QStringLiteral("Считать штрих-код со сканера"));
    QCOMPARE(f.desktop.texts(), QStringList{QStringLiteral("Считать новый штрих-код со сканера вместо имеющегося\nABC")});
}

void TstTtPod::copyToClipboard_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("copied");
    QTest::newRow("valid code") << "4600000000008" << true;
    QTest::newRow("wrong check digit") << "4600000000007" << false;
    QTest::newRow("valid digits with blanks") << "460 000000 0008" << false;
    QTest::newRow("not a number") << "ABC" << false;
}

void TstTtPod::copyToClipboard()
{
    QFETCH(QString, code);
    QFETCH(bool, copied);
    CardFixture f;
    const double id = f.addItem(QStringLiteral("Мыло"), 0, 0, 0, code);
    f.open(id, 0, [&](TtPod &card) { card.copyToClipboard(); });
    if (copied) {
        QCOMPARE(f.desktop.texts(),
                 QStringList{QStringLiteral("Изображение штрих-кода EAN-13 скопировано в буфер обмена Windows")});
        QCOMPARE(f.desktop.clipboard(), FBarCodeBitmap(code, Qt::black, 10));
    } else {
        QCOMPARE(f.desktop.texts(), QStringList{QStringLiteral("Код товара /услуги не в формате EAN-13")});
        QCOMPARE(f.desktop.messages().first().kind, ScriptedDesktop::Kind::Warning);
        QVERIFY(f.desktop.clipboard().isNull());
    }
}

void TstTtPod::restrictedMode()
{
    CardFixture f;
    const double id = f.addItem(QStringLiteral("Мыло"), 0, 10, 0);
    QVERIFY(f.open(
        id, 0,
        [](TtPod &card) {
            for (QWidget *w : std::initializer_list<QWidget *>{card.nameEdit(), card.unitEdit(), card.codeEdit(),
                                                               card.groupEdit(), card.priceListChoice()})
                QVERIFY(!w->isEnabled());
            QVERIFY(card.priceEdit()->isEnabled());
            QVERIFY(card.vatEdit()->isEnabled());
            card.priceEdit()->setText(QStringLiteral("12"));
            QVERIFY(card.okClicked());
        },
        true));
    QCOMPARE(f.committedItem(id).value(QStringLiteral("cenar")).toDouble(), 12.0);
    f.desktop.clear();
    // The next opening is not restricted unless asked again.
    f.open(id, 0, [](TtPod &card) {
        QVERIFY(card.nameEdit()->isEnabled());
        QVERIFY(card.codeEdit()->isEnabled());
    });
}

void TstTtPod::captionsByKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("nameCaption");
    QTest::addColumn<QString>("codeCaption");
    QTest::addColumn<QString>("groupCaption");
    QTest::newRow("goods") << 0 << "Наименование товара" << "Код товара" << "Группа товаров";
    QTest::newRow("services") << 1 << "Наименование услуги" << "Код услуги" << "Группа услуг";
    QTest::newRow("both") << 9 << "Наименование" << "Код товара" << "";
}

void TstTtPod::captionsByKind()
{
    QFETCH(int, kind);
    QFETCH(QString, nameCaption);
    QFETCH(QString, codeCaption);
    QFETCH(QString, groupCaption);
    CardFixture f;
    const double id = f.addItem(QStringLiteral("Мыло"));
    f.open(id, kind, [&](TtPod &card) {
        QStringList visible;
        for (const QLabel *label : card.findChildren<QLabel *>()) {
            if (label->isVisibleTo(&card))
                visible << label->text();
        }
        QVERIFY2(visible.contains(nameCaption), qPrintable(visible.join(QLatin1Char(','))));
        QVERIFY(visible.contains(codeCaption));
        QCOMPARE(visible.contains(QStringLiteral("Группа товаров")) || visible.contains(QStringLiteral("Группа услуг")),
                 !groupCaption.isEmpty());
        if (!groupCaption.isEmpty())
            QVERIFY(visible.contains(groupCaption));
        QCOMPARE(card.priceListChoice()->isVisibleTo(&card), kind != 9);
    });
}

void TstTtPod::groupChoice()
{
    CardFixture f;
    const double drinks = f.addGroup(QStringLiteral("Напитки"), 1);
    const double other = f.addGroup(QStringLiteral("Прочее"), 1);
    Pick asked;
    f.screens.add(QStringLiteral("gruppa"), [&](Pick &pick) {
        asked = pick;
        pick.chosen = true;
        pick.id = other;
        pick.name = QStringLiteral("Прочее");
    });
    const double id = f.addItem(QStringLiteral("Доставка"), drinks);
    QVERIFY(f.open(id, 1, [&](TtPod &card) {
        QCOMPARE(card.groupEdit()->text(), QStringLiteral("Напитки"));
        card.chooseGroup();
        QCOMPARE(card.groupEdit()->text(), QStringLiteral("Прочее"));
        QVERIFY(card.okClicked());
    }));
    QCOMPARE(asked.table, QStringLiteral("gruppat"));
    QCOMPARE(asked.mode, 1);
    QCOMPARE(asked.kind, 1);
    QCOMPARE(asked.currentId, drinks);
    QCOMPARE(f.committedItem(id).value(QStringLiteral("idgruppa")).toDouble(), other);
}

void TstTtPod::cancelWritesNothing()
{
    CardFixture f;
    const double id = f.addItem(QStringLiteral("Мыло"), 0, 10, 18);
    f.t.db().commit();
    QVERIFY(!f.open(id, 0, [](TtPod &card) {
        card.nameEdit()->setText(QStringLiteral("Другое"));
        card.priceEdit()->setText(QStringLiteral("20"));
        card.cancelClicked();
    }));
    const QSqlRecord row = f.committedItem(id);
    QCOMPARE(row.value(QStringLiteral("name")).toString().trimmed(), QStringLiteral("Мыло"));
    QCOMPARE(row.value(QStringLiteral("cenar")).toDouble(), 10.0);
    QCOMPARE(f.committedCount(QStringLiteral("select * from cenar")), 0);
}

void TstTtPod::grabCard()
{
    CardFixture f;
    GoodsFixture::Item item;
    item.name = QStringLiteral("Кофе \"Jacobs\" молотый 250 г");
    item.code = QStringLiteral("4600000000008");
    item.maker = QStringLiteral("ООО \"Ромашка\"");
    item.externalCode = QStringLiteral("999999000012");
    item.price = 350;
    item.vat = 20;
    item.group = f.addGroup(QStringLiteral("Бакалея"));
    const double id = f.addItem(item);
    f.open(id, 0, [](TtPod &card) {
        card.show();
        QVERIFY(card.grab().save(QStringLiteral(QT_TESTCASE_BUILDDIR) + QStringLiteral("/tt_pod.png")));
        QVERIFY(!card.barcodePicture()->pixmap().isNull());
        card.hide();
    });
}

QTEST_MAIN(TstTtPod)
#include "tst_tt_pod.moc"
