#include "common/screen_registry.h"
#include "common/session.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "goods/kagent.h"
#include "goods/vyb_kagent.h"
#include "scripted_desktop.h"
#include "test_db.h"

#include <QLineEdit>
#include <QTableView>
#include <QTest>

// The counterparty list and card over table post.
class TstKagent : public QObject
{
    Q_OBJECT

private slots:
    void zeroRowNeverListed_data();
    void zeroRowNeverListed();
    void filterInAnyCase_data();
    void filterInAnyCase();
    void actualAddressCopyUpperCased_data();
    void actualAddressCopyUpperCased();
    void nameRoundTrips_data();
    void nameRoundTrips();
    void cancelAnsweredNoKeepsCardOpen();
    void cancelAnsweredYesWritesNothing();
    void unfitTextIsRefused_data();
    void unfitTextIsRefused();
    void fieldsKeepEditLimits_data();
    void fieldsKeepEditLimits();
    void deleteRefusedWhileInUse_data();
    void deleteRefusedWhileInUse();
    void selectModeAnswersThePick_data();
    void selectModeAnswersThePick();
    void addThenCancelLeavesEmptyRow();
    void maintenanceDoubleClickEdits();
};

namespace {

struct Fixture
{
    Fixture()
    {
        session.WorkDir = t.folder();
        screens.add(QStringLiteral("kagent"), [this](Pick &pick) {
            ++cardOpenings;
            card.run(pick);
        });
        card.setDialogRunner([](Kagent &) {});
        list.setDialogRunner([](VybKagent &) {});
    }

    void insertPost(double id, const QString &name, const QString &inn = {}, const QString &adres = {})
    {
        t.db().exec(QStringLiteral("insert into post (id,name,name2,inn,adres) values (") + sqlId(id) +
                    QLatin1Char(',') + sqlText(name) + QLatin1Char(',') + sqlText(upperSearch(name)) +
                    QLatin1Char(',') + sqlText(inn) + QLatin1Char(',') + sqlText(adres) + QLatin1Char(')'));
    }

    Pick open(int mode, double id = 0)
    {
        Pick pick;
        pick.screen = QStringLiteral("vyb_kagent");
        pick.mode = mode;
        pick.currentId = id;
        list.run(pick);
        return pick;
    }

    QStringList listedNames() const
    {
        QStringList names;
        const QAbstractItemModel *model = list.grid()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            names << model->index(r, 0).data().toString();
        return names;
    }

    // What another workstation reads, so only committed work counts.
    QSqlRecord committedPost(double id) const
    {
        return t.openSecond()->query(QStringLiteral("select * from post where id=") + sqlId(id)).value(0);
    }

    TestDb t;
    Session session;
    ScriptedDesktop desktop;
    ScreenRegistry screens;
    AppContext ctx{session, t.db(), desktop, screens};
    Kagent card{ctx};
    VybKagent list{ctx};
    int cardOpenings = 0;
};

} // namespace

void TstKagent::zeroRowNeverListed_data()
{
    QTest::addColumn<QString>("zeroName");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("empty filter") << QString() << QString()
                                  << QStringList{QStringLiteral("Альфа"), QStringLiteral("Бета")};
    QTest::newRow("blank filter") << QString() << QStringLiteral("   ")
                                  << QStringList{QStringLiteral("Альфа"), QStringLiteral("Бета")};
    QTest::newRow("zero row named, empty filter")
        << QStringLiteral("Альфа без номера") << QString()
        << QStringList{QStringLiteral("Альфа"), QStringLiteral("Бета")};
    QTest::newRow("zero row matching the filter")
        << QStringLiteral("Альфа без номера") << QStringLiteral("альфа")
        << QStringList{QStringLiteral("Альфа")};
}

void TstKagent::zeroRowNeverListed()
{
    QFETCH(QString, zeroName);
    QFETCH(QString, filter);
    QFETCH(QStringList, listed);
    Fixture f;
    if (!zeroName.isEmpty())
        f.t.db().exec(QStringLiteral("update post set name=") + sqlText(zeroName) +
                      QStringLiteral(",name2=") + sqlText(upperSearch(zeroName)) +
                      QStringLiteral(" where id=0"));
    f.insertPost(5001, QStringLiteral("Бета"));
    f.insertPost(5000, QStringLiteral("Альфа"));
    // The main menu opens the list in maintenance mode positioned on id 0.
    f.open(VybKagent::Maintain, 0);
    f.list.filterEdit()->setText(filter);
    QCOMPARE(f.listedNames(), listed);
    QVERIFY(f.list.currentId() != 0);
}

void TstKagent::filterInAnyCase_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("listed");
    const QStringList both = {QStringLiteral("ООО Ромашка"), QStringLiteral("ромашка-2")};
    QTest::newRow("lower") << QStringLiteral("ромаш") << both;
    QTest::newRow("upper") << QStringLiteral("РОМАШ") << both;
    QTest::newRow("mixed with blanks") << QStringLiteral("  рОмАш ") << both;
    QTest::newRow("latin with apostrophe") << QStringLiteral("o'b") << QStringList{QStringLiteral("O'Brien")};
    QTest::newRow("yo") << QStringLiteral("ёлк") << QStringList{QStringLiteral("ЁЛКИ")};
    QTest::newRow("nothing found") << QStringLiteral("лютик") << QStringList{};
    QTest::newRow("letter the database lacks") << QStringLiteral("☺") << QStringList{};
}

void TstKagent::filterInAnyCase()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, listed);
    Fixture f;
    f.insertPost(5000, QStringLiteral("ООО Ромашка"));
    f.insertPost(5001, QStringLiteral("ромашка-2"));
    f.insertPost(5002, QStringLiteral("O'Brien"));
    f.insertPost(5003, QStringLiteral("ЁЛКИ"));
    f.open(VybKagent::Select);
    QCOMPARE(f.list.rowCount(), 4);
    f.list.filterEdit()->setText(filter);
    QCOMPARE(f.listedNames(), listed);
    QVERIFY(f.desktop.messages().isEmpty());
    // Opening again clears the filter.
    f.open(VybKagent::Select);
    QCOMPARE(f.list.filterEdit()->text(), QString());
    QCOMPARE(f.list.rowCount(), 4);
}

void TstKagent::actualAddressCopyUpperCased_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("adres2");
    QTest::addColumn<QString>("adres3");
    QTest::newRow("cyrillic lower case")
        << QStringLiteral("г. тверь, ул. советская, 5") << QStringLiteral("г. тверь, ул. советская, 5")
        << QStringLiteral("Г. ТВЕРЬ, УЛ. СОВЕТСКАЯ, 5");
    QTest::newRow("yo and latin") << QStringLiteral("пос. ёлкино, Green st.")
                                  << QStringLiteral("пос. ёлкино, Green st.")
                                  << QStringLiteral("ПОС. ЁЛКИНО, GREEN ST.");
    QTest::newRow("blanks trimmed") << QStringLiteral("  ул. мира  ") << QStringLiteral("ул. мира")
                                    << QStringLiteral("УЛ. МИРА");
    QTest::newRow("emptied") << QString() << QString() << QString();
}

void TstKagent::actualAddressCopyUpperCased()
{
    QFETCH(QString, typed);
    QFETCH(QString, adres2);
    QFETCH(QString, adres3);
    Fixture f;
    f.insertPost(5000, QStringLiteral("Альфа"));
    f.t.db().exec(QStringLiteral("update post set adres2='старый', adres3='СТАРЫЙ' where id=5000"));
    f.open(VybKagent::Maintain, 5000);
    f.card.setDialogRunner([typed](Kagent &card) {
        QCOMPARE(card.field(QStringLiteral("adres2"))->text(), QStringLiteral("старый"));
        card.field(QStringLiteral("adres2"))->setText(typed);
        card.okClicked();
        QCOMPARE(card.result(), int(QDialog::Accepted));
    });
    f.list.editRecord();
    QCOMPARE(f.cardOpenings, 1);
    const QSqlRecord row = f.committedPost(5000);
    QCOMPARE(row.value(QStringLiteral("adres2")).toString(), adres2);
    QCOMPARE(row.value(QStringLiteral("adres3")).toString(), adres3);
    QCOMPARE(row.value(QStringLiteral("name")).toString(), QStringLiteral("Альфа"));
    QCOMPARE(f.list.currentId(), 5000.0);
}

void TstKagent::nameRoundTrips_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("double quotes") << QStringLiteral("ООО \"Ромашка\"") << QStringLiteral("ООО \"Ромашка\"");
    QTest::newRow("apostrophe") << QStringLiteral("O'Brien") << QStringLiteral("O'Brien");
    QTest::newRow("apostrophes and blanks")
        << QStringLiteral("  ИП Д'Артаньян ''и К°''  ") << QStringLiteral("ИП Д'Артаньян ''и К°''");
}

void TstKagent::nameRoundTrips()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    Fixture f;
    f.insertPost(5000, QStringLiteral("Альфа"));
    f.open(VybKagent::Maintain, 5000);
    f.card.setDialogRunner([typed](Kagent &card) {
        card.field(QStringLiteral("name"))->setText(typed);
        card.field(QStringLiteral("vlicefio"))->setText(typed);
        card.okClicked();
    });
    f.list.editRecord();
    QVERIFY(f.desktop.messages().isEmpty());
    const QSqlRecord row = f.committedPost(5000);
    QCOMPARE(row.value(QStringLiteral("name")).toString(), stored);
    QCOMPARE(row.value(QStringLiteral("name2")).toString(), upperWin1251(stored));
    QCOMPARE(row.value(QStringLiteral("vlicefio")).toString(), stored);

    // The card shows it back as stored, and a pick answers it.
    f.card.setDialogRunner([stored](Kagent &card) {
        QCOMPARE(card.field(QStringLiteral("name"))->text(), stored);
        QCOMPARE(card.field(QStringLiteral("vlicefio"))->text(), stored);
        card.okClicked();
    });
    f.list.editRecord();
    QCOMPARE(f.cardOpenings, 2);
    f.list.setDialogRunner([](VybKagent &list) { list.okClicked(); });
    const Pick pick = f.open(VybKagent::Select, 5000);
    QVERIFY(pick.chosen);
    QCOMPARE(pick.id, 5000.0);
    QCOMPARE(pick.name, stored);
}

void TstKagent::cancelAnsweredNoKeepsCardOpen()
{
    Fixture f;
    f.insertPost(5000, QStringLiteral("Альфа"), QStringLiteral("6901000000"));
    f.card.setDialogRunner([&f](Kagent &card) {
        card.show();
        card.field(QStringLiteral("inn"))->setText(QStringLiteral("6902111111"));
        f.desktop.answer(false);
        card.cancelClicked();
        QCOMPARE(f.desktop.lastText(), QStringLiteral("Выйти без сохранения ?"));
        QVERIFY(card.isVisible());
        QCOMPARE(card.field(QStringLiteral("inn"))->text(), QStringLiteral("6902111111"));
        // Escape asks the same question.
        f.desktop.answer(false);
        QTest::keyClick(&card, Qt::Key_Escape);
        QCOMPARE(f.desktop.texts().size(), 2);
        QVERIFY(card.isVisible());
        card.okClicked();
        QVERIFY(!card.isVisible());
    });
    Pick pick;
    pick.screen = QStringLiteral("kagent");
    pick.currentId = 5000;
    f.screens.open(pick);
    QVERIFY(pick.chosen);
    QCOMPARE(pick.name, QStringLiteral("Альфа"));
    QCOMPARE(f.t.db().scalar(QStringLiteral("select inn from post where id=5000")).toString(),
             QStringLiteral("6902111111"));
}

void TstKagent::cancelAnsweredYesWritesNothing()
{
    Fixture f;
    f.insertPost(5000, QStringLiteral("Альфа"), QStringLiteral("6901000000"));
    f.card.setDialogRunner([&f](Kagent &card) {
        card.show();
        card.field(QStringLiteral("inn"))->setText(QStringLiteral("6902111111"));
        f.desktop.answer(true);
        card.cancelClicked();
        QVERIFY(!card.isVisible());
    });
    Pick pick;
    pick.screen = QStringLiteral("kagent");
    pick.currentId = 5000;
    f.screens.open(pick);
    QVERIFY(!pick.chosen);
    QCOMPARE(f.t.db().scalar(QStringLiteral("select inn from post where id=5000")).toString(),
             QStringLiteral("6901000000"));
}

void TstKagent::unfitTextIsRefused_data()
{
    QTest::addColumn<QString>("column");
    QTest::newRow("name") << QStringLiteral("name");
    QTest::newRow("actual address") << QStringLiteral("adres2");
    QTest::newRow("signatory") << QStringLiteral("vlicefio");
}

void TstKagent::unfitTextIsRefused()
{
    QFETCH(QString, column);
    Fixture f;
    f.insertPost(5000, QStringLiteral("Альфа"));
    f.card.load(5000);
    f.card.field(QStringLiteral("inn"))->setText(QStringLiteral("6901000000"));
    f.card.field(column)->setText(QStringLiteral("Зоя ☺"));
    f.card.okClicked();
    QCOMPARE(f.desktop.lastText(),
             QStringLiteral("Текст содержит символы, которые нельзя сохранить в базе данных: ☺"));
    QVERIFY(f.card.result() != QDialog::Accepted);
    const QSqlRecord row = f.t.db().query(QStringLiteral("select * from post where id=5000")).value(0);
    QCOMPARE(row.value(QStringLiteral("inn")).toString(), QString());
    QCOMPARE(row.value(QStringLiteral("name")).toString(), QStringLiteral("Альфа"));
}

void TstKagent::fieldsKeepEditLimits_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("limit");
    const QList<QPair<const char *, int>> limits = {
        {"name", 100}, {"inn", 20},     {"kpp", 20},      {"adres", 100},  {"adres2", 100},  {"phone", 50},
        {"ogrn", 25},  {"rukovod", 60}, {"doljnruk", 60}, {"glbuh", 60},   {"bank", 100},    {"bik", 30},
        {"ksc", 30},   {"rsc", 30},     {"vlice", 100},   {"vliced", 100}, {"vlicefio", 100}};
    for (const auto &[column, limit] : limits)
        QTest::newRow(column) << QString::fromLatin1(column) << limit;
}

void TstKagent::fieldsKeepEditLimits()
{
    QFETCH(QString, column);
    QFETCH(int, limit);
    Fixture f;
    f.insertPost(5000, QStringLiteral("Альфа"));
    f.card.load(5000);
    QLineEdit *edit = f.card.field(column);
    QVERIFY(edit);
    edit->clear();
    edit->insert(QString(limit + 5, QChar(u'я')));
    QCOMPARE(edit->text().size(), limit);
    // The longest text the card takes fits the column, upper-case copies included.
    QVERIFY(f.card.save());
    QCOMPARE(f.t.db()
                 .scalar(QStringLiteral("select ") + column + QStringLiteral(" from post where id=5000"))
                 .toString(),
             QString(limit, QChar(u'я')));
}

void TstKagent::deleteRefusedWhileInUse_data()
{
    QTest::addColumn<bool>("inUse");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("named by an operation") << true << false << false;
    QTest::newRow("free, answered Yes") << false << true << true;
    QTest::newRow("free, answered No") << false << false << false;
}

void TstKagent::deleteRefusedWhileInUse()
{
    QFETCH(bool, inUse);
    QFETCH(bool, answer);
    QFETCH(bool, deleted);
    Fixture f;
    f.insertPost(5000, QStringLiteral("Альфа"));
    f.insertPost(5001, QStringLiteral("Бета"));
    // An operation naming the other counterparty must not block this one.
    f.t.db().exec(QStringLiteral("insert into oper (id,ttype,ttype2,idpost) values (7001,4,0,5001)"));
    if (inUse)
        f.t.db().exec(QStringLiteral("insert into oper (id,ttype,ttype2,idpost) values (7000,1,0,5000)"));
    f.t.db().commit();
    f.open(VybKagent::Maintain, 5000);
    if (!inUse)
        f.desktop.answer(answer);
    f.list.deleteRecord();
    QCOMPARE(f.desktop.lastText(), inUse ? QStringLiteral("Удаление невозможно, есть ссылки на данную запись")
                                         : QStringLiteral("Удалить запись"));
    QCOMPARE(f.desktop.messages().size(), 1);
    QCOMPARE(f.desktop.messages().first().kind,
             inUse ? ScriptedDesktop::Kind::Warning : ScriptedDesktop::Kind::Question);
    QCOMPARE(f.committedPost(5000).isEmpty(), deleted);
    QCOMPARE(f.listedNames().contains(QStringLiteral("Альфа")), !deleted);
    QVERIFY(!f.committedPost(5001).isEmpty());
}

void TstKagent::selectModeAnswersThePick_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("chosen");
    QTest::newRow("select, Ok") << int(VybKagent::Select) << true << true;
    QTest::newRow("select, Отмена") << int(VybKagent::Select) << false << false;
    QTest::newRow("maintenance, Ok") << int(VybKagent::Maintain) << true << false;
}

void TstKagent::selectModeAnswersThePick()
{
    QFETCH(int, mode);
    QFETCH(bool, ok);
    QFETCH(bool, chosen);
    Fixture f;
    f.insertPost(5000, QStringLiteral("Альфа"));
    f.t.db().exec(QStringLiteral("insert into post (id,name,name2) values (5001,'Бета   ','БЕТА')"));
    f.insertPost(5002, QStringLiteral("Гамма"));
    f.list.setDialogRunner([ok](VybKagent &list) {
        QCOMPARE(list.currentId(), 5001.0);
        ok ? list.okClicked() : list.cancelClicked();
    });
    const Pick pick = f.open(mode, 5001);
    QCOMPARE(pick.chosen, chosen);
    QCOMPARE(pick.id, chosen ? 5001.0 : 0.0);
    QCOMPARE(pick.name, chosen ? QStringLiteral("Бета") : QString());
    QCOMPARE(f.list.mode(), int(VybKagent::Select));
    QCOMPARE(f.cardOpenings, 0);
}

void TstKagent::addThenCancelLeavesEmptyRow()
{
    Fixture f;
    f.insertPost(5000, QStringLiteral("Альфа"));
    f.open(VybKagent::Maintain, 0);
    f.card.setDialogRunner([&f](Kagent &card) {
        QCOMPARE(card.field(QStringLiteral("name"))->text(), QString());
        card.field(QStringLiteral("name"))->setText(QStringLiteral("Не сохранится"));
        f.desktop.answer(true);
        card.cancelClicked();
    });
    f.list.addRecord();
    const double id = f.list.currentId();
    QVERIFY(id > 0 && id != 5000);
    QCOMPARE(f.list.rowCount(), 2);
    const QSqlRecord row = f.committedPost(id);
    QVERIFY(!row.isEmpty());
    QVERIFY(row.value(QStringLiteral("name")).isNull());

    // Adding and saving positions the list on the new row.
    f.card.setDialogRunner([](Kagent &card) {
        card.field(QStringLiteral("name"))->setText(QStringLiteral("ааа первый"));
        card.okClicked();
    });
    f.list.addRecord();
    const double second = f.list.currentId();
    QVERIFY(second != id);
    QCOMPARE(f.list.currentName(), QStringLiteral("ааа первый"));
    QCOMPARE(f.committedPost(second).value(QStringLiteral("name2")).toString(), QStringLiteral("ААА ПЕРВЫЙ"));
}

void TstKagent::maintenanceDoubleClickEdits()
{
    Fixture f;
    f.insertPost(5000, QStringLiteral("Альфа"));
    f.card.setDialogRunner([](Kagent &card) {
        QCOMPARE(card.id(), 5000.0);
        card.field(QStringLiteral("phone"))->setText(QStringLiteral("8 (4822) 00-00-00"));
        card.okClicked();
    });
    f.list.setDialogRunner([](VybKagent &list) {
        emit list.grid()->doubleClicked(list.grid()->model()->index(0, 0));
        list.okClicked();
    });
    const Pick pick = f.open(VybKagent::Maintain, 5000);
    QVERIFY(!pick.chosen);
    QCOMPARE(f.cardOpenings, 1);
    QCOMPARE(f.committedPost(5000).value(QStringLiteral("phone")).toString(),
             QStringLiteral("8 (4822) 00-00-00"));
}

QTEST_MAIN(TstKagent)
#include "tst_kagent.moc"
