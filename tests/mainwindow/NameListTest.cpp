#include "helpers/GLOBAL.h"
#include "helpers/RecordSource.h"
#include "helpers/SortOrder.h"
#include "helpers/mMouseScrollWheel.h"
#include "mainwindow/ColumnLayout.h"
#include "mainwindow/ColumnLayoutFile.h"
#include "mainwindow/NameList.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlConnection.h"
#include "platform/grid/DataGrid.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/ClassicFont.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"
#include "printing/frmPreview.h"
#include "start/modMain.h"
#include "support/ContactGenerator.h"
#include "support/DialogScript.h"
#include "support/FileBytes.h"
#include "support/MainWindowControls.h"
#include "support/StartedProgram.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

namespace {

const QString DefaultOrder = " Order By LastName, FirstName ";

// A program started on a database in its own folder holding `contacts` generated
// contacts, `marked` of them (the first by RecordID) carrying a selection mark.
class MainWindowTest : public ::testing::Test {
  protected:
    void prepare(int contacts, int marked = 0)
    {
        path = program.folder().filePath("Quiltern.mdb");
        platform::createDatabaseFromSchema(path);
        auto db = platform::Database::open(path);
        ContactGenerator::insert(*db, contacts, 7);
        db->execute("Update tblContacts Set Selected=' '");
        if (marked > 0)
            db->execute(
                QStringLiteral("Update tblContacts Set Selected='x' Where RecordID <= %1").arg(marked));
    }

    void settingsRow(const QString &type, const QString &name, const QString &setting1 = QString())
    {
        auto db = platform::Database::open(path);
        db->execute(QStringLiteral("Delete from tblSettings Where Type='%1'").arg(type));
        db->execute(QStringLiteral("INSERT INTO tblSettings (Type, Name, Setting1) VALUES ('%1', '%2', '%3')")
                        .arg(type, name, setting1));
    }

    NameList &start()
    {
        program.setCommandLine(path);
        EXPECT_TRUE(program.start());
        NameList *w = StartedProgram::window();
        EXPECT_NE(w, nullptr);
        return *w;
    }

    static QString source(NameList &w) { return Data1(w)->recordSource(); }
    static qint64 shownRows(NameList &w) { return Data1(w)->recordset()->recordCount(); }

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

TEST_F(MainWindowTest, OpensOnAllContactsSortedByLastNameWithTheDesignedGrid)
{
    prepare(40);
    NameList &w = start();
    EXPECT_EQ(source(w), "Select * from  tblContacts" + DefaultOrder);
    EXPECT_EQ(shownRows(w), 40);
    EXPECT_EQ(Table1(w)->model()->columnCount(), 60);
    EXPECT_EQ(Table1(w)->model()->rowCount(), 40);
    EXPECT_EQ(Table1(w)->model()->headerData(1, Qt::Horizontal).toString(), "Last Name");
    // The grid shows the rows in the record set's order.
    auto rs = gDb->openRecordset("Select * from tblContacts Order By LastName, FirstName");
    EXPECT_EQ(Table1(w)->model()->index(0, 1).data().toString(), rs->value("LastName").toString());

    // Every contact field the exclusions leave: the names, the cities, states, postal codes
    // and countries, four phones, three dates, e-mail, user fields, code, update date and
    // the eight picture names.
    EXPECT_EQ(cmbSort(w)->count(), 35);
    EXPECT_EQ(cmbSort(w)->itemText(0), "FirstName");
    EXPECT_EQ(cmbSort(w)->itemText(34), "PicturePath8");
    EXPECT_EQ(cmbSort(w)->currentText(), "LastName");
    EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='GRIDSORTORDER' And Name='LastName'"), 1);
    EXPECT_FALSE(gMainWindow.gFirstTime);
    EXPECT_TRUE(w.addAllowed());
    EXPECT_EQ(w.windowTitle(), "Quiltern Database  " + path);
    EXPECT_EQ(gEditor.gCodeMaxLength, 50) << "the shipped database has a VERSION row";
}

TEST_F(MainWindowTest, StoredSortIsRestoredAndSetsTheLocateIndex)
{
    prepare(20);
    settingsRow("GRIDSORTORDER", "Organization");
    NameList &w = start();
    EXPECT_EQ(cmbSort(w)->currentText(), "Organization");
    EXPECT_EQ(gRecordSource.gOrderByClause, " Order By Organization, LastName, FirstName");
    EXPECT_EQ(source(w), "Select * from  tblContacts Order By Organization, LastName, FirstName");
    EXPECT_EQ(gContactsTable->index(), "Organization");
    EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='GRIDSORTORDER'"), 1);
}

// The list is opened once on the way to the first window, in the view and order that
// window shows; the sort box still offers the fields of the list's table or query.
TEST_F(MainWindowTest, StartOpensTheListOnceInTheViewItShows)
{
    struct Case {
        const char *name;
        QString sortRow;    // GRIDSORTORDER's Name, or null for none
        bool category;      // a start-up category of three contacts
        QString source;     // the list the window shows
        QString listSource; // the table or query whose fields the sort box offers
        qint64 rows;
        QString firstKey;   // the sort field of the first row, as the database sorts the list
        QString firstQuery;
    };
    const Case cases[] = {
        {"no stored sort", QString(), false, "Select * from  tblContacts" + DefaultOrder, "tblContacts", 12,
         "LastName", "Select LastName from tblContacts Order By LastName, FirstName"},
        {"stored sort", "Organization", false,
         "Select * from  tblContacts Order By Organization, LastName, FirstName", "tblContacts", 12,
         "Organization", "Select Organization from tblContacts Order By Organization, LastName, FirstName"},
        {"start-up category", "FirstName", true,
         "Select * from  qryContacts Where CategoryNumber = 4  Order By FirstName", "qryContacts", 3, "FirstName",
         "Select FirstName from qryContacts Where CategoryNumber = 4 Order By FirstName"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StartedProgram::closeWindow();
        gDb.reset();
        gContactsTable.reset();
        gDbPath.clear();
        gRecordSource.reset();
        releaseSingleInstanceForTesting();
        QFile::remove(program.folder().filePath("Quiltern.mdb"));
        prepare(12);
        if (!c.sortRow.isNull())
            settingsRow("GRIDSORTORDER", c.sortRow);
        if (c.category) {
            auto db = platform::Database::open(path);
            db->execute("INSERT INTO tblCategoryDesc (CategoryNumber, CategoryDesc) VALUES (4, 'Guild')");
            db->execute("INSERT INTO tblCategoryID (ID, CategoryNumber) Select RecordID, 4 from tblContacts "
                        "Where RecordID <= 3");
            settingsRow("CATEGORYSTARTUP", "1");
            settingsRow("CATEGORY", "Guild", " CategoryNumber = 4 ");
        }
        NameList &w = start();
        // Nothing has painted yet: the start routine returns with the window shown and activated.
        EXPECT_EQ(Data1(w)->refreshCount(), 1);
        EXPECT_EQ(source(w), c.source);
        EXPECT_EQ(shownRows(w), c.rows);
        EXPECT_EQ(Table1(w)->model()->rowCount(), c.rows);
        EXPECT_EQ(label(w, "lblCategory")->text(), c.category ? "Guild" : "");
        EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='CATEGORY'"), c.category ? 1 : 0);

        // The sort box offers what an opened list of the source has, and shows the stored choice.
        auto opened = gDb->openRecordset("Select * from " + c.listSource);
        QStringList fields;
        for (int i = 0; i < opened->fieldCount(); ++i)
            fields.append(opened->fieldInfo(i).name);
        opened.reset();
        QStringList items;
        for (int i = 0; i < cmbSort(w)->count(); ++i)
            items.append(cmbSort(w)->itemText(i));
        EXPECT_EQ(items, sortBoxItems(fields));
        const QString choice = c.sortRow.isNull() ? "LastName" : c.sortRow;
        EXPECT_EQ(cmbSort(w)->currentText(), choice);
        EXPECT_EQ(gContactsTable->index(), choice);
        EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='GRIDSORTORDER' And Name='" + choice + "'"),
                  1);
        EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='GRIDSORTORDER'"), 1);

        // The first row is current.
        EXPECT_EQ(Data1(w)->recordset()->absolutePosition(), 0);
        auto first = gDb->openRecordset(c.firstQuery);
        EXPECT_EQ(Data1(w)->recordset()->value(c.firstKey).toString(), first->value(c.firstKey).toString());
        first.reset();

        // A later choice in the sort box opens the list again, in the new order.
        cmbSort(w)->setCurrentIndex(cmbSort(w)->findText("Phone1"));
        w.listViews().cmbSort_Click();
        EXPECT_EQ(Data1(w)->refreshCount(), 2);
        EXPECT_TRUE(source(w).endsWith(" Order By Phone1")) << source(w).toStdString();
        EXPECT_EQ(shownRows(w), c.rows);
    }
}

TEST_F(MainWindowTest, ChoosingASortRequeriesKeepingTheSelectionView)
{
    prepare(30, 4);
    NameList &w = start();
    w.listViews().ShowSelectedOnlyMenu_Click();
    cmbSort(w)->setCurrentIndex(cmbSort(w)->findText("DateUpdated"));
    w.listViews().cmbSort_Click();
    EXPECT_EQ(source(w), "Select * from  tblContacts Where Selected = 'x'  Order By DateUpdated DESC");
    EXPECT_EQ(shownRows(w), 4);
    EXPECT_TRUE(gRecordSource.gSortedByDate);
    EXPECT_EQ(gContactsTable->index(), "DateUpdated");
    EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='GRIDSORTORDER' And Name='DateUpdated'"), 1);
    EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='GRIDSORTORDER'"), 1);

    cmbSort(w)->setCurrentIndex(cmbSort(w)->findText("Phone1"));
    w.listViews().cmbSort_Click();
    EXPECT_EQ(source(w), "Select * from  tblContacts Where Selected = 'x'  Order By Phone1");
    EXPECT_FALSE(gRecordSource.gSortedByDate);
}

// Another program is in the middle of writing the file, and the program's wait for it ends at once.
TEST_F(MainWindowTest, ASortThatCannotReadTheFileKeepsTheListAsItWas)
{
    prepare(30);
    NameList &w = start();
    platform::Recordset &rows = *Data1(w)->recordset();
    rows.setAbsolutePosition(6);
    QCoreApplication::processEvents();
    const QString sourceBefore = source(w), name = txtName(w)->toPlainText();
    const RecordSourceState partsBefore = gRecordSource;
    platform::SqlConnection other;
    ASSERT_EQ(other.open(path, SQLITE_OPEN_READWRITE), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other.handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_busy_timeout(gDb->handle(), 0);
    script.answerMessage(platform::vbOK);
    cmbSort(w)->setCurrentIndex(cmbSort(w)->findText("FirstName"));
    emit cmbSort(w)->activated(cmbSort(w)->currentIndex());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Sort order not changed");
    EXPECT_EQ(script.shown()[0].text, "The list could not be sorted by FirstName, so it stays as it was.\r\n\r\n"
                                      "Could not update; the database is currently locked by another program.");
    EXPECT_EQ(cmbSort(w)->currentText(), "LastName");
    EXPECT_TRUE(source(w) == sourceBefore && gRecordSource == partsBefore && Data1(w)->recordset() == &rows);
    EXPECT_EQ(rows.absolutePosition(), 6);
    EXPECT_EQ(txtName(w)->toPlainText(), name);
}

TEST_F(MainWindowTest, SelectionViewsReachTheDataControlWithTheirExactTexts)
{
    prepare(25, 3);
    NameList &w = start();

    w.listViews().ShowSelectedOnlyMenu_Click();
    EXPECT_EQ(source(w), "Select * from  tblContacts Where Selected = 'x' " + DefaultOrder);
    EXPECT_EQ(shownRows(w), 3);
    EXPECT_FALSE(w.addAllowed());
    w.listViews().ShowSelectedOnlyMenu_Click();
    EXPECT_EQ(source(w), "Select * from  tblContacts Where Selected = 'x' " + DefaultOrder)
        << "the clause is replaced, never appended";

    w.listViews().HideSelectedMenu_Click();
    EXPECT_EQ(source(w), "Select * from  tblContacts Where Selected < 'x' " + DefaultOrder);
    EXPECT_EQ(shownRows(w), 22);
    EXPECT_FALSE(w.addAllowed()) << "Hide Selected leaves the Add button as it was";

    w.listViews().ShowAllMenu_Click();
    EXPECT_EQ(source(w), "Select * from  tblContacts" + DefaultOrder);
    EXPECT_EQ(gRecordSource.gSelectedClause, "");
    EXPECT_TRUE(w.addAllowed());
    EXPECT_EQ(shownRows(w), 25);
}

TEST_F(MainWindowTest, ShowAllButtonsAndTheSelectedButtonFollowTheMarks)
{
    prepare(10, 2);
    NameList &w = start();
    gMainWindow.gSelectedCount = 2;
    QPushButton *showSelected = w.button("cmdShowSelected");
    EXPECT_FALSE(showSelected->isVisibleTo(&w));
    w.button("cmdShowAll")->click();
    EXPECT_TRUE(showSelected->isVisibleTo(&w));
    showSelected->click();
    EXPECT_FALSE(showSelected->isVisibleTo(&w));
    EXPECT_EQ(shownRows(w), 2);
    EXPECT_FALSE(w.addAllowed());
}

TEST_F(MainWindowTest, RemoveSelectionMarksClearsEveryMarkAndKeepsTheWherePart)
{
    prepare(12, 5);
    NameList &w = start();
    gMainWindow.gSelectedCount = 5;
    label(w, "lblSelectedCount")->setText("5 selected record(s).");
    w.listViews().ShowSelectedOnlyMenu_Click();
    w.listViews().RemoveSelectionsMenu_Click();
    EXPECT_EQ(count("Select Count(*) from tblContacts Where Selected='x'"), 0);
    EXPECT_EQ(count("Select Count(*) from tblContacts Where Selected=' '"), 12);
    EXPECT_EQ(source(w), "Select * from  tblContacts" + DefaultOrder);
    EXPECT_EQ(gMainWindow.gSelectedCount, 0);
    EXPECT_EQ(label(w, "lblSelectedCount")->text(), "");
    EXPECT_TRUE(w.addAllowed());
}

TEST_F(MainWindowTest, CategoryThenSelectionThenSortStaysValidSql)
{
    prepare(15, 15);
    {
        auto db = platform::Database::open(path);
        db->execute("INSERT INTO tblCategoryDesc (CategoryNumber, CategoryDesc) VALUES (3, 'Quilters')");
        db->execute(
            "INSERT INTO tblCategoryID (ID, CategoryNumber) Select RecordID, 3 from tblContacts Where "
            "RecordID <= 6");
    }
    NameList &w = start();
    // Show Selected first, then a category as the category window shows one, then a sort.
    w.listViews().ShowSelectedOnlyMenu_Click();
    gRecordSource.gCategoryClause = " CategoryNumber = 3 ";
    gRecordSource.gFilterClause.clear();
    gRecordSource.gWhereClause = " Where " + gRecordSource.gCategoryClause;
    gRecordSource.gListSource = CategoryQuery;
    Data1(w)->setRecordSource(joinRecordSource(gRecordSource, false));
    Data1(w)->refresh();
    cmbSort(w)->setCurrentIndex(cmbSort(w)->findText("FirstName"));
    w.listViews().cmbSort_Click();
    EXPECT_EQ(source(w),
              "Select * from  qryContacts Where  CategoryNumber = 3  And Selected = 'x'  Order By FirstName");
    EXPECT_EQ(shownRows(w), 6);

    // The category window's Show All leaves " Where " alone; a sort must not join "Where  And".
    gRecordSource.gCategoryClause.clear();
    gRecordSource.gWhereClause = " Where ";
    gRecordSource.gListSource = ContactsTable;
    w.listViews().HideSelectedMenu_Click();
    EXPECT_EQ(source(w), "Select * from  tblContacts Where Selected < 'x'  Order By FirstName");
    EXPECT_EQ(shownRows(w), 0);
}

TEST_F(MainWindowTest, RecordCountTellsNoneOneOrMany)
{
    prepare(57, 1);
    NameList &w = start();
    script.answerMessage(platform::vbOK).answerMessage(platform::vbOK).answerMessage(platform::vbOK);
    w.listViews().DisplayRecCntMenu_Click();
    w.listViews().ShowSelectedOnlyMenu_Click();
    w.listViews().DisplayRecCntMenu_Click();
    gDb->execute("Update tblContacts Set Selected=' '");
    w.listViews().ShowSelectedOnlyMenu_Click();
    w.listViews().DisplayRecCntMenu_Click();
    const auto shown = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "There are 57 records displayed in the current list.");
    EXPECT_EQ(shown[1].text, "There is 1 record displayed in the current list.");
    EXPECT_EQ(shown[2].text, "There are no records displayed in the current list.");
    for (const auto &box : shown) {
        EXPECT_EQ(box.title, "Record Count");
        EXPECT_EQ(box.icon, 0);
        EXPECT_EQ(box.buttons, platform::vbOKOnly);
    }
}

TEST_F(MainWindowTest, UnloadClearsEveryMarkInOneGo)
{
    prepare(20, 3);
    start();
    gMainWindow.gSelectedCount = 3;
    StartedProgram::closeWindow();
    EXPECT_EQ(StartedProgram::window(), nullptr);
    EXPECT_EQ(gMainWindow.gSelectedCount, 0);
    // The program closed its database on the way out; the file tells what it left.
    auto db = platform::Database::open(path);
    auto marks = [&](const char *sql) { return db->openRecordset(sql)->value(0).toLongLong(); };
    EXPECT_EQ(marks("Select Count(*) from tblContacts Where Selected='x'"), 0);
    EXPECT_EQ(marks("Select Count(*) from tblContacts Where Selected=' '"), 20);
    EXPECT_FALSE(QFileInfo::exists(ColumnLayoutFile::path())) << "no column changed: no layout file";
}

TEST_F(MainWindowTest, UnloadLetsTheListGoBeforeClearingTheMarks)
{
    prepare(3000, 4);
    NameList &w = start();
    gMainWindow.gSelectedCount = 4;
    bool closed = false;
    bool rowsLeftUnread = false;
    qint64 marksWhenClosed = -1;
    QObject::connect(Data1(w), &platform::DataControl::recordsetAboutToChange, [&] {
        platform::Recordset *rs = Data1(w)->recordset();
        if (!rs)
            return;
        closed = true;
        rowsLeftUnread = rs->collectMoreRows(0);
        marksWhenClosed = count("Select Count(*) from tblContacts Where Selected='x'");
    });
    StartedProgram::closeWindow();
    EXPECT_TRUE(closed);
    EXPECT_EQ(marksWhenClosed, 4) << "the list closes before the marks are cleared";
    // The list was read through while the program waited for the user, which let go of the
    // file, so the unload had nothing left to read.
    EXPECT_FALSE(rowsLeftUnread);
    auto db = platform::Database::open(path);
    EXPECT_EQ(db->openRecordset("Select Count(*) from tblContacts Where Selected='x'")->value(0).toLongLong(), 0);
}

TEST_F(MainWindowTest, SavedColumnLayoutIsAppliedAtLoad)
{
    prepare(5);
    QList<ColumnLayoutFile::Column> stored{{"Company", "Organization", 2500, 0},
                                           {"Surname", "LastName", 1800, 1},
                                           {"Given", "FirstName", 900, 2}};
    ASSERT_TRUE(ColumnLayoutFile::write(stored));
    NameList &w = start();
    QAbstractItemModel *model = Table1(w)->model();
    EXPECT_EQ(model->columnCount(), 60);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Company");
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), "Surname");
    EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), "Given");
    EXPECT_EQ(model->headerData(4, Qt::Horizontal).toString(), "Organization")
        << "later columns keep their design";
    auto rs = gDb->openRecordset("Select * from tblContacts Order By LastName, FirstName");
    EXPECT_EQ(model->index(0, 1).data().toString(), rs->value("Organization").toString());
    EXPECT_EQ(model->index(0, 2).data().toString(), rs->value("LastName").toString());
    EXPECT_NEAR(Table1(w)->columnWidth(1), platform::DataGrid::twipsToPixels(2500, Table1(w)), 1);
    EXPECT_FALSE(w.columnLayout().columnsChanged());
}

TEST_F(MainWindowTest, DamagedLayoutFileKeepsWhatItCouldRead)
{
    prepare(3);
    writeFileBytes(ColumnLayoutFile::path(),
                   "\"Surname\",\"LastName\",1800,0\r\n\"Broken\",\"FirstName\"\r\n");
    NameList &w = start();
    EXPECT_EQ(Table1(w)->model()->headerData(1, Qt::Horizontal).toString(), "Surname");
    EXPECT_EQ(Table1(w)->model()->headerData(2, Qt::Horizontal).toString(), "First Name");
    EXPECT_EQ(shownRows(w), 3);
}

TEST_F(MainWindowTest, ResizedColumnIsWrittenAtUnloadAndReadBack)
{
    prepare(3);
    {
        NameList &w = start();
        Table1(w)->horizontalHeader()->resizeSection(1, 200);
        EXPECT_TRUE(w.columnLayout().columnsChanged());
        StartedProgram::closeWindow();
    }
    const QByteArray bytes = readFileBytes(ColumnLayoutFile::path());
    EXPECT_EQ(bytes.count("\r\n"), 59);
    const QList<ColumnLayoutFile::Column> read = ColumnLayoutFile::read(59);
    ASSERT_EQ(read.size(), 59);
    EXPECT_EQ(read[0].dataField, "LastName");
    EXPECT_EQ(read[0].width, 3000) << "200 pixels at 96 dpi";
    EXPECT_EQ(read[58].dataField, "PicturePath3");

    gDb.reset();
    gContactsTable.reset();
    gDbPath = path;
    ASSERT_EQ(Main(), MainOutcome::MainWindowShown);
    EXPECT_EQ(Table1(*StartedProgram::window())->columnWidth(1), 200);
}

TEST_F(MainWindowTest, FunctionKeys)
{
    prepare(2);
    NameList &w = start();
    QAction *change = w.menuItem("ChangePassword");
    EXPECT_FALSE(change->isEnabled());
    QTest::keyClick(Table1(w), Qt::Key_F1);
    EXPECT_FALSE(change->isEnabled());
    QTest::keyClick(Table1(w), Qt::Key_F5);
    EXPECT_TRUE(change->isEnabled());
}

TEST_F(MainWindowTest, CommandsHaveTheirCaptionsShortcutsAndStates)
{
    prepare(2);
    NameList &w = start();
    EXPECT_EQ(w.button("cmdFind")->text(), "Find");
    EXPECT_TRUE(w.button("cmdFind")->isEnabled());
    EXPECT_EQ(w.menuItem("FindEditMenu")->text(), "&Find Any Text...");
    EXPECT_EQ(w.menuItem("FindEditMenu")->shortcut(), QKeySequence("Ctrl+F"));
    EXPECT_TRUE(w.menuItem("FindEditMenu")->isEnabled());
    EXPECT_EQ(w.menuItem("Labels3upMenu")->text(), "Labels 1\" x 2-5/8\" 3-up");
    EXPECT_FALSE(w.menuItem("ImportFile")->isVisible());
    EXPECT_TRUE(w.menuItem("PrintMode")->isChecked());
    EXPECT_TRUE(w.menuItem("ShowAllMenu")->isEnabled());
    EXPECT_EQ(w.menuItem("ShowAllMenu")->shortcut(), QKeySequence("Ctrl+R"));
    EXPECT_TRUE(w.button("cmdExit")->isEnabled());
    EXPECT_TRUE(w.button("cmdAdd")->isEnabled());
    EXPECT_TRUE(w.button("cmdDelete")->isEnabled());
}

TEST_F(MainWindowTest, StartupCategorySurvivesTheFirstActivation)
{
    prepare(10);
    {
        auto db = platform::Database::open(path);
        db->execute("INSERT INTO tblCategoryDesc (CategoryNumber, CategoryDesc) VALUES (4, 'Guild')");
        db->execute(
            "INSERT INTO tblCategoryID (ID, CategoryNumber) Select RecordID, 4 from tblContacts Where "
            "RecordID <= 3");
    }
    settingsRow("CATEGORYSTARTUP", "1");
    settingsRow("CATEGORY", "Guild", " CategoryNumber = 4 ");
    NameList &w = start();
    EXPECT_EQ(label(w, "lblCategory")->text(), "Guild");
    EXPECT_EQ(gRecordSource.gListSource, "qryContacts");
    EXPECT_EQ(source(w), "Select * from  qryContacts Where CategoryNumber = 4 " + DefaultOrder);
    EXPECT_EQ(shownRows(w), 3);
    EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='CATEGORY'"), 1);

    w.listViews().ShowAllMenu_Click();
    EXPECT_EQ(label(w, "lblCategory")->text(), "");
    EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='CATEGORY'"), 0);
    EXPECT_EQ(shownRows(w), 10);
}

TEST_F(MainWindowTest, StartReadsItsSettingsWithOneRecordSet)
{
    prepare(5);
    settingsRow("TABLET", "1");
    settingsRow("REMINDERSTARTUP", "0");
    settingsRow("GRIDSORTORDER", "Organization");
    QStringList settingsOpened;
    platform::Database::openingObserver() = [&](const QString &source) {
        if (source.contains("tblSettings", Qt::CaseInsensitive))
            settingsOpened.append(source);
    };
    NameList &w = start();
    platform::Database::openingObserver() = nullptr;
    // One read for every setting the window goes by; then the sort row, left as it is
    // when it already holds the choice, and the category row, removed by Show All.
    EXPECT_EQ(settingsOpened.size(), 3) << settingsOpened.join("\n").toStdString();
    EXPECT_TRUE(gTabletMode);
    EXPECT_EQ(gMainWindow.gReminderStartup, 0);
    EXPECT_EQ(cmbSort(w)->currentText(), "Organization");
    EXPECT_EQ(gEditor.gCodeMaxLength, 50);
    gTabletMode = false;
}

// Conditions edited outside the program: a field it does not have, and a broken expression.
class DamagedStartupCategoryTest : public MainWindowTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(DamagedStartupCategoryTest, OpensOnAllContactsSaysWhyOnceAndKeepsTheRows)
{
    prepare(5);
    settingsRow("CATEGORYSTARTUP", "1");
    settingsRow("CATEGORY", "Lost", GetParam());
    script.answerMessage(platform::vbOK);
    NameList &w = start();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Start-up category not shown");
    EXPECT_TRUE(script.shown()[0].text.startsWith("The category \"Lost\" cannot be shown at start-up, so all "
                                                  "contacts are shown.\r\n\r\n"));
    EXPECT_EQ(source(w), "Select * from  tblContacts" + DefaultOrder);
    EXPECT_EQ(label(w, "lblCategory")->text(), "");
    EXPECT_EQ(count(QString("Select Count(*) from tblSettings Where Type='CATEGORY' And Setting1='%1' Or "
                            "Type='CATEGORYSTARTUP' And Name='1'").arg(GetParam())), 2);
}

INSTANTIATE_TEST_SUITE_P(UnknownFieldAndBrokenExpression, DamagedStartupCategoryTest,
                         ::testing::Values(" NoSuchField = 4 ", " CategoryNumber = = 4 ("));

TEST_F(MainWindowTest, StartupCategoryOptionOffShowsAllContacts)
{
    prepare(6);
    settingsRow("CATEGORYSTARTUP", "0");
    settingsRow("CATEGORY", "Guild", " CategoryNumber = 4 ");
    NameList &w = start();
    EXPECT_EQ(gRecordSource.gListSource, "tblContacts");
    EXPECT_EQ(shownRows(w), 6);
    EXPECT_EQ(label(w, "lblCategory")->text(), "");
}

TEST_F(MainWindowTest, WindowKeepsItsMinimumWidthAndLaysOutUnderTheGrid)
{
    prepare(3);
    NameList &w = start();
    w.resize(200, 600);
    QCoreApplication::processEvents();
    EXPECT_GE(platform::pixelsToTwipsX(w.width()), 6400);
    w.resize(1000, 700);
    QCoreApplication::processEvents();
    const QRect grid = Table1(w)->geometry();
    EXPECT_EQ(txtName(w)->y(), grid.bottom() + 1 + platform::twipsToPixelsY(80));
    EXPECT_GT(w.button("cmdExit")->y(), txtName(w)->y());
    EXPECT_NEAR(client(w)->width() - grid.right() - 1, platform::twipsToPixelsX(390) - Table1(w)->x(), 2);
}

// A list many reading blocks long (the time it takes on 100,000 contacts is measured in
// bench/, not here).
TEST_F(MainWindowTest, OpensOnALongListShowingTheFirstRows)
{
    prepare(5000);
    NameList &w = start();
    QAbstractItemModel *model = Table1(w)->model();
    EXPECT_EQ(model->rowCount(), 5000);
    // The first rows as the database orders them, organisations without a last name first.
    auto first = gDb->openRecordset("Select * from tblContacts Order By LastName, FirstName");
    for (int row = 0; row < 40; ++row, first->moveNext()) {
        EXPECT_EQ(model->index(row, 1).data().toString(), first->value("LastName").toString()) << row;
        EXPECT_EQ(model->index(row, 4).data().toString(), first->value("Organization").toString()) << row;
    }
    EXPECT_EQ(Table1(w)->currentIndex().row(), 0);
}

TEST_F(MainWindowTest, ReminderStartupRebuildsTheDueListOnlyWhenOn)
{
    for (const QString option : {"1", "0"}) {
        StartedProgram::closeWindow();
        gDb.reset();
        gContactsTable.reset();
        gDbPath.clear();
        releaseSingleInstanceForTesting();
        QFile::remove(program.folder().filePath("Quiltern.mdb"));
        prepare(4);
        settingsRow("REMINDERSTARTUP", option);
        {
            auto db = platform::Database::open(path);
            db->execute("INSERT INTO tblCurrentReminders (RecordID, Description) VALUES (1, 'stale')");
        }
        start();
        EXPECT_EQ(gMainWindow.gReminderStartup, option.toInt());
        EXPECT_EQ(count("Select Count(*) from tblCurrentReminders Where Description='stale'"),
                  option == "1" ? 0 : 1)
            << "start-up option " << option.toStdString();
    }
}

TEST_F(MainWindowTest, ViewEditOpensTheEditorOnTheCurrentRowWithTheRecordButtonsOff)
{
    prepare(6, 2);
    NameList &w = start();
    w.listViews().ShowSelectedOnlyMenu_Click();
    bool buttonsOffWhileOpen = false;
    script.onModal("NameEdit", [&](QWidget *editor) {
        buttonsOffWhileOpen = !w.button("cmdAdd")->isEnabled() && !w.button("cmdEdit")->isEnabled() &&
                              !w.button("cmdExit")->isEnabled();
        EXPECT_TRUE(gEditor.gEditExistingRecord);
        DialogScript::click(editor, "cmdCancel");
    });
    w.button("cmdEdit")->click();
    const auto forms = script.shown(platform::DialogKind::ModalForm);
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(forms[0].title, "View/Edit an Existing Record");
    EXPECT_TRUE(buttonsOffWhileOpen);
    EXPECT_TRUE(w.button("cmdEdit")->isEnabled());
    EXPECT_TRUE(w.button("cmdExit")->isEnabled());
    EXPECT_FALSE(w.button("cmdAdd")->isEnabled()) << "still only selected records are shown";
    EXPECT_FALSE(gEditor.gEditExistingRecord);
}

TEST_F(MainWindowTest, ViewEditOnAnEmptyListOnlyTellsSo)
{
    prepare(3);
    NameList &w = start();
    w.listViews().ShowSelectedOnlyMenu_Click();
    script.answerMessage(platform::vbOK);
    w.records().cmdEdit_Click();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "No records to View or Edit");
    EXPECT_EQ(script.shown()[0].icon, platform::vbInformation);
    EXPECT_TRUE(w.button("cmdEdit")->isEnabled());
}

TEST_F(MainWindowTest, AddOpensTheEditorOnANewContact)
{
    prepare(3);
    NameList &w = start();
    script.onModal("NameEdit", [](QWidget *editor) {
        EXPECT_FALSE(gEditor.gEditExistingRecord);
        DialogScript::click(editor, "cmdCancel");
    });
    w.menuItem("AddMenu")->trigger();
    const auto forms = script.shown(platform::DialogKind::ModalForm);
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(forms[0].title, "Add a New Record");
    EXPECT_TRUE(w.button("cmdAdd")->isEnabled());
}

TEST_F(MainWindowTest, TabletRowAndStoredColourGiveTheWindowItsLook)
{
    prepare(3);
    settingsRow("TABLET", "True");
    settingsRow("BACKCOLOR", "255"); // red in the low byte
    gTabletMode = false;
    NameList &w = start();
    EXPECT_TRUE(gTabletMode);
    EXPECT_EQ(Table1(w)->verticalHeader()->defaultSectionSize(),
              platform::DataGrid::twipsToPixels(400, Table1(w)));
    EXPECT_EQ(Table1(w)->font().family(), platform::classicFont("Arial", 14).family());
    EXPECT_EQ(Table1(w)->font().pointSize(), 14);
    EXPECT_FALSE(cmbSort(w)->font().bold());
    EXPECT_EQ(client(w)->palette().color(QPalette::Window), QColor(255, 0, 0));
    gTabletMode = false;
}

TEST_F(MainWindowTest, DesktopLookAndANonNumericColourKeepTheDesign)
{
    prepare(3);
    settingsRow("BACKCOLOR", "teal");
    gTabletMode = false;
    NameList &w = start();
    EXPECT_EQ(Table1(w)->verticalHeader()->defaultSectionSize(),
              platform::DataGrid::twipsToPixels(225, Table1(w)));
    EXPECT_TRUE(txtLocate(w)->font().bold());
    EXPECT_EQ(client(w)->palette().color(QPalette::Window), QColor(0x40, 0x80, 0x80));
}

TEST_F(MainWindowTest, WheelOverTheGridScrollsThreeRowsANotch)
{
    prepare(200);
    NameList &w = start();
    w.resize(900, 600);
    QCoreApplication::processEvents();
    QWidget *viewport = Table1(w)->viewport();
    const QPoint global = viewport->mapToGlobal(viewport->rect().center());
    QWheelEvent turn(viewport->rect().center(), global, QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &turn);
    EXPECT_EQ(Table1(w)->rowAt(0), 3);
    StartedProgram::closeWindow();
    EXPECT_FALSE(IsMouseWheelHooked(&w)) << "the unload removes the hook";
}

TEST_F(MainWindowTest, ACommandThatFailsTellsTheErrorAndTheWindowStays)
{
    prepare(3);
    NameList &w = start();
    gRecordSource.gListSource = "tblNoSuchTable";
    script.answerMessage(platform::vbOK);
    w.menuItem("DisplayRecCntMenu")->trigger();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_TRUE(script.shown()[0].text.startsWith("Run-time error '"))
        << script.shown()[0].text.toStdString();
    EXPECT_EQ(script.shown()[0].title, "Quiltern 3");
    EXPECT_EQ(script.shown()[0].icon, platform::vbCritical);
    EXPECT_EQ(StartedProgram::window(), &w);
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
    w.listViews().ShowAllMenu_Click();
    EXPECT_EQ(shownRows(w), 3);
}

TEST_F(MainWindowTest, UnloadPutsThePreviewBackToPortraitAndUnloadsIt)
{
    prepare(2);
    start();
    QPointer<frmPreview> preview = &frmPreview::instance();
    preview->surface().setOrientation(1);
    StartedProgram::closeWindow();
    ASSERT_FALSE(preview.isNull());
    EXPECT_EQ(preview->surface().orientation(), 0);
    EXPECT_TRUE(preview->isUnloaded());
    EXPECT_EQ(frmPreview::existing(), nullptr);
}

TEST_F(MainWindowTest, ReportsGoToThePreviewOrThePrinterAsTheMenuSays)
{
    prepare(4);
    NameList &w = start();
    QAction *preview = w.menuItem("PreviewMode");
    QAction *print = w.menuItem("PrintMode");
    preview->trigger();
    EXPECT_TRUE(preview->isChecked());
    EXPECT_FALSE(print->isChecked());
    EXPECT_TRUE(PreviewSurface().preview());
    menu(w, "ReportsMenu")->hide();
    print->trigger();
    EXPECT_FALSE(preview->isChecked());
    EXPECT_TRUE(print->isChecked());
    EXPECT_FALSE(PreviewSurface().preview());
    menu(w, "ReportsMenu")->hide();

    // A condensed list asks first; Cancel prints nothing.
    script.answerMessage(platform::vbCancel);
    w.menuItem("Condensed1LineMenu")->trigger();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Confirmation");
    EXPECT_TRUE(script.shown()[0].text.contains("start printing"));
}
