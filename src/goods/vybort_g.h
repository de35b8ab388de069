#pragma once

#include "common/screen_registry.h"

#include <QDialog>

#include <functional>

class CatalogueGroupsModel;
class CatalogueItemsModel;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;
class TtPod;

// "Справочник товаров" / "Справочник услуг": the one list of goods and
// services. In select mode operation screens pick an item from it (id, name,
// VAT rate, unit, price); in maintenance mode items are added, copied, edited
// and deleted here, each change committed.
class VyborTG final : public QDialog
{
    Q_OBJECT

public:
    enum Mode { Select = 1, Maintain = 2 };
    enum Kind { Goods = 0, Services = 1, Both = 9 };
    enum Order { NoOrder = 0, Ascending = 1, Descending = 2 };

    explicit VyborTG(AppContext &ctx, QWidget *parent = nullptr);

    // Takes mode, kind and currentId from the pick (extra "hideCancel" hides
    // "Отмена" for this call), shows the list modally and answers chosen, id,
    // name and extra "stnds", "edizm", "cenar".
    void run(Pick &pick);

    // The opening steps of run without showing the screen.
    void prepare(const Pick &pick);
    void loadGroups(double groupId);
    void loadItems(double itemId = 0);
    void okClicked();
    void cancelClicked();
    void addRecord();
    void editRecord();
    void deleteRecord();
    void copyRecord();
    void sortByName();
    void sortByPrice();

    int mode() const { return m_mode; }
    int kind() const { return m_kind; }
    int nameOrder() const { return m_nameOrder; }
    int priceOrder() const { return m_priceOrder; }
    int rowCount() const;
    int groupCount() const;
    double currentId() const;
    double currentGroupId() const;
    bool selectItem(double id);
    bool selectGroup(double id);
    void setCurrentRow(int row);
    void setCurrentGroupRow(int row);
    QString itemSql() const;

    QCheckBox *allGroupsBox() const { return m_allGroups; }
    QLineEdit *nameFilter() const { return m_filters[0]; }
    QLineEdit *groupFilter() const { return m_filters[1]; }
    QLineEdit *sectionFilter() const { return m_filters[2]; }
    QLineEdit *codeFilter() const { return m_filters[3]; }
    QLineEdit *makerFilter() const { return m_filters[4]; }
    QTableView *groupGrid() const { return m_groupGrid; }
    QTableView *itemGrid() const { return m_itemGrid; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *addButton() const { return m_add; }
    QPushButton *editButton() const { return m_edit; }
    QPushButton *deleteButton() const { return m_delete; }
    QPushButton *copyButton() const { return m_copy; }
    QToolButton *nameSortButton() const { return m_nameSort; }
    QToolButton *priceSortButton() const { return m_priceSort; }
    TtPod *card() const { return m_card; }

    void setDialogRunner(std::function<void(VyborTG &)> runner) { m_runDialog = std::move(runner); }

private:
    void setupWidgets();
    void connectActions();
    void applyAccessLevel();
    void groupChanged();
    void allGroupsClicked();
    void gridActivated();
    void reloadAll(double groupId, double itemId);
    void addPseudoReceipt(double itemId);
    void showSortState(QToolButton *button, int order);
    int nextOrder(int order) const { return (order + 1) % 3; }
    // A catch-all for the actions: a server error ends the action with nothing half-written.
    void guarded(const std::function<void()> &action);

    AppContext &m_ctx;
    int m_mode = Select;
    int m_kind = Goods;
    int m_nameOrder = Ascending;
    int m_priceOrder = Ascending;
    bool m_readOnly = false;
    bool m_chosen = false;
    double m_chosenId = 0;
    QString m_chosenName;
    double m_chosenVat = 0;
    QString m_chosenUnit;
    double m_chosenPrice = 0;

    CatalogueGroupsModel *m_groups = nullptr;
    CatalogueItemsModel *m_items = nullptr;
    QTableView *m_groupGrid = nullptr;
    QTableView *m_itemGrid = nullptr;
    QCheckBox *m_allGroups = nullptr;
    QLineEdit *m_filters[5] = {};
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_apply = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_copy = nullptr;
    QToolButton *m_nameSort = nullptr;
    QToolButton *m_priceSort = nullptr;
    TtPod *m_card = nullptr;
    bool m_loading = false;
    std::function<void(VyborTG &)> m_runDialog;
};
