#include "platform/grid/DataGrid.h"
#include "platform/db/DataControl.h"
#include "platform/db/jet/JetQuote.h"
#include "support/ExpectRuntimeError.h"
#include "support/TempDatabase.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

namespace {

class DataGridTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        const QList<QPair<QString, QString>> people{
            {"Carter", "Ann"}, {"Adams", "Bob"}, {"O'Hara", "Cid"}, {"Baker", "Dee"}};
        for (const auto &p : people)
            temp.db().execute(
                QStringLiteral("INSERT INTO tblContacts (LastName, FirstName, Date1, PrintNotes) "
                               "VALUES (%1, %2, '2024-12-25', -1)")
                    .arg(jetQuote(p.first), jetQuote(p.second)));
        data.setDatabase(&temp.db());
        data.setRecordSource("Select * from  tblContacts Order By LastName, FirstName ");
    }

    QList<GridColumn> columns() const
    {
        return {{"Last Name", "LastName", 1440, Qt::AlignLeft},
                {"First", "FirstName", 2880, Qt::AlignLeft},
                {"Birthday", "Date1", 1200, Qt::AlignRight},
                {"Notes?", "PrintNotes", 600, Qt::AlignHCenter},
                {"Gone", "NoSuchField", 500, Qt::AlignLeft}};
    }

    TempDatabase temp;
    DataControl data;
};

} // namespace

TEST_F(DataGridTest, DataControlOpensItsSourceAndSignalsMoves)
{
    EXPECT_EQ(data.recordset(), nullptr);
    QSignalSpy moved(&data, &DataControl::reposition);
    QSignalSpy changed(&data, &DataControl::recordsetChanged);
    data.refresh();
    ASSERT_NE(data.recordset(), nullptr);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(data.recordset()->value("FirstName").toString(), "Bob");
    data.recordset()->moveNext();
    EXPECT_EQ(moved.count(), 2);

    Recordset *before = data.recordset();
    data.setRecordSource("Select * from tblContacts; DELETE FROM tblContacts");
    EXPECT_RUNTIME_ERROR_IN(data.refresh(), {3075, 3142});
    EXPECT_EQ(data.recordset(), before) << "a source that fails leaves the rows shown";
    EXPECT_EQ(data.recordset()->recordCount(), 4);

    data.setRecordSource("Select * from tblContacts Where LastName >= 'C' Order By LastName");
    data.refresh();
    EXPECT_EQ(data.recordset()->recordCount(), 2);
    data.clear();
    EXPECT_EQ(data.recordset(), nullptr);
}

TEST_F(DataGridTest, ModelShowsColumnsAndPassesTheModelTester)
{
    DataGridModel model(&data);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setColumns(columns());
    EXPECT_EQ(model.rowCount(), 0);
    data.refresh();
    ASSERT_EQ(model.rowCount(), 4);
    ASSERT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Last Name");
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "Adams");
    EXPECT_EQ(model.data(model.index(2, 0)).toString(), "Carter");
    EXPECT_EQ(model.data(model.index(3, 0)).toString(), "O'Hara");
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), "12/25/2024");
    EXPECT_EQ(model.data(model.index(0, 3)).toString(), "True");
    EXPECT_EQ(model.data(model.index(0, 4)).toString(), "");
    EXPECT_EQ(model.data(model.index(0, 2), Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);

    // Rows follow deletes, additions and requeries of the record set.
    Recordset *rs = data.recordset();
    rs->moveNext();
    rs->deleteRecord();
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), "Carter");
    rs->addNew();
    rs->setValue("LastName", "Aaron");
    rs->update();
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.data(model.index(3, 0)).toString(), "Aaron");
    data.refresh();
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "Aaron");

    model.setEditable(true);
    EXPECT_TRUE(model.flags(model.index(1, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(1, 4)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.setData(model.index(1, 1), "Robert"));
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), "Robert");
    EXPECT_EQ(temp.db().openRecordset("Select * from tblContacts Where FirstName = 'Robert'")->recordCount(),
              1);
}

TEST_F(DataGridTest, GridKeepsTheCurrentRowInStepBothWays)
{
    QTableView view;
    DataGrid grid(&view, &data);
    grid.setColumns(columns());
    grid.setRowHeightTwips(300);
    data.refresh();
    view.resize(600, 300);
    view.show();

    EXPECT_EQ(view.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(view.verticalHeader()->defaultSectionSize(), DataGrid::twipsToPixels(300, &view));
    EXPECT_EQ(view.columnWidth(1), DataGrid::twipsToPixels(2880, &view));
    EXPECT_EQ(view.currentIndex().row(), 0);

    data.recordset()->moveLast();
    EXPECT_EQ(view.currentIndex().row(), 3);
    data.recordset()->findFirst("LastName = 'Baker'");
    EXPECT_EQ(view.currentIndex().row(), 1);

    view.setCurrentIndex(grid.model()->index(2, 0));
    EXPECT_EQ(data.recordset()->value("LastName").toString(), "Carter");
    EXPECT_EQ(data.recordset()->absolutePosition(), 2);
    // The view's drag selection (a press near the foot that scrolls the list under a still
    // pointer) moves the highlight alone; it goes back to the record shown.
    view.selectionModel()->select(grid.model()->index(3, 0),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(view.selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(view.selectionModel()->selectedRows().value(0).row(), 2);

    view.horizontalHeader()->moveSection(1, 0);
    const QList<GridColumn> shown = grid.columnsAsShown();
    EXPECT_EQ(shown[0].dataField, "FirstName");
    EXPECT_EQ(shown[1].dataField, "LastName");
    EXPECT_NEAR(shown[0].widthTwips, 2880, 15);

    data.refresh();
    EXPECT_EQ(view.currentIndex().row(), 0) << "a refresh puts both on the first row";
}

TEST_F(DataGridTest, GridBoundToAnOpenListTakesRowHeightAndColumnsAtOnce)
{
    data.refresh();
    data.recordset()->findFirst("LastName = 'Carter'");
    QTableView view;
    QSignalSpy rowsResized(view.verticalHeader(), &QHeaderView::sectionResized);
    DataGrid grid(&view, &data, nullptr, 300, columns());

    EXPECT_EQ(rowsResized.count(), 0) << "rows are born at their height, never resized one by one";
    EXPECT_EQ(view.verticalHeader()->defaultSectionSize(), DataGrid::twipsToPixels(300, &view));
    EXPECT_EQ(view.verticalHeader()->sectionSize(3), DataGrid::twipsToPixels(300, &view));
    EXPECT_EQ(view.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    ASSERT_EQ(grid.model()->columnCount(), 5);
    EXPECT_EQ(grid.model()->headerData(2, Qt::Horizontal).toString(), "Birthday");
    EXPECT_EQ(view.columnWidth(0), DataGrid::twipsToPixels(1440, &view));
    EXPECT_EQ(view.columnWidth(1), DataGrid::twipsToPixels(2880, &view));
    EXPECT_EQ(view.currentIndex().row(), 2) << "the view starts on the list's current contact";
    EXPECT_EQ(grid.model()->data(grid.model()->index(2, 1)).toString(), "Ann");

    // The binding keeps both in step afterwards as one made empty and filled later does.
    data.recordset()->moveFirst();
    EXPECT_EQ(view.currentIndex().row(), 0);
    view.setCurrentIndex(grid.model()->index(3, 0));
    EXPECT_EQ(data.recordset()->value("LastName").toString(), "O'Hara");
}

TEST_F(DataGridTest, AWiderLookScalesEveryColumnAndKeepsTheWidthsTheyWereGiven)
{
    data.refresh();
    QTableView view;
    QList<GridColumn> given = columns();
    given[0].widthTwips = 1234.567;
    DataGrid grid(&view, &data, nullptr, 300, given);
    // The user drags the birthday column wider.
    view.horizontalHeader()->resizeSection(2, 200);

    grid.setColumnWidthScale(1.75);
    EXPECT_EQ(view.columnWidth(0), qRound(1234.567 * view.logicalDpiX() / 1440.0 * 1.75));
    EXPECT_EQ(view.columnWidth(1), grid.columnPixels(2880));
    EXPECT_EQ(view.columnWidth(2), 350) << "a dragged width widens by the same share";

    QList<GridColumn> shown = grid.columnsAsShown();
    EXPECT_EQ(shown[0].widthTwips, 1234.567) << "untouched: the width as given";
    EXPECT_EQ(shown[1].widthTwips, 2880);
    EXPECT_EQ(shown[2].widthTwips, DataGrid::pixelsToTwips(200, &view)) << "in the unscaled look's twips";

    grid.setColumnWidthScale(1.0);
    EXPECT_EQ(view.columnWidth(1), DataGrid::twipsToPixels(2880, &view));
    EXPECT_EQ(view.columnWidth(2), 200);
    EXPECT_EQ(grid.columnsAsShown()[0].widthTwips, 1234.567);
}

TEST_F(DataGridTest, ALongListShowsAtOnceAndIsReadAheadOnceItHasPainted)
{
    temp.db().beginTrans();
    for (int i = 0; i < 9000; ++i)
        temp.db().execute(QStringLiteral("INSERT INTO tblContacts (LastName) VALUES ('Z%1')")
                              .arg(i, 4, 10, QLatin1Char('0')));
    temp.db().commitTrans();
    data.refresh();
    Recordset *rs = data.recordset();
    QTableView view;
    view.resize(400, 300);
    DataGrid grid(&view, &data, nullptr, 300, columns());
    EXPECT_EQ(grid.model()->rowCount(), 9004) << "the scroll bar knows the whole list at once";
    EXPECT_TRUE(rs->collectMoreRows(0)) << "nothing beyond the first rows is read before the grid paints";

    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    // Read in steps while events run; not all in the paint itself.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !rs->collectMoreRows(0); }));
    rs->moveLast();
    EXPECT_EQ(rs->value("LastName").toString(), "Z8999");
    EXPECT_EQ(view.currentIndex().row(), 9003);

    // A list opened again is read ahead again once painted.
    data.refresh();
    EXPECT_TRUE(data.recordset()->collectMoreRows(0));
    view.viewport()->update();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !data.recordset()->collectMoreRows(0); }));
}
