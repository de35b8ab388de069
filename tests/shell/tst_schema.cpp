#include "test_db.h"

#include <QTest>

// The created database against the tables and columns the program relies on.
class TstSchema : public QObject
{
    Q_OBJECT

private slots:
    void tableHasColumns_data();
    void tableHasColumns();
    void generatorsExist();
    void zeroRowsExist_data();
    void zeroRowsExist();
    void settingsRows();
    void firstUser();
    void foiPairIsUnique();
    void moneyHoldsTrillions();
};

namespace {

QString days(const QString &prefix)
{
    QStringList names;
    for (int i = 1; i <= 31; ++i)
        names << prefix + QString::number(i);
    return names.join(QLatin1Char(' '));
}

QStringList columnsOf(Db &db, const QString &table)
{
    QStringList names;
    const DbRows rows = db.query(QStringLiteral("select trim(rdb$field_name) from rdb$relation_fields "
                                                "where rdb$relation_name='%1'")
                                     .arg(table.toUpper()));
    for (const QSqlRecord &r : rows)
        names << r.value(0).toString();
    return names;
}

} // namespace

void TstSchema::tableHasColumns_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("columns");
    const auto row = [](const char *table, const QString &columns) {
        QTest::newRow(table) << QString::fromLatin1(table) << columns;
    };
    row("userp", "id login passw fam im ot uroven");
    row("obuser", "id iduser timestart timeend datstart");
    row("config", "mes god org kod1 kod2 kod3 kod4 kod5 kod6 vkod1 vkod2 vkod3 vkod4 invpref invnum invsuf");
    row("config2", "name inn kpp adres adres2 phone ogrn rukovod doljnruk glbuh kassir bank bik ksc rsc gorod "
                   "vlice vliced vlicefio numscet numakt numscf oplata1 oplata2 opengruppa fontname svyvod "
                   "atoldir atolfname");
    row("filearchiv", "id idkart idkand filename note fsize poletext");
    row("org", "id name name2");
    row("tt", "id idorg name name2");
    row("pod", "id idtt name name2");
    row("kart", "id fam im ot fio2 doljnost idpod sum5 sum6 birthday datstaj tuvoln datuvoln pricina dprikaz "
                "nprikaz dprikaz2 nprikaz2 pol phone phone2 email obraz adres adres2 datreg strana inn npfr "
                "kontur vysluga ig note ser1 pass vydan datvyd koddoc nls nday nday2 nday3");
    row("dog", "id idkart idpod num doljn dat datend tarif tarif2 tarif3 norma4 ttype tvyvod tclose nls");
    row("history", "id iddog dat tarif tarif2 tarif3 tarif4 ntarif ntarif2 ntarif3 ntarif4");
    row("doljnost", "id name name2");
    row("deti", "id idkart name birthday");
    row("patent", "id idkart ser num dat datend tclose");
    row("patobrt", "id idpat dat datstart datend");
    row("med", "id idkart typemed ser num dat datend dkomis tclose summa proc mes");
    row("strana", "kod name");
    row("cen", "id name");
    row("cenob", "id idkart idcen datvyd datsdal tclose");
    row("otpusk", "id idkart typer d1 d2 note dprikaz nprikaz summa");
    row("kandidat", "id fam im ot fio2 birthday phone dat iddoljn idistok resultat status resume1 resume2 "
                    "datstaj datstaj2 pricina stavka0 rpo note");
    row("sprkand", "id ttype name name2");
    row("tabel", "id idkart idpod mes god tvyvod doljn tarif tarif2 tarif3 norma4 " + days("n") + ' '
                     + days("kod") + ' ' + days("m") + ' ' + days("dkod")
                     + " dayotr itogo dayotr1 casotr1 summa summa2 sdeln sdelt sdelk procee boln otpusk plus "
                       "avans gsm tekvyp nalog minus idn1 idn2 idn3 idn4 idn5 idn6 idv1 idv2 idv3 idv4");
    row("daysdeln", "id idkart idpod dat kolvo");
    row("zakrgod", "god zakr");
    row("tovar", "id name name2 kod kod2 kod5 kod52 atolkod atolok edizm cenar stnds usl idgruppa price");
    row("gruppat", "id name name2 idrazdel usl atolok");
    row("razdel", "id name name2");
    row("sklad", "id name name2");
    row("sobstv", "id name name2");
    row("oplata", "id name name2");
    row("post", "id name name2 inn kpp adres adres2 adres3 phone ogrn rukovod doljnruk glbuh bank bik ksc rsc "
                "vlice vliced vlicefio");
    row("cenar", "id dat idtovar oldcenar oldstnds newcenar newstnds");
    row("oper", "id ttype ttype2 dat idpost prodavec oplata oplaceno summa note note2 numdok datdok idsklad "
                "idsklad2 oprix idprodaj nsc dsc psc nscf dscf pscf");
    row("obrt", "id idtovar ttype idoper dat dokum idpost idsobstv kolvo cena stnds note strana stranakod ntd "
                "model sernum invnum idsklad idmol idsklad2 idmol2 plus minus perem1 oi idsklad1 oi1");
    row("obrt2", "id idobrt idoper ttype idsklad idmol idsklad2 idmol2 kolvo dat cenap ndsp idprodaj note "
                 "dokum kac");
    row("foi", "idobrt idsklad plus minus prod perem1 perem2 oi");
    row("oboplata", "id dat summa ttype idoper idpost oplata numdoc datdoc");
    row("invent", "id idsklad idmol dat dokum note summa summa2");
    row("invobrt", "id idinvent idt ids kolvo kolvo2 cena summa summa2");
}

void TstSchema::tableHasColumns()
{
    QFETCH(QString, table);
    QFETCH(QString, columns);
    TestDb t;
    const QStringList present = columnsOf(t.db(), table);
    QVERIFY2(!present.isEmpty(), qPrintable(QStringLiteral("no table ") + table));
    for (const QString &column : columns.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        QVERIFY2(present.contains(column.toUpper()), qPrintable(table + QLatin1Char('.') + column));
}

void TstSchema::generatorsExist()
{
    TestDb t;
    for (const char *name : {"deti", "kart", "org", "tt", "pod", "dog", "cen", "med", "patent", "patobrt",
                             "tabel", "obuser", "atol"}) {
        const double first = t.db().newId(QString::fromLatin1(name));
        QCOMPARE(t.db().newId(QString::fromLatin1(name)), first + 1);
    }
}

void TstSchema::zeroRowsExist_data()
{
    QTest::addColumn<QString>("table");
    for (const char *table : {"tovar", "gruppat", "razdel", "sklad", "post", "sobstv", "oplata", "kart"})
        QTest::newRow(table) << QString::fromLatin1(table);
}

void TstSchema::zeroRowsExist()
{
    QFETCH(QString, table);
    TestDb t;
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from %1 where id=0").arg(table)).toInt(), 1);
}

void TstSchema::settingsRows()
{
    TestDb t;
    QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from config")).toInt(), 1);
    const DbRows rows = t.db().query(QStringLiteral("select * from config2"));
    QCOMPARE(rows.size(), 1);
    const QSqlRecord &c = rows.first();
    QCOMPARE(c.value(QStringLiteral("fontname")).toString().trimmed(), QStringLiteral("22.01"));
    QCOMPARE(c.value(QStringLiteral("opengruppa")).toDouble(), 1.0);
    for (const char *column : {"oplata1", "oplata2"}) {
        const QString id = QString::number(c.value(QString::fromLatin1(column)).toLongLong());
        QVERIFY2(id != QLatin1String("0"), column);
        QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from oplata where id=") + id).toInt(), 1);
    }
}

void TstSchema::firstUser()
{
    TestDb t;
    const DbRows rows = t.db().query(
        QStringLiteral("select uroven from userp where trim(login)='user1' and trim(passw)=''"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value(0).toInt(), 1);
}

void TstSchema::foiPairIsUnique()
{
    TestDb t;
    t.db().exec(QStringLiteral("insert into foi (idobrt,idsklad,oi) values (1,1,0)"));
    QVERIFY_THROWS_EXCEPTION(DbError, t.db().exec(QStringLiteral("insert into foi (idobrt,idsklad,oi) values (1,1,5)")));
}

void TstSchema::moneyHoldsTrillions()
{
    TestDb t;
    t.db().exec(QStringLiteral("insert into oboplata (id,summa) values (1,1000000000000.01)"));
    QCOMPARE(t.db().scalar(QStringLiteral("select cast(summa as varchar(30)) from oboplata where id=1")).toString(),
             QStringLiteral("1000000000000.01"));
}

QTEST_GUILESS_MAIN(TstSchema)
#include "tst_schema.moc"
