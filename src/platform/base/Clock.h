#pragma once

#include <QDate>
#include <QDateTime>
#include <functional>

namespace platform {

// The one clock of the program. Tests replace it so that dates are repeatable.
QDateTime now();
QDate today();

// An empty function restores the real clock.
void setClockForTesting(std::function<QDateTime()> clock);

// Milliseconds on a clock that only goes forward, whatever is done to the time of day: for
// how long something lasts. Counted from an arbitrary start.
qint64 steadyMilliseconds();
// An empty function restores the real one.
void setSteadyClockForTesting(std::function<qint64()> clock);

} // namespace platform
