#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// "Ввод числа" with three captions the caller sets (a name, a remark and the
// field's own label); the caller sets the value, runs it modally and reads
// confirmed() and value().
class VvodCislo2 final : public QDialog
{
    Q_OBJECT

public:
    explicit VvodCislo2(QWidget *parent = nullptr);

    QLabel *caption1() const { return m_caption1; }
    QLabel *caption2() const { return m_caption2; }
    QLabel *caption3() const { return m_caption3; }
    QLineEdit *field() const { return m_field; }

    void setValue(double value);
    double value() const;
    bool confirmed() const { return m_confirmed; }

    // "Ok !" or Enter.
    void confirm();
    // "Отмена" or Escape.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_caption1 = nullptr;
    QLabel *m_caption2 = nullptr;
    QLabel *m_caption3 = nullptr;
    QLineEdit *m_field = nullptr;
    bool m_confirmed = false;
};
