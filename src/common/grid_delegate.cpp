#include "common/grid_delegate.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>

QColor colorFromBgr(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

namespace {

QFont gridFont()
{
    QFont font(QStringLiteral("Calibri"));
    font.setPointSize(9);
    return font;
}

} // namespace

void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    QColor background = colorFromBgr(selected ? kSelected : kBackground);
    const QVariant modelBackground = index.data(Qt::BackgroundRole);
    if (!selected && modelBackground.canConvert<QColor>() && modelBackground.value<QColor>().isValid())
        background = modelBackground.value<QColor>();
    painter->fillRect(option.rect, background);

    const QVariant foreground = index.data(Qt::ForegroundRole);
    painter->setPen(foreground.canConvert<QColor>() && foreground.value<QColor>().isValid()
                        ? foreground.value<QColor>()
                        : QColor(Qt::black));
    QFont font = gridFont();
    const QVariant modelFont = index.data(Qt::FontRole);
    if (modelFont.canConvert<QFont>())
        font = modelFont.value<QFont>();
    painter->setFont(font);

    const QVariant alignment = index.data(Qt::TextAlignmentRole);
    const int align = alignment.isValid() ? alignment.toInt() : int(Qt::AlignLeft | Qt::AlignVCenter);
    const QString second = index.data(SecondLineRole).toString();
    const QRect text = option.rect.adjusted(3, 1, -3, -1);
    if (second.isEmpty()) {
        painter->drawText(text, align, index.data(Qt::DisplayRole).toString());
    } else {
        const QRect top(text.left(), text.top(), text.width(), text.height() / 2);
        const QRect bottom(text.left(), text.top() + text.height() / 2, text.width(), text.height() / 2);
        painter->drawText(top, (align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter, index.data().toString());
        painter->drawText(bottom, (align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter, second);
    }
    painter->setPen(Qt::black);
    painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
}

QSize GridDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (!index.data(SecondLineRole).toString().isEmpty())
        size.setHeight(size.height() * 2);
    return size;
}

void setupGrid(QTableView *view, bool twoLines)
{
    view->setItemDelegate(new GridDelegate(view));
    view->setFont(gridFont());
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(false);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    const int line = QFontMetrics(gridFont()).height() + 4;
    view->verticalHeader()->setDefaultSectionSize(twoLines ? 2 * line : line);
}
