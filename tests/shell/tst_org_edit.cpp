#include "common/screen_registry.h"
#include "common/session.h"
#include "scripted_desktop.h"
#include "shell/org_edit.h"
#include "test_db.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTest>

// The organisation settings: what is shown, what "Ok !" writes and commits.
class TstOrgEdit : public QObject
{
    Q_OBJECT

private slots:
    void savesEveryColumn();
    void paymentKindThroughReferenceScreen_data();
    void paymentKindThroughReferenceScreen();
    void missingPaymentKind_data();
    void missingPaymentKind();
    void unfitTextIsRefused();
    void showsStoredValues();
};

namespace {

const QStringList kTextColumns = {"name",    "inn",      "kpp",   "adres",  "adres2",  "phone", "ogrn",
                                  "rukovod", "doljnruk", "glbuh", "kassir", "bank",    "bik",   "ksc",
                                  "rsc",     "gorod",    "vlice", "vliced", "vlicefio"};

struct Fixture
{
    Fixture() { session.WorkDir = t.folder(); }

    TestDb t;
    Session session;
    ScriptedDesktop desktop;
    ScreenRegistry screens;
    AppContext ctx{session, t.db(), desktop, screens};
};

// Every column gets a value of its own, as long as the column allows; some with apostrophes.
QString valueFor(const QString &column, int maxLength)
{
    return (column + QStringLiteral(" О'Нил ") + column.toUpper()).left(maxLength);
}

} // namespace

void TstOrgEdit::savesEveryColumn()
{
    Fixture f;
    OrgEdit screen(f.ctx);
    screen.load();
    QHash<QString, QString> typed;
    for (const QString &column : kTextColumns) {
        QLineEdit *field = screen.textField(column);
        QVERIFY2(field, qPrintable(column));
        typed[column] = valueFor(column, field->maxLength());
        field->setText(QStringLiteral("  ") + typed[column] + QStringLiteral(" "));
    }
    screen.openGroupsBox()->setChecked(false);
    screen.numberField(QStringLiteral("numscet"))->setValue(125);
    screen.numberField(QStringLiteral("numakt"))->setValue(37);
    screen.numberField(QStringLiteral("numscf"))->setValue(4012);
    f.screens.add(QStringLiteral("gruppa"), [](Pick &pick) {
        pick.chosen = true;
        pick.id = pick.currentId == 1947 ? 1946 : 1947; // swaps the two kinds
        pick.name = QStringLiteral("x");
    });
    screen.choosePayment(1);
    screen.choosePayment(2);
    QVERIFY(screen.save());

    // Committed: another workstation sees it.
    const auto other = f.t.openSecond();
    const QSqlRecord row = other->query(QStringLiteral("select * from config2")).value(0);
    for (const QString &column : kTextColumns)
        QCOMPARE(row.value(column).toString(), typed[column]);
    QCOMPARE(row.value(QStringLiteral("opengruppa")).toDouble(), 0.0);
    QCOMPARE(row.value(QStringLiteral("numscet")).toDouble(), 125.0);
    QCOMPARE(row.value(QStringLiteral("numakt")).toDouble(), 37.0);
    QCOMPARE(row.value(QStringLiteral("numscf")).toDouble(), 4012.0);
    QCOMPARE(row.value(QStringLiteral("oplata1")).toDouble(), 1946.0);
    QCOMPARE(row.value(QStringLiteral("oplata2")).toDouble(), 1947.0);
    // Columns the screen does not show stay as they were.
    QCOMPARE(row.value(QStringLiteral("fontname")).toString().trimmed(), QStringLiteral("22.01"));
    QCOMPARE(other->scalar(QStringLiteral("select org from config")).toString(),
             typed[QStringLiteral("name")]);

    // The tick box back on.
    screen.load();
    screen.openGroupsBox()->setChecked(true);
    QVERIFY(screen.save());
    QCOMPARE(other->scalar(QStringLiteral("select opengruppa from config2")).toDouble(), 1.0);
}

void TstOrgEdit::paymentKindThroughReferenceScreen_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<bool>("chosen");
    QTest::newRow("receipts, chosen") << 1 << true;
    QTest::newRow("sales, chosen") << 2 << true;
    QTest::newRow("receipts, cancelled") << 1 << false;
}

void TstOrgEdit::paymentKindThroughReferenceScreen()
{
    QFETCH(int, which);
    QFETCH(bool, chosen);
    Fixture f;
    f.t.db().exec(
        QStringLiteral("insert into oplata (id,name,name2) values (3001,'Карта ''Мир''','КАРТА ''МИР''')"));
    OrgEdit screen(f.ctx);
    screen.load();
    const double before = screen.paymentId(which);
    const QString beforeName = screen.paymentField(which)->text();
    Pick asked;
    f.screens.add(QStringLiteral("gruppa"), [&](Pick &pick) {
        asked = pick;
        pick.chosen = chosen;
        pick.id = 3001.0000001;
        pick.name = QStringLiteral("  Карта 'Мир' ");
    });
    screen.choosePayment(which);
    QCOMPARE(asked.screen, QStringLiteral("gruppa"));
    QCOMPARE(asked.table, QStringLiteral("oplata"));
    QCOMPARE(asked.mode, 1);
    QCOMPARE(asked.currentId, before);
    QCOMPARE(screen.paymentField(which)->text(), chosen ? QStringLiteral("Карта 'Мир'") : beforeName);
    QVERIFY(screen.save());
    const QString column = QStringLiteral("oplata%1").arg(which);
    QCOMPARE(f.t.db().scalar(QStringLiteral("select ") + column + QStringLiteral(" from config2")).toDouble(),
             chosen ? 3001.0 : before);
    screen.load();
    QCOMPARE(screen.paymentField(which)->text(), chosen ? QStringLiteral("Карта 'Мир'") : beforeName);
}

void TstOrgEdit::missingPaymentKind_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("which");
    QTest::newRow("receipts") << QStringLiteral("oplata1") << 1;
    QTest::newRow("sales") << QStringLiteral("oplata2") << 2;
}

void TstOrgEdit::missingPaymentKind()
{
    QFETCH(QString, column);
    QFETCH(int, which);
    Fixture f;
    f.t.db().exec(QStringLiteral("update config2 set %1=999").arg(column));
    OrgEdit screen(f.ctx);
    screen.load();
    QCOMPARE(screen.paymentField(which)->text(), QStringLiteral("*не найдено*"));
    QCOMPARE(screen.paymentField(3 - which)->text().isEmpty(), false);
    QVERIFY(screen.paymentField(3 - which)->text() != QStringLiteral("*не найдено*"));
    // Saving keeps the id, not the placeholder text.
    QVERIFY(screen.save());
    QCOMPARE(f.t.db().scalar(QStringLiteral("select ") + column + QStringLiteral(" from config2")).toDouble(),
             999.0);
}

void TstOrgEdit::unfitTextIsRefused()
{
    Fixture f;
    OrgEdit screen(f.ctx);
    screen.load();
    screen.textField(QStringLiteral("name"))->setText(QStringLiteral("ООО Ромашка"));
    screen.textField(QStringLiteral("bank"))->setText(QStringLiteral("Банк ☺"));
    QVERIFY(!screen.save());
    QCOMPARE(f.desktop.lastText(),
             QStringLiteral("Текст содержит символы, которые нельзя сохранить в базе данных: ☺"));
    const auto other = f.t.openSecond();
    QCOMPARE(other->scalar(QStringLiteral("select name from config2")).toString(), QString());
    QCOMPARE(other->scalar(QStringLiteral("select org from config")).toString(), QString());
}

void TstOrgEdit::showsStoredValues()
{
    Fixture f;
    f.t.db().exec(
        QStringLiteral("update config2 set name='  ИП Петров  ', inn=' 7701 ', numakt=12, opengruppa=0"));
    OrgEdit screen(f.ctx);
    screen.load();
    QCOMPARE(screen.textField(QStringLiteral("name"))->text(), QStringLiteral("ИП Петров"));
    QCOMPARE(screen.textField(QStringLiteral("inn"))->text(), QStringLiteral("7701"));
    QCOMPARE(screen.numberField(QStringLiteral("numakt"))->value(), 12.0);
    QVERIFY(!screen.openGroupsBox()->isChecked());
    QCOMPARE(screen.paymentField(1)->text(), QStringLiteral("Безналичный расчет"));
    QCOMPARE(screen.paymentField(2)->text(), QStringLiteral("Наличный расчет"));
    // An edit that is not saved is gone at the next showing.
    screen.textField(QStringLiteral("name"))->setText(QStringLiteral("другое"));
    screen.load();
    QCOMPARE(screen.textField(QStringLiteral("name"))->text(), QStringLiteral("ИП Петров"));
}

QTEST_MAIN(TstOrgEdit)
#include "tst_org_edit.moc"
