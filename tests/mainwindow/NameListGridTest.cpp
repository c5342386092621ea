#include "MainWindowFixture.h"

#include "mainwindow/ColumnLayoutFile.h"
#include "platform/base/Clock.h"
#include "platform/base/TextDirection.h"
#include "platform/grid/DataGrid.h"
#include "platform/ui/MsgBox.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QTextLayout>
#include <sqlcipher/sqlite3.h>

namespace {

class GridTest : public MainWindowFixture {
  protected:
    // Past the first click after activation, which leaves the cursor where it landed.
    void firstClick(NameList &w)
    {
        clickCell(w, 0, 2);
        ASSERT_FALSE(w.grid().firstClickPending());
    }

    QVariant selectedOf(qint64 recordId)
    {
        auto rs = gDb->openRecordset(
            QStringLiteral("Select Selected from tblContacts Where RecordID = %1").arg(recordId));
        return rs->value(0);
    }

    // Rows written since the counting trigger was made.
    static int writes()
    {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(gDb->handle(), "SELECT count(*) FROM temp.writes", -1, &stmt, nullptr);
        const int n = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : -1;
        sqlite3_finalize(stmt);
        return n;
    }

    static qint64 idAt(NameList &w, int row)
    {
        platform::Recordset &rs = shown(w);
        return rs.valueAt(row, rs.fieldIndex("RecordID")).toLongLong();
    }

    void TearDown() override
    {
        platform::setClockForTesting({});
        MainWindowFixture::TearDown();
    }
};

} // namespace

TEST_F(GridTest, ClickInMarkColumnTogglesTheMarkCountsAndLeavesTheColumn)
{
    prepare(10);
    NameList &w = start();
    QPushButton *showSelected = w.button("cmdShowSelected");

    clickCell(w, 4, 0);
    EXPECT_EQ(selectedOf(idAt(w, 4)), "x");
    EXPECT_EQ(gMainWindow.gSelectedCount, 1);
    EXPECT_EQ(label(w, "lblSelectedCount")->text(), "1 selected record(s).");
    EXPECT_TRUE(showSelected->isVisibleTo(&w));
    EXPECT_EQ(w.grid().gridCol(), 1) << "the cursor is pushed out of the mark column";
    EXPECT_EQ(Table1(w)->currentIndex().row(), 4);

    clickCell(w, 6, 0);
    EXPECT_EQ(gMainWindow.gSelectedCount, 2);
    EXPECT_EQ(label(w, "lblSelectedCount")->text(), "2 selected record(s).");

    // The same row again, once the cursor has left the column: the mark goes.
    clickCell(w, 4, 0);
    EXPECT_EQ(selectedOf(idAt(w, 4)), " ");
    clickCell(w, 6, 0);
    EXPECT_EQ(selectedOf(idAt(w, 6)), " ");
    EXPECT_EQ(gMainWindow.gSelectedCount, 0);
    EXPECT_EQ(label(w, "lblSelectedCount")->text(), "");
    EXPECT_FALSE(showSelected->isVisibleTo(&w));
}

TEST_F(GridTest, NullAndCapitalXAreMarkedAndAStoredMarkUnmarksWithoutGoingBelowZero)
{
    prepare(6);
    NameList &w = start();
    gDb->execute(QStringLiteral("Update tblContacts Set Selected=Null Where RecordID = %1").arg(idAt(w, 1)));
    gDb->execute(QStringLiteral("Update tblContacts Set Selected='X' Where RecordID = %1").arg(idAt(w, 2)));
    gDb->execute(QStringLiteral("Update tblContacts Set Selected='x' Where RecordID = %1").arg(idAt(w, 3)));
    firstClick(w);

    clickCell(w, 1, 0);
    EXPECT_EQ(selectedOf(idAt(w, 1)), "x");
    clickCell(w, 2, 0);
    EXPECT_EQ(selectedOf(idAt(w, 2)), "x") << "only a small x counts as a mark";
    EXPECT_EQ(gMainWindow.gSelectedCount, 2);

    gMainWindow.gSelectedCount = 0;
    clickCell(w, 3, 0);
    EXPECT_EQ(selectedOf(idAt(w, 3)), " ");
    EXPECT_EQ(gMainWindow.gSelectedCount, 0);
    EXPECT_EQ(label(w, "lblSelectedCount")->text(), "");
}

TEST_F(GridTest, KeysAndRequeriesNeverToggleMarks)
{
    prepare(8);
    NameList &w = start();
    clickCell(w, 1, 1);
    ASSERT_TRUE(w.grid().gridClicked());
    // Ctrl+Shift+Tab takes the cursor into the mark column by key.
    QTest::keyClick(Table1(w), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(w.grid().gridCol(), 0);
    EXPECT_EQ(count("Select Count(*) from tblContacts Where Selected='x'"), 0);
    QTest::keyClick(Table1(w), Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(Table1(w)->currentIndex().row(), 2);
    EXPECT_EQ(w.grid().gridCol(), 0);
    EXPECT_EQ(count("Select Count(*) from tblContacts Where Selected='x'"), 0);

    // A click sets the flag again; the sort's requery lands the cursor in column 0 of the
    // first row and must not mark it.
    clickCell(w, 3, 2);
    w.listViews().cmbSort_Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(count("Select Count(*) from tblContacts Where Selected='x'"), 0);

    // Working the scroll bar is no click either.
    clickCell(w, 3, 2);
    ASSERT_TRUE(w.grid().gridClicked());
    Table1(w)->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_FALSE(w.grid().gridClicked());
}

TEST_F(GridTest, MarksOfHiddenRowsGoWithRemoveSelectionMarks)
{
    prepare(9);
    NameList &w = start();
    firstClick(w);
    clickCell(w, 1, 0);
    clickCell(w, 5, 0);
    ASSERT_EQ(count("Select Count(*) from tblContacts Where Selected='x'"), 2);
    w.listViews().HideSelectedMenu_Click();
    EXPECT_EQ(shown(w).recordCount(), 7);

    w.listViews().RemoveSelectionsMenu_Click();
    EXPECT_EQ(count("Select Count(*) from tblContacts Where Selected='x'"), 0);
    EXPECT_EQ(gMainWindow.gSelectedCount, 0);
    EXPECT_EQ(label(w, "lblSelectedCount")->text(), "");
    EXPECT_FALSE(w.button("cmdShowSelected")->isVisibleTo(&w));
    EXPECT_EQ(shown(w).recordCount(), 9);
}

TEST_F(GridTest, DetailBoxesFollowTheCurrentRow)
{
    prepare(0);
    before("INSERT INTO tblContacts (FirstName, MiddleName, LastName, Organization, AddressForLabels, "
           "First_Address1, First_City, First_State, First_PostalCode, Second_Address1, Second_City, "
           "Phone1_Desc, Phone1, Phone2_Desc, Phone2, Selected) VALUES ('Ann', '', 'Adams', 'Acme', 1, "
           "'1 Main St', 'Austin', 'TX', '78701', 'PO Box 9', 'Dallas', 'Home', '555-1000', 'Work', '   ', ' "
           "')");
    before("INSERT INTO tblContacts (FirstName, LastName, AddressForLabels, First_City, Second_Address1, "
           "Second_City, Second_Country, Phone3, Selected) VALUES ('Bob', 'Baker', 2, 'Austin', '9 Side Rd', "
           "'Dallas', 'USA', '555-3000', ' ')");
    NameList &w = start();
    EXPECT_EQ(txtName(w)->toPlainText(), "Ann Adams\nAcme\n1 Main St\nAustin, TX 78701");
    EXPECT_EQ(txtPhone(w)->toPlainText(), "Home  555-1000\n") << "a phone of blanks is not listed";

    clickCell(w, 1, 3);
    EXPECT_EQ(txtName(w)->toPlainText(), "Bob Baker\n9 Side Rd\nDallas\nUSA")
        << "the label address is the second";
    EXPECT_EQ(txtPhone(w)->toPlainText(), "  555-3000\n");
}

TEST_F(GridTest, DetailBoxRefilledStartsAtItsTopWithNothingSelected)
{
    prepare(0);
    // Both boxes of phones hold more lines than they show.
    before("INSERT INTO tblContacts (FirstName, LastName, Organization, First_Address1, First_Address2, "
           "First_Address3, First_City, First_State, First_PostalCode, First_Country, Phone1_Desc, Phone1, "
           "Phone2_Desc, Phone2, Phone3_Desc, Phone3, Phone4_Desc, Phone4, Phone5_Desc, Phone5, Phone6_Desc, "
           "Phone6, Selected) VALUES ('Ann', 'Adams', 'Acme Quilting Supplies and Notions of the Greater "
           "Austin Area', 'Suite 100', '1 Main St', 'Building C', 'Austin', 'TX', '78701', 'USA', 'Home', "
           "'555-1000', 'Work', '555-2000', 'Cell', '555-3000', 'Fax', '555-4000', 'Pager', '555-5000', "
           "'Other', '555-6000', ' ')");
    before("INSERT INTO tblContacts (FirstName, LastName, Phone1_Desc, Phone1, Phone2_Desc, Phone2, "
           "Phone3_Desc, Phone3, Phone4_Desc, Phone4, Phone5_Desc, Phone5, Phone6_Desc, Phone6, Selected) "
           "VALUES ('Bob', 'Baker', 'Home', '555-7000', 'Work', '555-7001', 'Cell', '555-7002', 'Fax', "
           "'555-7003', 'Pager', '555-7004', 'Other', '555-7005', ' ')");
    NameList &w = start();
    w.resize(800, 600);
    QCoreApplication::processEvents();
    QPlainTextEdit *box = txtPhone(w);
    ASSERT_EQ(box->toPlainText().count('\n'), 6);
    ASSERT_GT(box->verticalScrollBar()->maximum(), 0) << "the box must be too short for Ann's phones";

    // The user reads down the box and selects some of it.
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
    QTextCursor selecting = box->textCursor();
    selecting.setPosition(5);
    selecting.setPosition(20, QTextCursor::KeepAnchor);
    box->setTextCursor(selecting);
    ASSERT_TRUE(box->textCursor().hasSelection());

    clickCell(w, 1, 3);
    EXPECT_TRUE(box->toPlainText().startsWith("Home  555-7000\nWork  555-7001\n"));
    EXPECT_EQ(box->textCursor().position(), 0);
    EXPECT_FALSE(box->textCursor().hasSelection());
    EXPECT_EQ(box->verticalScrollBar()->value(), 0);
    EXPECT_FALSE(box->document()->isModified());
    EXPECT_FALSE(box->document()->isUndoAvailable()) << "a read-only box has nothing to undo";

    // Back to Ann after reading down Bob's: her box starts at its top again.
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
    ASSERT_GT(box->verticalScrollBar()->value(), 0);
    clickCell(w, 0, 3);
    EXPECT_TRUE(box->toPlainText().startsWith("Home  555-1000\nWork  555-2000\n"));
    EXPECT_EQ(box->verticalScrollBar()->value(), 0);
    EXPECT_EQ(box->textCursor().position(), 0);
    EXPECT_EQ(txtName(w)->textCursor().position(), 0);
    EXPECT_EQ(txtName(w)->toPlainText().section('\n', 0, 0), "Ann Adams");
}

TEST_F(GridTest, EnterOpensTheEditorOnTheCurrentContact)
{
    prepare(5);
    NameList &w = start();
    clickCell(w, 3, 2);
    const QString lastName = current(w, "LastName").toString();
    bool existing = false;
    bool buttonsOff = false;
    QString caption;
    QString shownName;
    script.onModal("NameEdit", [&](QWidget *editor) {
        existing = gEditor.gEditExistingRecord;
        buttonsOff = !w.button("cmdEdit")->isEnabled() && !w.button("cmdAdd")->isEnabled() &&
                     !w.button("cmdDelete")->isEnabled() && !w.button("cmdExit")->isEnabled();
        caption = editor->windowTitle();
        shownName = editor->findChild<QLineEdit *>("txtLastName")->text();
        DialogScript::click(editor, "cmdCancel");
    });
    QTest::keyClick(Table1(w), Qt::Key_Return);
    EXPECT_TRUE(existing);
    EXPECT_TRUE(buttonsOff);
    EXPECT_EQ(caption, "View/Edit an Existing Record");
    EXPECT_EQ(shownName, lastName);
    EXPECT_FALSE(gEditor.gEditExistingRecord);
    EXPECT_TRUE(w.button("cmdEdit")->isEnabled());
    EXPECT_TRUE(w.button("cmdAdd")->isEnabled());
}

TEST_F(GridTest, ADoubleClickOnARowOpensOneEditorOnThatContact)
{
    prepare(5);
    NameList &w = start();
    int opened = 0;
    QString shownName;
    script.onModal("NameEdit", [&](QWidget *editor) {
        ++opened;
        shownName = editor->findChild<QLineEdit *>("txtLastName")->text();
        DialogScript::click(editor, "cmdCancel");
    });
    // As the window system delivers a double-click: a click, then the second press.
    const QPoint at = cellCentre(w, 2, 2);
    QTest::mouseClick(Table1(w)->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(Table1(w)->viewport(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(script.shown(platform::DialogKind::ModalForm).size(), 1u);
    EXPECT_EQ(shownName, current(w, "LastName").toString());
    EXPECT_TRUE(w.button("cmdEdit")->isEnabled());
}

TEST_F(GridTest, EnterInAnEmptyListGivesTheViewEditMessage)
{
    prepare(0);
    NameList &w = start();
    script.answerMessage(platform::vbOK);
    QTest::keyClick(Table1(w), Qt::Key_Return);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "No records to View or Edit");
    EXPECT_EQ(script.shown()[0].icon, platform::vbInformation);
}

TEST_F(GridTest, TypingInTheGridGoesToTheLocateBoxLiterally)
{
    prepare(60);
    NameList &w = start();
    clickCell(w, 10, 2);
    QTest::keyClick(Table1(w), Qt::Key_D, Qt::NoModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(txtLocate(w)->text(), "d");
    EXPECT_TRUE(txtLocate(w)->hasFocus());
    EXPECT_TRUE(current(w, "LastName").toString().startsWith("D", Qt::CaseInsensitive));

    // Characters the key-string syntax would read as keys arrive as themselves.
    Table1(w)->setFocus();
    QTest::keyClick(Table1(w), '(');
    QCoreApplication::processEvents();
    EXPECT_EQ(txtLocate(w)->text(), "(");
    Table1(w)->setFocus();
    QTest::keyClick(Table1(w), '+');
    QCoreApplication::processEvents();
    EXPECT_EQ(txtLocate(w)->text(), "+");
}

TEST_F(GridTest, WithGridEditingOnALetterEditsTheCell)
{
    prepare(4);
    NameList &w = start();
    w.grid().GridEditMenu_Click();
    clickCell(w, 1, 2);
    QTest::keyClick(Table1(w), Qt::Key_Q);
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.grid().gridEditActive());
    EXPECT_EQ(txtLocate(w)->text(), "");
    QWidget *editor = QApplication::focusWidget();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.grid().gridEditActive());
}

TEST_F(GridTest, DeleteHomeEndInsertAndLeftDoNothingOutsideACellEdit)
{
    prepare(6);
    NameList &w = start();
    clickCell(w, 2, 3);
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Home, Qt::Key_End, Qt::Key_Delete, Qt::Key_Insert}) {
        QTest::keyClick(Table1(w), key);
        QCoreApplication::processEvents();
        EXPECT_EQ(w.grid().gridCol(), 3) << key;
        EXPECT_EQ(Table1(w)->currentIndex().row(), 2) << key;
    }
    EXPECT_EQ(shown(w).recordCount(), 6);
    QTest::keyClick(Table1(w), Qt::Key_Right);
    EXPECT_EQ(w.grid().gridCol(), 4);
    QTest::keyClick(Table1(w), Qt::Key_F7);
    EXPECT_EQ(txtLocate(w)->text(), "") << "a key that types nothing is not passed on";
}

TEST_F(GridTest, TwoHeadingClicksMoveAColumnAndTheLayoutFileKeepsIt)
{
    prepare(3);
    QString moved;
    QString pushed;
    {
        NameList &w = start();
        QAbstractItemModel *model = Table1(w)->model();
        const QString third = model->headerData(3, Qt::Horizontal).toString();
        const QString first = model->headerData(1, Qt::Horizontal).toString();
        const QString thirdField = w.columnLayout().binding()->model()->columns()[3].dataField;
        const QString firstField = w.columnLayout().binding()->model()->columns()[1].dataField;

        script.answerMessage(platform::vbOK);
        clickHeading(w, 3);
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(script.shown()[0].title, "Column move started");
        EXPECT_EQ(script.shown()[0].text, "The next column heading you click will cause the " + third +
                                              " column to move beside that column.");
        EXPECT_EQ(script.shown()[0].buttons, platform::vbOKCancel);
        EXPECT_EQ(script.shown()[0].icon, platform::vbInformation);
        EXPECT_EQ(w.grid().movingColumn(), 3);

        // To the left: it lands just left of the column clicked.
        clickHeading(w, 1);
        EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), third);
        EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), first);
        EXPECT_EQ(model->columnCount(), 60);
        EXPECT_EQ(w.grid().movingColumn(), 0);
        EXPECT_TRUE(w.columnLayout().columnsChanged());
        EXPECT_EQ(model->index(0, 1).data(), model->index(0, 1).data()) << "the grid still shows rows";

        // And a resize on top of it.
        Table1(w)->horizontalHeader()->resizeSection(2, 150);
        moved = thirdField;
        pushed = firstField;
        StartedProgram::closeWindow();
    }
    const QList<ColumnLayoutFile::Column> read = ColumnLayoutFile::read(59);
    ASSERT_EQ(read.size(), 59);
    EXPECT_EQ(read[0].dataField, moved) << "the moved column is first in the file";
    EXPECT_EQ(read[1].dataField, pushed);
    EXPECT_EQ(read[1].width, platform::DataGrid::pixelsToTwips(150, nullptr));
}

TEST_F(GridTest, ColumnMoveToTheRightToColumnZeroAndCancelled)
{
    prepare(3);
    NameList &w = start();
    QAbstractItemModel *model = Table1(w)->model();
    const auto heading = [model](int i) { return model->headerData(i, Qt::Horizontal).toString(); };
    const QString h1 = heading(1), h2 = heading(2), h3 = heading(3);

    clickHeading(w, 0);
    EXPECT_TRUE(script.shown().empty()) << "the mark column cannot be moved";

    script.answerMessage(platform::vbOK);
    clickHeading(w, 1);
    clickHeading(w, 3);
    EXPECT_EQ(heading(1), h2);
    EXPECT_EQ(heading(2), h3);
    EXPECT_EQ(heading(3), h1) << "moved right, it lands just right of the column clicked";

    script.answerMessage(platform::vbOK);
    clickHeading(w, 3);
    clickHeading(w, 0);
    EXPECT_EQ(heading(1), h1) << "the mark column's heading puts it first";

    script.answerMessage(platform::vbCancel);
    clickHeading(w, 2);
    EXPECT_EQ(w.grid().movingColumn(), 0);
    script.answerMessage(platform::vbOK);
    clickHeading(w, 3);
    EXPECT_EQ(script.shown().size(), 4u) << "after Cancel the next click starts a new move";
    EXPECT_EQ(w.grid().movingColumn(), 3);
    QTest::keyClick(Table1(w), Qt::Key_Down);
    EXPECT_EQ(w.grid().movingColumn(), 0) << "a key drops the pending move";
    EXPECT_EQ(heading(3), h3);
}

TEST_F(GridTest, AGridEditStampsTheUpdateDateInTheSameWrite)
{
    prepare(4);
    NameList &w = start();
    const QDateTime stamp(QDate(2026, 3, 4), QTime(10, 20, 30));
    platform::setClockForTesting([stamp] { return stamp; });

    // Count the row writes the database sees.
    sqlite3 *db = gDb->handle();
    ASSERT_EQ(
        sqlite3_exec(db,
                     "CREATE TEMP TABLE writes (n INTEGER); CREATE TEMP TRIGGER counted AFTER UPDATE ON "
                     "main.tblContacts BEGIN INSERT INTO writes VALUES (1); END;",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);

    w.grid().GridEditMenu_Click();
    clickCell(w, 2, 2);
    const qint64 id = idAt(w, 2);
    const int column = 2;
    const QString field = w.columnLayout().binding()->model()->columns()[column].dataField;
    Table1(w)->edit(Table1(w)->model()->index(2, column));
    QCoreApplication::processEvents();
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(w.grid().gridEditActive());
    editor->setText("Quentin");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.grid().gridEditActive());

    auto rs = gDb->openRecordset(QStringLiteral("Select * from tblContacts Where RecordID = %1").arg(id));
    EXPECT_EQ(rs->value(field).toString(), "Quentin");
    EXPECT_EQ(rs->value("DateUpdated").toDateTime(), stamp);
    EXPECT_EQ(writes(), 1);

    // Leaving a cell as it was writes nothing.
    Table1(w)->edit(Table1(w)->model()->index(1, column));
    QCoreApplication::processEvents();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(writes(), 1);
}

TEST_F(GridTest, ARefusedCellEditIsReportedAndLeavesTheRow)
{
    prepare(2);
    NameList &w = start();
    w.grid().GridEditMenu_Click();
    const int column = 2;
    const qint64 id = idAt(w, 0);
    const QString field = w.columnLayout().binding()->model()->columns()[column].dataField;
    const QString before = shown(w).valueAt(0, shown(w).fieldIndex(field)).toString();
    script.answerMessage(platform::vbOK);
    EXPECT_FALSE(w.grid().Table1_WriteCell(0, column, QString(300, QLatin1Char('a'))));
    ASSERT_EQ(script.shown().size(), 1u);
    auto rs = gDb->openRecordset(QStringLiteral("Select * from tblContacts Where RecordID = %1").arg(id));
    EXPECT_EQ(rs->value(field).toString(), before);
}

TEST_F(GridTest, MenuShortcutsReachTheWindowFromTheGrid)
{
    prepare(3);
    NameList &w = start();
    clickCell(w, 1, 2);
    ASSERT_TRUE(Table1(w)->hasFocus());
    QStringList captions;
    const auto closeEditor = [&](QWidget *editor) {
        captions.append(editor->windowTitle());
        DialogScript::click(editor, "cmdCancel");
    };
    // Through the window system, as a real key press comes, to the grid that has the focus.
    script.onModal("NameEdit", closeEditor);
    QTest::keyClick(w.windowHandle(), Qt::Key_E, Qt::ControlModifier);
    QCoreApplication::processEvents();
    // Offscreen, nothing gives the window back its activation after the editor closes.
    QApplication::setActiveWindow(&w);
    Table1(w)->setFocus();
    script.onModal("NameEdit", closeEditor);
    QTest::keyClick(w.windowHandle(), Qt::Key_A, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(captions, QStringList({"View/Edit an Existing Record", "Add a New Record"}));
    EXPECT_EQ(txtLocate(w)->text(), "") << "a shortcut is no typing";
}

namespace {

// The boxes show a Hebrew contact in the order paper prints it: every line a left-to-right
// paragraph whatever its first letter, each right-to-left field in its own isolate, so the
// city stands before its state and postal code and a description before its number.
TEST_F(GridTest, DetailBoxesShowRightToLeftFieldsInThePrintedOrder)
{
    prepare(0);
    before("INSERT INTO tblContacts (FirstName, LastName, First_City, First_State, First_PostalCode, Phone1_Desc, "
           "Phone1, Selected) VALUES ('דוד', 'כהן', 'תל אביב', 'CA', '90210', 'נייד', '555-0100', ' ')");
    NameList &w = start();
    const auto fenced = [](const char *field) {
        return QChar(platform::FirstStrongIsolate) + QString::fromUtf8(field) + QChar(platform::PopDirectionalIsolate);
    };
    EXPECT_EQ(txtName(w)->toPlainText(), fenced("דוד") + u' ' + fenced("כהן") + u'\n' + fenced("תל אביב") + ", CA 90210");
    EXPECT_EQ(txtPhone(w)->toPlainText(), fenced("נייד") + "  555-0100\n");
    const std::pair<QTextBlock, QChar> lines[] = {{txtName(w)->document()->lastBlock(), u'C'},
                                                  {txtPhone(w)->document()->firstBlock(), u'5'}};
    for (const auto &[block, latin] : lines) {
        ASSERT_NE(block.layout(), nullptr);
        EXPECT_EQ(block.layout()->textOption().textDirection(), Qt::LeftToRight);
        // The Latin part stands right of the field before it.
        const QTextLine line = block.layout()->lineAt(0);
        ASSERT_TRUE(line.isValid());
        EXPECT_GT(line.cursorToX(int(block.text().indexOf(latin))), line.cursorToX(1));
    }
}

// A cell is one line: a tab, another control character or a line end in a field shows as a
// blank there, never as a gap wider than the cell, a box, or a cut at the first line.
TEST_F(GridTest, ControlCharactersAndLineEndsShowAsBlanksInACell)
{
    prepare(0);
    before(QString::fromUtf16(u"INSERT INTO tblContacts (LastName, Phone1_Desc, Selected) "
                              u"VALUES ('Lee', '\tWork\u2028Home\r\nx\vy', ' ')"));
    NameList &w = start();
    QAbstractItemModel *model = Table1(w)->model();
    int column = 0;
    while (column < model->columnCount() && model->headerData(column, Qt::Horizontal) != "Phone 1 Desc")
        ++column;
    const auto *delegate = static_cast<QStyledItemDelegate *>(Table1(w)->itemDelegate());
    EXPECT_EQ(delegate->displayText(model->index(0, column).data(), {}), " Work Home x y");
}

} // namespace

// Each way of ending a cell's edit: the editor's own keys, a click elsewhere, a command.
using EndOfEdit = std::pair<const char *, void (*)(NameList &)>;

// A click on a control that does nothing more with it: the press takes the focus, and the
// button comes up.
void clickFocusing(QWidget *control)
{
    control->setFocus(Qt::MouseFocusReason);
    QTest::mouseRelease(control, Qt::LeftButton);
    QCoreApplication::processEvents();
}

class TypedCellTest : public GridTest, public ::testing::WithParamInterface<EndOfEdit> {};

// The value is stored before the edit ends; one the database refuses is told and stays in
// its cell, holding the list and the window until it is put right.
TEST_P(TypedCellTest, IsStoredBeforeTheEditEnds)
{
    prepare(3);
    NameList &w = start();
    w.grid().GridEditMenu_Click();
    const QModelIndex cell = Table1(w)->model()->index(0, 2);
    const QString sql = "Select " + w.columnLayout().binding()->model()->columns()[2].dataField +
                        QStringLiteral(" from tblContacts Where RecordID = %1").arg(idAt(w, 0));
    Table1(w)->edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(Table1(w)->indexWidget(cell));
    ASSERT_NE(editor, nullptr);
    editor->setText(QString(300, QLatin1Char('a')));
    script.answerMessage(platform::vbOK);
    GetParam().second(w);
    EXPECT_EQ(script.shown().size(), 1u);
    EXPECT_TRUE(w.isLoaded() && Table1(w)->indexWidget(cell) == editor); // no requery, no close
    editor->setText("CLOSED");
    GetParam().second(w);
    EXPECT_EQ(platform::Database::open(path)->openRecordset(sql)->value(0).toString(), "CLOSED");
    if (GetParam().first == std::string_view("ClickOnAnotherRow")) { // then lands where it was aimed
        EXPECT_FALSE(w.grid().gridEditActive());
        EXPECT_EQ(Table1(w)->currentIndex().row(), 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Routes, TypedCellTest,
    ::testing::Values(
        EndOfEdit{"Tab", [](NameList &) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }},
        EndOfEdit{"Enter", [](NameList &) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }},
        EndOfEdit{"ClickOnAnotherRow",
                  [](NameList &w) {
                      const QModelIndex row = Table1(w)->model()->index(2, 2);
                      QTest::mouseClick(Table1(w)->viewport(), Qt::LeftButton, {},
                                        Table1(w)->visualRect(row).center());
                      QCoreApplication::processEvents();
                  }},
        EndOfEdit{"ClickOnTheSortByBox", [](NameList &w) { clickFocusing(w.findChild<QWidget *>("cmbSort")); }},
        EndOfEdit{"ClickOnViewEdit", [](NameList &w) { clickFocusing(w.button("cmdEdit")); }},
        EndOfEdit{"TitleBarClose", [](NameList &w) { w.close(); }},
        // A press in the same millisecond as the last release is the keyboard repeating it.
        EndOfEdit{"ShowAllByItsKeys",
                  [](NameList &w) {
                      QTest::qSleep(2);
                      QTest::keyClick(w.windowHandle(), Qt::Key_R, Qt::ControlModifier);
                  }},
        EndOfEdit{"ShowSelectedOnly", [](NameList &w) { w.menuItem("ShowSelectedOnlyMenu")->trigger(); }},
        EndOfEdit{"MenuExit", [](NameList &w) { w.menuItem("FileExit")->trigger(); }}),
    [](const auto &info) { return std::string(info.param.first); });

TEST_F(GridTest, ALayoutFileThatCannotBeWrittenIsTold)
{
    prepare(3);
    NameList &w = start();
    ASSERT_TRUE(QDir().mkpath(ColumnLayoutFile::path())) << "a folder of the file's name";
    Table1(w)->horizontalHeader()->resizeSection(2, 150);
    script.answerMessage(platform::vbOK);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(script.shown().at(0).text,
              "The column layout file \"" + QDir::toNativeSeparators(ColumnLayoutFile::path()) +
                  "\" could not be written. A folder of that name is in the way. The "
                  "columns will show as they were saved before.");
    EXPECT_EQ(script.shown().at(0).title, "Column layout not saved");
}
