#include "shell/spr_edit2.h"

#include "common/grid_delegate.h"
#include "common/rows_model.h"
#include "common/screen_registry.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "platform/db.h"
#include "platform/desktop.h"
#include "shell/spr_edit.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

class SprKandModel final : public RowsModel
{
    Q_OBJECT

public:
    enum Column { Name, ColumnCount };

    explicit SprKandModel(QObject *parent)
        : RowsModel({QStringLiteral("Наименование")}, {QStringLiteral("name")}, parent)
    {
    }
};

SprEdit2::SprEdit2(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm47"));
    setWindowTitle(QStringLiteral("Справочник"));
    m_editor = new SprEdit(m_ctx, this);
    m_runEditor = [](SprEdit &editor) { editor.exec(); };
    setupWidgets();
    resize(520, 480);
}

void SprEdit2::setupWidgets()
{
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("Edit1"));
    m_filter->setMaxLength(100);
    auto *find = new QPushButton(QStringLiteral("Фильтр"), this);
    find->setAutoDefault(false);
    connect(find, &QPushButton::clicked, this, [this] {
        try {
            load();
        } catch (const DbError &e) {
            m_ctx.desktop.error({e.message()});
        }
    });
    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(m_filter);
    filterRow->addWidget(find);

    m_model = new SprKandModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    ::setupGrid(m_grid);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    connect(m_grid, &QTableView::doubleClicked, this, &SprEdit2::choose);

    auto *buttons = new QHBoxLayout;
    const auto add = [this, buttons](const QString &text, void (SprEdit2::*action)()) {
        auto *button = new QPushButton(text, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
    };
    add(QStringLiteral("Добавить"), &SprEdit2::addItem);
    add(QStringLiteral("Изменить"), &SprEdit2::editItem);
    add(QStringLiteral("Удалить"), &SprEdit2::deleteItem);
    buttons->addStretch();
    add(QStringLiteral("Выбрать"), &SprEdit2::choose);
    add(QStringLiteral("Отмена"), &SprEdit2::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
}

void SprEdit2::run(Pick &pick)
{
    try {
        prepare(pick.kind, pick.currentId);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
    exec();
    pick.chosen = m_chosen;
    pick.id = m_chosenId;
    pick.name = m_chosenName;
}

void SprEdit2::prepare(int kind, double currentId)
{
    m_kind = kind;
    m_filter->clear();
    m_chosen = false;
    m_chosenId = 0;
    m_chosenName = QStringLiteral("<..>");
    load();
    selectId(currentId);
}

void SprEdit2::load()
{
    QString sql = QStringLiteral("select * from sprkand where ttype=") + QString::number(m_kind);
    if (!m_filter->text().trimmed().isEmpty())
        sql += QStringLiteral("\nand name2 like") +
               sqlText(QLatin1Char('%') + upperSearch(m_filter->text()) + QLatin1Char('%'));
    sql += QStringLiteral("\norder by name2");
    const double keep = currentId();
    m_model->setRows(m_ctx.db.query(sql));
    selectId(keep);
    if (m_model->rowCount() > 0 && !m_grid->currentIndex().isValid())
        setCurrentRow(0);
}

int SprEdit2::rowCount() const
{
    return m_model->rowCount();
}

double SprEdit2::currentId() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? m_model->row(index.row()).value(QStringLiteral("id")).toDouble() : 0;
}

QString SprEdit2::currentName() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? m_model->row(index.row()).value(QStringLiteral("name")).toString().trimmed()
                           : QString();
}

void SprEdit2::setCurrentRow(int row)
{
    m_grid->setCurrentIndex(m_model->index(row, 0));
}

void SprEdit2::selectId(double id)
{
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (m_model->row(r).value(QStringLiteral("id")).toDouble() == id) {
            setCurrentRow(r);
            return;
        }
    }
}

void SprEdit2::choose()
{
    if (rowCount() == 0)
        return;
    m_chosenId = currentId();
    m_chosenName = currentName();
    m_chosen = true;
    accept();
}

void SprEdit2::reject()
{
    m_chosen = false;
    QDialog::reject();
}

void SprEdit2::runEditor(double id)
{
    m_editor->load(id);
    m_runEditor(*m_editor);
    load();
    selectId(id);
}

void SprEdit2::addItem()
{
    try {
        const double id = m_ctx.db.newId(QStringLiteral("deti"));
        m_ctx.db.exec(
            QStringLiteral("insert into sprkand (id,ttype) values (%1,%2)").arg(sqlId(id)).arg(m_kind));
        runEditor(id);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

void SprEdit2::editItem()
{
    if (rowCount() == 0)
        return;
    try {
        runEditor(currentId());
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

void SprEdit2::deleteItem()
{
    if (rowCount() == 0)
        return;
    const QString id = sqlId(currentId());
    try {
        if (m_ctx.db
                .scalar(QStringLiteral("select id from kandidat where iddoljn=") + id +
                        QStringLiteral(" or idistok=") + id)
                .isValid()) {
            m_ctx.desktop.info({QStringLiteral("Удаление невозможно, имеются ссылки на данную запись")});
            return;
        }
        if (!m_ctx.desktop.ask({QStringLiteral("Удалить запись ?")}, true))
            return;
        m_ctx.db.exec(QStringLiteral("delete from sprkand where id=") + id);
        load();
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

#include "spr_edit2.moc"
