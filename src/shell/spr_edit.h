#pragma once

#include <QDialog>

class QLineEdit;
struct AppContext;

// "Значение элемента Справочника": the name of one candidates' reference
// book row with its search copy. Saving does not commit.
class SprEdit final : public QDialog
{
    Q_OBJECT

public:
    explicit SprEdit(AppContext &ctx, QWidget *parent = nullptr);

    void load(double id);
    // "Ok !"; false (and the editor stays open) when refused.
    bool save();
    QLineEdit *nameEdit() const { return m_name; }

private:
    AppContext &m_ctx;
    double m_id = 0;
    QLineEdit *m_name = nullptr;
};
