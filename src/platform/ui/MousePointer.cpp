#include "platform/ui/MousePointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {

namespace {
MousePointer &current()
{
    static MousePointer pointer = MousePointer::Default;
    return pointer;
}
} // namespace

void setMousePointer(MousePointer pointer)
{
    if (pointer == current())
        return;
    current() = pointer;
    if (pointer == MousePointer::Hourglass)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

MousePointer mousePointer()
{
    return current();
}

} // namespace platform

namespace platform {

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

} // namespace platform
