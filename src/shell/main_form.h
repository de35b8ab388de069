#pragma once

#include "common/screen_registry.h"

#include <QMainWindow>

class Db;
class Desktop;
class FWait;
class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QMenu;
class QPushButton;
class QSpinBox;
class QTabWidget;
struct Session;

// The main window: the pages, the menus and the status line. It shows the
// login screen from its first show event and ends the program when nobody
// logs in; at close it saves the working period and the session's end time
// and commits.
class MainForm final : public QMainWindow
{
    Q_OBJECT

public:
    // The pages in their order.
    enum Page {
        Organisations, Employees, Timesheet, Accruals0, Service0, Accruals, Interviews,
        GoodsCards, Journal, Inventory, Settings, Reports, Exchange, PageCount
    };

    MainForm(Session &session, Db &db, Desktop &desktop, QWidget *parent = nullptr);

    // Runs the login screen, then prepares the window; false when nobody logged in.
    bool login();
    // What follows a closed login screen; false when the window closes.
    bool afterLogin();

    QTabWidget *pages() const { return m_pages; }
    QWidget *page(Page p) const;
    bool isPageShown(Page p) const;
    QLabel *statusLabel() const { return m_status; }
    FWait *wait() const { return m_wait; }
    QAction *menuItem(const QString &menu, const QString &item) const;
    QMenu *menu(const QString &title) const;
    QPushButton *pageButton(Page p, const QString &text) const;
    class Passw *passw() const { return m_passw; }
    // "Настройки" → "Пользователи": the users screen, then a commit.
    void openUsers();
    // A reference book from the menu or the settings page (table, mode, group kind).
    void openReference(const QString &table, int mode, int kind = 0);
    void loadWarehouses();
    void openOrgSettings();
    void openService();
    class PUser *users() const { return m_users; }
    // The shared pickers and the context every screen is built with.
    ScreenRegistry &screens() { return m_screens; }
    AppContext &context() { return m_context; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setupPages();
    void setupMenus();
    void setupPageButtons();
    void registerScreens();
    void wireReferenceBooks();
    void readPeriod();
    void savePeriod();
    void applyAccessLevel();
    void openCatalogue(int kind);
    void hidePage(Page p);
    void setStatus(const QString &text);

    Session &m_session;
    Db &m_db;
    Desktop &m_desktop;
    ScreenRegistry m_screens;
    AppContext m_context;
    Passw *m_passw = nullptr;
    PUser *m_users = nullptr;
    class Gruppa *m_gruppa = nullptr;
    class VybKagent *m_counterparties = nullptr;
    class Kagent *m_counterpartyCard = nullptr;
    class OrgEdit *m_orgEdit = nullptr;
    class Service *m_service = nullptr;
    class VybKart *m_employees = nullptr;
    class VyborMol *m_molPicker = nullptr;
    class VyborTG *m_catalogue = nullptr;
    class TtPod *m_goodsCard = nullptr;
    class FindtovarBarcode *m_barcodeLookup = nullptr;
    FWait *m_wait = nullptr;
    QTabWidget *m_pages = nullptr;
    QLabel *m_status = nullptr;
    QSpinBox *m_timesheetYear = nullptr;
    QComboBox *m_timesheetMonth = nullptr;
    QSpinBox *m_accrualsYear = nullptr;
    QDateEdit *m_journalFrom = nullptr;
    QDateEdit *m_journalTo = nullptr;
    QDateEdit *m_serviceDate = nullptr;
    bool m_loginShown = false;
    bool m_closing = false;
};
