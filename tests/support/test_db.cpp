#include "test_db.h"

#include "shell/database_setup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString TestDb::templatePath()
{
    const QString path = QStringLiteral(TEVO_TEMPLATE_DB);
    if (!QFileInfo::exists(path)) {
        // Run outside CTest: build it here, under a temporary name, so that
        // a parallel test never copies a half-made file.
        const QString partial = path + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
        database_setup::createMainDatabase(QStringLiteral("127.0.0.1"), partial);
        QFile::rename(partial, path);
        QFile::remove(partial);
    }
    return path;
}

TestDb::TestDb() : m_path(m_dir.filePath(QStringLiteral("DB1.FDB")))
{
    if (!QFile::copy(templatePath(), m_path))
        throw DbError(QStringLiteral("Не удалось скопировать тестовую базу в ") + m_path);
    QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_db.open(QStringLiteral("127.0.0.1"), m_path);
}

std::unique_ptr<Db> TestDb::openSecond() const
{
    auto second = std::make_unique<Db>();
    second->open(QStringLiteral("127.0.0.1"), m_path);
    return second;
}
