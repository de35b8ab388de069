#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Everything the program asks of the desktop: messages, questions, file
// dialogs, other programs, documents and the clipboard. Screens use only this,
// so tests answer through a scripted implementation.
class Desktop
{
public:
    virtual ~Desktop() = default;

    // Lines are joined with line breaks in one message box.
    virtual void info(const QStringList &lines) = 0;
    virtual void warn(const QStringList &lines) = 0;
    virtual void error(const QStringList &lines) = 0;
    // Yes/No question; true on "Да". A warning sign when warning is set.
    virtual bool ask(const QStringList &lines, bool warning = false) = 0;

    // File dialogs return an empty path when cancelled; the current folder
    // is the same afterwards as before.
    virtual QString openFile(const QString &caption, const QString &folder, const QString &filter) = 0;
    virtual QString saveFile(const QString &caption, const QString &path, const QString &filter) = 0;
    virtual QString chooseFolder(const QString &caption, const QString &folder) = 0;

    // Starts a program; with wait, returns once it has ended. False when it could not start.
    virtual bool startProgram(const QString &program, const QStringList &arguments, bool wait,
                              bool elevated = false) = 0;
    // Opens a document with the user's default program for its kind.
    virtual bool openDocument(const QString &path) = 0;
    virtual void copyPicture(const QImage &picture) = 0;
};

// The real desktop, on Qt's message boxes, dialogs and services.
class QtDesktop final : public Desktop
{
public:
    void info(const QStringList &lines) override;
    void warn(const QStringList &lines) override;
    void error(const QStringList &lines) override;
    bool ask(const QStringList &lines, bool warning = false) override;
    QString openFile(const QString &caption, const QString &folder, const QString &filter) override;
    QString saveFile(const QString &caption, const QString &path, const QString &filter) override;
    QString chooseFolder(const QString &caption, const QString &folder) override;
    bool startProgram(const QString &program, const QStringList &arguments, bool wait,
                      bool elevated = false) override;
    bool openDocument(const QString &path) override;
    void copyPicture(const QImage &picture) override;
};
