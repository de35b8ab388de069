#include "goods/vyb_kagent.h"

#include "common/grid_delegate.h"
#include "common/rows_model.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "common/win1251.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

class KagentListModel final : public RowsModel
{
    Q_OBJECT

public:
    enum Column { Name, Inn, Adres, ColumnCount };

    explicit KagentListModel(QObject *parent)
        : RowsModel({QStringLiteral("Наименование"), QStringLiteral("ИНН"), QStringLiteral("Адрес")},
                    {QStringLiteral("name"), QStringLiteral("inn"), QStringLiteral("adres")}, parent)
    {
    }
};

VybKagent::VybKagent(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm59"));
    setWindowTitle(QStringLiteral("Контрагенты"));
    m_runDialog = [](VybKagent &screen) { screen.exec(); };
    setupGrid();
    connectActions();
    resize(760, 560);
}

void VybKagent::setupGrid()
{
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("JvEdit1"));
    m_filter->setPlaceholderText(QStringLiteral("Фильтр по Наименованию Контрагента"));
    m_filter->setToolTip(QStringLiteral("Фильтр по Наименованию Контрагента"));
    m_filter->setMaxLength(100);
    m_model = new KagentListModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    ::setupGrid(m_grid);
    m_grid->setColumnWidth(KagentListModel::Name, 300);
    m_grid->setColumnWidth(KagentListModel::Inn, 120);

    auto *apply = new QPushButton(QStringLiteral("Применить"), this);
    apply->setAutoDefault(false);
    connect(apply, &QPushButton::clicked, this, &VybKagent::filterChanged);
    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(QStringLiteral("Наименование"), this));
    filterRow->addWidget(m_filter);
    filterRow->addWidget(apply);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(m_grid);
}

void VybKagent::connectActions()
{
    auto *buttons = new QHBoxLayout;
    const auto add = [this, buttons](const QString &text, void (VybKagent::*action)()) {
        auto *button = new QPushButton(text, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
        return button;
    };
    add(QStringLiteral("Добавить запись"), &VybKagent::addRecord);
    add(QStringLiteral("Редактировать запись"), &VybKagent::editRecord);
    add(QStringLiteral("Удалить запись"), &VybKagent::deleteRecord);
    buttons->addStretch();
    // Enter in the filter box takes the counterparty found.
    add(QStringLiteral("Ok !"), &VybKagent::okClicked)->setDefault(true);
    add(QStringLiteral("Отмена"), &VybKagent::cancelClicked);
    static_cast<QVBoxLayout *>(layout())->addLayout(buttons);

    connect(m_grid, &QTableView::doubleClicked, this, &VybKagent::gridDoubleClicked);
    connect(m_filter, &QLineEdit::textChanged, this, &VybKagent::filterChanged);
}

void VybKagent::run(Pick &pick)
{
    m_mode = pick.mode == Maintain ? Maintain : Select;
    m_currentId = pick.currentId;
    m_chosen = false;
    m_chosenName.clear();
    {
        // One query for the cleared filter, not one per signal.
        const QSignalBlocker blocker(m_filter);
        m_filter->clear();
    }
    try {
        load();
        selectId(m_currentId);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
    m_filter->setFocus();
    m_runDialog(*this);
    m_mode = Select;
    pick.chosen = m_chosen;
    if (m_chosen) {
        pick.id = m_currentId;
        pick.name = m_chosenName;
    }
}

void VybKagent::filterChanged()
{
    try {
        load();
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

void VybKagent::load()
{
    const double keep = currentId();
    const QString filter = upperSearch(m_filter->text());
    // A letter the database cannot hold matches no name; the server would refuse the statement.
    if (!win1251::fits(filter)) {
        m_model->setRows({});
        return;
    }
    QString sql = QStringLiteral("select p.* from post p where p.id>0");
    if (!filter.isEmpty())
        sql += QStringLiteral(" and p.name2 like ") + sqlText(QLatin1Char('%') + filter + QLatin1Char('%'));
    sql += QStringLiteral(" order by p.name");
    m_model->setRows(m_ctx.db.query(sql));
    if (!selectId(keep) && m_model->rowCount() > 0)
        setCurrentRow(0);
}

int VybKagent::rowCount() const
{
    return m_model->rowCount();
}

double VybKagent::currentId() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? m_model->row(index.row()).value(QStringLiteral("id")).toDouble() : 0;
}

QString VybKagent::currentName() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? m_model->row(index.row()).value(QStringLiteral("name")).toString().trimmed()
                           : QString();
}

void VybKagent::setCurrentRow(int row)
{
    m_grid->setCurrentIndex(m_model->index(row, 0));
}

bool VybKagent::selectId(double id)
{
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (m_model->row(r).value(QStringLiteral("id")).toDouble() == id) {
            setCurrentRow(r);
            return true;
        }
    }
    return false;
}

void VybKagent::reload(double id)
{
    load();
    selectId(id);
}

void VybKagent::okClicked()
{
    if (m_mode == Select) {
        if (rowCount() == 0)
            return;
        m_currentId = currentId();
        m_chosenName = currentName();
        m_chosen = true;
    }
    accept();
}

void VybKagent::cancelClicked()
{
    m_chosen = false;
    reject();
}

void VybKagent::gridDoubleClicked()
{
    if (m_mode == Select)
        okClicked();
    else
        editRecord();
}

void VybKagent::openCard(double id)
{
    Pick card;
    card.screen = QStringLiteral("kagent");
    card.currentId = id;
    m_ctx.screens.open(card);
}

void VybKagent::addRecord()
{
    try {
        const double id = m_ctx.db.newId(QStringLiteral("deti"));
        m_ctx.db.exec(QStringLiteral("insert into post (id) values (") + sqlId(id) + QLatin1Char(')'));
        openCard(id);
        m_ctx.db.commit();
        reload(id);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

void VybKagent::editRecord()
{
    if (rowCount() == 0)
        return;
    const double id = currentId();
    try {
        openCard(id);
        m_ctx.db.commit();
        reload(id);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

void VybKagent::deleteRecord()
{
    const double id = currentId();
    if (rowCount() == 0 || id == 0)
        return;
    try {
        if (!m_ctx.db.query(QStringLiteral("select * from oper where idpost=") + sqlId(id)).isEmpty()) {
            m_ctx.desktop.warn({QStringLiteral("Удаление невозможно, есть ссылки на данную запись")});
            return;
        }
        if (!m_ctx.desktop.ask({QStringLiteral("Удалить запись")}, true))
            return;
        m_ctx.db.exec(QStringLiteral("delete from post where id=") + sqlId(id));
        m_ctx.db.commit();
        load();
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

#include "vyb_kagent.moc"
