#include "goods/findtovar_barcode.h"

#include "common/sql_literals.h"
#include "common/text_case.h"
#include "common/win1251.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Поиск товара по штрих-коду");
const QString kSearching = QStringLiteral("поиск товара....");
const QString kNotFound = QStringLiteral("Товар не найден");
const QColor kFoundColour = QColor(0, 0, 128); // navy
const QColor kNotFoundColour = Qt::red;

} // namespace

FindtovarBarcode::FindtovarBarcode(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm709"));
    setWindowTitle(kCaption);
    m_runDialog = [](FindtovarBarcode &dialog) { dialog.exec(); };
    buildLayout();
    connectActions();
    resize(560, 220);
}

void FindtovarBarcode::buildLayout()
{
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("JvEdit1"));
    m_code->setMaxLength(50); // tovar.kod
    QFont codeFont = m_code->font();
    codeFont.setPointSize(12);
    m_code->setFont(codeFont);
    m_code->setMinimumWidth(220);

    auto *instruction =
        new QLabel(QStringLiteral("Наведите сканер на штрих-код ") + QLatin1Char('\n') +
                       QStringLiteral("и нажмите кнопку для считывания кода") + QLatin1Char('\n') +
                       QStringLiteral("либо введите вручную код в поле слева"),
                   this);
    instruction->setObjectName(QStringLiteral("RxLabel1"));

    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("RxLabel2"));
    m_result->setWordWrap(true);
    m_result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_result->setMinimumHeight(90);
    QFont resultFont = m_result->font();
    resultFont.setBold(true);
    m_result->setFont(resultFont);

    auto *codeRow = new QHBoxLayout;
    codeRow->addWidget(m_code, 0, Qt::AlignTop);
    codeRow->addWidget(instruction, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(codeRow);
    layout->addWidget(m_result, 1);
}

void FindtovarBarcode::connectActions()
{
    auto *buttons = new QHBoxLayout;
    const auto add = [this, buttons](const QString &text, const QString &hint,
                                     void (FindtovarBarcode::*action)()) {
        auto *button = new QPushButton(text, this);
        button->setToolTip(hint);
        // Enter is taken by the code field alone, so a scanner's Enter acts once.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
    };
    buttons->addStretch();
    add(QStringLiteral("Ok !"), QStringLiteral("Выбор и выход"), &FindtovarBarcode::okClicked);
    add(QStringLiteral("Отмена"), QStringLiteral("Выход без сохранения"), &FindtovarBarcode::cancelClicked);
    static_cast<QVBoxLayout *>(layout())->addLayout(buttons);

    connect(m_code, &QLineEdit::textChanged, this, &FindtovarBarcode::codeChanged);
    connect(m_code, &QLineEdit::returnPressed, this, &FindtovarBarcode::okClicked);
}

void FindtovarBarcode::run(Pick &pick)
{
    setWindowTitle(pick.name.isEmpty() ? kCaption : pick.name);
    prepare(pick.mode);
    m_runDialog(*this);
    setWindowTitle(kCaption);

    pick.chosen = m_ok;
    pick.name = m_ok ? m_enteredCode : QString();
    pick.id = m_goodsId;
    pick.extra.insert(QStringLiteral("stnds"), m_stnds);
    pick.extra.insert(QStringLiteral("cenar"), m_cenar);
    pick.extra.insert(QStringLiteral("edizm"), m_edizm);
    pick.extra.insert(QStringLiteral("description"), m_description);
}

void FindtovarBarcode::prepare(int mode)
{
    m_mode = mode;
    m_ok = false;
    setResult(QDialog::Rejected);
    // Cleared before the results: clearing the field must not search.
    m_code->blockSignals(true);
    m_code->clear();
    m_code->blockSignals(false);
    resetFound();
    showResult(m_mode == Search ? kSearching : QString(), kFoundColour);
    m_code->setFocus();
}

void FindtovarBarcode::resetFound()
{
    m_goodsId = -1;
    m_stnds = 0;
    m_cenar = 0;
    m_edizm.clear();
    m_description.clear();
}

void FindtovarBarcode::codeChanged(const QString &text)
{
    if (m_mode != Search)
        return;
    const QString code = text.trimmed();
    // An emptied field no longer names the item found before.
    if (code.isEmpty()) {
        resetFound();
        showResult(kSearching, kFoundColour);
        return;
    }
    try {
        search(code);
    } catch (const DbError &e) {
        resetFound();
        showResult(kNotFound, kNotFoundColour);
        m_ctx.desktop.error({e.message()});
    }
}

void FindtovarBarcode::search(const QString &code)
{
    resetFound();
    // No goods code can hold a character the database cannot store.
    if (!win1251::fits(code)) {
        showResult(kNotFound, kNotFoundColour);
        return;
    }
    const DbRows rows = m_ctx.db.query(
        QStringLiteral("select t.name, t.id, t.stnds, t.edizm, t.cenar, g.name as nameg from tovar t, "
                       "gruppat g where g.id=t.idgruppa and ") +
        QStringLiteral("trim(t.kod2) = ") + sqlText(upperSearch(code)));
    if (rows.isEmpty()) {
        showResult(kNotFound, kNotFoundColour);
        return;
    }
    const QSqlRecord &row = rows.first();
    const QString name = row.value(QStringLiteral("name")).toString().trimmed();
    const QString group = row.value(QStringLiteral("nameg")).toString().trimmed();
    m_goodsId = row.value(QStringLiteral("id")).toDouble();
    m_stnds = row.value(QStringLiteral("stnds")).toDouble();
    m_cenar = row.value(QStringLiteral("cenar")).toDouble();
    m_edizm = row.value(QStringLiteral("edizm")).toString().trimmed();
    m_description = name + QLatin1Char('\n') + QStringLiteral("Группа: ") + group;
    showResult(name + QLatin1Char('\n') + QStringLiteral("ед. изм. ") + m_edizm + QLatin1Char('\n') +
                   QStringLiteral("Группа: ") + group + QStringLiteral("\n\n") +
                   QStringLiteral("Нажмите кнопку Enter либо нажмите на кнопку Ok для выбора"),
               kFoundColour);
}

void FindtovarBarcode::showResult(const QString &text, const QColor &colour)
{
    QPalette palette = m_result->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_result->setPalette(palette);
    m_result->setText(text);
}

void FindtovarBarcode::okClicked()
{
    if (m_mode == Search && !found()) {
        m_ctx.desktop.warn({kNotFound});
        return;
    }
    m_ok = true;
    m_enteredCode = m_code->text().trimmed();
    accept();
}

void FindtovarBarcode::cancelClicked()
{
    m_ok = false;
    resetFound();
    reject();
}
