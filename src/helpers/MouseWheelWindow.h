#pragma once

// What a window offers so the mouse-wheel hook can hand it a wheel turn: the held buttons
// and keys (as MouseKeyFlags), the signed wheel delta (120 a notch, negative towards the user)
// and the cursor's screen position, in that order.
class MouseWheelWindow {
  public:
    enum MouseKeyFlags {
        LeftButton = 0x01,
        RightButton = 0x02,
        ShiftKey = 0x04,
        ControlKey = 0x08,
        MiddleButton = 0x10,
        BackButton = 0x20,
        ForwardButton = 0x40,
    };

    virtual void MouseWheel(int MouseKeys, int Rotation, int Xpos, int Ypos) = 0;

  protected:
    ~MouseWheelWindow() = default;
};
