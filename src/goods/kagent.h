#pragma once

#include "common/screen_registry.h"

#include <QDialog>
#include <QHash>

#include <functional>

class QLineEdit;

// "Контрагенты" card: the requisites of one counterparty row that already
// exists. "Ok !" writes them with their upper-case copies; nothing is
// committed here, the caller commits once the card has closed.
class Kagent final : public QDialog
{
    Q_OBJECT

public:
    explicit Kagent(AppContext &ctx, QWidget *parent = nullptr);

    // Edits the row pick.currentId; answers chosen (saved), id and the trimmed name.
    void run(Pick &pick);

    void load(double id);
    // Writes the fields; false (and the card stays open) when a text is refused.
    bool save();
    void okClicked();
    // Asks "Выйти без сохранения ?" and closes only on Yes.
    void cancelClicked();
    void reject() override;

    double id() const { return m_id; }
    // The edit box of a column of post ("name", "inn", ..., "vlicefio").
    QLineEdit *field(const QString &column) const { return m_fields.value(column); }

    // The card opens modally unless a test drives it without a window.
    void setDialogRunner(std::function<void(Kagent &)> runner) { m_runDialog = std::move(runner); }

private:
    void setupFields();
    void connectActions();

    AppContext &m_ctx;
    double m_id = 0;
    QHash<QString, QLineEdit *> m_fields;
    std::function<void(Kagent &)> m_runDialog;
};
