#pragma once

#include <QDialog>

class Db;
class Desktop;
class QLineEdit;

// "Сотрудник": the short card of the employee directory, surname, first name,
// patronymic and position. "Ok !" writes them with the search copy and
// commits; "Отмена" only closes, after the user agrees to lose the changes.
class KartEd2 final : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kFieldLength = 20;

    KartEd2(Db &db, Desktop &desktop, QWidget *parent = nullptr);

    void load(double id);
    // "Ok !"; false (and the card stays open) when the input is refused or the server fails.
    bool save();
    double id() const { return m_id; }

    QLineEdit *famEdit() const { return m_fam; }
    QLineEdit *imEdit() const { return m_im; }
    QLineEdit *otEdit() const { return m_ot; }
    QLineEdit *doljnostEdit() const { return m_doljnost; }

public slots:
    // "Отмена", Escape and the window's close button all ask before leaving.
    void reject() override;

private:
    void setupFields();
    void okClicked();

    Db &m_db;
    Desktop &m_desktop;
    double m_id = 0;
    QLineEdit *m_fam = nullptr;
    QLineEdit *m_im = nullptr;
    QLineEdit *m_ot = nullptr;
    QLineEdit *m_doljnost = nullptr;
};
