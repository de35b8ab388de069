#include "goods/gruppa.h"

#include "common/grid_delegate.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "goods/vvod_tt_rr.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <QAbstractTableModel>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

bool sameTable(const QString &table, const char *name)
{
    return table.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

QString captionOf(const QString &table)
{
    static const QHash<QString, QString> captions = {
        {QStringLiteral("gruppat"), QStringLiteral("ГРУППА")},
        {QStringLiteral("razdel"), QStringLiteral("РАЗДЕЛ")},
        {QStringLiteral("sklad"), QStringLiteral("СКЛАД")},
        {QStringLiteral("post"), QStringLiteral("КОНТРАГЕНТЫ")},
        {QStringLiteral("sobstv"), QStringLiteral("СОБСТВЕННОСТЬ")},
        {QStringLiteral("doljnost"), QStringLiteral("ДОЛЖНОСТЬ")},
        {QStringLiteral("oplata"), QStringLiteral("ВИДЫ ОПЛАТЫ")},
    };
    const QString caption = captions.value(table.toLower());
    return caption.left(1) + caption.mid(1).toLower();
}

} // namespace

class GruppaModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Name, Section, ColumnCount };

    explicit GruppaModel(QObject *parent) : QAbstractTableModel(parent) {}

    void setRows(const DbRows &rows, bool withSection)
    {
        beginResetModel();
        m_rows = rows;
        m_withSection = withSection;
        endResetModel();
    }
    const QSqlRecord &row(int r) const { return m_rows.at(r); }
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_rows.size();
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : (m_withSection ? ColumnCount : Section);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return section == Name ? QStringLiteral("Наименование") : QStringLiteral("Раздел");
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        switch (role) {
        case Qt::DisplayRole:
            return m_rows.at(index.row())
                .value(index.column() == Name ? QStringLiteral("name") : QStringLiteral("namer"))
                .toString()
                .trimmed();
        case Qt::BackgroundRole:
            return QGuiApplication::palette().color(QPalette::Base);
        default:
            return {};
        }
    }

private:
    DbRows m_rows;
    bool m_withSection = false;
};

Gruppa::Gruppa(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm510"));
    setWindowTitle(captionOf(m_table));
    m_nameDialog = new VvodTtRr(m_ctx.db, m_ctx.desktop, this);
    m_runNameDialog = [](VvodTtRr &dialog) { dialog.exec(); };
    m_runDialog = [](Gruppa &screen) { screen.exec(); };
    setupGrid();
    connectActions();
    resize(520, 560);
}

void Gruppa::setupGrid()
{
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("JvEdit1"));
    m_filter->setPlaceholderText(QStringLiteral("Фильтр по наименованию"));
    m_filter->setToolTip(QStringLiteral("Фильтр по наименованию"));
    m_filter->setMaxLength(100);
    m_model = new GruppaModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    ::setupGrid(m_grid);

    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(QStringLiteral("Наименование"), this));
    filterRow->addWidget(m_filter);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(m_grid);
}

void Gruppa::connectActions()
{
    auto *buttons = new QHBoxLayout;
    const auto add = [this, buttons](const QString &text, void (Gruppa::*action)()) {
        auto *button = new QPushButton(text, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
        return button;
    };
    add(QStringLiteral("Добавить запись"), &Gruppa::addRecord);
    add(QStringLiteral("Редактировать запись"), &Gruppa::editRecord);
    add(QStringLiteral("Удалить запись"), &Gruppa::deleteRecord);
    buttons->addStretch();
    // Enter anywhere in the screen acts as "Ok !".
    add(QStringLiteral("Ok !"), &Gruppa::okClicked)->setDefault(true);
    add(QStringLiteral("Отмена"), &Gruppa::cancelClicked);
    static_cast<QVBoxLayout *>(layout())->addLayout(buttons);

    connect(m_grid, &QTableView::doubleClicked, this, &Gruppa::gridDoubleClicked);
    connect(m_filter, &QLineEdit::textChanged, this, [this] {
        try {
            load();
        } catch (const DbError &e) {
            m_ctx.desktop.error({e.message()});
        }
    });
}

void Gruppa::run(Pick &pick)
{
    try {
        prepare(pick);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
    m_runDialog(*this);
    m_kind = 0;
    pick.chosen = m_chosen;
    if (m_chosen) {
        pick.id = m_chosenId;
        pick.name = m_chosenName;
    }
}

void Gruppa::prepare(const Pick &pick)
{
    m_table = pick.table.toLower();
    // The table name goes into the statements as it is: only the known tables are listed.
    Q_ASSERT_X(!captionOf(m_table).isEmpty(), "Gruppa::run", qPrintable(pick.table));
    m_mode = pick.mode;
    m_kind = pick.kind;
    m_chosen = false;
    setWindowTitle(captionOf(m_table));
    load();
    if (pick.currentId != 0)
        selectId(pick.currentId);
    if (!pick.nameToFind.trimmed().isEmpty()) {
        for (int r = 0; r < m_model->rowCount(); ++r) {
            if (m_model->row(r).value(QStringLiteral("name")).toString().trimmed() ==
                pick.nameToFind.trimmed()) {
                setCurrentRow(r);
                break;
            }
        }
    }
}

void Gruppa::load()
{
    const double keep = currentId();
    const QString filter = upperSearch(m_filter->text());
    const QString like = sqlText(QLatin1Char('%') + filter + QLatin1Char('%'));
    QString sql;
    if (m_table == QLatin1String("gruppat")) {
        sql = QStringLiteral("select g.*, r.name as namer from gruppat g, razdel r where r.id=g.idrazdel") +
              (m_kind == 1 ? QStringLiteral(" and (g.usl=1 or g.id=0)")
                           : QStringLiteral(" and (g.usl=0 or g.id=0)"));
        if (!filter.isEmpty())
            sql += QStringLiteral(" and g.name2 like ") + like;
        sql += QStringLiteral(" order by g.name");
    } else {
        sql = QStringLiteral("select * from ") + m_table;
        if (!filter.isEmpty())
            sql += QStringLiteral(" where name2 like ") + like;
        sql += QStringLiteral(" order by name");
    }
    m_model->setRows(m_ctx.db.query(sql), m_table == QLatin1String("gruppat"));
    if (m_model->columnCount() > GruppaModel::Section)
        m_grid->setColumnWidth(GruppaModel::Name, 300);
    if (!selectId(keep) && m_model->rowCount() > 0)
        setCurrentRow(0);
}

int Gruppa::rowCount() const
{
    return m_model->rowCount();
}

double Gruppa::currentId() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? m_model->row(index.row()).value(QStringLiteral("id")).toDouble() : 0;
}

QString Gruppa::currentName() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? m_model->row(index.row()).value(QStringLiteral("name")).toString().trimmed()
                           : QString();
}

void Gruppa::setCurrentRow(int row)
{
    m_grid->setCurrentIndex(m_model->index(row, 0));
}

bool Gruppa::selectId(double id)
{
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (m_model->row(r).value(QStringLiteral("id")).toDouble() == id) {
            setCurrentRow(r);
            return true;
        }
    }
    return false;
}

void Gruppa::reload(double id)
{
    load();
    selectId(id);
}

void Gruppa::okClicked()
{
    if (m_mode == Select && rowCount() > 0) {
        m_chosenId = currentId();
        m_chosenName = currentName();
        m_chosen = true;
    }
    accept();
}

void Gruppa::cancelClicked()
{
    m_chosen = false;
    reject();
}

void Gruppa::gridDoubleClicked()
{
    if (m_mode == Select)
        okClicked();
    else
        editRecord();
}

void Gruppa::editName(double id)
{
    m_nameDialog->load(m_table, id);
    m_runNameDialog(*m_nameDialog);
}

void Gruppa::addRecord()
{
    try {
        const double id = m_ctx.db.newId(QStringLiteral("deti"));
        m_ctx.db.exec(QStringLiteral("insert into ") + m_table + QStringLiteral(" (id) values (") +
                      sqlId(id) + QLatin1Char(')'));
        if (m_table == QLatin1String("gruppat"))
            m_ctx.db.exec(QStringLiteral("update ") + m_table + QStringLiteral(" set usl=") +
                          QString::number(m_kind) + QStringLiteral(" where id=") + sqlId(id));
        editName(id);
        m_ctx.db.commit();
        if (m_table == QLatin1String("sklad"))
            emit warehouseAdded();
        reload(id);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

void Gruppa::editRecord()
{
    const double id = currentId();
    if (rowCount() == 0 || id == 0)
        return;
    try {
        if (sameTable(m_table, "post")) {
            Pick card;
            card.screen = QStringLiteral("kagent");
            card.currentId = id;
            m_ctx.screens.open(card);
        } else {
            editName(id);
        }
        m_ctx.db.commit();
        reload(id);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

// Ownership categories are named by receipt batches, so they are checked
// like the other tables; positions are referred to by text only.
QString Gruppa::inUseQuery(double id) const
{
    static const QHash<QString, QString> queries = {
        {QStringLiteral("gruppat"), QStringLiteral("select * from tovar where idgruppa=")},
        {QStringLiteral("razdel"), QStringLiteral("select * from gruppat where idrazdel=")},
        {QStringLiteral("sklad"), QStringLiteral("select * from obrt2 where idsklad=")},
        {QStringLiteral("post"), QStringLiteral("select * from oper where idpost=")},
        {QStringLiteral("oplata"), QStringLiteral("select * from oper where oplata=")},
        {QStringLiteral("sobstv"), QStringLiteral("select * from obrt where idsobstv=")},
    };
    const QString query = queries.value(m_table);
    return query.isEmpty() ? QString() : query + sqlId(id);
}

void Gruppa::deleteRecord()
{
    const double id = currentId();
    if (rowCount() == 0 || id == 0)
        return;
    try {
        const QString inUse = inUseQuery(id);
        if (!inUse.isEmpty() && !m_ctx.db.query(inUse).isEmpty()) {
            m_ctx.desktop.warn({QStringLiteral("Удаление невозможно, есть ссылки на данную запись")});
            return;
        }
        if (!m_ctx.desktop.ask({QStringLiteral("Удалить запись")}, true))
            return;
        m_ctx.db.exec(QStringLiteral("delete from ") + m_table + QStringLiteral(" where id=") + sqlId(id));
        m_ctx.db.commit();
        load();
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

#include "gruppa.moc"
