#pragma once

#include <functional>

// Runs a command of a selection window; a database failure that the command does not
// handle itself is shown with its text and number, and the window stays usable.
void reportingFailure(const std::function<void()> &command);
