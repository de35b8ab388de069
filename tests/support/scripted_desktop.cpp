#include "scripted_desktop.h"

#include <QTest>

namespace {

QString joined(const QStringList &lines)
{
    return lines.join(QLatin1Char('\n'));
}

} // namespace

ScriptedDesktop::~ScriptedDesktop()
{
    if (!m_answers.isEmpty() || !m_files.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("%1 queued answers and %2 file answers were never asked for")
                                    .arg(m_answers.size())
                                    .arg(m_files.size())),
                     __FILE__, __LINE__);
}

QStringList ScriptedDesktop::texts() const
{
    QStringList result;
    for (const Message &m : m_messages)
        result << m.text;
    return result;
}

void ScriptedDesktop::info(const QStringList &lines)
{
    m_messages.append({Kind::Info, joined(lines)});
}

void ScriptedDesktop::warn(const QStringList &lines)
{
    m_messages.append({Kind::Warning, joined(lines)});
}

void ScriptedDesktop::error(const QStringList &lines)
{
    m_messages.append({Kind::Error, joined(lines)});
}

bool ScriptedDesktop::ask(const QStringList &lines, bool)
{
    m_messages.append({Kind::Question, joined(lines)});
    if (m_answers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + joined(lines)), __FILE__, __LINE__);
        return false;
    }
    return m_answers.dequeue();
}

QString ScriptedDesktop::nextFile(const QString &caption)
{
    if (m_files.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected file dialog: ") + caption), __FILE__, __LINE__);
        return {};
    }
    return m_files.dequeue();
}

QString ScriptedDesktop::openFile(const QString &caption, const QString &, const QString &)
{
    return nextFile(caption);
}

QString ScriptedDesktop::saveFile(const QString &caption, const QString &, const QString &)
{
    return nextFile(caption);
}

QString ScriptedDesktop::chooseFolder(const QString &caption, const QString &)
{
    return nextFile(caption);
}

bool ScriptedDesktop::startProgram(const QString &program, const QStringList &arguments, bool, bool)
{
    m_started << (arguments.isEmpty() ? program : program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')));
    return true;
}

bool ScriptedDesktop::openDocument(const QString &path)
{
    m_opened << path;
    return true;
}

void ScriptedDesktop::copyPicture(const QImage &picture)
{
    m_clipboard = picture;
}
