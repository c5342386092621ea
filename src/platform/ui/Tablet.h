#pragma once

#include <QInputDevice>
#include <QList>

namespace platform {

// A tablet in the classic sense: the machine has a touch screen and no mouse.
bool isTabletWithoutMouse();
// The same rule over a given list of devices.
bool isTabletWithoutMouse(const QList<const QInputDevice *> &devices);

} // namespace platform
