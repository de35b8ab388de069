#pragma once

#include "platform/db.h"

#include <QTemporaryDir>

#include <memory>

// A fresh database for one test: a copy of the database built once per run
// from the schema, opened on the embedded engine.
class TestDb final
{
public:
    TestDb();
    Db &db() { return m_db; }
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }
    // Another connection to the same file, as a second workstation would have.
    std::unique_ptr<Db> openSecond() const;

    static QString templatePath();

private:
    QTemporaryDir m_dir;
    QString m_path;
    Db m_db;
};
