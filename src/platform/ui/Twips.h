#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace platform {

// Positions and sizes in the windows' designs are twips, 1440 to the logical inch of
// the screen.
constexpr double TwipsPerInch = 1440.0;

int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);
double pixelsToTwipsX(int pixels);
double pixelsToTwipsY(int pixels);

// The same against a given logical DPI, for tests and printers.
int twipsToPixels(double twips, double dpi);
double pixelsToTwips(int pixels, double dpi);

// Places a control (left, top, width, height in twips) inside its window.
void setGeometryTwips(QWidget *widget, int left, int top, int width, int height);
// Sizes a window's inner area in twips.
void setClientSizeTwips(QWidget *window, int width, int height);

// The primary screen's size in twips.
int screenWidthTwips();
int screenHeightTwips();

// Moves a window so that its frame's top-left corner is at (left, top) twips on the
// screen; negative values are kept, as the classic placement does.
void moveWindowTwips(QWidget *window, int left, int top);
// The window's outer size in twips.
int windowWidthTwips(const QWidget *window);
int windowHeightTwips(const QWidget *window);

} // namespace platform

namespace platform {
// Left = (screen width - window width) / 2, Top = (screen height - window height) / 2.
void centerWindowOnScreen(QWidget *window);
} // namespace platform
