#include "shell/vvoddata.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

VvodData::VvodData(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm602"));
    setWindowTitle(QStringLiteral("Ввод даты"));
    m_caption = new QLabel(QStringLiteral("Дата операции"), this);
    m_caption->setObjectName(QStringLiteral("Label1"));
    m_field = new QDateEdit(this);
    m_field->setObjectName(QStringLiteral("JvDateEdit1"));
    m_field->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_field->setCalendarPopup(true);
    // Earlier dates stay typeable so that they can be refused with the focus kept.
    m_field->setMinimumDate(QDate(1900, 1, 1));
    m_field->setDate(QDate::currentDate());

    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &VvodData::confirm);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &VvodData::reject);

    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(m_caption);
    dateRow->addWidget(m_field);
    dateRow->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(dateRow);
    layout->addLayout(buttons);
    setMinimumWidth(300);
}

void VvodData::setDate(const QDate &date)
{
    m_field->setDate(date);
}

QDate VvodData::date() const
{
    return m_field->date();
}

bool VvodData::confirm()
{
    if (date() < earliestDate()) {
        m_field->setFocus();
        return false;
    }
    m_confirmed = true;
    accept();
    return true;
}

void VvodData::reject()
{
    m_confirmed = false;
    QDialog::reject();
}
