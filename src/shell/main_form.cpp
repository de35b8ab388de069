#include "shell/main_form.h"

#include "common/sql_literals.h"
#include "goods/findtovar_barcode.h"
#include "goods/gruppa.h"
#include "goods/kagent.h"
#include "goods/tt_pod.h"
#include "goods/vyb_kagent.h"
#include "goods/vybort_g.h"
#include "personnel/vybkart.h"
#include "personnel/vybormol.h"
#include "platform/db.h"
#include "platform/desktop.h"
#include "shell/fwait.h"
#include "shell/org_edit.h"
#include "shell/service.h"
#include "shell/passw.h"
#include "shell/puser.h"
#include "common/session.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

struct MenuItem
{
    const char *text;
    bool hidden;
};

struct MenuSpec
{
    const char *title;
    std::vector<MenuItem> items;
};

const std::vector<MenuSpec> &menuSpecs()
{
    static const std::vector<MenuSpec> specs = {
        {"Файл", {{"Выход", false}}},
        {"Настройки",
         {{"Работодатели", true},
          {"Материальные ценности", true},
          {"Коды переноса начисленйи в TEVO Заработная плата и Кадры", true},
          {"Пользователи", false},
          {"Группы Товаров", false},
          {"Склады", false},
          {"Контрагенты", false},
          {"Настройки организации", false},
          {"Разделы Товаров", false},
          {"Принадлежность к собственности", false},
          {"Справочник Товаров", false},
          {"Справочник Сотрудники", false},
          {"Виды оплаты", false},
          {"Справочник Услуг", false},
          {"Группы услуг", false}}},
        {"Сервис",
         {{"Сервис", false},
          {"Синхронизация с TEVO Заработная плата и Кадры", true},
          {"Сверка карточек Сотрудников (синхронизация с TEVO ЗПиК) ", true},
          {"Привязка склада к операции", false}}},
    };
    return specs;
}

const char *const kPageCaptions[MainForm::PageCount] = {
    "Работодатели, филиалы, подразделения", "Сотрудники", "Табель", "Начисления", "Сервис", "Начисления",
    "Собеседование", "Карточки Товаров", "Журнал операций ", "Инвентаризация ", "Настройки", "Отчетность",
    "Обмен данными"};

const char *const kSettingsButtons[] = {
    "Настройки организации", "Справочник Склады", "Справочник Разделы товаров", "Справочник Группы товаров",
    "Справочник Сотрудники ", "Справочник Контрагенты", "Справочник Виды оплаты", "Справочник Товары",
    "Справочник Услуги", "Справочник Группы услуг", "Ценники"};

const char *const kReportButtons[] = {
    "Движение по складу", "Остатки на дату", "Отчет в разрезе Склад/МОЛ", "Ведомость по списанию",
    "Ведомость по продажам", "Отчет по продажам", "Отчет по возвратам", "Прайс-лист товаров",
    "Отчет по Продавцам", "Расчеты с Контрагентами", "Отчет по Поставщикам",
    "Отчет по неоприходованному товару", "Отчет по Покупателям"};

const char *const kExchangeButtons[] = {"Импорт товаров из Excel", "Импорт товаров из АТОЛ ",
                                        "Экспорт товаров в АТОЛ "};

const char *const kEmployeeReports[] = {
    "Дети", "Медицинские книжки", "Патент контроль оплаты", "Патент таблица", "Медицинские полисы",
    "Уволенные статистика", "Отпуска", "Список отпусков", "Кадровые отчеты", "Журнал изменения тарифов",
    "Приказы прием / увольнение", "Отчет по дням рождения"};

const char *const kTimesheetControl[] = {"Контроль по текущему запросу Табеля",
                                         "Контроль по всему Табелю (без фильтров)"};

const char *const kGoodsReports[] = {"Ведомость за период", "Журнал учета", "Отчет в разрезе Склад/МОЛ",
                                     "Ведомость по списанию", "Ведомость по продажам", "Отчет по продажам",
                                     "Прайс-лист товаров"};

// A button for a screen that is not part of the program yet stays visible but disabled.
QPushButton *pendingButton(const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(text.trimmed());
    button->setEnabled(false);
    return button;
}

QPushButton *popupButton(const QString &text, const char *const *items, int count, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(text);
    auto *menu = new QMenu(button);
    for (int i = 0; i < count; ++i)
        menu->addAction(QString::fromUtf8(items[i]))->setEnabled(false);
    QObject::connect(button, &QPushButton::clicked, button,
                     [button, menu] { menu->popup(button->mapToGlobal(button->rect().bottomRight())); });
    return button;
}

} // namespace

MainForm::MainForm(Session &session, Db &db, Desktop &desktop, QWidget *parent)
    : QMainWindow(parent), m_session(session), m_db(db), m_desktop(desktop),
      m_context{session, db, desktop, m_screens, this}
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("TEVO Склад ") + m_session.versionText());
    m_wait = new FWait(this);
    m_passw = new Passw(m_session, m_db, m_desktop, this);
    connect(m_passw, &Passw::statusChanged, this, &MainForm::setStatus);
    setupPages();
    setupMenus();
    setupPageButtons();
    registerScreens();
    wireReferenceBooks();
}

void MainForm::registerScreens()
{
    m_screens.add(QStringLiteral("gruppa"), [this](Pick &pick) {
        if (!m_gruppa) {
            m_gruppa = new Gruppa(m_context, this);
            connect(m_gruppa, &Gruppa::warehouseAdded, this, &MainForm::loadWarehouses);
        }
        m_gruppa->run(pick);
    });
    m_screens.add(QStringLiteral("vyb_kagent"), [this](Pick &pick) {
        if (!m_counterparties)
            m_counterparties = new VybKagent(m_context, this);
        m_counterparties->run(pick);
    });
    m_screens.add(QStringLiteral("VybKart"), [this](Pick &pick) {
        if (!m_employees)
            m_employees = new VybKart(m_context, this);
        m_employees->run(pick);
    });
    m_screens.add(QStringLiteral("VyborMol"), [this](Pick &pick) {
        if (!m_molPicker)
            m_molPicker = new VyborMol(m_context, this);
        m_molPicker->run(pick);
    });
    m_screens.add(QStringLiteral("kagent"), [this](Pick &pick) {
        if (!m_counterpartyCard)
            m_counterpartyCard = new Kagent(m_context, this);
        m_counterpartyCard->run(pick);
    });
    m_screens.add(QStringLiteral("VyborT_G"), [this](Pick &pick) {
        if (!m_catalogue)
            m_catalogue = new VyborTG(m_context, this);
        m_catalogue->run(pick);
    });
    m_screens.add(QStringLiteral("tt_pod"), [this](Pick &pick) {
        if (!m_goodsCard)
            m_goodsCard = new TtPod(m_context, this);
        m_goodsCard->run(pick);
    });
    m_screens.add(QStringLiteral("Findtovar_Barcode"), [this](Pick &pick) {
        if (!m_barcodeLookup)
            m_barcodeLookup = new FindtovarBarcode(m_context, this);
        m_barcodeLookup->run(pick);
    });
}

void MainForm::wireReferenceBooks()
{
    struct Route
    {
        const char *menuItem;
        const char *pageButton;
        const char *table;
        int mode;
        int kind;
    };
    static const Route routes[] = {
        {"Группы Товаров", "Справочник Группы товаров", "gruppat", Gruppa::Maintain, 0},
        {"Группы услуг", "Справочник Группы услуг", "gruppat", Gruppa::Maintain, 1},
        {"Склады", "Справочник Склады", "sklad", Gruppa::Maintain, 0},
        {"Разделы Товаров", "Справочник Разделы товаров", "razdel", Gruppa::Maintain, 0},
        {"Виды оплаты", "Справочник Виды оплаты", "oplata", Gruppa::Maintain, 0},
        // The ownership list is kept in select mode.
        {"Принадлежность к собственности", nullptr, "sobstv", Gruppa::Select, 0},
        {"Контрагенты", "Справочник Контрагенты", "post", 2, 0},
        {"Справочник Сотрудники", "Справочник Сотрудники ", "kart", VybKart::Directory, 0},
    };
    QAction *org = menuItem(QStringLiteral("Настройки"), QStringLiteral("Настройки организации"));
    org->setEnabled(true);
    connect(org, &QAction::triggered, this, [this] {
        if (menu(QStringLiteral("Настройки"))->menuAction()->isEnabled())
            openOrgSettings();
    });
    QPushButton *orgButton = pageButton(Settings, QStringLiteral("Настройки организации"));
    orgButton->setEnabled(true);
    connect(orgButton, &QPushButton::clicked, this, &MainForm::openOrgSettings);
    const struct
    {
        const char *menuItem;
        const char *pageButton;
        int kind;
    } catalogues[] = {{"Справочник Товаров", "Справочник Товары", VyborTG::Goods},
                      {"Справочник Услуг", "Справочник Услуги", VyborTG::Services}};
    for (const auto &catalogue : catalogues) {
        const int kind = catalogue.kind;
        QAction *item = menuItem(QStringLiteral("Настройки"), QString::fromUtf8(catalogue.menuItem));
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, [this, item, kind] {
            if (menu(QStringLiteral("Настройки"))->menuAction()->isEnabled() && item->isEnabled())
                openCatalogue(kind);
        });
        QPushButton *button = pageButton(Settings, QString::fromUtf8(catalogue.pageButton));
        button->setEnabled(true);
        connect(button, &QPushButton::clicked, this, [this, kind] { openCatalogue(kind); });
    }
    QAction *service = menuItem(QStringLiteral("Сервис"), QStringLiteral("Сервис"));
    connect(service, &QAction::triggered, this, &MainForm::openService);

    for (const Route &route : routes) {
        const auto open = [this, route] {
            openReference(QString::fromLatin1(route.table), route.mode, route.kind);
        };
        QAction *item = menuItem(QStringLiteral("Настройки"), QString::fromUtf8(route.menuItem));
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, [this, item, open] {
            // Hidden or disabled means inert, however the action is reached.
            if (menu(QStringLiteral("Настройки"))->menuAction()->isEnabled() && item->isEnabled())
                open();
        });
        if (route.pageButton) {
            QPushButton *button = pageButton(Settings, QString::fromUtf8(route.pageButton));
            button->setEnabled(true);
            connect(button, &QPushButton::clicked, this, open);
        }
    }
}

void MainForm::openOrgSettings()
{
    if (!m_orgEdit)
        m_orgEdit = new OrgEdit(m_context, this);
    m_orgEdit->exec();
    try {
        m_session.OpenGroupFlag = m_db.scalar(QStringLiteral("select opengruppa from config2")).toDouble();
    } catch (const DbError &e) {
        m_desktop.error({e.message()});
    }
    m_pages->setCurrentIndex(Settings);
}

void MainForm::openService()
{
    // The service screen runs any SQL: only the developer's level reaches it.
    if (m_session.AccessLevel != 0)
        return;
    if (!m_service)
        m_service = new Service(m_context, this);
    m_service->exec();
    m_pages->setCurrentIndex(Reports);
}

void MainForm::openReference(const QString &table, int mode, int kind)
{
    Pick pick;
    // Counterparties and employees have lists of their own; the other tables use the reference screen.
    pick.screen = table == QLatin1String("post")   ? QStringLiteral("vyb_kagent")
                  : table == QLatin1String("kart") ? QStringLiteral("VybKart")
                                                   : QStringLiteral("gruppa");
    pick.table = table;
    pick.mode = mode;
    pick.kind = kind;
    m_screens.open(pick);
    m_pages->setCurrentIndex(Settings);
}

void MainForm::openCatalogue(int kind)
{
    Pick pick;
    pick.screen = QStringLiteral("VyborT_G");
    pick.mode = VyborTG::Maintain;
    pick.kind = kind;
    // Kept from the main window, the catalogue is closed with "Ok!" only.
    pick.extra.insert(QStringLiteral("hideCancel"), true);
    m_screens.open(pick);
    m_pages->setCurrentIndex(Settings);
}

void MainForm::loadWarehouses()
{
    try {
        m_session.warehouseIds.clear();
        for (const QSqlRecord &r : m_db.query(QStringLiteral("select id from sklad order by id")))
            m_session.warehouseIds << r.value(0).toDouble();
    } catch (const DbError &e) {
        m_desktop.error({e.message()});
    }
}

void MainForm::setupPages()
{
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    // Tabs look like buttons.
    m_pages->setStyleSheet(QStringLiteral("QTabBar::tab { border: 1px solid #8f8f91; border-radius: 3px; "
                                          "padding: 4px 10px; margin: 2px; background: #ececec; }"
                                          "QTabBar::tab:selected { background: #c8d8f0; font-weight: bold; }"));
    for (int i = 0; i < PageCount; ++i) {
        auto *widget = new QWidget(m_pages);
        widget->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        new QVBoxLayout(widget);
        m_pages->addTab(widget, QString::fromUtf8(kPageCaptions[i]));
    }
    for (const Page p : {Organisations, Accruals0, Service0})
        m_pages->setTabVisible(p, false);
    setCentralWidget(m_pages);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("JvLabel1"));
    m_status->setStyleSheet(QStringLiteral("color: navy; font-weight: bold;"));
    statusBar()->addWidget(m_status, 1);

    m_timesheetYear = new QSpinBox(page(Timesheet));
    m_timesheetYear->setRange(2000, 2100);
    m_timesheetMonth = new QComboBox(page(Timesheet));
    m_accrualsYear = new QSpinBox(page(Accruals));
    m_accrualsYear->setRange(2000, 2100);
    m_journalFrom = new QDateEdit(page(Journal));
    m_journalTo = new QDateEdit(page(Journal));
    m_serviceDate = new QDateEdit(page(Employees));
    for (QDateEdit *date : {m_journalFrom, m_journalTo, m_serviceDate}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    }
    page(Timesheet)->layout()->addWidget(m_timesheetYear);
    page(Timesheet)->layout()->addWidget(m_timesheetMonth);
    page(Accruals)->layout()->addWidget(m_accrualsYear);
    page(Journal)->layout()->addWidget(m_journalFrom);
    page(Journal)->layout()->addWidget(m_journalTo);
    page(Employees)->layout()->addWidget(m_serviceDate);
}

void MainForm::setupMenus()
{
    for (const MenuSpec &spec : menuSpecs()) {
        QMenu *m = menuBar()->addMenu(QString::fromUtf8(spec.title));
        m->setObjectName(QString::fromUtf8(spec.title));
        for (const MenuItem &item : spec.items) {
            QAction *action = m->addAction(QString::fromUtf8(item.text));
            action->setVisible(!item.hidden);
            action->setEnabled(false);
        }
    }
    QAction *exit = menuItem(QStringLiteral("Файл"), QStringLiteral("Выход"));
    exit->setEnabled(true);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    QAction *users = menuItem(QStringLiteral("Настройки"), QStringLiteral("Пользователи"));
    users->setEnabled(true);
    connect(users, &QAction::triggered, this, &MainForm::openUsers);
}

void MainForm::openUsers()
{
    // Hidden or disabled means inert, whatever way the action is reached.
    const QAction *item = menuItem(QStringLiteral("Настройки"), QStringLiteral("Пользователи"));
    if (!menu(QStringLiteral("Настройки"))->menuAction()->isEnabled() || !item->isEnabled())
        return;
    if (!m_users)
        m_users = new PUser(m_session, m_db, m_desktop, this);
    m_users->exec();
    try {
        m_db.commit();
    } catch (const DbError &e) {
        m_desktop.error({e.message()});
    }
    m_pages->setCurrentIndex(Settings);
}

void MainForm::setupPageButtons()
{
    const auto addExit = [this](Page p) {
        auto *exit = new QPushButton(QStringLiteral("Выход"), page(p));
        exit->setObjectName(QStringLiteral("Выход"));
        connect(exit, &QPushButton::clicked, this, &QWidget::close);
        page(p)->layout()->addWidget(exit);
    };
    const auto addButtons = [this](Page p, const char *const *texts, int count) {
        auto *grid = new QGridLayout;
        for (int i = 0; i < count; ++i)
            grid->addWidget(pendingButton(QString::fromUtf8(texts[i]), page(p)), i % 7, i / 7);
        static_cast<QVBoxLayout *>(page(p)->layout())->addLayout(grid);
    };
    addButtons(Settings, kSettingsButtons, std::size(kSettingsButtons));
    pageButton(Settings, QStringLiteral("Ценники"))->setVisible(false);
    addButtons(Reports, kReportButtons, std::size(kReportButtons));
    addButtons(Exchange, kExchangeButtons, std::size(kExchangeButtons));

    page(Employees)->layout()->addWidget(
        popupButton(QStringLiteral("Отчеты"), kEmployeeReports, std::size(kEmployeeReports), page(Employees)));
    page(Timesheet)->layout()->addWidget(
        popupButton(QStringLiteral("Контроль"), kTimesheetControl, std::size(kTimesheetControl), page(Timesheet)));
    QPushButton *goodsReports =
        popupButton(QStringLiteral("Отчеты"), kGoodsReports, std::size(kGoodsReports), page(GoodsCards));
    goodsReports->setVisible(false);
    page(GoodsCards)->layout()->addWidget(goodsReports);

    for (const Page p : {Employees, Timesheet, Accruals, Interviews, GoodsCards, Journal, Inventory, Settings,
                         Reports, Exchange})
        addExit(p);
    for (int i = 0; i < PageCount; ++i)
        static_cast<QVBoxLayout *>(page(Page(i))->layout())->addStretch();
}

QWidget *MainForm::page(Page p) const
{
    return m_pages->widget(p);
}

bool MainForm::isPageShown(Page p) const
{
    return m_pages->isTabVisible(p);
}

QMenu *MainForm::menu(const QString &title) const
{
    return menuBar()->findChild<QMenu *>(title, Qt::FindDirectChildrenOnly);
}

QAction *MainForm::menuItem(const QString &menuTitle, const QString &item) const
{
    const QMenu *m = menu(menuTitle);
    if (!m)
        return nullptr;
    for (QAction *action : m->actions()) {
        if (action->text() == item)
            return action;
    }
    return nullptr;
}

QPushButton *MainForm::pageButton(Page p, const QString &text) const
{
    for (QPushButton *button : page(p)->findChildren<QPushButton *>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

void MainForm::setStatus(const QString &text)
{
    m_status->setText(text);
}

void MainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_loginShown)
        return;
    m_loginShown = true;
    // The login comes first: it opens over the main window once the window is on screen.
    QTimer::singleShot(0, this, &MainForm::login);
}

bool MainForm::login()
{
    m_passw->prepare();
    m_passw->exec();
    return afterLogin();
}

bool MainForm::afterLogin()
{
    if (m_session.AccessLevel == -1) {
        close();
        return false;
    }
    try {
        readPeriod();
        m_journalTo->setDate(QDate::currentDate());
        m_journalFrom->setDate(QDate::currentDate().addDays(-31));
        m_serviceDate->setDate(QDate::currentDate());
        for (const Page p : {Employees, Timesheet, Accruals, Interviews})
            hidePage(p);
        applyAccessLevel();
        m_pages->setCurrentIndex(Journal);
        if (!isPageShown(Journal))
            m_pages->setCurrentIndex(Settings);
        m_session.OpenGroupFlag = m_db.scalar(QStringLiteral("select opengruppa from config2")).toDouble();
        loadWarehouses();
    } catch (const DbError &e) {
        m_desktop.error({e.message()});
    }
    return true;
}

void MainForm::readPeriod()
{
    m_timesheetMonth->clear();
    for (int m = 1; m <= 12; ++m)
        m_timesheetMonth->addItem(m_session.MonthName.value(m));
    const DbRows rows = m_db.query(QStringLiteral("select * from config"));
    if (!rows.isEmpty()) {
        const int year = rows.first().value(QStringLiteral("god")).toInt();
        m_timesheetYear->setValue(year);
        m_accrualsYear->setValue(year);
        m_timesheetMonth->setCurrentIndex(rows.first().value(QStringLiteral("mes")).toInt() - 1);
        return;
    }
    m_timesheetYear->setValue(2019);
    m_accrualsYear->setValue(2019);
    m_timesheetMonth->setCurrentIndex(0);
    m_db.exec(QStringLiteral("insert into config (mes,god) values (1,2019)"));
    savePeriod();
}

void MainForm::savePeriod()
{
    m_db.exec(QStringLiteral("update config set mes=%1, god=%2")
                  .arg(m_timesheetMonth->currentIndex() + 1)
                  .arg(m_timesheetYear->value()));
    m_db.commit();
}

void MainForm::hidePage(Page p)
{
    m_pages->setTabVisible(p, false);
    m_pages->setTabEnabled(p, false);
}

void MainForm::applyAccessLevel()
{
    const int level = m_session.AccessLevel;
    if (level >= 2) {
        menu(QStringLiteral("Настройки"))->menuAction()->setEnabled(false);
        menu(QStringLiteral("Сервис"))->menuAction()->setEnabled(false);
    }
    if (level == 5)
        hidePage(Accruals);
    if (level == 3) {
        for (const Page p : {Accruals, GoodsCards, Journal, Inventory})
            hidePage(p);
    }
    if (level == 2)
        hidePage(Interviews);
    menuItem(QStringLiteral("Сервис"), QStringLiteral("Сервис"))->setEnabled(level == 0);
}

void MainForm::closeEvent(QCloseEvent *event)
{
    if (!m_closing && m_db.isOpen()) {
        m_closing = true;
        if (m_session.AccessLevel != -1) {
            try {
                savePeriod();
            } catch (const DbError &) {
                m_desktop.warn({QStringLiteral("Ошибка сервера")});
            }
        }
        try {
            m_db.exec(QStringLiteral("UPDATE obuser set timeend=CURRENT_TIMESTAMP where id=")
                      + sqlId(m_session.SessionId));
        } catch (const DbError &) {
            // The end time is a courtesy: exit goes on without it.
        }
        // Closing commits the open transaction; it is never rolled back at exit.
        m_db.close();
    }
    event->accept();
}
