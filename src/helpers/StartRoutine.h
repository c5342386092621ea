#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace platform {
class Database;
}

// The start routine stands above every window: it opens the database and then the main
// window. Commands of the main window that close the database to open it again (another
// file, a new password) hand over to it through these entries, which the start routine
// sets when it first runs; until then they do nothing.
struct StartRoutine {
    // Runs the start routine again on gDbPath, or shows the database given (one that
    // checkDatabaseFile opened from gDbPath); the program ends when it ends.
    static std::function<void(std::unique_ptr<platform::Database>)> restart;
    // Opens the database file at a path as the start routine would (its password asked
    // with two tries, one repair offered) and checks that it is a database of this
    // program, all without touching gDb. On failure the message has been shown and
    // nullptr comes back.
    static std::function<std::unique_ptr<platform::Database>(const QString &)> checkDatabaseFile;
    // The password change of the open database, which ends in a restart.
    static std::function<void()> changePassword;
};

// Re-entry from a command of the main window, which has already unloaded the main
// window and closed gDb; with `opened`, that database is shown instead of gDbPath's.
void restartThroughMain(std::unique_ptr<platform::Database> opened = {});

// True while restartThroughMain runs: the main window's unload must not end the
// program then.
bool restartingThroughMain();
void setRestartingThroughMain(bool restarting);

// Lets go of the contacts table, then of the database, as the program's end does.
void closeDatabase();

// Ends the program: closes the database and stops the event loop once control returns
// to it.
void endProgram();
