#include "mainwindow/MainMenus.h"

#include "mainwindow/NameList.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

QAction *MainMenus::addItem(QMenu *menu, const QString &name, const QString &caption,
                            const QKeySequence &shortcut)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(name);
    if (!shortcut.isEmpty()) {
        item->setShortcut(shortcut);
        item->setShortcutContext(Qt::WindowShortcut);
    }
    item->setEnabled(mWindow.hasHandler(name));
    QObject::connect(item, &QAction::triggered, &mWindow, [this, name] { mWindow.dispatch(name); });
    mItems.insert(name, item);
    return item;
}

MainMenus::MainMenus(NameList &window) : mWindow(window)
{
    menuBar = new QMenuBar(&window);
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
    item(QStringLiteral("ChangePassword"))->setEnabled(false);
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
            QStringLiteral("Assign Ma&ny Records to Category..."));
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

QAction *MainMenus::item(const QString &name) const
{
    return mItems.value(name);
}
