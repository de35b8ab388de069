#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// "Ввод строки": one text. The caller empties or fills the field, runs it
// modally and reads confirmed() and text().
class VvodStroka final : public QDialog
{
    Q_OBJECT

public:
    explicit VvodStroka(QWidget *parent = nullptr);

    QLabel *caption() const { return m_caption; }
    QLineEdit *field() const { return m_field; }
    QString text() const;
    bool confirmed() const { return m_confirmed; }

    // "Ok !".
    void confirm();
    // "Отмена" or Escape.
    void reject() override;

private:
    QLabel *m_caption = nullptr;
    QLineEdit *m_field = nullptr;
    bool m_confirmed = false;
};
