#pragma once

#include <QDate>
#include <QDialog>

class QDateEdit;
class QLabel;

// "Ввод даты": one date. The caller sets the date, runs it modally and reads
// confirmed() and date(). Dates before 01.01.1910 count as empty and are refused.
class VvodData final : public QDialog
{
    Q_OBJECT

public:
    explicit VvodData(QWidget *parent = nullptr);

    QLabel *caption() const { return m_caption; }
    QDateEdit *field() const { return m_field; }
    void setDate(const QDate &date);
    QDate date() const;
    bool confirmed() const { return m_confirmed; }

    // "Ok !"; false (the focus stays in the field) when refused.
    bool confirm();
    // "Отмена" or Escape.
    void reject() override;

    static QDate earliestDate() { return QDate(1910, 1, 1); }

private:
    QLabel *m_caption = nullptr;
    QDateEdit *m_field = nullptr;
    bool m_confirmed = false;
};
