#include "common/rows_model.h"

RowsModel::RowsModel(const QStringList &titles, const QStringList &fields, QObject *parent)
    : QAbstractTableModel(parent), m_titles(titles), m_fields(fields)
{
}

void RowsModel::setRows(const DbRows &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

int RowsModel::rowOf(const QString &field, double value) const
{
    for (int r = 0; r < m_rows.size(); ++r) {
        if (m_rows.at(r).value(field).toDouble() == value)
            return r;
    }
    return -1;
}

int RowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int RowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_titles.size();
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_titles.value(section);
    return {};
}

QVariant RowsModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return m_rows.at(index.row()).value(m_fields.value(index.column())).toString().trimmed();
}
