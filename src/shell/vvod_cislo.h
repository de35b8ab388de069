#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// "Ввод числа" with an upper limit. The caller sets the captions, the maximum
// (-1 = none) and the starting value, runs it modally and then reads
// confirmed() and value(). A value above the maximum is refused.
class VvodCislo final : public QDialog
{
    Q_OBJECT

public:
    explicit VvodCislo(QWidget *parent = nullptr);

    QLabel *caption() const { return m_caption; }
    QLabel *caption2() const { return m_caption2; }
    QLabel *maxLabel() const { return m_maxLabel; }
    QLineEdit *field() const { return m_field; }

    void setMaximum(double maximum);
    double maximum() const { return m_maximum; }
    void setValue(double value);
    double value() const;
    bool confirmed() const { return m_confirmed; }

    // "Ok !" or Enter; false (the focus stays in the field) when refused.
    bool confirm();
    // "Отмена" or Escape.
    void reject() override;

    // The "0.##" form of a number, with the locale's decimal point.
    static QString numberText(double value);
    // A typed number, with either a point or a comma; 0 when there is none.
    static double numberOf(const QString &text);
    // Shared by the number dialogs: digits with one decimal point or comma.
    static void setNumberInput(QLineEdit *field);

private:
    QLabel *m_caption = nullptr;
    QLabel *m_caption2 = nullptr;
    QLabel *m_maxLabel = nullptr;
    QLineEdit *m_field = nullptr;
    double m_maximum = -1;
    bool m_confirmed = false;
};
