#include "shell/puser.h"

#include "common/sql_literals.h"
#include "platform/db.h"
#include "platform/desktop.h"
#include "shell/eduser.h"
#include "common/session.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

class UserListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Level, Fio, Start, End, ColumnCount };

    explicit UserListModel(QObject *parent) : QAbstractTableModel(parent) {}

    void setRows(const DbRows &rows)
    {
        beginResetModel();
        m_rows = rows;
        endResetModel();
    }
    const QSqlRecord &row(int r) const { return m_rows.at(r); }
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_rows.size(); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : ColumnCount; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static const QStringList titles = {QStringLiteral("Уровень"), QStringLiteral("ФИО"),
                                           QStringLiteral("Подключение"), QStringLiteral("Отключение")};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return titles.value(section);
        return {};
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const QSqlRecord &r = m_rows.at(index.row());
        switch (role) {
        case Qt::DisplayRole:
            return display(r, index.column());
        case Qt::FontRole: {
            QFont font(QStringLiteral("Calibri"));
            font.setPointSize(9);
            return font;
        }
        case Qt::BackgroundRole:
            return QColor(Qt::white);
        case Qt::ForegroundRole: {
            // Users who have not worked since 2019, or never, stand out in blue.
            const QDateTime end = r.value(QStringLiteral("timeend")).toDateTime();
            const bool stale = !end.isValid() || end.date() < QDate(2019, 1, 1);
            return QColor(stale ? Qt::blue : Qt::black);
        }
        case Qt::TextAlignmentRole:
            return index.column() == Level ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
        }
    }

private:
    static QVariant display(const QSqlRecord &r, int column)
    {
        switch (column) {
        case Level:
            return r.value(QStringLiteral("uroven")).toInt();
        case Fio:
            return QStringList{r.value(QStringLiteral("fam")).toString().trimmed(),
                               r.value(QStringLiteral("im")).toString().trimmed(),
                               r.value(QStringLiteral("ot")).toString().trimmed()}
                .join(QLatin1Char(' '));
        case Start:
        case End: {
            const QDateTime t = r.value(column == Start ? QStringLiteral("timestart") : QStringLiteral("timeend"))
                                    .toDateTime();
            return t.isValid() ? t.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")) : QString();
        }
        default:
            return {};
        }
    }

    DbRows m_rows;
};

PUser::PUser(Session &session, Db &db, Desktop &desktop, QWidget *parent)
    : QDialog(parent), m_session(session), m_db(db), m_desktop(desktop)
{
    setObjectName(QStringLiteral("TForm43"));
    setWindowTitle(QStringLiteral("Пользователи"));
    m_editor = new EdUser(m_db, m_desktop, this);
    m_runEditor = [](EdUser &editor) { editor.exec(); };
    setupGrid();
    connectActions();
    resize(720, 420);
}

void PUser::setupGrid()
{
    m_model = new UserListModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setStyleSheet(QStringLiteral("QTableView { selection-background-color: rgb(160, 233, 250); "
                                         "selection-color: black; gridline-color: black; }"));
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(UserListModel::Fio, 260);
    m_grid->setColumnWidth(UserListModel::Start, 150);
    m_grid->verticalHeader()->hide();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
}

void PUser::connectActions()
{
    auto *buttons = new QHBoxLayout;
    const auto add = [this, buttons](const QString &text, void (PUser::*action)()) {
        auto *button = new QPushButton(text, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
    };
    add(QStringLiteral("Добавить"), &PUser::addUser);
    add(QStringLiteral("Изменить"), &PUser::editUser);
    add(QStringLiteral("Удалить"), &PUser::deleteUser);
    buttons->addStretch();
    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok);
    static_cast<QVBoxLayout *>(layout())->addLayout(buttons);
    connect(m_grid, &QTableView::doubleClicked, this, &PUser::editUser);
}

void PUser::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    try {
        load();
    } catch (const DbError &e) {
        m_desktop.error({e.message()});
    }
}

void PUser::load()
{
    m_model->setRows(m_db.query(
        QStringLiteral("select u.*, (select timestart from obuser where id= (select max(id) from obuser where "
                       "iduser=u.id)) as timestart\n"
                       ",(select timeend from obuser where id= (select max(id) from obuser where iduser=u.id)) as "
                       "timeend\n"
                       "from userp u where u.uroven>=1")));
    if (m_model->rowCount() > 0 && !m_grid->currentIndex().isValid())
        setCurrentRow(0);
}

int PUser::rowCount() const
{
    return m_model->rowCount();
}

double PUser::currentId() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? m_model->row(index.row()).value(QStringLiteral("id")).toDouble() : 0;
}

void PUser::setCurrentRow(int row)
{
    m_grid->setCurrentIndex(m_model->index(row, 0));
}

void PUser::selectId(double id)
{
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (m_model->row(r).value(QStringLiteral("id")).toDouble() == id) {
            setCurrentRow(r);
            return;
        }
    }
}

void PUser::runEditor(double id)
{
    m_editor->load(id);
    m_runEditor(*m_editor);
    load();
    selectId(id);
}

void PUser::addUser()
{
    try {
        const double id = m_db.newId(QStringLiteral("deti"));
        m_db.exec(QStringLiteral("insert into userp (id,uroven) values (%1,1)").arg(sqlId(id)));
        runEditor(id);
    } catch (const DbError &e) {
        m_desktop.error({e.message()});
    }
}

void PUser::editUser()
{
    if (rowCount() == 0)
        return;
    try {
        runEditor(currentId());
    } catch (const DbError &e) {
        m_desktop.error({e.message()});
    }
}

void PUser::deleteUser()
{
    if (rowCount() == 0)
        return;
    if (!m_desktop.ask({QStringLiteral("Удалить запись ?")}))
        return;
    try {
        m_db.exec(QStringLiteral("delete from userp where id=") + sqlId(currentId()));
        load();
    } catch (const DbError &e) {
        m_desktop.error({e.message()});
    }
}

#include "puser.moc"
