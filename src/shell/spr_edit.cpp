#include "shell/spr_edit.h"

#include "common/screen_registry.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "common/win1251.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SprEdit::SprEdit(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm48"));
    setWindowTitle(QStringLiteral("Значение элемента Справочника"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Edit1"));
    m_name->setMaxLength(100);

    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Значение"), this));
    layout->addWidget(m_name);
    layout->addLayout(buttons);
    setMinimumWidth(460);
}

void SprEdit::load(double id)
{
    m_id = id;
    m_name->setText(m_ctx.db.scalar(QStringLiteral("select name from sprkand where id=") + sqlId(id))
                        .toString()
                        .trimmed());
}

bool SprEdit::save()
{
    const QString message = win1251::unfitMessage(m_name->text());
    if (!message.isEmpty()) {
        m_ctx.desktop.warn({message});
        m_name->setFocus();
        return false;
    }
    try {
        m_ctx.db.exec(QStringLiteral("update sprkand set name=") + sqlText(m_name->text()) +
                      QLatin1Char('\n') + QStringLiteral(",name2=") + sqlText(upperSearch(m_name->text())) +
                      QLatin1Char('\n') + QStringLiteral("where id=") + sqlId(m_id));
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
        return false;
    }
    return true;
}
