#include "common/sql_literals.h"
#include "platform/db.h"
#include "shell/database_setup.h"

#include <QTemporaryDir>
#include <QTest>

// Several workstations: connections through a Firebird server on this
// computer. Skipped when no server listens on 127.0.0.1.
class TstDbServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void twoConnectionsSeeEachOthersCommits();
    void localAddressReachesTheServerHoldingTheFile();

private:
    QString m_path;
    QTemporaryDir m_dir;
};

namespace {

// The server's own address form, so the server (not this process) opens the file.
const QString kServer = QStringLiteral("127.0.0.1/3050");

} // namespace

void TstDbServer::initTestCase()
{
    // The server runs as its own user: the folder must be open to it.
    QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther
                                            | QFileDevice::ExeOther | QFileDevice::ReadGroup
                                            | QFileDevice::WriteGroup | QFileDevice::ExeGroup);
    m_path = m_dir.filePath(QStringLiteral("SERVER.FDB"));
    try {
        database_setup::createMainDatabase(kServer, m_path);
    } catch (const DbError &e) {
        QSKIP(qPrintable(QStringLiteral("no Firebird server on 127.0.0.1 (") + e.message().section('\n', 0, 0)
                         + QStringLiteral("); .ci/run starts one")));
    }
}

void TstDbServer::twoConnectionsSeeEachOthersCommits()
{
    Db first;
    Db second;
    first.open(kServer, m_path);
    second.open(kServer, m_path);
    first.exec(QStringLiteral("insert into sklad (id,name,name2) values (101,%1,'X')").arg(sqlText("O'Brien")));
    first.commit();
    QCOMPARE(second.scalar(QStringLiteral("select name from sklad where id=101")).toString(), QStringLiteral("O'Brien"));
    second.exec(QStringLiteral("update sklad set name='Склад Б' where id=101"));
    QCOMPARE(first.scalar(QStringLiteral("select name from sklad where id=101")).toString(), QStringLiteral("O'Brien"));
    second.commit();
    QCOMPARE(first.scalar(QStringLiteral("select name from sklad where id=101")).toString(), QStringLiteral("Склад Б"));
    QVERIFY(first.newId(QStringLiteral("deti")) != second.newId(QStringLiteral("deti")));
}

void TstDbServer::localAddressReachesTheServerHoldingTheFile()
{
    Db remote;
    remote.open(kServer, m_path);
    Db local;
    local.open(QStringLiteral("127.0.0.1"), m_path);
    local.exec(QStringLiteral("insert into sklad (id,name,name2) values (102,'local','LOCAL')"));
    local.commit();
    QCOMPARE(remote.scalar(QStringLiteral("select count(*) from sklad where id=102")).toInt(), 1);
}

QTEST_GUILESS_MAIN(TstDbServer)
#include "tst_db_server.moc"
