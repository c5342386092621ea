#include "platform/grid/DataGridDelegate.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <gtest/gtest.h>

#include <iterator>

using platform::DataGridDelegate;

namespace {

// A small list with blank and filled cells: texts that fit and texts cut short, columns
// aligned left, centred and right, one in a bold and one in a larger font, a coloured
// cell and a check mark.
void fill(QStandardItemModel &model)
{
    model.setRowCount(7);
    model.setColumnCount(5);
    const QString texts[] = {QStringLiteral("Ann"), QStringLiteral("Cell with rather more text than fits"),
                             QStringLiteral("Ünïcødé Ægir"), QStringLiteral("(555) 010-0001"),
                             QStringLiteral(" blanks around "), QStringLiteral("Tab\there"),
                             QStringLiteral("שלום Shalom")};
    for (int row = 0; row < model.rowCount(); ++row)
        for (int column = 0; column < model.columnCount(); ++column)
            if ((row + column) % 3 != 0)
                model.setData(model.index(row, column), texts[(row * 2 + column) % int(std::size(texts))]);
    for (int row = 0; row < model.rowCount(); ++row) {
        model.setData(model.index(row, 2), int(Qt::AlignHCenter | Qt::AlignVCenter), Qt::TextAlignmentRole);
        model.setData(model.index(row, 3), int(Qt::AlignRight | Qt::AlignVCenter), Qt::TextAlignmentRole);
        QFont bold;
        bold.setBold(true);
        model.setData(model.index(row, 4), bold, Qt::FontRole);
        QFont larger;
        larger.setPointSizeF(10.5);
        model.setData(model.index(row, 0), larger, Qt::FontRole);
    }
    model.setData(model.index(3, 0), QBrush(Qt::yellow), Qt::BackgroundRole);
    model.setData(model.index(0, 3), Qt::Checked, Qt::CheckStateRole);
    model.setData(model.index(6, 1), QStringLiteral("two\nlines"));
}

// The option a view fills in for a cell.
struct Probe : DataGridDelegate {
    using DataGridDelegate::initStyleOption;
};

QImage shown(QAbstractItemDelegate *delegate, int currentRow, int currentColumn)
{
    QStandardItemModel model;
    fill(model);
    QTableView view;
    view.setModel(&model);
    view.setItemDelegate(delegate);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    // As the grids show their cells: one line each.
    view.setWordWrap(false);
    view.setColumnWidth(1, 90);
    view.resize(620, 260);
    view.show();
    view.setFocus();
    view.setCurrentIndex(model.index(currentRow, currentColumn));
    QCoreApplication::processEvents();
    return view.grab().toImage();
}

TEST(DataGridDelegateTest, TheGridLooksAsTheStockDelegateDrawsIt)
{
    // Current cells blank and filled, on plain rows and next to the coloured ones.
    const QPoint currents[] = {{0, 0}, {1, 2}, {3, 0}, {4, 1}, {0, 3}, {6, 4}};
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

TEST(DataGridDelegateTest, HowEachKindOfCellIsDrawn)
{
    QStandardItemModel model;
    fill(model);
    QTableView view;
    view.setModel(&model);
    struct Case {
        const char *what;
        QModelIndex index;
        QStyle::State state;
        bool drawsNothing;
        bool plainText;
    };
    const QStyle::State enabled = QStyle::State_Enabled;
    const Case cases[] = {
        {"blank", model.index(0, 0), enabled, true, false},
        {"blank and selected", model.index(0, 0), enabled | QStyle::State_Selected, false, false},
        {"blank and current", model.index(0, 0), enabled | QStyle::State_HasFocus, false, false},
        {"blank under the mouse", model.index(0, 0), enabled | QStyle::State_MouseOver, false, false},
        {"blank with a colour", model.index(3, 0), enabled, false, false},
        {"blank with a check mark", model.index(0, 3), enabled, false, false},
        {"one line", model.index(0, 1), enabled, false, true},
        {"one line, selected", model.index(0, 1), enabled | QStyle::State_Selected, false, true},
        {"one line, the current cell", model.index(0, 1), enabled | QStyle::State_HasFocus, false, false},
        {"two lines", model.index(6, 1), enabled, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QStyleOptionViewItem option;
        option.widget = &view;
        option.showDecorationSelected = true;
        option.state = c.state;
        Probe().initStyleOption(&option, c.index);
        EXPECT_EQ(DataGridDelegate::drawsNothing(option), c.drawsNothing);
        EXPECT_EQ(DataGridDelegate::drawsPlainText(option), c.plainText);
    }
}

} // namespace
