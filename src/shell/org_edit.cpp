#include "shell/org_edit.h"

#include "common/screen_registry.h"
#include "common/sql_literals.h"
#include "common/win1251.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

struct TextColumn
{
    const char *column;
    const char *label;
    int maxLength;
};

// In the order of the update statement; opengruppa follows ogrn.
constexpr TextColumn kFirstTexts[] = {
    {"name", "Наименование", 100},
    {"inn", "ИНН", 20},
    {"kpp", "КПП", 20},
    {"adres", "Адрес юрид.", 100},
    {"adres2", "Адрес факт.", 100},
    {"phone", "Телефон", 50},
    {"ogrn", "ОГРН (ОГРНИП)", 25},
};

constexpr TextColumn kSecondTexts[] = {
    {"rukovod", "Руководитель", 60},
    {"doljnruk", "Должность руководителя", 60},
    {"glbuh", "Главный бухгалтер", 60},
    {"kassir", "Кассир", 60},
    {"bank", "Банк наименование", 100},
    {"bik", "БИК", 30},
    {"ksc", "Корр.счет", 30},
    {"rsc", "Расч.счет", 30},
    {"gorod", "Место подписания (для Актов)", 30},
    {"vlice", "Подписант актов (в лице, полностью должность, ФИО, полномочия)", 100},
    {"vliced", "Подписант актов должность", 100},
    {"vlicefio", "Подписант ФИО для актов", 100},
};

struct NumberColumn
{
    const char *column;
    const char *label;
};

constexpr NumberColumn kNumbers[] = {
    {"numscet", "№ Счета (заказ-наряда)"},
    {"numakt", "№ Акта выполненных работ"},
    {"numscf", "№ Сч.-ф (УПД)"},
};

} // namespace

OrgEdit::OrgEdit(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm552"));
    setWindowTitle(QStringLiteral("Настройки организации"));
    setupFields();
}

void OrgEdit::setupFields()
{
    const auto addTexts = [this](QFormLayout *form, const auto &columns) {
        for (const TextColumn &c : columns) {
            auto *edit = new QLineEdit(this);
            edit->setObjectName(QString::fromLatin1(c.column));
            edit->setMaxLength(c.maxLength);
            edit->setMinimumWidth(300);
            form->addRow(QString::fromUtf8(c.label), edit);
            m_texts.insert(QString::fromLatin1(c.column), edit);
        }
    };
    auto *left = new QFormLayout;
    addTexts(left, kFirstTexts);
    m_openGroups = new QCheckBox(QStringLiteral("В списке товары/услуги открывать все"), this);
    m_openGroups->setObjectName(QStringLiteral("opengruppa"));
    left->addRow(QString(), m_openGroups);
    for (const NumberColumn &c : kNumbers) {
        auto *number = new QDoubleSpinBox(this);
        number->setObjectName(QString::fromLatin1(c.column));
        number->setDecimals(0);
        number->setRange(0, 999999999999.0);
        number->setButtonSymbols(QAbstractSpinBox::NoButtons);
        left->addRow(QString::fromUtf8(c.label), number);
        m_numbers.insert(QString::fromLatin1(c.column), number);
    }
    const QString paymentLabels[2] = {QStringLiteral("Вид оплаты для Поступления"),
                                      QStringLiteral("Вид оплаты для Продажи")};
    for (int which = 1; which <= 2; ++which) {
        auto *field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("oplata%1").arg(which));
        field->setReadOnly(true);
        auto *button = new QToolButton(this);
        button->setText(QStringLiteral("..."));
        connect(button, &QToolButton::clicked, this, [this, which] { choosePayment(which); });
        auto *row = new QHBoxLayout;
        row->addWidget(field);
        row->addWidget(button);
        left->addRow(paymentLabels[which - 1], row);
        m_payments[which - 1] = field;
    }

    auto *right = new QFormLayout;
    addTexts(right, kSecondTexts);
    for (QFormLayout *form : {left, right})
        form->setLabelAlignment(Qt::AlignRight);

    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addSpacing(12);
    columns->addLayout(right, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    resize(1300, 480);
}

void OrgEdit::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    try {
        load();
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

void OrgEdit::load()
{
    const QSqlRecord row = m_ctx.db.query(QStringLiteral("select * from config2")).value(0);
    for (auto it = m_texts.cbegin(); it != m_texts.cend(); ++it)
        it.value()->setText(row.value(it.key()).toString().trimmed());
    m_openGroups->setChecked(row.value(QStringLiteral("opengruppa")).toDouble() == 1);
    for (auto it = m_numbers.cbegin(); it != m_numbers.cend(); ++it)
        it.value()->setValue(row.value(it.key()).toDouble());
    showPayment(1, row.value(QStringLiteral("oplata1")).toDouble());
    showPayment(2, row.value(QStringLiteral("oplata2")).toDouble());
}

void OrgEdit::showPayment(int which, double id)
{
    m_paymentIds[which - 1] = id;
    const QVariant name = m_ctx.db.scalar(QStringLiteral("select name from oplata where id=") + sqlId(id));
    m_payments[which - 1]->setText(name.isValid() ? name.toString().trimmed()
                                                  : QStringLiteral("*не найдено*"));
}

void OrgEdit::choosePayment(int which)
{
    Pick pick;
    pick.screen = QStringLiteral("gruppa");
    pick.table = QStringLiteral("oplata");
    pick.mode = 1;
    pick.currentId = m_paymentIds[which - 1];
    m_ctx.screens.open(pick);
    if (!pick.chosen)
        return;
    m_paymentIds[which - 1] = std::round(pick.id);
    m_payments[which - 1]->setText(pick.name.trimmed());
}

QString OrgEdit::updateStatement() const
{
    const auto text = [this](const char *column) {
        return QLatin1Char(',') + QString::fromLatin1(column) + QLatin1Char('=') +
               sqlText(m_texts.value(QString::fromLatin1(column))->text());
    };
    QStringList lines;
    lines << QStringLiteral("update config2 set name=") +
                 sqlText(m_texts.value(QStringLiteral("name"))->text());
    for (const TextColumn &c : kFirstTexts) {
        if (qstrcmp(c.column, "name") != 0)
            lines << text(c.column);
    }
    lines << QStringLiteral(",opengruppa=") +
                 (m_openGroups->isChecked() ? QLatin1Char('1') : QLatin1Char('0'));
    for (const TextColumn &c : kSecondTexts)
        lines << text(c.column);
    for (const NumberColumn &c : kNumbers)
        lines << QLatin1Char(',') + QString::fromLatin1(c.column) + QLatin1Char('=') +
                     sqlNum(m_numbers.value(QString::fromLatin1(c.column))->value());
    lines << QStringLiteral(",oplata1=") + sqlNum(m_paymentIds[0]);
    lines << QStringLiteral(",oplata2=") + sqlNum(m_paymentIds[1]);
    return lines.join(QLatin1Char('\n'));
}

bool OrgEdit::save()
{
    for (QLineEdit *field : std::as_const(m_texts)) {
        const QString message = win1251::unfitMessage(field->text());
        if (!message.isEmpty()) {
            m_ctx.desktop.warn({message});
            field->setFocus();
            return false;
        }
    }
    try {
        m_ctx.db.exec(QStringLiteral("update config set org=") +
                      sqlText(m_texts.value(QStringLiteral("name"))->text()));
        m_ctx.db.exec(updateStatement());
        m_ctx.db.commit();
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
        return false;
    }
    return true;
}
