#pragma once

// gUserField1Size, which the start routine sets, is declared with the editor's state.
#include "editor/GLOBAL.h"

#include <QString>
#include <QtGlobal>

#include <memory>

// gUserField1Size, which the start routine sets, is the editor's.
#include "editor/GLOBAL.h"

namespace platform {
class Database;
class Recordset;
} // namespace platform

// The open database and what the start routine keeps about it for every window.
extern std::unique_ptr<platform::Database> gDb;
extern std::unique_ptr<platform::Recordset>
    gContactsTable;            // table-type over tblContacts; its index names the sort field
extern QString gDbPath;        // full path of the database file; a single blank or empty: none chosen yet
extern QString gAppName;       // "Quiltern": default database name and help page name
extern QString gNoticeLine;    // shown at the foot of the main window
extern QString gSql;           // the query text built just before each settings or action query

// The title the platform shows on message boxes without a title of their own.
inline const QString ApplicationTitleText = QStringLiteral("Quiltern 3");
inline const QString DatabaseFileFilter = QStringLiteral("Database files (*.mdb)|*.mdb|All Files (*.*)|*.*");

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

// Opens the database file at `path` as the start routine would (its password asked with
// two tries, one repair offered) and checks that it is a database of this program, all
// without touching gDb. On failure the message has been shown and nullptr comes back.
std::unique_ptr<platform::Database> checkDatabaseFile(const QString &path);

// Re-entry from a command of the main window, which has already unloaded the main
// window and closed gDb: runs Main and ends the program when Main ends it. With
// `opened` (a database from checkDatabaseFile at gDbPath) that one is shown instead of
// opening gDbPath again.
void restartThroughMain(std::unique_ptr<platform::Database> opened = {});

// True while restartThroughMain runs: the main window's unload must not end the
// program then.
bool restartingThroughMain();

// Ends the program: the event loop stops once control returns to it.
void endProgram();

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
