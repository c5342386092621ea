#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QString>
#include <QVariant>
#include <Qt>

class MainControls;
class MainGridDelegate;
class NameList;
class QWidget;

// The main grid's own behaviour: the selection marks of column 0 and the count under the
// grid, the detail boxes that describe the current contact, the grid's keys, the column
// move by two heading clicks, and editing in the cells when the user allows it.
class GridEvents : public QObject {
    Q_OBJECT
  public:
    explicit GridEvents(NameList &window);

    // Starts routing the grid's clicks, keys and row changes to the handlers below.
    void connectEvents();

    // A left-button press in the mark column, before the grid moves its cursor there.
    void Table1_MarkPress();
    void Table1_Click();
    void Table1_DblClick();
    void Table1_ClearClickFlag();
    void Table1_BeforeColEdit();
    void Table1_AfterColEdit();
    void Table1_HeadClick(int ColIndex);
    void Table1_RowColChange(int LastRow, int LastCol);
    // KeyCode is a Qt key, cancelled by the handler; typed is the text the key types.
    void Table1_KeyDown(int &KeyCode, Qt::KeyboardModifiers Shift, const QString &typed = QString());
    // Writes an edited cell and the contact's update stamp in one update; false when the
    // database refused it (the user has been told).
    bool Table1_WriteCell(int row, int column, const QVariant &value);
    // Stores a value typed into a cell before something ends or replaces the edit; false
    // when the value was refused: the user has been told, and the cell stays open on it.
    bool storeCellEdit();
    // A click on the grid that left a cell's edit goes where it was aimed once the value
    // is stored; a refused one keeps the cursor on its cell.
    void clickAfterEdit(bool stored);
    // Edit menu: cell editing on or off.
    void GridEditMenu_Click();

    // The cursor's column (0 shows the mark), -1 when there is none.
    int gridCol() const;
    bool gridEditActive() const { return mbCellEditing; }
    bool gridAllowUpdate() const { return mAllowUpdate; }
    // The column whose move waits for a second heading click; 0 when none does.
    int movingColumn() const { return miMoveColumn; }
    void cancelColumnMove() { miMoveColumn = 0; }
    // The last click was the user's, on a cell: a row change now marks in column 0.
    bool gridClicked() const { return mbGridClicked; }
    // The window came back: the next click only takes the focus.
    void windowActivated();
    bool firstClickPending() const { return mbFirstGridClick; }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void pushOutOfMarkColumn();
    // Marks or unmarks the current contact and shows the count.
    void toggleCurrentMark();
    bool gridMouse(QWidget *viewport, QEvent *event);

    NameList &mWindow;
    MainControls &mUi;
    MainGridDelegate *mDelegate = nullptr;
    bool mbCellEditing = false;
    bool mbGridClicked = false;
    bool mbFirstGridClick = false;
    int miMoveColumn = 0;
    QString msMoveCaption;
    QString msMoveDataField;
    double mdMoveWidth = 0;
    bool mAllowUpdate = false;
    bool mRightPushPending = false; // the cursor is about to leave the mark column
    bool mMarkPending = false;      // a press in the mark column that has not marked yet
    QPersistentModelIndex mClickedWhileEditing; // where a press that left an edit was aimed
};
