#pragma once

#include <QDialog>

class Db;
class Desktop;
class QComboBox;
class QLabel;
class QLineEdit;

// "Ввод данных": the name of one row of a reference table and, for a group,
// its section. save() writes one update and does not commit; the caller does.
class VvodTtRr final : public QDialog
{
    Q_OBJECT

public:
    VvodTtRr(Db &db, Desktop &desktop, QWidget *parent = nullptr);

    // Throws DbError when the row or the sections cannot be read.
    void load(const QString &table, double id);
    // "Ok !"; false (and the dialog stays open) when the input is refused.
    bool save();

    QLineEdit *nameEdit() const { return m_name; }
    QComboBox *sectionBox() const { return m_section; }
    QLabel *nameLabel() const { return m_nameLabel; }

private:
    void setupFields();
    double chosenSectionId();

    Db &m_db;
    Desktop &m_desktop;
    QString m_table;
    double m_id = 0;
    QLabel *m_nameLabel = nullptr;
    QLineEdit *m_name = nullptr;
    QLabel *m_sectionLabel = nullptr;
    QComboBox *m_section = nullptr;
};
