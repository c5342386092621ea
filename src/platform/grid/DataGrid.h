#pragma once

#include "platform/grid/DataGridModel.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTableView>

namespace platform {

// Binds a table view to a data control the way a data-bound grid is: rows of one fixed
// height (never sized to their contents), columns as wide as their twips say or, where
// the grid's font needs more, as their headings, and the view's current row and the
// record set's current row kept in step both ways.
class DataGrid : public QObject {
    Q_OBJECT
  public:
    DataGrid(QTableView *view, DataControl *data, QObject *parent = nullptr, int rowHeightTwips = 225,
             const QList<GridColumn> &columns = {});

    DataGridModel *model() const { return mModel; }
    void setColumns(const QList<GridColumn> &columns);
    void setRowHeightTwips(int twips);
    int rowHeightTwips() const { return mRowHeightTwips; }
    // Widths and order as the user left them, for saving the layout. A column the user did
    // not resize reports the width it was given, fraction and all.
    QList<GridColumn> columnsAsShown() const;
    // How much wider than their twips say the columns show: a look with a larger font
    // widens every column alike, so that what one look shows in full the other does too.
    // Widths the user dragged keep their share.
    void setColumnWidthScale(double scale);
    double columnWidthScale() const { return mWidthScale; }
    // The pixels a column of this width shows in, at the current scale.
    int columnPixels(double twips) const;
    // The view's width that shows every column whole beside the row numbers it has now, with
    // room for the vertical scroll bar: at this width it never scrolls sideways.
    int widthForAllColumns() const;

    static int twipsToPixels(int twips, const QWidget *widget);
    static int pixelsToTwips(int pixels, const QWidget *widget);

  signals:
    // A key let go in the grid that was typed there: its press reached the grid, without Alt,
    // Ctrl or Meta and not while Alt was held. The release of an access key (whose press
    // went to its button) or of a key pressed elsewhere is no typing: a type-ahead on key
    // release reads this, so it never moves the row a command is about to act on.
    void typedKeyReleased(int key);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void applyWidths();
    void applyDesignedWidths();
    // The pixels of a column the user has not resized.
    int designedPixels(int column) const;
    void followRecordset(int row);
    int shownColumn(int column) const;
    // Ctrl+Tab: the next cell (step 1) or the one before (step -1).
    void moveToNextCell(int step);
    // Keeps track of the keys typed in the grid; true when the key goes no further.
    bool followTyping(QEvent *event);
    // The current row is highlighted strongly while the grid has the focus and palely
    // without it, so that of two grids the one the keys act on is plain to see.
    void showFocusOnRow(bool focused);

    QPointer<QTableView> mView;
    DataGridModel *mModel;
    int mRowHeightTwips = 225;
    double mWidthScale = 1.0;
    bool mSyncing = false;
    bool mApplying = false;
    QSet<int> mUserSized; // columns, by their logical index
    QSet<int> mTypedKeys; // pressed in the grid as typing and not yet let go
    bool mAltHeld = false;
    QColor mHighlight;
    QColor mHighlightedText;
};

} // namespace platform
