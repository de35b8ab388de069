#include "goods/kagent.h"

#include "common/sql_literals.h"
#include "common/text_case.h"
#include "common/win1251.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct Field
{
    const char *column;
    const char *caption;
    int limit;
};

// In the order of the card and of the update statement.
const Field kFields[] = {
    {"name", "Наименование ", 100},
    {"inn", "ИНН", 20},
    {"kpp", "КПП", 20},
    {"adres", "Адрес юрид.", 100},
    {"adres2", "Адрес факт.", 100},
    {"phone", "Телефон", 50},
    {"ogrn", "ОГРН (ОГРНИП)", 25},
    {"rukovod", "Руководитель", 60},
    {"doljnruk", "Должность руководителя", 60},
    {"glbuh", "Главный бухгалтер", 60},
    {"bank", "Банк наименование", 100},
    {"bik", "БИК", 30},
    {"ksc", "Корр.счет", 30},
    {"rsc", "Расч.счет", 30},
    {"vlice", "Подписант актов (в лице, полностью должность, ФИО, полномочия)", 100},
    {"vliced", "Подписант актов должность", 100},
    {"vlicefio", "Подписант ФИО для актов", 100},
};

} // namespace

Kagent::Kagent(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm58"));
    setWindowTitle(QStringLiteral("Контрагенты"));
    m_runDialog = [](Kagent &card) { card.exec(); };
    setupFields();
    connectActions();
    resize(760, 0);
}

void Kagent::setupFields()
{
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (const Field &f : kFields) {
        auto *edit = new QLineEdit(this);
        const QString column = QString::fromLatin1(f.column);
        edit->setObjectName(column);
        edit->setMaxLength(f.limit);
        m_fields.insert(column, edit);
        auto *label = new QLabel(QString::fromUtf8(f.caption), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // The signatory's caption is a sentence: two lines beside its box.
        if (column == QLatin1String("vlice")) {
            label->setWordWrap(true);
            label->setFixedWidth(250);
            label->setMinimumHeight(2 * label->fontMetrics().height() + 4);
        }
        label->setBuddy(edit);
        form->addRow(label, edit);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
}

void Kagent::connectActions()
{
    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Kagent::okClicked);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &Kagent::cancelClicked);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    static_cast<QVBoxLayout *>(layout())->addLayout(buttons);
}

void Kagent::run(Pick &pick)
{
    try {
        load(pick.currentId);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
        return;
    }
    setResult(Rejected);
    m_fields.value(QStringLiteral("name"))->setFocus();
    m_runDialog(*this);
    pick.chosen = result() == Accepted;
    pick.id = m_id;
    pick.name = m_fields.value(QStringLiteral("name"))->text().trimmed();
}

void Kagent::load(double id)
{
    m_id = id;
    const QSqlRecord row =
        m_ctx.db.query(QStringLiteral("select * from post where id=") + sqlId(id)).value(0);
    for (const Field &f : kFields) {
        const QString column = QString::fromLatin1(f.column);
        m_fields.value(column)->setText(row.value(column).toString().trimmed());
    }
}

bool Kagent::save()
{
    for (const Field &f : kFields) {
        QLineEdit *edit = m_fields.value(QString::fromLatin1(f.column));
        const QString message = win1251::unfitMessage(edit->text());
        if (!message.isEmpty()) {
            m_ctx.desktop.warn({message});
            edit->setFocus();
            return false;
        }
    }
    const auto text = [this](const char *column) {
        return m_fields.value(QString::fromLatin1(column))->text();
    };
    QString sql = QStringLiteral("update post set name=") + sqlText(text("name"));
    for (const Field &f : kFields) {
        const QString column = QString::fromLatin1(f.column);
        if (column == QLatin1String("name"))
            sql += QStringLiteral(",name2=") + sqlText(upperSearch(text("name")));
        else
            sql += QLatin1Char(',') + column + QLatin1Char('=') + sqlText(text(f.column));
        // The upper-case copy of the actual address serves address searches and is never shown.
        if (column == QLatin1String("adres2"))
            sql += QStringLiteral(",adres3=") + sqlText(upperSearch(text("adres2")));
    }
    sql += QStringLiteral(" where id=") + sqlId(m_id);
    try {
        m_ctx.db.exec(sql);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
        return false;
    }
    return true;
}

void Kagent::okClicked()
{
    if (save())
        accept();
}

void Kagent::cancelClicked()
{
    if (m_ctx.desktop.ask({QStringLiteral("Выйти без сохранения ?")}, true))
        QDialog::reject();
}

// Escape and the window's close button ask the same question as "Отмена".
void Kagent::reject()
{
    cancelClicked();
}
