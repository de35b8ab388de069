#pragma once

#include "common/screen_registry.h"

#include <QDialog>

#include <functional>

class GruppaModel;
class QLineEdit;
class QTableView;
class VvodTtRr;

// The reference screen of the simple name tables (groups, sections,
// warehouses, counterparties, ownership categories, payment kinds,
// positions): a picker in select mode, a maintenance list in mode 2.
// Every add, edit and delete commits; counterparties are edited by the
// "kagent" card through the registry.
class Gruppa final : public QDialog
{
    Q_OBJECT

public:
    enum Mode { Select = 1, Maintain = 2 };

    explicit Gruppa(AppContext &ctx, QWidget *parent = nullptr);

    // Takes table, mode, kind, currentId and nameToFind from the pick,
    // shows the list modally and answers chosen, id and trimmed name.
    void run(Pick &pick);

    // The list query with the filter box's text; keeps the current row when it is still listed.
    void load();
    void okClicked();
    void cancelClicked();
    void addRecord();
    void editRecord();
    void deleteRecord();

    int rowCount() const;
    double currentId() const;
    QString currentName() const;
    void setCurrentRow(int row);
    bool selectId(double id);
    QLineEdit *filterEdit() const { return m_filter; }
    QTableView *grid() const { return m_grid; }
    VvodTtRr *nameDialog() const { return m_nameDialog; }

    // Both open modally unless a test drives them without a window.
    void setNameDialogRunner(std::function<void(VvodTtRr &)> runner) { m_runNameDialog = std::move(runner); }
    void setDialogRunner(std::function<void(Gruppa &)> runner) { m_runDialog = std::move(runner); }

signals:
    // A warehouse was added: the main window rebuilds its list of warehouse ids.
    void warehouseAdded();

private:
    void setupGrid();
    void connectActions();
    void prepare(const Pick &pick);
    void reload(double id);
    void editName(double id);
    void gridDoubleClicked();
    QString inUseQuery(double id) const;

    AppContext &m_ctx;
    QString m_table = QStringLiteral("gruppat");
    int m_mode = Select;
    int m_kind = 0;
    bool m_chosen = false;
    double m_chosenId = 0;
    QString m_chosenName;
    GruppaModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QLineEdit *m_filter = nullptr;
    VvodTtRr *m_nameDialog = nullptr;
    std::function<void(VvodTtRr &)> m_runNameDialog;
    std::function<void(Gruppa &)> m_runDialog;
};
