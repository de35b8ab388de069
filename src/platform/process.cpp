#include "platform/process.h"

#include <QProcess>
#include <QProcessEnvironment>

int runTool(const QString &program, const QStringList &arguments,
            const std::vector<std::pair<QString, QString>> &extraEnvironment)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : extraEnvironment)
        environment.insert(name, value);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted())
        return -1;
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
