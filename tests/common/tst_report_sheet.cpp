#include "common/report_sheet.h"
#include "scripted_desktop.h"
#include "sheet_reader.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TstReportSheet : public QObject
{
    Q_OBJECT

private slots:
    void generatedName();
    void generatedNameSkipsExisting_data();
    void generatedNameSkipsExisting();
    void copyFile_data();
    void copyFile();
    void copyLandsInTmpWithPrefix();
    void openCopyStillOpen();
    void missingTemplate();
    void filledCopyIsSavedAndShown();
    void unwritableCopyIsReported();
};

namespace {

const QString kAlreadyOpen = QStringLiteral("Форма уже открыта, закройте ее");

// A working folder with FORM_EXCEL holding the templates the build made.
class WorkDir final
{
public:
    WorkDir()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("FORM_EXCEL"));
        QFile::copy(source(), templatePath());
    }
    QString path() const { return m_dir.path(); }
    QString templatePath() const
    {
        return ReportSheet::templateFolder(path()) + QStringLiteral("/test.xlsx");
    }
    QString tmp() const { return ReportSheet::copyFolder(path()); }
    QStringList copies() const
    {
        return QDir(tmp()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    static QString source() { return QStringLiteral(TEVO_FORMS_DIR "/test.xlsx"); }

private:
    QTemporaryDir m_dir;
};

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QString lockFileOf(const QString &folder, const QString &name)
{
    return QDir(folder).filePath(QStringLiteral(".~lock.") + name + QLatin1Char('#'));
}

} // namespace

void TstReportSheet::generatedName()
{
    QTemporaryDir dir;
    static const QRegularExpression shape(QStringLiteral("^(\\d{1,3})(\\d{1,3})?(\\d{1,3})?012$"));
    QSet<QString> seen;
    for (int i = 0; i < 200; ++i) {
        const QString name = GetNameXLS(dir.path(), QStringLiteral("J"));
        QVERIFY2(shape.match(name).hasMatch(), qPrintable(name));
        QVERIFY(name.size() >= 6 && name.size() <= 12);
        seen.insert(name);
    }
    // Names made one right after another differ.
    QVERIFY(seen.size() > 190);
}

void TstReportSheet::generatedNameSkipsExisting_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("lockOnly");
    QTest::newRow("copy exists") << QStringLiteral("P") << false;
    QTest::newRow("only the lock file is left") << QStringLiteral("kn") << true;
    QTest::newRow("no prefix") << QString() << false;
}

void TstReportSheet::generatedNameSkipsExisting()
{
    QFETCH(QString, prefix);
    QFETCH(bool, lockOnly);
    QTemporaryDir dir;
    QRandomGenerator first(12345);
    const QString taken = GetNameXLS(dir.path(), prefix, &first);
    const QString takenFile = prefix + taken + QStringLiteral(".xlsx");
    write(lockOnly ? lockFileOf(dir.path(), takenFile) : dir.filePath(takenFile), "open elsewhere");
    QRandomGenerator same(12345);
    const QString next = GetNameXLS(dir.path(), prefix, &same);
    QVERIFY(next != taken);
    QVERIFY(!QFile::exists(dir.filePath(prefix + next + QStringLiteral(".xlsx"))));
    // With another prefix the name is free.
    QRandomGenerator again(12345);
    QCOMPARE(GetNameXLS(dir.path(), prefix + QStringLiteral("x"), &again), taken);
}

void TstReportSheet::copyFile_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<bool>("copied");
    QTest::newRow("no previous copy") << "none" << true;
    QTest::newRow("previous copy closed") << "closed" << true;
    QTest::newRow("previous copy open: lock file beside it") << "locked" << false;
    QTest::newRow("previous copy cannot be removed") << "stuck" << false;
}

void TstReportSheet::copyFile()
{
    QFETCH(QString, situation);
    QFETCH(bool, copied);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("J1234012.xlsx"));
    if (situation != QLatin1String("none") && situation != QLatin1String("stuck"))
        write(target, "previous copy");
    if (situation == QLatin1String("locked"))
        write(lockFileOf(dir.path(), QStringLiteral("J1234012.xlsx")), "user,host");
    if (situation == QLatin1String("stuck"))
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("J1234012.xlsx/held")));
    QCOMPARE(FCopyFile(WorkDir::source(), target), copied);
    if (copied)
        QCOMPARE(contents(target), contents(WorkDir::source()));
    else if (situation == QLatin1String("locked"))
        QCOMPARE(contents(target), QByteArray("previous copy"));
}

void TstReportSheet::copyLandsInTmpWithPrefix()
{
    WorkDir work;
    ScriptedDesktop desktop;
    ReportSheet sheet(desktop, work.path());
    QVERIFY(sheet.open(QStringLiteral("test.xlsx"), QStringLiteral("J")));
    const QFileInfo info(sheet.path());
    QCOMPARE(info.absolutePath(), QFileInfo(work.tmp()).absoluteFilePath());
    QVERIFY2(QRegularExpression(QStringLiteral("^J\\d{4,9}012\\.xlsx$")).match(info.fileName()).hasMatch(),
             qPrintable(info.fileName()));
    QCOMPARE(work.copies(), QStringList{info.fileName()});
    QCOMPARE(sheet.sheet(1).value(QStringLiteral("A1")), QVariant(QStringLiteral("Тестовый отчёт")));
    QCOMPARE(contents(work.templatePath()), contents(WorkDir::source()));
    QVERIFY(desktop.messages().isEmpty());
}

void TstReportSheet::openCopyStillOpen()
{
    WorkDir work;
    QDir().mkpath(work.tmp());
    const QString copy = QDir(work.tmp()).filePath(QStringLiteral("P77012.xlsx"));
    write(lockFileOf(work.tmp(), QStringLiteral("P77012.xlsx")), "user,host");
    ScriptedDesktop desktop;
    ReportSheet sheet(desktop, work.path());
    QVERIFY(!sheet.openCopy(QStringLiteral("test.xlsx"), copy));
    QCOMPARE(desktop.texts(), QStringList{kAlreadyOpen});
    QCOMPARE(desktop.messages().first().kind, ScriptedDesktop::Kind::Error);
    QVERIFY(!QFile::exists(copy));
    QCOMPARE(work.copies(), QStringList{QStringLiteral(".~lock.P77012.xlsx#")});
}

void TstReportSheet::missingTemplate()
{
    WorkDir work;
    ScriptedDesktop desktop;
    ReportSheet sheet(desktop, work.path());
    QVERIFY(!sheet.open(QStringLiteral("накладная.xlsx"), QStringLiteral("kn")));
    QCOMPARE(desktop.messages().size(), 1);
    QCOMPARE(desktop.messages().first().kind, ScriptedDesktop::Kind::Error);
    const QString expected = QDir::toNativeSeparators(
        QDir(ReportSheet::templateFolder(work.path())).filePath(QStringLiteral("накладная.xlsx")));
    QVERIFY2(desktop.lastText().contains(expected), qPrintable(desktop.lastText()));
    QCOMPARE(work.copies(), QStringList());
    QVERIFY(desktop.openedDocuments().isEmpty());
}

void TstReportSheet::filledCopyIsSavedAndShown()
{
    WorkDir work;
    ScriptedDesktop desktop;
    ReportSheet sheet(desktop, work.path());
    QVERIFY(sheet.open(QStringLiteral("test.xlsx"), QStringLiteral("S")));
    sheet.sheet(1).setRowValues(4, 1, {1, QStringLiteral("Мука пшеничная"), 2, 45.5});
    sheet.sheet(1).setValue(QStringLiteral("B2"), QDate(2024, 5, 17));
    QVERIFY(sheet.show());
    QVERIFY(desktop.messages().isEmpty());
    QCOMPARE(desktop.openedDocuments(), QStringList{sheet.path()});
    const QJsonObject seen = sheet_reader::run(QStringLiteral(R"(
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
out({"b4": ws["B4"].value, "d4": ws["D4"].value, "b2": ws["B2"].value, "e4": ws["E4"].value})
)"),
                                               {sheet.path()})
                                 .toObject();
    QCOMPARE(seen.value(QStringLiteral("b4")).toString(), QStringLiteral("Мука пшеничная"));
    QCOMPARE(seen.value(QStringLiteral("d4")).toDouble(), 45.5);
    QCOMPARE(seen.value(QStringLiteral("b2")).toString(), QStringLiteral("2024-05-17 00:00:00"));
    QCOMPARE(seen.value(QStringLiteral("e4")).toString(), QStringLiteral("=C4*D4"));
    QCOMPARE(contents(work.templatePath()), contents(WorkDir::source()));
}

void TstReportSheet::unwritableCopyIsReported()
{
    WorkDir work;
    ScriptedDesktop desktop;
    ReportSheet sheet(desktop, work.path());
    QVERIFY(sheet.open(QStringLiteral("test.xlsx"), QStringLiteral("C")));
    sheet.sheet(1).setValue(4, 2, QStringLiteral("не будет сохранено"));
    // The copy's folder disappears under it, so nothing can be written there.
    QVERIFY(QDir(work.tmp()).removeRecursively());
    QVERIFY(!sheet.show());
    QCOMPARE(desktop.messages().size(), 1);
    QCOMPARE(desktop.messages().first().kind, ScriptedDesktop::Kind::Error);
    QVERIFY2(desktop.lastText().contains(QDir::toNativeSeparators(sheet.path())),
             qPrintable(desktop.lastText()));
    QVERIFY(desktop.openedDocuments().isEmpty());
    QVERIFY(!QFile::exists(sheet.path()));
}

QTEST_GUILESS_MAIN(TstReportSheet)
#include "tst_report_sheet.moc"
