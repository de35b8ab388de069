#include "scripted_desktop.h"
#include "shell/backup.h"
#include "common/session.h"
#include "test_db.h"

#include <QDir>
#include <QFile>
#include <QTest>

// "Архив" and "Восстановить" run the real backup tool on an embedded database.
class TstBackup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void backupAndRestoreRoundTrip();
    void remoteAddressRefusesBeforeAsking_data();
    void remoteAddressRefusesBeforeAsking();
    void failingRunKeepsLog();
    void defaultName();

private:
    QString m_previous;
};

void TstBackup::init()
{
    m_previous = QDir::currentPath();
}

void TstBackup::cleanup()
{
    QDir::setCurrent(m_previous);
}

void TstBackup::backupAndRestoreRoundTrip()
{
    TestDb t;
    QDir::setCurrent(t.folder());
    t.db().exec(QStringLiteral("insert into sklad (id,name,name2) values (77,'Склад O''Brien','X')"));
    t.db().close();
    Session session;
    session.WorkDir = t.folder() + QStringLiteral("/work dir");
    QDir().mkpath(session.WorkDir);
    ScriptedDesktop desktop;
    DbBackup backup(session, desktop);
    const QString file = t.folder() + QStringLiteral("/копия с пробелом.fbk");

    desktop.answer(true);
    desktop.answerFile(file);
    backup.backup(QStringLiteral("127.0.0.1"), t.path());
    QCOMPARE(desktop.lastText(), QStringLiteral("Архив создан \n") + file);
    QVERIFY(!QFile::exists(QStringLiteral("gbak.txt")));

    for (int run = 0; run < 2; ++run) {
        desktop.answer(true);
        desktop.answerFile(file);
        backup.restore(QStringLiteral("127.0.0.1"), t.path());
        const QString restored = session.path(QStringLiteral("DB/_DB_ARCH.FDB"));
        QCOMPARE(desktop.lastText(),
                 QStringLiteral("Архив восстановлен из файла \n%1\nв файл \n%2\nПереименуйте восстановленнй файл "
                                "%2\nВ файл базы данных %3")
                     .arg(file, restored, session.path(QStringLiteral("DB/DB1.FDB"))));
        Db db;
        db.open(QStringLiteral("127.0.0.1"), restored);
        QCOMPARE(db.scalar(QStringLiteral("select name from sklad where id=77")).toString(),
                 QStringLiteral("Склад O'Brien"));
        // A second restore must replace this file, so the connection goes first.
        db.close();
    }

    desktop.answer(true);
    desktop.answerFile(file);
    desktop.answer(false);
    backup.backup(QStringLiteral("127.0.0.1"), t.path());
    QCOMPARE(desktop.lastText(), QStringLiteral("Файл с архивом %1\nуже существует, заменить его ?").arg(file));
}

void TstBackup::remoteAddressRefusesBeforeAsking_data()
{
    QTest::addColumn<bool>("restore");
    QTest::addColumn<QString>("message");
    QTest::newRow("backup") << false
                            << "Создание архива возможно только для локального сервера (адрес 127.0.0.1)";
    QTest::newRow("restore") << true
                             << "Восстановление архива возможно только для локального сервера (адрес 127.0.0.1)";
}

void TstBackup::remoteAddressRefusesBeforeAsking()
{
    QFETCH(bool, restore);
    QFETCH(QString, message);
    TestDb t;
    Session session;
    session.WorkDir = t.folder();
    ScriptedDesktop desktop;
    DbBackup backup(session, desktop);
    if (restore)
        backup.restore(QStringLiteral("192.0.2.7"), t.path());
    else
        backup.backup(QStringLiteral("192.0.2.7"), t.path());
    QCOMPARE(desktop.texts(), QStringList{message});
}

void TstBackup::failingRunKeepsLog()
{
    TestDb t;
    QDir::setCurrent(t.folder());
    t.db().close();
    Session session;
    session.WorkDir = t.folder();
    ScriptedDesktop desktop;
    DbBackup backup(session, desktop);
    const QString file = t.folder() + QStringLiteral("/no such folder/b.fbk");
    desktop.answer(true);
    desktop.answerFile(file);
    backup.backup(QStringLiteral("127.0.0.1"), t.path());
    QCOMPARE(desktop.lastText(), QStringLiteral("Ошибка создания архива \n") + file);
    QCOMPARE(desktop.messages().last().kind, ScriptedDesktop::Kind::Error);
    QFile log(QStringLiteral("gbak.txt"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.size() > 0);
}

void TstBackup::defaultName()
{
    QCOMPARE(DbBackup::defaultBackupName(QDateTime(QDate(2026, 12, 9), QTime(18, 45, 12))),
             QStringLiteral("b_9_12_2026_184512.fbk"));
    QCOMPARE(DbBackup::defaultBackupName(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))),
             QStringLiteral("b_2_1_2026_345.fbk"));
}

QTEST_GUILESS_MAIN(TstBackup)
#include "tst_backup.moc"
