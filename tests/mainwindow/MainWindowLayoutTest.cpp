#include "mainwindow/MainWindowLayout.h"

#include <gtest/gtest.h>

namespace {

MainWindowLayoutInput designed()
{
    MainWindowLayoutInput in;
    in.innerWidth = 11000;
    in.innerHeight = 8000;
    in.outerWidth = 11120;
    in.gridLeft = 120;
    in.gridTop = 1200;
    in.gridHeight = 3000;
    in.filterMessageWidth = 3000;
    in.sortBoxWidth = 2000;
    in.locateBoxLeft = 1000;
    in.locateBoxWidth = 2500;
    in.buttonHeight = 375;
    in.showSelectedLeft = 200;
    in.noticeWidth = 4000;
    return in;
}

} // namespace

TEST(MainWindowLayout, PlacesEveryControlFromTheGrid)
{
    const MainWindowLayout out = layoutMainWindow(designed());
    EXPECT_FALSE(out.unchanged);
    EXPECT_FALSE(out.widenToMinimum);
    EXPECT_DOUBLE_EQ(out.filterMessageLeft, 5500 - 1500);
    EXPECT_DOUBLE_EQ(out.gridHeight, 8000 - 3504 - 80);
    EXPECT_DOUBLE_EQ(out.gridWidth, 11000 - 390);
    const double gridBottom = 1200 + 4416;
    EXPECT_DOUBLE_EQ(out.buttonTop, gridBottom + 1370);
    EXPECT_DOUBLE_EQ(out.detailTop, gridBottom + 80);
    EXPECT_DOUBLE_EQ(out.detailWidth, 10610 / 2.0 - 100);
    EXPECT_DOUBLE_EQ(out.phoneLeft, 10610 / 2.0 - 100);
    EXPECT_DOUBLE_EQ(out.textBackgroundTop, gridBottom + 80 - 55);
    EXPECT_DOUBLE_EQ(out.textBackgroundWidth, 10610);
    EXPECT_DOUBLE_EQ(out.sortLeft, 120 + 10610 - 2000);
    EXPECT_DOUBLE_EQ(out.categoryLeft, 3600);
    EXPECT_DOUBLE_EQ(out.categoryWidth, 8730 - 3600 - 50);
    EXPECT_DOUBLE_EQ(out.showSelectedTop, gridBottom + 1370 - 75);
    EXPECT_DOUBLE_EQ(out.selectedCountTop, gridBottom + 1370 + 190);
    EXPECT_DOUBLE_EQ(out.selectedCountLeft, 350);
    EXPECT_DOUBLE_EQ(out.noticeTop, gridBottom + 1370 + 375 + 20);
    EXPECT_DOUBLE_EQ(out.noticeLeft, 5500 - 2000);
}

TEST(MainWindowLayout, RecordButtonsStandAroundTheCentre)
{
    const MainWindowLayout out = layoutMainWindow(designed());
    const double c = 5500, w = 1005;
    EXPECT_NEAR(out.deleteLeft, c - 2.175 * w, 1e-9);
    EXPECT_NEAR(out.addLeft, c - 1.075 * w, 1e-9);
    EXPECT_NEAR(out.editLeft, c - 0.025 * w, 1e-9);
    EXPECT_NEAR(out.exitLeft, c + 1.075 * w, 1e-9);
    // Gaps of 0.1 W, 0.05 W and 0.1 W between the buttons.
    EXPECT_NEAR(out.addLeft - (out.deleteLeft + w), 0.1 * w, 1e-9);
    EXPECT_NEAR(out.editLeft - (out.addLeft + w), 0.05 * w, 1e-9);
    EXPECT_NEAR(out.exitLeft - (out.editLeft + w), 0.1 * w, 1e-9);
}

TEST(MainWindowLayout, NarrowWindowSnapsBackToTheMinimumWidth)
{
    MainWindowLayoutInput in = designed();
    in.outerWidth = 6499;
    in.innerWidth = 6379;
    EXPECT_TRUE(layoutMainWindow(in).widenToMinimum);
    in.outerWidth = 6500;
    EXPECT_FALSE(layoutMainWindow(in).widenToMinimum);
}

TEST(MainWindowLayout, LowWindowKeepsTheGridHeightAndMinimisedChangesNothing)
{
    MainWindowLayoutInput in = designed();
    in.innerHeight = 3504 + 80 + 23; // leaves exactly 23 twips: too little
    MainWindowLayout out = layoutMainWindow(in);
    EXPECT_FALSE(out.unchanged);
    EXPECT_DOUBLE_EQ(out.gridHeight, 3000);
    EXPECT_DOUBLE_EQ(out.detailTop, 1200 + 3000 + 80);
    in.innerHeight = 3504 + 80 + 24;
    EXPECT_DOUBLE_EQ(layoutMainWindow(in).gridHeight, 24);
    in.innerHeight = 3504;
    EXPECT_TRUE(layoutMainWindow(in).unchanged);
    in.innerHeight = 0;
    EXPECT_TRUE(layoutMainWindow(in).unchanged);
}

TEST(MainWindowLayout, MaximisedWindowMakesRoomForThePicturePanel)
{
    const SideBySidePlacement p = besidePicturePanel(19200, 10800, 4000);
    EXPECT_DOUBLE_EQ(p.panelLeft, 0);
    EXPECT_DOUBLE_EQ(p.panelTop, 0);
    EXPECT_DOUBLE_EQ(p.mainLeft, 4000);
    EXPECT_DOUBLE_EQ(p.mainTop, 0);
    EXPECT_DOUBLE_EQ(p.mainWidth, 15200);
    EXPECT_DOUBLE_EQ(p.mainHeight, 10200);
}
