#include "platform/db.h"
#include "scripted_desktop.h"
#include "shell/control_vers.h"
#include "shell/passw.h"
#include "common/session.h"
#include "test_db.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

// Version control at login, on a database made by an early version.
class TstControlVers : public QObject
{
    Q_OBJECT

private slots:
    void findPole_data();
    void findPole();
    void oldDatabaseIsBroughtUpAfterAFailure();
    void fullDatabaseOnlyGetsVersion();
};

namespace {

const QString kGroup1 = QStringLiteral(
    "Добавлены новое поле OPER.IDSKLAD\nПосле запуска программы выполните для каждого типа операции (приход, "
    "продажа, списание....)\nСервис - <Привязка склада к операции> в верхнем выпадающем меню");
const QString kGroup4 = QStringLiteral(
    "Добавлены новое поле CONFIG2.OPLATA\nВ настройках организации можно указать вид оплаты для операций "
    "Поступление и Продажа");
const QString kDone = QStringLiteral("Контроль версий выполнен");

QString oldSchema()
{
    QFile file(QStringLiteral(QT_TESTCASE_SOURCEDIR "/shell/old_schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// One login attempt with user1 that agrees to the version control.
bool loginAgreeing(const QString &path, Session &session, ScriptedDesktop &desktop)
{
    Db db;
    Passw passw(session, db, desktop);
    passw.serverEdit()->setText(QStringLiteral("127.0.0.1"));
    passw.databaseEdit()->setText(path);
    desktop.answer(true);
    return passw.start();
}

} // namespace

void TstControlVers::findPole_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<bool>("found");
    QTest::newRow("present") << "oper" << "idsklad" << true;
    QTest::newRow("mixed case") << "Config2" << "OpenGruppa" << true;
    QTest::newRow("missing column") << "oper" << "nosuch" << false;
    QTest::newRow("missing table") << "nosuch" << "id" << false;
    QTest::newRow("apostrophe is data") << "oper' or '1'='1" << "id" << false;
}

void TstControlVers::findPole()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(bool, found);
    TestDb t;
    QCOMPARE(FFindPole(t.db(), table, column), found);
}

void TstControlVers::oldDatabaseIsBroughtUpAfterAFailure()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OLD.FDB"));
    Db::createDatabase(QStringLiteral("127.0.0.1"), path, oldSchema());
    Session session;
    session.WorkDir = dir.path();
    ScriptedDesktop desktop;

    // The goods table is missing, so the fifth group fails after its first statement.
    QVERIFY(!loginAgreeing(path, session, desktop));
    QVERIFY2(desktop.lastText().contains(QLatin1String("TOVAR")), qPrintable(desktop.lastText()));
    QVERIFY(desktop.texts().contains(kGroup1));
    QVERIFY(desktop.texts().contains(kGroup4));
    {
        Db db;
        db.open(QStringLiteral("127.0.0.1"), path);
        QVERIFY(FFindPole(db, QStringLiteral("config2"), QStringLiteral("svyvod")));
        QCOMPARE(db.scalar(QStringLiteral("select fontname from config2")).toString(), QStringLiteral("20.05"));
        QCOMPARE(db.scalar(QStringLiteral("select idsklad + idsklad2 from oper where id=1")).toDouble(), 0.0);
        QCOMPARE(db.scalar(QStringLiteral("select oplata1 from config2")).toDouble(), 1947.0);
        db.exec(QStringLiteral("CREATE TABLE tovar (id NUMERIC(18,0), name VARCHAR(100), name2 VARCHAR(100))"));
        db.commit();
    }

    desktop.clear();
    QVERIFY(loginAgreeing(path, session, desktop));
    QCOMPARE(desktop.texts().last(), kDone);
    QVERIFY(!desktop.texts().contains(kGroup1));
    QVERIFY(!desktop.texts().contains(kGroup4));
    Db db;
    db.open(QStringLiteral("127.0.0.1"), path);
    for (const auto &[table, column] : std::vector<std::pair<const char *, const char *>>{
             {"oper", "idsklad"}, {"oper", "idsklad2"}, {"oper", "oprix"}, {"config2", "opengruppa"},
             {"config2", "oplata1"}, {"config2", "oplata2"}, {"config2", "svyvod"}, {"tovar", "kod5"},
             {"tovar", "kod52"}, {"tovar", "atolkod"}, {"config2", "atoldir"}, {"config2", "atolfname"},
             {"tovar", "atolok"}, {"gruppat", "atolok"}})
        QVERIFY2(FFindPole(db, QString::fromLatin1(table), QString::fromLatin1(column)), column);
    QVERIFY(generatorExists(db, QStringLiteral("atol")));
    QCOMPARE(db.scalar(QStringLiteral("select fontname from config2")).toString().trimmed(), QStringLiteral("22.01"));
    QCOMPARE(db.scalar(QStringLiteral("select rdb$field_length from rdb$fields f join rdb$relation_fields r on "
                                      "f.rdb$field_name=r.rdb$field_source where r.rdb$relation_name='TOVAR' and "
                                      "r.rdb$field_name='NAME'"))
                 .toInt(),
             101);
}

void TstControlVers::fullDatabaseOnlyGetsVersion()
{
    TestDb t;
    t.db().exec(QStringLiteral("update config2 set fontname='23.10'"));
    t.db().commit();
    Session session;
    session.WorkDir = t.folder();
    ScriptedDesktop desktop;
    QVERIFY(loginAgreeing(t.path(), session, desktop));
    QCOMPARE(desktop.texts().size(), 2);
    QCOMPARE(desktop.texts().last(), kDone);
    QCOMPARE(t.db().scalar(QStringLiteral("select fontname from config2")).toString().trimmed(),
             QStringLiteral("22.01"));
    QCOMPARE(t.db().scalar(QStringLiteral("select opengruppa from config2")).toDouble(), 1.0);
}

QTEST_MAIN(TstControlVers)
#include "tst_control_vers.moc"
