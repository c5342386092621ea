#include "platform/ui/FirstPaint.h"

#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;
using std::chrono::steady_clock;

TEST(FirstPaint, IsReportedOnceAfterTheNamedWindowIsPainted)
{
    int reports = 0;
    steady_clock::time_point reported{};
    watchFirstPaint(QStringLiteral("WatchedWindow"), [&](steady_clock::time_point at) {
        ++reports;
        reported = at;
    });

    // Another window painting first is not the one waited for.
    QWidget other;
    other.setObjectName(QStringLiteral("OtherWindow"));
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    QCoreApplication::processEvents();
    EXPECT_EQ(reports, 0);

    // The watched window's children paint on its behalf.
    QWidget watched;
    watched.setObjectName(QStringLiteral("WatchedWindow"));
    auto *layout = new QVBoxLayout(&watched);
    layout->addWidget(new QLabel(QStringLiteral("Some text"), &watched));
    const steady_clock::time_point shown = steady_clock::now();
    watched.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports > 0; }, 5000));
    EXPECT_GE(reported, shown);
    EXPECT_LE(reported, steady_clock::now());

    // Painting again reports nothing more.
    watched.repaint();
    watched.resize(watched.width() + 20, watched.height() + 20);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(reports, 1);
}

TEST(FirstPaint, LineCarriesTheTimeToAnotherProcess)
{
    const steady_clock::time_point now = steady_clock::now();
    EXPECT_EQ(parseFirstPaintLine(firstPaintLine(now)), now);
    // A line read from a pipe keeps its end of line.
    EXPECT_EQ(parseFirstPaintLine(firstPaintLine(now) + "\n"), now);
    EXPECT_EQ(parseFirstPaintLine("first-paint 1500000000"),
              steady_clock::time_point(std::chrono::seconds(1) + std::chrono::milliseconds(500)));
}

TEST(FirstPaint, OtherOutputIsNotATime)
{
    for (const char *line : {"", "first-paint", "first-paint ", "first-paint soon", "first-paint -20",
                             "first-paint 12x", "QXcbConnection: could not connect", "last-paint 100"})
        EXPECT_FALSE(parseFirstPaintLine(line).has_value()) << line;
}
