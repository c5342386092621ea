#include "platform/ui/MousePointer.h"

#include <QCursor>
#include <QGuiApplication>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace platform;

namespace {

bool hourglassOnScreen()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

// Leaves its scope early when asked, as a command that finds nothing to do.
int busyWork(bool leaveEarly, MousePointer &seenInside)
{
    BusyPointer busy;
    seenInside = mousePointer();
    if (leaveEarly)
        return 1;
    return 2;
}

} // namespace

TEST(BusyPointerScope, ShowsTheHourglassUntilTheScopeEndsOnEveryWayOut)
{
    ASSERT_EQ(mousePointer(), MousePointer::Default);
    for (const bool leaveEarly : {false, true}) {
        MousePointer inside = MousePointer::Default;
        busyWork(leaveEarly, inside);
        EXPECT_EQ(inside, MousePointer::Hourglass) << leaveEarly;
        EXPECT_EQ(mousePointer(), MousePointer::Default) << leaveEarly;
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << leaveEarly;
    }

    try {
        BusyPointer busy;
        EXPECT_TRUE(hourglassOnScreen());
        throw std::runtime_error("failed");
    } catch (const std::runtime_error &) {
        EXPECT_EQ(mousePointer(), MousePointer::Default);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(BusyPointerScope, AnInnerScopeKeepsTheOuterHourglass)
{
    {
        BusyPointer outer;
        {
            BusyPointer inner;
            EXPECT_TRUE(hourglassOnScreen());
        }
        // The outer work is still running: the arrow must not come back yet.
        EXPECT_EQ(mousePointer(), MousePointer::Hourglass);
        EXPECT_TRUE(hourglassOnScreen());
    }
    EXPECT_EQ(mousePointer(), MousePointer::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(BusyPointerScope, ReleaseGivesTheArrowBackOnceAndTheScopeEndChangesNothing)
{
    {
        BusyPointer busy;
        busy.release();
        EXPECT_EQ(mousePointer(), MousePointer::Default);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        // Work after the message, under a new hourglass of a caller further out, stays busy
        // when this scope ends.
        setMousePointer(MousePointer::Hourglass);
        busy.release();
        EXPECT_EQ(mousePointer(), MousePointer::Hourglass);
    }
    EXPECT_EQ(mousePointer(), MousePointer::Hourglass);
    setMousePointer(MousePointer::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(BusyPointerScope, AResetByCalledCodeIsNotUndoneAtTheEnd)
{
    // A window opened under the hourglass resets the pointer when it has loaded.
    {
        BusyPointer busy;
        setMousePointer(MousePointer::Default);
    }
    EXPECT_EQ(mousePointer(), MousePointer::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(SteadyPointerScope, HoldsThePointerAndShowsTheSettingInForceWhenItEnds)
{
    // Work that sets and resets the hourglass inside leaves the screen's pointer untouched.
    {
        SteadyPointer steady;
        {
            BusyPointer busy;
            EXPECT_EQ(mousePointer(), MousePointer::Hourglass);
            EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        }
        EXPECT_EQ(mousePointer(), MousePointer::Default);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // An hourglass still set when the hold ends shows then, and goes once reset.
    {
        SteadyPointer outer;
        {
            SteadyPointer inner;
            setMousePointer(MousePointer::Hourglass);
        }
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_TRUE(hourglassOnScreen());
    setMousePointer(MousePointer::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // A hold begun under the hourglass keeps it on screen while the setting goes back.
    setMousePointer(MousePointer::Hourglass);
    {
        SteadyPointer steady;
        setMousePointer(MousePointer::Default);
        EXPECT_TRUE(hourglassOnScreen());
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
