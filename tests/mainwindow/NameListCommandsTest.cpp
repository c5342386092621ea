#include "MainWindowFixture.h"

#include "editor/GLOBAL.h"
#include "helpers/RecordSource.h"
#include "helpers/mCommon.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

class CommandsTest : public MainWindowFixture {
  protected:
    static QStringList itemNames(NameList &w)
    {
        QStringList names;
        for (const char *name : {"FileMenu", "EditMenu", "ReportsMenu", "OptionsMenu", "HelpMenu"})
            for (QAction *action : menu(w, name)->actions())
                if (!action->isSeparator())
                    names.append(action->objectName());
        return names;
    }
};

struct Item {
    const char *name;
    const char *caption;
    const char *shortcut;
};

} // namespace

TEST_F(CommandsTest, EveryMenuItemHasItsCaptionAndShortcutInMenuOrder)
{
    prepare(2);
    NameList &w = start();
    static const Item items[] = {
        {"OpenDatabase", "Open...", ""},
        {"ChangePrinter", "&Printer Setup...", "Ctrl+P"},
        {"Category", "&Choose a Category...", "Ctrl+Y"},
        {"SelectionCriteria", "&Specify Record Filter...", "Ctrl+S"},
        {"SelectColor", "Select &Background Color...", "Ctrl+B"},
        {"RestoreColor", "&Restore Original Color", ""},
        {"ImportFile", "&Import Address Book File...", ""},
        {"ChangePassword", "Change Password", "F5"},
        {"FileExit", "E&xit", "Shift+F4"},
        {"AddMenu", "&Add a New Record...", "Ctrl+A"},
        {"EditViewMenu", "&Edit/View Current Record", "Ctrl+E"},
        {"AssignCatgMenu", "Assign to &Categories...", "Ctrl+T"},
        {"AssignAllToCatg", "Assign Ma&ny Records to Category...", ""},
        {"RemoveAllFromCatg", "Remove Many Records from Category...", ""},
        {"GridEditMenu", "Allow &Grid Editing", "Ctrl+G"},
        {"FindEditMenu", "&Find Any Text...", "Ctrl+F"},
        {"ShowAllMenu", "Show ALL &Records", "Ctrl+R"},
        {"ShowSelectedOnlyMenu", "&Show Selected Records Only", "Ctrl+O"},
        {"HideSelectedMenu", "&Hide Selected Records", "Ctrl+H"},
        {"RemoveSelectionsMenu", "Remove Selection &Marks", "Ctrl+M"},
        {"CopyClipboard", "Copy Name/Address to Clipboard", "Ctrl+N"},
        {"DisplayRecCntMenu", "&Display Record Count", "Ctrl+D"},
        {"EnvelopeMenu", "Envelopes", ""},
        {"Labels3upMenu", "Labels 1\" x 2-5/8\" 3-up", ""},
        {"Labels1UpMenu1", "Labels 1-1/2\" x 4\" 1-up", ""},
        {"Labels1UpMenu2", "Labels 15/16\" x 3-1/2\" 1-up", ""},
        {"Labels2UpMenu", "Labels 1\" x 4\" 2-up", ""},
        {"FullSizeAddressBook", "Full-size Address Book", ""},
        {"HalfPageAddressBook", "5.5\" x 8.5\" Address Book (side by side)", ""},
        {"HalfPageAddressBookLeftSide", "5.5\" x 8.5\" Address Book (1/2 page)", ""},
        {"mnuPageBreakAlpha", "Page-break above reports alphabetically", ""},
        {"PocketMenu", "Pocket Address Book", ""},
        {"CondensedList", "Condensed List (2 lines per record)", ""},
        {"Condensed1LineMenu", "Condensed List (1 line per record)", ""},
        {"DateReportMenu", "Date Report", ""},
        {"RemindersReportMenu", "Date Reminders", ""},
        {"PhoneListMenu", "Phone List", ""},
        {"ExportVistaprint", "Export data to Vistaprint CSV file...", ""},
        {"Export", "Export data to CSV text file...", ""},
        {"ExportWithNotes", "Export data to CSV text file and include Notes...", ""},
        {"ExportEmail", "Export e-mail data to file...", ""},
        {"ExportReport1", "Export name/address list to file (label format)...", ""},
        {"ExportReport2", "Export name/address list to file (condensed)...", ""},
        {"PreviewMode", "Preview Reports", ""},
        {"PrintMode", "Print Reports", ""},
        {"ReportOptionsMenu", "&Report Options", ""},
        {"ReturnAddressMenu", "Return &Address", ""},
        {"TabletMode", "Set to Tablet Mode", ""},
        {"DesktopMode", "Set to Desktop Mode", ""},
        {"ScrollBarWidth", "Change Scroll Bar Width (System-wide change)", ""},
        {"ModemPortMenu", "&Modem Port", ""},
        {"HelpSystem", "&View Help File", ""},
        {"AboutBox", "&About", ""},
    };
    QStringList expectedOrder;
    for (const Item &item : items) {
        expectedOrder.append(item.name);
        QAction *action = w.menuItem(item.name);
        ASSERT_NE(action, nullptr) << item.name;
        EXPECT_EQ(action->text(), QString::fromUtf8(item.caption)) << item.name;
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(item.shortcut))) << item.name;
    }
    EXPECT_EQ(itemNames(w), expectedOrder);
    EXPECT_EQ(menu(w, "FileMenu")->title(), "&File");
    EXPECT_EQ(menu(w, "ReportsMenu")->title(), "&Reports");
    EXPECT_EQ(menu(w, "OptionsMenu")->title(), "&Options");
    // Within a menu an access key picks one item: two items of one letter would only move
    // the highlight between them.
    for (const char *name : {"FileMenu", "EditMenu", "ReportsMenu", "OptionsMenu", "HelpMenu"}) {
        QStringList keys;
        for (QAction *action : menu(w, name)->actions())
            if (const int at = action->text().indexOf('&'); at >= 0)
                keys.append(action->text().mid(at + 1, 1).toLower());
        EXPECT_EQ(QSet<QString>(keys.cbegin(), keys.cend()).size(), keys.size())
            << name << ": " << keys.join(' ').toStdString();
    }
}

TEST_F(CommandsTest, ButtonsCarryTheirCaptionsAndTooltips)
{
    prepare(2);
    NameList &w = start();
    static const Item buttons[] = {
        {"cmdAdd", "&Add", ""},
        {"cmdEdit", "&View/Edit", ""},
        {"cmdDelete", "&Delete", ""},
        {"cmdExit", "E&xit", ""},
        {"cmdExitSign", "", "Ends the program, without asking for confirmation."},
        {"cmdReports", "Reports", "Displays the Reports menu."},
        {"cmdNotes", "Notes", "Display and add notes"},
        {"cmdHelp", "Help", "Displays the Help file."},
        {"cmdDial", "Phone",
         "Displays a list of all phone numbers for this record, and allows you to dial any of them."},
        {"cmdShowSelected", "Show Selected Records Only",
         "Shows only the records you have selected; i.e. those with an \"x\" next to them."},
    };
    for (const Item &b : buttons) {
        QPushButton *button = w.button(b.name);
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->text(), QString::fromUtf8(b.caption)) << b.name;
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(b.shortcut)) << b.name;
    }
}

TEST_F(CommandsTest, ACommandIsEnabledExactlyWhenItLeadsSomewhere)
{
    prepare(3);
    NameList &w = start();
    for (const QString &name : itemNames(w)) {
        QAction *item = w.menuItem(name);
        if (name == "ChangePassword" || name == "TabletMode" || name == "DesktopMode")
            continue;
        EXPECT_EQ(item->isEnabled(), w.hasHandler(name)) << name.toStdString();
    }
    // The look decides between the two display modes; F5 opens the password change.
    EXPECT_TRUE(w.menuItem("TabletMode")->isEnabled());
    EXPECT_FALSE(w.menuItem("DesktopMode")->isEnabled());
    EXPECT_FALSE(w.menuItem("ChangePassword")->isEnabled());

    // What this window does itself is all there.
    for (const char *name : {"OpenDatabase", "ChangePrinter", "SelectColor", "RestoreColor", "FileExit",
                             "AddMenu", "EditViewMenu", "GridEditMenu", "ShowAllMenu", "ShowSelectedOnlyMenu",
                             "HideSelectedMenu", "RemoveSelectionsMenu", "DisplayRecCntMenu",
                             "mnuPageBreakAlpha", "ScrollBarWidth", "HelpSystem", "AboutBox"})
        EXPECT_TRUE(w.menuItem(name)->isEnabled()) << name;
    for (const char *name : {"cmdAdd", "cmdEdit", "cmdDelete", "cmdExit", "cmdExitSign", "cmdShowAll",
                             "cmdReports", "cmdNotes", "cmdHelp"})
        EXPECT_TRUE(w.button(name)->isEnabled()) << name;
    for (const char *name : {"cmdFind", "cmdFilter", "cmdCategory", "cmdAssignCatg", "cmdEnvelope",
                                "cmdClipboard", "cmdDial", "cmdRemind", "cmdPictures"})
        EXPECT_EQ(w.button(name)->isEnabled(), w.hasHandler(name)) << name;
}

TEST_F(CommandsTest, DeleteAsksWithTheContactsNameAndMovesOn)
{
    prepare(0);
    before("INSERT INTO tblContacts (FirstName, LastName, Selected) VALUES ('Ann', 'Lee', ' ')");
    before("INSERT INTO tblContacts (Organization, Selected) VALUES ('   Acme Quilts', ' ')");
    before("INSERT INTO tblContacts (FirstName, MiddleName, LastName, Organization, Selected) VALUES ('Bo', "
           "'B', "
           "'Moss', 'Guild', ' ')");
    NameList &w = start();
    // Acme (no last name) first, then Lee, then Moss.
    ASSERT_EQ(current(w, "Organization").toString(), "   Acme Quilts");

    script.answerMessage(platform::vbNo);
    w.button("cmdDelete")->click();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Are you sure you want to delete this record?\r(Acme Quilts)");
    EXPECT_EQ(script.shown()[0].title, "Confirmation");
    EXPECT_EQ(script.shown()[0].buttons, platform::vbYesNo);
    EXPECT_EQ(script.shown()[0].icon, platform::vbQuestion);
    EXPECT_EQ(count("Select Count(*) from tblContacts"), 3) << "No deletes nothing";
    EXPECT_TRUE(txtLocate(w)->hasFocus());

    Table1(w)->setCurrentIndex(Table1(w)->model()->index(1, 1));
    script.answerMessage(platform::vbYes);
    w.button("cmdDelete")->click();
    EXPECT_EQ(script.shown()[1].text, "Are you sure you want to delete this record?\r(Ann  Lee)");
    EXPECT_EQ(count("Select Count(*) from tblContacts Where LastName='Lee'"), 0);
    EXPECT_EQ(current(w, "LastName").toString(), "Moss") << "the row that followed";

    script.answerMessage(platform::vbYes);
    w.button("cmdDelete")->click();
    EXPECT_EQ(script.shown()[2].text, "Are you sure you want to delete this record?\r(Bo B Moss  Guild)");
    EXPECT_EQ(current(w, "Organization").toString(), "   Acme Quilts")
        << "the last row gone: the new last row";
    EXPECT_TRUE(txtLocate(w)->hasFocus());
}

// The main window and the editor ask about the same contact in the same words: blanks go
// at both ends, a tab stays, an empty part leaves its blank.
TEST_F(CommandsTest, MainWindowAndEditorAskTheSameDeleteQuestion)
{
    prepare(0);
    before("INSERT INTO tblContacts (FirstName, LastName, Organization, Selected) VALUES ('Ann\t', ' Lee ', "
           "'', ' ')");
    NameList &w = start();
    script.onModal("NameEdit", [this](QWidget *editor) {
        script.answerMessage(platform::vbNo);
        DialogScript::click(editor, "cmdDelete");
        DialogScript::click(editor, "cmdCancel");
    });
    w.button("cmdEdit")->click();
    script.answerMessage(platform::vbNo);
    w.button("cmdDelete")->click();
    const auto questions = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].text, "Are you sure you want to delete this record?\r(Ann\t   Lee)");
    EXPECT_EQ(questions[1].text, questions[0].text);
    EXPECT_EQ(count("Select Count(*) from tblContacts"), 1) << "No deletes nothing";
}

TEST_F(CommandsTest, DeleteOnAnEmptyListSaysSo)
{
    prepare(0);
    NameList &w = start();
    script.answerMessage(platform::vbOK);
    w.button("cmdDelete")->click();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "There are no records displayed, so there is nothing to delete.");
    EXPECT_EQ(script.shown()[0].title, "No records to delete");
    EXPECT_EQ(script.shown()[0].icon, platform::vbInformation);
}

TEST_F(CommandsTest, DeleteWithGridEditingOnStillDeletesTheCurrentRow)
{
    prepare(5);
    NameList &w = start();
    w.grid().GridEditMenu_Click();
    Table1(w)->setCurrentIndex(Table1(w)->model()->index(2, 1));
    const qint64 id = current(w, "RecordID").toLongLong();
    script.answerMessage(platform::vbYes);
    w.records().cmdDelete_Click();
    EXPECT_EQ(count(QStringLiteral("Select Count(*) from tblContacts Where RecordID = %1").arg(id)), 0);
    EXPECT_EQ(count("Select Count(*) from tblContacts"), 4);
}

TEST_F(CommandsTest, AFailedViewEditGivesTheButtonsAndPointerBack)
{
    prepare(4);
    NameList &w = start();
    // The contact goes behind the list's back: the editor cannot load it.
    gDb->execute(QStringLiteral("Delete from tblContacts Where RecordID = %1")
                     .arg(current(w, "RecordID").toLongLong()));
    script.answerMessage(platform::vbOK);
    w.button("cmdEdit")->click();
    // The editor reports the failure itself; whichever window tells it, the list's
    // buttons and pointer come back.
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_TRUE(script.shown()[0].text.contains("3167")) << script.shown()[0].text.toStdString();
    for (const char *name : {"cmdAdd", "cmdEdit", "cmdDelete", "cmdExit"})
        EXPECT_TRUE(w.button(name)->isEnabled()) << name;
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
    EXPECT_FALSE(gEditor.gEditExistingRecord);
}

TEST_F(CommandsTest, GridEditingTogglesBetweenTheTwoCaptions)
{
    prepare(2);
    NameList &w = start();
    QAction *item = w.menuItem("GridEditMenu");
    EXPECT_FALSE(w.grid().gridAllowUpdate());
    item->trigger();
    EXPECT_EQ(item->text(), "Disable &Grid Editing");
    EXPECT_TRUE(w.grid().gridAllowUpdate());
    EXPECT_TRUE(Table1(w)->model()->flags(Table1(w)->model()->index(0, 1)) & Qt::ItemIsEditable);
    item->trigger();
    EXPECT_EQ(item->text(), "Allow &Grid Editing");
    EXPECT_FALSE(w.grid().gridAllowUpdate());
    EXPECT_FALSE(Table1(w)->model()->flags(Table1(w)->model()->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_EQ(Table1(w)->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(CommandsTest, ReportsButtonAndPageBreakDropTheReportsMenuDown)
{
    prepare(2);
    NameList &w = start();
    w.button("cmdReports")->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(menu(w, "ReportsMenu")->isVisible());
    menu(w, "ReportsMenu")->close();

    QAction *pageBreak = w.menuItem("mnuPageBreakAlpha");
    EXPECT_FALSE(gMainWindow.gPageBreakPerLetter);
    pageBreak->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(gMainWindow.gPageBreakPerLetter);
    EXPECT_TRUE(pageBreak->isChecked());
    EXPECT_TRUE(menu(w, "ReportsMenu")->isVisible());
    menu(w, "ReportsMenu")->close();
    pageBreak->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(gMainWindow.gPageBreakPerLetter);
    EXPECT_FALSE(pageBreak->isChecked());
    EXPECT_TRUE(menu(w, "ReportsMenu")->isVisible());
    menu(w, "ReportsMenu")->close();
}

TEST_F(CommandsTest, HelpOpensThePageNamedAfterTheProgramThroughTheShell)
{
    prepare(1);
    NameList &w = start();
    const QString page = program.folder().filePath("Quiltern.htm");
    QFile(page).open(QIODevice::WriteOnly);
    w.menuItem("HelpSystem")->trigger();
    w.button("cmdHelp")->click();
    ASSERT_EQ(script.shellCalls().size(), 2u);
    for (const platform::DialogRequest &call : script.shellCalls()) {
        EXPECT_EQ(call.kind, platform::DialogKind::OpenDocument);
        EXPECT_EQ(call.text, page);
    }
}

TEST_F(CommandsTest, NotesAndAboutOpenTheirWindowsModally)
{
    prepare(1);
    NameList &w = start();
    // A database without notes asks for the first note's title.
    script.answerInput("Shopping");
    script.onModal("MemoForm", [](QWidget *memo) { DialogScript::click(memo, "cmdExit"); });
    w.button("cmdNotes")->click();
    script.onModal("About", [](QWidget *about) { DialogScript::click(about, "Command1"); });
    w.menuItem("AboutBox")->trigger();
    const auto forms = script.shown(platform::DialogKind::ModalForm);
    ASSERT_EQ(forms.size(), 2u);
    EXPECT_EQ(forms[0].objectName, "MemoForm");
    EXPECT_EQ(forms[1].objectName, "About");
}

TEST_F(CommandsTest, OpenDatabaseSwitchesToAnotherFileAndBack)
{
    prepare(6);
    const QString first = path;
    const QString second = program.folder().filePath("Other.mdb");
    platform::createDatabaseFromSchema(second);
    {
        auto db = platform::Database::open(second);
        ContactGenerator::insert(*db, 3, 5);
    }
    before("INSERT INTO tblSettings (Type, Name, Setting1) VALUES ('CATEGORY', 'Guild', ' CategoryNumber = 4 "
           "')");
    NameList &w = start();
    gDb->execute("Update tblContacts Set Selected='x' Where RecordID <= 2");

    // Cancel changes nothing.
    script.cancelFile();
    w.menuItem("OpenDatabase")->trigger();
    EXPECT_EQ(StartedProgram::window(), &w);
    EXPECT_EQ(gDbPath, first);

    script.answerOpenFile(second);
    w.menuItem("OpenDatabase")->trigger();
    QCoreApplication::processEvents();
    const platform::DialogRequest &dialog = script.shown(platform::DialogKind::OpenFile).back();
    EXPECT_EQ(dialog.title, "Open database file");
    EXPECT_EQ(dialog.filter, "Database files (*.mdb)|*.mdb|All Files (*.*)|*.*");
    EXPECT_EQ(dialog.filterIndex, 1);
    NameList *other = StartedProgram::window();
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, &w);
    EXPECT_EQ(gDbPath, second);
    EXPECT_EQ(Data1(*other)->recordset()->recordCount(), 3);
    EXPECT_TRUE(other->windowTitle().endsWith(second));
    {
        auto old = platform::Database::open(first);
        EXPECT_EQ(old->openRecordset("Select Count(*) from tblContacts Where Selected='x'")->value(0).toInt(),
                  0)
            << "the old file's marks were cleared";
        EXPECT_EQ(
            old->openRecordset("Select Count(*) from tblSettings Where Type='CATEGORY'")->value(0).toInt(), 0)
            << "Show ALL ran on the old file";
    }

    script.answerOpenFile(first);
    other->menuItem("OpenDatabase")->trigger();
    QCoreApplication::processEvents();
    ASSERT_NE(StartedProgram::window(), nullptr);
    EXPECT_EQ(gDbPath, first);
    EXPECT_EQ(Data1(*StartedProgram::window())->recordset()->recordCount(), 6);
    EXPECT_EQ(gRecordSource.gListSource, "tblContacts");
}

TEST_F(CommandsTest, DeletingTheOnlyContactFoundEndsQuietlyOnTheEmptyList)
{
    prepare(0);
    before("INSERT INTO tblContacts (FirstName, LastName, Selected) VALUES ('Ann', 'Lee', ' ')");
    before("INSERT INTO tblContacts (FirstName, LastName, Selected) VALUES ('Bo', 'Moss', ' ')");
    NameList &w = start();
    script.answerInput("Moss");
    w.button("cmdFind")->click();
    ASSERT_EQ(shown(w).recordCount(), 1);

    script.answerMessage(platform::vbYes);
    w.button("cmdDelete")->click();
    ASSERT_EQ(script.shown(platform::DialogKind::Message).size(), 1u) << "the question, and nothing after it";
    EXPECT_EQ(count("Select Count(*) from tblContacts Where LastName='Moss'"), 0);
    EXPECT_EQ(count("Select Count(*) from tblContacts"), 1);
    EXPECT_EQ(shown(w).recordCount(), 0);
    EXPECT_EQ(txtName(w)->toPlainText(), "Record Deleted!");
    EXPECT_TRUE(txtLocate(w)->hasFocus());
}

// A menu opened with Alt and its letter picks an item by its letter with Alt still down,
// as it does once Alt is let go; the keys come through the window system, as a user's do.
TEST_F(CommandsTest, AnOpenMenuPicksItsItemByLetterWithAltStillDown)
{
    prepare(2);
    NameList &w = start();
    script.backOutOfTheRest();
    const auto type = [](QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        const QString text = QKeySequence(key).toString().toLower();
        for (const bool press : {true, false})
            QTest::simulateEvent(window->windowHandle(), press, key, modifiers, text, false);
    };
    for (const bool altHeld : {true, false}) {
        const std::size_t before = script.shown().size();
        for (const auto &[menuKey, itemKey] : {std::pair{Qt::Key_F, Qt::Key_C}, {Qt::Key_E, Qt::Key_D}}) {
            QApplication::setActiveWindow(&w);
            QTest::simulateEvent(w.windowHandle(), true, Qt::Key_Alt, {}, {}, false);
            type(&w, menuKey, Qt::AltModifier);
            auto *open = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            ASSERT_NE(open, nullptr);
            if (!altHeld)
                QTest::simulateEvent(open->windowHandle(), false, Qt::Key_Alt, Qt::AltModifier, {}, false);
            type(open, itemKey, altHeld ? Qt::AltModifier : Qt::NoModifier);
            if (altHeld)
                QTest::simulateEvent(open->windowHandle(), false, Qt::Key_Alt, Qt::AltModifier, {}, false);
            QCoreApplication::processEvents();
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        }
        const auto &shown = script.shown();
        ASSERT_EQ(shown.size(), before + 2) << altHeld;
        EXPECT_EQ(shown[before].objectName, "CategoryForm");
        EXPECT_EQ(shown[before + 1].title, "Record Count");
    }
}
