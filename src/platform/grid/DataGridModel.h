#pragma once

#include "platform/db/DataControl.h"
#include "platform/grid/GridColumn.h"

#include <QAbstractTableModel>
#include <QList>

namespace platform {

// The rows of a data control's record set as a table model, one row per record in record
// set order, through configurable columns. Rows are read on demand, so a grid over a very
// large list only reads what it shows.
class DataGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit DataGridModel(DataControl *data, QObject *parent = nullptr);

    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return mColumns; }
    // Lets the user change cells; each change is written to its record at once.
    void setEditable(bool editable) { mEditable = editable; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // The record set's current row as a model row; -1 when it has none.
    int currentRow() const;
    void setCurrentRow(int row);

    // How a value is shown in a cell.
    static QString displayText(const QVariant &value);

  signals:
    void currentRowChanged(int row);

  private:
    void attach();
    void resolveFields();

    DataControl *mData;
    QList<GridColumn> mColumns;
    QList<int> mFieldOfColumn;
    bool mEditable = false;
    int mRows = 0;
};

} // namespace platform
