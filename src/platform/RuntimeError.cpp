#include "platform/RuntimeError.h"

namespace platform {

RuntimeError::RuntimeError(int number, const QString &description)
    : std::runtime_error(description.toStdString()), mNumber(number), mDescription(description)
{
}

QString withFullStop(const QString &description)
{
    return description.endsWith(QLatin1Char('.')) ? description : description + QLatin1Char('.');
}

} // namespace platform
