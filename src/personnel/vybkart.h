#pragma once

#include "common/screen_registry.h"

#include <QDialog>

#include <functional>

class KartEd2;
class KartListModel;
class QLineEdit;
class QTableView;

// "Выбор сотрудника": the employee list with its search. In selection mode
// "Ok !" and double-click answer the pick with the employee's id and fio2; in
// directory mode "Ok !" only closes and double-click edits. Both modes add,
// edit (through the short card, which commits) and delete (committed here);
// the placeholder employee 0 is listed but never edited or deleted.
class VybKart final : public QDialog
{
    Q_OBJECT

public:
    enum Mode { Select = 1, Directory = 2 };

    explicit VybKart(AppContext &ctx, QWidget *parent = nullptr);

    // Takes mode and currentId from the pick, shows the list modally and
    // answers chosen, id and name (fio2).
    void run(Pick &pick);

    // The list query with the search text; keeps the current employee when still listed.
    void load();
    void okClicked();
    void addRecord();
    void editRecord();
    void deleteRecord();

    int mode() const { return m_mode; }
    int rowCount() const;
    double currentId() const;
    QString currentFio() const;
    double idAt(int row) const;
    void setCurrentRow(int row);
    bool selectId(double id);
    QLineEdit *searchEdit() const { return m_search; }
    QTableView *grid() const { return m_grid; }
    KartEd2 *card() const { return m_card; }

    // Both open modally unless a test drives them without a window.
    void setCardRunner(std::function<void(KartEd2 &)> runner) { m_runCard = std::move(runner); }
    void setDialogRunner(std::function<void(VybKart &)> runner) { m_runDialog = std::move(runner); }

private:
    void setupGrid();
    void connectActions();
    void gridDoubleClicked();
    void searchChanged();
    void editCard(double id);
    // The warning that refuses deleting an employee still named by movement lines or sales; empty when none.
    QString referenceMessage(double id);

    AppContext &m_ctx;
    int m_mode = Select;
    bool m_chosen = false;
    double m_chosenId = 0;
    QString m_chosenFio;
    KartListModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QLineEdit *m_search = nullptr;
    KartEd2 *m_card = nullptr;
    std::function<void(KartEd2 &)> m_runCard;
    std::function<void(VybKart &)> m_runDialog;
};
