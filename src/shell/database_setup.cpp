#include "shell/database_setup.h"

#include "common/sql_literals.h"
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

void addDeveloper(const QString &server, const QString &path, const QString &password)
{
    Db db;
    db.open(server, path);
    const double id = db.newId(QStringLiteral("deti"));
    db.exec(QStringLiteral("insert into userp (id,login,passw,fam,im,ot,uroven) values (%1,%2,%3,'','','',0)")
                .arg(sqlId(id), sqlText(QStringLiteral("qxwzmpjvt")), sqlText(password)));
    db.close();
}

} // namespace database_setup
