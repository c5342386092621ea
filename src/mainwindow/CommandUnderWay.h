#pragma once

#include <functional>

// True while a command of the main window runs: its handler, with the windows and the
// messages it shows.
bool commandUnderWay();

// Runs `then` from the event loop once no command of the main window is under way: soon
// when none is, else when the one under way has ended.
void whenNoCommandUnderWay(std::function<void()> then);
