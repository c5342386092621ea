#include "platform/ui/MousePointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {

namespace {

struct PointerState {
    MousePointer pointer = MousePointer::Default;
    bool hourglassShown = false; // whether Qt's override cursor stands for the hourglass
    int steadyScopes = 0;
};

PointerState &state()
{
    static PointerState pointer;
    return pointer;
}

// Brings the screen's pointer in line with the setting, unless it is held steady.
void showSetting()
{
    PointerState &s = state();
    if (s.steadyScopes > 0)
        return;
    const bool hourglass = s.pointer == MousePointer::Hourglass;
    if (hourglass == s.hourglassShown)
        return;
    s.hourglassShown = hourglass;
    if (hourglass)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

} // namespace

void setMousePointer(MousePointer pointer)
{
    state().pointer = pointer;
    showSetting();
}

MousePointer mousePointer()
{
    return state().pointer;
}

BusyPointer::BusyPointer() : mPrevious(mousePointer())
{
    setMousePointer(MousePointer::Hourglass);
}

BusyPointer::~BusyPointer()
{
    release();
}

void BusyPointer::release()
{
    if (!mHeld)
        return;
    mHeld = false;
    setMousePointer(mPrevious);
}

NormalPointer::NormalPointer() : mPrevious(mousePointer())
{
    setMousePointer(MousePointer::Default);
}

NormalPointer::~NormalPointer()
{
    setMousePointer(mPrevious);
}

SteadyPointer::SteadyPointer()
{
    ++state().steadyScopes;
}

SteadyPointer::~SteadyPointer()
{
    --state().steadyScopes;
    showSetting();
}

} // namespace platform
