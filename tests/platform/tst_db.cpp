#include "common/sql_literals.h"
#include "test_db.h"

#include <QTest>

class TstDb : public QObject
{
    Q_OBJECT

private slots:
    void commitIsSeenBySecondConnection();
    void rollbackDiscards();
    void savepointRollbackKeepsEarlierWork();
    void serverErrorCarriesServerText();
    void generatorsIncrease();
    void textRoundTrips_data();
    void textRoundTrips();
    void unfitTextIsRefusedBeforeSending();
    void closingCommits();
};

namespace {

int count(Db &db, const QString &where)
{
    return db.scalar(QStringLiteral("select count(*) from sklad where ") + where).toInt();
}

} // namespace

void TstDb::commitIsSeenBySecondConnection()
{
    TestDb t;
    auto second = t.openSecond();
    t.db().exec(QStringLiteral("insert into sklad (id,name,name2) values (10,'Склад 1','СКЛАД 1')"));
    QCOMPARE(count(*second, QStringLiteral("id=10")), 0);
    t.db().commit();
    QCOMPARE(count(*second, QStringLiteral("id=10")), 1);
}

void TstDb::rollbackDiscards()
{
    TestDb t;
    t.db().exec(QStringLiteral("insert into sklad (id,name,name2) values (11,'A','A')"));
    t.db().commit();
    t.db().exec(QStringLiteral("insert into sklad (id,name,name2) values (12,'B','B')"));
    t.db().exec(QStringLiteral("update sklad set name='X' where id=11"));
    t.db().rollback();
    QCOMPARE(count(t.db(), QStringLiteral("id=12")), 0);
    QCOMPARE(t.db().scalar(QStringLiteral("select name from sklad where id=11")).toString(), QStringLiteral("A"));
    // The next statement runs in a new transaction that commits as usual.
    t.db().exec(QStringLiteral("insert into sklad (id,name,name2) values (13,'C','C')"));
    t.db().commit();
    QCOMPARE(count(*t.openSecond(), QStringLiteral("id=13")), 1);
}

void TstDb::savepointRollbackKeepsEarlierWork()
{
    TestDb t;
    t.db().exec(QStringLiteral("insert into sklad (id,name,name2) values (20,'before','BEFORE')"));
    t.db().savepoint(QStringLiteral("card"));
    t.db().exec(QStringLiteral("insert into sklad (id,name,name2) values (21,'inside','INSIDE')"));
    t.db().rollbackToSavepoint(QStringLiteral("card"));
    t.db().releaseSavepoint(QStringLiteral("card"));
    t.db().commit();
    auto second = t.openSecond();
    QCOMPARE(count(*second, QStringLiteral("id=20")), 1);
    QCOMPARE(count(*second, QStringLiteral("id=21")), 0);
}

void TstDb::serverErrorCarriesServerText()
{
    TestDb t;
    try {
        t.db().exec(QStringLiteral("insert into nosuchtable (id) values (1)"));
        QFAIL("no error");
    } catch (const DbError &e) {
        QVERIFY2(e.message().contains(QLatin1String("NOSUCHTABLE")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QLatin1String("Table unknown")), qPrintable(e.message()));
    }
    try {
        t.db().newId(QStringLiteral("nosuchgen"));
        QFAIL("no error");
    } catch (const DbError &e) {
        QVERIFY2(e.message().contains(QLatin1String("NOSUCHGEN")), qPrintable(e.message()));
    }
    // The connection stays usable after a failed statement.
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from userp")).toInt(), 1);
}

void TstDb::generatorsIncrease()
{
    TestDb t;
    const double first = t.db().newId(QStringLiteral("deti"));
    const double second = t.db().newId(QStringLiteral("deti"));
    QVERIFY(first > 1947); // above the payment kinds the schema creates
    QCOMPARE(second, first + 1);
    QCOMPARE(t.db().newId(QStringLiteral("atol")), 1.0);
}

void TstDb::textRoundTrips_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("apostrophe") << QStringLiteral("O'Brien");
    QTest::newRow("quotes") << QStringLiteral("ООО \"Ромашка\"");
    QTest::newRow("percent") << QStringLiteral("100%");
    QTest::newRow("comment dashes") << QStringLiteral("-- drop table userp");
    QTest::newRow("yo and sign") << QStringLiteral("Ёлка № 5 — «лучшая»");
    QTest::newRow("two apostrophes") << QStringLiteral("''");
}

void TstDb::textRoundTrips()
{
    QFETCH(QString, name);
    TestDb t;
    t.db().exec(QStringLiteral("insert into sklad (id,name,name2) values (30,%1,%2)")
                    .arg(sqlText(name), sqlText(name.toUpper())));
    t.db().commit();
    auto second = t.openSecond();
    const DbRows rows = second->query(QStringLiteral("select id, name from sklad where name=") + sqlText(name));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value(QStringLiteral("name")).toString(), name);
    QCOMPARE(second->scalar(QStringLiteral("select count(*) from userp")).toInt(), 1);
}

void TstDb::unfitTextIsRefusedBeforeSending()
{
    TestDb t;
    try {
        t.db().exec(QStringLiteral("insert into sklad (id,name,name2) values (40,%1,'X')")
                        .arg(sqlText(QStringLiteral("Склад 😀 и ü"))));
        QFAIL("no error");
    } catch (const DbError &e) {
        QCOMPARE(e.message(),
                 QStringLiteral("Текст содержит символы, которые нельзя сохранить в базе данных: 😀"));
    }
    t.db().commit();
    QCOMPARE(count(*t.openSecond(), QStringLiteral("id=40")), 0);
}

void TstDb::closingCommits()
{
    TestDb t;
    t.db().exec(QStringLiteral("insert into sklad (id,name,name2) values (50,'end','END')"));
    t.db().close();
    Db reopened;
    reopened.open(QStringLiteral("localhost"), t.path());
    QCOMPARE(count(reopened, QStringLiteral("id=50")), 1);
}

QTEST_GUILESS_MAIN(TstDb)
#include "tst_db.moc"
