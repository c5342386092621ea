#pragma once

#include "editor/DataControlLink.h"
#include "editor/GLOBAL.h"
#include "helpers/MainWindowFlags.h"
#include "helpers/MouseWheelWindow.h"
#include "platform/grid/GridColumn.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Form.h"

#include <QList>

#include <QColor>
#include <QHash>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QWidget;
class ColumnLayout;
class DisplayModes;
class LocateBox;

namespace platform {
class DataControl;
class DataGrid;
} // namespace platform

// The main window: the grid of displayed contacts over the data control Data1, the sort
// box, the list views, the record count, and the menus and buttons that lead to the
// other windows.
class NameList : public platform::Form, public MouseWheelWindow {
    Q_OBJECT
  public:
    NameList();
    ~NameList() override;

    // The one main window, loaded on first use.
    static NameList &instance();
    // The loaded main window, or nullptr when there is none.
    static NameList *loadedInstance();

    // Menus and their items (objectName = the item's name).
    QMenuBar *menuBar;
    QMenu *FileMenu;
    QMenu *EditMenu;
    QMenu *ReportsMenu;
    QMenu *OptionsMenu;
    QMenu *HelpMenu;
    QAction *menuItem(const QString &name) const;

    QWidget *client; // the window's area under the menu bar
    platform::DataControl *Data1;
    QTableView *Table1;
    QComboBox *cmbSort;
    QLineEdit *txtLocate;
    QLabel *lblLocate;
    QLabel *lblSort;
    QLabel *lblCategory;
    QLabel *lblFilterMsg;
    QLabel *lblSelectedCount;
    QLabel *lblNotice;
    QLabel *lblHeader; // measures only: space kept outside the grid
    QLabel *lblMargin;
    QFrame *TextBackground;
    QPlainTextEdit *txtName;
    QPlainTextEdit *txtPhone;
    // The window's common dialog: the exports' Save dialogs.
    platform::CommonDialog CMDialog1;
    QPushButton *button(const QString &name) const;

    // List views and record count.
    void ShowAllMenu_Click();
    void ShowSelectedOnlyMenu_Click();
    void HideSelectedMenu_Click();
    void RemoveSelectionsMenu_Click();
    void DisplayRecCntMenu_Click();
    void cmdShowAll_Click();
    void cmdShowSelected_Click();
    // Sets the category label's caption; every writer goes through here so that the Add
    // button follows it.
    void setCategoryCaption(const QString &caption);
    void lblCategory_Change();

    void cmbSort_Click();
    void ChangePassword_Click();
    void cmdExit_Click();
    // Open the record editor on a new contact, or on the current row of Data1.
    void cmdAdd_Click();
    void cmdEdit_Click();
    // Reports menu: where reports go, and the condensed lists of the displayed contacts.
    void PreviewMode_Click();
    void PrintMode_Click();
    void CondensedList_Click();
    void Condensed1LineMenu_Click();
    void PhoneListMenu_Click();
    void DateReportMenu_Click();
    void RemindersReportMenu_Click();
    void ReportOptionsMenu_Click();
    // The address books.
    void FullSizeAddressBook_Click();
    void HalfPageAddressBook_Click();
    void HalfPageAddressBookLeftSide_Click();
    void PocketMenu_Click();
    void Labels3upMenu_Click();
    void Labels1UpMenu1_Click();
    void Labels1UpMenu2_Click();
    void Labels2UpMenu_Click();
    void EnvelopeMenu_Click();
    void ReturnAddressMenu_Click();
    // The pocket book prints last names first; taken from its settings row at each run.
    bool mbPocketLastNameFirst = false;

    // Add may be offered: off while only selected records or a find result are shown.
    bool addAllowed() const { return mAddAllowed; }
    bool mbGridClicked = false;
    bool mbFirstGridClick = false;

    // Runs the command of a menu item or button by its name. Commands of windows not
    // built yet have no handler: their items are shown disabled.
    void dispatch(const QString &command);
    bool hasHandler(const QString &command) const;

    void MouseWheel(int MouseKeys, int Rotation, int Xpos, int Ypos) override;

    // Puts the controls in place for the window's current size.
    void Form_Resize();

    // Grid events and selection marks (NameListGrid.cpp). Column 0 of the grid shows
    // the mark; gridCol() is the cursor's column.
    bool mbCellEditing = false;
    int miMoveColumn = 0; // column whose move waits for a second heading click; 0: none
    QString msMoveCaption;
    QString msMoveDataField;
    double mdMoveWidth = 0;
    // A left-button press in the mark column, before the grid moves its cursor there.
    void Table1_MarkPress();
    void Table1_Click();
    void Table1_DblClick();
    void Table1_ClearClickFlag();
    void Table1_BeforeColEdit();
    void Table1_AfterColEdit();
    void Table1_HeadClick(int ColIndex);
    void Table1_RowColChange(int LastRow, int LastCol);
    // KeyCode is a Qt key, set to 0 to cancel it; typed is the text the key types.
    void Table1_KeyDown(int &KeyCode, Qt::KeyboardModifiers Shift, const QString &typed = QString());
    // Writes an edited cell and the contact's update stamp in one update; false when the
    // database refused it (the user has been told).
    bool Table1_WriteCell(int row, int column, const QVariant &value);
    int gridCol() const;
    bool gridEditActive() const { return mbCellEditing; }
    bool gridAllowUpdate() const { return mAllowUpdate; }

    // The parts of the window, each with its own state.
    LocateBox &locateBox() { return *mLocateBox; }
    DisplayModes &display() { return *mDisplay; }
    ColumnLayout &columnLayout() { return *mColumnLayout; }

    // Commands of the menus and buttons (NameListCommands.cpp).
    void cmdDelete_Click();
    void cmdReports_Click();
    void cmdNotes_Click();
    void cmdRemind_Click();
    void CurrentReminders_Show();
    void GridEditMenu_Click();
    void AboutBox_Click();
    void OpenDatabase_Click();
    void HelpSystem_Click();
    void cmdDial_Click();
    void ModemPortMenu_Click();
    // Categories, filters and find.
    void Category_Click();
    void SelectionCriteria_Click();
    void FindEditMenu_Click();
    void AssignCatgMenu_Click();
    void AssignAllToCatg_Click();
    // Exports of the displayed contacts and the clipboard copy of the current one.
    void Export_Click();
    void ExportWithNotes_Click();
    void ExportEmail_Click();
    void ExportVistaprint_Click();
    void ExportReport1_Click();
    void ExportReport2_Click();
    void CopyClipboard_Click();
    void cmdClipboard_Click();

    // The picture panel beside the window (NameListPictures.cpp).
    void LoadRecordPictures();
    void cmdPictures_Click();
    // While the panel shows, a maximised window makes room for it instead.
    void placeBesidePicturePanel();

    void ChangePrinter_Click();
    void mnuPageBreakAlpha_Click();

  protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(bool &cancel) override;
    void Form_KeyDown(int &keyCode, Qt::KeyboardModifiers shift) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    static void linkSubsystems();
    void buildMenus();
    void buildControls();
    QAction *addItem(QMenu *menu, const QString &name, const QString &caption,
                     const QKeySequence &shortcut = QKeySequence());
    QPushButton *addButton(const QString &name, const QString &caption, const QString &toolTip, int left,
                           int top, int width, int height);
    void setAddAllowed(bool allowed);
    void setRecordButtonsEnabled(bool enabled);
    void bindGrid();
    void refreshList(const QString &recordSource);
    void fillSortBox();
    void rebuildDueReminders();
    bool readSetting(const QString &query, QString &name, QString *setting1 = nullptr);
    void storeSortChoice(const QString &choice);
    void firstActivation();
    // The editor's view of this list.
    DataControlLink::View listView();

    QHash<QString, QAction *> mItems;
    QHash<QString, QPushButton *> mButtons;
    bool mAddAllowed = true;
    bool mStartupCategoryShown = false;
    bool mWheelHooked = false;
    bool mLayingOut = false;

    // Grid events, locate box and commands of this window (their own files).
    using CommandHandler = std::function<void(NameList &)>;
    // Every command of the menus and buttons, by objectName (NameList.cpp).
    static const QHash<QString, CommandHandler> &commands();
    void connectGridEvents();
    void pushOutOfMarkColumn();
    // Marks or unmarks the current contact and shows the count.
    void toggleCurrentMark();
    bool mAllowUpdate = false;
    bool mRightPushPending = false; // the cursor is about to leave the mark column
    bool mMarkPending = false;      // a press in the mark column that has not marked yet
    bool mPlacingBesidePanel = false;

    std::unique_ptr<ColumnLayout> mColumnLayout;
    std::unique_ptr<DisplayModes> mDisplay;
    std::unique_ptr<LocateBox> mLocateBox;
};
