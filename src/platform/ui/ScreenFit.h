#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace platform {

// Where a window's client area goes so that its whole frame lies within `available`
// (a screen's area less its task bars): at most as large as asked, smaller where the
// screen is smaller (never below a pixel), moved in from any edge it would pass.
QRect fitFrameWithin(const QRect &client, const QMargins &frame, const QRect &available);

// Puts a top-level window, shown or about to be, wholly on the available area of its
// screen, title bar included; one larger than that area is made smaller, down to its least
// size, which keeps at least its title bar on the screen. The frame is taken from the
// window system once known, else from another window already framed (a window manager
// frames its windows alike, and frames a new one only once it is on screen), else none: a
// screen with no window manager draws no frame at all.
void keepOnScreen(QWidget *window);

// The frame a window has or, not framed yet, will have: its own once the window system has
// framed it, else the one a window of its kind had when last hidden (see rememberFrame), else
// another framed window's, else none.
QMargins expectedFrameMargins(const QWidget *window);
// The window's outer rectangle, its expected frame included.
QRect expectedFrameGeometry(const QWidget *window);
// Keeps the frame a window has now for the next window of its kind, which is framed only
// once it is on screen.
void rememberFrame(const QWidget *window);
// Moves a window so that its frame's top-left corner is at `corner`. The client area is
// placed, not the frame, so that a window not yet framed lands where one framed would.
void placeFrameAt(QWidget *window, const QPoint &corner);

// The largest client area a window can have with its frame wholly on the available area
// of its screen (the frame as keepOnScreen takes it), where that client area would stand.
QRect availableClientArea(const QWidget *window);

// The widest a window's client area can be with its frame wholly on the available area of
// its screen (the frame as keepOnScreen takes it).
int widestClientWidth(const QWidget *window);

} // namespace platform
