#include "shell/backup.h"

#include "platform/db.h"
#include "platform/desktop.h"
#include "platform/process.h"
#include "common/session.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kLog = QStringLiteral("gbak.txt");

} // namespace

QString DbBackup::defaultBackupName(const QDateTime &now)
{
    const QDate d = now.date();
    const QTime t = now.time();
    return QStringLiteral("b_%1_%2_%3_%4%5%6.fbk")
        .arg(d.day())
        .arg(d.month())
        .arg(d.year())
        .arg(t.hour())
        .arg(t.minute())
        .arg(t.second());
}

QString DbBackup::restoredPath() const
{
    return m_session.path(QStringLiteral("DB/_DB_ARCH.FDB"));
}

bool DbBackup::checkLocalFile(const QString &server, const QString &databasePath, const QString &remoteMessage)
{
    if (server.trimmed() != QLatin1String("127.0.0.1")) {
        m_desktop.info({remoteMessage});
        return false;
    }
    if (!QFileInfo(databasePath.trimmed()).isFile()) {
        m_desktop.warn({QStringLiteral("Указан адрес сервера 127.0.0.1"),
                        QStringLiteral("Файл с базой данных не обнаружен"), databasePath.trimmed()});
        return false;
    }
    return true;
}

bool DbBackup::runGbak(const QStringList &arguments, const QString &outputFile)
{
    QFile::remove(kLog);
    const QStringList args = arguments + QStringList{QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                                                     QStringLiteral("-v"), QStringLiteral("-y"), kLog};
    const int status = runTool(QStringLiteral("gbak"), args, {{QStringLiteral("ISC_USER"), QStringLiteral("SYSDBA")},
                                                            {QStringLiteral("ISC_PASSWORD"), Db::password()}});
    const bool done = status == 0 && QFileInfo::exists(outputFile);
    if (done)
        QFile::remove(kLog);
    return done;
}

void DbBackup::backup(const QString &server, const QString &databasePath)
{
    if (!checkLocalFile(server, databasePath,
                        QStringLiteral("Создание архива возможно только для локального сервера (адрес 127.0.0.1)")))
        return;
    if (!m_desktop.ask({QStringLiteral("Создать архив информационной базы")}))
        return;
    const QString file = m_desktop.saveFile(
        QStringLiteral("Архив"), QDir::current().filePath(defaultBackupName(QDateTime::currentDateTime())),
        QStringLiteral("Архив (*.fbk)"));
    if (file.isEmpty())
        return;
    if (QFileInfo::exists(file)) {
        if (!m_desktop.ask({QStringLiteral("Файл с архивом ") + file, QStringLiteral("уже существует, заменить его ?")},
                           true))
            return;
        QFile::remove(file);
    }
    if (runGbak({QStringLiteral("-b"), databasePath.trimmed(), file}, file))
        m_desktop.info({QStringLiteral("Архив создан "), file});
    else
        m_desktop.error({QStringLiteral("Ошибка создания архива "), file});
}

void DbBackup::restore(const QString &server, const QString &databasePath)
{
    if (!checkLocalFile(server, databasePath,
                        QStringLiteral("Восстановление архива возможно только для локального сервера (адрес 127.0.0.1)")))
        return;
    if (!m_desktop.ask({QStringLiteral("Восстановить архив информационной базы")}))
        return;
    const QString file =
        m_desktop.openFile(QStringLiteral("Архив"), QDir::currentPath(), QStringLiteral("Архив (*.fbk)"));
    if (file.isEmpty())
        return;
    const QString target = restoredPath();
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    if (runGbak({QStringLiteral("-c"), file, target}, target))
        m_desktop.info({QStringLiteral("Архив восстановлен из файла "), file, QStringLiteral("в файл "), target,
                        QStringLiteral("Переименуйте восстановленнй файл ") + target,
                        QStringLiteral("В файл базы данных ") + m_session.path(QStringLiteral("DB/DB1.FDB"))});
    else
        m_desktop.error({QStringLiteral("Ошибка восстановления архива "), file});
}
