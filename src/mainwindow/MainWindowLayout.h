#pragma once

// Where the main window's controls go when its size changes, in twips. The grid fills
// the window less the space kept by two measuring labels; the detail boxes and the
// record buttons follow under the grid; the sort box stays right-aligned with it.
struct MainWindowLayoutInput {
    double innerWidth = 0; // client area
    double innerHeight = 0;
    double outerWidth = 0;
    double headerHeight = 3504; // lblHeader: vertical space kept outside the grid
    double marginWidth = 390;   // lblMargin: horizontal space kept outside the grid
    double gridLeft = 0;
    double gridTop = 0;
    double gridHeight = 0; // the current height, kept when the window leaves too little
    double filterMessageWidth = 0;
    double sortBoxWidth = 0;
    double locateBoxLeft = 0;
    double locateBoxWidth = 0;
    double buttonWidth = 1005; // cmdDelete; all four record buttons are alike
    double buttonHeight = 0;
    double showSelectedLeft = 0;
    double noticeWidth = 0;
    double textBackgroundHeight = 0; // the frame round the detail boxes
};

struct MainWindowLayout {
    bool unchanged = false;      // minimised or too low: nothing is placed
    bool widenToMinimum = false; // set the outer width to MinimumWidth; a new resize follows
    double filterMessageLeft = 0;
    double gridWidth = 0;
    double gridHeight = 0;
    double detailTop = 0; // txtName and txtPhone
    double detailWidth = 0;
    double phoneLeft = 0;
    double textBackgroundTop = 0;
    double textBackgroundWidth = 0;
    double sortLeft = 0; // lblSort and cmbSort
    double categoryLeft = 0;
    double categoryWidth = 0;
    double buttonTop = 0;
    double deleteLeft = 0;
    double addLeft = 0;
    double editLeft = 0;
    double exitLeft = 0;
    double showSelectedTop = 0;
    double selectedCountTop = 0;
    double selectedCountLeft = 0;
    double noticeTop = 0;
    double noticeLeft = 0;
};

constexpr double MainWindowMinimumWidth = 6500;

MainWindowLayout layoutMainWindow(const MainWindowLayoutInput &in);

// A maximised main window makes room for the picture panel: the panel goes to the top
// left corner and the main window, no longer maximised, takes the rest of the width.
struct SideBySidePlacement {
    double panelLeft = 0;
    double panelTop = 0;
    double mainLeft = 0;
    double mainTop = 0;
    double mainWidth = 0;
    double mainHeight = 0;
};
SideBySidePlacement besidePicturePanel(double screenWidth, double screenHeight, double panelWidth);
