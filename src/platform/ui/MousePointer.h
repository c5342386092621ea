#pragma once

namespace platform {

// The screen's mouse pointer, set and reset as one setting: showing the hourglass twice
// and resetting once gives the arrow back (Qt's own override cursors stack).
enum class MousePointer { Default, Hourglass };

void setMousePointer(MousePointer pointer);
MousePointer mousePointer();

} // namespace platform
