#pragma once

#include <QString>
#include <QtGlobal>

struct sqlite3;

namespace platform {

// Turns an SQLite failure into the run-time error the system's handlers test:
// duplicate keys 3022, text over the defined size 3163, damage 3049, unknown names 3061,
// syntax 3075, and so on. `preparing` tells a failure to compile a text from one while it ran.
[[noreturn]] void raiseSqliteError(sqlite3 *db, int rc, bool preparing = false);

// A registered SQL function that refuses its arguments tells here which run-time error
// that is (94 a Null where none may stand, 3464 a value of the wrong type, ...), so the
// statement's failure reports that number with the function's own text.
void noteFunctionError(int number, const QString &text);

// The run-time error (7) for an allocation the engine or the program could not make, and
// how many were met so far on this thread: work that passes over its failures (a repair
// reading damaged pages) tells by it that memory ran out on the way.
[[noreturn]] void raiseOutOfMemory();
qint64 memoryFailures();

// The run-time error for a damaged or unreadable file; one that cannot be written where it
// is points to a copy that can be repaired.
[[noreturn]] void raiseDamaged(const QString &path);
// How a damaged file that cannot be written where it is gets repaired.
QString repairACopyText(const QString &path);

// The run-time error (3343) for a file that is not a database of this program: another
// format, or an SQLite file of another program.
[[noreturn]] void raiseForeignFile(const QString &path);

// The run-time error (3027) for a write to a database opened read-only, and its text, for a
// window that refuses such a write before trying it.
[[noreturn]] void raiseReadOnlyDatabase(const QString &path);
QString readOnlyDatabaseText(const QString &path);

} // namespace platform
