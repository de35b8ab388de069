#include "shell/vvod_cislo.h"

#include "common/numtools.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

VvodCislo::VvodCislo(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm541"));
    setWindowTitle(QStringLiteral("Ввод числа"));
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("Label1"));
    m_caption->setWordWrap(true);
    m_caption2 = new QLabel(this);
    m_caption2->setObjectName(QStringLiteral("Label2"));
    m_caption2->setWordWrap(true);
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("JvCalcEdit1"));
    setNumberInput(m_field);
    m_maxLabel = new QLabel(this);
    m_maxLabel->setObjectName(QStringLiteral("Label3"));

    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &VvodCislo::confirm);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &VvodCislo::reject);

    auto *valueRow = new QHBoxLayout;
    valueRow->addWidget(m_field);
    valueRow->addWidget(m_maxLabel);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addWidget(m_caption2);
    layout->addLayout(valueRow);
    layout->addLayout(buttons);
    setMinimumWidth(360);
    setValue(1);
}

void VvodCislo::setNumberInput(QLineEdit *field)
{
    static const QRegularExpression number(QStringLiteral("^-?\\d*([.,]\\d*)?$"));
    field->setValidator(new QRegularExpressionValidator(number, field));
    field->setAlignment(Qt::AlignRight);
}

QString VvodCislo::numberText(double value)
{
    QString text = QString::number(DRound(2, value), 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

double VvodCislo::numberOf(const QString &text)
{
    QString plain = text.trimmed();
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    return plain.toDouble();
}

void VvodCislo::setMaximum(double maximum)
{
    m_maximum = maximum;
    m_maxLabel->setText(maximum == -1 ? QString() : QStringLiteral("max=") + numberText(maximum));
}

void VvodCislo::setValue(double value)
{
    m_field->setText(numberText(value));
}

double VvodCislo::value() const
{
    return numberOf(m_field->text());
}

bool VvodCislo::confirm()
{
    if (m_maximum != -1 && value() > m_maximum) {
        m_field->setFocus();
        return false;
    }
    m_confirmed = true;
    accept();
    return true;
}

void VvodCislo::reject()
{
    m_confirmed = false;
    QDialog::reject();
}
