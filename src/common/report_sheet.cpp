#include "common/report_sheet.h"

#include "platform/desktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kAlreadyOpen = QStringLiteral("Форма уже открыта, закройте ее");

// The lock file the spreadsheet program keeps beside a document it has open.
QString lockFileOf(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().filePath(QStringLiteral(".~lock.") + info.fileName() + QLatin1Char('#'));
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

// The global generator is seeded by the system once; drawing from it gives
// what reseeding from the clock each time was meant to give.
QString GetNameXLS(const QString &folder, const QString &prefix, QRandomGenerator *random)
{
    const QDir dir(folder);
    for (;;) {
        QString name;
        for (int i = 0; i < 3; ++i)
            name += QString::number(random->bounded(200));
        name += QStringLiteral("012");
        const QString path = dir.filePath(prefix + name + QStringLiteral(".xlsx"));
        if (!QFileInfo::exists(path) && !QFileInfo::exists(lockFileOf(path)))
            return name;
    }
}

bool FCopyFile(const QString &source, const QString &target)
{
    if (!QFileInfo(source).isFile())
        throw XlsxError(QStringLiteral("Не найден шаблон %1").arg(shown(source)));
    // On this system an open file can be deleted, so the lock file is what tells.
    if (QFileInfo::exists(lockFileOf(target)))
        return false;
    if (QFileInfo::exists(target))
        QFile::remove(target);
    if (QFileInfo::exists(target))
        return false;
    QFile::copy(source, target);
    if (!QFileInfo::exists(target))
        throw XlsxError(
            QStringLiteral("Не удалось скопировать шаблон %1 в %2").arg(shown(source), shown(target)));
    // A read-only template gives a read-only copy, which could not be filled.
    QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner | QFile::ReadOwner);
    return true;
}

bool FSaveExcel(Desktop &desktop, XlsxBook &book)
{
    try {
        book.save();
        return true;
    } catch (const XlsxError &e) {
        desktop.error({e.message()});
        return false;
    }
}

ReportSheet::ReportSheet(Desktop &desktop, const QString &workDir) : m_desktop(desktop), m_workDir(workDir) {}

ReportSheet::~ReportSheet() = default;

QString ReportSheet::templateFolder(const QString &workDir)
{
    return QDir(workDir).filePath(QStringLiteral("FORM_EXCEL"));
}

QString ReportSheet::copyFolder(const QString &workDir)
{
    return QDir(workDir).filePath(QStringLiteral("TMP_XLS"));
}

bool ReportSheet::open(const QString &templateName, const QString &prefix)
{
    const QString folder = copyFolder(m_workDir);
    QDir().mkpath(folder);
    const QString name = prefix + GetNameXLS(folder, prefix) + QStringLiteral(".xlsx");
    return openCopy(templateName, QDir(folder).filePath(name));
}

bool ReportSheet::openCopy(const QString &templateName, const QString &copyPath)
{
    m_book.reset();
    m_path.clear();
    try {
        if (!FCopyFile(QDir(templateFolder(m_workDir)).filePath(templateName), copyPath)) {
            m_desktop.error({kAlreadyOpen});
            return false;
        }
        m_book = std::make_unique<XlsxBook>(copyPath);
    } catch (const XlsxError &e) {
        m_desktop.error({e.message()});
        return false;
    }
    m_path = copyPath;
    return true;
}

XlsxBook &ReportSheet::book()
{
    Q_ASSERT(m_book);
    return *m_book;
}

bool ReportSheet::show()
{
    if (!FSaveExcel(m_desktop, book()))
        return false;
    if (!m_desktop.openDocument(m_path)) {
        m_desktop.error({QStringLiteral("Не удалось открыть файл %1").arg(shown(m_path))});
        return false;
    }
    return true;
}
