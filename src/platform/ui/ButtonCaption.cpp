#include "platform/ui/ButtonCaption.h"

#include <QPushButton>

namespace platform {

void widenToCaption(QAbstractButton *button)
{
    // The access-key marker takes no room; the rest is the style's frame and padding. A
    // push button's size hint has a least width of its own; a tool button's is its caption's.
    const QString caption = QString(button->text()).remove(QLatin1Char('&'));
    const int needed = qobject_cast<QPushButton *>(button)
                           ? button->fontMetrics().horizontalAdvance(caption) + 14
                           : button->sizeHint().width();
    if (button->width() < needed)
        button->resize(needed, button->height());
}

} // namespace platform
