#include "personnel/vybormol.h"

#include "common/grid_delegate.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

class MolListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Fio2, Doljnost, ColumnCount };

    explicit MolListModel(QObject *parent) : QAbstractTableModel(parent) {}

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
        return section == Fio2 ? QStringLiteral("ФИО Сотрудника") : QStringLiteral("Должность");
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

VyborMol::VyborMol(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm640"));
    setWindowTitle(QStringLiteral("Выбор Сотрудника"));
    m_runDialog = [](VyborMol &screen) { screen.exec(); };
    setupGrid();
    connectActions();
    resize(560, 600);
}

void VyborMol::setupGrid()
{
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("JvEdit1"));
    m_search->setMaxLength(100);
    m_model = new MolListModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    ::setupGrid(m_grid);
    m_grid->setColumnWidth(MolListModel::Fio2, 320);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Поиск по ФИО"), this));
    searchRow->addWidget(m_search);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(m_grid);
}

void VyborMol::connectActions()
{
    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &VyborMol::okClicked);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    static_cast<QVBoxLayout *>(layout())->addLayout(buttons);

    connect(m_grid, &QTableView::doubleClicked, this, &VyborMol::okClicked);
    connect(m_search, &QLineEdit::textChanged, this, &VyborMol::searchChanged);
}

void VyborMol::run(Pick &pick)
{
    m_chosen = false;
    try {
        load();
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

void VyborMol::load()
{
    const double keep = currentId();
    const QString text = upperSearch(m_search->text());
    QString sql = QStringLiteral("select k.* from kart k where id>=0");
    if (!text.isEmpty())
        sql += QStringLiteral("\nand k.fio2 like ") + sqlText(QLatin1Char('%') + text + QLatin1Char('%'));
    sql += QStringLiteral("\norder by k.fio2");
    m_model->setRows(m_ctx.db.query(sql));
    if (!selectId(keep) && m_model->rowCount() > 0)
        setCurrentRow(0);
}

void VyborMol::searchChanged()
{
    try {
        load();
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

int VyborMol::rowCount() const
{
    return m_model->rowCount();
}

double VyborMol::idAt(int row) const
{
    return m_model->row(row).value(QStringLiteral("id")).toDouble();
}

double VyborMol::currentId() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? idAt(index.row()) : -1;
}

QString VyborMol::currentFio() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? m_model->row(index.row()).value(QStringLiteral("fio2")).toString().trimmed()
                           : QString();
}

void VyborMol::setCurrentRow(int row)
{
    m_grid->setCurrentIndex(m_model->index(row, 0));
}

bool VyborMol::selectId(double id)
{
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (idAt(r) == id) {
            setCurrentRow(r);
            return true;
        }
    }
    return false;
}

void VyborMol::okClicked()
{
    if (rowCount() == 0)
        return;
    m_chosenId = currentId();
    m_chosenFio = currentFio();
    m_chosen = true;
    accept();
}

#include "vybormol.moc"
