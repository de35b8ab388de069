#include "common/screen_registry.h"
#include "common/session.h"
#include "scripted_desktop.h"
#include "shell/spr_edit.h"
#include "shell/spr_edit2.h"
#include "test_db.h"

#include <QLineEdit>
#include <QTest>

// The candidates' reference book and its value editor.
class TstSprEdit2 : public QObject
{
    Q_OBJECT

private slots:
    void listByKindAndFilter_data();
    void listByKindAndFilter();
    void prepareResetsChoice();
    void chooseAndCancel();
    void addAndEdit();
    void deleteRules_data();
    void deleteRules();
};

namespace {

struct Fixture
{
    Fixture()
    {
        session.WorkDir = t.folder();
        for (const char *sql : {
                 "insert into sprkand (id,ttype,name,name2) values (3001,1,'Кассир','КАССИР')",
                 "insert into sprkand (id,ttype,name,name2) values (3002,1,'Повар д''Артаньян','ПОВАР "
                 "Д''АРТАНЬЯН')",
                 "insert into sprkand (id,ttype,name,name2) values (3003,1,'Бухгалтер','БУХГАЛТЕР')",
                 "insert into sprkand (id,ttype,name,name2) values (3004,2,'Газета','ГАЗЕТА')",
                 "insert into sprkand (id,ttype,name,name2) values (3005,2,'Сайт вакансий','САЙТ ВАКАНСИЙ')",
             })
            t.db().exec(QString::fromUtf8(sql));
    }

    QStringList names(SprEdit2 &screen)
    {
        QStringList result;
        for (int r = 0; r < screen.rowCount(); ++r) {
            screen.setCurrentRow(r);
            result << screen.currentName();
        }
        return result;
    }

    TestDb t;
    Session session;
    ScriptedDesktop desktop;
    ScreenRegistry screens;
    AppContext ctx{session, t.db(), desktop, screens};
};

} // namespace

void TstSprEdit2::listByKindAndFilter_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("vacancies by name")
        << 1 << QString() << QStringList{"Бухгалтер", "Кассир", "Повар д'Артаньян"};
    QTest::newRow("sources") << 2 << QString() << QStringList{"Газета", "Сайт вакансий"};
    QTest::newRow("filter any case") << 1 << QStringLiteral(" касс ") << QStringList{"Кассир"};
    QTest::newRow("filter with apostrophe")
        << 1 << QStringLiteral("д'арт") << QStringList{"Повар д'Артаньян"};
    QTest::newRow("filter keeps the kind")
        << 2 << QStringLiteral("а") << QStringList{"Газета", "Сайт вакансий"};
    QTest::newRow("nothing found") << 1 << QStringLiteral("газета") << QStringList{};
}

void TstSprEdit2::listByKindAndFilter()
{
    QFETCH(int, kind);
    QFETCH(QString, filter);
    QFETCH(QStringList, names);
    Fixture f;
    SprEdit2 screen(f.ctx);
    screen.prepare(kind, 0);
    screen.filterEdit()->setText(filter);
    screen.load();
    QCOMPARE(f.names(screen), names);
}

void TstSprEdit2::prepareResetsChoice()
{
    Fixture f;
    SprEdit2 screen(f.ctx);
    screen.prepare(1, 3002);
    QCOMPARE(screen.currentId(), 3002.0);
    QVERIFY(!screen.chosen());
    QCOMPARE(screen.chosenName(), QStringLiteral("<..>"));
    screen.choose();
    QVERIFY(screen.chosen());
    screen.filterEdit()->setText(QStringLiteral("касс"));
    // Opened again: the filter is cleared and nothing is chosen yet.
    screen.prepare(1, 3003);
    QCOMPARE(screen.filterEdit()->text(), QString());
    QVERIFY(!screen.chosen());
    QCOMPARE(screen.chosenName(), QStringLiteral("<..>"));
    QCOMPARE(screen.rowCount(), 3);
    QCOMPARE(screen.currentId(), 3003.0);
}

void TstSprEdit2::chooseAndCancel()
{
    Fixture f;
    SprEdit2 screen(f.ctx);
    screen.prepare(2, 3005);
    screen.choose();
    QVERIFY(screen.chosen());
    QCOMPARE(screen.chosenId(), 3005.0);
    QCOMPARE(screen.chosenName(), QStringLiteral("Сайт вакансий"));
    QCOMPARE(screen.result(), int(QDialog::Accepted));
    screen.reject();
    QVERIFY(!screen.chosen());

    // "Выбрать" on an empty list chooses nothing.
    screen.prepare(2, 0);
    screen.filterEdit()->setText(QStringLiteral("нет такого"));
    screen.load();
    screen.choose();
    QVERIFY(!screen.chosen());
}

void TstSprEdit2::addAndEdit()
{
    Fixture f;
    SprEdit2 screen(f.ctx);
    screen.prepare(2, 0);
    screen.setEditorRunner([](SprEdit &editor) {
        QCOMPARE(editor.nameEdit()->text(), QString());
        editor.nameEdit()->setText(QStringLiteral("  Ярмарка д'Вакансий "));
        QVERIFY(editor.save());
    });
    screen.addItem();
    const double id = screen.currentId();
    QVERIFY(id > 2000);
    QCOMPARE(screen.currentName(), QStringLiteral("Ярмарка д'Вакансий"));
    QCOMPARE(f.t.db().scalar(QStringLiteral("select ttype from sprkand where id=%1").arg(qint64(id))).toInt(),
             2);
    QCOMPARE(
        f.t.db().scalar(QStringLiteral("select name2 from sprkand where id=%1").arg(qint64(id))).toString(),
        QStringLiteral("ЯРМАРКА Д'ВАКАНСИЙ"));

    screen.setEditorRunner([](SprEdit &editor) {
        QCOMPARE(editor.nameEdit()->text(), QStringLiteral("Ярмарка д'Вакансий"));
        editor.nameEdit()->setText(QStringLiteral("Ёлка"));
        QVERIFY(editor.save());
    });
    screen.editItem();
    QCOMPARE(screen.currentId(), id);
    QCOMPARE(
        f.t.db().scalar(QStringLiteral("select name2 from sprkand where id=%1").arg(qint64(id))).toString(),
        QStringLiteral("ЁЛКА"));

    screen.setEditorRunner([](SprEdit &editor) {
        editor.nameEdit()->setText(QStringLiteral("Ёлка ☺"));
        QVERIFY(!editor.save());
    });
    screen.editItem();
    QCOMPARE(f.desktop.lastText(),
             QStringLiteral("Текст содержит символы, которые нельзя сохранить в базе данных: ☺"));

    // Nothing here commits: the candidate card decides.
    f.t.db().rollback();
    QCOMPARE(f.t.db().scalar(QStringLiteral("select count(*) from sprkand")).toInt(), 0);
}

void TstSprEdit2::deleteRules_data()
{
    QTest::addColumn<QString>("reference");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("id");
    QTest::addColumn<bool>("refused");
    QTest::newRow("vacancy named by a candidate") << QStringLiteral("iddoljn") << 1 << 3001.0 << true;
    QTest::newRow("source named by a candidate") << QStringLiteral("idistok") << 2 << 3004.0 << true;
    QTest::newRow("unused vacancy") << QStringLiteral("iddoljn") << 1 << 3003.0 << false;
}

void TstSprEdit2::deleteRules()
{
    QFETCH(QString, reference);
    QFETCH(int, kind);
    QFETCH(double, id);
    QFETCH(bool, refused);
    Fixture f;
    const double used = kind == 1 ? 3001 : 3004;
    f.t.db().exec(
        QStringLiteral("insert into kandidat (id,fam,%1) values (50,'Петров',%2)").arg(reference).arg(used));
    SprEdit2 screen(f.ctx);
    screen.prepare(kind, id);
    const int before = screen.rowCount();
    if (!refused)
        f.desktop.answer(true);
    screen.deleteItem();
    if (refused) {
        QCOMPARE(f.desktop.texts(),
                 QStringList{QStringLiteral("Удаление невозможно, имеются ссылки на данную запись")});
        QCOMPARE(f.desktop.messages().first().kind, ScriptedDesktop::Kind::Info);
        QCOMPARE(screen.rowCount(), before);
    } else {
        QCOMPARE(f.desktop.texts(), QStringList{QStringLiteral("Удалить запись ?")});
        QCOMPARE(screen.rowCount(), before - 1);
    }
    QCOMPARE(
        f.t.db().scalar(QStringLiteral("select count(*) from sprkand where id=%1").arg(qint64(id))).toInt(),
        refused ? 1 : 0);
}

QTEST_MAIN(TstSprEdit2)
#include "tst_spr_edit2.moc"
