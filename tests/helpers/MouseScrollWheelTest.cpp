#include "helpers/MouseWheelWindow.h"
#include "helpers/mMouseScrollWheel.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

struct WheelCall {
    int keys, rotation, x, y;
};

// A window with a grid of 100 rows, as the main and category windows are: its MouseWheel
// entry passes the turn on to the grid.
class GridWindow : public QWidget, public MouseWheelWindow {
  public:
    QTableView *grid;
    QLineEdit *locate;
    QPlainTextEdit *notes;
    QStandardItemModel model{100, 2};
    QList<WheelCall> calls;

    GridWindow()
    {
        for (int row = 0; row < model.rowCount(); ++row)
            model.setItem(row, 0, new QStandardItem(QStringLiteral("Contact %1").arg(row)));
        auto *layout = new QVBoxLayout(this);
        locate = new QLineEdit(this);
        grid = new QTableView(this);
        grid->setModel(&model);
        grid->verticalHeader()->setDefaultSectionSize(20);
        notes = new QPlainTextEdit(QString(200, QLatin1Char('\n')), this);
        layout->addWidget(locate);
        layout->addWidget(grid);
        layout->addWidget(notes);
        setGeometry(100, 100, 400, 500);
        show();
        QCoreApplication::processEvents();
    }

    void MouseWheel(int MouseKeys, int Rotation, int Xpos, int Ypos) override
    {
        calls.append({MouseKeys, Rotation, Xpos, Ypos});
        ScrollGridByWheel(grid, MouseKeys, Rotation, Xpos, Ypos);
    }

    int topRow() const { return grid->rowAt(0); }
};

// A wheel turn as the window system delivers it: to the widget under the given screen point,
// then on up its parents while each ignores it. (Qt walks the parents for wheel events from the
// window system; the walk is spelled out here because it skips events sent by a program.)
void turnWheel(QWidget *target, int delta, QPoint global, Qt::KeyboardModifiers mods = {},
               Qt::MouseButtons buttons = {}, QPoint angle = {})
{
    for (QWidget *w = target; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        QWheelEvent event(w->mapFromGlobal(global), global, QPoint(),
                          angle.isNull() ? QPoint(0, delta) : angle, buttons, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &event);
        if (event.isAccepted())
            return;
    }
}

QPoint centreOf(QWidget *widget)
{
    return widget->mapToGlobal(widget->rect().center());
}

class MouseScrollWheel : public ::testing::Test {
  protected:
    void TearDown() override { UnhookMouseWheel(&window); }
    GridWindow window;
};

} // namespace

TEST_F(MouseScrollWheel, NotchesMoveTheTopRowThreeRows)
{
    ScrollGridByWheel(window.grid, 0, -120, 0, 0);
    EXPECT_EQ(window.topRow(), 3);
    // Two notches in one message are six rows, towards the end like one notch.
    ScrollGridByWheel(window.grid, 0, -240, 0, 0);
    EXPECT_EQ(window.topRow(), 9);
    ScrollGridByWheel(window.grid, 0, 120, 0, 0);
    EXPECT_EQ(window.topRow(), 6);
    // Held keys change nothing.
    ScrollGridByWheel(window.grid, MouseWheelWindow::ControlKey | MouseWheelWindow::ShiftKey, 120, 0, 0);
    EXPECT_EQ(window.topRow(), 3);
}

TEST_F(MouseScrollWheel, HighResolutionDeltasAddUpToNotches)
{
    ScrollGridByWheel(window.grid, 0, -40, 0, 0);
    ScrollGridByWheel(window.grid, 0, -40, 0, 0);
    EXPECT_EQ(window.topRow(), 0);
    ScrollGridByWheel(window.grid, 0, -40, 0, 0);
    EXPECT_EQ(window.topRow(), 3);
    ScrollGridByWheel(window.grid, 0, -100, 0, 0);
    EXPECT_EQ(window.topRow(), 3);
    ScrollGridByWheel(window.grid, 0, -20, 0, 0);
    EXPECT_EQ(window.topRow(), 6);
    // Turning back drops what was left of a notch the other way.
    ScrollGridByWheel(window.grid, 0, -100, 0, 0);
    ScrollGridByWheel(window.grid, 0, 100, 0, 0);
    EXPECT_EQ(window.topRow(), 6);
    ScrollGridByWheel(window.grid, 0, 20, 0, 0);
    EXPECT_EQ(window.topRow(), 3);
    ScrollGridByWheel(window.grid, 0, 0, 0, 0);
    EXPECT_EQ(window.topRow(), 3);
}

TEST_F(MouseScrollWheel, ScrollingStopsAtEitherEnd)
{
    ScrollGridByWheel(window.grid, 0, 120, 0, 0);
    EXPECT_EQ(window.topRow(), 0);
    ScrollGridByWheel(window.grid, 0, -120 * 100, 0, 0);
    const int lastTop = window.topRow();
    EXPECT_GT(lastTop, 80);
    EXPECT_EQ(window.grid->rowAt(window.grid->viewport()->height() - 1), 99);
    ScrollGridByWheel(window.grid, 0, -120, 0, 0);
    EXPECT_EQ(window.topRow(), lastTop);
}

TEST_F(MouseScrollWheel, PixelScrollingGridsMoveByRowsToo)
{
    window.grid->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    ScrollGridByWheel(window.grid, 0, -120, 0, 0);
    EXPECT_EQ(window.topRow(), 3);
    ScrollGridByWheel(window.grid, 0, -360, 0, 0);
    EXPECT_EQ(window.topRow(), 12);
    ScrollGridByWheel(window.grid, 0, 120, 0, 0);
    EXPECT_EQ(window.topRow(), 9);
}

TEST_F(MouseScrollWheel, HookedWindowGetsTheTurnOverItsGrid)
{
    HookMouseWheel(&window);
    EXPECT_TRUE(IsMouseWheelHooked(&window));
    const QPoint at = centreOf(window.grid->viewport());
    turnWheel(window.grid->viewport(), -120, at, Qt::ControlModifier, Qt::LeftButton);
    ASSERT_EQ(window.calls.size(), 1);
    EXPECT_EQ(window.calls[0].keys, MouseWheelWindow::ControlKey | MouseWheelWindow::LeftButton);
    EXPECT_EQ(window.calls[0].rotation, -120);
    EXPECT_EQ(window.calls[0].x, at.x());
    EXPECT_EQ(window.calls[0].y, at.y());
    // Three rows, not six: the grid does not scroll a second time by itself.
    EXPECT_EQ(window.topRow(), 3);

    turnWheel(window.grid->viewport(), 120, at);
    EXPECT_EQ(window.topRow(), 0);
    for (int n = 0; n < 4; ++n)
        turnWheel(window.grid->viewport(), -30, at);
    EXPECT_EQ(window.topRow(), 3);
}

TEST_F(MouseScrollWheel, TurnsOverOtherWidgetsReachTheWindowUnlessTheyScroll)
{
    HookMouseWheel(&window);
    // A one-line box has nothing to scroll: the turn goes on to the window and its grid.
    turnWheel(window.locate, -120, centreOf(window.locate));
    EXPECT_EQ(window.calls.size(), 1);
    EXPECT_EQ(window.topRow(), 3);
    // A text that scrolls keeps its turn.
    turnWheel(window.notes->viewport(), -120, centreOf(window.notes->viewport()));
    EXPECT_EQ(window.calls.size(), 1);
    EXPECT_EQ(window.topRow(), 3);
    EXPECT_GT(window.notes->verticalScrollBar()->value(), 0);
}

TEST_F(MouseScrollWheel, UnhookedWindowIsLeftToItself)
{
    turnWheel(window.grid->viewport(), -120, centreOf(window.grid->viewport()));
    EXPECT_TRUE(window.calls.isEmpty());

    // Unhooking a window that was never hooked leaves it as it is.
    UnhookMouseWheel(&window);
    EXPECT_FALSE(IsMouseWheelHooked(&window));

    HookMouseWheel(&window);
    HookMouseWheel(&window); // hooked once only
    turnWheel(window.locate, -120, centreOf(window.locate));
    EXPECT_EQ(window.calls.size(), 1);
    UnhookMouseWheel(&window);
    turnWheel(window.locate, -120, centreOf(window.locate));
    EXPECT_EQ(window.calls.size(), 1);
}

TEST_F(MouseScrollWheel, CursorOutsideTheWindowIsNotATurnForIt)
{
    HookMouseWheel(&window);
    const QRect frame = window.frameGeometry();
    turnWheel(window.grid->viewport(), -120, frame.topLeft() - QPoint(5, 5));
    turnWheel(&window, -120, QPoint(frame.left() + frame.width() + 1, frame.center().y()));
    EXPECT_TRUE(window.calls.isEmpty());
    // A sideways turn is no vertical scroll.
    turnWheel(window.grid->viewport(), 0, centreOf(window.grid->viewport()), {}, {}, QPoint(-120, 0));
    EXPECT_TRUE(window.calls.isEmpty());
}

TEST_F(MouseScrollWheel, PointTestIncludesEveryEdge)
{
    const QRect r = window.frameGeometry();
    const int right = r.left() + r.width();
    const int bottom = r.top() + r.height();
    EXPECT_TRUE(IsPointInWindow(&window, r.left(), r.top()));
    EXPECT_TRUE(IsPointInWindow(&window, right, bottom));
    EXPECT_FALSE(IsPointInWindow(&window, right + 1, r.top()));
    EXPECT_FALSE(IsPointInWindow(&window, r.left(), bottom + 1));
    EXPECT_FALSE(IsPointInWindow(&window, r.left() - 1, r.top()));
    EXPECT_FALSE(IsPointInWindow(nullptr, r.left(), r.top()));

    // A child widget is tested on its own screen rectangle.
    const QPoint gridTopLeft = window.grid->mapToGlobal(QPoint(0, 0));
    EXPECT_TRUE(IsPointInWindow(window.grid, gridTopLeft.x(), gridTopLeft.y()));
    EXPECT_FALSE(IsPointInWindow(window.grid, gridTopLeft.x(), gridTopLeft.y() - 1));
}

TEST_F(MouseScrollWheel, WindowsLeftOfTheScreenOriginGetTheirTurns)
{
    window.move(-300, 40);
    QCoreApplication::processEvents();
    ASSERT_LT(window.frameGeometry().left(), 0);
    const QPoint at(window.frameGeometry().left() + 10, window.frameGeometry().top() + 10);
    EXPECT_TRUE(IsPointInWindow(&window, at.x(), at.y()));

    HookMouseWheel(&window);
    turnWheel(&window, -120, at);
    ASSERT_EQ(window.calls.size(), 1);
    EXPECT_LT(window.calls[0].x, 0);
    EXPECT_EQ(window.topRow(), 3);
}

TEST(MouseWheelHookChoice, DependsOnTheFolderName)
{
    EXPECT_TRUE(installsMouseWheelHook("/opt/quiltern"));
    EXPECT_FALSE(installsMouseWheelHook("/opt/quiltwin"));
    EXPECT_FALSE(installsMouseWheelHook("C:/Apps/QuiltWin3/bin"));
    EXPECT_FALSE(installsMouseWheelHook("/X/QUILTWIN"));
}
