#include "platform/base/Clock.h"

#include <QElapsedTimer>

namespace platform {

namespace {
std::function<QDateTime()> &clockOverride()
{
    static std::function<QDateTime()> clock;
    return clock;
}

std::function<qint64()> &steadyOverride()
{
    static std::function<qint64()> clock;
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

qint64 steadyMilliseconds()
{
    if (auto &clock = steadyOverride())
        return clock();
    static const QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return started.elapsed();
}

void setSteadyClockForTesting(std::function<qint64()> clock)
{
    steadyOverride() = std::move(clock);
}

} // namespace platform
