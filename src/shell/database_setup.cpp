#include "shell/database_setup.h"

#include "platform/db.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace database_setup {
namespace {

QString resourceText(const QString &name)
{
    QFile file(QStringLiteral(":/db/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Не найден сценарий базы данных ") + name);
    return QString::fromUtf8(file.readAll());
}

void create(const QString &server, const QString &path, const QString &script)
{
    if (Db::isLocalServer(server)) {
        const QFileInfo info(path);
        if (info.exists())
            throw DbError(QStringLiteral("Файл базы данных уже существует: ") + path);
        QDir().mkpath(info.absolutePath());
    }
    Db::createDatabase(server, path, script);
}

} // namespace

QString mainSchema()
{
    return resourceText(QStringLiteral("schema.sql"));
}

QString kladrSchema()
{
    return resourceText(QStringLiteral("kladr.sql"));
}

void createMainDatabase(const QString &server, const QString &path)
{
    create(server, path, mainSchema());
}

void createKladrDatabase(const QString &server, const QString &path)
{
    create(server, path, kladrSchema());
}

} // namespace database_setup
