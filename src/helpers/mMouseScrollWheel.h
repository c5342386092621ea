#pragma once

class QAbstractItemView;
class QString;
class QWidget;

// Mouse-wheel scrolling of a window's grid. A hooked window that implements MouseWheelWindow
// receives every wheel turn over its grids (QTableView) and over its own background through
// its MouseWheel entry, which passes it on to ScrollGridByWheel with the grid it means.

// Hooks the window (a child widget stands for its window). Hooking twice changes nothing.
void HookMouseWheel(QWidget *window);
// Removes the hook; a window that carries none is left as it is.
void UnhookMouseWheel(QWidget *window);
bool IsMouseWheelHooked(QWidget *window);

// Moves the grid's top row three rows a notch: towards the end for a negative Rotation,
// towards the start for a positive one. Deltas smaller than a notch add up until they make
// one. Scrolling stops at either end of the list without complaint.
void ScrollGridByWheel(QAbstractItemView *grid, int MouseKeys, int Rotation, int Xpos, int Ypos);

// True when the screen point lies in the window's outer rectangle, its right and bottom
// bounds (left + width, top + height) included.
bool IsPointInWindow(QWidget *window, int X, int Y);

// The mouse-wheel hook is left out when the program folder is a "quiltwin" folder
// (tested on the lower-case path).
bool installsMouseWheelHook(const QString &programFolder);
