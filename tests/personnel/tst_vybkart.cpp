#include "common/screen_registry.h"
#include "common/session.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "personnel/kart_ed2.h"
#include "personnel/vybkart.h"
#include "personnel/vybormol.h"
#include "scripted_desktop.h"
#include "test_db.h"

#include <QLineEdit>
#include <QTableView>
#include <QTest>

// The employee directory in both modes, its short card and the responsible-person picker.
class TstVybKart : public QObject
{
    Q_OBJECT

private slots:
    void placeholderListedButUntouched_data();
    void placeholderListedButUntouched();
    void deleteRefusedWhileReferenced_data();
    void deleteRefusedWhileReferenced();
    void deleteCommits();
    void searchNarrowsOnEveryKey_data();
    void searchNarrowsOnEveryKey();
    void newEmployeeRow();
    void addedEmployeeIsSavedAndCurrent();
    void cardStoresNames_data();
    void cardStoresNames();
    void cardRefusesUnfitText_data();
    void cardRefusesUnfitText();
    void cardCancelAsks_data();
    void cardCancelAsks();
    void pickAnswers_data();
    void pickAnswers();
    void emptyListChoosesNothing_data();
    void emptyListChoosesNothing();
    void directoryDoubleClickEdits();
};

namespace {

struct Fixture
{
    Fixture()
    {
        session.WorkDir = t.folder();
        screens.add(QStringLiteral("VybKart"), [this](Pick &pick) { vybKart.run(pick); });
        screens.add(QStringLiteral("VyborMol"), [this](Pick &pick) { vyborMol.run(pick); });
        vybKart.setDialogRunner([this](VybKart &screen) { onShown(screen); });
        vyborMol.setDialogRunner([this](VyborMol &screen) { onMolShown(screen); });
        vybKart.setCardRunner([](KartEd2 &) { QFAIL("the card must not open"); });
    }

    void addKart(double id, const QString &fam, const QString &im, const QString &ot,
                 const QString &doljnost = QString())
    {
        const QString fio2 =
            QStringList{upperSearch(fam), upperSearch(im), upperSearch(ot)}.join(QLatin1Char(' '));
        t.db().exec(QStringLiteral("insert into kart (id,fam,im,ot,fio2,doljnost,nday) values (") +
                    sqlId(id) + QLatin1Char(',') + sqlText(fam) + QLatin1Char(',') + sqlText(im) +
                    QLatin1Char(',') + sqlText(ot) + QLatin1Char(',') + sqlText(fio2) + QLatin1Char(',') +
                    sqlText(doljnost) + QStringLiteral(",28)"));
    }

    void addStaff()
    {
        addKart(101, QStringLiteral("Сидоров"), QStringLiteral("Пётр"), QStringLiteral("Ильич"),
                QStringLiteral("кладовщик"));
        addKart(102, QStringLiteral("Андреева"), QStringLiteral("Анна"), QStringLiteral("Сергеевна"));
        addKart(103, QStringLiteral("Сидоренко"), QStringLiteral("Олег"), QString());
        addKart(104, QStringLiteral("Борисов"), QStringLiteral("Сидор"), QStringLiteral("Петрович"));
        addKart(105, QStringLiteral("Иванов"), QStringLiteral("Иван"), QStringLiteral("Иванович"));
    }

    // Opens a picker through the registry, as a warehouse card does.
    Pick open(const QString &screen, int mode = VybKart::Select, double currentId = 0)
    {
        Pick pick;
        pick.screen = screen;
        pick.mode = mode;
        pick.currentId = currentId;
        screens.open(pick);
        return pick;
    }

    QSqlRecord committedKart(double id) const
    {
        return t.openSecond()->query(QStringLiteral("select * from kart where id=") + sqlId(id)).value(0);
    }

    TestDb t;
    Session session;
    ScriptedDesktop desktop;
    ScreenRegistry screens;
    AppContext ctx{session, t.db(), desktop, screens};
    VybKart vybKart{ctx};
    VyborMol vyborMol{ctx};
    // What the user does while a picker is shown; nothing by default.
    std::function<void(VybKart &)> onShown = [](VybKart &) {};
    std::function<void(VyborMol &)> onMolShown = [](VyborMol &) {};
};

QList<double> listedIds(const QTableView *grid, const std::function<double(int)> &idAt)
{
    QList<double> ids;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        ids << idAt(r);
    return ids;
}

QStringList listedFio(const QTableView *grid)
{
    QStringList names;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        names << grid->model()->index(r, 0).data().toString();
    return names;
}

void addPickers()
{
    QTest::addColumn<QString>("screen");
    QTest::newRow("VybKart") << QStringLiteral("VybKart");
    QTest::newRow("VyborMol") << QStringLiteral("VyborMol");
}

} // namespace

void TstVybKart::placeholderListedButUntouched_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("selection") << int(VybKart::Select);
    QTest::newRow("directory") << int(VybKart::Directory);
}

void TstVybKart::placeholderListedButUntouched()
{
    QFETCH(int, mode);
    Fixture f;
    f.addStaff();
    f.onShown = [](VybKart &screen) {
        QVERIFY(screen.selectId(0));
        screen.editRecord();   // the card runner fails the test if it opens
        screen.deleteRecord(); // an unexpected question fails the test
    };
    f.open(QStringLiteral("VybKart"), mode, 0);
    QVERIFY(f.desktop.messages().isEmpty());
    QCOMPARE(f.committedKart(0).value(QStringLiteral("id")).toInt(), 0);
    QCOMPARE(f.vybKart.rowCount(), 6);

    Pick mol = f.open(QStringLiteral("VyborMol"), VybKart::Select, 0);
    QVERIFY(listedIds(f.vyborMol.grid(), [&f](int r) { return f.vyborMol.idAt(r); }).contains(0));
    QCOMPARE(f.vyborMol.rowCount(), 6);
    QVERIFY(!mol.chosen);
}

void TstVybKart::deleteRefusedWhileReferenced_data()
{
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("message");
    const QString mol = QStringLiteral("У данного сотрудника имеются ссылки на МОЛ");
    const QString seller = QStringLiteral("У данного сотрудника имеются ссылки продажу товара (Продавец)");
    QTest::newRow("gaining responsible person")
        << QStringLiteral("insert into obrt2 (id,ttype,idmol,idmol2) values (900,3,101,0)") << mol;
    QTest::newRow("losing responsible person")
        << QStringLiteral("insert into obrt2 (id,ttype,idmol,idmol2) values (900,3,0,101)") << mol;
    QTest::newRow("seller only") << QStringLiteral(
                                        "insert into oper (id,ttype,ttype2,prodavec) values (900,4,0,101)")
                                 << seller;
}

void TstVybKart::deleteRefusedWhileReferenced()
{
    QFETCH(QString, reference);
    QFETCH(QString, message);
    Fixture f;
    f.addStaff();
    f.t.db().exec(reference);
    f.t.db().commit();
    f.onShown = [](VybKart &screen) {
        QVERIFY(screen.selectId(101));
        screen.deleteRecord(); // refused before the question is asked
        QCOMPARE(screen.currentId(), 101.0);
    };
    f.open(QStringLiteral("VybKart"), VybKart::Directory);
    QCOMPARE(f.desktop.texts(), QStringList{message});
    QCOMPARE(f.desktop.messages().first().kind, ScriptedDesktop::Kind::Warning);
    f.t.db().rollback();
    QCOMPARE(f.t.db().scalar(QStringLiteral("select count(*) from kart where id=101")).toInt(), 1);
}

void TstVybKart::deleteCommits()
{
    Fixture f;
    f.addStaff();
    f.t.db().exec(QStringLiteral("insert into obrt2 (id,ttype,idmol,idmol2) values (900,3,102,0)"));
    f.t.db().exec(QStringLiteral("insert into oper (id,ttype,ttype2,prodavec) values (900,4,0,102)"));
    f.t.db().commit();
    f.desktop.answer(false);
    f.desktop.answer(true);
    f.onShown = [](VybKart &screen) {
        QVERIFY(screen.selectId(101));
        screen.deleteRecord(); // "No": kept
        QCOMPARE(screen.rowCount(), 6);
        screen.deleteRecord();
        QCOMPARE(screen.rowCount(), 5);
        QVERIFY(!screen.selectId(101));
    };
    f.open(QStringLiteral("VybKart"), VybKart::Directory);
    QCOMPARE(f.desktop.texts(),
             (QStringList{QStringLiteral("Удалить запись ?"), QStringLiteral("Удалить запись ?")}));
    QVERIFY(f.committedKart(101).isEmpty());
    QVERIFY(!f.committedKart(102).isEmpty());
}

void TstVybKart::searchNarrowsOnEveryKey_data()
{
    addPickers();
}

void TstVybKart::searchNarrowsOnEveryKey()
{
    QFETCH(QString, screen);
    Fixture f;
    f.addStaff();
    QLineEdit *search = screen == QLatin1String("VybKart") ? f.vybKart.searchEdit() : f.vyborMol.searchEdit();
    QTableView *grid = screen == QLatin1String("VybKart") ? f.vybKart.grid() : f.vyborMol.grid();
    QList<QStringList> steps;
    const auto typeSearch = [&] {
        search->clear();
        steps << listedFio(grid);
        // Lower case and a leading blank: the filter trims and upper-cases what is typed.
        for (const QChar c : QStringLiteral(" сидор")) {
            // Cyrillic has no key code of its own: the key event carries the typed text.
            QTest::sendKeyEvent(QTest::Click, search, Qt::Key_unknown, QString(c), Qt::NoModifier);
            steps << listedFio(grid);
        }
    };
    if (screen == QLatin1String("VybKart"))
        f.onShown = [&](VybKart &) { typeSearch(); };
    else
        f.onMolShown = [&](VyborMol &) { typeSearch(); };
    f.open(screen);

    const QString andreeva = QStringLiteral("АНДРЕЕВА АННА СЕРГЕЕВНА");
    const QString borisov = QStringLiteral("БОРИСОВ СИДОР ПЕТРОВИЧ");
    const QString ivanov = QStringLiteral("ИВАНОВ ИВАН ИВАНОВИЧ");
    const QString sidorenko = QStringLiteral("СИДОРЕНКО ОЛЕГ");
    const QString sidorov = QStringLiteral("СИДОРОВ ПЁТР ИЛЬИЧ");
    const QStringList everybody = {QString(), andreeva, borisov, ivanov, sidorenko, sidorov};
    const QStringList sidor = {borisov, sidorenko, sidorov};
    // "", " ", " с", " си", " сид", " сидо", " сидор"
    const QList<QStringList> expected = {
        everybody, everybody, {andreeva, borisov, sidorenko, sidorov}, sidor, sidor, sidor, sidor};
    QCOMPARE(steps, expected);
}

void TstVybKart::newEmployeeRow()
{
    Fixture f;
    f.desktop.answer(true); // "Добавить нового Сотрудника"
    f.desktop.answer(true); // leave the card without saving
    double cardId = -1;
    f.vybKart.setCardRunner([&cardId](KartEd2 &card) {
        cardId = card.id();
        QCOMPARE(card.famEdit()->text(), QString());
        card.reject();
        QCOMPARE(card.result(), int(QDialog::Rejected));
    });
    f.onShown = [](VybKart &screen) { screen.addRecord(); };
    f.open(QStringLiteral("VybKart"), VybKart::Directory);
    QVERIFY(cardId > 0);
    QCOMPARE(f.vybKart.currentId(), cardId);
    const QSqlRecord row =
        f.t.db().query(QStringLiteral("select * from kart where id=") + sqlId(cardId)).value(0);
    QCOMPARE(row.value(QStringLiteral("nday")).toInt(), 28);
    for (const char *column : {"fam", "im", "ot", "fio2", "doljnost", "idpod", "tuvoln", "birthday", "nls"})
        QVERIFY2(row.value(QLatin1String(column)).isNull(), column);

    // Declining the question adds nothing.
    f.desktop.answer(false);
    const int before = f.t.db().scalar(QStringLiteral("select count(*) from kart")).toInt();
    f.vybKart.addRecord();
    QCOMPARE(f.t.db().scalar(QStringLiteral("select count(*) from kart")).toInt(), before);
}

void TstVybKart::addedEmployeeIsSavedAndCurrent()
{
    Fixture f;
    f.addStaff();
    f.t.db().commit();
    f.desktop.answer(true);
    f.vybKart.setCardRunner([](KartEd2 &card) {
        card.famEdit()->setText(QStringLiteral("Яковлев"));
        card.imEdit()->setText(QStringLiteral("Яков"));
        QVERIFY(card.save());
    });
    f.onShown = [](VybKart &screen) {
        screen.addRecord();
        QCOMPARE(screen.currentFio(), QStringLiteral("ЯКОВЛЕВ ЯКОВ"));
        screen.okClicked();
    };
    const Pick pick = f.open(QStringLiteral("VybKart"), VybKart::Select, 102);
    QVERIFY(pick.chosen);
    QCOMPARE(pick.name, QStringLiteral("ЯКОВЛЕВ ЯКОВ"));
    QCOMPARE(f.committedKart(pick.id).value(QStringLiteral("nday")).toInt(), 28);
    QCOMPARE(f.committedKart(pick.id).value(QStringLiteral("fam")).toString(), QStringLiteral("Яковлев"));
}

void TstVybKart::cardStoresNames_data()
{
    QTest::addColumn<QString>("fam");
    QTest::addColumn<QString>("im");
    QTest::addColumn<QString>("ot");
    QTest::addColumn<QString>("doljnost");
    QTest::addColumn<QStringList>("stored"); // fam, im, ot, doljnost, fio2
    QTest::newRow("plain") << QStringLiteral("Петрова") << QStringLiteral("Мария")
                           << QStringLiteral("Ивановна") << QStringLiteral("Продавец")
                           << QStringList{QStringLiteral("Петрова"), QStringLiteral("Мария"),
                                          QStringLiteral("Ивановна"), QStringLiteral("Продавец"),
                                          QStringLiteral("ПЕТРОВА МАРИЯ ИВАНОВНА")};
    QTest::newRow("apostrophes kept")
        << QStringLiteral("О'Брайен") << QStringLiteral("Д'Артаньян") << QString()
        << QStringLiteral("l'agent")
        << QStringList{QStringLiteral("О'Брайен"), QStringLiteral("Д'Артаньян"), QString(),
                       QStringLiteral("l'agent"), QStringLiteral("О'БРАЙЕН Д'АРТАНЬЯН")};
    QTest::newRow("blanks around parts")
        << QStringLiteral("  Ёлкин ") << QStringLiteral(" Фёдор") << QStringLiteral("Саввич  ")
        << QStringLiteral(" старший кассир ")
        << QStringList{QStringLiteral("Ёлкин"), QStringLiteral("Фёдор"), QStringLiteral("Саввич"),
                       QStringLiteral("старший кассир"), QStringLiteral("ЁЛКИН ФЁДОР САВВИЧ")};
    QTest::newRow("surname only") << QStringLiteral("Ли") << QString() << QString() << QString()
                                  << QStringList{QStringLiteral("Ли"), QString(), QString(), QString(),
                                                 QStringLiteral("ЛИ")};
    QTest::newRow("latin and digits")
        << QStringLiteral("Smith-2") << QStringLiteral("john") << QString() << QString()
        << QStringList{QStringLiteral("Smith-2"), QStringLiteral("john"), QString(), QString(),
                       QStringLiteral("SMITH-2 JOHN")};
}

void TstVybKart::cardStoresNames()
{
    QFETCH(QString, fam);
    QFETCH(QString, im);
    QFETCH(QString, ot);
    QFETCH(QString, doljnost);
    QFETCH(QStringList, stored);
    Fixture f;
    f.addKart(101, QStringLiteral("Старая"), QStringLiteral("Запись"), QStringLiteral("Была"),
              QStringLiteral("Старая"));
    f.addKart(102, QStringLiteral("Соседняя"), QString(), QString());
    f.t.db().commit();
    f.vybKart.setCardRunner([&](KartEd2 &card) {
        QCOMPARE(card.famEdit()->text(), QStringLiteral("Старая"));
        QCOMPARE(card.doljnostEdit()->text(), QStringLiteral("Старая"));
        card.famEdit()->setText(fam);
        card.imEdit()->setText(im);
        card.otEdit()->setText(ot);
        card.doljnostEdit()->setText(doljnost);
        QVERIFY(card.save());
    });
    f.onShown = [](VybKart &screen) {
        QVERIFY(screen.selectId(101));
        screen.editRecord();
        QCOMPARE(screen.currentId(), 101.0);
    };
    f.open(QStringLiteral("VybKart"), VybKart::Directory);
    QVERIFY(f.desktop.messages().isEmpty());
    const QSqlRecord row = f.committedKart(101);
    const QStringList columns = {QStringLiteral("fam"), QStringLiteral("im"), QStringLiteral("ot"),
                                 QStringLiteral("doljnost"), QStringLiteral("fio2")};
    for (int i = 0; i < columns.size(); ++i)
        QCOMPARE(row.value(columns.at(i)).toString(), stored.at(i));
    QCOMPARE(f.committedKart(102).value(QStringLiteral("fam")).toString(), QStringLiteral("Соседняя"));
}

void TstVybKart::cardRefusesUnfitText_data()
{
    QTest::addColumn<int>("field");
    QTest::newRow("surname") << 0;
    QTest::newRow("first name") << 1;
    QTest::newRow("patronymic") << 2;
    QTest::newRow("position") << 3;
}

void TstVybKart::cardRefusesUnfitText()
{
    QFETCH(int, field);
    Fixture f;
    f.addKart(101, QStringLiteral("Старая"), QStringLiteral("Запись"), QString());
    f.t.db().commit();
    KartEd2 card(f.t.db(), f.desktop);
    card.load(101);
    QLineEdit *edits[] = {card.famEdit(), card.imEdit(), card.otEdit(), card.doljnostEdit()};
    for (QLineEdit *edit : edits)
        QCOMPARE(edit->maxLength(), 20);
    edits[field]->setText(QStringLiteral("Зоя ☺"));
    QVERIFY(!card.save());
    QCOMPARE(f.desktop.lastText(),
             QStringLiteral("Текст содержит символы, которые нельзя сохранить в базе данных: ☺"));
    const QSqlRecord row = f.t.db().query(QStringLiteral("select * from kart where id=101")).value(0);
    QCOMPARE(row.value(QStringLiteral("fam")).toString(), QStringLiteral("Старая"));
    QCOMPARE(row.value(QStringLiteral("fio2")).toString(), QStringLiteral("СТАРАЯ ЗАПИСЬ"));
}

void TstVybKart::cardCancelAsks_data()
{
    QTest::addColumn<bool>("leave");
    QTest::newRow("leave") << true;
    QTest::newRow("stay") << false;
}

void TstVybKart::cardCancelAsks()
{
    QFETCH(bool, leave);
    Fixture f;
    f.addKart(101, QStringLiteral("Старая"), QString(), QString());
    f.t.db().commit();
    KartEd2 card(f.t.db(), f.desktop);
    card.load(101);
    card.setResult(-1);
    card.famEdit()->setText(QStringLiteral("Новая"));
    f.desktop.answer(leave);
    card.reject();
    QCOMPARE(f.desktop.texts(),
             QStringList{
                 QStringLiteral("Выйти без сохранения. Все изменения в карточке сотрудника будут утеряны.")});
    QCOMPARE(card.result(), leave ? int(QDialog::Rejected) : -1);
    QCOMPARE(f.t.db().scalar(QStringLiteral("select fam from kart where id=101")).toString(),
             QStringLiteral("Старая"));
}

void TstVybKart::pickAnswers_data()
{
    addPickers();
}

void TstVybKart::pickAnswers()
{
    QFETCH(QString, screen);
    Fixture f;
    f.addStaff();
    Pick pick = f.open(screen, VybKart::Select, 104);
    QVERIFY(!pick.chosen); // closed without "Ok !"
    const auto choose = [](auto &picker) {
        QCOMPARE(picker.currentId(), 104.0);
        QVERIFY(picker.selectId(101));
        picker.okClicked();
    };
    f.onShown = choose;
    f.onMolShown = choose;
    pick = f.open(screen, VybKart::Select, 104);
    QVERIFY(pick.chosen);
    QCOMPARE(pick.id, 101.0);
    QCOMPARE(pick.name, QStringLiteral("СИДОРОВ ПЁТР ИЛЬИЧ"));

    // The next opening is positioned on the id passed in, not on the last choice.
    f.onShown = [](VybKart &picker) { QCOMPARE(picker.currentId(), 105.0); };
    f.onMolShown = [](VyborMol &picker) { QCOMPARE(picker.currentId(), 105.0); };
    f.open(screen, VybKart::Select, 105);
    QVERIFY(f.desktop.messages().isEmpty());
}

void TstVybKart::emptyListChoosesNothing_data()
{
    addPickers();
}

void TstVybKart::emptyListChoosesNothing()
{
    QFETCH(QString, screen);
    Fixture f;
    f.addStaff();
    bool okClosed = true;
    const auto typeNothing = [&okClosed](auto &picker) {
        picker.setResult(-1);
        picker.searchEdit()->setText(QStringLiteral("нет такого"));
        QCOMPARE(picker.rowCount(), 0);
        picker.okClicked();
        okClosed = picker.result() != -1;
    };
    f.onShown = typeNothing;
    f.onMolShown = typeNothing;
    f.vybKart.setCardRunner([](KartEd2 &) { QFAIL("the card must not open on an empty list"); });
    const Pick pick = f.open(screen);
    QVERIFY(!pick.chosen);
    QVERIFY(!okClosed);
    if (screen == QLatin1String("VybKart")) {
        f.vybKart.editRecord();
        f.vybKart.deleteRecord(); // nothing asked
    }
    QVERIFY(f.desktop.messages().isEmpty());
}

void TstVybKart::directoryDoubleClickEdits()
{
    Fixture f;
    f.addStaff();
    int cards = 0;
    f.vybKart.setCardRunner([&cards](KartEd2 &card) {
        ++cards;
        QCOMPARE(card.id(), 103.0);
        card.otEdit()->setText(QStringLiteral("Олегович"));
        QVERIFY(card.save());
    });
    const auto doubleClick = [](VybKart &screen) {
        QVERIFY(screen.selectId(103));
        const QRect cell = screen.grid()->visualRect(screen.grid()->currentIndex());
        // The view takes a double-click only on the row the first click pressed.
        QTest::mouseClick(screen.grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(screen.grid()->viewport(), Qt::LeftButton, {}, cell.center());
    };
    f.onShown = [&](VybKart &screen) {
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        doubleClick(screen);
        screen.okClicked(); // only closes
    };
    Pick pick = f.open(QStringLiteral("VybKart"), VybKart::Directory);
    QCOMPARE(cards, 1);
    QVERIFY(!pick.chosen);
    QCOMPARE(f.committedKart(103).value(QStringLiteral("fio2")).toString(),
             QStringLiteral("СИДОРЕНКО ОЛЕГ ОЛЕГОВИЧ"));

    // In selection mode the same double-click chooses.
    f.onShown = [&](VybKart &screen) {
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        doubleClick(screen);
    };
    pick = f.open(QStringLiteral("VybKart"), VybKart::Select);
    QCOMPARE(cards, 1);
    QVERIFY(pick.chosen);
    QCOMPARE(pick.id, 103.0);
}

QTEST_MAIN(TstVybKart)
#include "tst_vybkart.moc"
