#include "common/sql_literals.h"
#include "scripted_desktop.h"
#include "shell/main_form.h"
#include "shell/passw.h"
#include "common/session.h"
#include "test_db.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

// The login screen and the first state of the main window, on a fresh database.
class TstPassw : public QObject
{
    Q_OBJECT

private slots:
    void freshInstallOffersStandardDatabase();
    void userCheck_data();
    void userCheck();
    void decliningVersionControlIsNoFailure();
    void acceptedVersionControlStoresVersion();
    void fourthFailureCloses();
    void levelMinusOneEndsAfterSessionRow();
    void sessionRowAndEndTime();
    void firstStartMessageAndSavedFields();
    void pagesByLevel_data();
    void pagesByLevel();
    void referenceBooksRoute_data();
    void referenceBooksRoute();
    void grabScreens();
};

namespace {

// A working folder holding the test database as DB/DB1.FDB.
struct LoginFixture
{
    LoginFixture()
    {
        session.WorkDir = t.folder();
        session.fillNameTables();
        passw.serverEdit()->setText(QStringLiteral("127.0.0.1"));
        passw.databaseEdit()->setText(t.path());
        passw.loginEdit()->setText(QStringLiteral("user1"));
    }
    void login(const QString &name, const QString &password)
    {
        passw.loginEdit()->setText(name);
        passw.passwordEdit()->setText(password);
    }
    int sessions() { return t.db().scalar(QStringLiteral("select count(*) from obuser")).toInt(); }

    TestDb t;
    Session session;
    ScriptedDesktop desktop;
    Db db;
    Passw passw{session, db, desktop};
};

} // namespace

void TstPassw::freshInstallOffersStandardDatabase()
{
    LoginFixture f;
    QDir(f.t.folder()).mkpath(QStringLiteral("DB"));
    const QString standard = f.session.path(QStringLiteral("DB/DB1.FDB"));
    f.t.db().close();
    QVERIFY(QFile::rename(f.t.path(), standard));
    f.passw.databaseEdit()->clear();
    f.desktop.answer(true);
    QVERIFY(!f.passw.start());
    QCOMPARE(f.desktop.texts().value(0), QStringLiteral("Указан адрес сервера 127.0.0.1\nФайл с базой данных не обнаружен\n"));
    QCOMPARE(f.desktop.texts().value(1),
             QStringLiteral("Обнаружен файл с базой данных\n%1\nИспользовать его для подключения ?").arg(standard));
    QCOMPARE(f.passw.databaseEdit()->text(), standard);
    QCOMPARE(f.passw.failedAttempts(), 0);
    QVERIFY(f.passw.start());
    QCOMPARE(f.session.AccessLevel, 1);
}

void TstPassw::userCheck_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("level"); // -1: refused
    QTest::newRow("user1, empty password") << "user1" << "" << 1;
    QTest::newRow("typed blanks are trimmed") << "  user1 " << "  " << 1;
    QTest::newRow("case matters") << "USER1" << "" << -1;
    QTest::newRow("stored blanks are trimmed") << "spaced" << "pw" << 3;
    QTest::newRow("first of two equal rows") << "dup" << "same" << 2;
    QTest::newRow("wrong password") << "dup" << "other" << -1;
    QTest::newRow("injection in password") << "user1" << "' or '1'='1" << -1;
    QTest::newRow("injection in login") << "' or 1=1 --" << "" << -1;
    QTest::newRow("apostrophe in password") << "obrien" << "O'Brien" << 2;
    QTest::newRow("no developer backdoor") << "qxwzmpjvt" << "hkt3518" << -1;
}

void TstPassw::userCheck()
{
    QFETCH(QString, login);
    QFETCH(QString, password);
    QFETCH(int, level);
    LoginFixture f;
    f.t.db().exec(QStringLiteral("insert into userp (id,login,passw,uroven) values (5,'dup','same',2)"));
    f.t.db().exec(QStringLiteral("insert into userp (id,login,passw,uroven) values (6,'dup','same',3)"));
    f.t.db().exec(QStringLiteral("insert into userp (id,login,passw,uroven) values (7,'spaced  ','pw   ',3)"));
    f.t.db().exec(QStringLiteral("insert into userp (id,login,passw,uroven) values (8,'obrien',%1,2)")
                      .arg(sqlText(QStringLiteral("O'Brien"))));
    f.t.db().commit();
    f.login(login, password);
    QCOMPARE(f.passw.start(), level != -1);
    if (level == -1) {
        QCOMPARE(f.desktop.lastText(), QStringLiteral("Неверный пользователь/пароль"));
        QCOMPARE(f.session.AccessLevel, -1);
        QCOMPARE(f.sessions(), 0);
    } else {
        QCOMPARE(f.session.AccessLevel, level);
        QCOMPARE(f.sessions(), 1);
    }
    QCOMPARE(f.passw.failedAttempts(), 1);
}

void TstPassw::decliningVersionControlIsNoFailure()
{
    LoginFixture f;
    f.t.db().exec(QStringLiteral("update config2 set fontname='21.07'"));
    f.t.db().commit();
    f.desktop.answer(false);
    QVERIFY(!f.passw.start());
    QCOMPARE(f.desktop.lastText(),
             QStringLiteral("Версия программы 22.01\nне совпадает с версией базы данных 21.07\nПровести Контроль "
                            "версий ?\nВсе пользователи должны закрыть программу перед Контролем версий"));
    QCOMPARE(f.passw.failedAttempts(), 0);
    QCOMPARE(f.passw.result(), int(QDialog::Rejected));
    QCOMPARE(f.sessions(), 0);
    QCOMPARE(f.t.db().scalar(QStringLiteral("select fontname from config2")).toString().trimmed(),
             QStringLiteral("21.07"));
}

void TstPassw::acceptedVersionControlStoresVersion()
{
    LoginFixture f;
    f.t.db().exec(QStringLiteral("update config2 set fontname='21.07'"));
    f.t.db().commit();
    f.desktop.answer(true);
    QVERIFY(f.passw.start());
    QCOMPARE(f.desktop.texts().last(), QStringLiteral("Контроль версий выполнен"));
    QCOMPARE(f.t.db().scalar(QStringLiteral("select fontname from config2")).toString().trimmed(),
             QStringLiteral("22.01"));
}

void TstPassw::fourthFailureCloses()
{
    LoginFixture f;
    f.login(QStringLiteral("user1"), QStringLiteral("wrong"));
    f.passw.open();
    for (int attempt = 1; attempt <= 3; ++attempt) {
        QVERIFY(!f.passw.start());
        QVERIFY(f.passw.isVisible());
    }
    QVERIFY(!f.passw.start());
    QCOMPARE(f.passw.failedAttempts(), 4);
    QVERIFY(!f.passw.isVisible());
    QCOMPARE(f.desktop.texts().count(QStringLiteral("Неверный пользователь/пароль")), 4);
    QCOMPARE(f.session.AccessLevel, -1);
}

void TstPassw::levelMinusOneEndsAfterSessionRow()
{
    LoginFixture f;
    f.t.db().exec(QStringLiteral("insert into userp (id,login,passw,uroven) values (9,'gone','x',-1)"));
    f.t.db().commit();
    MainForm window(f.session, f.db, f.desktop);
    window.show();
    window.passw()->databaseEdit()->setText(f.t.path());
    window.passw()->loginEdit()->setText(QStringLiteral("gone"));
    window.passw()->passwordEdit()->setText(QStringLiteral("x"));
    QVERIFY(window.passw()->start());
    QCOMPARE(f.sessions(), 1);
    QVERIFY(!window.afterLogin());
    QVERIFY(!window.isVisible());
}

void TstPassw::sessionRowAndEndTime()
{
    TestDb t;
    Session session;
    session.WorkDir = t.folder();
    session.fillNameTables();
    ScriptedDesktop desktop;
    Db db;
    MainForm window(session, db, desktop);
    window.passw()->databaseEdit()->setText(t.path());
    QVERIFY(window.passw()->start());
    QVERIFY(window.afterLogin());
    QCOMPARE(window.pages()->currentIndex(), int(MainForm::Journal));
    QCOMPARE(window.statusLabel()->text(), QStringLiteral("Уровень доступа=Администратор,   "));
    const QString id = sqlId(session.SessionId);
    auto second = t.openSecond();
    QCOMPARE(second->scalar(QStringLiteral("select count(*) from obuser where iduser=1 and timestart is not null "
                                           "and timeend is null and id=") + id).toInt(), 1);
    window.close();
    QVERIFY(!db.isOpen());
    QCOMPARE(second->scalar(QStringLiteral("select count(*) from obuser where timeend is not null and id=") + id)
                 .toInt(),
             1);
}

void TstPassw::firstStartMessageAndSavedFields()
{
    LoginFixture f;
    const QString firstStart = QStringLiteral(
        "После установки программы\nИмя пользователя = user1\nПароль не установлен\nЗапуск базы кнопка СТАРТ");
    for (int opening = 1; opening <= 4; ++opening) {
        f.desktop.clear();
        f.passw.prepare();
        QCOMPARE(f.desktop.texts().contains(firstStart), opening <= 3);
    }
    QFile counter(f.session.path(QStringLiteral("start.txt")));
    QVERIFY(counter.open(QIODevice::ReadOnly));
    QCOMPARE(counter.readAll().trimmed(), QByteArray("4"));
    QVERIFY(f.passw.windowTitle().startsWith(QStringLiteral("Вход в систему TEVO Склад [версия 22.01 от 05.08.2022]")));

    QVERIFY(f.passw.start());
    f.passw.serverEdit()->setText(QStringLiteral("other"));
    f.passw.databaseEdit()->clear();
    f.passw.prepare();
    QCOMPARE(f.passw.serverEdit()->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(f.passw.databaseEdit()->text(), f.t.path());
}

void TstPassw::pagesByLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("settingsMenu");
    QTest::newRow("developer") << 0 << "7 8 9 10 11 12" << true;
    QTest::newRow("administrator") << 1 << "7 8 9 10 11 12" << true;
    QTest::newRow("accountant") << 2 << "7 8 9 10 11 12" << false;
    QTest::newRow("personnel officer") << 3 << "10 11 12" << false;
    QTest::newRow("read-only") << 4 << "7 8 9 10 11 12" << false;
    QTest::newRow("read-only without accruals") << 5 << "7 8 9 10 11 12" << false;
}

void TstPassw::pagesByLevel()
{
    QFETCH(int, level);
    QFETCH(QString, shown);
    QFETCH(bool, settingsMenu);
    LoginFixture f;
    f.t.db().exec(QStringLiteral("insert into userp (id,login,passw,uroven) values (10,'u','p',%1)").arg(level));
    f.t.db().commit();
    MainForm window(f.session, f.db, f.desktop);
    window.passw()->databaseEdit()->setText(f.t.path());
    window.passw()->loginEdit()->setText(QStringLiteral("u"));
    window.passw()->passwordEdit()->setText(QStringLiteral("p"));
    QVERIFY(window.passw()->start());
    QVERIFY(window.afterLogin());
    QStringList visible;
    for (int p = 0; p < MainForm::PageCount; ++p) {
        if (window.isPageShown(MainForm::Page(p)))
            visible << QString::number(p);
    }
    QCOMPARE(visible.join(QLatin1Char(' ')), shown);
    QCOMPARE(window.menu(QStringLiteral("Настройки"))->menuAction()->isEnabled(), settingsMenu);
    QCOMPARE(window.menuItem(QStringLiteral("Сервис"), QStringLiteral("Сервис"))->isVisible(), true);
    QVERIFY(window.isPageShown(MainForm::Page(window.pages()->currentIndex())));
}

void TstPassw::referenceBooksRoute_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("kind");
    QTest::newRow("goods groups") << "Справочник Группы товаров" << "gruppa" << "gruppat" << 2 << 0;
    QTest::newRow("service groups") << "Справочник Группы услуг" << "gruppa" << "gruppat" << 2 << 1;
    QTest::newRow("warehouses") << "Справочник Склады" << "gruppa" << "sklad" << 2 << 0;
    QTest::newRow("sections") << "Справочник Разделы товаров" << "gruppa" << "razdel" << 2 << 0;
    QTest::newRow("payment kinds") << "Справочник Виды оплаты" << "gruppa" << "oplata" << 2 << 0;
    QTest::newRow("counterparties") << "Справочник Контрагенты" << "vyb_kagent" << "post" << 2 << 0;
    QTest::newRow("employees") << "Справочник Сотрудники " << "VybKart" << "kart" << 2 << 0;
    QTest::newRow("goods catalogue") << "Справочник Товары" << "VyborT_G" << "" << 2 << 0;
    QTest::newRow("services catalogue") << "Справочник Услуги" << "VyborT_G" << "" << 2 << 1;
}

void TstPassw::referenceBooksRoute()
{
    QFETCH(QString, button);
    QFETCH(QString, screen);
    QFETCH(QString, table);
    QFETCH(int, mode);
    QFETCH(int, kind);
    LoginFixture f;
    MainForm window(f.session, f.db, f.desktop);
    window.passw()->databaseEdit()->setText(f.t.path());
    QVERIFY(window.passw()->start());
    QVERIFY(window.afterLogin());
    Pick asked;
    window.screens().add(screen, [&asked](Pick &pick) { asked = pick; });
    window.pages()->setCurrentIndex(MainForm::Journal);
    window.pageButton(MainForm::Settings, button)->click();
    QCOMPARE(asked.screen, screen);
    QCOMPARE(asked.table, table);
    QCOMPARE(asked.mode, mode);
    QCOMPARE(asked.kind, kind);
    QCOMPARE(window.pages()->currentIndex(), int(MainForm::Settings));
}

void TstPassw::grabScreens()
{
    LoginFixture f;
    f.passw.prepare();
    f.passw.show();
    const QString folder = QStringLiteral(QT_TESTCASE_BUILDDIR);
    QVERIFY(f.passw.grab().save(folder + QStringLiteral("/passw.png")));
    MainForm window(f.session, f.db, f.desktop);
    window.passw()->databaseEdit()->setText(f.t.path());
    QVERIFY(window.passw()->start());
    QVERIFY(window.afterLogin());
    window.resize(1100, 600);
    window.show();
    window.pages()->setCurrentIndex(MainForm::Settings);
    QVERIFY(window.grab().save(folder + QStringLiteral("/main_form.png")));
}

QTEST_MAIN(TstPassw)
#include "tst_passw.moc"
