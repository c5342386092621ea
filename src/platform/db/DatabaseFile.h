#pragma once

#include "platform/db/SqlConnection.h"

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <initializer_list>

struct sqlite3;

namespace platform {

class RuntimeError;

// What the engine's open and its repair share: telling what a file is, opening a connection
// for maintenance work and putting files in place. Defined with the engine.
namespace dbfile {

enum class FileKind { Plain, Encrypted, Foreign, Jet };

// The file's first bytes, as many as telling its kind needs; empty when it cannot be read.
QByteArray readHead(const QString &path);
// Throws 3051 when the file may not be read, or a disk error when it cannot be opened.
FileKind sniff(const QString &path);
[[noreturn]] void raiseForeign(const QString &path, FileKind kind);
[[noreturn]] void raiseBadPassword();
// The program's own functions and text order, which every connection needs.
void registerFunctions(sqlite3 *db);
void exec(sqlite3 *db, const char *sql);
// Opens a connection for the layer's own maintenance work (creating, repairing, checking).
SqlConnection rawOpen(const QString &path, int flags, const QString &password);
void renameOver(const QString &from, const QString &to);
// 3045: another copy of the program, or the program `holder` names, has the file.
[[noreturn]] void raiseInUse(const QString &path, const QString &holder = QString());
// A name beside `path` that no file has yet, for work files of the kind `what`. It ends in
// a check of its own, so that the names the program makes are told from a user's file
// named alike.
QString freshSidePath(const QString &path, const QString &what);
// Removes the mark that a file was found damaged while in use, once it is repaired; a
// user's file or a link of the mark's name stays.
void removeDamageMark(const QString &path);
// The paths the open files were opened by, by the engine's name of each, which damage the
// engine reports is told by.
void noteOpenedBy(const QString &engineName, const QString &path);
void noteClosedBy(const QString &engineName, const QString &path);
// Files up to this size are checked for damage when they are opened; larger ones are
// checked by every read instead, so that opening a very large list stays quick.
qint64 openCheckLimit();
// A failure to write (a full disk, an I/O error, a file that cannot be made) or to find memory:
// it stops the work on a file, and is never taken for damage of the file.
bool failedToWrite(int engineResult);
bool failedToWrite(const RuntimeError &error);
// 3026 when `cause` tells of a full disk, a quota reached or a file grown past what the disk
// allows, else a disk error naming `file`.
[[noreturn]] void raiseNotWritten(const QString &file, int cause);
// The system's error number behind the engine's last failed read or write on `db` when it
// tells of one of those (a full disk, a quota, a file-size limit), else 0.
int diskFullCause(sqlite3 *db);
// The name the engine opens `file` by, which may be one the system gives a file held in
// memory (the engine's connection then takes addresses).
QString engineName(const QString &file);
// The program's own work files of the kinds `works` beside `path` (and beside the file it
// links to), left by work cut short.
QStringList leftovers(const QString &path, std::initializer_list<QLatin1String> works);
// The work files of a repair: the repaired file, and the copy the damaged file is read
// through (an encrypted file's in plain).
inline const QLatin1String RepairWork("repair");
inline const QLatin1String ScratchWork("scratch");
// A backup being copied, on a disk where a second name of the file cannot be made.
inline const QLatin1String BackupWork("backup");

} // namespace dbfile

} // namespace platform
