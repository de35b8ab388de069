#pragma once

#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>

#include <stdexcept>

// A failure reported by the database server (or a refusal made before a
// statement is sent); message() is the text shown to the user.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};

using DbRows = QVector<QSqlRecord>;

// One connection with one open transaction. Statements run inside it until
// commit() or rollback(), after which the next transaction is already open.
// Closing (or destroying) commits: work is never silently rolled back at exit.
// Every failure throws DbError carrying the server's text.
class Db final
{
public:
    Db();
    ~Db();
    Db(const Db &) = delete;
    Db &operator=(const Db &) = delete;

    // "127.0.0.1" or "localhost" opens the file by its path on this computer
    // (the embedded engine, or the local server when one holds the file);
    // any other address opens "address:path" on that server.
    void open(const QString &server, const QString &path);
    void close();
    bool isOpen() const;
    QString databaseName() const { return m_databaseName; }

    void exec(const QString &sql);
    // A statement with one named placeholder (":name") bound to binary data,
    // for writing a blob column.
    void execWithBlob(const QString &sql, const QString &placeholder, const QByteArray &data);
    DbRows query(const QString &sql);
    // First column of the first row; invalid when there is no row.
    QVariant scalar(const QString &sql);
    double newId(const QString &generator);

    void commit();
    void rollback();
    void savepoint(const QString &name);
    void rollbackToSavepoint(const QString &name);
    void releaseSavepoint(const QString &name);

    static bool isLocalServer(const QString &server);
    static QString connectionString(const QString &server, const QString &path);
    // SYSDBA's password: ISC_PASSWORD from the environment, else the built-in one.
    static QString password();

    // Creates an empty WIN1251 database file (or, with a server address, a
    // database on that server) and runs the script in it, committing each statement.
    static void createDatabase(const QString &server, const QString &path, const QString &script);
    // Splits a script into statements: each ends with ";" at the end of a line,
    // lines starting with "--" are comments.
    static QStringList scriptStatements(const QString &script);

private:
    void startTransaction();
    void check(bool ok) const;

    QString m_connectionName;
    QString m_databaseName;
    bool m_pending = false; // statements run since the last commit or rollback
};
