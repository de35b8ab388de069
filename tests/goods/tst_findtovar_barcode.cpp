#include "common/screen_registry.h"
#include "common/session.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "goods/findtovar_barcode.h"
#include "scripted_desktop.h"
#include "test_db.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The code lookup dialog in both modes, against goods rows in a fresh database.
class TstFindtovarBarcode : public QObject
{
    Q_OBJECT

private slots:
    void findsByCode_data();
    void findsByCode();
    void unknownCodeIsRefused_data();
    void unknownCodeIsRefused();
    void scannerDigitsFindOnlyWholeCodes();
    void enterActsAsOk_data();
    void enterActsAsOk();
    void emptiedFieldForgetsTheItem();
    void readModeReturnsWhatWasTyped_data();
    void readModeReturnsWhatWasTyped();
    void cancelAnswersNothing();
    void callerCaptionIsForOneCall();
    void reopeningStartsAfresh();
};

namespace {

const QString kHint = QStringLiteral("Нажмите кнопку Enter либо нажмите на кнопку Ok для выбора");
const QColor kNavy(0, 0, 128);

struct Fixture
{
    Fixture()
    {
        session.WorkDir = t.folder();
        t.db().exec(QStringLiteral("insert into gruppat (id,name,name2,idrazdel,usl) values (10,") +
                    sqlText(QStringLiteral("Крепёж")) + QLatin1Char(',') +
                    sqlText(upperSearch(QStringLiteral("Крепёж"))) + QStringLiteral(",0,0)"));
        t.db().exec(QStringLiteral("insert into gruppat (id,name,name2,idrazdel,usl) values (11,") +
                    sqlText(QStringLiteral("Краски  ")) + QLatin1Char(',') +
                    sqlText(upperSearch(QStringLiteral("Краски"))) + QStringLiteral(",0,0)"));
        insertGoods(101, QStringLiteral("Болт М8 "), QStringLiteral("4600000000008"), QStringLiteral("шт"),
                    12.5, 20, 10);
        insertGoods(102, QStringLiteral("Гайка М8"), QStringLiteral("460000"), QStringLiteral("кг"), 3.75, 10,
                    10);
        insertGoods(103, QStringLiteral("Эмаль \"Белая\""), QStringLiteral("ab-12"), QStringLiteral("л"), 250,
                    0, 11);
        insertGoods(104, QStringLiteral("Лак O'Neil"), QStringLiteral("O'1"), QStringLiteral("л"), 99.99, 20,
                    11);
        insertGoods(105, QStringLiteral("Шпатлёвка"), QStringLiteral("шк-5"), QStringLiteral("уп"), 1, 20,
                    11);
    }

    void insertGoods(double id, const QString &name, const QString &kod, const QString &edizm, double cenar,
                     double stnds, double idgruppa)
    {
        t.db().exec(QStringLiteral("insert into tovar (id,name,name2,kod,kod2,edizm,cenar,stnds,usl,idgruppa,"
                                   "price) values (") +
                    sqlId(id) + QLatin1Char(',') + sqlText(name) + QLatin1Char(',') +
                    sqlText(upperSearch(name)) + QLatin1Char(',') + sqlText(kod) + QLatin1Char(',') +
                    sqlText(upperSearch(kod)) + QLatin1Char(',') + sqlText(edizm) + QLatin1Char(',') +
                    sqlNum(cenar) + QLatin1Char(',') + sqlNum(stnds) + QLatin1Char(',') +
                    QStringLiteral("0,") + sqlId(idgruppa) + QStringLiteral(",0)"));
    }

    TestDb t;
    Session session;
    ScriptedDesktop desktop;
    ScreenRegistry screens;
    AppContext ctx{session, t.db(), desktop, screens};
};

QPushButton *button(const FindtovarBarcode &dialog, const QString &text)
{
    for (QPushButton *b : dialog.findChildren<QPushButton *>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

void clickOk(const FindtovarBarcode &dialog)
{
    QPushButton *ok = button(dialog, QStringLiteral("Ok !"));
    QVERIFY(ok);
    QTest::mouseClick(ok, Qt::LeftButton);
}

Pick request(int mode, const QString &caption = QString())
{
    Pick pick;
    pick.screen = QStringLiteral("Findtovar_Barcode");
    pick.mode = mode;
    pick.name = caption;
    return pick;
}

QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

} // namespace

void TstFindtovarBarcode::findsByCode_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("edizm");
    QTest::addColumn<QString>("group");
    QTest::addColumn<double>("cenar");
    QTest::addColumn<double>("stnds");
    QTest::newRow("ean-13") << "4600000000008" << 101.0 << "Болт М8"
                            << "шт"
                            << "Крепёж" << 12.5 << 20.0;
    QTest::newRow("blanks around") << "  4600000000008  " << 101.0 << "Болт М8"
                                   << "шт"
                                   << "Крепёж" << 12.5 << 20.0;
    QTest::newRow("short code") << "460000" << 102.0 << "Гайка М8"
                                << "кг"
                                << "Крепёж" << 3.75 << 10.0;
    QTest::newRow("lower-case letters") << "ab-12" << 103.0 << "Эмаль \"Белая\""
                                        << "л"
                                        << "Краски" << 250.0 << 0.0;
    QTest::newRow("upper-case letters") << "AB-12" << 103.0 << "Эмаль \"Белая\""
                                        << "л"
                                        << "Краски" << 250.0 << 0.0;
    QTest::newRow("apostrophe") << "o'1" << 104.0 << "Лак O'Neil"
                                << "л"
                                << "Краски" << 99.99 << 20.0;
    QTest::newRow("cyrillic lower-case") << "шк-5" << 105.0 << "Шпатлёвка"
                                         << "уп"
                                         << "Краски" << 1.0 << 20.0;
}

void TstFindtovarBarcode::findsByCode()
{
    QFETCH(QString, typed);
    QFETCH(double, id);
    QFETCH(QString, name);
    QFETCH(QString, edizm);
    QFETCH(QString, group);
    QFETCH(double, cenar);
    QFETCH(double, stnds);
    Fixture f;
    FindtovarBarcode dialog(f.ctx);
    QCOMPARE(dialog.objectName(), QStringLiteral("TForm709"));
    QCOMPARE(dialog.codeEdit()->objectName(), QStringLiteral("JvEdit1"));
    dialog.setDialogRunner([&](FindtovarBarcode &d) {
        d.show();
        QCOMPARE(d.resultLabel()->text(), QStringLiteral("поиск товара...."));
        d.codeEdit()->setText(typed);
        QCOMPARE(d.resultLabel()->text(), name + QStringLiteral("\nед. изм. ") + edizm +
                                              QStringLiteral("\nГруппа: ") + group + QStringLiteral("\n\n") +
                                              kHint);
        QCOMPARE(textColour(d.resultLabel()), kNavy);
        clickOk(d);
        QVERIFY(!d.isVisible());
    });
    Pick pick = request(1);
    dialog.run(pick);

    QVERIFY(f.desktop.messages().isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(pick.chosen);
    QCOMPARE(pick.name, typed.trimmed());
    QCOMPARE(pick.id, id);
    QCOMPARE(pick.extra.value(QStringLiteral("stnds")).toDouble(), stnds);
    QCOMPARE(pick.extra.value(QStringLiteral("cenar")).toDouble(), cenar);
    QCOMPARE(pick.extra.value(QStringLiteral("edizm")).toString(), edizm);
    QCOMPARE(pick.extra.value(QStringLiteral("description")).toString(),
             name + QStringLiteral("\nГруппа: ") + group);
    QVERIFY(dialog.okFlag());
    QCOMPARE(dialog.enteredCode(), typed.trimmed());
    QCOMPARE(dialog.goodsId(), id);
    QCOMPARE(dialog.stnds(), stnds);
    QCOMPARE(dialog.cenar(), cenar);
}

void TstFindtovarBarcode::unknownCodeIsRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("unknown") << "4600000000015";
    QTest::newRow("code with an extra digit") << "46000000000080";
    QTest::newRow("leading zero counts") << "0460000";
    QTest::newRow("blank inside") << "4600 000000008";
    QTest::newRow("apostrophes only") << "''";
    QTest::newRow("character outside the code page") << "46中";
}

void TstFindtovarBarcode::unknownCodeIsRefused()
{
    QFETCH(QString, typed);
    Fixture f;
    FindtovarBarcode dialog(f.ctx);
    dialog.setDialogRunner([&](FindtovarBarcode &d) {
        d.show();
        d.codeEdit()->setText(typed);
        QCOMPARE(d.resultLabel()->text(), QStringLiteral("Товар не найден"));
        QCOMPARE(textColour(d.resultLabel()), QColor(Qt::red));
        clickOk(d);
        QCOMPARE(f.desktop.texts(), QStringList{QStringLiteral("Товар не найден")});
        QCOMPARE(f.desktop.messages().first().kind, ScriptedDesktop::Kind::Warning);
        QVERIFY(d.isVisible());
        QVERIFY(d.result() != QDialog::Accepted);
        QTest::mouseClick(button(d, QStringLiteral("Отмена")), Qt::LeftButton);
        QVERIFY(!d.isVisible());
    });
    Pick pick = request(1);
    dialog.run(pick);
    QVERIFY(!pick.chosen);
    QCOMPARE(pick.id, -1.0);
    QVERIFY(!dialog.okFlag());
}

void TstFindtovarBarcode::scannerDigitsFindOnlyWholeCodes()
{
    Fixture f;
    FindtovarBarcode dialog(f.ctx);
    QStringList foundAt;
    QStringList notFoundAt;
    dialog.setDialogRunner([&](FindtovarBarcode &d) {
        d.show();
        // Connected after the dialog's own search, so it sees each search's outcome.
        connect(d.codeEdit(), &QLineEdit::textChanged, &d, [&](const QString &text) {
            if (d.resultLabel()->text() == QStringLiteral("Товар не найден")) {
                QCOMPARE(d.goodsId(), -1.0);
                QCOMPARE(d.cenar(), 0.0);
                notFoundAt << text;
            } else {
                foundAt << text + QLatin1Char('=') + QString::number(d.goodsId());
            }
        });
        QTest::keyClicks(d.codeEdit(), QStringLiteral("4600000000008"));
        clickOk(d);
    });
    Pick pick = request(1);
    dialog.run(pick);

    QCOMPARE(foundAt, (QStringList{QStringLiteral("460000=102"), QStringLiteral("4600000000008=101")}));
    QCOMPARE(notFoundAt.size(), 11);
    QVERIFY(!notFoundAt.contains(QStringLiteral("460000")));
    QVERIFY(pick.chosen);
    QCOMPARE(pick.id, 101.0);
    QCOMPARE(pick.extra.value(QStringLiteral("edizm")).toString(), QStringLiteral("шт"));
}

void TstFindtovarBarcode::enterActsAsOk_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("chosen");
    QTest::newRow("found") << "4600000000008" << true;
    QTest::newRow("not found") << "4600000000009" << false;
}

void TstFindtovarBarcode::enterActsAsOk()
{
    QFETCH(QString, typed);
    QFETCH(bool, chosen);
    Fixture f;
    FindtovarBarcode dialog(f.ctx);
    dialog.setDialogRunner([&](FindtovarBarcode &d) {
        d.show();
        QTest::keyClicks(d.codeEdit(), typed);
        QTest::keyClick(d.codeEdit(), Qt::Key_Return);
        QCOMPARE(d.isVisible(), !chosen);
        // One Enter from the scanner acts once: at most one warning.
        const QStringList expected = chosen ? QStringList() : QStringList{QStringLiteral("Товар не найден")};
        QCOMPARE(f.desktop.texts(), expected);
        d.hide();
    });
    Pick pick = request(1);
    dialog.run(pick);
    QCOMPARE(pick.chosen, chosen);
    QCOMPARE(pick.id, chosen ? 101.0 : -1.0);
}

void TstFindtovarBarcode::emptiedFieldForgetsTheItem()
{
    Fixture f;
    FindtovarBarcode dialog(f.ctx);
    dialog.setDialogRunner([&](FindtovarBarcode &d) {
        d.show();
        d.codeEdit()->setText(QStringLiteral("460000"));
        QCOMPARE(d.goodsId(), 102.0);
        d.codeEdit()->setText(QStringLiteral("   "));
        QCOMPARE(d.goodsId(), -1.0);
        QCOMPARE(d.resultLabel()->text(), QStringLiteral("поиск товара...."));
        clickOk(d);
        QCOMPARE(f.desktop.texts(), QStringList{QStringLiteral("Товар не найден")});
        QVERIFY(d.isVisible());
        d.hide();
    });
    Pick pick = request(1);
    dialog.run(pick);
    QVERIFY(!pick.chosen);
}

void TstFindtovarBarcode::readModeReturnsWhatWasTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("empty") << "";
    QTest::newRow("text with blanks") << "  abc 1 ";
    QTest::newRow("code of an item") << "4600000000008";
}

void TstFindtovarBarcode::readModeReturnsWhatWasTyped()
{
    QFETCH(QString, typed);
    Fixture f;
    FindtovarBarcode dialog(f.ctx);
    dialog.setDialogRunner([&](FindtovarBarcode &d) {
        d.show();
        QCOMPARE(d.resultLabel()->text(), QString());
        QTest::keyClicks(d.codeEdit(), typed);
        QCOMPARE(d.resultLabel()->text(), QString());
        clickOk(d);
        QVERIFY(!d.isVisible());
    });
    Pick pick = request(2);
    dialog.run(pick);
    QVERIFY(f.desktop.messages().isEmpty());
    QVERIFY(pick.chosen);
    QCOMPARE(pick.name, typed.trimmed());
    QCOMPARE(pick.id, -1.0);
    QCOMPARE(dialog.enteredCode(), typed.trimmed());
}

void TstFindtovarBarcode::cancelAnswersNothing()
{
    Fixture f;
    FindtovarBarcode dialog(f.ctx);
    dialog.setDialogRunner([&](FindtovarBarcode &d) {
        d.show();
        d.codeEdit()->setText(QStringLiteral("4600000000008"));
        QCOMPARE(d.goodsId(), 101.0);
        QTest::mouseClick(button(d, QStringLiteral("Отмена")), Qt::LeftButton);
        QVERIFY(!d.isVisible());
    });
    Pick pick = request(1);
    dialog.run(pick);
    QVERIFY(!pick.chosen);
    QCOMPARE(pick.id, -1.0);
    QCOMPARE(pick.extra.value(QStringLiteral("stnds")).toDouble(), 0.0);
    QCOMPARE(pick.extra.value(QStringLiteral("cenar")).toDouble(), 0.0);
    QVERIFY(!dialog.okFlag());
    QCOMPARE(dialog.goodsId(), -1.0);
}

void TstFindtovarBarcode::callerCaptionIsForOneCall()
{
    Fixture f;
    FindtovarBarcode dialog(f.ctx);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Поиск товара по штрих-коду"));
    QString shown;
    dialog.setDialogRunner([&](FindtovarBarcode &d) { shown = d.windowTitle(); });
    Pick pick = request(2, QStringLiteral("Считать штрих-код со сканера"));
    dialog.run(pick);
    QCOMPARE(shown, QStringLiteral("Считать штрих-код со сканера"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Поиск товара по штрих-коду"));

    pick = request(1);
    dialog.run(pick);
    QCOMPARE(shown, QStringLiteral("Поиск товара по штрих-коду"));
}

void TstFindtovarBarcode::reopeningStartsAfresh()
{
    Fixture f;
    FindtovarBarcode dialog(f.ctx);
    dialog.setDialogRunner([](FindtovarBarcode &d) {
        d.codeEdit()->setText(QStringLiteral("460000"));
        d.okClicked();
    });
    Pick first = request(1);
    dialog.run(first);
    QCOMPARE(first.id, 102.0);

    dialog.setDialogRunner([](FindtovarBarcode &d) {
        QCOMPARE(d.codeEdit()->text(), QString());
        QCOMPARE(d.resultLabel()->text(), QStringLiteral("поиск товара...."));
        QVERIFY(!d.okFlag());
        QCOMPARE(d.goodsId(), -1.0);
        QCOMPARE(d.stnds(), 0.0);
        QCOMPARE(d.cenar(), 0.0);
    });
    Pick second = request(1);
    dialog.run(second);
    QVERIFY(!second.chosen);
    QCOMPARE(second.id, -1.0);
}

QTEST_MAIN(TstFindtovarBarcode)
#include "tst_findtovar_barcode.moc"
