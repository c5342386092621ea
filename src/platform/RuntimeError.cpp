#include "platform/RuntimeError.h"

namespace platform {

RuntimeError::RuntimeError(int number, const QString &description)
    : std::runtime_error(description.toStdString()), mNumber(number), mDescription(description)
{
}

} // namespace platform
