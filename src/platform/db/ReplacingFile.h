#pragma once

#include <QString>

#include <functional>

namespace platform {

// For a copy about to be renamed over `file`: gives it the file's permissions now, and
// returns what gives it the file's owner and group once it has taken the file's place
// (as far as this process may give a file away).
std::function<void()> takeOverModeAndOwner(const QString &copy, const QString &file);

} // namespace platform
