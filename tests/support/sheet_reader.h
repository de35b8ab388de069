#pragma once

#include <QJsonValue>
#include <QStringList>

// Reads workbooks back with an independent reader (openpyxl of the system's
// Python) so tests do not only check our writer against our own reader.
// The script sees the arguments in sys.argv[1:], has json, openpyxl and
// out(value), which prints the value as JSON; the last printed line is parsed.
// A failing script fails the test.
namespace sheet_reader {

QJsonValue run(const QString &script, const QStringList &arguments);

} // namespace sheet_reader
