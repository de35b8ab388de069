#include "common/screen_registry.h"
#include "common/session.h"
#include "common/win1251.h"
#include "platform/dbf.h"
#include "scripted_desktop.h"
#include "shell/service.h"
#include "test_db.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>

// The service screen: scripts and commands, the country fill and the database reset.
class TstService : public QObject
{
    Q_OBJECT

private slots:
    void scriptRules_data();
    void scriptRules();
    void scriptInWindowsCodePage();
    void scriptFromDialog();
    void failingStatementStopsScript();
    void command_data();
    void command();
    void query();
    void countryFill_data();
    void countryFill();
    void countryFileMissing();
    void operNotes();
    void resetKeepsWhatMustStay();
    void resetAnsweredNo();
};

namespace {

struct Fixture
{
    Fixture() { session.WorkDir = t.folder(); }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = t.folder() + QLatin1Char('/') + name;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
        return path;
    }

    QStringList codes(Db &db)
    {
        QStringList result;
        for (const QSqlRecord &r : db.query(QStringLiteral("select kod from strana order by kod")))
            result << r.value(0).toString();
        return result;
    }

    QString name(Db &db, const QString &kod)
    {
        return db.scalar(QStringLiteral("select name from strana where kod='%1'").arg(kod)).toString();
    }

    double generator(Db &db, const QString &name)
    {
        return db.scalar(QStringLiteral("select GEN_ID(%1,0) from RDB$DATABASE").arg(name)).toDouble();
    }

    TestDb t;
    Session session;
    ScriptedDesktop desktop;
    ScreenRegistry screens;
    AppContext ctx{session, t.db(), desktop, screens};
};

QByteArray insert(const char *kod)
{
    return QByteArray("insert into strana (kod,name) values ('") + kod + "','" + kod + "')";
}

} // namespace

void TstService::scriptRules_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("two statements") << insert("001") + "\n;\n" + insert("002") + "\n;\n"
                                    << QStringList{"001", "002"};
    QTest::newRow("comment lines are skipped") << "// first\n" + insert("001") + "\n// between\n;\n"
                                               << QStringList{"001"};
    QTest::newRow("statement over lines")
        << QByteArray("insert into strana (kod,name)\n  values ('001',\n'x')\n;\n") << QStringList{"001"};
    QTest::newRow("blanks around the semicolon") << insert("001") + "\n   ;  \n" << QStringList{"001"};
    QTest::newRow("trailing statement without semicolon line is not run")
        << insert("001") + "\n;\n" + insert("002") + "\n"
        << QStringList{"001"};
    QTest::newRow("semicolon at line end does not end a statement") << insert("001") + ";\n" << QStringList{};
    QTest::newRow("blank line after semicolon skips the next statement")
        << insert("001") + "\n;\n\n" + insert("002") + "\n;\n" + insert("003") + "\n;\n"
        << QStringList{"001", "003"};
    QTest::newRow("windows line ends") << insert("001") + "\r\n;\r\n" + insert("002") + "\r\n;\r\n"
                                       << QStringList{"001", "002"};
    QTest::newRow("lone semicolons") << ";\n;\n" + insert("001") + "\n;\n" << QStringList{"001"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void TstService::scriptRules()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, codes);
    Fixture f;
    Service screen(f.ctx);
    QVERIFY(screen.runScriptFile(f.writeFile(QStringLiteral("s.sql"), script)));
    QCOMPARE(f.desktop.texts(), QStringList{QStringLiteral("Выполнено")});
    const auto other = f.t.openSecond();
    QCOMPARE(f.codes(*other), codes);
}

void TstService::scriptInWindowsCodePage()
{
    Fixture f;
    QByteArray script("insert into strana (kod,name) values ('643','");
    for (const char32_t c : QStringLiteral("Россия").toUcs4())
        script.append(char(win1251::byteOf(c)));
    script.append("')\n;\n");
    Service screen(f.ctx);
    QVERIFY(screen.runScriptFile(f.writeFile(QStringLiteral("s.sql"), script)));
    QCOMPARE(f.name(f.t.db(), QStringLiteral("643")), QStringLiteral("Россия"));
}

void TstService::scriptFromDialog()
{
    Fixture f;
    const QString path = f.writeFile(QStringLiteral("s.sql"), insert("001") + "\n;\n");
    f.desktop.answerFile(path);
    Service screen(f.ctx);
    screen.runScript();
    QCOMPARE(f.codes(f.t.db()), QStringList{"001"});
    QCOMPARE(f.desktop.lastText(), QStringLiteral("Выполнено"));

    f.desktop.answerFile(QString()); // cancelled: nothing runs, nothing is said
    f.desktop.clear();
    screen.runScript();
    QVERIFY(f.desktop.texts().isEmpty());
}

void TstService::failingStatementStopsScript()
{
    Fixture f;
    Service screen(f.ctx);
    const QByteArray script =
        insert("001") + "\n;\ninsert into nosuchtable (a) values (1)\n;\n" + insert("003") + "\n;\n";
    QVERIFY(!screen.runScriptFile(f.writeFile(QStringLiteral("s.sql"), script)));
    QCOMPARE(f.desktop.messages().size(), 1);
    QCOMPARE(f.desktop.messages().first().kind, ScriptedDesktop::Kind::Error);
    QVERIFY2(f.desktop.lastText().contains(QStringLiteral("NOSUCHTABLE")), qPrintable(f.desktop.lastText()));
    f.t.db().rollback();
    const auto other = f.t.openSecond();
    QCOMPARE(f.codes(*other), QStringList{"001"});
}

void TstService::command_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("runs");
    QTest::newRow("one line") << QStringLiteral("update config2 set name='Д''Арк'") << true;
    QTest::newRow("several lines") << QStringLiteral("update config2\nset name='Д''Арк'") << true;
    QTest::newRow("empty first line") << QStringLiteral("\nupdate config2 set name='Д''Арк'") << false;
    QTest::newRow("empty box") << QString() << false;
}

void TstService::command()
{
    QFETCH(QString, text);
    QFETCH(bool, runs);
    Fixture f;
    Service screen(f.ctx);
    screen.sqlBox()->setPlainText(text);
    screen.runCommand();
    QCOMPARE(f.desktop.texts(), runs ? QStringList{QStringLiteral("Выполнено")} : QStringList{});
    const auto other = f.t.openSecond();
    QCOMPARE(other->scalar(QStringLiteral("select name from config2")).toString(),
             runs ? QStringLiteral("Д'Арк") : QString());
}

void TstService::query()
{
    Fixture f;
    Service screen(f.ctx);
    screen.sqlBox()->setPlainText(QStringLiteral("select id, name from oplata\norder by id"));
    screen.runQuery();
    QAbstractItemModel *model = screen.grid()->model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->columnCount(), 2);
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString().toLower(), QStringLiteral("name"));
    QCOMPARE(model->index(2, 1).data().toString(), QStringLiteral("Безналичный расчет"));

    screen.sqlBox()->setPlainText(QStringLiteral("select * from nosuchtable"));
    screen.runQuery();
    QCOMPARE(f.desktop.messages().last().kind, ScriptedDesktop::Kind::Error);
}

void TstService::countryFill_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("codePage");
    QTest::newRow("dos code page") << QStringLiteral("oksm.dbf") << int(DbfTable::CodePage::Cp866);
    QTest::newRow("windows code page") << QStringLiteral("oksm.dbf") << int(DbfTable::CodePage::Cp1251);
    QTest::newRow("upper-case file name") << QStringLiteral("OKSM.DBF") << int(DbfTable::CodePage::Cp866);
}

void TstService::countryFill()
{
    QFETCH(QString, fileName);
    QFETCH(int, codePage);
    Fixture f;
    {
        DbfTable oksm;
        QVERIFY(oksm.create(f.t.folder() + QLatin1Char('/') + fileName, DbfTable::CodePage(codePage)));
        QVERIFY(oksm.addField(QStringLiteral("KOD"), DbfTable::FieldType::Integer, 3));
        QVERIFY(oksm.addField(QStringLiteral("NAIM"), DbfTable::FieldType::String, 45));
        const QList<QPair<int, QString>> countries = {{4, QStringLiteral("Афганистан")},
                                                      {384, QStringLiteral("Кот д'Ивуар")},
                                                      {643, QStringLiteral("Россия")}};
        for (const auto &[kod, naim] : countries) {
            const int record = oksm.appendRecord();
            QVERIFY(oksm.writeInt(record, 0, kod));
            QVERIFY(oksm.writeString(record, 1, naim));
        }
    }
    // A code already present keeps its row.
    f.t.db().exec(QStringLiteral("insert into strana (kod,name) values ('643','Российская Федерация')"));
    f.t.db().commit();

    Service screen(f.ctx);
    screen.fillCountries();
    QCOMPARE(f.desktop.texts(), QStringList{QStringLiteral("Выполнено")});
    const auto other = f.t.openSecond();
    QCOMPARE(f.codes(*other), (QStringList{"004", "384", "643"}));
    QCOMPARE(f.name(*other, QStringLiteral("004")), QStringLiteral("Афганистан"));
    QCOMPARE(f.name(*other, QStringLiteral("384")), QStringLiteral("Кот д'Ивуар"));
    QCOMPARE(f.name(*other, QStringLiteral("643")), QStringLiteral("Российская Федерация"));

    // Running it again adds nothing and fails on nothing.
    screen.fillCountries();
    QCOMPARE(f.desktop.texts(), (QStringList{QStringLiteral("Выполнено"), QStringLiteral("Выполнено")}));
    QCOMPARE(f.codes(*other), (QStringList{"004", "384", "643"}));
}

void TstService::countryFileMissing()
{
    Fixture f;
    Service screen(f.ctx);
    screen.fillCountries();
    QCOMPARE(f.desktop.messages().size(), 1);
    QCOMPARE(f.desktop.messages().first().kind, ScriptedDesktop::Kind::Error);
    QVERIFY(f.desktop.lastText().contains(QStringLiteral("oksm.dbf")));
}

void TstService::operNotes()
{
    Fixture f;
    f.t.db().exec(
        QStringLiteral("insert into oper (id,ttype,ttype2,note) values (10,4,0,'  чай ''Лисма'' ёж ')"));
    f.t.db().exec(QStringLiteral("insert into oper (id,ttype,ttype2,note) values (11,1,0,NULL)"));
    Service screen(f.ctx);
    screen.upperOperNotes();
    QCOMPARE(f.desktop.texts(), QStringList{QStringLiteral("выполнено")});
    QCOMPARE(f.t.db().scalar(QStringLiteral("select note2 from oper where id=10")).toString(),
             QStringLiteral("ЧАЙ 'ЛИСМА' ЁЖ"));
    QCOMPARE(f.t.db().scalar(QStringLiteral("select note2 from oper where id=11")).toString(), QString());
    // Not committed here: a rollback takes it back.
    f.t.db().rollback();
    QCOMPARE(f.t.db().scalar(QStringLiteral("select count(*) from oper")).toInt(), 0);
}

void TstService::resetKeepsWhatMustStay()
{
    Fixture f;
    Db &db = f.t.db();
    for (const char *sql : {
             "insert into kart (id,fam,fio2,nday) values (7,'Иванов','ИВАНОВ',28)",
             "insert into kandidat (id,fam) values (40,'Петров')",
             "insert into sprkand (id,ttype,name,name2) values (5000,1,'Кассир','КАССИР')",
             "insert into userp (id,login,passw,uroven) values (4100,'kadry','k',3)",
             "insert into tovar (id,name,name2,idgruppa) values (20,'Чай','ЧАЙ',21)",
             "insert into gruppat (id,name,name2,idrazdel) values (21,'Чай','ЧАЙ',0)",
             "insert into sklad (id,name,name2) values (22,'Основной','ОСНОВНОЙ')",
             "insert into oper (id,ttype,ttype2) values (23,4,0)",
             "insert into patent (id,idkart,ser) values (9,7,'77')",
             "insert into cenar (id,idtovar) values (12,20)",
             "insert into obuser (id,iduser) values (30,1)",
             "insert into history (id,iddog) values (31,1)",
             "insert into otpusk (id,idkart,typer) values (32,7,1)",
             "update config2 set name='ООО Ромашка', inn='7701', numscet=50, numakt=60, numscf=70, "
             "atoldir='C:\\ATOL', atolfname='goods.txt', oplata1=1946",
         })
        db.exec(QString::fromUtf8(sql));
    db.commit();

    f.desktop.answer(true);
    Service screen(f.ctx);
    screen.resetDatabase();
    QCOMPARE(f.desktop.texts(), QStringList{QStringLiteral("УДАЛИТЬ ТОЧНО ВСЕ ?")});
    QCOMPARE(f.desktop.messages().first().kind, ScriptedDesktop::Kind::Question);

    const auto other = f.t.openSecond();
    for (const char *table : {"kart", "gruppat", "razdel", "sklad", "post", "tovar"}) {
        const QString sql = QStringLiteral("select list(id) from %1").arg(QString::fromLatin1(table));
        QCOMPARE(other->scalar(sql).toString(), QStringLiteral("0"));
    }
    for (const char *table : {"oper", "cenar", "obuser", "history"})
        QCOMPARE(
            other->scalar(QStringLiteral("select count(*) from %1").arg(QString::fromLatin1(table))).toInt(),
            0);
    QCOMPARE(other->scalar(QStringLiteral("select count(*) from userp")).toInt(), 2);
    QCOMPARE(other->scalar(QStringLiteral("select count(*) from kandidat")).toInt(), 1);
    QCOMPARE(other->scalar(QStringLiteral("select count(*) from patent")).toInt(), 1);
    QCOMPARE(other->scalar(QStringLiteral("select count(*) from otpusk")).toInt(), 1);
    const QSqlRecord settings = other->query(QStringLiteral("select * from config2")).value(0);
    QCOMPARE(settings.value(QStringLiteral("name")).toString(), QStringLiteral("ООО Ромашка"));
    QCOMPARE(settings.value(QStringLiteral("inn")).toString(), QStringLiteral("7701"));
    QCOMPARE(settings.value(QStringLiteral("oplata1")).toDouble(), 1946.0);
    QCOMPARE(settings.value(QStringLiteral("numscet")).toDouble(), 1.0);
    QCOMPARE(settings.value(QStringLiteral("numakt")).toDouble(), 1.0);
    QCOMPARE(settings.value(QStringLiteral("numscf")).toDouble(), 1.0);
    QCOMPARE(settings.value(QStringLiteral("atoldir")).toString().trimmed(), QString());
    QCOMPARE(settings.value(QStringLiteral("atolfname")).toString().trimmed(), QString());

    // The next ids do not collide with the rows that stayed.
    QCOMPARE(f.generator(*other, QStringLiteral("deti")), 5000.0);
    QCOMPARE(f.generator(*other, QStringLiteral("kart")), 40.0);
    QCOMPARE(f.generator(*other, QStringLiteral("patent")), 9.0);
    QCOMPARE(f.generator(*other, QStringLiteral("obuser")), 2.0);
    QCOMPARE(f.generator(*other, QStringLiteral("atol")), 0.0);
    const double id = db.newId(QStringLiteral("deti"));
    db.exec(QStringLiteral("insert into sprkand (id,ttype) values (%1,1)").arg(qint64(id)));
}

void TstService::resetAnsweredNo()
{
    Fixture f;
    f.t.db().exec(QStringLiteral("insert into tovar (id,name,name2) values (20,'Чай','ЧАЙ')"));
    f.t.db().commit();
    f.desktop.answer(false);
    Service screen(f.ctx);
    screen.resetDatabase();
    QCOMPARE(f.t.db().scalar(QStringLiteral("select count(*) from tovar")).toInt(), 2);
    QCOMPARE(f.generator(f.t.db(), QStringLiteral("deti")), 2000.0);
}

QTEST_MAIN(TstService)
#include "tst_service.moc"
