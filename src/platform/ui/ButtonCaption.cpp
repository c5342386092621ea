#include "platform/ui/ButtonCaption.h"

#include <QPushButton>

namespace platform {

void widenToCaption(QPushButton *button)
{
    // The access-key marker takes no room; the rest is the style's frame and padding.
    const QString caption = QString(button->text()).remove(QLatin1Char('&'));
    const int needed = button->fontMetrics().horizontalAdvance(caption) + 14;
    if (button->width() < needed)
        button->resize(needed, button->height());
}

} // namespace platform
