#pragma once

#include "editor/DataControlLink.h"
#include "editor/GLOBAL.h"
#include "helpers/MainWindowFlags.h"
#include "helpers/MouseWheelWindow.h"
#include "mainwindow/StartupSettings.h"
#include "platform/grid/GridColumn.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Form.h"

#include <QList>

#include <QColor>
#include <QHash>
#include <QString>
#include <QVariant>

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
class GridEvents;
class ListViewCommands;
class LocateBox;
class MainControls;
class MainMenus;
class PictureCommands;
class ProgramCommands;
class RecordCommands;
class ReportCommands;

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
    // Builds the window without loading it, when none stands: the start builds it while
    // the database opens, and showing it loads it.
    static void build();
    // The settings rows the window loads by, which the start may read ahead (see
    // useStartupSettings) while the window is built.
    static const QStringList &startupSettingTypes();
    // Rows of startupSettingTypes() read from gDb ahead of loading: the load goes by these
    // instead of reading them again.
    void useStartupSettings(StartupSettings settings) { mSettingsAhead = std::move(settings); }

    QAction *menuItem(const QString &name) const;
    // Lets go of the list's records, so that the database under them can close.
    void releaseList();

    QPushButton *button(const QString &name) const;

    // Sets the category label's caption; every writer goes through here so that the Add
    // button follows it.
    void setCategoryCaption(const QString &caption);
    void lblCategory_Change();
    void ChangePassword_Click();
    void cmdExit_Click();

    // Add may be offered: off while only selected records or a find result are shown.
    bool addAllowed() const { return mAddAllowed; }

    // Runs the command of a menu item or button by its name. Commands of windows not
    // built yet have no handler: their items are shown disabled.
    void dispatch(const QString &command);
    bool hasHandler(const QString &command) const;

    void MouseWheel(int MouseKeys, int Rotation, int Xpos, int Ypos) override;

    // Puts the controls in place for the window's current size.
    void Form_Resize();

    // The parts of the window, each with its own state and its share of the commands.
    GridEvents &grid() { return *mGrid; }
    LocateBox &locateBox() { return *mLocateBox; }
    DisplayModes &display() { return *mDisplay; }
    ColumnLayout &columnLayout() { return *mColumnLayout; }
    RecordCommands &records() { return *mRecords; }
    ListViewCommands &listViews() { return *mListViews; }
    ReportCommands &reports() { return *mReports; }
    ProgramCommands &program() { return *mProgram; }
    PictureCommands &pictures() { return *mPictures; }

  protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool &cancel, int unloadMode) override;
    void Form_Unload(bool &cancel) override;
    void Form_KeyDown(int &keyCode, Qt::KeyboardModifiers shift) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    // The window's parts work on its controls.
    friend class ColumnLayout;
    friend class DisplayModes;
    friend class GridEvents;
    friend class ListViewCommands;
    friend class LocateBox;
    friend class PictureCommands;
    friend class ProgramCommands;
    friend class RecordCommands;
    friend class ReportCommands;
    // The window's common dialog: the exports' Save dialogs.
    platform::CommonDialog CMDialog1;

    static void linkSubsystems();
    void setAddAllowed(bool allowed);
    void bindGrid();
    void refreshList(const QString &recordSource);
    void fillSortBox();
    void rebuildDueReminders();
    // The Name (and Setting1) of the settings row of a type, as read at load.
    bool readSetting(const QString &type, QString &name, QString *setting1 = nullptr) const;
    void firstActivation();

    StartupSettings mStartupSettings;
    std::optional<StartupSettings> mSettingsAhead;
    bool mAddAllowed = true;
    bool mStartupCategoryShown = false;
    bool mWheelHooked = false;
    bool mLayingOut = false;

    using CommandHandler = void (*)(NameList &);
    // Every command of the menus and buttons, by objectName.
    static const QHash<QString, CommandHandler> &commands();

    std::unique_ptr<MainMenus> mMenus;
    std::unique_ptr<MainControls> mUi;
    std::unique_ptr<ColumnLayout> mColumnLayout;
    std::unique_ptr<DisplayModes> mDisplay;
    std::unique_ptr<GridEvents> mGrid;
    std::unique_ptr<LocateBox> mLocateBox;
    std::unique_ptr<RecordCommands> mRecords;
    std::unique_ptr<ListViewCommands> mListViews;
    std::unique_ptr<ReportCommands> mReports;
    std::unique_ptr<ProgramCommands> mProgram;
    std::unique_ptr<PictureCommands> mPictures;
};
