#include "shell/eduser.h"

#include "common/sql_literals.h"
#include "common/win1251.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <QComboBox>
#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

EdUser::EdUser(Db &db, Desktop &desktop, QWidget *parent) : QDialog(parent), m_db(db), m_desktop(desktop)
{
    setObjectName(QStringLiteral("TForm44"));
    setWindowTitle(QStringLiteral("Параметры пользователя"));
    setupFields();
}

void EdUser::setupFields()
{
    const auto edit = [this](const char *name, int maxLength) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(maxLength);
        return e;
    };
    m_login = edit("editLogin", 50);
    m_password = edit("editPassword", 50);
    m_fam = edit("editFam", 40);
    m_im = edit("editIm", 40);
    m_ot = edit("editOt", 40);
    m_level = new QComboBox(this);
    m_level->addItem(QStringLiteral("Администратор"));
    m_level->setEnabled(false);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Имя пользователя (Login)"), m_login);
    form->addRow(QStringLiteral("Пароль"), m_password);
    form->addRow(QStringLiteral("Фамилия"), m_fam);
    form->addRow(QStringLiteral("Имя"), m_im);
    form->addRow(QStringLiteral("Отчество"), m_ot);
    form->addRow(QStringLiteral("Уровень доступа"), m_level);

    m_history = new QTableWidget(0, 2, this);
    m_history->setHorizontalHeaderLabels({QStringLiteral("Вход"), QStringLiteral("Выход")});
    m_history->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_history->horizontalHeader()->setStretchLastSection(true);
    m_history->setColumnWidth(0, 160);

    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("История подключений к базе"), this));
    layout->addWidget(m_history);
    layout->addLayout(buttons);
}

void EdUser::load(double id)
{
    m_id = id;
    const DbRows rows = m_db.query(QStringLiteral("select * from userp where id=") + sqlId(id));
    const QSqlRecord user = rows.value(0);
    m_login->setText(user.value(QStringLiteral("login")).toString().trimmed());
    m_password->setText(user.value(QStringLiteral("passw")).toString().trimmed());
    m_fam->setText(user.value(QStringLiteral("fam")).toString().trimmed());
    m_im->setText(user.value(QStringLiteral("im")).toString().trimmed());
    m_ot->setText(user.value(QStringLiteral("ot")).toString().trimmed());
    m_storedLevel = int(user.value(QStringLiteral("uroven")).toDouble());
    m_level->setCurrentIndex(m_storedLevel - 1 < m_level->count() ? m_storedLevel - 1 : -1);

    const DbRows sessions =
        m_db.query(QStringLiteral("select * from obuser where iduser=") + sqlId(id) + QStringLiteral(" order by datstart DESC"));
    m_history->setRowCount(sessions.size());
    for (int r = 0; r < sessions.size(); ++r) {
        for (int c = 0; c < 2; ++c) {
            const QDateTime t = sessions[r].value(c == 0 ? QStringLiteral("timestart") : QStringLiteral("timeend")).toDateTime();
            m_history->setItem(r, c, new QTableWidgetItem(t.isValid() ? t.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")) : QString()));
        }
    }
    if (!sessions.isEmpty())
        m_history->setCurrentCell(sessions.size() - 1, 0);
}

bool EdUser::save()
{
    if (m_login->text().trimmed().isEmpty()) {
        m_desktop.warn({QStringLiteral("Не указан логин пользователя")});
        m_login->setFocus();
        return false;
    }
    for (QLineEdit *field : {m_login, m_password, m_fam, m_im, m_ot}) {
        const QString message = win1251::unfitMessage(field->text());
        if (!message.isEmpty()) {
            m_desktop.warn({message});
            field->setFocus();
            return false;
        }
    }
    // A level the drop-down does not offer is written back as it was.
    const int level = m_level->currentIndex() >= 0 ? m_level->currentIndex() + 1 : m_storedLevel;
    try {
        m_db.exec(QStringLiteral("update userp set login=") + sqlText(m_login->text()) + QLatin1Char('\n')
                  + QStringLiteral(",passw=") + sqlText(m_password->text()) + QLatin1Char('\n')
                  + QStringLiteral(",fam=") + sqlText(m_fam->text()) + QLatin1Char('\n')
                  + QStringLiteral(",im=") + sqlText(m_im->text()) + QLatin1Char('\n')
                  + QStringLiteral(",ot=") + sqlText(m_ot->text()) + QLatin1Char('\n')
                  + QStringLiteral(",uroven=") + QString::number(level) + QLatin1Char('\n')
                  + QStringLiteral("where id=") + sqlId(m_id));
    } catch (const DbError &e) {
        m_desktop.error({e.message()});
        return false;
    }
    return true;
}
