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

} // namespace platform
