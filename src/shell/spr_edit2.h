#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;
class QTableView;
class SprEdit;
class SprKandModel;
struct AppContext;
struct Pick;

// "Справочник": the candidates' vacancies (kind 1) or sources (kind 2), to
// choose one and to keep the list. Nothing is committed here: the candidate
// card's next commit or rollback decides.
class SprEdit2 final : public QDialog
{
    Q_OBJECT

public:
    explicit SprEdit2(AppContext &ctx, QWidget *parent = nullptr);

    // As a picker: pick.kind is the kind, pick.currentId the row to stand on.
    void run(Pick &pick);

    // What showing does: the filter cleared, nothing chosen, the list positioned.
    void prepare(int kind, double currentId);
    void load();
    void choose();
    void addItem();
    void editItem();
    void deleteItem();

    bool chosen() const { return m_chosen; }
    double chosenId() const { return m_chosenId; }
    QString chosenName() const { return m_chosenName; }

    QLineEdit *filterEdit() const { return m_filter; }
    int rowCount() const;
    double currentId() const;
    QString currentName() const;
    void setCurrentRow(int row);
    SprEdit *editor() const { return m_editor; }
    // The value editor opens modally unless a test drives it without a window.
    void setEditorRunner(std::function<void(SprEdit &)> runner) { m_runEditor = std::move(runner); }

    void reject() override;

private:
    void setupWidgets();
    void selectId(double id);
    void runEditor(double id);

    AppContext &m_ctx;
    int m_kind = 1;
    bool m_chosen = false;
    double m_chosenId = 0;
    QString m_chosenName;
    QLineEdit *m_filter = nullptr;
    QTableView *m_grid = nullptr;
    SprKandModel *m_model = nullptr;
    SprEdit *m_editor = nullptr;
    std::function<void(SprEdit &)> m_runEditor;
};
