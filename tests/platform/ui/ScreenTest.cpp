#include "platform/ui/Clipboard.h"
#include "platform/ui/FileFilter.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/Tablet.h"
#include "platform/ui/Twips.h"

#include <QGuiApplication>
#include <QPointingDevice>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;

TEST(BusyPointer, SetTwiceResetOnceGivesTheArrowBack)
{
    ASSERT_EQ(mousePointer(), MousePointer::Default);
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    setMousePointer(MousePointer::Hourglass);
    setMousePointer(MousePointer::Hourglass);
    EXPECT_EQ(mousePointer(), MousePointer::Hourglass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    setMousePointer(MousePointer::Default);
    EXPECT_EQ(mousePointer(), MousePointer::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    // Resetting when nothing is set leaves no override behind either.
    setMousePointer(MousePointer::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(TwipsConversion, BothWaysAtCommonResolutions)
{
    EXPECT_EQ(twipsToPixels(1440, 96), 96);
    EXPECT_EQ(twipsToPixels(15, 96), 1);
    EXPECT_EQ(twipsToPixels(6336, 96), 422);
    EXPECT_EQ(twipsToPixels(1440, 120), 120);
    EXPECT_EQ(twipsToPixels(-1000, 96), -67);
    EXPECT_DOUBLE_EQ(pixelsToTwips(96, 96), 1440.0);
    EXPECT_DOUBLE_EQ(pixelsToTwips(1, 120), 12.0);
    EXPECT_EQ(twipsToPixels(pixelsToTwips(333, 144), 144), 333);
}

TEST(TwipsConversion, UsesTheScreensLogicalDpi)
{
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    EXPECT_EQ(twipsToPixelsX(2880), int(std::lround(2 * dpi)));
    EXPECT_NEAR(pixelsToTwipsX(twipsToPixelsX(2880)), 2880, 1440 / dpi);
    QWidget window;
    setClientSizeTwips(&window, 7368, 2520);
    EXPECT_EQ(window.width(), twipsToPixelsX(7368));
    EXPECT_EQ(window.height(), twipsToPixelsY(2520));
    QWidget child(&window);
    setGeometryTwips(&child, 420, 390, 6390, 1545);
    EXPECT_EQ(child.geometry(),
              QRect(twipsToPixelsX(420), twipsToPixelsY(390), twipsToPixelsX(6390), twipsToPixelsY(1545)));
}

TEST(TwipsConversion, CentringKeepsNegativePlacesOnSmallScreens)
{
    QWidget window;
    const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
    window.resize(screenWidth + 200, 100);
    centerWindowOnScreen(&window);
    EXPECT_LT(window.x(), 0);
    window.resize(200, 100);
    centerWindowOnScreen(&window);
    EXPECT_NEAR(window.x(), (screenWidth - window.frameGeometry().width()) / 2, 1);
    EXPECT_GT(window.frameGeometry().width(), 0);
}

TEST(TabletDetection, TouchScreenWithoutMouse)
{
    QPointingDevice touch("touch", 1, QInputDevice::DeviceType::TouchScreen,
                          QPointingDevice::PointerType::Finger, QInputDevice::Capability::Position, 10, 0);
    QPointingDevice mouse("mouse", 2, QInputDevice::DeviceType::Mouse, QPointingDevice::PointerType::Generic,
                          QInputDevice::Capability::Position, 1, 3);
    QInputDevice keyboard("keys", 3, QInputDevice::DeviceType::Keyboard);
    EXPECT_TRUE(isTabletWithoutMouse({&touch, &keyboard}));
    EXPECT_FALSE(isTabletWithoutMouse({&touch, &mouse}));
    EXPECT_FALSE(isTabletWithoutMouse({&mouse, &keyboard}));
    EXPECT_FALSE(isTabletWithoutMouse({}));
}

TEST(FileFilters, ClassicPairsBecomeQtFilters)
{
    EXPECT_EQ(qtNameFilters("Database files (*.mdb)|*.mdb|All Files (*.*)|*.*"),
              QStringList({"Database files (*.mdb) (*.mdb)", "All Files (*.*) (*)"}));
    EXPECT_EQ(qtNameFilters("Pictures|*.jpg;*.bmp"), QStringList({"Pictures (*.jpg *.bmp)"}));
    EXPECT_EQ(qtNameFilters("Odd one out"), QStringList());
    EXPECT_EQ(qtNameFilters(""), QStringList());
}

TEST(SystemClipboard, TextAndPictures)
{
    setClipboardText("Jo Smith\r\n1 High St");
    EXPECT_EQ(clipboardText(), "Jo Smith\r\n1 High St");
    EXPECT_FALSE(clipboardHasImage());
    EXPECT_TRUE(clipboardImage().isNull());
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    setClipboardImage(picture);
    EXPECT_TRUE(clipboardHasImage());
    EXPECT_EQ(clipboardImage().size(), QSize(4, 3));
    EXPECT_EQ(clipboardImage().pixelColor(1, 1), QColor(Qt::red));
    clearClipboard();
    EXPECT_FALSE(clipboardHasImage());
}
