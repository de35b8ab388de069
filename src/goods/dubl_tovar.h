#pragma once

#include "platform/db.h"

#include <QDialog>

#include <functional>

class RowsModel;
class QTableView;

// "Товары дубликаты": warns after a save that other goods carry the same code
// or external code. The save stays; the list only informs.
class DublTovar final : public QDialog
{
    Q_OBJECT

public:
    explicit DublTovar(QWidget *parent = nullptr);

    // Lists the rows (name, kod, kod5, atolkod) and shows the list modally.
    void run(const DbRows &rows);

    int rowCount() const;
    QTableView *grid() const { return m_grid; }
    void setDialogRunner(std::function<void(DublTovar &)> runner) { m_runDialog = std::move(runner); }

private:
    RowsModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    std::function<void(DublTovar &)> m_runDialog;
};
