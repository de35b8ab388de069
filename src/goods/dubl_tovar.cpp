#include "goods/dubl_tovar.h"

#include "common/grid_delegate.h"
#include "common/rows_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

DublTovar::DublTovar(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm75"));
    setWindowTitle(QStringLiteral("Товары дубликаты"));
    m_runDialog = [](DublTovar &list) { list.exec(); };

    auto *label = new QLabel(QStringLiteral("Внимание ! Обнаружены товары с данным кодом либо внешним кодом "
                                            "(важно для обмена с внешними программами)"),
                             this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: maroon; font-weight: bold;"));
    m_model = new RowsModel({QStringLiteral("Наименование товара"), QStringLiteral("Код товара"),
                             QStringLiteral("Внешний код")},
                            {QStringLiteral("name"), QStringLiteral("kod"), QStringLiteral("atolkod")}, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    setupGrid(m_grid);
    m_grid->setColumnWidth(0, 320);
    m_grid->setColumnWidth(1, 140);

    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
    resize(640, 320);
}

void DublTovar::run(const DbRows &rows)
{
    m_model->setRows(rows);
    m_runDialog(*this);
}

int DublTovar::rowCount() const
{
    return m_model->rowCount();
}
