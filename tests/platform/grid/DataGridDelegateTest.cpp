#include "platform/grid/DataGridDelegate.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <gtest/gtest.h>

using platform::DataGridDelegate;

namespace {

// A small list with blank and filled cells, one row of them coloured.
void fill(QStandardItemModel &model)
{
    model.setRowCount(6);
    model.setColumnCount(4);
    for (int row = 0; row < model.rowCount(); ++row)
        for (int column = 0; column < model.columnCount(); ++column)
            if ((row + column) % 3 != 0)
                model.setData(model.index(row, column), QStringLiteral("Cell %1.%2 with some text").arg(row).arg(column));
    model.setData(model.index(4, 0), QBrush(Qt::yellow), Qt::BackgroundRole);
    model.setData(model.index(5, 3), Qt::Checked, Qt::CheckStateRole);
}

QImage shown(QAbstractItemDelegate *delegate, int currentRow, int currentColumn)
{
    QStandardItemModel model;
    fill(model);
    QTableView view;
    view.setModel(&model);
    view.setItemDelegate(delegate);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.resize(520, 220);
    view.show();
    view.setFocus();
    view.setCurrentIndex(model.index(currentRow, currentColumn));
    QCoreApplication::processEvents();
    return view.grab().toImage();
}

TEST(DataGridDelegateTest, TheGridLooksAsTheStockDelegateDrawsIt)
{
    // Current cells blank and filled, on plain rows and next to the coloured ones.
    const QPoint currents[] = {{0, 0}, {1, 2}, {3, 0}, {4, 1}, {5, 3}};
    for (const QPoint &current : currents) {
        SCOPED_TRACE(current.x());
        QStyledItemDelegate stock;
        DataGridDelegate leaner;
        const QImage expected = shown(&stock, current.x(), current.y());
        const QImage actual = shown(&leaner, current.x(), current.y());
        ASSERT_EQ(actual.size(), expected.size());
        EXPECT_TRUE(actual == expected);
    }
}

TEST(DataGridDelegateTest, OnlyABlankCellThatIsNotMarkedDrawsNothing)
{
    QStandardItemModel model;
    fill(model);
    struct Case {
        const char *what;
        QModelIndex index;
        QStyle::State state;
        bool drawsNothing;
    };
    const Case cases[] = {
        {"blank", model.index(0, 0), QStyle::State_Enabled, true},
        {"filled", model.index(0, 1), QStyle::State_Enabled, false},
        {"blank and selected", model.index(0, 0), QStyle::State_Enabled | QStyle::State_Selected, false},
        {"blank and current", model.index(0, 0), QStyle::State_Enabled | QStyle::State_HasFocus, false},
        {"blank under the mouse", model.index(0, 0), QStyle::State_Enabled | QStyle::State_MouseOver, false},
        {"blank with a colour", model.index(4, 0), QStyle::State_Enabled, false},
        {"blank with a check mark", model.index(5, 3), QStyle::State_Enabled, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QStyleOptionViewItem option;
        option.state = c.state;
        EXPECT_EQ(DataGridDelegate::drawsNothing(option, c.index), c.drawsNothing);
    }
}

} // namespace
