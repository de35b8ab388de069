#pragma once

#include <QDateTime>
#include <QString>

class Desktop;
struct Session;

// "Архив" and "Восстановить" of the login screen: the server's backup tool
// run on a database of this computer. A run counts as done only when the tool
// ends with status 0 and its output file exists; otherwise its log "gbak.txt"
// stays in the current folder.
class DbBackup final
{
public:
    DbBackup(const Session &session, Desktop &desktop) : m_session(session), m_desktop(desktop) {}

    void backup(const QString &server, const QString &databasePath);
    void restore(const QString &server, const QString &databasePath);

    static QString defaultBackupName(const QDateTime &now);
    QString restoredPath() const;

private:
    bool checkLocalFile(const QString &server, const QString &databasePath, const QString &remoteMessage);
    bool runGbak(const QStringList &arguments, const QString &outputFile);

    const Session &m_session;
    Desktop &m_desktop;
};
