#include "personnel/kart_ed2.h"

#include "common/sql_literals.h"
#include "common/text_case.h"
#include "common/win1251.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

KartEd2::KartEd2(Db &db, Desktop &desktop, QWidget *parent) : QDialog(parent), m_db(db), m_desktop(desktop)
{
    setObjectName(QStringLiteral("TForm60"));
    setWindowTitle(QStringLiteral("Сотрудник"));
    setupFields();
    resize(420, 0);
}

void KartEd2::setupFields()
{
    const auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(kFieldLength);
        return e;
    };
    m_fam = edit("JvEdit1");
    m_im = edit("JvEdit2");
    m_ot = edit("JvEdit3");
    m_doljnost = edit("JvEdit4");

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Фамилия"), m_fam);
    form->addRow(QStringLiteral("Имя"), m_im);
    form->addRow(QStringLiteral("Отчество"), m_ot);
    form->addRow(QStringLiteral("Должность"), m_doljnost);

    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &KartEd2::okClicked);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &KartEd2::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void KartEd2::load(double id)
{
    m_id = id;
    const QSqlRecord kart = m_db.query(QStringLiteral("select * from kart where id=") + sqlId(id)).value(0);
    m_fam->setText(kart.value(QStringLiteral("fam")).toString().trimmed());
    m_im->setText(kart.value(QStringLiteral("im")).toString().trimmed());
    m_ot->setText(kart.value(QStringLiteral("ot")).toString().trimmed());
    m_doljnost->setText(kart.value(QStringLiteral("doljnost")).toString().trimmed());
    m_fam->setFocus();
}

bool KartEd2::save()
{
    for (QLineEdit *field : {m_fam, m_im, m_ot, m_doljnost}) {
        const QString message = win1251::unfitMessage(field->text());
        if (!message.isEmpty()) {
            m_desktop.warn({message});
            field->setFocus();
            return false;
        }
    }
    // The search copy is built from the trimmed parts, so blanks typed around a part never reach it.
    const QString fio2 =
        QStringList{upperSearch(m_fam->text()), upperSearch(m_im->text()), upperSearch(m_ot->text())}.join(
            QLatin1Char(' '));
    try {
        m_db.exec(QStringLiteral("update kart set fam=") + sqlText(m_fam->text()) + QLatin1Char('\n') +
                  QStringLiteral(",im=") + sqlText(m_im->text()) + QLatin1Char('\n') +
                  QStringLiteral(",ot=") + sqlText(m_ot->text()) + QLatin1Char('\n') +
                  QStringLiteral(",doljnost=") + sqlText(m_doljnost->text()) + QLatin1Char('\n') +
                  QStringLiteral(",fio2=") + sqlText(fio2) + QLatin1Char('\n') + QStringLiteral("where id=") +
                  sqlId(m_id));
        m_db.commit();
    } catch (const DbError &e) {
        m_desktop.error({e.message()});
        return false;
    }
    return true;
}

void KartEd2::okClicked()
{
    if (save())
        accept();
}

void KartEd2::reject()
{
    if (m_desktop.ask(
            {QStringLiteral("Выйти без сохранения. Все изменения в карточке сотрудника будут утеряны.")}))
        QDialog::reject();
}
