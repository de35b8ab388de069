#include "shell/vvodcislo2.h"

#include "shell/vvod_cislo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

VvodCislo2::VvodCislo2(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm605"));
    setWindowTitle(QStringLiteral("Ввод числа"));
    const auto label = [this](const char *name) {
        auto *l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setWordWrap(true);
        return l;
    };
    m_caption1 = label("Label1");
    m_caption2 = label("Label2");
    m_caption3 = label("Label3");
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("JvCalcEdit1"));
    VvodCislo::setNumberInput(m_field);

    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &VvodCislo2::confirm);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &VvodCislo2::reject);

    auto *valueRow = new QHBoxLayout;
    valueRow->addWidget(m_caption3);
    valueRow->addWidget(m_field);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_caption1);
    layout->addWidget(m_caption2);
    layout->addLayout(valueRow);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

void VvodCislo2::setValue(double value)
{
    m_field->setText(VvodCislo::numberText(value));
}

double VvodCislo2::value() const
{
    return VvodCislo::numberOf(m_field->text());
}

void VvodCislo2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_field->setFocus();
    m_field->selectAll();
}

void VvodCislo2::confirm()
{
    m_confirmed = true;
    accept();
}

void VvodCislo2::reject()
{
    m_confirmed = false;
    QDialog::reject();
}
