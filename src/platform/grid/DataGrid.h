#pragma once

#include "platform/grid/DataGridModel.h"

#include <QObject>
#include <QPointer>
#include <QTableView>

namespace platform {

// Binds a table view to a data control the way a data-bound grid is: rows of one fixed
// height (never sized to their contents), columns as wide as their twips say, and the
// view's current row and the record set's current row kept in step both ways.
class DataGrid : public QObject {
    Q_OBJECT
  public:
    DataGrid(QTableView *view, DataControl *data, QObject *parent = nullptr, int rowHeightTwips = 225,
             const QList<GridColumn> &columns = {});

    DataGridModel *model() const { return mModel; }
    void setColumns(const QList<GridColumn> &columns);
    void setRowHeightTwips(int twips);
    int rowHeightTwips() const { return mRowHeightTwips; }
    // Widths and order as the user left them, for saving the layout.
    QList<GridColumn> columnsAsShown() const;

    static int twipsToPixels(int twips, const QWidget *widget);
    static int pixelsToTwips(int pixels, const QWidget *widget);

  private:
    void applyWidths();
    void followRecordset(int row);

    QPointer<QTableView> mView;
    DataGridModel *mModel;
    int mRowHeightTwips = 225;
    bool mSyncing = false;
};

} // namespace platform
