// The program used as a person uses it: started by the start routine on a database of
// generated contacts, driven through the main window's buttons and menus and the windows
// they open, checked by what the windows show and what the database holds afterwards.
#include "mainwindow/NameList.h"
#include "support/MainWindowControls.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ProgramFolder.h"
#include "printing/FormEnvelope.h"
#include "printing/frmPreview.h"
#include "start/modMain.h"
#include "support/ContactGenerator.h"
#include "support/DialogScript.h"
#include "support/PrintedPages.h"
#include "support/StartedProgram.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class WholeProgramTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        path = program.folder().filePath("Quiltern.mdb");
        platform::createDatabaseFromSchema(path);
        auto db = platform::Database::open(path);
        ContactGenerator::insert(*db, 30, 7);
    }

    NameList &start()
    {
        program.setCommandLine(path);
        EXPECT_TRUE(program.start());
        NameList *w = StartedProgram::window();
        EXPECT_NE(w, nullptr);
        return *w;
    }

    static void run(NameList &w, const QString &command)
    {
        QAction *item = w.menuItem(command);
        if (item) {
            ASSERT_TRUE(item->isEnabled()) << qPrintable(command);
            item->trigger();
        } else {
            QPushButton *b = w.button(command);
            ASSERT_NE(b, nullptr) << qPrintable(command);
            ASSERT_TRUE(b->isEnabled()) << qPrintable(command);
            b->click();
        }
    }

    // The texts of one grid column, top to bottom.
    static QStringList column(NameList &w, const QString &caption)
    {
        QAbstractItemModel *model = Table1(w)->model();
        int c = 0;
        while (c < model->columnCount() && model->headerData(c, Qt::Horizontal).toString() != caption)
            ++c;
        QStringList texts;
        for (int r = 0; r < model->rowCount(); ++r)
            texts.append(model->index(r, c).data().toString());
        return texts;
    }

    // The text of one grid column in the current row.
    static QString current(NameList &w, const QString &caption)
    {
        const int row = Table1(w)->currentIndex().row();
        return row < 0 ? QString() : column(w, caption).value(row);
    }

    static QString text(QWidget *root, const char *name)
    {
        auto *box = root->findChild<QLineEdit *>(QString::fromLatin1(name));
        EXPECT_NE(box, nullptr) << name;
        return box ? box->text() : QString();
    }

    qint64 count(const QString &sql)
    {
        auto rs = gDb->openRecordset(sql);
        return rs->value(0).toLongLong();
    }

    StartedProgram program;
    DialogScript script;
    QString path;
};

} // namespace

TEST_F(WholeProgramTest, MainWindowOpensWithEveryToolbarButtonInView)
{
    NameList &w = start();
    const QRect client = w.rect();
    for (const char *name : {"cmdFind", "cmdNotes", "cmdPictures", "cmdHelp", "cmdShowAll", "cmdExitSign"}) {
        QPushButton *b = w.button(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        const QRect inWindow(b->mapTo(&w, QPoint(0, 0)), b->size());
        EXPECT_TRUE(client.contains(inWindow)) << name << " is cut off by the window's right edge";
    }
}

TEST_F(WholeProgramTest, GeneratedContactsShowTheirNamesInTheGrid)
{
    NameList &w = start();
    const QStringList lastNames = column(w, "Last Name");
    ASSERT_EQ(lastNames.size(), 30);
    EXPECT_GT(lastNames.count(QString()), 0) << "organisations have no last name";
    EXPECT_LT(lastNames.count(QString()), 10) << "people have one";
    EXPECT_EQ(lastNames.last(), lastNames.last().trimmed());
}

// Add, change and delete one contact through the editor, as a user does from the main
// window, and see each step in the grid and in the file.
TEST_F(WholeProgramTest, ContactIsAddedChangedAndDeletedThroughTheEditor)
{
    NameList &w = start();
    script.onModal("NameEdit", [](QWidget *e) {
        EXPECT_EQ(e->windowTitle(), "Add a New Record");
        DialogScript::setText(e, "txtFirstName", "Ann");
        DialogScript::setText(e, "txtLastName", "Aardvark");
        DialogScript::setText(e, "txtDate1", "2/29/2024");
        DialogScript::setText(e, "txtFirst_City", "Bath");
        DialogScript::click(e, "cmdSave");
    });
    run(w, "cmdAdd");
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(Table1(w)->model()->rowCount(), 31);
    EXPECT_EQ(current(w, "Last Name"), "Aardvark") << "the grid stands on the new contact";
    EXPECT_EQ(count("Select Count(*) from tblContacts Where LastName='Aardvark' And Date1=#2/29/2024# "
                    "And First_City='Bath'"),
              1);
    EXPECT_TRUE(w.button("cmdAdd")->isEnabled());
    EXPECT_TRUE(w.button("cmdExit")->isEnabled());

    script.onModal("NameEdit", [](QWidget *e) {
        EXPECT_EQ(e->windowTitle(), "View/Edit an Existing Record");
        EXPECT_EQ(text(e, "txtLastName"), "Aardvark");
        EXPECT_EQ(text(e, "txtDate1"), "2/29/2024");
        DialogScript::setText(e, "txtFirst_City", "Wells");
        DialogScript::click(e, "cmdSave");
    });
    run(w, "cmdEdit");
    EXPECT_EQ(current(w, "Last Name"), "Aardvark");
    EXPECT_EQ(count("Select Count(*) from tblContacts Where LastName='Aardvark' And First_City='Wells'"), 1);

    script.onModal("NameEdit", [](QWidget *e) {
        DialogScript::click(e, "cmdDelete");
        EXPECT_NE(text(e, "txtLastName"), "Aardvark") << "the editor moves on to the next contact";
        DialogScript::click(e, "cmdCancel");
    });
    script.answerMessage(platform::vbYes);
    run(w, "cmdEdit");
    EXPECT_EQ(script.shown(platform::DialogKind::Message).back().text,
              "Are you sure you want to delete this record?\r(Ann  Aardvark)");
    EXPECT_EQ(count("Select Count(*) from tblContacts Where LastName='Aardvark'"), 0);
    EXPECT_EQ(Table1(w)->model()->rowCount(), 30);
}

TEST_F(WholeProgramTest, NextAndPreviousWalkTheListInTheGridsOrder)
{
    NameList &w = start();
    const QStringList lastNames = column(w, "Last Name");
    const QStringList firstNames = column(w, "First Name");
    const int row = Table1(w)->currentIndex().row();
    ASSERT_GE(row, 0);
    script.onModal("NameEdit", [&](QWidget *e) {
        EXPECT_EQ(text(e, "txtLastName"), lastNames[row]);
        DialogScript::click(e, "cmdNext");
        EXPECT_EQ(text(e, "txtLastName"), lastNames[row + 1]);
        EXPECT_EQ(text(e, "txtFirstName"), firstNames[row + 1]);
        DialogScript::click(e, "cmdNext");
        DialogScript::click(e, "cmdPrev");
        EXPECT_EQ(text(e, "txtFirstName"), firstNames[row + 1]);
        DialogScript::click(e, "cmdCancel");
    });
    run(w, "cmdEdit");
    EXPECT_EQ(script.pending(), 0u);
}

// A template record prefills every new contact but its name.
TEST_F(WholeProgramTest, TemplateRecordPrefillsNewContacts)
{
    NameList &w = start();
    script.onModal("NameEdit", [&](QWidget *e) {
        DialogScript::setText(e, "txtFirst_City", "Templeton");
        DialogScript::click(e, "cmdSave");
    });
    run(w, "cmdEdit");
    script.onModal("NameEdit", [&](QWidget *e) {
        DialogScript::click(e, "cmdMakeDefault");
        DialogScript::click(e, "cmdCancel");
    });
    script.answerMessage(platform::vbOK);
    run(w, "cmdEdit");
    EXPECT_EQ(script.shown(platform::DialogKind::Message).back().title, "Template Saved");
    script.onModal("NameEdit", [&](QWidget *e) {
        EXPECT_EQ(text(e, "txtFirst_City"), "Templeton");
        EXPECT_EQ(text(e, "txtLastName"), "");
        DialogScript::setText(e, "txtLastName", "Newcomer");
        DialogScript::click(e, "cmdSave");
    });
    run(w, "cmdAdd");
    EXPECT_EQ(current(w, "Last Name"), "Newcomer");
    EXPECT_EQ(count("Select Count(*) from tblContacts Where First_City='Templeton'"), 2);
}

// The selection views and the record count, one after the other, as the Edit menu offers them.
TEST_F(WholeProgramTest, SelectionViewsAndTheRecordCount)
{
    {
        auto db = platform::Database::open(path);
        db->execute("Update tblContacts Set Selected=' '");
        db->execute("Update tblContacts Set Selected='x' Where RecordID <= 4");
    }
    NameList &w = start();
    run(w, "ShowSelectedOnlyMenu");
    EXPECT_EQ(Table1(w)->model()->rowCount(), 4);
    EXPECT_FALSE(w.button("cmdAdd")->isEnabled());
    script.answerMessage(platform::vbOK);
    run(w, "DisplayRecCntMenu");
    EXPECT_EQ(script.shown().back().text, "There are 4 records displayed in the current list.");
    EXPECT_EQ(script.shown().back().title, "Record Count");
    run(w, "HideSelectedMenu");
    EXPECT_EQ(Table1(w)->model()->rowCount(), 26);
    run(w, "ShowAllMenu");
    EXPECT_EQ(Table1(w)->model()->rowCount(), 30);
    EXPECT_TRUE(w.button("cmdAdd")->isEnabled());
}

// Preview Reports, then both condensed lists in the preview window: pages, zoom, and a
// print that, with no printer, saves the document as a PDF file.
TEST_F(WholeProgramTest, CondensedListsInThePreviewWindow)
{
    NameList &w = start();
    run(w, "PreviewMode");
    script.answerMessage(platform::vbOK);
    run(w, "CondensedList");
    frmPreview *preview = frmPreview::existing();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->windowTitle(), "Print Preview");
    platform::PrintSurface &vp = preview->surface();
    EXPECT_GE(vp.pageCount(), 1);
    const double zoom = vp.zoom();
    preview->cmdZoomIn->click();
    EXPECT_GT(vp.zoom(), zoom);
    for (QPushButton *b : preview->findChildren<QPushButton *>()) {
        const int captionWidth = b->fontMetrics().horizontalAdvance(QString(b->text()).remove('&'));
        EXPECT_GE(b->width(), captionWidth + 12) << qPrintable(b->text()) << " is cut off";
    }
    preview->cmdClose->click();
    EXPECT_FALSE(preview->isVisible());

    script.answerMessage(platform::vbOK);
    run(w, "Condensed1LineMenu");
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(vp.pageCount(), 1) << "thirty contacts on one line each fit one page";
    const QString pdf = program.folder().filePath("list.pdf");
    script.answerPrint().answerSaveFile(pdf);
    preview->cmdPrint->click();
    EXPECT_TRUE(QFile::exists(pdf));
    preview->cmdClose->click();
}

// Exit clears every selection mark and keeps the grid's changed column layout.
TEST_F(WholeProgramTest, ExitClearsMarksAndKeepsTheColumnLayout)
{
    NameList &w = start();
    const int width = Table1(w)->horizontalHeader()->sectionSize(1) + 40;
    Table1(w)->horizontalHeader()->resizeSection(1, width);
    run(w, "cmdExit");
    EXPECT_EQ(StartedProgram::window(), nullptr);
    const QString layout = platform::programFolder() + "/qncolumn.dat";
    ASSERT_TRUE(QFile::exists(layout));
    auto db = platform::Database::open(path);
    auto rs = db->openRecordset("Select Count(*) from tblContacts Where Selected='x'");
    EXPECT_EQ(rs->value(0).toLongLong(), 0);

    NameList &again = start();
    EXPECT_NEAR(Table1(again)->horizontalHeader()->sectionSize(1), width, 1);
}

// Exit closes the database while the program still runs, so the windows kept for their
// next showing let go of its lists while there is an application to redraw them.
TEST_F(WholeProgramTest, ExitClosesTheDatabaseWhileKeptWindowsStillLive)
{
    NameList &w = start();
    gDb->execute("Insert Into tblCategoryDesc (CategoryDesc) Values ('Friends')");
    QTableView *kept = nullptr;
    script.onModal("CategoryAssign", [&](QWidget *form) {
        kept = form->findChild<QTableView *>("CatgGrid");
        DialogScript::click(form, "cmdExit");
    });
    run(w, "cmdAssignCatg");
    ASSERT_NE(kept, nullptr);
    ASSERT_EQ(kept->model()->rowCount(), 1);

    run(w, "cmdExit");
    QCoreApplication::processEvents();
    EXPECT_EQ(StartedProgram::window(), nullptr);
    EXPECT_EQ(gDb, nullptr);
    EXPECT_EQ(kept->model()->rowCount(), 0);
}

// F5, Change Password, and the program carries on in the new main window on the now
// protected file: the editor saves into it.
TEST_F(WholeProgramTest, AfterAPasswordChangeTheNewMainWindowWorksOnTheProtectedFile)
{
    NameList &w = start();
    EXPECT_FALSE(w.menuItem("ChangePassword")->isEnabled());
    QTest::keyClick(&w, Qt::Key_F5);
    script.answerInput("none").answerInput("quilt").answerInput("quilt");
    script.answerMessage(platform::vbOK);
    script.answerInput("wrong").answerInput("quilt");
    run(w, "ChangePassword");
    NameList *again = StartedProgram::window();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(gDb->hasPassword());
    EXPECT_EQ(Table1(*again)->model()->rowCount(), 30);

    script.onModal("NameEdit", [](QWidget *e) {
        DialogScript::setText(e, "txtLastName", "Locked");
        DialogScript::click(e, "cmdSave");
    });
    run(*again, "cmdAdd");
    EXPECT_EQ(current(*again, "Last Name"), "Locked");
    EXPECT_EQ(count("Select Count(*) from tblContacts Where LastName='Locked'"), 1);
}

// Add New saves the contact on screen and starts the next one; the grid ends on the last.
TEST_F(WholeProgramTest, AddNewSavesAndStartsTheNextContact)
{
    NameList &w = start();
    script.onModal("NameEdit", [](QWidget *e) {
        DialogScript::setText(e, "txtLastName", "Firstcomer");
        DialogScript::click(e, "cmdAddNew");
        EXPECT_EQ(e->windowTitle(), "Add a New Record");
        EXPECT_EQ(text(e, "txtLastName"), "");
        DialogScript::setText(e, "txtLastName", "Secondcomer");
        DialogScript::click(e, "cmdSave");
    });
    run(w, "cmdAdd");
    EXPECT_EQ(count("Select Count(*) from tblContacts Where LastName In ('Firstcomer', 'Secondcomer')"), 2);
    EXPECT_EQ(Table1(w)->model()->rowCount(), 32);
    EXPECT_EQ(current(w, "Last Name"), "Secondcomer");
}

// Cancel after a change asks before the change is lost; No keeps the editor open.
TEST_F(WholeProgramTest, CancelAfterAChangeAsksFirst)
{
    NameList &w = start();
    const QString before = current(w, "Last Name");
    script.onModal("NameEdit", [](QWidget *e) {
        DialogScript::setText(e, "txtLastName", "Changed");
        DialogScript::click(e, "cmdCancel");
        EXPECT_TRUE(e->isVisible()) << "No keeps the editor";
        DialogScript::click(e, "cmdCancel");
    });
    script.answerMessage(platform::vbNo).answerMessage(platform::vbYes);
    run(w, "cmdEdit");
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(count("Select Count(*) from tblContacts Where LastName='Changed'"), 0);
    EXPECT_EQ(current(w, "Last Name"), before);
}

// A double-click on the editor's notes opens the large notes window; what is typed there
// comes back to the editor and is saved with the contact.
TEST_F(WholeProgramTest, NotesWrittenInTheLargeNotesWindowAreSavedWithTheContact)
{
    NameList &w = start();
    script.onModal("NameEdit", [&](QWidget *e) {
        DialogScript::setText(e, "txtLastName", "Noteworthy");
        auto *notes = e->findChild<QPlainTextEdit *>("txtNotes");
        ASSERT_NE(notes, nullptr);
        QTest::mouseDClick(notes->viewport(), Qt::LeftButton);
        EXPECT_EQ(notes->toPlainText(), "Prefers batik.\nCall on Sundays.");
        DialogScript::click(e, "cmdSave");
    });
    script.onModal("NotesForm", [](QWidget *n) {
        auto *big = n->findChild<QPlainTextEdit *>("txtNotes");
        ASSERT_NE(big, nullptr);
        big->setPlainText("Prefers batik.\nCall on Sundays.");
        DialogScript::click(n, "cmdExit");
    });
    run(w, "cmdAdd");
    EXPECT_EQ(script.pending(), 0u);
    auto rs = gDb->openRecordset("Select Notes from tblContacts Where LastName='Noteworthy'");
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->value("Notes").toString(), "Prefers batik.\r\nCall on Sundays.");
}

// In print mode with no printer the document is offered as a PDF file; cancelling that
// dialog prints nothing and tells nothing, and the grid is back on its row.
TEST_F(WholeProgramTest, PrintModeWithoutAPrinterSavesAPdfOrNothing)
{
    NameList &w = start();
    const int row = Table1(w)->currentIndex().row();
    script.answerMessage(platform::vbOK).cancelFile();
    run(w, "CondensedList");
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(script.shown(platform::DialogKind::Message).size(), 1u) << "only the confirmation";
    EXPECT_EQ(Table1(w)->currentIndex().row(), row);

    const QString pdf = program.folder().filePath("printed.pdf");
    script.answerMessage(platform::vbOK).answerSaveFile(pdf);
    run(w, "Condensed1LineMenu");
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(Table1(w)->currentIndex().row(), row);
    const frmPreview *preview = frmPreview::existing();
    EXPECT_TRUE(preview == nullptr || !preview->isVisible()) << "print mode shows no preview";
}

// The three address books from the Reports menu: each previewed, then printed, which
// with no printer saves PDF files; the pocket book as its two sides, with the message
// to turn the paper over between them.
TEST_F(WholeProgramTest, AddressBooksFromTheReportsMenu)
{
    NameList &w = start();
    const int row = Table1(w)->currentIndex().row();
    run(w, "PreviewMode");
    struct Book {
        const char *command;
        const char *document;
        int orientation;
    } books[] = {{"FullSizeAddressBook", "Full-size Address Book", 0},
                 {"HalfPageAddressBook", "5-1/2 x 8-1/2 Address Book", 1},
                 {"HalfPageAddressBookLeftSide", "5-1/2 x 8-1/2 Address Book", 1},
                 {"PocketMenu", "Pocket Report - side 1", 0}};
    for (const Book &book : books) {
        SCOPED_TRACE(book.command);
        script.answerMessage(platform::vbOK);
        run(w, book.command);
        frmPreview *preview = frmPreview::existing();
        ASSERT_NE(preview, nullptr);
        EXPECT_TRUE(preview->isVisible());
        const platform::PrintDocument &doc = preview->surface().document();
        EXPECT_EQ(doc.name, book.document);
        EXPECT_EQ(doc.orientation, book.orientation);
        EXPECT_GE(doc.pageCount(), book.command == QLatin1String("PocketMenu") ? 2 : 1);
        EXPECT_EQ(preview->cmdPrint->isVisible(), book.command != QLatin1String("PocketMenu"))
            << "side 1 of the pocket book is printed only with its side 2";
        EXPECT_EQ(Table1(w)->currentIndex().row(), row);
        preview->cmdClose->click();
    }

    run(w, "PrintMode");
    const QString full = program.folder().filePath("full.pdf");
    const QString half = program.folder().filePath("half.pdf");
    const QString side1 = program.folder().filePath("side1.pdf");
    const QString side2 = program.folder().filePath("side2.pdf");
    script.answerMessage(platform::vbOK).answerSaveFile(full);
    run(w, "FullSizeAddressBook");
    script.answerMessage(platform::vbOK).answerSaveFile(half);
    run(w, "HalfPageAddressBook");
    script.answerMessage(platform::vbOK).answerSaveFile(side1).answerMessage(platform::vbOK).answerSaveFile(side2);
    run(w, "PocketMenu");
    EXPECT_EQ(script.pending(), 0u);
    for (const QString &pdf : {full, half, side1, side2})
        EXPECT_GT(QFileInfo(pdf).size(), 1000) << qPrintable(pdf);
    const auto messages = script.shown(platform::DialogKind::Message);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().title, "Halfway done");
    EXPECT_EQ(Table1(w)->currentIndex().row(), row);
}

// The print or preview switch starts in print mode with every main window, also the one
// shown again after a password change, and the surface follows the menu.
TEST_F(WholeProgramTest, NewMainWindowAfterAPasswordChangeStartsInPrintMode)
{
    NameList &w = start();
    run(w, "PreviewMode");
    EXPECT_TRUE(w.menuItem("PreviewMode")->isChecked());
    QTest::keyClick(&w, Qt::Key_F5);
    script.answerInput("none").answerInput("pw").answerInput("pw");
    script.answerMessage(platform::vbOK);
    script.answerInput("pw");
    run(w, "ChangePassword");
    NameList *again = StartedProgram::window();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->menuItem("PrintMode")->isChecked());
    EXPECT_FALSE(again->menuItem("PreviewMode")->isChecked());

    const QString pdf = program.folder().filePath("after.pdf");
    script.answerMessage(platform::vbOK).answerSaveFile(pdf);
    run(*again, "CondensedList");
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_TRUE(QFile::exists(pdf)) << "printed, not previewed";
}

// Every entry of the sort box sorts the list on the shipped database: each has its index,
// and a contact saved in the editor is found again in every order.
TEST_F(WholeProgramTest, EverySortChoiceWorksOnTheShippedDatabase)
{
    NameList &w = start();
    ASSERT_GT(cmbSort(w)->count(), 30);
    for (int i = 0; i < cmbSort(w)->count(); ++i) {
        const QString field = cmbSort(w)->itemText(i);
        cmbSort(w)->setCurrentIndex(i);
        emit cmbSort(w)->activated(i);
        EXPECT_TRUE(Data1(w)->recordSource().contains(" Order By " + field)) << qPrintable(field);
        EXPECT_EQ(gContactsTable->index(), field);
        EXPECT_EQ(Table1(w)->model()->rowCount(), 30) << qPrintable(field);
        script.onModal("NameEdit", [](QWidget *e) {
            DialogScript::setText(e, "txtNickname", "Sorted");
            DialogScript::click(e, "cmdSave");
        });
        run(w, "cmdEdit");
        EXPECT_EQ(current(w, "Nickname"), "Sorted")
            << "the grid stays on the saved contact, sorted by " << qPrintable(field);
    }
    EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='GRIDSORTORDER'"), 1);
}

// The editor fits the screen's free area, title bar and command buttons included, also on
// a screen lower than its design: its fields then scroll inside it.
TEST_F(WholeProgramTest, EditorFitsOnTheScreenWithEveryButtonReachable)
{
    NameList &w = start();
    script.onModal("NameEdit", [](QWidget *e) {
        const QRect free = e->screen()->availableGeometry();
        EXPECT_TRUE(free.contains(e->frameGeometry()))
            << "the editor at "
            << qPrintable(QStringLiteral("%1,%2 %3x%4")
                              .arg(e->frameGeometry().x())
                              .arg(e->frameGeometry().y())
                              .arg(e->frameGeometry().width())
                              .arg(e->frameGeometry().height()))
            << " on a screen of " << free.width() << "x" << free.height();
        // The command buttons are always in view, whatever part of the fields is shown.
        for (const char *name : {"cmdSave", "cmdCancel", "cmdAddNew", "cmdDelete", "cmdNext", "cmdPrev",
                                 "cmdMakeDefault", "cmdClearDefault"}) {
            QWidget *b = e->findChild<QWidget *>(QString::fromLatin1(name));
            ASSERT_NE(b, nullptr) << name;
            EXPECT_TRUE(e->rect().contains(QRect(b->mapTo(e, QPoint(0, 0)), b->size()))) << name;
            auto *area = e->findChild<QScrollArea *>();
            EXPECT_FALSE(area && area->isAncestorOf(b)) << name << " scrolls away with the fields";
        }
        // Every field can be scrolled into view.
        auto *area = e->findChild<QScrollArea *>();
        ASSERT_NE(area, nullptr);
        for (const char *name : {"txtPrefix", "txtNotes", "txtPic8File"}) {
            QWidget *box = e->findChild<QWidget *>(QString::fromLatin1(name));
            ASSERT_NE(box, nullptr) << name;
            area->ensureWidgetVisible(box);
            const QRect shown(box->mapTo(area->viewport(), QPoint(0, 0)), box->size());
            EXPECT_TRUE(area->viewport()->rect().intersects(shown)) << name;
        }
        DialogScript::click(e, "cmdCancel");
    });
    run(w, "cmdEdit");
    EXPECT_EQ(script.pending(), 0u);
}

// Every label layout previewed from the Reports menu, one printed to PDF, and both
// envelope commands through the envelope window, which keeps the main window disabled
// while it is open, also while the return address window it opened is, which it waits for.
TEST_F(WholeProgramTest, LabelsAndEnvelopesFromTheReportsMenu)
{
    NameList &w = start();
    const int row = Table1(w)->currentIndex().row();
    const int shown = Table1(w)->model()->rowCount();
    run(w, "PreviewMode");
    for (const char *command : {"Labels3upMenu", "Labels1UpMenu1", "Labels1UpMenu2", "Labels2UpMenu"}) {
        SCOPED_TRACE(command);
        script.answerInput("1");
        run(w, command);
        const platform::PrintDocument &doc = frmPreview::existing()->surface().document();
        int lastNames = 0;
        for (int page = 1; page <= doc.pageCount(); ++page)
            lastNames += int(testsupport::runsOnPage(doc, page).size());
        EXPECT_GE(lastNames, shown) << "a label of at least one line for every contact";
        EXPECT_EQ(Table1(w)->currentIndex().row(), row);
    }

    run(w, "cmdEnvelope");
    FormEnvelope *envelope = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == "FormEnvelope" && top->isVisible())
            envelope = qobject_cast<FormEnvelope *>(top);
    ASSERT_NE(envelope, nullptr);
    EXPECT_FALSE(w.isEnabled());
    DialogScript::click(envelope, "cmdReturnAddress");
    EXPECT_FALSE(envelope->isEnabled());
    QWidget *returnAddress = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == "ReturnAddress" && top->isVisible())
            returnAddress = top;
    ASSERT_NE(returnAddress, nullptr);
    EXPECT_FALSE(envelope->close()) << "closed from its title bar, it still waits";
    EXPECT_TRUE(envelope->isVisible());
    EXPECT_FALSE(w.isEnabled());
    DialogScript::click(returnAddress, "cmdCancel");
    EXPECT_TRUE(envelope->isEnabled());
    DialogScript::click(envelope, "cmdAll");
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(frmPreview::existing()->surface().document().name, "Envelope");
    EXPECT_EQ(frmPreview::existing()->surface().document().pageCount(), shown);
    EXPECT_EQ(Table1(w)->currentIndex().row(), row);

    run(w, "PrintMode");
    const QString pdf = program.folder().filePath("labels.pdf");
    script.answerInput("2").answerSaveFile(pdf);
    run(w, "Labels3upMenu");
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    EXPECT_EQ(script.pending(), 0u);
}

// Report Options from the Options menu stores a label layout's start; the phone list,
// the date report and the reminder report preview from the Reports menu.
TEST_F(WholeProgramTest, ReportOptionsAndTheListReportsFromTheMenus)
{
    {
        auto db = platform::Database::open(path);
        db->execute("INSERT INTO tblRemind (LinkedRecordID, RemindDate, Description, Status) "
                    "VALUES (1, '2024-05-01', 'Send the catalogue', 'Active')");
    }
    NameList &w = start();
    script.onModal("ReportOptionsForm", [](QWidget *form) {
        auto *list = form->findChild<QListWidget *>("lbReports");
        ASSERT_NE(list, nullptr);
        list->setCurrentRow(3);
        emit list->itemClicked(list->item(3));
        DialogScript::setText(form, "txtXStart", "360");
        DialogScript::click(form, "cmdSave");
    });
    run(w, "ReportOptionsMenu");
    {
        auto db = platform::Database::open(path);
        auto rs = db->openRecordset(
            "Select Setting1 from tblSettings Where Type='REPORT' And Name='Labels 1 x 4 2-up'");
        ASSERT_EQ(rs->recordCount(), 1);
        EXPECT_EQ(rs->value(0).toString(), "360");
    }

    run(w, "PreviewMode");
    const std::pair<const char *, const char *> reports[] = {{"PhoneListMenu", "Phone List"},
                                                             {"DateReportMenu", "Date Report"},
                                                             {"RemindersReportMenu", "Reminder Report"}};
    for (const auto &[command, document] : reports) {
        script.answerMessage(platform::vbOK);
        run(w, command);
        frmPreview *preview = frmPreview::existing();
        ASSERT_NE(preview, nullptr);
        EXPECT_TRUE(preview->isVisible()) << command;
        EXPECT_EQ(preview->surface().docName(), document);
        EXPECT_GE(preview->surface().pageCount(), 1);
        preview->cmdClose->click();
    }
    EXPECT_EQ(script.pending(), 0u);
}
