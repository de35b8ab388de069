#pragma once

#include "common/screen_registry.h"

#include <QDialog>

#include <functional>

class KagentListModel;
class QLineEdit;
class QTableView;

// "Контрагенты" list: picks a counterparty for an operation (select mode)
// or maintains the list (mode 2). The row with id 0 is never listed.
// Add, edit and delete commit; the card "kagent" is opened through the registry.
class VybKagent final : public QDialog
{
    Q_OBJECT

public:
    enum Mode { Select = 1, Maintain = 2 };

    explicit VybKagent(AppContext &ctx, QWidget *parent = nullptr);

    // Takes mode and currentId from the pick, shows the list modally and
    // answers chosen, id and trimmed name; select mode is restored afterwards.
    void run(Pick &pick);

    // The list query with the filter box's text; keeps the current row when it is still listed.
    void load();
    void okClicked();
    void cancelClicked();
    void addRecord();
    void editRecord();
    void deleteRecord();

    int mode() const { return m_mode; }
    int rowCount() const;
    double currentId() const;
    QString currentName() const;
    void setCurrentRow(int row);
    bool selectId(double id);
    QLineEdit *filterEdit() const { return m_filter; }
    QTableView *grid() const { return m_grid; }

    // The list opens modally unless a test drives it without a window.
    void setDialogRunner(std::function<void(VybKagent &)> runner) { m_runDialog = std::move(runner); }

private:
    void setupGrid();
    void connectActions();
    void reload(double id);
    void openCard(double id);
    void gridDoubleClicked();
    void filterChanged();

    AppContext &m_ctx;
    int m_mode = Select;
    bool m_chosen = false;
    double m_currentId = 0;
    QString m_chosenName;
    KagentListModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QLineEdit *m_filter = nullptr;
    std::function<void(VybKagent &)> m_runDialog;
};
