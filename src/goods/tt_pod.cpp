#include "goods/tt_pod.h"

#include "common/numtools.h"
#include "common/sql_literals.h"
#include "common/text_case.h"
#include "common/win1251.h"
#include "goods/barcod.h"
#include "goods/dubl_tovar.h"
#include "platform/db.h"
#include "platform/desktop.h"

#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QColor kLockedColour(230, 255, 213);

// Prices and VAT rates: not negative, at most two decimals, point or comma.
const QRegularExpression &amountPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{0,13}([.,]\\d{0,2})?$"));
    return pattern;
}

QString vatText(double vat)
{
    QString text = QString::number(vat, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

void paintBase(QLineEdit *edit, const QColor &colour)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colour);
    edit->setPalette(palette);
}

QLineEdit *amountEdit(const QString &objectName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setAlignment(Qt::AlignRight);
    edit->setValidator(new QRegularExpressionValidator(amountPattern(), edit));
    return edit;
}

} // namespace

TtPod::TtPod(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm12"));
    setWindowTitle(QStringLiteral("Ввод данных"));
    m_runDialog = [](TtPod &card) { card.exec(); };
    m_duplicates = new DublTovar(this);
    setupFields();
}

void TtPod::setupFields()
{
    const auto textEdit = [this](const char *objectName, int limit) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(objectName));
        edit->setMaxLength(limit);
        return edit;
    };
    const auto button = [this](const QString &text, const char *objectName, void (TtPod::*action)()) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(objectName));
        b->setAutoDefault(false);
        if (action)
            connect(b, &QPushButton::clicked, this, action);
        return b;
    };

    m_name = textEdit("JvEdit1", 100);
    m_group = textEdit("JvComboEdit1", 100);
    m_group->setReadOnly(true);
    m_groupButton = new QToolButton(this);
    m_groupButton->setObjectName(QStringLiteral("GroupButton"));
    m_groupButton->setText(QStringLiteral("..."));
    m_groupButton->setToolTip(QStringLiteral("Выбрать группу"));
    connect(m_groupButton, &QToolButton::clicked, this, &TtPod::chooseGroup);
    m_unit = textEdit("JvEdit2", 20);
    m_vat = amountEdit(QStringLiteral("JvCalcEdit1"), this);
    m_price = amountEdit(QStringLiteral("JvCalcEdit2"), this);
    m_priceWithVat = amountEdit(QStringLiteral("JvCalcEdit3"), this);
    m_priceWithVat->setReadOnly(true);
    m_code = textEdit("JvEdit3", 50);
    m_maker = textEdit("JvEdit4", 25);
    m_externalCode = textEdit("JvEdit5", 25);
    m_unlock = new QToolButton(this);
    m_unlock->setObjectName(QStringLiteral("SpeedButton1"));
    m_unlock->setText(QStringLiteral("Открыть"));
    m_unlock->setToolTip(QStringLiteral("Разрешить редактирование внешнего кода"));
    connect(m_unlock, &QToolButton::clicked, this, &TtPod::unlockExternalCode);
    m_priceList = new QComboBox(this);
    m_priceList->setObjectName(QStringLiteral("ComboBox1"));
    m_priceList->addItems({QStringLiteral("Отображать в прайсе"), QStringLiteral("Не отображать в прайсе")});
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setFixedSize(210, 75);
    m_picture->setFrameShape(QFrame::StyledPanel);

    m_nameCaption = new QLabel(this);
    m_groupCaption = new QLabel(this);
    m_codeCaption = new QLabel(this);

    auto *grid = new QGridLayout;
    int row = 0;
    grid->addWidget(m_nameCaption, row, 0);
    grid->addWidget(m_name, row++, 1, 1, 3);
    grid->addWidget(m_groupCaption, row, 0);
    grid->addWidget(m_group, row, 1, 1, 2);
    grid->addWidget(m_groupButton, row++, 3);
    grid->addWidget(new QLabel(QStringLiteral("Единица измерения"), this), row, 0);
    grid->addWidget(m_unit, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("НДС, %"), this), row, 0);
    grid->addWidget(m_vat, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("Цена реализации (без НДС)"), this), row, 0);
    grid->addWidget(m_price, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("Цена реализации (c НДС)"), this), row, 0);
    grid->addWidget(m_priceWithVat, row++, 1);
    grid->addWidget(m_codeCaption, row, 0);
    grid->addWidget(m_code, row++, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Производитель"), this), row, 0);
    grid->addWidget(m_maker, row++, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Код во внешней программе"), this), row, 0);
    grid->addWidget(m_externalCode, row, 1, 1, 2);
    grid->addWidget(m_unlock, row++, 3);
    grid->addWidget(m_priceList, row++, 1, 1, 2);
    grid->setColumnStretch(2, 1);

    m_ean13 = button(QStringLiteral("Сгенерировать EAN-13"), "BitBtn5", &TtPod::generateEan13);
    m_scanner = button(QStringLiteral("Считать со сканера"), "BitBtn6", &TtPod::readFromScanner);
    m_clipboard = button(QStringLiteral("Copy to Clipboard"), "BitBtn7", &TtPod::copyToClipboard);
    auto *barcodeButtons = new QVBoxLayout;
    barcodeButtons->addWidget(m_ean13);
    barcodeButtons->addWidget(m_scanner);
    barcodeButtons->addWidget(m_clipboard);
    barcodeButtons->addStretch();
    auto *barcodeRow = new QHBoxLayout;
    barcodeRow->addWidget(m_picture);
    barcodeRow->addLayout(barcodeButtons);
    barcodeRow->addStretch();
    grid->addLayout(barcodeRow, row++, 1, 1, 3);

    // Their screens come with the price history and the price tags.
    m_history = button(QStringLiteral("Цена история"), "BitBtn3", nullptr);
    m_history->setEnabled(false);
    m_priceTag = button(QStringLiteral("Ценник"), "BitBtn4", nullptr);
    m_priceTag->setEnabled(false);
    auto *ok = new QPushButton(QStringLiteral("Ok !"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, [this] { okClicked(); });
    auto *cancel = button(QStringLiteral("Отменить"), "BitBtn2", &TtPod::cancelClicked);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_history);
    buttons->addWidget(m_priceTag);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    for (QLineEdit *amount : {m_price, m_vat})
        connect(amount, &QLineEdit::editingFinished, this, &TtPod::updatePriceWithVat);
    for (QLineEdit *code : {m_code, m_maker, m_externalCode})
        connect(code, &QLineEdit::textChanged, this, &TtPod::redrawBarcode);
    resize(640, 0);
}

bool TtPod::run(double id, int kind, bool restricted)
{
    m_saved = false;
    try {
        prepare(id, kind, restricted);
    } catch (const DbError &e) {
        m_ctx.desktop.error({e.message()});
        return false;
    }
    m_runDialog(*this);
    // The next caller sets its own kind and restriction.
    m_kind = 0;
    setRestricted(false);
    return m_saved;
}

void TtPod::run(Pick &pick)
{
    pick.chosen = run(pick.currentId, pick.kind, pick.extra.value(QStringLiteral("restricted")).toBool());
    pick.id = pick.currentId;
    pick.name = m_name->text().trimmed();
}

void TtPod::setRestricted(bool restricted)
{
    m_restricted = restricted;
    for (QWidget *w : std::initializer_list<QWidget *>{m_name, m_unit, m_code, m_group, m_groupButton,
                                                       m_priceList, m_scanner, m_ean13})
        w->setEnabled(!restricted);
}

void TtPod::applyKind()
{
    const bool goods = m_kind == 0;
    const bool services = m_kind == 1;
    m_nameCaption->setText(goods       ? QStringLiteral("Наименование товара")
                           : services ? QStringLiteral("Наименование услуги")
                                      : QStringLiteral("Наименование"));
    m_groupCaption->setText(services ? QStringLiteral("Группа услуг") : QStringLiteral("Группа товаров"));
    m_codeCaption->setText(services ? QStringLiteral("Код услуги") : QStringLiteral("Код товара"));
    for (QWidget *w : std::initializer_list<QWidget *>{m_groupCaption, m_group, m_groupButton, m_priceList})
        w->setVisible(goods || services);
}

void TtPod::prepare(double id, int kind, bool restricted)
{
    m_id = id;
    m_kind = kind;
    applyKind();
    setRestricted(restricted);
    const QSqlRecord row = m_ctx.db.query(QStringLiteral("select * from tovar where id=") + sqlId(id)).value(0);
    m_oldPrice = row.value(QStringLiteral("cenar")).toDouble();
    m_oldVat = row.value(QStringLiteral("stnds")).toDouble();
    const auto text = [&row](const char *column) { return row.value(QLatin1String(column)).toString().trimmed(); };
    m_name->setText(text("name"));
    m_code->setText(text("kod"));
    m_maker->setText(text("kod5"));
    m_unit->setText(text("edizm"));
    m_externalCode->setText(text("atolkod"));
    m_vat->setText(vatText(m_oldVat));
    m_price->setText(QString::number(m_oldPrice, 'f', 2));
    m_groupId = row.value(QStringLiteral("idgruppa")).toDouble();
    bool known = false;
    const int priceList = row.value(QStringLiteral("price")).toInt(&known);
    m_priceList->setCurrentIndex(known && (priceList == 0 || priceList == 1) ? priceList : 0);

    updatePriceWithVat();
    m_group->setText(
        m_ctx.db.scalar(QStringLiteral("select name from gruppat where id=") + sqlId(m_groupId)).toString().trimmed());
    redrawBarcode();
    if (m_name->isEnabled())
        m_name->setFocus();

    m_openedName = m_name->text().trimmed();
    m_openedCode = m_code->text().trimmed();
    m_openedMaker = m_maker->text().trimmed();
    m_openedPriceWithVat = m_priceWithVat->text().toDouble();
    lockExternalCode(!m_externalCode->text().trimmed().isEmpty());
}

void TtPod::lockExternalCode(bool locked)
{
    m_externalCode->setReadOnly(locked);
    paintBase(m_externalCode, locked ? kLockedColour : palette().color(QPalette::Base));
    m_unlock->setVisible(locked);
}

void TtPod::updatePriceWithVat()
{
    const auto value = [](const QLineEdit *edit) {
        return QString(edit->text().trimmed()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    };
    const double price = value(m_price);
    m_priceWithVat->setText(QString::number(DRound(2, price + price * value(m_vat) / 100), 'f', 2));
}

void TtPod::redrawBarcode()
{
    const QString code = m_code->text().trimmed();
    const QImage picture = FValidBarCode(code) ? FBarCodeBitmap(code, Qt::black, 10) : QImage();
    if (picture.isNull())
        m_picture->clear();
    else
        m_picture->setPixmap(QPixmap::fromImage(picture));
}

void TtPod::chooseGroup()
{
    Pick pick;
    pick.screen = QStringLiteral("gruppa");
    pick.table = QStringLiteral("gruppat");
    pick.mode = 1;
    pick.kind = m_kind == 1 ? 1 : 0;
    pick.currentId = m_groupId;
    m_ctx.screens.open(pick);
    if (pick.chosen) {
        m_groupId = pick.id;
        m_group->setText(pick.name);
    }
}

void TtPod::unlockExternalCode()
{
    if (!m_ctx.desktop.ask(
            {QStringLiteral("Разрешить редактирование внешнего кода ?"),
             QStringLiteral("Внешний код товара важен для обмена с другими программами (например АТОЛ Кассы)"),
             QStringLiteral("Изменение кода необходимо проводить внимательно, т.к. может привести к сбою обмена "
                            "(например, задвоение товаров)")}))
        return;
    lockExternalCode(false);
    m_ctx.desktop.info(
        {QStringLiteral("Внешний код товара открыт для редактирования !"), QStringLiteral("Будьте внимательный")});
}

void TtPod::generateEan13()
{
    const QString current = m_code->text();
    const QStringList question =
        current.trimmed().isEmpty()
            ? QStringList{QStringLiteral("Сгенерировать штрих-код товара в стандарте EAN-13")}
            : QStringList{QStringLiteral("Сгенерировать новый штрих-код товара в стандарте EAN-13 вместо "
                                         "имеющегося кода"),
                          current};
    if (!m_ctx.desktop.ask(question))
        return;
    m_code->clear();
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QString code = GetBarCode();
        if (FValidBarCode(code)) {
            m_code->setText(code);
            break;
        }
    }
    if (m_code->text().isEmpty())
        m_ctx.desktop.warn({QStringLiteral("Ошибка генерации штрих-кода")});
    redrawBarcode();
}

void TtPod::readFromScanner()
{
    const QString current = m_code->text();
    const QStringList question =
        current.trimmed().isEmpty()
            ? QStringList{QStringLiteral("Считать штрих-код со сканера")}
            : QStringList{QStringLiteral("Считать новый штрих-код со сканера вместо имеющегося"), current};
    if (!m_ctx.desktop.ask(question))
        return;
    Pick pick;
    pick.screen = QStringLiteral("Findtovar_Barcode");
    pick.mode = 2;
    pick.name = QStringLiteral("Считать штрих-код со сканера");
    m_ctx.screens.open(pick);
    if (pick.chosen)
        m_code->setText(pick.name.trimmed());
    redrawBarcode();
}

void TtPod::copyToClipboard()
{
    const QString code = m_code->text().trimmed();
    // A valid number written with separators has no picture: nothing would be copied.
    const QImage picture = FValidBarCode(code) ? FBarCodeBitmap(code, Qt::black, 10, &m_ctx.desktop) : QImage();
    if (picture.isNull()) {
        m_ctx.desktop.warn({QStringLiteral("Код товара /услуги не в формате EAN-13")});
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(picture));
    m_ctx.desktop.info({QStringLiteral("Изображение штрих-кода EAN-13 скопировано в буфер обмена Windows")});
}

bool TtPod::readAmount(QLineEdit *edit, const QString &what, double &value)
{
    const QString text = edit->text().trimmed();
    bool ok = amountPattern().match(text).hasMatch() && text != QLatin1String(".") && text != QLatin1String(",");
    value = ok ? QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok) : 0;
    if (text.isEmpty()) {
        value = 0;
        ok = true;
    }
    if (!ok) {
        m_ctx.desktop.warn({QStringLiteral("Неверное значение: ") + what,
                            QStringLiteral("Допускается неотрицательное число не более чем с двумя знаками после "
                                           "запятой")});
        edit->setFocus();
    }
    return ok;
}

bool TtPod::okClicked()
{
    for (QLineEdit *edit : {m_name, m_unit, m_code, m_maker, m_externalCode}) {
        const QString unfit = win1251::unfitMessage(edit->text());
        if (!unfit.isEmpty()) {
            m_ctx.desktop.warn({unfit});
            edit->setFocus();
            return false;
        }
    }
    double price = 0;
    double vat = 0;
    if (!readAmount(m_vat, QStringLiteral("НДС, %"), vat) ||
        !readAmount(m_price, QStringLiteral("Цена реализации (без НДС)"), price))
        return false;
    try {
        save(DRound(2, price), DRound(2, vat));
    } catch (const DbError &e) {
        // Nothing of this card stays half-written.
        m_ctx.db.rollback();
        m_ctx.desktop.error({e.message()});
        return false;
    }
    m_saved = true;
    accept();
    return true;
}

void TtPod::save(double price, double vat)
{
    updatePriceWithVat();
    const double priceWithVat = m_priceWithVat->text().toDouble();

    // Filling in the prices of a new item is not a change of price.
    const double d1 = DRound(2, m_oldPrice - price);
    const double d2 = DRound(2, m_oldVat - vat);
    if ((d1 != 0 || d2 != 0) && (DRound(2, m_oldPrice) != 0 || DRound(2, m_oldVat) != 0)) {
        m_ctx.desktop.info({QStringLiteral("Зафиксировано изменение цены реализации либо ставки НДС")});
        m_ctx.db.exec(QStringLiteral("insert into cenar (id,dat,idtovar,oldcenar,oldstnds,newcenar,newstnds) values (") +
                      sqlId(m_ctx.db.newId(QStringLiteral("patent"))) + QLatin1Char(',') +
                      sqlDate(QDate::currentDate()) + QLatin1Char(',') + sqlId(m_id) + QLatin1Char(',') +
                      sqlNum(m_oldPrice) + QLatin1Char(',') + sqlNum(m_oldVat) + QLatin1Char(',') + sqlNum(price) +
                      QLatin1Char(',') + sqlNum(vat) + QLatin1Char(')'));
    }

    const QString name = m_name->text().trimmed();
    const QString code = m_code->text().trimmed();
    const QString maker = m_maker->text().trimmed();
    const QString externalCode = m_externalCode->text().trimmed();
    // The cash registers reload an item whose name, codes or price changed.
    const bool changed = name != m_openedName || code != m_openedCode || maker != m_openedMaker ||
                         DRound(2, m_openedPriceWithVat - priceWithVat) != 0;
    m_ctx.db.exec(QStringLiteral("update tovar set name=") + sqlText(name) +
                  QStringLiteral(",name2=") + sqlText(upperSearch(name)) +
                  QStringLiteral(",idgruppa=") + sqlId(m_groupId) +
                  QStringLiteral(",edizm=") + sqlText(m_unit->text()) +
                  QStringLiteral(",kod=") + sqlText(code) +
                  QStringLiteral(",kod2=") + sqlText(upperSearch(code)) +
                  QStringLiteral(",kod5=") + sqlText(maker) +
                  QStringLiteral(",kod52=") + sqlText(upperSearch(maker)) +
                  QStringLiteral(",atolkod=") + sqlText(externalCode) +
                  QStringLiteral(",stnds=") + sqlNum(vat) +
                  QStringLiteral(",cenar=") + sqlNum(price) +
                  QStringLiteral(",price=") + QString::number(m_priceList->currentIndex()) +
                  (changed ? QStringLiteral(",atolok='1'") : QString()) +
                  QStringLiteral(" where id=") + sqlId(m_id));

    QStringList same;
    if (!externalCode.isEmpty())
        same << QStringLiteral("trim(atolkod)=") + sqlText(externalCode);
    if (!code.isEmpty())
        same << QStringLiteral("trim(kod2)=") + sqlText(upperSearch(code));
    if (same.isEmpty())
        return;
    const DbRows duplicates =
        m_ctx.db.query(QStringLiteral("select name,kod, kod5, atolkod from tovar where id<>") + sqlId(m_id) +
                       QStringLiteral(" and (") + same.join(QStringLiteral(" or ")) + QLatin1Char(')'));
    if (!duplicates.isEmpty())
        m_duplicates->run(duplicates);
}

void TtPod::cancelClicked()
{
    reject();
}
