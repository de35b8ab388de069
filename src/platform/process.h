#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// Runs a command-line tool of this computer and waits for it. Returns its exit
// status, or -1 when it could not be started. extraEnvironment is added to the
// program's own environment (secrets go there, never on the command line).
int runTool(const QString &program, const QStringList &arguments,
            const std::vector<std::pair<QString, QString>> &extraEnvironment = {});
