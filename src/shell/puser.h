#pragma once

#include <QDialog>

#include <functional>
#include <QSqlRecord>
#include <QVector>

class Db;
class Desktop;
class EdUser;
class QTableView;
class UserListModel;
struct Session;

// "Пользователи": the users of levels 1 and above with their last session.
// Nothing is committed here; the menu action commits once the screen closes.
class PUser final : public QDialog
{
    Q_OBJECT

public:
    PUser(Session &session, Db &db, Desktop &desktop, QWidget *parent = nullptr);

    void load();
    void addUser();
    void editUser();
    void deleteUser();
    int rowCount() const;
    double currentId() const;
    void setCurrentRow(int row);
    EdUser *editor() const { return m_editor; }
    // The editor opens modally unless a test drives it without a window.
    void setEditorRunner(std::function<void(EdUser &)> runner) { m_runEditor = std::move(runner); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setupGrid();
    void connectActions();
    void runEditor(double id);
    void selectId(double id);

    Session &m_session;
    Db &m_db;
    Desktop &m_desktop;
    UserListModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    EdUser *m_editor = nullptr;
    std::function<void(EdUser &)> m_runEditor;
};
