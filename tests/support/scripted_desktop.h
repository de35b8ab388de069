#pragma once

#include "platform/desktop.h"

#include <QList>
#include <QQueue>

// The desktop of a test: questions and file dialogs take the answers the test
// queued, in order; every message is recorded. An unexpected question, or an
// answer left unused when the desktop is destroyed, fails the test.
class ScriptedDesktop final : public Desktop
{
public:
    enum class Kind { Info, Warning, Error, Question };
    struct Message
    {
        Kind kind;
        QString text;
    };

    ~ScriptedDesktop() override;

    void answer(bool yes) { m_answers.enqueue(yes); }
    // The path an open, save or folder dialog returns; empty means cancelled.
    void answerFile(const QString &path) { m_files.enqueue(path); }

    const QList<Message> &messages() const { return m_messages; }
    QStringList texts() const;
    QString lastText() const { return m_messages.isEmpty() ? QString() : m_messages.last().text; }
    const QStringList &startedPrograms() const { return m_started; }
    const QStringList &openedDocuments() const { return m_opened; }
    QImage clipboard() const { return m_clipboard; }
    void clear() { m_messages.clear(); }

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

private:
    QString nextFile(const QString &caption);

    QQueue<bool> m_answers;
    QQueue<QString> m_files;
    QList<Message> m_messages;
    QStringList m_started;
    QStringList m_opened;
    QImage m_clipboard;
};
