#include "shell/passw.h"

#include "common/sql_literals.h"
#include "platform/db.h"
#include "platform/desktop.h"
#include "shell/backup.h"
#include "shell/control_vers.h"
#include "common/session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSystemSemaphore>
#include <QVBoxLayout>

namespace {

// The login that F5 fills in: the developer's account, which exists only
// where the database was created with a developer password.
const QString kDeveloperLogin = QStringLiteral("qxwzmpjvt");

QPushButton *addButton(QWidget *parent, const QString &name, const QString &text, const QString &hint = {})
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setToolTip(hint);
    return button;
}

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
}

void writeLines(const QString &path, const QStringList &lines)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

} // namespace

Passw::Passw(Session &session, Db &db, Desktop &desktop, QWidget *parent)
    : QDialog(parent), m_session(session), m_db(db), m_desktop(desktop)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Вход в систему"));
    setupFields();
    connectActions();
}

Passw::~Passw() = default;

void Passw::setupFields()
{
    auto *title = new QLabel(QStringLiteral("СКЛАД"), this);
    QFont big = title->font();
    big.setPointSize(20);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    m_login = new QLineEdit(QStringLiteral("user1"), this);
    m_login->setObjectName(QStringLiteral("editLogin"));
    m_login->installEventFilter(this);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("editPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_server = new QLineEdit(QStringLiteral("127.0.0.1"), this);
    m_server->setObjectName(QStringLiteral("editServer"));
    m_database = new QLineEdit(this);
    m_database->setObjectName(QStringLiteral("editDatabase"));
    m_database->setMinimumWidth(360);
    auto *browse = addButton(this, QStringLiteral("buttonBrowse"), QStringLiteral("..."));
    connect(browse, &QPushButton::clicked, this, &Passw::browse);

    auto *databaseRow = new QHBoxLayout;
    databaseRow->addWidget(m_database);
    databaseRow->addWidget(browse);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Login"), m_login);
    form->addRow(QStringLiteral("Пароль"), m_password);
    form->addRow(QStringLiteral("Сервер адрес"), m_server);
    form->addRow(QStringLiteral("База данных"), databaseRow);

    m_start = addButton(this, QStringLiteral("buttonStart"), QStringLiteral("СТАРТ"));
    // Enter anywhere on the screen presses "СТАРТ".
    m_start->setDefault(true);
    auto *buttons = new QGridLayout;
    buttons->addWidget(m_start, 0, 0);
    buttons->addWidget(addButton(this, QStringLiteral("buttonCancel"), QStringLiteral("Отмена")), 0, 1);
    buttons->addWidget(addButton(this, QStringLiteral("buttonBackup"), QStringLiteral("Архив"),
                                 QStringLiteral("Создать архив текущей информационной базы")),
                       1, 0);
    buttons->addWidget(addButton(this, QStringLiteral("buttonRestore"), QStringLiteral("Восстановить"),
                                 QStringLiteral("Восстановление из архива информационной базы")),
                       1, 1);
    buttons->addWidget(addButton(this, QStringLiteral("buttonFirebird"), QStringLiteral("Firebird")), 2, 0);
    buttons->addWidget(addButton(this, QStringLiteral("buttonManual"), QStringLiteral("Инструкция")), 2, 1);
    buttons->addWidget(addButton(this, QStringLiteral("buttonUpdate"), QStringLiteral("Обновление")), 3, 0, 1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void Passw::connectActions()
{
    const auto wire = [this](const char *name, void (Passw::*action)()) {
        connect(findChild<QPushButton *>(QString::fromLatin1(name)), &QPushButton::clicked, this, action);
    };
    connect(m_start, &QPushButton::clicked, this, [this] { start(); });
    wire("buttonCancel", &Passw::cancel);
    wire("buttonBackup", &Passw::backup);
    wire("buttonRestore", &Passw::restore);
    wire("buttonFirebird", &Passw::firebird);
    wire("buttonManual", &Passw::instruction);
    wire("buttonUpdate", &Passw::update);
}

bool Passw::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_login && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F5) {
        m_login->setText(kDeveloperLogin);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Passw::prepare()
{
    setWindowTitle(QStringLiteral("Вход в систему TEVO Склад ") + m_session.versionText());
    const QStringList saved = readLines(m_session.path(QStringLiteral("ipserver.txt")));
    if (!saved.isEmpty() && !saved.first().trimmed().isEmpty()) {
        m_server->setText(saved.value(0).trimmed());
        m_database->setText(saved.value(1).trimmed());
    }
    m_failed = 0;
    m_session.AccessLevel = -1;
    countLaunch();
}

void Passw::countLaunch()
{
    const QString path = m_session.path(QStringLiteral("start.txt"));
    int counter = 0;
    if (QFileInfo::exists(path)) {
        bool ok = false;
        const int stored = readLines(path).value(0).trimmed().toInt(&ok);
        if (ok)
            counter = stored + 1;
    } else {
        counter = 1;
    }
    if (counter > 0)
        writeLines(path, {QString::number(counter)});
    if (counter <= 3)
        m_desktop.info({QStringLiteral("После установки программы"), QStringLiteral("Имя пользователя = user1"),
                        QStringLiteral("Пароль не установлен"), QStringLiteral("Запуск базы кнопка СТАРТ")});
}

void Passw::writeServerFile() const
{
    writeLines(m_session.path(QStringLiteral("ipserver.txt")), {m_server->text().trimmed(), m_database->text().trimmed()});
}

bool Passw::checkDatabaseFile()
{
    const QString path = m_database->text().trimmed();
    if (m_server->text().trimmed() != QLatin1String("127.0.0.1") || QFileInfo(path).isFile())
        return true;
    m_desktop.warn({QStringLiteral("Указан адрес сервера 127.0.0.1"), QStringLiteral("Файл с базой данных не обнаружен"),
                    path});
    const QString standard = m_session.path(QStringLiteral("DB/DB1.FDB"));
    if (QFileInfo(standard).isFile()
        && m_desktop.ask({QStringLiteral("Обнаружен файл с базой данных"), standard,
                          QStringLiteral("Использовать его для подключения ?")}))
        m_database->setText(standard);
    return false;
}

bool Passw::connectDatabase()
{
    const QString server = m_server->text().trimmed();
    const QString path = m_database->text().trimmed();
    emit statusChanged(QStringLiteral("База: ") + path);
    try {
        m_db.open(server, path);
    } catch (const DbError &) {
        m_desktop.error({QStringLiteral("Ошибка подключения к базе данных"),
                         QStringLiteral("Проверьте установлен ли сервер Firebird"),
                         QStringLiteral("Версия сервера должна быть не ниже 2.5"),
                         QStringLiteral("Сейчас будет вызвана программа мониторинга Firebird, в которой можно будет "
                                        "удалить текущую версию и установить 2.5")});
        const QString monitor = m_session.path(QStringLiteral("fireb_set.exe"));
        if (QFileInfo::exists(monitor))
            m_desktop.startProgram(monitor, {}, false, true);
        return false;
    }
    m_session.KladrDatabase = server + QStringLiteral(":kladrp");
    return true;
}

bool Passw::checkVersion()
{
    const QString stored = m_db.scalar(QStringLiteral("select fontname from config2")).toString().trimmed();
    if (stored == m_session.ProgramVersion)
        return true;
    if (!m_desktop.ask({QStringLiteral("Версия программы ") + m_session.ProgramVersion,
                        QStringLiteral("не совпадает с версией базы данных ") + stored,
                        QStringLiteral("Провести Контроль версий ?"),
                        QStringLiteral("Все пользователи должны закрыть программу перед Контролем версий")}))
        return false;
    FControlVers(m_db, m_desktop);
    m_db.exec(QStringLiteral("update config2 set fontname = ") + sqlText(m_session.ProgramVersion));
    m_db.commit();
    m_desktop.info({QStringLiteral("Контроль версий выполнен")});
    return true;
}

bool Passw::checkUser()
{
    const DbRows rows = m_db.query(QStringLiteral("select * from userp where trim(login)=") + sqlText(m_login->text())
                                   + QStringLiteral(" and trim(passw)=") + sqlText(m_password->text())
                                   + QStringLiteral(" order by id"));
    if (rows.isEmpty())
        return false;
    const QSqlRecord &user = rows.first();
    m_session.UserId = user.value(QStringLiteral("id")).toDouble();
    m_session.AccessLevel = int(user.value(QStringLiteral("uroven")).toDouble());
    m_session.LoginName = user.value(QStringLiteral("login")).toString().trimmed();
    m_session.SessionId = m_db.newId(QStringLiteral("obuser"));
    const QString fio = user.value(QStringLiteral("fam")).toString().trimmed() + QLatin1Char(' ')
        + user.value(QStringLiteral("im")).toString().trimmed() + QLatin1Char(' ')
        + user.value(QStringLiteral("ot")).toString().trimmed();
    emit statusChanged(QStringLiteral("Уровень доступа=") + accessLevelName(m_session.AccessLevel)
                       + QStringLiteral(", ") + fio);
    return true;
}

bool Passw::start()
{
    // "\DB" stands for the standard database of the working folder.
    const QString typed = m_database->text().trimmed();
    if (typed == QLatin1String("\\DB") || typed == QLatin1String("/DB"))
        m_database->setText(m_session.path(QStringLiteral("DB/DB1.FDB")));
    if (!checkDatabaseFile())
        return false;
    if (!m_mutex)
        m_mutex = std::make_unique<QSystemSemaphore>(QStringLiteral("TEVO_SKLAD_RUNNING"), 1,
                                                     QSystemSemaphore::Open);
    writeServerFile();
    if (!connectDatabase())
        return false;
    try {
        if (!checkVersion())
            return false;
        ++m_failed;
        if (!checkUser()) {
            m_desktop.error({QStringLiteral("Неверный пользователь/пароль")});
            if (m_failed >= 4) {
                m_session.AccessLevel = -1;
                QDialog::reject();
            }
            return false;
        }
        m_db.exec(QStringLiteral("insert into obuser (id,iduser,timestart) values (%1,%2,CURRENT_TIMESTAMP)")
                      .arg(sqlId(m_session.SessionId), sqlId(m_session.UserId)));
        m_db.commit();
    } catch (const DbError &e) {
        m_desktop.error({e.message()});
        return false;
    }
    accept();
    return true;
}

void Passw::browse()
{
    const QString server = m_server->text().trimmed();
    if (server != QLatin1String("127.0.0.1")) {
        m_desktop.info({QStringLiteral("Адрес сервера ") + server,
                        QStringLiteral("Указание пути к файлу с базой данных через Проводник возможно только для "
                                       "локального размещения сервера (адрес 127.0.0.1)"),
                        QStringLiteral("В случае размещения базы на внешнем сервере в данном поле необходимо указать "
                                       "alias (ссылку согласно настроек сервера)")});
        return;
    }
    QString folder = QFileInfo(m_database->text().trimmed()).absolutePath();
    if (m_database->text().trimmed().isEmpty() || !QFileInfo(folder).isDir())
        folder = m_session.WorkDir;
    const QString file =
        m_desktop.openFile(QStringLiteral("База данных"), folder, QStringLiteral("База данных (*.fdb *.FDB)"));
    if (file.isEmpty())
        return;
    if (m_desktop.ask({QStringLiteral("Выбрать файл базы даных"), file}))
        m_database->setText(file);
}

void Passw::backup()
{
    DbBackup(m_session, m_desktop).backup(m_server->text(), m_database->text());
}

void Passw::restore()
{
    DbBackup(m_session, m_desktop).restore(m_server->text(), m_database->text());
}

void Passw::firebird()
{
    const QString monitor = m_session.path(QStringLiteral("fireb_set.exe"));
    if (!QFileInfo::exists(monitor)) {
        m_desktop.info({QStringLiteral("Не найдена программа "), monitor});
        return;
    }
    m_desktop.startProgram(monitor, {}, false, true);
}

void Passw::instruction()
{
    const QString manual = m_session.path(QStringLiteral("instfb.pdf"));
    if (!QFileInfo::exists(manual)) {
        m_desktop.info({QStringLiteral("Не найден файл "), manual});
        return;
    }
    m_desktop.openDocument(manual);
}

void Passw::update()
{
    // The update folder lives in the program's own folder, never elsewhere.
    const QString folder = m_session.path(QStringLiteral("OBNSKLAD"));
    QDir().mkpath(folder);
    QDir dir(folder);
    for (const QString &file : dir.entryList(QDir::Files | QDir::Hidden))
        dir.remove(file);
    for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!sub.contains(QLatin1Char('.')))
            dir.rmdir(sub);
    }
    QFile::remove(m_session.path(QStringLiteral("obnsklad.zip")));
    if (!m_desktop.ask({QStringLiteral("Проверить актуальность версии программы ?"),
                        QStringLiteral("Должно быть подключение к интернету"),
                        QStringLiteral("Основная программа будет закрыта и будет вызван модуль обновления")}))
        return;
    writeLines(m_session.path(QStringLiteral("tvers3.txt")), {m_session.ProgramVersion});
    const QString updater = m_session.path(QStringLiteral("obnftp.exe"));
    if (!QFileInfo::exists(updater)) {
        m_desktop.info({QStringLiteral("Не найден модуль обновления"), updater});
        return;
    }
    m_desktop.startProgram(updater, {QLatin1Char('"') + m_session.WorkDir + QLatin1Char('"')}, false);
    m_session.AccessLevel = -1;
    QDialog::reject();
}

void Passw::cancel()
{
    m_session.AccessLevel = -1;
    QDialog::reject();
}

void Passw::reject()
{
    cancel();
}
