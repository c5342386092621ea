#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace platform {

// Calls `seen` once, with the steady clock's time, as soon as the first top-level window
// named `windowName` has been painted and its surface handed to the screen.
void watchFirstPaint(const QString &windowName, std::function<void(std::chrono::steady_clock::time_point)> seen);

// For timing the program from outside it: when QUILTERN_FIRST_PAINT is set, the moment of
// that first paint is written to standard output as "first-paint <nanoseconds>" on the
// system's monotonic clock (the one steady_clock reads, shared by every process), and with
// the value "quit" the program then ends. Without the variable nothing is watched.
void reportFirstPaintIfAsked(const QString &windowName);

// The line reportFirstPaintIfAsked writes, and its reading back: the time, or nothing when
// the line is not one.
QByteArray firstPaintLine(std::chrono::steady_clock::time_point at);
std::optional<std::chrono::steady_clock::time_point> parseFirstPaintLine(const QByteArray &line);

} // namespace platform
