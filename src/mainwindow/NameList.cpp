#include "mainwindow/NameList.h"

#include "editor/DataControlLink.h"
#include "helpers/DatabaseState.h"
#include "helpers/GLOBAL.h"
#include "helpers/MSendInput.h"
#include "helpers/MainWindowLink.h"
#include "helpers/RecordSource.h"
#include "helpers/SortOrder.h"
#include "helpers/StartRoutine.h"
#include "helpers/ValueHelpers.h"
#include "helpers/mMouseScrollWheel.h"
#include "mainwindow/ColumnLayout.h"
#include "mainwindow/ColumnLayoutFile.h"
#include "mainwindow/CommandUnderWay.h"
#include "mainwindow/DisplayModes.h"
#include "mainwindow/GridEvents.h"
#include "mainwindow/ListViewCommands.h"
#include "mainwindow/LocateBox.h"
#include "mainwindow/MainControls.h"
#include "mainwindow/MainMenus.h"
#include "mainwindow/MainWindowLayout.h"
#include "mainwindow/MainWindowSettings.h"
#include "mainwindow/PictureCommands.h"
#include "mainwindow/ProgramCommands.h"
#include "mainwindow/RecordCommands.h"
#include "mainwindow/ReportCommands.h"
#include "pictures/Pics3.h"
#include "platform/RuntimeError.h"
#include "platform/db/DamageMark.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ProgramFolder.h"
#include "platform/ui/Twips.h"
#include "printing/PrintModeSwitch.h"
#include "reminders/ReminderCommands.h"
#include "reminders/ReminderRecords.h"
#include "selection/FindAnyText.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <QTableView>
#include <QTimer>

#include <utility>
#include <vector>

using platform::MousePointer;
using platform::RuntimeError;
using platform::setGeometryTwips;
using platform::setMousePointer;

namespace {

QPointer<NameList> &slot()
{
    static QPointer<NameList> window;
    return window;
}

// Function keys come as Qt key codes; the window's key rules speak the classic codes.
int classicKeyCode(int qtKey)
{
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return platform::VkF1 + (qtKey - Qt::Key_F1);
    return qtKey;
}

// A command table entry: the handler method of one of the window's parts, or of the window.
template <auto Part, auto Handler> void on(NameList &window)
{
    ((window.*Part)().*Handler)();
}

template <auto Handler> void own(NameList &window)
{
    (window.*Handler)();
}

} // namespace

// The one place where every command of the window is led to its handler: one line a
// menu item or button, by its objectName. A command of a window that is not built yet has
// no line here, and its item and button stay disabled.
const QHash<QString, NameList::CommandHandler> &NameList::commands()
{
    static const QHash<QString, CommandHandler> handlers = {
        {"ShowAllMenu", on<&NameList::listViews, &ListViewCommands::ShowAllMenu_Click>},
        {"ShowSelectedOnlyMenu", on<&NameList::listViews, &ListViewCommands::ShowSelectedOnlyMenu_Click>},
        {"HideSelectedMenu", on<&NameList::listViews, &ListViewCommands::HideSelectedMenu_Click>},
        {"RemoveSelectionsMenu", on<&NameList::listViews, &ListViewCommands::RemoveSelectionsMenu_Click>},
        {"DisplayRecCntMenu", on<&NameList::listViews, &ListViewCommands::DisplayRecCntMenu_Click>},
        {"cmdShowAll", on<&NameList::listViews, &ListViewCommands::cmdShowAll_Click>},
        {"cmdShowSelected", on<&NameList::listViews, &ListViewCommands::cmdShowSelected_Click>},
        {"ChangePassword", own<&NameList::ChangePassword_Click>},
        {"cmbSort", on<&NameList::listViews, &ListViewCommands::cmbSort_Click>},
        {"PreviewMode", on<&NameList::reports, &ReportCommands::PreviewMode_Click>},
        {"PrintMode", on<&NameList::reports, &ReportCommands::PrintMode_Click>},
        {"CondensedList", on<&NameList::reports, &ReportCommands::CondensedList_Click>},
        {"Condensed1LineMenu", on<&NameList::reports, &ReportCommands::Condensed1LineMenu_Click>},
        {"PhoneListMenu", on<&NameList::reports, &ReportCommands::PhoneListMenu_Click>},
        {"DateReportMenu", on<&NameList::reports, &ReportCommands::DateReportMenu_Click>},
        {"RemindersReportMenu", on<&NameList::reports, &ReportCommands::RemindersReportMenu_Click>},
        {"ReportOptionsMenu", on<&NameList::reports, &ReportCommands::ReportOptionsMenu_Click>},
        {"FullSizeAddressBook", on<&NameList::reports, &ReportCommands::FullSizeAddressBook_Click>},
        {"HalfPageAddressBook", on<&NameList::reports, &ReportCommands::HalfPageAddressBook_Click>},
        {"HalfPageAddressBookLeftSide",
         on<&NameList::reports, &ReportCommands::HalfPageAddressBookLeftSide_Click>},
        {"PocketMenu", on<&NameList::reports, &ReportCommands::PocketMenu_Click>},
        {"Labels3upMenu", on<&NameList::reports, &ReportCommands::Labels3upMenu_Click>},
        {"Labels1UpMenu1", on<&NameList::reports, &ReportCommands::Labels1UpMenu1_Click>},
        {"Labels1UpMenu2", on<&NameList::reports, &ReportCommands::Labels1UpMenu2_Click>},
        {"Labels2UpMenu", on<&NameList::reports, &ReportCommands::Labels2UpMenu_Click>},
        {"EnvelopeMenu", on<&NameList::reports, &ReportCommands::EnvelopeMenu_Click>},
        {"cmdEnvelope", on<&NameList::reports, &ReportCommands::EnvelopeMenu_Click>},
        {"ReturnAddressMenu", on<&NameList::reports, &ReportCommands::ReturnAddressMenu_Click>},
        {"cmdExit", own<&NameList::cmdExit_Click>},
        {"cmdAdd", on<&NameList::records, &RecordCommands::cmdAdd_Click>},
        {"AddMenu", on<&NameList::records, &RecordCommands::cmdAdd_Click>},
        {"cmdEdit", on<&NameList::records, &RecordCommands::cmdEdit_Click>},
        {"EditViewMenu", on<&NameList::records, &RecordCommands::cmdEdit_Click>},
        {"cmdExitSign", own<&NameList::cmdExit_Click>},
        {"FileExit", own<&NameList::cmdExit_Click>},
        {"cmdDelete", on<&NameList::records, &RecordCommands::cmdDelete_Click>},
        {"cmdReports", on<&NameList::reports, &ReportCommands::cmdReports_Click>},
        {"cmdNotes", on<&NameList::records, &RecordCommands::cmdNotes_Click>},
        {"cmdRemind", on<&NameList::records, &RecordCommands::cmdRemind_Click>},
        {"CurrentReminders", on<&NameList::records, &RecordCommands::CurrentReminders_Show>},
        {"GridEditMenu", on<&NameList::grid, &GridEvents::GridEditMenu_Click>},
        {"AboutBox", on<&NameList::program, &ProgramCommands::AboutBox_Click>},
        {"OpenDatabase", on<&NameList::program, &ProgramCommands::OpenDatabase_Click>},
        {"HelpSystem", on<&NameList::program, &ProgramCommands::HelpSystem_Click>},
        {"cmdHelp", on<&NameList::program, &ProgramCommands::HelpSystem_Click>},
        {"DesktopMode", on<&NameList::display, &DisplayModes::DesktopMode_Click>},
        {"TabletMode", on<&NameList::display, &DisplayModes::TabletMode_Click>},
        {"SelectColor", on<&NameList::display, &DisplayModes::SelectColor_Click>},
        {"RestoreColor", on<&NameList::display, &DisplayModes::RestoreColor_Click>},
        {"ScrollBarWidth", on<&NameList::display, &DisplayModes::ScrollBarWidth_Click>},
        {"ChangePrinter", on<&NameList::reports, &ReportCommands::ChangePrinter_Click>},
        {"mnuPageBreakAlpha", on<&NameList::reports, &ReportCommands::mnuPageBreakAlpha_Click>},
        {"cmdDial", on<&NameList::records, &RecordCommands::cmdDial_Click>},
        {"ModemPortMenu", on<&NameList::records, &RecordCommands::ModemPortMenu_Click>},
        {"LoadRecordPictures", on<&NameList::pictures, &PictureCommands::LoadRecordPictures>},
        {"cmdPictures", on<&NameList::pictures, &PictureCommands::cmdPictures_Click>},
        {"Export", on<&NameList::reports, &ReportCommands::Export_Click>},
        {"ExportWithNotes", on<&NameList::reports, &ReportCommands::ExportWithNotes_Click>},
        {"ExportEmail", on<&NameList::reports, &ReportCommands::ExportEmail_Click>},
        {"ExportVistaprint", on<&NameList::reports, &ReportCommands::ExportVistaprint_Click>},
        {"ExportReport1", on<&NameList::reports, &ReportCommands::ExportReport1_Click>},
        {"ExportReport2", on<&NameList::reports, &ReportCommands::ExportReport2_Click>},
        {"CopyClipboard", on<&NameList::reports, &ReportCommands::CopyClipboard_Click>},
        {"Category", on<&NameList::listViews, &ListViewCommands::Category_Click>},
        {"cmdCategory", on<&NameList::listViews, &ListViewCommands::Category_Click>},
        {"SelectionCriteria", on<&NameList::listViews, &ListViewCommands::SelectionCriteria_Click>},
        {"cmdFilter", on<&NameList::listViews, &ListViewCommands::SelectionCriteria_Click>},
        {"FindEditMenu", on<&NameList::listViews, &ListViewCommands::FindEditMenu_Click>},
        {"cmdFind", on<&NameList::listViews, &ListViewCommands::FindEditMenu_Click>},
        {"AssignCatgMenu", on<&NameList::listViews, &ListViewCommands::AssignCatgMenu_Click>},
        {"cmdAssignCatg", on<&NameList::listViews, &ListViewCommands::AssignCatgMenu_Click>},
        {"AssignAllToCatg", on<&NameList::listViews, &ListViewCommands::AssignAllToCatg_Click>},
        {"RemoveAllFromCatg", on<&NameList::listViews, &ListViewCommands::AssignAllToCatg_Click>},
        {"cmdClipboard", on<&NameList::reports, &ReportCommands::cmdClipboard_Click>},
    };
    return handlers;
}

NameList::NameList()
{
    setObjectName(QStringLiteral("NameList"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setKeyPreview(true);
    installReminderHooks();
    installSelectionHooks();
    linkSubsystems();
    mMenus = std::make_unique<MainMenus>(*this);
    mUi = std::make_unique<MainControls>(*this);
    mColumnLayout = std::make_unique<ColumnLayout>(*this);
    mDisplay = std::make_unique<DisplayModes>(*this);
    mGrid = std::make_unique<GridEvents>(*this);
    mLocateBox = std::make_unique<LocateBox>(*this);
    mRecords = std::make_unique<RecordCommands>(*this);
    mListViews = std::make_unique<ListViewCommands>(*this);
    mReports = std::make_unique<ReportCommands>(*this);
    mProgram = std::make_unique<ProgramCommands>(*this);
    mPictures = std::make_unique<PictureCommands>(*this);
    // The toolbar buttons are as wide as their captions in the platform's font, so the row
    // may reach past the designed width: the window opens wide enough to show all of it.
    const QPushButton *exitSign = button(QStringLiteral("cmdExitSign"));
    const int toolbarRight = qRound(platform::pixelsToTwipsX(exitSign->x() + exitSign->width())) + 120;
    platform::setClientSizeTwips(this, qMax(MainControls::DesignClientWidth, toolbarRight),
                                 MainControls::DesignClientHeight +
                                     platform::pixelsToTwipsY(mMenus->bar()->sizeHint().height()));
    setMinimumWidth(platform::twipsToPixelsX(MainWindowMinimumWidth) - 2);
}

// The subsystems stand below this window and reach it through these hooks, each of which
// loads the window again when it was unloaded.
void NameList::linkSubsystems()
{
    MainWindowLink::install({
        []() -> platform::DataControl & { return *instance().mUi->Data1; },
        []() -> platform::DataControl * {
            NameList *window = loadedInstance();
            return window ? window->mUi->Data1 : nullptr;
        },
        [] { return instance().mUi->lblCategory->text(); },
        [](const QString &caption) { instance().setCategoryCaption(caption); },
        [] {
            instance().mUi->txtName->clear();
            instance().mUi->txtPhone->clear();
        },
        [] { instance().mUi->lblFilterMsg->clear(); },
        [] { instance().mUi->lblFilterMsg->setVisible(false); },
    });
}

NameList::~NameList() = default;

NameList &NameList::instance()
{
    return platform::instanceOf(slot());
}

const QStringList &NameList::startupSettingTypes()
{
    static const QStringList types{CategoryStartupSettingType,     CategorySettingType,
                                   VersionSettingType,             AssignCategoryOnAddSettingType,
                                   TemplateRecordIdSettingType,    BackColorSettingType,
                                   TabletSettingType,              GridSortOrderType,
                                   ReminderStartupSettingType};
    return types;
}

void NameList::build()
{
    QPointer<NameList> &window = slot();
    if (window && !window->isUnloaded())
        return;
    if (window)
        window->deleteLater();
    window = new NameList;
}

NameList *NameList::loadedInstance()
{
    NameList *window = slot().data();
    return window && window->isLoaded() ? window : nullptr;
}

QAction *NameList::menuItem(const QString &name) const
{
    return mMenus->item(name);
}

QPushButton *NameList::button(const QString &name) const
{
    return mUi->button(name);
}

bool NameList::hasHandler(const QString &command) const
{
    return commands().contains(command);
}

namespace {

int commandDepth = 0;
std::vector<std::function<void()>> afterCommand;

// Counts a command while it runs, and lets what waits for its end go when it has ended.
struct CommandRunning {
    CommandRunning() { ++commandDepth; }
    ~CommandRunning()
    {
        if (--commandDepth > 0)
            return;
        for (std::function<void()> &then : std::exchange(afterCommand, {}))
            QTimer::singleShot(0, qApp, std::move(then));
    }
};

} // namespace

bool commandUnderWay()
{
    return commandDepth > 0;
}

void whenNoCommandUnderWay(std::function<void()> then)
{
    if (commandDepth > 0)
        afterCommand.push_back(std::move(then));
    else
        QTimer::singleShot(0, qApp, std::move(then));
}

void NameList::dispatch(const QString &command)
{
    const CommandHandler handler = commands().value(command);
    if (!handler)
        return;
    // A value typed into a cell is stored before any command acts on the list or ends the
    // window; one the database refuses stays in its cell, and the command waits for it.
    if (!mGrid->storeCellEdit())
        return;
    const CommandRunning running;
    try {
        handler(*this);
    } catch (const RuntimeError &error) {
        // A command without a trap of its own: the failure is told and the window stays.
        platform::reportRuntimeError(error);
    }
}

void NameList::setAddAllowed(bool allowed)
{
    mAddAllowed = allowed;
    button(QStringLiteral("cmdAdd"))->setEnabled(allowed && hasHandler(QStringLiteral("cmdAdd")));
}

bool NameList::readSetting(const QString &type, QString &name, QString *setting1) const
{
    const std::optional<StartupSettings::Row> row = mStartupSettings.row(type);
    if (!row)
        return false;
    name = row->name;
    if (setting1)
        *setting1 = row->setting1;
    return true;
}

void NameList::Form_Load()
{
    if (installsMouseWheelHook(platform::programFolder())) {
        HookMouseWheel(this);
        mWheelHooked = true;
    }
    setWindowTitle(mainWindowCaption(gAppName, gDbPath, gDb && gDb->readOnly()));
    gMainWindow.gFirstTime = true;
    gMainWindow.gPageBreakPerLetter = false;
    gRecordSource.gListSource = ContactsTable;

    // Every settings row the load and the first activation go by, in one read.
    if (mSettingsAhead) {
        mStartupSettings = *std::exchange(mSettingsAhead, std::nullopt);
        gSql = StartupSettings::query(startupSettingTypes());
    } else {
        mStartupSettings.read(*gDb, startupSettingTypes());
    }
    QString value;
    QString condition;
    // The start-up category: the category window stores its check box as 1; True and
    // -1 are understood too.
    mStartupCategoryShown = false;
    if (readSetting(CategoryStartupSettingType, value) && settingIsTrue(value) &&
        readSetting(CategorySettingType, value, &condition) && applyStartupCategory(condition)) {
        mStartupCategoryShown = true;
        setCategoryCaption(value);
    }

    gEditor.gCodeMaxLength = codeMaxLength(readSetting(VersionSettingType, value));
    gEditor.gAssignCategoryOnAdd =
        readSetting(AssignCategoryOnAddSettingType, value) ? assignCategoryOnAddFrom(value) : 0;
    gEditor.gTemplateRecordID =
        readSetting(TemplateRecordIdSettingType, value) ? QVariant(value) : QVariant(0);
    if (readSetting(BackColorSettingType, value)) {
        if (const std::optional<qint32> colour = backColorFrom(value))
            mDisplay->setBackColorValue(*colour);
    }
    if (readSetting(TabletSettingType, value) && settingIsTrue(value))
        gTabletMode = true;
    mUi->lblNotice->setText(noticeLabelCaption(gNoticeLine));

    // The list first opens once the first activation knows the view and order it shows.
    mUi->Data1->setDatabase(gDb.get());
    mUi->Data1->setRecordSource(firstListRecordSource(gRecordSource));
    gRecordSource.gOrderByClause = DefaultOrderByClause;

    platform::centerWindowOnScreen(this);
    mDisplay->applyLook();
    try {
        mColumnLayout->applyColumnLayout();
    } catch (const RuntimeError &) {
        // A layout that cannot be applied leaves the columns read so far.
    }
    setMousePointer(MousePointer::Default);
}

void NameList::bindGrid()
{
    if (!mColumnLayout->bindGrid())
        return;
    mGrid->connectEvents();
    mLocateBox->connectEvents();
}

// The fields on offer are those of the list's table or query, read from the database's
// description of it: no list needs opening for their names.
void NameList::fillSortBox()
{
    const QList<platform::JetColumn> *columns = gDb->columnsOf(gRecordSource.gListSource);
    if (!columns)
        return;
    QStringList names;
    for (const platform::JetColumn &column : *columns)
        names.append(column.name);
    mUi->cmbSort->addItems(sortBoxItems(names));
}

void NameList::rebuildDueReminders()
{
    // A file whose reminders cannot be read still opens: the user is told why there is no
    // due list, and the program starts without it.
    qint64 due = 0;
    try {
        due = RebuildDueReminders(*gDb);
    } catch (const RuntimeError &error) {
        TellDueListNotBuilt(error.description());
        return;
    }
    if (due >= 1)
        dispatch(QStringLiteral("CurrentReminders"));
}

void NameList::firstActivation()
{
    // Nothing of the window has painted yet: the hourglass of the steps below would never
    // be seen, and the first one shown costs loading its picture.
    const platform::SteadyPointer steady;
    // The list is read from the database in force now: after a repair at start-up the
    // window that loaded on the damaged file is shown again on the repaired one.
    mUi->Data1->setDatabase(gDb.get());
    fillSortBox();

    QString stored;
    const bool rowExists = readSetting(GridSortOrderType, stored);
    QStringList items;
    for (int i = 0; i < mUi->cmbSort->count(); ++i)
        items.append(mUi->cmbSort->itemText(i));
    const QString choice = restoredSortChoice(rowExists, stored, items);
    mUi->cmbSort->setCurrentIndex(mUi->cmbSort->findText(choice));
    mListViews->restoreSortChoice();

    QString startup;
    if (readSetting(ReminderStartupSettingType, startup)) {
        gMainWindow.gReminderStartup = reminderStartupFrom(startup);
        if (gMainWindow.gReminderStartup != 0)
            rebuildDueReminders();
    }

    QString categoryFailure;
    try {
        if (mStartupCategoryShown) {
            try {
                // The category restored at start-up stays; only the selection view goes.
                mGrid->Table1_ClearClickFlag();
                refreshList(storeParts(removeSelectionsRecordSource(gRecordSource)));
            } catch (const RuntimeError &error) {
                // A damaged file is the start routine's to repair.
                if (error.number() == platform::err::DamagedDatabase)
                    throw;
                // A stored category that cannot be shown (its condition damaged) must not lock
                // the user out of the file: all contacts are shown, and the settings rows stay
                // for the user to choose again.
                categoryFailure = startupCategoryNotShownText(mUi->lblCategory->text(), error.description());
                mStartupCategoryShown = false;
                mListViews->showAllContacts();
            }
        } else {
            mListViews->ShowAllMenu_Click();
        }
    } catch (const RuntimeError &) {
        // A list that cannot open at all stops the start, which tells why: no window stays
        // on screen without its list.
        hide();
        throw;
    }
    // The grid binds to the one list the window first shows.
    bindGrid();
    if (!categoryFailure.isNull())
        platform::MsgBox(categoryFailure, platform::vbExclamation, StartupCategoryNotShownTitle);
}

void NameList::Form_Activate()
{
    mGrid->windowActivated();
    if (isFindResultCaption(mUi->lblCategory->text()))
        setAddAllowed(false);
    if (gMainWindow.gFirstTime)
        firstActivation();
    mUi->lblFilterMsg->setVisible(!gRecordSource.gFilterClause.isEmpty());
    mUi->Table1->setFocus();
    if (gMainWindow.gFirstTime || gEditor.gRecordSaved) {
        gMainWindow.gFirstTime = false;
        gEditor.gRecordSaved = false;
        SendKeysInput(QStringLiteral("{right}"), true);
    }
}

void NameList::Form_KeyDown(int &keyCode, Qt::KeyboardModifiers shift)
{
    Q_UNUSED(shift);
    switch (mainWindowKey(classicKeyCode(keyCode))) {
    case MainWindowKey::Swallow:
        keyCode = platform::KeyCancelled;
        break;
    case MainWindowKey::SwallowAndEnablePasswordChange:
        keyCode = platform::KeyCancelled;
        menuItem(QStringLiteral("ChangePassword"))->setEnabled(true);
        break;
    case MainWindowKey::PassOn:
        break;
    }
}

void NameList::Form_QueryUnload(bool &cancel, int unloadMode)
{
    Q_UNUSED(unloadMode);
    // Closed from its title bar or by the keyboard, the window keeps a typed cell as any
    // command does.
    if (!mGrid->storeCellEdit())
        cancel = true;
}

void NameList::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    if (mWheelHooked) {
        UnhookMouseWheel(this);
        mWheelHooked = false;
    }
    // The panel goes with the window, enlarged or not.
    if (Pics3 *panel = Pics3::loadedInstance())
        panel->unloadForShutDown();
    QString layoutNotSaved;
    {
        platform::BusyPointer busy;
        if (mColumnLayout->columnsChanged() && !mColumnLayout->writeColumnLayout(layoutNotSaved))
            layoutNotSaved = ColumnLayoutFile::notSavedText(layoutNotSaved);
        ClosePreviewAtExit();
        // The list goes before the marks are cleared: an open list would first read every
        // one of its rows for a write it is about to be closed after.
        mUi->Data1->clear();
        // Marks live for one run of the main window; a database the password change could
        // not reopen has none to clear.
        // Nor does a file known damaged, which nothing writes before its repair.
        if (gDb && gDb->isOpen() && !gDb->readOnly() && !platform::DamageMark::known(gDb->name())) {
            try {
                gDb->execute(ClearSelectionMarksSql);
            } catch (const RuntimeError &) {
                // A database that refuses the update (held by another program) keeps its
                // marks; the window still closes.
            }
        }
        gMainWindow.gSelectedCount = 0;
    }
    // The window still closes, and the user learns that the columns as arranged are not kept.
    if (!layoutNotSaved.isNull())
        platform::MsgBox(layoutNotSaved, platform::vbExclamation, QStringLiteral("Column layout not saved"));

    // Closing the main window ends the program, unless a command is about to show a new
    // one through the start routine.
    QTimer::singleShot(0, [] {
        if (!NameList::loadedInstance() && !restartingThroughMain())
            endProgram();
    });
}

void NameList::resizeEvent(QResizeEvent *event)
{
    platform::Form::resizeEvent(event);
    Form_Resize();
    mPictures->placeBesidePicturePanel();
}

void NameList::Form_Resize()
{
    if (mLayingOut)
        return;
    const int menuHeight = mMenus->bar()->sizeHint().height();
    mMenus->bar()->setGeometry(0, 0, width(), menuHeight);
    mUi->client->setGeometry(0, menuHeight, width(), qMax(0, height() - menuHeight));

    MainWindowLayoutInput in;
    in.innerWidth = platform::pixelsToTwipsX(mUi->client->width());
    in.innerHeight = platform::pixelsToTwipsY(mUi->client->height());
    in.outerWidth = platform::windowWidthTwips(this);
    in.headerHeight = platform::pixelsToTwipsY(mUi->lblHeader->height());
    in.marginWidth = platform::pixelsToTwipsX(mUi->lblMargin->width());
    in.gridLeft = platform::pixelsToTwipsX(mUi->Table1->x());
    in.gridTop = platform::pixelsToTwipsY(mUi->Table1->y());
    in.gridHeight = platform::pixelsToTwipsY(mUi->Table1->height());
    in.filterMessageWidth = platform::pixelsToTwipsX(mUi->lblFilterMsg->width());
    in.sortBoxWidth = platform::pixelsToTwipsX(mUi->cmbSort->width());
    in.locateBoxLeft = platform::pixelsToTwipsX(mUi->txtLocate->x());
    in.locateBoxWidth = platform::pixelsToTwipsX(mUi->txtLocate->width());
    QPushButton *del = button(QStringLiteral("cmdDelete"));
    in.buttonWidth = platform::pixelsToTwipsX(del->width());
    in.buttonHeight = platform::pixelsToTwipsY(del->height());
    QPushButton *showSelected = button(QStringLiteral("cmdShowSelected"));
    in.showSelectedLeft = platform::pixelsToTwipsX(showSelected->x());
    in.noticeWidth = platform::pixelsToTwipsX(mUi->lblNotice->width());
    in.textBackgroundHeight = platform::pixelsToTwipsY(mUi->TextBackground->height());

    const MainWindowLayout out = layoutMainWindow(in);
    if (out.unchanged)
        return;
    if (out.widenToMinimum) {
        mLayingOut = true;
        resize(platform::twipsToPixelsX(MainWindowMinimumWidth), height());
        mLayingOut = false;
        Form_Resize();
        return;
    }
    const auto px = [](double twips) { return platform::twipsToPixelsX(twips); };
    const auto py = [](double twips) { return platform::twipsToPixelsY(twips); };
    const auto moveTo = [&](QWidget *w, double left, double top) { w->move(px(left), py(top)); };

    moveTo(mUi->lblFilterMsg, out.filterMessageLeft, platform::pixelsToTwipsY(mUi->lblFilterMsg->y()));
    mUi->Table1->setGeometry(mUi->Table1->x(), mUi->Table1->y(), px(out.gridWidth), py(out.gridHeight));
    mUi->txtName->setGeometry(mUi->txtName->x(), py(out.detailTop), px(out.detailWidth),
                              mUi->txtName->height());
    mUi->txtPhone->setGeometry(px(out.phoneLeft), py(out.detailTop), px(out.detailWidth),
                               mUi->txtPhone->height());
    mUi->TextBackground->setGeometry(mUi->TextBackground->x(), py(out.textBackgroundTop),
                                     px(out.textBackgroundWidth), mUi->TextBackground->height());
    moveTo(mUi->lblSort, out.sortLeft, platform::pixelsToTwipsY(mUi->lblSort->y()));
    moveTo(mUi->cmbSort, out.sortLeft, platform::pixelsToTwipsY(mUi->cmbSort->y()));
    mUi->lblCategory->setGeometry(px(out.categoryLeft), mUi->lblCategory->y(), qMax(0, px(out.categoryWidth)),
                                  mUi->lblCategory->height());
    moveTo(del, out.deleteLeft, out.buttonTop);
    moveTo(button(QStringLiteral("cmdAdd")), out.addLeft, out.buttonTop);
    moveTo(button(QStringLiteral("cmdEdit")), out.editLeft, out.buttonTop);
    moveTo(button(QStringLiteral("cmdExit")), out.exitLeft, out.buttonTop);
    moveTo(showSelected, platform::pixelsToTwipsX(showSelected->x()), out.showSelectedTop);
    moveTo(mUi->lblSelectedCount, out.selectedCountLeft, out.selectedCountTop);
    moveTo(mUi->lblNotice, out.noticeLeft, out.noticeTop);
}

void NameList::MouseWheel(int MouseKeys, int Rotation, int Xpos, int Ypos)
{
    ScrollGridByWheel(mUi->Table1, MouseKeys, Rotation, Xpos, Ypos);
}

void NameList::refreshList(const QString &recordSource)
{
    // A list that cannot be opened leaves the one shown in place, with its record source.
    const QString shownSource = mUi->Data1->recordSource();
    mUi->Data1->setRecordSource(recordSource);
    try {
        mUi->Data1->refresh();
    } catch (const RuntimeError &) {
        mUi->Data1->setRecordSource(shownSource);
        throw;
    }
}

void NameList::releaseList()
{
    mUi->Data1->clear();
}

void NameList::setCategoryCaption(const QString &caption)
{
    const bool changed = mUi->lblCategory->text() != caption;
    mUi->lblCategory->setText(caption);
    if (changed)
        lblCategory_Change();
}

void NameList::lblCategory_Change()
{
    setAddAllowed(!isFindResultCaption(mUi->lblCategory->text()));
}

void NameList::cmdExit_Click()
{
    unload();
}

void NameList::ChangePassword_Click()
{
    // The change reopens the database and restarts through the start routine, which owns it.
    if (StartRoutine::changePassword)
        StartRoutine::changePassword();
}
