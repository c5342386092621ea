#include "platform/ui/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using platform::fitFrameWithin;

struct FitCase {
    const char *what;
    QRect client;
    QMargins frame;
    QRect available;
    QRect expected;
};

TEST(ScreenFitTest, TheWholeFrameEndsUpWithinTheAvailableArea)
{
    const QMargins frame(4, 30, 4, 4);
    const QRect screen(0, 0, 1280, 1000);
    const FitCase cases[] = {
        {"already inside stays", QRect(100, 100, 642, 463), frame, screen, QRect(100, 100, 642, 463)},
        {"bottom edge off is moved up", QRect(300, 600, 642, 463), frame, screen, QRect(300, 533, 642, 463)},
        {"right edge off is moved left", QRect(900, 50, 642, 463), frame, screen, QRect(634, 50, 642, 463)},
        {"title bar above the top comes down", QRect(10, 5, 642, 463), frame, screen, QRect(10, 30, 642, 463)},
        {"too high for the screen shrinks to fit", QRect(0, 0, 642, 1200), frame, screen,
         QRect(4, 30, 642, 966)},
        {"a task bar on the left is kept clear", QRect(0, 100, 642, 463), frame, QRect(48, 0, 1232, 1000),
         QRect(52, 100, 642, 463)},
        {"no frame known", QRect(700, 600, 642, 463), QMargins(), QRect(0, 0, 800, 600),
         QRect(158, 137, 642, 463)},
        {"a screen smaller than the frame keeps a pixel", QRect(0, 0, 642, 463), frame, QRect(0, 0, 6, 20),
         QRect(4, 30, 1, 1)},
    };
    for (const FitCase &c : cases) {
        SCOPED_TRACE(c.what);
        const QRect fitted = fitFrameWithin(c.client, c.frame, c.available);
        EXPECT_EQ(fitted, c.expected);
    }
}

TEST(ScreenFitTest, AWindowOffTheScreenIsBroughtOnIt)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget window;
    window.resize(available.width() / 2, available.height() + 200);
    window.move(available.right() - 10, available.bottom() - 10);
    window.show();
    platform::keepOnScreen(&window);
    EXPECT_TRUE(available.contains(window.frameGeometry())) << window.frameGeometry().x() << ","
                                                             << window.frameGeometry().y();
    EXPECT_EQ(window.width(), available.width() / 2);
}

// A window manager frames a window only once it is shown: until then a framed window's frame
// stands for its own, so that its title bar does not open above the screen.
TEST(ScreenFitTest, AWindowNotYetFramedIsPlacedByTheFrameOfOneThatIs)
{
    QWidget framed, window;
    framed.show();
    const QRect inner = framed.geometry(), outer = framed.frameGeometry();
    const QMargins frame(inner.x() - outer.x(), inner.y() - outer.y(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    ASSERT_FALSE(frame.isNull()) << "the platform frames its windows";
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    window.setGeometry(QRect(available.topLeft(), QSize(200, 100)));
    platform::keepOnScreen(&window);
    EXPECT_EQ(window.geometry().topLeft(), available.topLeft() + QPoint(frame.left(), frame.top()));
    EXPECT_EQ(platform::availableClientArea(&window), available - frame);
    for (int opening = 0; opening < 10; ++opening) {
        QWidget w;
        platform::placeFrameAt(&w, QPoint(300, 120));
        const QRect placed = w.geometry();
        w.show();
        EXPECT_TRUE(w.frameGeometry().topLeft() == QPoint(300, 120) && w.geometry() == placed) << opening;
        platform::rememberFrame(&w);
    }
}

} // namespace
