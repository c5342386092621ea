#pragma once

namespace platform {

// The screen's mouse pointer, set and reset as one setting: showing the hourglass twice
// and resetting once gives the arrow back (Qt's own override cursors stack).
enum class MousePointer { Default, Hourglass };

void setMousePointer(MousePointer pointer);
MousePointer mousePointer();

// Shows the hourglass for as long as it lives and then gives back the pointer that was
// there when it was made, however the scope is left (return, exception). An inner one
// gives back the hourglass of the outer one, so nested work keeps the pointer busy until
// the outermost ends. release() gives the pointer back early, before a message the user
// must answer; after that the end of the scope changes nothing.
class BusyPointer {
  public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

    void release();

  private:
    MousePointer mPrevious;
    bool mHeld = true;
};

// Shows the normal pointer for as long as it lives and then gives back the setting that
// was there when it was made: a question asked in the middle of busy work waits for the
// user, and the work is busy again once it is answered. runDialog makes one around every
// box and dialog that waits for an answer.
class NormalPointer {
  public:
    NormalPointer();
    ~NormalPointer();
    NormalPointer(const NormalPointer &) = delete;
    NormalPointer &operator=(const NormalPointer &) = delete;

  private:
    MousePointer mPrevious;
};

// Holds the screen's pointer as it is for as long as it lives, whatever the setting
// becomes meanwhile; at its end the pointer shows the setting in force. For work done
// before a window has first painted, where an hourglass would never be seen and the
// first one costs loading its picture from the desktop's pointer theme.
class SteadyPointer {
  public:
    SteadyPointer();
    ~SteadyPointer();
    SteadyPointer(const SteadyPointer &) = delete;
    SteadyPointer &operator=(const SteadyPointer &) = delete;
};

} // namespace platform
