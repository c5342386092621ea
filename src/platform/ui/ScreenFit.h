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
// screen. The frame is taken from the window system once known, else from another
// window already framed, else none.
void keepOnScreen(QWidget *window);

// The widest a window's client area can be with its frame wholly on the available area of
// its screen (the frame as keepOnScreen takes it).
int widestClientWidth(const QWidget *window);

} // namespace platform
