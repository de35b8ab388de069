#include "platform/db.h"
#include "shell/database_setup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include <cstdio>

namespace {

int runVerb(const QString &verb, const QString &path)
{
    try {
        const QString absolute = QFileInfo(path).absoluteFilePath();
        if (verb == QLatin1String("--create-db"))
            database_setup::createMainDatabase(QStringLiteral("127.0.0.1"), absolute);
        else
            database_setup::createKladrDatabase(QStringLiteral("127.0.0.1"), absolute);
        std::printf("%s\n", qUtf8Printable(QStringLiteral("Создана база данных ") + absolute));
        return 0;
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(e.message()));
        return 1;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1) {
        // Command-line verbs need no display.
        const QCoreApplication app(argc, argv);
        const QStringList args = QCoreApplication::arguments();
        if (args.size() == 3
            && (args[1] == QLatin1String("--create-db") || args[1] == QLatin1String("--create-kladr")))
            return runVerb(args[1], args[2]);
        std::fprintf(stderr, "usage: tevo-sklad [--create-db PATH | --create-kladr PATH]\n");
        return 2;
    }

    QApplication app(argc, argv);

    const QString path = QDir::current().absoluteFilePath(QStringLiteral("DB/DB1.FDB"));
    Db db;
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("TEVO Склад"));
    try {
        db.open(QStringLiteral("127.0.0.1"), path);
        window.statusBar()->showMessage(QStringLiteral("База: ") + path);
    } catch (const DbError &e) {
        window.statusBar()->showMessage(e.message());
    }
    window.setCentralWidget(new QLabel(QStringLiteral("СКЛАД"), &window));
    window.showMaximized();
    return app.exec();
}
