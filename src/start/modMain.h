#pragma once

// The open database's globals and the entries the main window's commands restart through.
#include "helpers/DatabaseState.h"
#include "helpers/StartRoutine.h"

#include <QString>

enum class MainOutcome {
    MainWindowShown, // the program goes on, driven by the main window
    Ended,           // the program is to end (a message, if any, has been shown)
};

// The start routine. At the first start it decides the database path (command line,
// the two default paths beside the program, the file dialog), refuses a second copy,
// opens the database (asking twice for its password, offering one repair of a damaged
// file) and shows the main window. Called again with gDbPath set (re-entry after a
// password change or when another database is opened), it goes straight to opening.
MainOutcome Main();

// The file test of the start routine: the bare name of the file when path names a
// plain file (no folder, nothing hidden), else "".
QString databaseFileSearch(const QString &path);

// The whole command line after the program name, trimmed.
QString startupCommandLine();

// Tests replace what the platform would give.
void setCommandLineForTesting(const QString &commandLine); // a null string restores the real one
void setSingleInstanceKeyForTesting(const QString &key);   // empty restores the default key
// Lets go of the single-instance lock taken by an earlier Main, so a test can start afresh.
void releaseSingleInstanceForTesting();
