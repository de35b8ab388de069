#include "shell/service.h"

#include "common/grid_delegate.h"
#include "common/screen_registry.h"
#include "common/session.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "common/win1251.h"
#include "platform/db.h"
#include "platform/dbf.h"
#include "platform/desktop.h"

#include <QAbstractTableModel>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QSqlField>
#include <QStringDecoder>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

// Whatever columns a query returned, shown as text.
class QueryRowsModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit QueryRowsModel(QObject *parent) : QAbstractTableModel(parent) {}

    void setRows(const DbRows &rows)
    {
        beginResetModel();
        m_rows = rows;
        endResetModel();
    }
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_rows.size();
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() || m_rows.isEmpty() ? 0 : m_rows.first().count();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && !m_rows.isEmpty())
            return m_rows.first().fieldName(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        const QVariant value = m_rows.at(index.row()).value(index.column());
        return value.isNull() ? QVariant() : QVariant(value.toString());
    }

private:
    DbRows m_rows;
};

namespace {

// Scripts come from older tools in the Windows code page as often as in UTF-8.
QString scriptText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QString decoded;
    decoded.reserve(bytes.size());
    for (const char ch : bytes)
        decoded.append(QChar(char16_t(win1251::codePointOf(static_cast<unsigned char>(ch)))));
    return decoded;
}

const char *const kResetStatements[] = {
    "delete from oboplata",
    "delete from cenar",
    "delete from kart where id<>0",
    "delete from gruppat where id<>0",
    "delete from razdel where id<>0",
    "delete from sklad where id<>0",
    "delete from post where id<>0",
    "delete from tovar where id<>0",
    "delete from oper",
    "delete from obrt",
    "delete from obrt2",
    "delete from foi",
    "delete from invent",
    "delete from invobrt",
    "delete from history",
    "delete from obuser",
    "update config2 set numscet=1",
    "update config2 set numakt=1",
    "update config2 set atoldir=''",
    "update config2 set atolfname=''",
    "update config2 set numscf=1",
};

} // namespace

Service::Service(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm40"));
    setWindowTitle(QStringLiteral("Сервис"));
    setupWidgets();
    resize(900, 600);
}

void Service::setupWidgets()
{
    m_sql = new QPlainTextEdit(this);
    m_sql->setObjectName(QStringLiteral("Memo1"));
    m_sql->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_model = new QueryRowsModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    ::setupGrid(m_grid);

    auto *buttons = new QHBoxLayout;
    const auto add = [this, buttons](const QString &text, void (Service::*action)()) {
        auto *button = new QPushButton(text, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
    };
    add(QStringLiteral("Выполнить скрипт "), &Service::runScript);
    add(QStringLiteral("Выполнить запрос DB1"), &Service::runQuery);
    add(QStringLiteral("Выполнить команду в DB1"), &Service::runCommand);
    add(QStringLiteral("Заполнить таблицу Страна"), &Service::fillCountries);
    add(QStringLiteral("Oper Note2=Upper(Note)"), &Service::upperOperNotes);
    buttons->addStretch();
    add(QStringLiteral("ОБНУЛИТЬ БАЗУ"), &Service::resetDatabase);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_sql, 1);
    layout->addWidget(m_grid, 2);
}

bool Service::executeCommand(const QStringList &lines)
{
    if (lines.isEmpty() || lines.first().isEmpty())
        return false;
    m_ctx.db.exec(lines.join(QLatin1Char('\n')));
    m_ctx.db.commit();
    return true;
}

void Service::runScript()
{
    const QString path = m_ctx.desktop.openFile(QStringLiteral("Выполнить скрипт"),
                                                m_ctx.session.path(QStringLiteral("СКРИПТ")),
                                                QStringLiteral("SQL script (*.sql)"));
    if (!path.isEmpty())
        runScriptFile(path);
}

bool Service::runScriptFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_ctx.desktop.error({file.errorString()});
        return false;
    }
    QStringList lines = scriptText(file.readAll()).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    m_sql->clear();
    QStringList collected;
    try {
        for (const QString &line : std::as_const(lines)) {
            if (line.trimmed() == QLatin1String(";")) {
                executeCommand(collected);
                collected.clear();
                m_sql->clear();
            } else if (!line.startsWith(QLatin1String("//"))) {
                collected << line;
                m_sql->appendPlainText(line);
            }
        }
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
        return false;
    }
    m_ctx.desktop.info({QStringLiteral("Выполнено")});
    return true;
}

void Service::runQuery()
{
    try {
        m_model->setRows(m_ctx.db.query(m_sql->toPlainText()));
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

void Service::runCommand()
{
    try {
        if (executeCommand(m_sql->toPlainText().split(QLatin1Char('\n'))))
            m_ctx.desktop.info({QStringLiteral("Выполнено")});
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

QString Service::oksmPath() const
{
    const QDir folder(m_ctx.session.WorkDir);
    for (const QString &name : folder.entryList(QDir::Files)) {
        if (name.compare(QLatin1String("oksm.dbf"), Qt::CaseInsensitive) == 0)
            return folder.filePath(name);
    }
    return folder.filePath(QStringLiteral("oksm.dbf"));
}

void Service::fillCountries()
{
    DbfTable oksm;
    if (!oksm.open(oksmPath())) {
        m_ctx.desktop.error({oksm.errorString()});
        return;
    }
    const int kod = oksm.fieldIndex(QStringLiteral("KOD"));
    const int naim = oksm.fieldIndex(QStringLiteral("NAIM"));
    if (kod < 0 || naim < 0) {
        m_ctx.desktop.error({QStringLiteral("В файле нет полей KOD и NAIM"), oksmPath()});
        return;
    }
    try {
        // Codes already in the table are kept as they are, so the fill can be run again.
        QSet<QString> present;
        for (const QSqlRecord &row : m_ctx.db.query(QStringLiteral("select kod from strana")))
            present.insert(row.value(0).toString().trimmed());
        for (int record = 0; record < oksm.recordCount(); ++record) {
            const QString code = QStringLiteral("%1").arg(oksm.readInt(record, kod), 3, 10, QLatin1Char('0'));
            if (present.contains(code))
                continue;
            m_ctx.db.exec(QStringLiteral("insert into strana (kod,name) values (") + sqlText(code) +
                          QLatin1Char(',') + sqlText(oksm.readString(record, naim)) + QStringLiteral(") "));
            m_ctx.db.commit();
            present.insert(code);
        }
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
        return;
    }
    m_ctx.desktop.info({QStringLiteral("Выполнено")});
}

void Service::upperOperNotes()
{
    try {
        const DbRows rows = m_ctx.db.query(QStringLiteral("select o.* from oper o"));
        for (const QSqlRecord &row : rows) {
            m_ctx.db.exec(QStringLiteral("update oper set  note2=") +
                          sqlText(upperSearch(row.value(QStringLiteral("note")).toString())) +
                          QStringLiteral("where id=") + sqlId(row.value(QStringLiteral("id")).toDouble()));
        }
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
        return;
    }
    m_ctx.desktop.info({QStringLiteral("выполнено")});
}

void Service::resetGenerator(const QString &generator, double floor, const QStringList &tables)
{
    // The kept rows (users, payment kinds, candidates, ...) must never be handed their ids again.
    double value = floor;
    for (const QString &table : tables)
        value = std::max(value, m_ctx.db.scalar(QStringLiteral("select max(id) from ") + table).toDouble());
    m_ctx.db.exec(QStringLiteral("set generator %1 to %2").arg(generator, sqlId(value)));
}

void Service::resetDatabase()
{
    if (!m_ctx.desktop.ask({QStringLiteral("УДАЛИТЬ ТОЧНО ВСЕ ?")}, true))
        return;
    try {
        for (const char *statement : kResetStatements)
            m_ctx.db.exec(QString::fromLatin1(statement));
        resetGenerator(QStringLiteral("deti"), 2,
                       {QStringLiteral("userp"), QStringLiteral("oplata"), QStringLiteral("sobstv"),
                        QStringLiteral("sprkand"), QStringLiteral("filearchiv"), QStringLiteral("doljnost"),
                        QStringLiteral("otpusk"), QStringLiteral("deti"), QStringLiteral("daysdeln")});
        resetGenerator(QStringLiteral("patent"), 0, {QStringLiteral("patent"), QStringLiteral("cenar")});
        resetGenerator(QStringLiteral("kart"), 2, {QStringLiteral("kart"), QStringLiteral("kandidat")});
        resetGenerator(QStringLiteral("obuser"), 2, {QStringLiteral("obuser")});
        m_ctx.db.exec(QStringLiteral("set generator atol to 0"));
        m_ctx.db.commit();
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

#include "service.moc"
