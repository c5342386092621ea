#include "platform/ui/Tablet.h"

namespace platform {

bool isTabletWithoutMouse(const QList<const QInputDevice *> &devices)
{
    bool touchScreen = false;
    bool mouse = false;
    for (const QInputDevice *device : devices) {
        if (device->type() == QInputDevice::DeviceType::TouchScreen)
            touchScreen = true;
        else if (device->type() == QInputDevice::DeviceType::Mouse ||
                 device->type() == QInputDevice::DeviceType::TouchPad)
            mouse = true;
    }
    return touchScreen && !mouse;
}

bool isTabletWithoutMouse()
{
    return isTabletWithoutMouse(QInputDevice::devices());
}

} // namespace platform
