#include "common/sql_literals.h"
#include "scripted_desktop.h"
#include "shell/eduser.h"
#include "shell/main_form.h"
#include "shell/passw.h"
#include "shell/puser.h"
#include "common/session.h"
#include "test_db.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

// The users screen and its editor, and what a saved user can do at the next login.
class TstPUser : public QObject
{
    Q_OBJECT

private slots:
    void addedUserLogsIn();
    void unlistedLevelIsKept();
    void emptyLoginIsRefused();
    void unfitTextIsRefused();
    void deletingLastListedUser();
    void menuByLevel_data();
    void menuByLevel();
};

namespace {

struct Fixture
{
    Fixture() { session.WorkDir = t.folder(); }

    // Logs in on a connection of its own, as the next start of the program would.
    bool login(const QString &name, const QString &password, Session &next)
    {
        Db db;
        next.WorkDir = t.folder();
        Passw passw(next, db, desktop);
        passw.serverEdit()->setText(QStringLiteral("127.0.0.1"));
        passw.databaseEdit()->setText(t.path());
        passw.loginEdit()->setText(name);
        passw.passwordEdit()->setText(password);
        return passw.start();
    }

    TestDb t;
    Session session;
    ScriptedDesktop desktop;
};

} // namespace

void TstPUser::addedUserLogsIn()
{
    Fixture f;
    PUser users(f.session, f.t.db(), f.desktop);
    users.load();
    QCOMPARE(users.rowCount(), 1);
    users.setEditorRunner([](EdUser &editor) {
        QCOMPARE(editor.loginEdit()->text(), QString());
        editor.loginEdit()->setText(QStringLiteral("ivanov"));
        editor.passwordEdit()->setText(QStringLiteral("O'Key 1"));
        editor.famEdit()->setText(QStringLiteral("Иванов"));
        editor.imEdit()->setText(QStringLiteral("Иван"));
        editor.otEdit()->setText(QStringLiteral("Мамед оглы"));
        QVERIFY(editor.save());
    });
    users.addUser();
    QCOMPARE(users.rowCount(), 2);
    const double id = users.currentId();
    QVERIFY(id > 1);

    users.setEditorRunner([](EdUser &editor) {
        QCOMPARE(editor.loginEdit()->text(), QStringLiteral("ivanov"));
        QCOMPARE(editor.otEdit()->text(), QStringLiteral("Мамед оглы"));
        editor.passwordEdit()->setText(QStringLiteral("O'Key 2"));
        QVERIFY(editor.save());
    });
    users.editUser();
    QCOMPARE(users.currentId(), id);
    f.t.db().commit();

    Session next;
    QVERIFY(!f.login(QStringLiteral("ivanov"), QStringLiteral("O'Key 1"), next));
    QVERIFY(f.login(QStringLiteral("ivanov"), QStringLiteral("O'Key 2"), next));
    QCOMPARE(next.AccessLevel, 1);
    QCOMPARE(next.UserId, id);

    // The new session shows in the editor's history.
    users.setEditorRunner([](EdUser &editor) { QCOMPARE(editor.history()->rowCount(), 1); });
    users.editUser();
}

void TstPUser::unlistedLevelIsKept()
{
    Fixture f;
    f.t.db().exec(QStringLiteral("insert into userp (id,login,passw,uroven) values (20,'kadry','k',3)"));
    PUser users(f.session, f.t.db(), f.desktop);
    users.load();
    users.setCurrentRow(1);
    QCOMPARE(users.currentId(), 20.0);
    users.setEditorRunner([](EdUser &editor) {
        editor.famEdit()->setText(QStringLiteral("Петрова"));
        QVERIFY(editor.save());
    });
    users.editUser();
    QCOMPARE(f.t.db().scalar(QStringLiteral("select uroven from userp where id=20")).toInt(), 3);
    QCOMPARE(f.t.db().scalar(QStringLiteral("select fam from userp where id=20")).toString(), QStringLiteral("Петрова"));
}

void TstPUser::emptyLoginIsRefused()
{
    Fixture f;
    PUser users(f.session, f.t.db(), f.desktop);
    users.setEditorRunner([](EdUser &editor) {
        editor.loginEdit()->setText(QStringLiteral("   "));
        QVERIFY(!editor.save());
    });
    users.addUser();
    QCOMPARE(f.desktop.lastText(), QStringLiteral("Не указан логин пользователя"));
    QCOMPARE(f.t.db().scalar(QStringLiteral("select count(*) from userp where login is null")).toInt(), 1);
}

void TstPUser::unfitTextIsRefused()
{
    Fixture f;
    PUser users(f.session, f.t.db(), f.desktop);
    users.load();
    users.setEditorRunner([](EdUser &editor) {
        editor.famEdit()->setText(QStringLiteral("Зоя ☺"));
        QVERIFY(!editor.save());
    });
    users.editUser();
    QCOMPARE(f.desktop.lastText(), QStringLiteral("Текст содержит символы, которые нельзя сохранить в базе данных: ☺"));
    QCOMPARE(f.t.db().scalar(QStringLiteral("select fam from userp where id=1")).toString(), QString());
}

void TstPUser::deletingLastListedUser()
{
    Fixture f;
    f.t.db().exec(QStringLiteral("insert into userp (id,login,passw,uroven) values (30,'dev','d',0)"));
    PUser users(f.session, f.t.db(), f.desktop);
    users.load();
    QCOMPARE(users.rowCount(), 1);
    f.desktop.answer(true);
    users.deleteUser();
    QCOMPARE(f.desktop.lastText(), QStringLiteral("Удалить запись ?"));
    QCOMPARE(users.rowCount(), 0);
    users.deleteUser(); // nothing listed: nothing asked
    f.t.db().commit();
    Session next;
    QVERIFY(!f.login(QStringLiteral("user1"), QString(), next));
    QVERIFY(f.login(QStringLiteral("dev"), QStringLiteral("d"), next));
    QCOMPARE(next.AccessLevel, 0);
}

void TstPUser::menuByLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("users");
    QTest::addColumn<bool>("service");
    QTest::newRow("developer") << 0 << true << true;
    QTest::newRow("administrator") << 1 << true << false;
    QTest::newRow("accountant") << 2 << false << false;
}

void TstPUser::menuByLevel()
{
    QFETCH(int, level);
    QFETCH(bool, users);
    QFETCH(bool, service);
    Fixture f;
    f.t.db().exec(QStringLiteral("insert into userp (id,login,passw,uroven) values (40,'u','p',%1)").arg(level));
    f.t.db().commit();
    Db db;
    MainForm window(f.session, db, f.desktop);
    window.passw()->databaseEdit()->setText(f.t.path());
    window.passw()->loginEdit()->setText(QStringLiteral("u"));
    window.passw()->passwordEdit()->setText(QStringLiteral("p"));
    QVERIFY(window.passw()->start());
    QVERIFY(window.afterLogin());
    const bool settingsOpen = window.menu(QStringLiteral("Настройки"))->menuAction()->isEnabled();
    const QAction *usersItem = window.menuItem(QStringLiteral("Настройки"), QStringLiteral("Пользователи"));
    QCOMPARE(settingsOpen && usersItem->isEnabled(), users);
    const bool serviceOpen = window.menu(QStringLiteral("Сервис"))->menuAction()->isEnabled();
    if (!service)
        QVERIFY(!(serviceOpen && window.menuItem(QStringLiteral("Сервис"), QStringLiteral("Сервис"))->isEnabled()));
    if (!users) {
        window.openUsers();
        QVERIFY(window.users() == nullptr);
    }
    // The page buttons of "Настройки" stay reachable at every level.
    QVERIFY(window.isPageShown(MainForm::Settings));
    QVERIFY(!window.pageButton(MainForm::Settings, QStringLiteral("Настройки организации"))->isHidden());
}

QTEST_MAIN(TstPUser)
#include "tst_puser.moc"
