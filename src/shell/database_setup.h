#pragma once

#include <QString>

// Creates the program's databases from the scripts built into it.
namespace database_setup {

QString mainSchema();
QString kladrSchema();

// Throws DbError; an existing file is never overwritten.
void createMainDatabase(const QString &server, const QString &path);
void createKladrDatabase(const QString &server, const QString &path);

// The developer's account (level 0, login qxwzmpjvt) with the given password.
void addDeveloper(const QString &server, const QString &path, const QString &password);

} // namespace database_setup
