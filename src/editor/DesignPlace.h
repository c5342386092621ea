#pragma once

#include <span>

class QWidget;

// Where a control of a window stands as designed, in twips inside the window.
struct DesignPlace {
    const char *control;
    int left, top, width, height;
};

// Puts the control where the row naming it (by objectName) places it; a control that no
// row names stays where it is.
void placeAsDesigned(QWidget *control, std::span<const DesignPlace> design);
