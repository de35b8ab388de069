#include "shell/filesaveload.h"

#include "common/grid_delegate.h"
#include "common/numtools.h"
#include "common/rows_model.h"
#include "common/screen_registry.h"
#include "common/session.h"
#include "common/sql_literals.h"
#include "common/win1251.h"
#include "platform/db.h"
#include "platform/desktop.h"
#include "shell/vvodstroka.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

class AttachedFilesModel final : public RowsModel
{
    Q_OBJECT

public:
    enum Column { FileName, Note, Size, ColumnCount };

    explicit AttachedFilesModel(QObject *parent)
        : RowsModel({QStringLiteral("Имя файла"), QStringLiteral("Примечание"), QStringLiteral("Объем")},
                    {QStringLiteral("filename"), QStringLiteral("note"), QStringLiteral("fsize")}, parent)
    {
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::TextAlignmentRole && index.column() == Size)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return RowsModel::data(index, role);
    }
};

FileSaveLoad::FileSaveLoad(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm675"));
    setWindowTitle(QStringLiteral("Файлы"));
    m_note = new VvodStroka(this);
    m_runNote = [](VvodStroka &dialog) { dialog.exec(); };
    setupWidgets();
    applyAccessLevel();
    resize(760, 420);
}

void FileSaveLoad::setupWidgets()
{
    m_model = new AttachedFilesModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    ::setupGrid(m_grid);
    m_grid->setColumnWidth(AttachedFilesModel::FileName, 300);
    m_grid->setColumnWidth(AttachedFilesModel::Note, 300);
    m_grid->horizontalHeader()->setStretchLastSection(true);

    auto *buttons = new QHBoxLayout;
    const auto add = [this, buttons](const QString &text, void (FileSaveLoad::*action)()) {
        auto *button = new QPushButton(text, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
        return button;
    };
    m_add = add(QStringLiteral("Добавить запись"), &FileSaveLoad::addFile);
    add(QStringLiteral("Открыть"), &FileSaveLoad::openFile);
    add(QStringLiteral("Сохранить"), &FileSaveLoad::saveFile);
    m_delete = add(QStringLiteral("Удалить запись"), &FileSaveLoad::deleteFile);
    buttons->addStretch();
    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Размер прикрепляемых к карточке файлов не должен превышать 15 Мб"), this));
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
}

void FileSaveLoad::applyAccessLevel()
{
    const bool readOnly = m_ctx.session.AccessLevel == 4 || m_ctx.session.AccessLevel == 5;
    for (QPushButton *button : {m_add, m_delete}) {
        button->setVisible(!readOnly);
        button->setEnabled(!readOnly);
    }
}

void FileSaveLoad::setOwner(int mode, double id)
{
    m_mode = mode;
    m_ownerId = id;
}

void FileSaveLoad::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    try {
        load();
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

void FileSaveLoad::done(int result)
{
    if (!m_ctx.session.WorkDir.isEmpty())
        QDir::setCurrent(m_ctx.session.WorkDir);
    QDialog::done(result);
}

void FileSaveLoad::load()
{
    // The file bytes stay in the database until a file is opened or saved.
    m_model->setRows(
        m_ctx.db.query(QStringLiteral("select id,idkart,idkand,filename,note,fsize from filearchiv where\n") +
                       (m_mode == 1 ? QStringLiteral("idkart=") : QStringLiteral("idkand=")) +
                       sqlId(m_ownerId) + QStringLiteral("\norder by id")));
    if (m_model->rowCount() > 0 && !m_grid->currentIndex().isValid())
        setCurrentRow(0);
}

int FileSaveLoad::rowCount() const
{
    return m_model->rowCount();
}

double FileSaveLoad::currentId() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? m_model->row(index.row()).value(QStringLiteral("id")).toDouble() : 0;
}

void FileSaveLoad::setCurrentRow(int row)
{
    m_grid->setCurrentIndex(m_model->index(row, 0));
}

void FileSaveLoad::selectId(double id)
{
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (m_model->row(r).value(QStringLiteral("id")).toDouble() == id) {
            setCurrentRow(r);
            return;
        }
    }
}

double FileSaveLoad::sizeMb(qint64 bytes)
{
    return DRound(2, double(bytes) / 1048576.0);
}

QString FileSaveLoad::sizeText(double sizeMb)
{
    return QString::number(sizeMb, 'f', 2);
}

QString FileSaveLoad::sizeRefusal(double sizeMb, const QString &file)
{
    if (sizeMb <= kMaxSizeMb)
        return {};
    return QStringLiteral("Размер загружаемого файла ") + sizeText(sizeMb) +
           QStringLiteral(" Мб превышает максимально допустимый размер (15 Мб)") + QLatin1Char('\n') + file;
}

void FileSaveLoad::addFile()
{
    if (!m_add->isEnabled())
        return;
    const QString path = m_ctx.desktop.openFile(QStringLiteral("Добавить запись"), m_ctx.session.WorkDir,
                                                QStringLiteral("Все файлы (*)"));
    if (!m_ctx.session.WorkDir.isEmpty())
        QDir::setCurrent(m_ctx.session.WorkDir);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_ctx.desktop.error({file.errorString()});
        return;
    }
    const double size = sizeMb(file.size());
    const QString refusal = sizeRefusal(size, path);
    if (!refusal.isEmpty()) {
        m_ctx.desktop.error({refusal});
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_ctx.desktop.error({file.errorString()});
        return;
    }
    const QString fileName = QFileInfo(path).fileName();
    m_note->field()->clear();
    m_runNote(*m_note);
    if (!m_note->confirmed())
        return;
    for (const QString &text : {fileName, m_note->text()}) {
        const QString message = win1251::unfitMessage(text);
        if (!message.isEmpty()) {
            m_ctx.desktop.warn({message});
            return;
        }
    }
    try {
        const double id = m_ctx.db.newId(QStringLiteral("deti"));
        m_ctx.db.exec(
            QStringLiteral("insert into filearchiv (id,idkart,idkand) values (%1,%2,%3)")
                .arg(sqlId(id), sqlId(m_mode == 1 ? m_ownerId : 0), sqlId(m_mode == 2 ? m_ownerId : 0)));
        m_ctx.db.commit();
        m_ctx.db.execWithBlob(QStringLiteral("update filearchiv set filename=") + sqlText(fileName) +
                                  QStringLiteral(",note=") + sqlText(m_note->text()) +
                                  QStringLiteral(",fsize=") +
                                  sqlText(sizeText(size) + QStringLiteral(" Мб")) +
                                  QStringLiteral(",POLETEXT=:poletext where id=") + sqlId(id),
                              QStringLiteral(":poletext"), bytes);
        m_ctx.db.commit();
        load();
        selectId(id);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

QByteArray FileSaveLoad::currentBlob()
{
    return m_ctx.db.scalar(QStringLiteral("select POLETEXT from filearchiv where id=") + sqlId(currentId()))
        .toByteArray();
}

bool FileSaveLoad::writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        m_ctx.desktop.error({file.errorString()});
        return false;
    }
    return true;
}

QString FileSaveLoad::currentValue(const QString &column) const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? m_model->row(index.row()).value(column).toString().trimmed() : QString();
}

void FileSaveLoad::openFile()
{
    if (rowCount() == 0)
        return;
    try {
        const QByteArray bytes = currentBlob();
        if (bytes.isEmpty())
            return;
        const QString folder = m_ctx.session.path(QStringLiteral("TMP_XLS"));
        QDir().mkpath(folder);
        const QString path = folder + QLatin1Char('/') + currentValue(QStringLiteral("filename"));
        if (writeFile(path, bytes))
            m_ctx.desktop.openDocument(path);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

void FileSaveLoad::saveFile()
{
    if (rowCount() == 0)
        return;
    const QString path = m_ctx.desktop.saveFile(QStringLiteral("Сохранить"),
                                                m_ctx.session.path(currentValue(QStringLiteral("filename"))),
                                                QStringLiteral("Все файлы (*)"));
    if (path.isEmpty())
        return;
    try {
        const QByteArray bytes = currentBlob();
        if (bytes.isEmpty())
            return;
        if (writeFile(path, bytes))
            m_ctx.desktop.info({QStringLiteral("Файл сохранен"), path});
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

void FileSaveLoad::deleteFile()
{
    if (!m_delete->isEnabled() || rowCount() == 0)
        return;
    if (!m_ctx.desktop.ask({QStringLiteral("Удалить запись"), currentValue(QStringLiteral("note"))}, true))
        return;
    try {
        m_ctx.db.exec(QStringLiteral("delete from filearchiv where id=") + sqlId(currentId()));
        load();
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
    }
}

#include "filesaveload.moc"
