#pragma once

#include <QString>

// Creates the program's databases from the scripts built into it.
namespace database_setup {

QString mainSchema();
QString kladrSchema();

// Throws DbError; an existing file is never overwritten.
void createMainDatabase(const QString &server, const QString &path);
void createKladrDatabase(const QString &server, const QString &path);

} // namespace database_setup
