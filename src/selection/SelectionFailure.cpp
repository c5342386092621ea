#include "selection/SelectionFailure.h"

#include "platform/RuntimeError.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"

void reportingFailure(const std::function<void()> &command)
{
    try {
        command();
    } catch (const platform::RuntimeError &error) {
        platform::setMousePointer(platform::MousePointer::Default);
        platform::MsgBox(platform::withFullStop(error.description()) + QStringLiteral("  Error number:") +
                             QString::number(error.number()),
                         platform::vbCritical, QStringLiteral("Error"));
    }
}
