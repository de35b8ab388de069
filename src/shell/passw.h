#pragma once

#include <QDialog>

#include <memory>

class Db;
class Desktop;
class QLineEdit;
class QPushButton;
class QSystemSemaphore;
struct Session;

// The login screen: connects the database named in its fields, brings its
// schema up to the program's version when the user agrees, checks the user
// and writes the session row. Accepted on a successful login; rejected on
// "Отмена", on the fourth failed attempt and when the update program starts.
class Passw final : public QDialog
{
    Q_OBJECT

public:
    Passw(Session &session, Db &db, Desktop &desktop, QWidget *parent = nullptr);
    ~Passw() override;

    // What the screen does each time it opens: caption, saved fields, launch counter.
    void prepare();
    // "СТАРТ"; true when the user is logged in.
    bool start();
    void browse();
    void backup();
    void restore();
    void firebird();
    void instruction();
    void update();
    void cancel();

    int failedAttempts() const { return m_failed; }
    QLineEdit *loginEdit() const { return m_login; }
    QLineEdit *passwordEdit() const { return m_password; }
    QLineEdit *serverEdit() const { return m_server; }
    QLineEdit *databaseEdit() const { return m_database; }

signals:
    void statusChanged(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    void setupFields();
    void connectActions();
    void countLaunch();
    bool checkDatabaseFile();
    bool connectDatabase();
    bool checkVersion();
    bool checkUser();
    void writeServerFile() const;

    Session &m_session;
    Db &m_db;
    Desktop &m_desktop;
    std::unique_ptr<QSystemSemaphore> m_mutex;
    int m_failed = 0;
    QLineEdit *m_login = nullptr;
    QLineEdit *m_password = nullptr;
    QLineEdit *m_server = nullptr;
    QLineEdit *m_database = nullptr;
    QPushButton *m_start = nullptr;
};
