#pragma once

#include "common/screen_registry.h"

#include <QDialog>

#include <functional>

class DublTovar;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// "Ввод данных": the card of one goods or service row. It keeps the sale-price
// history, marks changes for the cash registers, guards the external code and
// warns about duplicate codes after saving. It writes without committing: the
// caller commits after it closes.
class TtPod final : public QDialog
{
    Q_OBJECT

public:
    explicit TtPod(AppContext &ctx, QWidget *parent = nullptr);

    // Opens the card modally on an existing tovar row; kind 0 goods, 1 services,
    // 9 both. Restricted leaves only prices, VAT, manufacturer and external code
    // open. True when the card was saved.
    bool run(double id, int kind, bool restricted = false);
    // The same through the registry: currentId, kind, extra "restricted"; answers chosen.
    void run(Pick &pick);

    // The opening steps without showing the card.
    void prepare(double id, int kind, bool restricted);
    // "Ok !": writes the row and closes; false (card stays open) when a value is refused.
    bool okClicked();
    void cancelClicked();
    void chooseGroup();
    void unlockExternalCode();
    void generateEan13();
    void readFromScanner();
    void copyToClipboard();
    // The read-only price with VAT from the price and the VAT rate.
    void updatePriceWithVat();

    double id() const { return m_id; }
    double groupId() const { return m_groupId; }
    QLineEdit *nameEdit() const { return m_name; }
    QLineEdit *groupEdit() const { return m_group; }
    QLineEdit *unitEdit() const { return m_unit; }
    QLineEdit *vatEdit() const { return m_vat; }
    QLineEdit *priceEdit() const { return m_price; }
    QLineEdit *priceWithVatEdit() const { return m_priceWithVat; }
    QLineEdit *codeEdit() const { return m_code; }
    QLineEdit *makerEdit() const { return m_maker; }
    QLineEdit *externalCodeEdit() const { return m_externalCode; }
    QComboBox *priceListChoice() const { return m_priceList; }
    QLabel *barcodePicture() const { return m_picture; }
    QToolButton *unlockButton() const { return m_unlock; }
    DublTovar *duplicates() const { return m_duplicates; }

    void setDialogRunner(std::function<void(TtPod &)> runner) { m_runDialog = std::move(runner); }

private:
    void setupFields();
    void setRestricted(bool restricted);
    void applyKind();
    void lockExternalCode(bool locked);
    void redrawBarcode();
    bool readAmount(QLineEdit *edit, const QString &what, double &value);
    void save(double price, double vat);

    AppContext &m_ctx;
    double m_id = 0;
    int m_kind = 0;
    bool m_restricted = false;
    bool m_saved = false;
    double m_groupId = 0;
    double m_oldPrice = 0;
    double m_oldVat = 0;
    QString m_openedName;
    QString m_openedCode;
    QString m_openedMaker;
    double m_openedPriceWithVat = 0;

    QLabel *m_nameCaption = nullptr;
    QLabel *m_groupCaption = nullptr;
    QLabel *m_codeCaption = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_group = nullptr;
    QToolButton *m_groupButton = nullptr;
    QLineEdit *m_unit = nullptr;
    QLineEdit *m_vat = nullptr;
    QLineEdit *m_price = nullptr;
    QLineEdit *m_priceWithVat = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_maker = nullptr;
    QLineEdit *m_externalCode = nullptr;
    QToolButton *m_unlock = nullptr;
    QComboBox *m_priceList = nullptr;
    QLabel *m_picture = nullptr;
    QPushButton *m_scanner = nullptr;
    QPushButton *m_ean13 = nullptr;
    QPushButton *m_clipboard = nullptr;
    QPushButton *m_history = nullptr;
    QPushButton *m_priceTag = nullptr;
    DublTovar *m_duplicates = nullptr;
    std::function<void(TtPod &)> m_runDialog;
};
