#include "platform/desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QString kTitle = QStringLiteral("TEVO Склад");

void showMessage(QMessageBox::Icon icon, const QStringList &lines)
{
    QMessageBox box(icon, kTitle, lines.join(QLatin1Char('\n')), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

// File dialogs may change the current folder; paths of the program are built
// from it, so it is put back.
class CurrentFolderKeeper final
{
public:
    CurrentFolderKeeper() : m_folder(QDir::currentPath()) {}
    ~CurrentFolderKeeper() { QDir::setCurrent(m_folder); }

private:
    QString m_folder;
};

} // namespace

void QtDesktop::info(const QStringList &lines)
{
    showMessage(QMessageBox::Information, lines);
}

void QtDesktop::warn(const QStringList &lines)
{
    showMessage(QMessageBox::Warning, lines);
}

void QtDesktop::error(const QStringList &lines)
{
    showMessage(QMessageBox::Critical, lines);
}

bool QtDesktop::ask(const QStringList &lines, bool warning)
{
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question, kTitle,
                    lines.join(QLatin1Char('\n')), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString QtDesktop::openFile(const QString &caption, const QString &folder, const QString &filter)
{
    const CurrentFolderKeeper keeper;
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, folder, filter);
}

QString QtDesktop::saveFile(const QString &caption, const QString &path, const QString &filter)
{
    const CurrentFolderKeeper keeper;
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, path, filter);
}

QString QtDesktop::chooseFolder(const QString &caption, const QString &folder)
{
    const CurrentFolderKeeper keeper;
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), caption, folder);
}

bool QtDesktop::startProgram(const QString &program, const QStringList &arguments, bool wait,
                             bool elevated)
{
    QString executable = program;
    QStringList args = arguments;
    // On this system the elevation prompt is pkexec's; without it the program runs as the user.
    if (elevated) {
        const QString pkexec = QStandardPaths::findExecutable(QStringLiteral("pkexec"));
        if (!pkexec.isEmpty()) {
            args.prepend(program);
            executable = pkexec;
        }
    }
    if (wait)
        return QProcess::execute(executable, args) >= 0;
    return QProcess::startDetached(executable, args);
}

bool QtDesktop::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtDesktop::copyPicture(const QImage &picture)
{
    QApplication::clipboard()->setImage(picture);
}
