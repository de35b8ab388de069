#pragma once

#include <QDialog>
#include <QHash>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
struct AppContext;

// "Настройки организации": the one row of config2 (and the organisation's
// name copied into config). "Ok !" writes both and commits; closing the
// window any other way discards the edits, which the next showing reloads.
class OrgEdit final : public QDialog
{
    Q_OBJECT

public:
    explicit OrgEdit(AppContext &ctx, QWidget *parent = nullptr);

    void load();
    // "Ok !"; false when a text cannot be stored or the server refused.
    bool save();
    // The button of a payment-kind field: 1 for receipts, 2 for sales.
    void choosePayment(int which);

    QLineEdit *textField(const QString &column) const { return m_texts.value(column); }
    QDoubleSpinBox *numberField(const QString &column) const { return m_numbers.value(column); }
    QCheckBox *openGroupsBox() const { return m_openGroups; }
    QLineEdit *paymentField(int which) const { return m_payments[which - 1]; }
    double paymentId(int which) const { return m_paymentIds[which - 1]; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setupFields();
    void showPayment(int which, double id);
    QString updateStatement() const;

    AppContext &m_ctx;
    QHash<QString, QLineEdit *> m_texts;
    QHash<QString, QDoubleSpinBox *> m_numbers;
    QCheckBox *m_openGroups = nullptr;
    QLineEdit *m_payments[2] = {nullptr, nullptr};
    double m_paymentIds[2] = {0, 0};
};
