#include "common/screen_registry.h"
#include "common/session.h"
#include "scripted_desktop.h"
#include "shell/filesaveload.h"
#include "shell/vvodstroka.h"
#include "test_db.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

// Attached files: the size limit, adding with its commit, opening, saving and deleting.
class TstFileSaveLoad : public QObject
{
    Q_OBJECT

private slots:
    void sizeRule_data();
    void sizeRule();
    void addOpenSaveRoundTrip_data();
    void addOpenSaveRoundTrip();
    void noteCancelledAddsNothing();
    void unreadableFileWritesNothing();
    void deleteAsksWithNote_data();
    void deleteAsksWithNote();
    void readOnlyLevels_data();
    void readOnlyLevels();
};

namespace {

constexpr qint64 kMb = 1048576;

struct Fixture
{
    explicit Fixture(int level = 1)
    {
        session.WorkDir = t.folder();
        session.AccessLevel = level;
    }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        QDir(t.folder()).mkpath(QStringLiteral("in"));
        const QString path = t.folder() + QStringLiteral("/in/") + name;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
        return path;
    }

    static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TestDb t;
    Session session;
    ScriptedDesktop desktop;
    ScreenRegistry screens;
    AppContext ctx{session, t.db(), desktop, screens};
};

void answerNote(FileSaveLoad &screen, const QString &note)
{
    screen.setNoteRunner([note](VvodStroka &dialog) {
        QCOMPARE(dialog.field()->text(), QString()); // emptied before asking
        dialog.field()->setText(note);
        dialog.confirm();
    });
}

} // namespace

void TstFileSaveLoad::sizeRule_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("size");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty file") << qint64(0) << QStringLiteral("0.00") << true;
    QTest::newRow("small") << qint64(123456) << QStringLiteral("0.12") << true;
    QTest::newRow("exactly 15 MB") << 15 * kMb << QStringLiteral("15.00") << true;
    QTest::newRow("rounds down to 15.00") << 15 * kMb + 5242 << QStringLiteral("15.00") << true;
    QTest::newRow("rounds up to 15.01") << 15 * kMb + 5243 << QStringLiteral("15.01") << false;
    QTest::newRow("15.01 MB") << qint64(15.01 * kMb) << QStringLiteral("15.01") << false;
    QTest::newRow("20 MB") << 20 * kMb << QStringLiteral("20.00") << false;
}

void TstFileSaveLoad::sizeRule()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, size);
    QFETCH(bool, accepted);
    const double mb = FileSaveLoad::sizeMb(bytes);
    QCOMPARE(FileSaveLoad::sizeText(mb), size);
    const QString refusal = FileSaveLoad::sizeRefusal(mb, QStringLiteral("C:/big.zip"));
    if (accepted) {
        QCOMPARE(refusal, QString());
    } else {
        QCOMPARE(refusal,
                 QStringLiteral("Размер загружаемого файла ") + size +
                     QStringLiteral(" Мб превышает максимально допустимый размер (15 Мб)\nC:/big.zip"));
    }
}

void TstFileSaveLoad::addOpenSaveRoundTrip_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("employee") << 1;
    QTest::newRow("candidate") << 2;
}

void TstFileSaveLoad::addOpenSaveRoundTrip()
{
    QFETCH(int, mode);
    Fixture f;
    QByteArray bytes(300000, '\0');
    QRandomGenerator generator(42);
    for (char &b : bytes)
        b = char(generator.bounded(256));
    bytes[10] = '\0';
    const QString source = f.writeFile(QStringLiteral("Договор О'Нил.pdf"), bytes);

    FileSaveLoad screen(f.ctx);
    screen.setOwner(mode, 77);
    screen.load();
    QCOMPARE(screen.rowCount(), 0);
    answerNote(screen, QStringLiteral("  скан д'оговора "));
    f.desktop.answerFile(source);
    screen.addFile();
    QCOMPARE(f.desktop.texts(), QStringList{});
    QCOMPARE(screen.rowCount(), 1);
    const double id = screen.currentId();
    QVERIFY(id > 2000);

    // Committed with its bytes: another workstation reads the whole row.
    f.t.db().rollback();
    const auto other = f.t.openSecond();
    const QSqlRecord row =
        other->query(QStringLiteral("select * from filearchiv where id=%1").arg(qint64(id))).value(0);
    QCOMPARE(row.value(QStringLiteral("idkart")).toDouble(), mode == 1 ? 77.0 : 0.0);
    QCOMPARE(row.value(QStringLiteral("idkand")).toDouble(), mode == 2 ? 77.0 : 0.0);
    QCOMPARE(row.value(QStringLiteral("filename")).toString(), QStringLiteral("Договор О'Нил.pdf"));
    QCOMPARE(row.value(QStringLiteral("note")).toString(), QStringLiteral("скан д'оговора"));
    QCOMPARE(row.value(QStringLiteral("fsize")).toString(), QStringLiteral("0.29 Мб"));
    QCOMPARE(row.value(QStringLiteral("POLETEXT")).toByteArray(), bytes);

    // The other owner kind does not list it.
    FileSaveLoad others(f.ctx);
    others.setOwner(3 - mode, 77);
    others.load();
    QCOMPARE(others.rowCount(), 0);

    screen.openFile();
    const QString opened = f.t.folder() + QStringLiteral("/TMP_XLS/Договор О'Нил.pdf");
    QCOMPARE(f.desktop.openedDocuments(), QStringList{opened});
    QCOMPARE(Fixture::readAll(opened), bytes);

    const QString saved = f.t.folder() + QStringLiteral("/copy.pdf");
    f.desktop.answerFile(saved);
    screen.saveFile();
    QCOMPARE(Fixture::readAll(saved), bytes);
    QCOMPARE(f.desktop.lastText(), QStringLiteral("Файл сохранен\n") + saved);
    QCOMPARE(f.desktop.messages().last().kind, ScriptedDesktop::Kind::Info);
}

void TstFileSaveLoad::noteCancelledAddsNothing()
{
    Fixture f;
    const QString source = f.writeFile(QStringLiteral("a.txt"), "abc");
    FileSaveLoad screen(f.ctx);
    screen.setOwner(1, 5);
    screen.setNoteRunner([](VvodStroka &dialog) { dialog.reject(); });
    f.desktop.answerFile(source);
    screen.addFile();
    QCOMPARE(f.t.db().scalar(QStringLiteral("select count(*) from filearchiv")).toInt(), 0);
    QCOMPARE(f.t.db().scalar(QStringLiteral("select GEN_ID(deti,0) from RDB$DATABASE")).toDouble(), 2000.0);
}

void TstFileSaveLoad::unreadableFileWritesNothing()
{
    Fixture f;
    FileSaveLoad screen(f.ctx);
    screen.setOwner(1, 5);
    screen.setNoteRunner([](VvodStroka &) { QFAIL("no note is asked for a file that cannot be read"); });
    f.desktop.answerFile(f.t.folder() + QStringLiteral("/missing.doc"));
    screen.addFile();
    QCOMPARE(f.desktop.messages().size(), 1);
    QCOMPARE(f.desktop.messages().first().kind, ScriptedDesktop::Kind::Error);
    QCOMPARE(f.t.db().scalar(QStringLiteral("select count(*) from filearchiv")).toInt(), 0);
}

void TstFileSaveLoad::deleteAsksWithNote_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TstFileSaveLoad::deleteAsksWithNote()
{
    QFETCH(bool, yes);
    Fixture f;
    f.t.db().exec(QStringLiteral("insert into filearchiv (id,idkart,idkand,filename,note,fsize) "
                                 "values (3000,5,0,'a.txt','паспорт','0.01 Мб')"));
    FileSaveLoad screen(f.ctx);
    screen.setOwner(1, 5);
    screen.load();
    f.desktop.answer(yes);
    screen.deleteFile();
    QCOMPARE(f.desktop.lastText(), QStringLiteral("Удалить запись\nпаспорт"));
    QCOMPARE(screen.rowCount(), yes ? 0 : 1);
    // Not committed here.
    f.t.db().rollback();
    QCOMPARE(f.t.db().scalar(QStringLiteral("select count(*) from filearchiv")).toInt(), 0);
}

void TstFileSaveLoad::readOnlyLevels_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("administrator") << 1 << false;
    QTest::newRow("level 3") << 3 << false;
    QTest::newRow("level 4") << 4 << true;
    QTest::newRow("level 5") << 5 << true;
}

void TstFileSaveLoad::readOnlyLevels()
{
    QFETCH(int, level);
    QFETCH(bool, readOnly);
    Fixture f(level);
    f.t.db().exec(QStringLiteral("insert into filearchiv (id,idkart,idkand,filename,note,fsize) "
                                 "values (3000,5,0,'a.txt','паспорт','0.01 Мб')"));
    FileSaveLoad screen(f.ctx);
    screen.setOwner(1, 5);
    screen.load();
    QCOMPARE(screen.addButton()->isHidden(), readOnly);
    QCOMPARE(screen.deleteButton()->isHidden(), readOnly);
    if (readOnly) {
        // Inert as well as hidden: no dialog, no question.
        screen.addFile();
        screen.deleteFile();
        QCOMPARE(screen.rowCount(), 1);
    }
    QVERIFY(f.desktop.texts().isEmpty());
}

QTEST_MAIN(TstFileSaveLoad)
#include "tst_filesaveload.moc"
