#pragma once

#include <QDialog>

class QPlainTextEdit;
class QTableView;
class QueryRowsModel;
struct AppContext;

// "Сервис": SQL statements and scripts run on the main database, the country
// table filled from the classifier file, and the reset of a database to its
// empty state. Only the developer's level reaches it; the main window sees to that.
class Service final : public QDialog
{
    Q_OBJECT

public:
    explicit Service(AppContext &ctx, QWidget *parent = nullptr);

    QPlainTextEdit *sqlBox() const { return m_sql; }
    QTableView *grid() const { return m_grid; }

    // "Выполнить скрипт ": a script file chosen in the dialog.
    void runScript();
    // The script rules: a line ";" ends a statement, "//" lines are skipped.
    // False when a statement failed; what ran before it stays committed.
    bool runScriptFile(const QString &path);
    // "Выполнить запрос DB1".
    void runQuery();
    // "Выполнить команду в DB1".
    void runCommand();
    // "Заполнить таблицу Страна".
    void fillCountries();
    // "Oper Note2=Upper(Note)".
    void upperOperNotes();
    // "ОБНУЛИТЬ БАЗУ".
    void resetDatabase();

    // The country classifier in the working folder, whatever the case of its name.
    QString oksmPath() const;

private:
    void setupWidgets();
    // Runs the text when its first line is not empty; true when it ran.
    bool executeCommand(const QStringList &lines);
    void resetGenerator(const QString &generator, double floor, const QStringList &tables);

    AppContext &m_ctx;
    QPlainTextEdit *m_sql = nullptr;
    QTableView *m_grid = nullptr;
    QueryRowsModel *m_model = nullptr;
};
