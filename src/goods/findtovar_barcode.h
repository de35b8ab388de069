#pragma once

#include "common/screen_registry.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;

// Takes a code typed by hand or by a barcode scanner. In mode 1 it finds the
// goods item whose upper-case code copy equals the code, on every change of
// the field; in mode 2 it only reads the code. The results stay readable
// after it closes. It writes nothing to the database.
class FindtovarBarcode final : public QDialog
{
    Q_OBJECT

public:
    enum Mode { Search = 1, ReadOnly = 2 };

    explicit FindtovarBarcode(AppContext &ctx, QWidget *parent = nullptr);

    // Takes the mode and, when not empty, this call's caption (pick.name);
    // answers chosen, the entered code as name, the goods id and in extra
    // "stnds", "cenar", "edizm" and "description".
    void run(Pick &pick);

    void okClicked();
    void cancelClicked();

    bool okFlag() const { return m_ok; }
    QString enteredCode() const { return m_enteredCode; }
    double goodsId() const { return m_goodsId; }
    double stnds() const { return m_stnds; }
    double cenar() const { return m_cenar; }
    QString edizm() const { return m_edizm; }
    QString description() const { return m_description; }
    bool found() const { return m_goodsId != -1; }

    QLineEdit *codeEdit() const { return m_code; }
    QLabel *resultLabel() const { return m_result; }

    // Opens modally unless a test drives the dialog without a window.
    void setDialogRunner(std::function<void(FindtovarBarcode &)> runner) { m_runDialog = std::move(runner); }

private:
    void buildLayout();
    void connectActions();
    void prepare(int mode);
    void resetFound();
    void codeChanged(const QString &text);
    void search(const QString &code);
    void showResult(const QString &text, const QColor &colour);

    AppContext &m_ctx;
    int m_mode = Search;
    bool m_ok = false;
    QString m_enteredCode;
    double m_goodsId = -1;
    double m_stnds = 0;
    double m_cenar = 0;
    QString m_edizm;
    QString m_description;
    QLineEdit *m_code = nullptr;
    QLabel *m_result = nullptr;
    std::function<void(FindtovarBarcode &)> m_runDialog;
};
