#include "platform/base/Clock.h"

namespace platform {

namespace {
std::function<QDateTime()> &clockOverride()
{
    static std::function<QDateTime()> clock;
    return clock;
}
} // namespace

QDateTime now()
{
    auto &clock = clockOverride();
    return clock ? clock() : QDateTime::currentDateTime();
}

QDate today()
{
    return now().date();
}

void setClockForTesting(std::function<QDateTime()> clock)
{
    clockOverride() = std::move(clock);
}

} // namespace platform
