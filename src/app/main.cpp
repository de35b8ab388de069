#include "platform/db.h"
#include "platform/desktop.h"
#include "shell/database_setup.h"
#include "shell/main_form.h"
#include "common/session.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

void printUsage()
{
    std::fprintf(stderr, "usage: tevo-sklad [--create-db PATH [--developer-password PASSWORD] | "
                         "--create-kladr PATH]\n");
}

int runVerb(const QStringList &args)
{
    const QString verb = args.value(1);
    const QString path = QFileInfo(args.value(2)).absoluteFilePath();
    const bool developer = args.size() == 5 && args[3] == QLatin1String("--developer-password");
    if (args.size() != 3 && !developer) {
        printUsage();
        return 2;
    }
    try {
        if (verb == QLatin1String("--create-db")) {
            database_setup::createMainDatabase(QStringLiteral("127.0.0.1"), path);
            if (developer)
                database_setup::addDeveloper(QStringLiteral("127.0.0.1"), path, args[4]);
        } else if (verb == QLatin1String("--create-kladr") && !developer) {
            database_setup::createKladrDatabase(QStringLiteral("127.0.0.1"), path);
        } else {
            printUsage();
            return 2;
        }
        std::printf("%s\n", qUtf8Printable(QStringLiteral("Создана база данных ") + path));
        return 0;
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(e.message()));
        return 1;
    }
}

// The scratch folder of filled spreadsheets starts every run empty;
// files still open elsewhere stay.
void clearScratchFolder(const QString &folder)
{
    QDir().mkpath(folder);
    QDir dir(folder);
    for (const QString &file : dir.entryList(QDir::Files | QDir::Hidden))
        dir.remove(file);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1) {
        // Command-line verbs need no display.
        const QCoreApplication app(argc, argv);
        return runVerb(QCoreApplication::arguments());
    }

    QApplication app(argc, argv);
    Session session;
    session.WorkDir = QDir::currentPath();
    session.fillNameTables();
    clearScratchFolder(session.path(QStringLiteral("TMP_XLS")));

    Db db;
    QtDesktop desktop;
    MainForm window(session, db, desktop);
    window.showMaximized();
    return app.exec();
}
