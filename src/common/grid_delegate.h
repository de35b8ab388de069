#pragma once

#include <QColor>
#include <QStyledItemDelegate>

class QTableView;

// The system's colour values are stored blue-green-red.
QColor colorFromBgr(int value);

// The grid convention of every list: Calibri 9, the system background and
// selection colours, an optional second line half a row lower, thin black
// lines on the right and bottom of each cell. Models give red text through
// Qt::ForegroundRole and the second line through SecondLineRole.
class GridDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int SecondLineRole = Qt::UserRole + 100;
    static constexpr int kBackground = 15921891;
    static constexpr int kSelected = 16444064;

    explicit GridDelegate(QObject *parent = nullptr) : QStyledItemDelegate(parent) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

// Read-only, whole-row selection, the delegate, the font; twoLines makes rows
// tall enough for the second line.
void setupGrid(QTableView *view, bool twoLines = false);
