#include "mainwindow/MainWindowLayout.h"

#include <algorithm>

namespace {
constexpr double GridGap = 80;
constexpr double SmallestGridHeight = 23;
constexpr double DetailGap = 100;
constexpr double ButtonRowDrop = 340 + 1030;
constexpr double ScreenHeightKept = 600;
// Between the frame of the detail boxes and the Show Selected button under it.
constexpr double FrameGap = 45;
} // namespace

MainWindowLayout layoutMainWindow(const MainWindowLayoutInput &in)
{
    MainWindowLayout out;
    if (in.innerHeight - in.headerHeight <= 0) {
        out.unchanged = true;
        return out;
    }
    out.widenToMinimum = in.outerWidth < MainWindowMinimumWidth;
    const double c = in.innerWidth / 2;
    const double w = in.buttonWidth;

    out.filterMessageLeft = c - in.filterMessageWidth / 2;
    const double wantedGridHeight = in.innerHeight - in.headerHeight - GridGap;
    out.gridHeight = wantedGridHeight > SmallestGridHeight ? wantedGridHeight : in.gridHeight;
    out.gridWidth = in.innerWidth - in.marginWidth;
    const double gridBottom = in.gridTop + out.gridHeight;
    out.buttonTop = gridBottom + ButtonRowDrop;

    out.detailTop = gridBottom + GridGap;
    out.detailWidth = out.gridWidth / 2 - DetailGap;
    out.phoneLeft = out.gridWidth / 2 - DetailGap;
    out.textBackgroundTop = out.detailTop - 55;
    out.textBackgroundWidth = out.gridWidth;

    out.sortLeft = in.gridLeft + out.gridWidth - in.sortBoxWidth;
    out.categoryLeft = in.locateBoxLeft + in.locateBoxWidth + DetailGap;
    out.categoryWidth = out.sortLeft - out.categoryLeft - 50;

    out.deleteLeft = c - 2.175 * w;
    out.addLeft = out.deleteLeft + 1.1 * w;
    out.editLeft = c + ((c - out.addLeft) - 1.1 * w);
    out.exitLeft = out.editLeft + w + ((out.addLeft - out.deleteLeft) - w);

    // The frame of the detail boxes reaches lower than the button's designed place: the
    // button goes under the frame, and the count under the button.
    out.showSelectedTop =
        std::max(out.buttonTop - 75, out.textBackgroundTop + in.textBackgroundHeight + FrameGap);
    out.selectedCountTop = out.showSelectedTop + 265;
    out.selectedCountLeft = in.showSelectedLeft + 150;
    out.noticeTop = out.buttonTop + in.buttonHeight + 20;
    out.noticeLeft = c - in.noticeWidth / 2;
    return out;
}

SideBySidePlacement besidePicturePanel(double screenWidth, double screenHeight, double panelWidth)
{
    SideBySidePlacement placement;
    placement.mainWidth = screenWidth - panelWidth;
    placement.mainLeft = panelWidth;
    placement.mainHeight = screenHeight - ScreenHeightKept;
    return placement;
}
