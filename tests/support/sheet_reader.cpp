#include "sheet_reader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>

namespace sheet_reader {

namespace {

const char *const kPreamble = R"(import json, sys, zipfile
import openpyxl
def out(value):
    print(json.dumps(value, default=str, ensure_ascii=False))
)";

} // namespace

QJsonValue run(const QString &script, const QStringList &arguments)
{
    QProcess python;
    python.setProgram(QStringLiteral("/usr/bin/python3"));
    python.setArguments(QStringList{QStringLiteral("-c"), QString::fromUtf8(kPreamble) + script} + arguments);
    python.start();
    const bool finished = python.waitForFinished(60000);
    const QByteArray output = python.readAllStandardOutput();
    const QByteArray errors = python.readAllStandardError();
    if (!finished || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("python failed: ") + QString::fromUtf8(errors)), __FILE__,
                     __LINE__);
        return {};
    }
    const QList<QByteArray> lines = output.trimmed().split('\n');
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson("[" + lines.last() + "]", &error);
    if (error.error != QJsonParseError::NoError) {
        QTest::qFail(qPrintable(QStringLiteral("python printed no JSON: ") + QString::fromUtf8(output)),
                     __FILE__, __LINE__);
        return {};
    }
    return doc.array().at(0);
}

} // namespace sheet_reader
