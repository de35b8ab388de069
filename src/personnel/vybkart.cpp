#include "personnel/vybkart.h"

#include "common/grid_delegate.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "personnel/kart_ed2.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

class KartListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Fio2, Doljnost, ColumnCount };

    explicit KartListModel(QObject *parent) : QAbstractTableModel(parent) {}

    void setRows(const DbRows &rows)
    {
        beginResetModel();
        m_rows = rows;
        endResetModel();
    }
    const QSqlRecord &row(int r) const { return m_rows.at(r); }
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_rows.size();
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : ColumnCount;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return section == Fio2 ? QStringLiteral("ФИО") : QStringLiteral("Должность");
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return m_rows.at(index.row())
            .value(index.column() == Fio2 ? QStringLiteral("fio2") : QStringLiteral("doljnost"))
            .toString()
            .trimmed();
    }

private:
    DbRows m_rows;
};

VybKart::VybKart(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm20"));
    setWindowTitle(QStringLiteral("Выбор сотрудника"));
    m_card = new KartEd2(m_ctx.db, m_ctx.desktop, this);
    m_runCard = [](KartEd2 &card) { card.exec(); };
    m_runDialog = [](VybKart &screen) { screen.exec(); };
    setupGrid();
    connectActions();
    resize(560, 600);
}

void VybKart::setupGrid()
{
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("JvEdit1"));
    m_search->setMaxLength(100);
    m_model = new KartListModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    ::setupGrid(m_grid);
    m_grid->setColumnWidth(KartListModel::Fio2, 320);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Поиск по ФИО"), this));
    searchRow->addWidget(m_search);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(m_grid);
}

void VybKart::connectActions()
{
    auto *buttons = new QHBoxLayout;
    const auto add = [this, buttons](const QString &text, void (VybKart::*action)()) {
        auto *button = new QPushButton(text, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
        return button;
    };
    add(QStringLiteral("Добавить"), &VybKart::addRecord);
    add(QStringLiteral("Изменить"), &VybKart::editRecord);
    add(QStringLiteral("Удалить"), &VybKart::deleteRecord);
    buttons->addStretch();
    add(QStringLiteral("Ok !"), &VybKart::okClicked)->setDefault(true);
    static_cast<QVBoxLayout *>(layout())->addLayout(buttons);

    connect(m_grid, &QTableView::doubleClicked, this, &VybKart::gridDoubleClicked);
    connect(m_search, &QLineEdit::textChanged, this, &VybKart::searchChanged);
}

void VybKart::run(Pick &pick)
{
    m_mode = pick.mode == Directory ? Directory : Select;
    m_chosen = false;
    try {
        load();
        if (m_mode == Select)
            selectId(pick.currentId);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
    m_grid->setFocus();
    m_runDialog(*this);
    pick.chosen = m_chosen;
    if (m_chosen) {
        pick.id = m_chosenId;
        pick.name = m_chosenFio;
    }
}

void VybKart::load()
{
    const double keep = currentId();
    const QString text = upperSearch(m_search->text());
    QString sql = QStringLiteral("select * from kart where id>=0");
    if (!text.isEmpty())
        sql += QStringLiteral(" and fio2 like ") + sqlText(QLatin1Char('%') + text + QLatin1Char('%'));
    sql += QStringLiteral(" order by fio2");
    m_model->setRows(m_ctx.db.query(sql));
    if (!selectId(keep) && m_model->rowCount() > 0)
        setCurrentRow(0);
}

void VybKart::searchChanged()
{
    try {
        load();
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

int VybKart::rowCount() const
{
    return m_model->rowCount();
}

double VybKart::idAt(int row) const
{
    return m_model->row(row).value(QStringLiteral("id")).toDouble();
}

double VybKart::currentId() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? idAt(index.row()) : -1;
}

QString VybKart::currentFio() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? m_model->row(index.row()).value(QStringLiteral("fio2")).toString().trimmed()
                           : QString();
}

void VybKart::setCurrentRow(int row)
{
    m_grid->setCurrentIndex(m_model->index(row, 0));
}

bool VybKart::selectId(double id)
{
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (idAt(r) == id) {
            setCurrentRow(r);
            return true;
        }
    }
    return false;
}

void VybKart::okClicked()
{
    if (m_mode == Select) {
        if (rowCount() == 0)
            return;
        m_chosenId = currentId();
        m_chosenFio = currentFio();
        m_chosen = true;
    }
    accept();
}

void VybKart::gridDoubleClicked()
{
    if (m_mode == Select)
        okClicked();
    else
        editRecord();
}

void VybKart::editCard(double id)
{
    m_card->load(id);
    m_runCard(*m_card);
    load();
    selectId(id);
}

void VybKart::addRecord()
{
    if (!m_ctx.desktop.ask({QStringLiteral("Добавить нового Сотрудника")}))
        return;
    try {
        const double id = m_ctx.db.newId(QStringLiteral("kart"));
        m_ctx.db.exec(QStringLiteral("insert into kart (id,nday) values (") + sqlId(id) +
                      QStringLiteral(",28)"));
        editCard(id);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

void VybKart::editRecord()
{
    if (rowCount() == 0 || currentId() <= 0)
        return;
    try {
        editCard(currentId());
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

QString VybKart::referenceMessage(double id)
{
    const QString kartId = sqlId(id);
    if (!m_ctx.db
             .query(QStringLiteral("select * from obrt2 where idmol=") + kartId +
                    QStringLiteral(" or idmol2=") + kartId)
             .isEmpty())
        return QStringLiteral("У данного сотрудника имеются ссылки на МОЛ");
    if (!m_ctx.db.query(QStringLiteral("select * from oper where prodavec=") + kartId).isEmpty())
        return QStringLiteral("У данного сотрудника имеются ссылки продажу товара (Продавец)");
    return {};
}

void VybKart::deleteRecord()
{
    if (rowCount() == 0 || currentId() <= 0)
        return;
    const double id = currentId();
    try {
        const QString refused = referenceMessage(id);
        if (!refused.isEmpty()) {
            m_ctx.desktop.warn({refused});
            return;
        }
        if (!m_ctx.desktop.ask({QStringLiteral("Удалить запись ?")}))
            return;
        m_ctx.db.exec(QStringLiteral("delete from kart where id=") + sqlId(id));
        m_ctx.db.commit();
        load();
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

#include "vybkart.moc"
