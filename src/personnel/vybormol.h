#pragma once

#include "common/screen_registry.h"

#include <QDialog>

#include <functional>

class MolListModel;
class QLineEdit;
class QTableView;

// "Выбор Сотрудника": picks a materially responsible person for the
// warehouse cards. Lists every employee, the placeholder 0 included, and
// writes nothing.
class VyborMol final : public QDialog
{
    Q_OBJECT

public:
    explicit VyborMol(AppContext &ctx, QWidget *parent = nullptr);

    // Positions on currentId, shows the list modally and answers chosen, id and name (fio2).
    void run(Pick &pick);

    void load();
    void okClicked();

    int rowCount() const;
    double currentId() const;
    QString currentFio() const;
    double idAt(int row) const;
    void setCurrentRow(int row);
    bool selectId(double id);
    QLineEdit *searchEdit() const { return m_search; }
    QTableView *grid() const { return m_grid; }

    // Opens modally unless a test drives it without a window.
    void setDialogRunner(std::function<void(VyborMol &)> runner) { m_runDialog = std::move(runner); }

private:
    void setupGrid();
    void connectActions();
    void searchChanged();

    AppContext &m_ctx;
    bool m_chosen = false;
    double m_chosenId = 0;
    QString m_chosenFio;
    MolListModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QLineEdit *m_search = nullptr;
    std::function<void(VyborMol &)> m_runDialog;
};
