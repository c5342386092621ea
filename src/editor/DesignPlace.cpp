#include "editor/DesignPlace.h"

#include "platform/ui/Twips.h"

#include <QWidget>

void placeAsDesigned(QWidget *control, std::span<const DesignPlace> design)
{
    for (const DesignPlace &place : design) {
        if (control->objectName() == QLatin1String(place.control)) {
            platform::setGeometryTwips(control, place.left, place.top, place.width, place.height);
            return;
        }
    }
}
