#include "mainwindow/NameList.h"

#include "addressbooks/AddressBooks.h"
#include "addressbooks/PocketBook.h"
#include "editor/DataControlLink.h"
#include "editor/FieldRules.h"
#include "editor/NameEdit.h"
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
#include "mainwindow/DisplayModes.h"
#include "mainwindow/LocateBox.h"
#include "mainwindow/MainWindowLayout.h"
#include "mainwindow/MainWindowSettings.h"
#include "pictures/Pics3.h"
#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/grid/DataGrid.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/ClassicFont.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ProgramFolder.h"
#include "platform/ui/Twips.h"
#include "printing/CondensedLists.h"
#include "printing/DataControlRecords.h"
#include "printing/FormEnvelope.h"
#include "printing/MailingLabels.h"
#include "printing/PhoneListReports.h"
#include "printing/PrintModeSwitch.h"
#include "printing/ReminderReport.h"
#include "printing/ReportOptionsForm.h"
#include "printing/ReturnAddress.h"
#include "reminders/ReminderCommands.h"
#include "reminders/ReminderRecords.h"
#include "selection/FindAnyText.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <QTableView>
#include <QTimer>

using platform::MousePointer;
using platform::RuntimeError;
using platform::setGeometryTwips;
using platform::setMousePointer;

namespace {

// The window as designed, in twips.
constexpr int DesignClientWidth = 12000;
constexpr int DesignClientHeight = 8200;
constexpr int GridLeft = 195;
constexpr int GridTop = 1150;
constexpr int DetailHeight = 1180;
constexpr int RecordButtonWidth = 1005;
constexpr int RecordButtonHeight = 375;

QPointer<NameList> &slot()
{
    static QPointer<NameList> window;
    return window;
}

// Function keys come as Qt key codes; the window's key rules speak the classic codes.
int classicKeyCode(int qtKey)
{
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    return qtKey;
}

} // namespace

// The one place where every command of the window is led to its handler: one line a
// menu item or button, by its objectName. A command of a window that is not built yet has
// no line here, and its item and button stay disabled.
const QHash<QString, NameList::CommandHandler> &NameList::commands()
{
    static const QHash<QString, CommandHandler> handlers = {
        {QStringLiteral("ShowAllMenu"), &NameList::ShowAllMenu_Click},
        {QStringLiteral("ShowSelectedOnlyMenu"), &NameList::ShowSelectedOnlyMenu_Click},
        {QStringLiteral("HideSelectedMenu"), &NameList::HideSelectedMenu_Click},
        {QStringLiteral("RemoveSelectionsMenu"), &NameList::RemoveSelectionsMenu_Click},
        {QStringLiteral("DisplayRecCntMenu"), &NameList::DisplayRecCntMenu_Click},
        {QStringLiteral("cmdShowAll"), &NameList::cmdShowAll_Click},
        {QStringLiteral("cmdShowSelected"), &NameList::cmdShowSelected_Click},
        {QStringLiteral("ChangePassword"), &NameList::ChangePassword_Click},
        {QStringLiteral("cmbSort"), &NameList::cmbSort_Click},
        {QStringLiteral("PreviewMode"), &NameList::PreviewMode_Click},
        {QStringLiteral("PrintMode"), &NameList::PrintMode_Click},
        {QStringLiteral("CondensedList"), &NameList::CondensedList_Click},
        {QStringLiteral("Condensed1LineMenu"), &NameList::Condensed1LineMenu_Click},
        {QStringLiteral("PhoneListMenu"), &NameList::PhoneListMenu_Click},
        {QStringLiteral("DateReportMenu"), &NameList::DateReportMenu_Click},
        {QStringLiteral("RemindersReportMenu"), &NameList::RemindersReportMenu_Click},
        {QStringLiteral("ReportOptionsMenu"), &NameList::ReportOptionsMenu_Click},
        {QStringLiteral("FullSizeAddressBook"), &NameList::FullSizeAddressBook_Click},
        {QStringLiteral("HalfPageAddressBook"), &NameList::HalfPageAddressBook_Click},
        {QStringLiteral("HalfPageAddressBookLeftSide"), &NameList::HalfPageAddressBookLeftSide_Click},
        {QStringLiteral("PocketMenu"), &NameList::PocketMenu_Click},
        {QStringLiteral("Labels3upMenu"), &NameList::Labels3upMenu_Click},
        {QStringLiteral("Labels1UpMenu1"), &NameList::Labels1UpMenu1_Click},
        {QStringLiteral("Labels1UpMenu2"), &NameList::Labels1UpMenu2_Click},
        {QStringLiteral("Labels2UpMenu"), &NameList::Labels2UpMenu_Click},
        {QStringLiteral("EnvelopeMenu"), &NameList::EnvelopeMenu_Click},
        {QStringLiteral("cmdEnvelope"), &NameList::EnvelopeMenu_Click},
        {QStringLiteral("ReturnAddressMenu"), &NameList::ReturnAddressMenu_Click},
        {QStringLiteral("cmdExit"), &NameList::cmdExit_Click},
        {QStringLiteral("cmdAdd"), &NameList::cmdAdd_Click},
        {QStringLiteral("AddMenu"), &NameList::cmdAdd_Click},
        {QStringLiteral("cmdEdit"), &NameList::cmdEdit_Click},
        {QStringLiteral("EditViewMenu"), &NameList::cmdEdit_Click},
        {QStringLiteral("cmdExitSign"), &NameList::cmdExit_Click},
        {QStringLiteral("FileExit"), &NameList::cmdExit_Click},
        {QStringLiteral("cmdDelete"), &NameList::cmdDelete_Click},
        {QStringLiteral("cmdReports"), &NameList::cmdReports_Click},
        {QStringLiteral("cmdNotes"), &NameList::cmdNotes_Click},
        {QStringLiteral("cmdRemind"), &NameList::cmdRemind_Click},
        {QStringLiteral("CurrentReminders"), &NameList::CurrentReminders_Show},
        {QStringLiteral("GridEditMenu"), &NameList::GridEditMenu_Click},
        {QStringLiteral("AboutBox"), &NameList::AboutBox_Click},
        {QStringLiteral("OpenDatabase"), &NameList::OpenDatabase_Click},
        {QStringLiteral("HelpSystem"), &NameList::HelpSystem_Click},
        {QStringLiteral("cmdHelp"), &NameList::HelpSystem_Click},
        {QStringLiteral("DesktopMode"), [](NameList &w) { w.display().DesktopMode_Click(); }},
        {QStringLiteral("TabletMode"), [](NameList &w) { w.display().TabletMode_Click(); }},
        {QStringLiteral("SelectColor"), [](NameList &w) { w.display().SelectColor_Click(); }},
        {QStringLiteral("RestoreColor"), [](NameList &w) { w.display().RestoreColor_Click(); }},
        {QStringLiteral("ScrollBarWidth"), [](NameList &w) { w.display().ScrollBarWidth_Click(); }},
        {QStringLiteral("ChangePrinter"), &NameList::ChangePrinter_Click},
        {QStringLiteral("mnuPageBreakAlpha"), &NameList::mnuPageBreakAlpha_Click},
        {QStringLiteral("cmdDial"), &NameList::cmdDial_Click},
        {QStringLiteral("ModemPortMenu"), &NameList::ModemPortMenu_Click},
        {QStringLiteral("LoadRecordPictures"), &NameList::LoadRecordPictures},
        {QStringLiteral("cmdPictures"), &NameList::cmdPictures_Click},
        {QStringLiteral("Export"), &NameList::Export_Click},
        {QStringLiteral("ExportWithNotes"), &NameList::ExportWithNotes_Click},
        {QStringLiteral("ExportEmail"), &NameList::ExportEmail_Click},
        {QStringLiteral("ExportVistaprint"), &NameList::ExportVistaprint_Click},
        {QStringLiteral("ExportReport1"), &NameList::ExportReport1_Click},
        {QStringLiteral("ExportReport2"), &NameList::ExportReport2_Click},
        {QStringLiteral("CopyClipboard"), &NameList::CopyClipboard_Click},
        {QStringLiteral("Category"), &NameList::Category_Click},
        {QStringLiteral("cmdCategory"), &NameList::Category_Click},
        {QStringLiteral("SelectionCriteria"), &NameList::SelectionCriteria_Click},
        {QStringLiteral("cmdFilter"), &NameList::SelectionCriteria_Click},
        {QStringLiteral("FindEditMenu"), &NameList::FindEditMenu_Click},
        {QStringLiteral("cmdFind"), &NameList::FindEditMenu_Click},
        {QStringLiteral("AssignCatgMenu"), &NameList::AssignCatgMenu_Click},
        {QStringLiteral("cmdAssignCatg"), &NameList::AssignCatgMenu_Click},
        {QStringLiteral("AssignAllToCatg"), &NameList::AssignAllToCatg_Click},
        {QStringLiteral("RemoveAllFromCatg"), &NameList::AssignAllToCatg_Click},
        {QStringLiteral("cmdClipboard"), &NameList::cmdClipboard_Click},
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
    buildMenus();
    buildControls();
    mColumnLayout = std::make_unique<ColumnLayout>(*this);
    mDisplay = std::make_unique<DisplayModes>(*this);
    mLocateBox = std::make_unique<LocateBox>(*this);
    // The toolbar buttons are as wide as their captions in the platform's font, so the row
    // may reach past the designed width: the window opens wide enough to show all of it.
    const QPushButton *exitSign = button(QStringLiteral("cmdExitSign"));
    const int toolbarRight = qRound(platform::pixelsToTwipsX(exitSign->x() + exitSign->width())) + 120;
    platform::setClientSizeTwips(this, qMax(DesignClientWidth, toolbarRight),
                                 DesignClientHeight + platform::pixelsToTwipsY(menuBar->sizeHint().height()));
    setMinimumWidth(platform::twipsToPixelsX(MainWindowMinimumWidth) - 2);
}

// The subsystems stand below this window and reach it through these hooks, each of which
// loads the window again when it was unloaded.
void NameList::linkSubsystems()
{
    MainWindowLink::install({
        []() -> platform::DataControl & { return *instance().Data1; },
        []() -> platform::DataControl * {
            NameList *window = loadedInstance();
            return window ? window->Data1 : nullptr;
        },
        [] { return instance().lblCategory->text(); },
        [](const QString &caption) { instance().setCategoryCaption(caption); },
        [] {
            instance().txtName->clear();
            instance().txtPhone->clear();
        },
        [] { instance().lblFilterMsg->clear(); },
        [] { instance().lblFilterMsg->setVisible(false); },
    });
}

NameList::~NameList() = default;

NameList &NameList::instance()
{
    return platform::instanceOf(slot());
}

NameList *NameList::loadedInstance()
{
    NameList *window = slot().data();
    return window && window->isLoaded() ? window : nullptr;
}

QAction *NameList::menuItem(const QString &name) const
{
    return mItems.value(name);
}

QPushButton *NameList::button(const QString &name) const
{
    return mButtons.value(name);
}

bool NameList::hasHandler(const QString &command) const
{
    return commands().contains(command);
}

void NameList::dispatch(const QString &command)
{
    const CommandHandler handler = commands().value(command);
    if (!handler)
        return;
    try {
        handler(*this);
    } catch (const RuntimeError &error) {
        // A command without a trap of its own: the failure is told and the window stays.
        setMousePointer(MousePointer::Default);
        platform::MsgBox(
            QStringLiteral("Run-time error '%1':\r\n\r\n%2").arg(error.number()).arg(error.description()),
            platform::vbOKOnly + platform::vbCritical);
    }
}

QAction *NameList::addItem(QMenu *menu, const QString &name, const QString &caption,
                           const QKeySequence &shortcut)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(name);
    if (!shortcut.isEmpty()) {
        item->setShortcut(shortcut);
        item->setShortcutContext(Qt::WindowShortcut);
    }
    item->setEnabled(hasHandler(name));
    connect(item, &QAction::triggered, this, [this, name] { dispatch(name); });
    mItems.insert(name, item);
    return item;
}

void NameList::buildMenus()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    const auto ctrl = [](char key) { return QKeySequence(Qt::CTRL | Qt::Key(key)); };

    FileMenu = menuBar->addMenu(QStringLiteral("&File"));
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    addItem(FileMenu, QStringLiteral("OpenDatabase"), QStringLiteral("Open..."));
    addItem(FileMenu, QStringLiteral("ChangePrinter"), QStringLiteral("&Printer Setup..."), ctrl('P'));
    FileMenu->addSeparator();
    addItem(FileMenu, QStringLiteral("Category"), QStringLiteral("&Choose a Category..."), ctrl('Y'));
    addItem(FileMenu, QStringLiteral("SelectionCriteria"), QStringLiteral("&Specify Record Filter..."),
            ctrl('S'));
    FileMenu->addSeparator();
    addItem(FileMenu, QStringLiteral("SelectColor"), QStringLiteral("Select &Background Color..."),
            ctrl('B'));
    addItem(FileMenu, QStringLiteral("RestoreColor"), QStringLiteral("&Restore Original Color"));
    QAction *hiddenSeparator = FileMenu->addSeparator();
    hiddenSeparator->setVisible(false);
    addItem(FileMenu, QStringLiteral("ImportFile"), QStringLiteral("&Import Address Book File..."))
        ->setVisible(false);
    FileMenu->addSeparator();
    addItem(FileMenu, QStringLiteral("ChangePassword"), QStringLiteral("Change Password"),
            QKeySequence(Qt::Key_F5));
    // Disabled as designed until F5 is pressed in the window.
    menuItem(QStringLiteral("ChangePassword"))->setEnabled(false);
    FileMenu->addSeparator();
    addItem(FileMenu, QStringLiteral("FileExit"), QStringLiteral("E&xit"),
            QKeySequence(Qt::SHIFT | Qt::Key_F4));

    EditMenu = menuBar->addMenu(QStringLiteral("&Edit"));
    EditMenu->setObjectName(QStringLiteral("EditMenu"));
    addItem(EditMenu, QStringLiteral("AddMenu"), QStringLiteral("&Add a New Record..."), ctrl('A'));
    addItem(EditMenu, QStringLiteral("EditViewMenu"), QStringLiteral("&Edit/View Current Record"), ctrl('E'));
    EditMenu->addSeparator();
    addItem(EditMenu, QStringLiteral("AssignCatgMenu"), QStringLiteral("Assign to &Categories..."),
            ctrl('T'));
    addItem(EditMenu, QStringLiteral("AssignAllToCatg"),
            QStringLiteral("A&ssign Many Records to Category..."));
    addItem(EditMenu, QStringLiteral("RemoveAllFromCatg"),
            QStringLiteral("Remove Many Records from Category..."));
    EditMenu->addSeparator();
    addItem(EditMenu, QStringLiteral("GridEditMenu"), QStringLiteral("Allow &Grid Editing"), ctrl('G'));
    EditMenu->addSeparator();
    addItem(EditMenu, QStringLiteral("FindEditMenu"), QStringLiteral("&Find Any Text..."), ctrl('F'));
    addItem(EditMenu, QStringLiteral("ShowAllMenu"), QStringLiteral("Show ALL &Records"), ctrl('R'));
    addItem(EditMenu, QStringLiteral("ShowSelectedOnlyMenu"), QStringLiteral("&Show Selected Records Only"),
            ctrl('O'));
    addItem(EditMenu, QStringLiteral("HideSelectedMenu"), QStringLiteral("&Hide Selected Records"),
            ctrl('H'));
    addItem(EditMenu, QStringLiteral("RemoveSelectionsMenu"), QStringLiteral("Remove Selection &Marks"),
            ctrl('M'));
    EditMenu->addSeparator();
    addItem(EditMenu, QStringLiteral("CopyClipboard"), QStringLiteral("Copy Name/Address to Clipboard"),
            ctrl('N'));
    EditMenu->addSeparator();
    addItem(EditMenu, QStringLiteral("DisplayRecCntMenu"), QStringLiteral("&Display Record Count"),
            ctrl('D'));

    ReportsMenu = menuBar->addMenu(QStringLiteral("&Reports"));
    ReportsMenu->setObjectName(QStringLiteral("ReportsMenu"));
    addItem(ReportsMenu, QStringLiteral("EnvelopeMenu"), QStringLiteral("Envelopes"));
    addItem(ReportsMenu, QStringLiteral("Labels3upMenu"), QStringLiteral("Labels 1\" x 2-5/8\" 3-up"));
    addItem(ReportsMenu, QStringLiteral("Labels1UpMenu1"), QStringLiteral("Labels 1-1/2\" x 4\" 1-up"));
    addItem(ReportsMenu, QStringLiteral("Labels1UpMenu2"), QStringLiteral("Labels 15/16\" x 3-1/2\" 1-up"));
    addItem(ReportsMenu, QStringLiteral("Labels2UpMenu"), QStringLiteral("Labels 1\" x 4\" 2-up"));
    ReportsMenu->addSeparator();
    addItem(ReportsMenu, QStringLiteral("FullSizeAddressBook"), QStringLiteral("Full-size Address Book"));
    addItem(ReportsMenu, QStringLiteral("HalfPageAddressBook"),
            QStringLiteral("5.5\" x 8.5\" Address Book (side by side)"));
    addItem(ReportsMenu, QStringLiteral("HalfPageAddressBookLeftSide"),
            QStringLiteral("5.5\" x 8.5\" Address Book (1/2 page)"));
    addItem(ReportsMenu, QStringLiteral("mnuPageBreakAlpha"),
            QStringLiteral("Page-break above reports alphabetically"));
    ReportsMenu->addSeparator();
    addItem(ReportsMenu, QStringLiteral("PocketMenu"), QStringLiteral("Pocket Address Book"));
    addItem(ReportsMenu, QStringLiteral("CondensedList"),
            QStringLiteral("Condensed List (2 lines per record)"));
    addItem(ReportsMenu, QStringLiteral("Condensed1LineMenu"),
            QStringLiteral("Condensed List (1 line per record)"));
    addItem(ReportsMenu, QStringLiteral("DateReportMenu"), QStringLiteral("Date Report"));
    addItem(ReportsMenu, QStringLiteral("RemindersReportMenu"), QStringLiteral("Date Reminders"));
    addItem(ReportsMenu, QStringLiteral("PhoneListMenu"), QStringLiteral("Phone List"));
    ReportsMenu->addSeparator();
    addItem(ReportsMenu, QStringLiteral("ExportVistaprint"),
            QStringLiteral("Export data to Vistaprint CSV file..."));
    addItem(ReportsMenu, QStringLiteral("Export"), QStringLiteral("Export data to CSV text file..."));
    addItem(ReportsMenu, QStringLiteral("ExportWithNotes"),
            QStringLiteral("Export data to CSV text file and include Notes..."));
    addItem(ReportsMenu, QStringLiteral("ExportEmail"), QStringLiteral("Export e-mail data to file..."));
    addItem(ReportsMenu, QStringLiteral("ExportReport1"),
            QStringLiteral("Export name/address list to file (label format)..."));
    addItem(ReportsMenu, QStringLiteral("ExportReport2"),
            QStringLiteral("Export name/address list to file (condensed)..."));
    ReportsMenu->addSeparator();
    addItem(ReportsMenu, QStringLiteral("PreviewMode"), QStringLiteral("Preview Reports"))
        ->setCheckable(true);
    QAction *printMode = addItem(ReportsMenu, QStringLiteral("PrintMode"), QStringLiteral("Print Reports"));
    printMode->setCheckable(true);
    printMode->setChecked(true);

    OptionsMenu = menuBar->addMenu(QStringLiteral("&Options"));
    OptionsMenu->setObjectName(QStringLiteral("OptionsMenu"));
    addItem(OptionsMenu, QStringLiteral("ReportOptionsMenu"), QStringLiteral("&Report Options"));
    addItem(OptionsMenu, QStringLiteral("ReturnAddressMenu"), QStringLiteral("Return &Address"));
    addItem(OptionsMenu, QStringLiteral("TabletMode"), QStringLiteral("Set to Tablet Mode"));
    addItem(OptionsMenu, QStringLiteral("DesktopMode"), QStringLiteral("Set to Desktop Mode"));
    addItem(OptionsMenu, QStringLiteral("ScrollBarWidth"),
            QStringLiteral("Change Scroll Bar Width (System-wide change)"));
    addItem(OptionsMenu, QStringLiteral("ModemPortMenu"), QStringLiteral("&Modem Port"));

    HelpMenu = menuBar->addMenu(QStringLiteral("&Help"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    addItem(HelpMenu, QStringLiteral("HelpSystem"), QStringLiteral("&View Help File"));
    addItem(HelpMenu, QStringLiteral("AboutBox"), QStringLiteral("&About"));
}

QPushButton *NameList::addButton(const QString &name, const QString &caption, const QString &toolTip,
                                 int left, int top, int width, int height)
{
    auto *b = new QPushButton(caption, client);
    b->setObjectName(name);
    if (!toolTip.isEmpty())
        b->setToolTip(toolTip);
    setGeometryTwips(b, left, top, width, height);
    b->setEnabled(hasHandler(name));
    connect(b, &QPushButton::clicked, this, [this, name] { dispatch(name); });
    mButtons.insert(name, b);
    return b;
}

void NameList::buildControls()
{
    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);

    struct Tool {
        const char *name;
        const char *caption;
        const char *tip;
    };
    static const Tool tools[] = {
        {"cmdFind", "Find", "Lets you search for any text in the entire database."},
        {"cmdFilter", "Filter",
         "Displays a screen used to specify criteria for limiting the records displayed."},
        {"cmdCategory", "Category",
         "Displays a screen to define or select categories of records to display."},
        {"cmdAssignCatg", "Assign",
         "Displays a screen to assign the current record to one of your categories."},
        {"cmdReports", "Reports", "Displays the Reports menu."},
        {"cmdEnvelope", "Envelope", "Displays the envelope printing screen."},
        {"cmdClipboard", "Clipboard",
         "Copies the current name and address to the Windows clipboard, so you can paste into other "
         "programs."},
        {"cmdDial", "Phone",
         "Displays a list of all phone numbers for this record, and allows you to dial any of them."},
        {"cmdRemind", "Remind", "Displays the Reminders screen."},
        {"cmdNotes", "Notes", "Display and add notes"},
        {"cmdPictures", "Pictures", "Display or Hide Pictures"},
        {"cmdHelp", "Help", "Displays the Help file."},
        {"cmdShowAll", "Show All",
         "Shows all records in the entire database.  Useful for cancelling previous filtering or category "
         "selections."},
    };
    int left = 120;
    for (const Tool &tool : tools) {
        QPushButton *b = addButton(QString::fromLatin1(tool.name), QString::fromLatin1(tool.caption),
                                   QString::fromLatin1(tool.tip), left, 60, 840, 360);
        platform::widenToCaption(b);
        left += qRound(platform::pixelsToTwipsX(b->width())) + 30;
    }
    QPushButton *exitSign = addButton(QStringLiteral("cmdExitSign"), QString(),
                                      QStringLiteral("Ends the program, without asking for confirmation."),
                                      left + 60, 30, 480, 480);
    exitSign->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    exitSign->setIconSize(QSize(32, 32));

    lblLocate = new QLabel(QStringLiteral("Locate:"), client);
    lblLocate->setObjectName(QStringLiteral("lblLocate"));
    setGeometryTwips(lblLocate, GridLeft, 600, 700, 255);
    txtLocate = new QLineEdit(client);
    txtLocate->setObjectName(QStringLiteral("txtLocate"));
    setGeometryTwips(txtLocate, GridLeft + 720, 560, 2400, 285);

    lblCategory = new QLabel(client);
    lblCategory->setObjectName(QStringLiteral("lblCategory"));
    setGeometryTwips(lblCategory, GridLeft + 3220, 600, 4000, 255);

    lblSort = new QLabel(QStringLiteral("Sort by:"), client);
    lblSort->setObjectName(QStringLiteral("lblSort"));
    setGeometryTwips(lblSort, 9000, 470, 2400, 230);
    cmbSort = new QComboBox(client);
    cmbSort->setObjectName(QStringLiteral("cmbSort"));
    cmbSort->setEditable(false);
    cmbSort->setMaxVisibleItems(20);
    setGeometryTwips(cmbSort, 9000, 700, 2400, 315);
    connect(cmbSort, &QComboBox::activated, this, [this] { dispatch(QStringLiteral("cmbSort")); });

    lblFilterMsg = new QLabel(QStringLiteral("Filter is limiting records displayed."), client);
    lblFilterMsg->setObjectName(QStringLiteral("lblFilterMsg"));
    lblFilterMsg->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    lblFilterMsg->setAlignment(Qt::AlignCenter);
    setGeometryTwips(lblFilterMsg, 4000, 900, 3600, 240);
    lblFilterMsg->setVisible(false);

    Data1 = new platform::DataControl(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    Table1 = new QTableView(client);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setWordWrap(false);
    Table1->setSelectionMode(QAbstractItemView::SingleSelection);
    Table1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table1->verticalHeader()->setVisible(false);
    setGeometryTwips(Table1, GridLeft, GridTop, DesignClientWidth - 390, DesignClientHeight - 3504 - 80);

    TextBackground = new QFrame(client);
    TextBackground->setObjectName(QStringLiteral("TextBackground"));
    TextBackground->setFrameShape(QFrame::Panel);
    TextBackground->setFrameShadow(QFrame::Sunken);
    txtName = new QPlainTextEdit(client);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setReadOnly(true);
    txtPhone = new QPlainTextEdit(client);
    txtPhone->setObjectName(QStringLiteral("txtPhone"));
    txtPhone->setReadOnly(true);
    setGeometryTwips(txtName, 315, 0, 5000, DetailHeight);
    setGeometryTwips(txtPhone, 5000, 0, 5000, DetailHeight);
    setGeometryTwips(TextBackground, GridLeft, 0, 10000, DetailHeight + 110);

    QPushButton *showSelected = addButton(
        QStringLiteral("cmdShowSelected"), QStringLiteral("Show Selected Records Only"),
        QStringLiteral("Shows only the records you have selected; i.e. those with an \"x\" next to them."),
        GridLeft, 0, 2600, 255);
    showSelected->setVisible(false);
    lblSelectedCount = new QLabel(client);
    lblSelectedCount->setObjectName(QStringLiteral("lblSelectedCount"));
    setGeometryTwips(lblSelectedCount, GridLeft + 150, 0, 2400, 240);

    addButton(QStringLiteral("cmdDelete"), QStringLiteral("&Delete"), QString(), 0, 0, RecordButtonWidth,
              RecordButtonHeight);
    addButton(QStringLiteral("cmdAdd"), QStringLiteral("&Add"), QString(), 0, 0, RecordButtonWidth,
              RecordButtonHeight);
    addButton(QStringLiteral("cmdEdit"), QStringLiteral("&View/Edit"), QString(), 0, 0, RecordButtonWidth,
              RecordButtonHeight);
    addButton(QStringLiteral("cmdExit"), QStringLiteral("E&xit"), QString(), 0, 0, RecordButtonWidth,
              RecordButtonHeight);

    lblNotice = new QLabel(client);
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    lblNotice->setAlignment(Qt::AlignCenter);
    setGeometryTwips(lblNotice, 0, 0, 7000, 240);

    // Measures the layout keeps; never shown.
    lblHeader = new QLabel(client);
    lblHeader->setObjectName(QStringLiteral("lblHeader"));
    setGeometryTwips(lblHeader, 0, 0, 100, 3504);
    lblHeader->setVisible(false);
    lblMargin = new QLabel(client);
    lblMargin->setObjectName(QStringLiteral("lblMargin"));
    setGeometryTwips(lblMargin, 0, 0, 390, 100);
    lblMargin->setVisible(false);

    QPalette look = client->palette();
    look.setColor(QPalette::Window, QColor(0x40, 0x80, 0x80)); // the design colour, &H808040
    look.setColor(QPalette::WindowText, Qt::white);
    client->setPalette(look);
}

void NameList::setAddAllowed(bool allowed)
{
    mAddAllowed = allowed;
    button(QStringLiteral("cmdAdd"))->setEnabled(allowed && hasHandler(QStringLiteral("cmdAdd")));
}

bool NameList::readSetting(const QString &query, QString &name, QString *setting1)
{
    gSql = query;
    std::unique_ptr<platform::Recordset> rs = gDb->openRecordset(gSql);
    if (rs->recordCount() <= 0)
        return false;
    rs->moveFirst();
    name = NullToString(rs->value(QStringLiteral("Name"))).toString();
    if (setting1)
        *setting1 = NullToString(rs->value(QStringLiteral("Setting1"))).toString();
    return true;
}

void NameList::Form_Load()
{
    if (installsMouseWheelHook(platform::programFolder())) {
        HookMouseWheel(this);
        mWheelHooked = true;
    }
    setWindowTitle(mainWindowCaption(gAppName, gDbPath, gDb && gDb->readOnly()));
    gFirstTime = true;
    gPageBreakPerLetter = false;
    gRecordSource.gListSource = ContactsTable;

    QString value;
    QString condition;
    // The start-up category: the category window stores its check box as 1; True and
    // -1 are understood too.
    mStartupCategoryShown = false;
    if (readSetting(CategoryStartupSettingsQuery, value) && settingIsTrue(value) &&
        readSetting(CategorySettingsQuery, value, &condition) && applyStartupCategory(condition)) {
        mStartupCategoryShown = true;
        setCategoryCaption(value);
    }

    gCodeMaxLength = codeMaxLength(readSetting(VersionSettingsQuery, value));
    gAssignCategoryOnAdd =
        readSetting(AssignCategoryOnAddSettingsQuery, value) ? assignCategoryOnAddFrom(value) : 0;
    gTemplateRecordID = readSetting(TemplateRecordIdSettingsQuery, value) ? QVariant(value) : QVariant(0);
    if (readSetting(BackColorSettingsQuery, value)) {
        if (const std::optional<qint32> colour = backColorFrom(value))
            mDisplay->setBackColorValue(*colour);
    }
    if (readSetting(TabletSettingsQuery, value) && settingIsTrue(value))
        gTabletMode = true;
    lblNotice->setText(noticeLabelCaption(gNoticeLine));

    Data1->setDatabase(gDb.get());
    Data1->setRecordSource(firstListRecordSource(gRecordSource));
    Data1->refresh();
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
    connectGridEvents();
    mLocateBox->connectEvents();
}

void NameList::fillSortBox()
{
    platform::Recordset *rs = Data1->recordset();
    if (!rs)
        return;
    QStringList names;
    for (int i = 0; i < rs->fieldCount(); ++i)
        names.append(rs->fieldInfo(i).name);
    cmbSort->addItems(sortBoxItems(names));
}

void NameList::rebuildDueReminders()
{
    RebuildDueReminders(*gDb);
    std::unique_ptr<platform::Recordset> due =
        gDb->openRecordset(QStringLiteral("tblCurrentReminders"), platform::RecordsetType::Table);
    const bool anyDue = due->recordCount() >= 1;
    due.reset();
    if (anyDue)
        dispatch(QStringLiteral("CurrentReminders"));
}

void NameList::firstActivation()
{
    fillSortBox();

    QString stored;
    const bool rowExists = readSetting(GridSortOrderQuery, stored);
    QStringList items;
    for (int i = 0; i < cmbSort->count(); ++i)
        items.append(cmbSort->itemText(i));
    const QString choice = restoredSortChoice(rowExists, stored, items);
    cmbSort->setCurrentIndex(cmbSort->findText(choice));
    cmbSort_Click();

    QString startup;
    if (readSetting(ReminderStartupSettingsQuery, startup)) {
        gReminderStartup = reminderStartupFrom(startup);
        if (gReminderStartup != 0)
            rebuildDueReminders();
    }

    if (mStartupCategoryShown) {
        // The category restored at start-up stays; only the selection view goes.
        mbGridClicked = false;
        refreshList(storeParts(removeSelectionsRecordSource(gRecordSource)));
    } else {
        ShowAllMenu_Click();
    }
    // The grid binds to the list it first shows: the lists opened on the way there are
    // never painted, so nobody counts their rows.
    bindGrid();
}

void NameList::Form_Activate()
{
    mbFirstGridClick = true;
    mbGridClicked = false;
    if (isFindResultCaption(lblCategory->text()))
        setAddAllowed(false);
    if (gFirstTime)
        firstActivation();
    lblFilterMsg->setVisible(!gRecordSource.gFilterClause.isEmpty());
    Table1->setFocus();
    if (gFirstTime || gRecordSaved) {
        gFirstTime = false;
        gRecordSaved = false;
        SendKeysInput(QStringLiteral("{right}"), true);
    }
}

void NameList::Form_KeyDown(int &keyCode, Qt::KeyboardModifiers shift)
{
    Q_UNUSED(shift);
    switch (mainWindowKey(classicKeyCode(keyCode))) {
    case MainWindowKey::Swallow:
        keyCode = 0;
        break;
    case MainWindowKey::SwallowAndEnablePasswordChange:
        keyCode = 0;
        menuItem(QStringLiteral("ChangePassword"))->setEnabled(true);
        break;
    case MainWindowKey::PassOn:
        break;
    }
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
    setMousePointer(MousePointer::Hourglass);
    if (mColumnLayout->columnsChanged())
        mColumnLayout->writeColumnLayout();
    ClosePreviewAtExit();
    // Marks live for one run of the main window; a database the password change could
    // not reopen has none to clear.
    if (gDb && gDb->isOpen() && !gDb->readOnly()) {
        try {
            gDb->execute(ClearSelectionMarksSql);
        } catch (const RuntimeError &) {
            // A database that refuses the update (held by another program) keeps its
            // marks; the window still closes.
        }
    }
    gSelectedCount = 0;
    setMousePointer(MousePointer::Default);
    Data1->clear();

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
    placeBesidePicturePanel();
}

void NameList::Form_Resize()
{
    if (mLayingOut)
        return;
    const int menuHeight = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, width(), menuHeight);
    client->setGeometry(0, menuHeight, width(), qMax(0, height() - menuHeight));

    MainWindowLayoutInput in;
    in.innerWidth = platform::pixelsToTwipsX(client->width());
    in.innerHeight = platform::pixelsToTwipsY(client->height());
    in.outerWidth = platform::windowWidthTwips(this);
    in.headerHeight = platform::pixelsToTwipsY(lblHeader->height());
    in.marginWidth = platform::pixelsToTwipsX(lblMargin->width());
    in.gridLeft = platform::pixelsToTwipsX(Table1->x());
    in.gridTop = platform::pixelsToTwipsY(Table1->y());
    in.gridHeight = platform::pixelsToTwipsY(Table1->height());
    in.filterMessageWidth = platform::pixelsToTwipsX(lblFilterMsg->width());
    in.sortBoxWidth = platform::pixelsToTwipsX(cmbSort->width());
    in.locateBoxLeft = platform::pixelsToTwipsX(txtLocate->x());
    in.locateBoxWidth = platform::pixelsToTwipsX(txtLocate->width());
    QPushButton *del = button(QStringLiteral("cmdDelete"));
    in.buttonWidth = platform::pixelsToTwipsX(del->width());
    in.buttonHeight = platform::pixelsToTwipsY(del->height());
    QPushButton *showSelected = button(QStringLiteral("cmdShowSelected"));
    in.showSelectedLeft = platform::pixelsToTwipsX(showSelected->x());
    in.noticeWidth = platform::pixelsToTwipsX(lblNotice->width());

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

    moveTo(lblFilterMsg, out.filterMessageLeft, platform::pixelsToTwipsY(lblFilterMsg->y()));
    Table1->setGeometry(Table1->x(), Table1->y(), px(out.gridWidth), py(out.gridHeight));
    txtName->setGeometry(txtName->x(), py(out.detailTop), px(out.detailWidth), txtName->height());
    txtPhone->setGeometry(px(out.phoneLeft), py(out.detailTop), px(out.detailWidth), txtPhone->height());
    TextBackground->setGeometry(TextBackground->x(), py(out.textBackgroundTop), px(out.textBackgroundWidth),
                                TextBackground->height());
    moveTo(lblSort, out.sortLeft, platform::pixelsToTwipsY(lblSort->y()));
    moveTo(cmbSort, out.sortLeft, platform::pixelsToTwipsY(cmbSort->y()));
    lblCategory->setGeometry(px(out.categoryLeft), lblCategory->y(), qMax(0, px(out.categoryWidth)),
                             lblCategory->height());
    moveTo(del, out.deleteLeft, out.buttonTop);
    moveTo(button(QStringLiteral("cmdAdd")), out.addLeft, out.buttonTop);
    moveTo(button(QStringLiteral("cmdEdit")), out.editLeft, out.buttonTop);
    moveTo(button(QStringLiteral("cmdExit")), out.exitLeft, out.buttonTop);
    moveTo(showSelected, platform::pixelsToTwipsX(showSelected->x()), out.showSelectedTop);
    moveTo(lblSelectedCount, out.selectedCountLeft, out.selectedCountTop);
    moveTo(lblNotice, out.noticeLeft, out.noticeTop);
}

void NameList::MouseWheel(int MouseKeys, int Rotation, int Xpos, int Ypos)
{
    ScrollGridByWheel(Table1, MouseKeys, Rotation, Xpos, Ypos);
}

void NameList::refreshList(const QString &recordSource)
{
    Data1->setRecordSource(recordSource);
    Data1->refresh();
}

void NameList::setCategoryCaption(const QString &caption)
{
    const bool changed = lblCategory->text() != caption;
    lblCategory->setText(caption);
    if (changed)
        lblCategory_Change();
}

void NameList::lblCategory_Change()
{
    setAddAllowed(!isFindResultCaption(lblCategory->text()));
}

void NameList::ShowAllMenu_Click()
{
    setMousePointer(MousePointer::Hourglass);
    mbGridClicked = false;
    gSql = CategorySettingsQuery;
    {
        std::unique_ptr<platform::Recordset> category = gDb->openRecordset(gSql);
        // A read-only database keeps its start-up category; the view changes all the same.
        if (category->recordCount() > 0 && !gDb->readOnly()) {
            category->moveFirst();
            category->deleteRecord();
        }
    }
    lblFilterMsg->setVisible(false);
    refreshList(storeParts(showAllRecordSource(gRecordSource)));
    setCategoryCaption(QString());
    if (gSelectedCount > 0)
        button(QStringLiteral("cmdShowSelected"))->setVisible(true);
    setAddAllowed(true);
    platform::Recordset *rs = Data1->recordset();
    if (rs && rs->recordCount() >= 1) {
        rs->moveLast();
        rs->moveFirst();
    }
    setMousePointer(MousePointer::Default);
}

void NameList::ShowSelectedOnlyMenu_Click()
{
    setMousePointer(MousePointer::Hourglass);
    refreshList(storeParts(showSelectedOnlyRecordSource(gRecordSource)));
    if (lblCategory->text().startsWith(FindResultCaptionPrefix + QLatin1Char(' ')))
        setCategoryCaption(QString());
    setAddAllowed(false);
    setMousePointer(MousePointer::Default);
}

void NameList::HideSelectedMenu_Click()
{
    setMousePointer(MousePointer::Hourglass);
    refreshList(storeParts(hideSelectedRecordSource(gRecordSource)));
    if (lblCategory->text().startsWith(FindResultCaptionPrefix + QLatin1Char(' ')))
        setCategoryCaption(QString());
    setMousePointer(MousePointer::Default);
}

void NameList::RemoveSelectionsMenu_Click()
{
    setMousePointer(MousePointer::Hourglass);
    gDb->execute(ClearSelectionMarksSql);
    gSelectedCount = 0;
    lblSelectedCount->setText(QString());
    refreshList(storeParts(removeSelectionsRecordSource(gRecordSource)));
    button(QStringLiteral("cmdShowSelected"))->setVisible(false);
    setAddAllowed(true);
    setMousePointer(MousePointer::Default);
}

void NameList::DisplayRecCntMenu_Click()
{
    setMousePointer(MousePointer::Hourglass);
    qint64 count = 0;
    {
        std::unique_ptr<platform::Recordset> rs = gDb->openRecordset(recordCountQuery(gRecordSource));
        if (rs->recordCount() > 0) {
            rs->moveFirst();
            count = rs->value(QStringLiteral("RowCount")).toLongLong();
        }
    }
    platform::Recordset *shown = Data1->recordset();
    const QString message = recordCountMessage(shown && shown->recordCount() > 0, count);
    setMousePointer(MousePointer::Default);
    platform::MsgBox(message, platform::vbOKOnly, RecordCountTitle);
}

void NameList::cmdShowAll_Click()
{
    ShowAllMenu_Click();
    Table1->setFocus();
}

void NameList::cmdShowSelected_Click()
{
    ShowSelectedOnlyMenu_Click();
    button(QStringLiteral("cmdShowSelected"))->setVisible(false);
    setAddAllowed(false);
    Table1->setFocus();
}

void NameList::storeSortChoice(const QString &choice)
{
    storeSettingsRow(*gDb, GridSortOrderType, choice);
}

void NameList::cmbSort_Click()
{
    setMousePointer(MousePointer::Hourglass);
    const QString choice = cmbSort->currentText();
    // The list is reopened below anyway; letting it go first spares the database from
    // fixing the membership of every row of it before the settings row is written.
    Data1->clear();
    storeSortChoice(choice);
    const SortChoice sort = applySortChoice(choice);
    if (gContactsTable) {
        try {
            gContactsTable->setIndex(sort.indexName);
        } catch (const RuntimeError &) {
            // A database without an index for the field: the locate box keeps to last names.
            gContactsTable->setIndex(QStringLiteral("LastName"));
        }
    }
    txtLocate->setFocus();
    mbGridClicked = false;
    refreshList(storeParts(sortedRecordSource(gRecordSource)));
    setMousePointer(MousePointer::Default);
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

void NameList::setRecordButtonsEnabled(bool enabled)
{
    for (const char *name : {"cmdDelete", "cmdAdd", "cmdEdit", "cmdExit"}) {
        const QString command = QString::fromLatin1(name);
        button(command)->setEnabled(enabled && hasHandler(command));
    }
}

DataControlLink::View NameList::listView()
{
    return {[this] { return lblCategory->text(); },
            [] { return gRecordSource.gSelectedClause.contains(QLatin1String("Selected =")); },
            [this] { return isFindResultCaption(lblCategory->text()); },
            [] { return categoryNumberOf(gRecordSource.gCategoryClause); }};
}

void NameList::cmdAdd_Click()
{
    gEditExistingRecord = false;
    setRecordButtonsEnabled(false);
    DataControlLink link(*Data1, listView());
    NameEdit::open(link, false, QStringLiteral("Add a New Record"));
    setRecordButtonsEnabled(true);
    setAddAllowed(true);
}

void NameList::cmdEdit_Click()
{
    const bool addWasAllowed = mAddAllowed;
    try {
        mbGridClicked = false;
        platform::Recordset *rs = Data1->recordset();
        if (!rs || rs->recordCount() < 1) {
            platform::MsgBox(
                QStringLiteral("There are no records displayed, so you can't View or Edit them.  Add "
                               "some records or change the Category or Selection Criteria to display "
                               "records first."),
                platform::vbInformation, QStringLiteral("No records to View or Edit"));
            return;
        }
        setMousePointer(MousePointer::Hourglass);
        gEditExistingRecord = true;
        setRecordButtonsEnabled(false);
        DataControlLink link(*Data1, listView());
        NameEdit::open(link, true, QStringLiteral("View/Edit an Existing Record"));
    } catch (const RuntimeError &error) {
        platform::MsgBox(error.description(), platform::vbOKOnly,
                         QStringLiteral("NameList - cmdEdit_click - Microsoft Error Message"));
        // The buttons and the pointer come back after a failure too.
        setMousePointer(MousePointer::Default);
    }
    setRecordButtonsEnabled(true);
    setAddAllowed(addWasAllowed);
    gEditExistingRecord = false;
}

void NameList::PreviewMode_Click()
{
    ::PreviewMode_Click(menuItem(QStringLiteral("PreviewMode")), menuItem(QStringLiteral("PrintMode")));
}

void NameList::PrintMode_Click()
{
    ::PrintMode_Click(menuItem(QStringLiteral("PreviewMode")), menuItem(QStringLiteral("PrintMode")));
}

void NameList::CondensedList_Click()
{
    DataControlRecords records(*Data1);
    ::CondensedList_Click(records, lblCategory->text(), gSelectedCount);
}

void NameList::Condensed1LineMenu_Click()
{
    DataControlRecords records(*Data1);
    ::Condensed1LineMenu_Click(records, lblCategory->text(), gSelectedCount);
}

void NameList::PhoneListMenu_Click()
{
    DataControlRecords records(*Data1);
    ::PhoneListMenu_Click(records, lblCategory->text(), gSelectedCount);
}

void NameList::DateReportMenu_Click()
{
    DataControlRecords records(*Data1);
    ::DateReportMenu_Click(records, lblCategory->text(), gSelectedCount);
}

void NameList::RemindersReportMenu_Click()
{
    ::RemindersReportMenu_Click(*gDb);
}

void NameList::ReportOptionsMenu_Click()
{
    platform::setMousePointer(platform::MousePointer::Hourglass);
    ReportOptionsForm::instance().showModal();
}

void NameList::FullSizeAddressBook_Click()
{
    DataControlRecords records(*Data1);
    ::FullSizeAddressBook_Click(
        records, {lblCategory->text(), gRecordSource.gOrderByClause, gPageBreakPerLetter}, gSelectedCount);
}

void NameList::HalfPageAddressBook_Click()
{
    DataControlRecords records(*Data1);
    ::HalfPageAddressBook_Click(
        records, {lblCategory->text(), gRecordSource.gOrderByClause, gPageBreakPerLetter}, gSelectedCount);
}

void NameList::HalfPageAddressBookLeftSide_Click()
{
    DataControlRecords records(*Data1);
    ::HalfPageAddressBookLeftSide_Click(
        records, {lblCategory->text(), gRecordSource.gOrderByClause, gPageBreakPerLetter}, gSelectedCount);
}

void NameList::PocketMenu_Click()
{
    DataControlRecords records(*Data1);
    ::PocketMenu_Click(*gDb, records, lblCategory->text(), gSelectedCount, mbPocketLastNameFirst);
}

void NameList::Labels3upMenu_Click()
{
    DataControlRecords records(*Data1);
    ::Labels3upMenu_Click(records, gSelectedCount);
}

void NameList::Labels1UpMenu1_Click()
{
    DataControlRecords records(*Data1);
    ::Labels1UpMenu1_Click(records, gSelectedCount);
}

void NameList::Labels1UpMenu2_Click()
{
    DataControlRecords records(*Data1);
    ::Labels1UpMenu2_Click(records, gSelectedCount);
}

void NameList::Labels2UpMenu_Click()
{
    DataControlRecords records(*Data1);
    ::Labels2UpMenu_Click(records, gSelectedCount);
}

void NameList::EnvelopeMenu_Click()
{
    FormEnvelope::open(std::make_unique<DataControlRecords>(*Data1), this);
}

void NameList::ReturnAddressMenu_Click()
{
    ReturnAddress::showFromMenu();
}
