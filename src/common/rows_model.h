#pragma once

#include "platform/db.h"

#include <QAbstractTableModel>
#include <QStringList>

// A list model over query rows: titled columns, each showing one field of the
// row, trimmed. Screens derive from it for colours, alignment or computed cells.
class RowsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    RowsModel(const QStringList &titles, const QStringList &fields, QObject *parent);

    void setRows(const DbRows &rows);
    const QSqlRecord &row(int r) const { return m_rows.at(r); }
    // The first row whose numeric field holds the value (an id), or -1.
    int rowOf(const QString &field, double value) const;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QStringList m_titles;
    QStringList m_fields;
    DbRows m_rows;
};
