#include "platform/db.h"

#include "common/win1251.h"

#include <QAtomicInt>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <ibase.h>

namespace {

QAtomicInt connectionCounter;

QString errorText(const QSqlError &error)
{
    const QString server = error.databaseText().trimmed();
    return server.isEmpty() ? error.text().trimmed() : server;
}

void requireIdentifier(const QString &name)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_$]*$"));
    if (!identifier.match(name).hasMatch())
        throw DbError(QStringLiteral("Недопустимое имя объекта базы данных: ") + name);
}

void refuseUnfitText(const QString &sql)
{
    const QString message = win1251::unfitMessage(sql);
    if (!message.isEmpty())
        throw DbError(message);
}

QString statusText(const ISC_STATUS *status)
{
    QStringList parts;
    char buffer[1024];
    const ISC_STATUS *vector = status;
    while (fb_interpret(buffer, sizeof buffer, &vector) > 0)
        parts << QString::fromLocal8Bit(buffer);
    return parts.join(QLatin1Char('\n'));
}

QString quoted(const QString &text)
{
    QString copy = text;
    copy.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + copy + QLatin1Char('\'');
}

} // namespace

Db::Db()
    : m_connectionName(QStringLiteral("tevo-db-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
}

Db::~Db()
{
    try {
        close();
    } catch (const DbError &) {
        // Nothing can be shown at destruction; the connection is gone anyway.
    }
}

bool Db::isLocalServer(const QString &server)
{
    const QString address = server.trimmed();
    return address.isEmpty() || address == QLatin1String("127.0.0.1")
        || address.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0;
}

QString Db::connectionString(const QString &server, const QString &path)
{
    return isLocalServer(server) ? path.trimmed() : server.trimmed() + QLatin1Char(':') + path.trimmed();
}

QString Db::password()
{
    const QString fromEnvironment = qEnvironmentVariable("ISC_PASSWORD");
    return fromEnvironment.isEmpty() ? QStringLiteral("vorpaltin") : fromEnvironment;
}

void Db::open(const QString &server, const QString &path)
{
    close();
    m_databaseName = connectionString(server, path);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), m_connectionName);
        db.setDatabaseName(m_databaseName);
        db.setUserName(QStringLiteral("SYSDBA"));
        db.setPassword(password());
        db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
        if (!db.open()) {
            const QString text = errorText(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_connectionName);
            throw DbError(text);
        }
    }
    startTransaction();
}

void Db::close()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen()) {
            db.commit();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool Db::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName)
        && QSqlDatabase::database(m_connectionName, false).isOpen();
}

void Db::check(bool ok) const
{
    if (!ok)
        throw DbError(errorText(QSqlDatabase::database(m_connectionName, false).lastError()));
}

void Db::startTransaction()
{
    check(QSqlDatabase::database(m_connectionName, false).transaction());
}

void Db::exec(const QString &sql)
{
    refuseUnfitText(sql);
    m_pending = true;
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    if (!q.exec(sql))
        throw DbError(errorText(q.lastError()));
}

void Db::execWithBlob(const QString &sql, const QString &placeholder, const QByteArray &data)
{
    refuseUnfitText(sql);
    m_pending = true;
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    if (!q.prepare(sql))
        throw DbError(errorText(q.lastError()));
    q.bindValue(placeholder, data);
    if (!q.exec())
        throw DbError(errorText(q.lastError()));
}

DbRows Db::query(const QString &sql)
{
    refuseUnfitText(sql);
    // The driver's transactions are snapshots; one that has written nothing
    // is renewed so that a read sees what other workstations have committed.
    if (!m_pending)
        commit();
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
    q.setForwardOnly(true);
    if (!q.exec(sql))
        throw DbError(errorText(q.lastError()));
    DbRows rows;
    while (q.next())
        rows.append(q.record());
    if (q.lastError().isValid())
        throw DbError(errorText(q.lastError()));
    return rows;
}

QVariant Db::scalar(const QString &sql)
{
    const DbRows rows = query(sql);
    return rows.isEmpty() ? QVariant() : rows.first().value(0);
}

double Db::newId(const QString &generator)
{
    requireIdentifier(generator);
    return scalar(QStringLiteral("select GEN_ID(%1,1) from RDB$DATABASE").arg(generator)).toDouble();
}

void Db::commit()
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.isOpen())
        return;
    check(db.commit());
    m_pending = false;
    startTransaction();
}

void Db::rollback()
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.isOpen())
        return;
    check(db.rollback());
    m_pending = false;
    startTransaction();
}

void Db::savepoint(const QString &name)
{
    requireIdentifier(name);
    exec(QStringLiteral("SAVEPOINT ") + name);
}

void Db::rollbackToSavepoint(const QString &name)
{
    requireIdentifier(name);
    exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + name);
}

void Db::releaseSavepoint(const QString &name)
{
    requireIdentifier(name);
    exec(QStringLiteral("RELEASE SAVEPOINT ") + name);
}

QStringList Db::scriptStatements(const QString &script)
{
    QStringList statements;
    QString current;
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("--")))
            continue;
        if (!current.isEmpty())
            current += QLatin1Char('\n');
        if (trimmed.endsWith(QLatin1Char(';'))) {
            current += trimmed.chopped(1);
            statements << current;
            current.clear();
        } else {
            current += line;
        }
    }
    return statements;
}

void Db::createDatabase(const QString &server, const QString &path, const QString &script)
{
    const QString name = connectionString(server, path);
    const QString statement = QStringLiteral("CREATE DATABASE %1 USER 'SYSDBA' PASSWORD %2 "
                                             "PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1251")
                                  .arg(quoted(name), quoted(password()));
    const QByteArray text = statement.toUtf8();
    ISC_STATUS_ARRAY status = {};
    isc_db_handle handle = 0;
    isc_tr_handle transaction = 0;
    if (isc_dsql_execute_immediate(status, &handle, &transaction, 0, text.constData(), SQL_DIALECT_V6,
                                   nullptr))
        throw DbError(statusText(status));
    isc_detach_database(status, &handle);

    Db db;
    db.open(server, path);
    for (const QString &sql : scriptStatements(script)) {
        db.exec(sql);
        db.commit();
    }
    db.close();
}
