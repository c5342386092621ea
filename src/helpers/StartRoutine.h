#pragma once

#include <functional>

// The start routine stands above every window: it opens the database and then the main
// window. Commands of the main window that close the database to open it again (another
// file, a new password) hand over to it through these entries, which the start routine
// sets when it first runs; until then they do nothing.
struct StartRoutine {
    // Runs the start routine again on gDbPath; the program ends when it ends.
    static std::function<void()> restart;
    // The password change of the open database, which ends in a restart.
    static std::function<void()> changePassword;
};

// Re-entry from a command of the main window, which has already unloaded the main
// window and closed gDb.
void restartThroughMain();

// True while restartThroughMain runs: the main window's unload must not end the
// program then.
bool restartingThroughMain();
void setRestartingThroughMain(bool restarting);

// Ends the program: the event loop stops once control returns to it.
void endProgram();
