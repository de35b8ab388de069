#pragma once

#include <QDialog>

class Db;
class Desktop;
class QComboBox;
class QLineEdit;
class QTableWidget;

// "Параметры пользователя": login, password, name and level of one user,
// with the history of the user's sessions. Saving does not commit.
class EdUser final : public QDialog
{
    Q_OBJECT

public:
    EdUser(Db &db, Desktop &desktop, QWidget *parent = nullptr);

    void load(double id);
    // "Ok !"; false (and the editor stays open) when the input is refused.
    bool save();

    QLineEdit *loginEdit() const { return m_login; }
    QLineEdit *passwordEdit() const { return m_password; }
    QLineEdit *famEdit() const { return m_fam; }
    QLineEdit *imEdit() const { return m_im; }
    QLineEdit *otEdit() const { return m_ot; }
    QTableWidget *history() const { return m_history; }

private:
    void setupFields();

    Db &m_db;
    Desktop &m_desktop;
    double m_id = 0;
    int m_storedLevel = 1;
    QLineEdit *m_login = nullptr;
    QLineEdit *m_password = nullptr;
    QLineEdit *m_fam = nullptr;
    QLineEdit *m_im = nullptr;
    QLineEdit *m_ot = nullptr;
    QComboBox *m_level = nullptr;
    QTableWidget *m_history = nullptr;
};
