#pragma once

#include "platform/grid/GridColumn.h"

#include <QList>
#include <QObject>

class MainControls;
class NameList;

namespace platform {
class DataGrid;
} // namespace platform

// The main grid's columns: the design, the arrangement the user left in the layout file
// (read as the window loads, written as it closes when a column was moved or resized), and
// the binding that keeps the grid on the window's list with those columns and row height.
class ColumnLayout : public QObject {
    Q_OBJECT
  public:
    explicit ColumnLayout(NameList &window);

    // The stored arrangement over the design; the grid follows once bound.
    void applyColumnLayout();
    // Keeps the arrangement in the layout file; false when the file cannot be written, and
    // the reason, as the user is to be told it, in why.
    bool writeColumnLayout(QString &why);
    // Binds the grid to the list; false when it already was.
    bool bindGrid();
    // The binding, or nullptr until the grid shows its first list.
    platform::DataGrid *binding() const { return Table1Binding; }
    void setRowHeightTwips(int twips);
    // Widens every column alike for a look with a larger font; the layout keeps its widths.
    void setColumnWidthScale(double scale);
    // The user's own rearrangement (a column moved by heading clicks).
    void placeColumns(const QList<platform::GridColumn> &columns);
    // A column was moved or resized since the window loaded.
    bool columnsChanged() const { return mbColumnsChanged; }

  private:
    NameList &mWindow;
    MainControls &mUi;
    platform::DataGrid *Table1Binding = nullptr;
    QList<platform::GridColumn> mGridColumns; // the columns the grid shows once bound
    int mGridRowHeight = 225;
    double mWidthScale = 1.0;
    bool mPlacingColumns = false;
    bool mbColumnsChanged = false;
};
