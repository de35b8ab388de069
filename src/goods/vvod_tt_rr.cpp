#include "goods/vvod_tt_rr.h"

#include "common/sql_literals.h"
#include "common/text_case.h"
#include "common/win1251.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kSections = QStringLiteral("select * from razdel order by name");

bool isGroups(const QString &table)
{
    return table.compare(QLatin1String("gruppat"), Qt::CaseInsensitive) == 0;
}

bool isSections(const QString &table)
{
    return table.compare(QLatin1String("razdel"), Qt::CaseInsensitive) == 0;
}

} // namespace

VvodTtRr::VvodTtRr(Db &db, Desktop &desktop, QWidget *parent) : QDialog(parent), m_db(db), m_desktop(desktop)
{
    setObjectName(QStringLiteral("TForm66"));
    setWindowTitle(QStringLiteral("Ввод данных"));
    setupFields();
    resize(460, 160);
}

void VvodTtRr::setupFields()
{
    m_nameLabel = new QLabel(QStringLiteral("Наименование"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("JvEdit1"));
    m_name->setMaxLength(100);
    m_sectionLabel = new QLabel(QStringLiteral("Раздел"), this);
    m_section = new QComboBox(this);
    m_section->setObjectName(QStringLiteral("ComboBox1"));

    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    auto *cancel = new QPushButton(QStringLiteral("Отменить"), this);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_nameLabel);
    layout->addWidget(m_name);
    layout->addWidget(m_sectionLabel);
    layout->addWidget(m_section);
    layout->addStretch();
    layout->addLayout(buttons);
}

void VvodTtRr::load(const QString &table, double id)
{
    m_table = table;
    m_id = id;
    m_nameLabel->setText(isGroups(table)     ? QStringLiteral("Наименование Группа")
                         : isSections(table) ? QStringLiteral("Наименование Раздел")
                                             : QStringLiteral("Наименование"));
    const QSqlRecord row =
        m_db.query(QStringLiteral("select * from ") + table + QStringLiteral(" where id=") + sqlId(id))
            .value(0);
    m_name->setText(row.value(QStringLiteral("name")).toString().trimmed());

    m_sectionLabel->setVisible(isGroups(table));
    m_section->setVisible(isGroups(table));
    m_section->clear();
    if (!isGroups(table))
        return;
    const double sectionId = row.value(QStringLiteral("idrazdel")).toDouble();
    for (const QSqlRecord &section : m_db.query(kSections)) {
        m_section->addItem(section.value(QStringLiteral("name")).toString().trimmed());
        if (section.value(QStringLiteral("id")).toDouble() == sectionId)
            m_section->setCurrentIndex(m_section->count() - 1);
    }
}

// The section is found again by its shown name; with two equal names the
// later one in the list wins, and an unknown name means no section.
double VvodTtRr::chosenSectionId()
{
    const QString chosen = m_section->currentText();
    double id = 0;
    for (const QSqlRecord &section : m_db.query(kSections)) {
        if (section.value(QStringLiteral("name")).toString().trimmed() == chosen)
            id = section.value(QStringLiteral("id")).toDouble();
    }
    return id;
}

bool VvodTtRr::save()
{
    const QString message = win1251::unfitMessage(m_name->text());
    if (!message.isEmpty()) {
        m_desktop.warn({message});
        m_name->setFocus();
        return false;
    }
    // Section names are kept in capitals.
    const QString name =
        isSections(m_table) ? upperWin1251(m_name->text().trimmed()) : m_name->text().trimmed();
    try {
        QString sql = QStringLiteral("update ") + m_table + QStringLiteral(" set name=") + sqlText(name) +
                      QStringLiteral(",name2=") + sqlText(upperSearch(name));
        if (isGroups(m_table))
            sql += QStringLiteral(",idrazdel=") + sqlId(chosenSectionId());
        m_db.exec(sql + QStringLiteral(" where id=") + sqlId(m_id));
    } catch (const DbError &e) {
        m_desktop.error({e.message()});
        return false;
    }
    return true;
}
