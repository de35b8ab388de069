#pragma once

#include <QString>

class Db;
class Desktop;

// True when the table has the column (names compared upper-cased).
bool FFindPole(Db &db, const QString &table, const QString &column);
bool generatorExists(Db &db, const QString &name);

// Brings an older database up to the program's schema. Every addition is
// tested on its own and each statement is committed by itself, so a run that
// failed half-way is completed by the next one. Throws DbError on failure.
void FControlVers(Db &db, Desktop &desktop);
