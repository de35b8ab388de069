#include "shell/vvodstroka.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

VvodStroka::VvodStroka(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm687"));
    setWindowTitle(QStringLiteral("Ввод строки"));
    m_caption = new QLabel(QStringLiteral("Примечание"), this);
    m_caption->setObjectName(QStringLiteral("Label1"));
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("Edit1"));
    m_field->setMaxLength(255);

    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &VvodStroka::confirm);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &VvodStroka::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addWidget(m_field);
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

QString VvodStroka::text() const
{
    return m_field->text();
}

void VvodStroka::confirm()
{
    m_confirmed = true;
    accept();
}

void VvodStroka::reject()
{
    m_confirmed = false;
    QDialog::reject();
}
