#include "goods/vybort_g.h"

#include "common/grid_delegate.h"
#include "common/numtools.h"
#include "common/rows_model.h"
#include "common/session.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "goods/tt_pod.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QColor kNavy(0, 0, 128);
const QColor kGoodsGroup(235, 255, 234);
const QColor kServiceGroup(240, 236, 255);

QString field(const QSqlRecord &row, const char *name)
{
    return row.value(QLatin1String(name)).toString().trimmed();
}

double number(const QSqlRecord &row, const char *name)
{
    return row.value(QLatin1String(name)).toDouble();
}

// Enter in the item grid chooses, as "Ok !" does.
class EnterFilter final : public QObject
{
public:
    EnterFilter(QObject *parent, std::function<void()> action) : QObject(parent), m_action(std::move(action)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_action();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_action;
};

} // namespace

class CatalogueGroupsModel final : public RowsModel
{
    Q_OBJECT

public:
    explicit CatalogueGroupsModel(QObject *parent)
        : RowsModel({QStringLiteral("Группа")}, {QStringLiteral("name")}, parent)
    {
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        switch (role) {
        case Qt::BackgroundRole:
            return number(row(index.row()), "usl") == 1 ? kServiceGroup : kGoodsGroup;
        case Qt::ForegroundRole:
            return kNavy;
        default:
            return RowsModel::data(index, role);
        }
    }
};

class CatalogueItemsModel final : public RowsModel
{
    Q_OBJECT

public:
    enum Column { Name, Code, Unit, Price, Vat, PriceWithVat, PriceList, ExternalCode };

    explicit CatalogueItemsModel(QObject *parent)
        : RowsModel({QStringLiteral("Наименование"), QStringLiteral("Код / Производитель"), QStringLiteral("Ед.изм."),
                     QStringLiteral("Цена реал."), QStringLiteral("НДС, %"), QStringLiteral("Цена с НДС"),
                     QStringLiteral("Прайс"), QStringLiteral("Код внешний")},
                    {QStringLiteral("namet"), QStringLiteral("kodt"), QStringLiteral("edizm"), QStringLiteral("cenar"),
                     QStringLiteral("stnds"), QStringLiteral("cenar2"), QStringLiteral("price"),
                     QStringLiteral("atolkod")},
                    parent)
    {
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const QSqlRecord &r = row(index.row());
        const int column = index.column();
        if (role == Qt::TextAlignmentRole) {
            const bool right = column == Price || column == Vat || column == PriceWithVat;
            return int((right ? Qt::AlignRight : column == PriceList ? Qt::AlignHCenter : Qt::AlignLeft) |
                       Qt::AlignVCenter);
        }
        if (role == GridDelegate::SecondLineRole) {
            switch (column) {
            case Name:
                return field(r, "nameg") + QLatin1Char('/') + field(r, "namer");
            case Code:
                return field(r, "kodt5");
            case ExternalCode:
                return field(r, "atolok");
            default:
                return {};
            }
        }
        if (role != Qt::DisplayRole)
            return {};
        const double price = number(r, "cenar");
        const double vat = number(r, "stnds");
        switch (column) {
        case Price:
            return thousandsText(price);
        case Vat:
            return vat != 0 ? QString::number(vat, 'g', 6) + QLatin1Char('%') : QString();
        case PriceWithVat:
            return thousandsText(DRound(2, price + price * vat / 100));
        case PriceList:
            return number(r, "price") == 0 ? QStringLiteral("[+]") : QString();
        default:
            return RowsModel::data(index, role);
        }
    }
};

VyborTG::VyborTG(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm888"));
    setWindowTitle(QStringLiteral("Справочник товаров"));
    m_runDialog = [](VyborTG &screen) { screen.exec(); };
    m_card = new TtPod(m_ctx, this);
    setupWidgets();
    connectActions();
    applyAccessLevel();
    resize(1100, 640);
}

void VyborTG::setupWidgets()
{
    const auto button = [this](const QString &text, const char *objectName) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(objectName));
        b->setAutoDefault(false);
        return b;
    };
    auto *top = new QHBoxLayout;
    static const char *const captions[5] = {"Наименование", "Группа", "Раздел ", "Код", "Производитель"};
    for (int i = 0; i < 5; ++i) {
        auto *column = new QVBoxLayout;
        m_filters[i] = new QLineEdit(this);
        m_filters[i]->setObjectName(QStringLiteral("JvEdit%1").arg(i + 1));
        m_filters[i]->setMaxLength(100);
        column->addWidget(new QLabel(QString::fromUtf8(captions[i]), this));
        column->addWidget(m_filters[i]);
        top->addLayout(column, i == 0 ? 3 : 2);
    }
    m_apply = button(QStringLiteral("Применить"), "BitBtn3");
    m_nameSort = new QToolButton(this);
    m_nameSort->setObjectName(QStringLiteral("SpeedButton1"));
    m_nameSort->setText(QStringLiteral("наим."));
    m_priceSort = new QToolButton(this);
    m_priceSort->setObjectName(QStringLiteral("SpeedButton2"));
    m_priceSort->setText(QStringLiteral("цена"));
    for (QToolButton *sort : {m_nameSort, m_priceSort})
        sort->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_add = button(QStringLiteral("Добавить"), "BitBtn4");
    m_add->setToolTip(QStringLiteral("Добавить запись"));
    m_edit = button(QStringLiteral("Изменить"), "BitBtn5");
    m_edit->setToolTip(QStringLiteral("Редактировать запись"));
    m_delete = button(QStringLiteral("Удалить"), "BitBtn6");
    m_delete->setToolTip(QStringLiteral("Удалить запись"));
    m_copy = button(QStringLiteral("Копировать"), "BitBtn7");
    m_copy->setToolTip(QStringLiteral("Копировать запись"));
    m_ok = button(QStringLiteral("Ok !"), "BitBtn1");
    m_cancel = button(QStringLiteral("Отмена"), "BitBtn2");
    auto *buttons = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{m_apply, m_nameSort, m_priceSort, m_add, m_edit, m_delete,
                                                       m_copy})
        buttons->addWidget(w);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    m_allGroups = new QCheckBox(QStringLiteral("Все группы"), this);
    m_allGroups->setObjectName(QStringLiteral("CheckBox1"));
    m_groups = new CatalogueGroupsModel(this);
    m_groupGrid = new QTableView(this);
    m_groupGrid->setObjectName(QStringLiteral("DBGrid2"));
    m_groupGrid->setModel(m_groups);
    setupGrid(m_groupGrid);
    auto *left = new QVBoxLayout;
    left->addWidget(m_allGroups);
    left->addWidget(m_groupGrid, 1);
    auto *leftPanel = new QWidget(this);
    leftPanel->setLayout(left);
    leftPanel->setFixedWidth(230);
    left->setContentsMargins(0, 0, 0, 0);

    m_items = new CatalogueItemsModel(this);
    m_itemGrid = new QTableView(this);
    m_itemGrid->setObjectName(QStringLiteral("DBGrid1"));
    m_itemGrid->setModel(m_items);
    setupGrid(m_itemGrid, true);
    const int widths[] = {250, 140, 55, 85, 55, 85, 45};
    for (int c = 0; c < int(std::size(widths)); ++c)
        m_itemGrid->setColumnWidth(c, widths[c]);

    auto *body = new QHBoxLayout;
    body->addWidget(leftPanel);
    body->addWidget(m_itemGrid, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->addLayout(body, 1);
}

void VyborTG::connectActions()
{
    const auto on = [this](QPushButton *b, void (VyborTG::*action)()) {
        connect(b, &QPushButton::clicked, this, action);
    };
    on(m_ok, &VyborTG::okClicked);
    on(m_cancel, &VyborTG::cancelClicked);
    on(m_add, &VyborTG::addRecord);
    on(m_edit, &VyborTG::editRecord);
    on(m_delete, &VyborTG::deleteRecord);
    on(m_copy, &VyborTG::copyRecord);
    connect(m_apply, &QPushButton::clicked, this, [this] { guarded([this] { loadItems(); }); });
    connect(m_nameSort, &QToolButton::clicked, this, &VyborTG::sortByName);
    connect(m_priceSort, &QToolButton::clicked, this, &VyborTG::sortByPrice);
    connect(m_allGroups, &QCheckBox::clicked, this, &VyborTG::allGroupsClicked);
    connect(m_groupGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &VyborTG::groupChanged);
    connect(m_itemGrid, &QTableView::doubleClicked, this, &VyborTG::gridActivated);
    m_itemGrid->installEventFilter(new EnterFilter(this, [this] { okClicked(); }));
    for (QLineEdit *filter : m_filters) {
        connect(filter, &QLineEdit::textChanged, this, [this] {
            if (!m_loading)
                guarded([this] { loadItems(); });
        });
    }
}

// Levels 4 and 5 look the catalogue up but change nothing in it.
void VyborTG::applyAccessLevel()
{
    m_readOnly = m_ctx.session.AccessLevel == 4 || m_ctx.session.AccessLevel == 5;
    for (QPushButton *b : {m_add, m_edit, m_delete, m_copy})
        b->setVisible(!m_readOnly);
}

void VyborTG::guarded(const std::function<void()> &action)
{
    try {
        action();
    } catch (const DbError &e) {
        m_ctx.db.rollback();
        m_ctx.desktop.error({e.message()});
    }
}

void VyborTG::run(Pick &pick)
{
    guarded([this, &pick] { prepare(pick); });
    const bool cancelShown = m_cancel->isVisibleTo(this);
    if (pick.extra.value(QStringLiteral("hideCancel")).toBool())
        m_cancel->setVisible(false);
    m_runDialog(*this);
    m_cancel->setVisible(cancelShown);
    m_kind = Goods;
    pick.chosen = m_chosen;
    if (m_chosen) {
        pick.id = m_chosenId;
        pick.name = m_chosenName;
        pick.extra.insert(QStringLiteral("stnds"), m_chosenVat);
        pick.extra.insert(QStringLiteral("edizm"), m_chosenUnit);
        pick.extra.insert(QStringLiteral("cenar"), m_chosenPrice);
    }
}

void VyborTG::prepare(const Pick &pick)
{
    m_mode = pick.mode == Maintain ? Maintain : Select;
    m_kind = pick.kind == Services ? Services : pick.kind == Both ? Both : Goods;
    m_allGroups->setChecked(m_ctx.session.OpenGroupFlag == 1);
    m_groupGrid->setVisible(!m_allGroups->isChecked());
    m_nameOrder = Ascending;
    m_priceOrder = Ascending;
    showSortState(m_nameSort, m_nameOrder);
    showSortState(m_priceSort, m_priceOrder);
    m_loading = true;
    for (QLineEdit *filter : m_filters)
        filter->clear();
    m_loading = false;
    m_chosen = false;
    m_chosenId = 0;
    m_chosenName.clear();
    m_chosenVat = 0;
    m_chosenUnit.clear();
    m_chosenPrice = 0;
    setWindowTitle(m_kind == Services ? QStringLiteral("Справочник услуг") : QStringLiteral("Справочник товаров"));
    QFont okFont = m_ok->font();
    okFont.setBold(m_mode == Select);
    m_ok->setFont(okFont);
    if (m_mode == Select) {
        m_ok->setText(QStringLiteral("Ok !"));
        m_ok->setToolTip(QStringLiteral("Выбрать запись из справочника"));
        m_cancel->setToolTip(QStringLiteral("Отменить выбор, закрыть окно"));
    } else {
        m_ok->setText(QStringLiteral("Ok!"));
        m_ok->setToolTip(QStringLiteral("Закрыть справочник"));
        m_cancel->setToolTip(QString());
    }
    loadGroups(0);
    loadItems(pick.currentId);
    // The first group is often empty ("no group"): show the next one instead.
    const int groupRow = m_groupGrid->currentIndex().row();
    if (rowCount() == 0 && groupCount() > 0 && groupRow < groupCount() - 1) {
        setCurrentGroupRow(groupRow + 1);
        loadItems();
    }
    m_itemGrid->setFocus();
}

void VyborTG::loadGroups(double groupId)
{
    const QString sql = m_kind == Both
                            ? QStringLiteral("select name, id, usl from gruppat order by name")
                            : QStringLiteral("select name, id, usl from gruppat where id=0 or usl=") +
                                  QString::number(m_kind) + QStringLiteral(" order by name");
    m_loading = true;
    m_groups->setRows(m_ctx.db.query(sql));
    if (!selectGroup(groupId) && groupCount() > 0)
        setCurrentGroupRow(0);
    m_loading = false;
}

QString VyborTG::itemSql() const
{
    QString sql = QStringLiteral(
        "select t.id, t.stnds, t.kod as kodt, t.atolok, t.kod5 as kodt5, t.atolkod, t.edizm, t.cenar as cenar, "
        "t.cenar as cenar2, t.price, t.idgruppa, g.name as nameg, t.name as namet, r.name as namer "
        "from tovar t, gruppat g, razdel r where t.idgruppa=g.id and r.id=g.idrazdel");
    // The "none" row is never offered for choosing, editing or deleting.
    sql += QStringLiteral(" and t.id<>0");
    if (m_kind == Services)
        sql += QStringLiteral(" and t.usl=1");
    else if (m_kind == Goods)
        sql += QStringLiteral(" and t.usl<>1");
    static const char *const copies[5] = {"t.name2", "g.name2", "r.name2", "t.kod2", "t.kod52"};
    for (int i = 0; i < 5; ++i) {
        const QString text = upperSearch(m_filters[i]->text());
        if (!text.isEmpty())
            sql += QStringLiteral(" and ") + QLatin1String(copies[i]) + QStringLiteral(" like ") +
                   sqlText(QLatin1Char('%') + text + QLatin1Char('%'));
    }
    if (!m_allGroups->isChecked() && groupCount() > 0)
        sql += QStringLiteral(" and g.id=") + sqlId(currentGroupId());
    QStringList order;
    if (m_nameOrder != NoOrder)
        order << (m_nameOrder == Ascending ? QStringLiteral("t.name2") : QStringLiteral("t.name2 DESC"));
    if (m_priceOrder != NoOrder)
        order << (m_priceOrder == Ascending ? QStringLiteral("(t.cenar + t.cenar*t.stnds/100)")
                                            : QStringLiteral("(t.cenar + t.cenar*t.stnds/100) DESC"));
    if (!order.isEmpty())
        sql += QStringLiteral(" order by ") + order.join(QStringLiteral(", "));
    return sql;
}

void VyborTG::loadItems(double itemId)
{
    const double keep = itemId != 0 ? itemId : currentId();
    m_items->setRows(m_ctx.db.query(itemSql()));
    if (!selectItem(keep) && rowCount() > 0)
        setCurrentRow(0);
}

void VyborTG::reloadAll(double groupId, double itemId)
{
    loadGroups(groupId);
    loadItems(itemId);
}

int VyborTG::rowCount() const
{
    return m_items->rowCount();
}

int VyborTG::groupCount() const
{
    return m_groups->rowCount();
}

double VyborTG::currentId() const
{
    const QModelIndex index = m_itemGrid->currentIndex();
    return index.isValid() && index.row() < rowCount() ? number(m_items->row(index.row()), "id") : 0;
}

double VyborTG::currentGroupId() const
{
    const QModelIndex index = m_groupGrid->currentIndex();
    return index.isValid() && index.row() < groupCount() ? number(m_groups->row(index.row()), "id") : 0;
}

bool VyborTG::selectItem(double id)
{
    const int r = m_items->rowOf(QStringLiteral("id"), id);
    if (r >= 0)
        setCurrentRow(r);
    return r >= 0;
}

bool VyborTG::selectGroup(double id)
{
    const int r = m_groups->rowOf(QStringLiteral("id"), id);
    if (r >= 0)
        setCurrentGroupRow(r);
    return r >= 0;
}

void VyborTG::setCurrentRow(int row)
{
    m_itemGrid->setCurrentIndex(m_items->index(row, 0));
}

void VyborTG::setCurrentGroupRow(int row)
{
    m_groupGrid->setCurrentIndex(m_groups->index(row, 0));
}

void VyborTG::groupChanged()
{
    if (m_loading || m_allGroups->isChecked())
        return;
    guarded([this] { loadItems(); });
}

void VyborTG::allGroupsClicked()
{
    m_groupGrid->setVisible(!m_allGroups->isChecked());
    guarded([this] { loadItems(); });
}

void VyborTG::showSortState(QToolButton *button, int order)
{
    button->setArrowType(order == Ascending ? Qt::UpArrow : order == Descending ? Qt::DownArrow : Qt::NoArrow);
}

void VyborTG::sortByName()
{
    m_nameOrder = nextOrder(m_nameOrder);
    showSortState(m_nameSort, m_nameOrder);
    guarded([this] { loadItems(currentId()); });
}

void VyborTG::sortByPrice()
{
    m_priceOrder = nextOrder(m_priceOrder);
    showSortState(m_priceSort, m_priceOrder);
    guarded([this] { loadItems(currentId()); });
}

void VyborTG::gridActivated()
{
    if (m_mode == Select)
        okClicked();
    else
        editRecord();
}

void VyborTG::okClicked()
{
    if (m_mode == Select) {
        const QModelIndex index = m_itemGrid->currentIndex();
        if (rowCount() == 0 || !index.isValid())
            return;
        const QSqlRecord &r = m_items->row(index.row());
        m_chosenId = number(r, "id");
        m_chosenName = field(r, "namet");
        m_chosenVat = number(r, "stnds");
        m_chosenUnit = field(r, "edizm");
        m_chosenPrice = number(r, "cenar");
        m_chosen = true;
    }
    accept();
}

void VyborTG::cancelClicked()
{
    m_chosen = false;
    reject();
}

// Every service has its one pseudo-receipt, through which it is sold.
void VyborTG::addPseudoReceipt(double itemId)
{
    m_ctx.db.exec(QStringLiteral("insert into obrt (dat,dokum,id,idtovar,ttype,idsklad,idmol,idoper,idpost,"
                                 "idsobstv,stnds) values ('31.12.1999','',") +
                  sqlId(m_ctx.db.newId(QStringLiteral("deti"))) + QLatin1Char(',') + sqlId(itemId) +
                  QStringLiteral(",-1,0,0,-1,0,0,18)"));
    m_ctx.db.commit();
}

void VyborTG::addRecord()
{
    if (m_readOnly)
        return;
    guarded([this] {
        const double group = m_allGroups->isChecked() ? 0 : currentGroupId();
        if (!m_ctx.desktop.ask({QStringLiteral("Добавить новую запись в Справочник"), QString()})) {
            loadItems(currentId());
            return;
        }
        // A new item of the combined list is goods.
        const int usl = m_kind == Services ? 1 : 0;
        const double id = m_ctx.db.newId(QStringLiteral("deti"));
        m_ctx.db.exec(QStringLiteral("insert into tovar (id,idgruppa,edizm,usl) values (") + sqlId(id) +
                      QLatin1Char(',') + sqlId(group) + QStringLiteral(",'шт.',") + QString::number(usl) +
                      QLatin1Char(')'));
        m_ctx.db.commit();
        m_card->run(id, m_kind);
        m_ctx.db.commit();
        if (usl == 1)
            addPseudoReceipt(id);
        reloadAll(group, id);
    });
}

void VyborTG::editRecord()
{
    if (m_readOnly || rowCount() == 0)
        return;
    guarded([this] {
        const double id = currentId();
        const double group = currentGroupId();
        m_card->run(id, m_kind);
        m_ctx.db.commit();
        reloadAll(group, id);
    });
}

void VyborTG::deleteRecord()
{
    if (m_readOnly || rowCount() == 0)
        return;
    guarded([this] {
        const double id = currentId();
        if (!m_ctx.desktop.ask({QStringLiteral("Удалить запись ?")}, true))
            return;
        if (!m_ctx.db.query(QStringLiteral("select * from obrt where idtovar=") + sqlId(id)).isEmpty()) {
            m_ctx.desktop.warn({QStringLiteral("Удаление невозможно, имеются ссылки в карточках операций")});
            return;
        }
        m_ctx.db.exec(QStringLiteral("delete from tovar where id=") + sqlId(id));
        m_ctx.db.commit();
        reloadAll(currentGroupId(), 0);
    });
}

void VyborTG::copyRecord()
{
    if (m_readOnly || rowCount() == 0)
        return;
    guarded([this] {
        const QSqlRecord source = m_items->row(m_itemGrid->currentIndex().row());
        const double sourceId = number(source, "id");
        if (!m_ctx.desktop.ask({QStringLiteral("Копировать запись ?")}, true))
            return;
        // In the combined list the copy is of the source's own kind, so a copied
        // service gets its pseudo-receipt too.
        const int usl = m_kind == Both ? (m_ctx.db.scalar(QStringLiteral("select usl from tovar where id=") +
                                                          sqlId(sourceId))
                                                      .toInt() == 1
                                              ? 1
                                              : 0)
                                       : (m_kind == Services ? 1 : 0);
        // The marker must fit into the hundred characters of a name.
        const QString name = field(source, "namet").left(100 - 6) + QStringLiteral("#КОПИЯ");
        const QString code = field(source, "kodt");
        const double id = m_ctx.db.newId(QStringLiteral("deti"));
        m_ctx.db.exec(QStringLiteral("insert into tovar (id,idgruppa,edizm,usl) values (") + sqlId(id) +
                      QLatin1Char(',') + sqlId(number(source, "idgruppa")) + QLatin1Char(',') +
                      sqlText(field(source, "edizm")) + QLatin1Char(',') + QString::number(usl) + QLatin1Char(')'));
        m_ctx.db.exec(QStringLiteral("update tovar set name=") + sqlText(name) + QStringLiteral(",name2=") +
                      sqlText(upperSearch(name)) + QStringLiteral(",kod=") + sqlText(code) +
                      QStringLiteral(",kod2=") + sqlText(upperSearch(code)) + QStringLiteral(",stnds=") +
                      sqlNum(number(source, "stnds")) + QStringLiteral(",cenar=") +
                      sqlNum(number(source, "cenar")) + QStringLiteral(",price=") +
                      QString::number(source.value(QStringLiteral("price")).toInt()) +
                      QStringLiteral(" where id=") + sqlId(id));
        m_ctx.db.commit();
        const double group = currentGroupId();
        m_card->run(id, m_kind);
        m_ctx.db.commit();
        if (usl == 1)
            addPseudoReceipt(id);
        reloadAll(group, id);
    });
}

#include "vybort_g.moc"
