#pragma once

#include "platform/grid/DataGridDelegate.h"

class GridEvents;

// Cell editing in the main grid: tells the grid when a cell editor opens and closes,
// and leaves the write of an edited cell to the grid, which stamps the contact's
// update date in the same write.
class MainGridDelegate : public platform::DataGridDelegate {
    Q_OBJECT
  public:
    MainGridDelegate(GridEvents &grid, QObject *parent);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

  private:
    GridEvents *mGrid;
};
