#include "platform/db/SqliteError.h"

#include "platform/RuntimeError.h"
#include "platform/db/DamageMark.h"
#include "platform/db/DaoError.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFile.h"

#include <sqlcipher/sqlite3.h>

#include <utility>

namespace platform {

namespace {

QString fieldOfSizeCheck(const QString &message)
{
    // CHECK constraints on defined sizes are named "<field> size".
    static const QString prefix = QStringLiteral("CHECK constraint failed: ");
    const int at = message.indexOf(prefix);
    if (at < 0)
        return {};
    QString name = message.mid(at + prefix.size()).trimmed();
    if (!name.endsWith(QLatin1String(" size")))
        return {};
    name.chop(5);
    return name;
}

struct FunctionError {
    int number = 0;
    QString text;
};

thread_local FunctionError pendingFunctionError;
thread_local qint64 memoryFailuresMet = 0;

// A function that runs statements of its own (the export of a password change) fails with
// the plain error code and the text of what stopped it: a full disk is told by its text.
int passedOnCode(const QString &message, int rc)
{
    for (const int code : {SQLITE_FULL, SQLITE_IOERR, SQLITE_CANTOPEN, SQLITE_READONLY, SQLITE_CORRUPT,
                           SQLITE_NOTADB, SQLITE_BUSY, SQLITE_LOCKED})
        if (message == QLatin1String(sqlite3_errstr(code)))
            return code;
    return rc;
}

} // namespace

qint64 memoryFailures()
{
    return memoryFailuresMet;
}

void raiseOutOfMemory()
{
    ++memoryFailuresMet;
    throw RuntimeError(err::OutOfMemory, QStringLiteral("Out of memory."));
}

void noteFunctionError(int number, const QString &text)
{
    pendingFunctionError = {number, text};
}

QString repairACopyText(const QString &path)
{
    return QStringLiteral("To repair it, copy '%1' into a folder you can write and open the copy.").arg(path);
}

void raiseDamaged(const QString &path)
{
    // Repairing it there is no advice for a file that cannot be written there.
    if (!path.isEmpty() && Database::cannotBeWritten(path))
        throw RuntimeError(err::DamagedDatabase,
                           QStringLiteral("The database '%1' is damaged or is not a database this program can "
                                          "read. It cannot be repaired where it is: the file or its folder "
                                          "cannot be written. ")
                                   .arg(path) +
                               repairACopyText(path));
    throw RuntimeError(err::DamagedDatabase,
                       QStringLiteral("The database '%1' is damaged or is not a database this program can "
                                      "read. Repair it before use.")
                           .arg(path));
}

void raiseForeignFile(const QString &path)
{
    throw RuntimeError(err::UnrecognizedFormat,
                       QStringLiteral("Unrecognized database format '%1'. The file is not a database of this "
                                      "program and has not been changed.")
                           .arg(path));
}

QString readOnlyDatabaseText(const QString &path)
{
    return QStringLiteral("The database '%1' is open read-only: the file or its folder cannot be written. "
                          "Nothing was changed.")
        .arg(path);
}

void raiseReadOnlyDatabase(const QString &path)
{
    throw RuntimeError(err::NotUpdatable, readOnlyDatabaseText(path));
}

void raiseSqliteError(sqlite3 *db, int rc, bool preparing)
{
    const QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    const FunctionError function = std::exchange(pendingFunctionError, {});
    if (function.number && (rc & 0xff) == SQLITE_ERROR && message == function.text)
        throw RuntimeError(function.number, function.text);
    if ((rc & 0xff) == SQLITE_ERROR)
        rc = passedOnCode(message, rc);
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT: {
        if (extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY)
            throw RuntimeError(err::DuplicateKey,
                               QStringLiteral("The changes you requested to the table were not successful "
                                              "because they would create duplicate values in the index or "
                                              "primary key. Change the data in the field or fields that "
                                              "contain duplicate data and try again."));
        if (extended == SQLITE_CONSTRAINT_NOTNULL) {
            QString field = message.section(QLatin1Char('.'), -1);
            throw RuntimeError(err::NullNotAllowed,
                               QStringLiteral("The field '%1' cannot contain a Null value.").arg(field));
        }
        const QString field = fieldOfSizeCheck(message);
        if (!field.isEmpty())
            throw RuntimeError(err::FieldTooLong,
                               QStringLiteral("The field '%1' is too small to accept the amount of data you "
                                              "attempted to add. Try inserting or pasting less data.")
                                   .arg(field));
        throw RuntimeError(
            err::ValidationFailed,
            QStringLiteral("One or more values are prohibited by a rule of the table (%1).").arg(message));
    }
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        if (db)
            DamageMark::note(QString::fromUtf8(sqlite3_db_filename(db, "main")));
        raiseDamaged(db ? QString::fromUtf8(sqlite3_db_filename(db, "main")) : QString());
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw RuntimeError(err::RecordLocked,
                           QStringLiteral("Could not update; the database is currently locked by another "
                                          "program."));
    case SQLITE_READONLY:
        if (db && sqlite3_db_readonly(db, "main") == 1)
            raiseReadOnlyDatabase(QString::fromUtf8(sqlite3_db_filename(db, "main")));
        throw RuntimeError(err::NotUpdatable,
                           QStringLiteral("Cannot update. Database or object is read-only."));
    case SQLITE_NOMEM:
        raiseOutOfMemory();
    case SQLITE_FULL:
        throw RuntimeError(err::DiskFull, QStringLiteral("Not enough space on disk (%1).").arg(message));
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        // A file grown past what the disk, a quota or the user's file-size limit allows is
        // told as a full disk, as the repair tells it.
        if (const int cause = dbfile::diskFullCause(db))
            dbfile::raiseNotWritten(QString::fromUtf8(sqlite3_db_filename(db, "main")), cause);
        throw RuntimeError(err::DiskError, QStringLiteral("Disk or network error (%1).").arg(message));
    default:
        break;
    }
    if (message.startsWith(QLatin1String("no such table")) ||
        message.startsWith(QLatin1String("no such column"))) {
        // A stored query whose table is gone names it with the engine's schema prefix,
        // which means nothing to the user.
        QString name = message.section(QLatin1Char(':'), 1).trimmed();
        if (name.startsWith(QLatin1String("main.")))
            name.remove(0, 5);
        throw RuntimeError(err::UnknownName, QStringLiteral("Unknown name in the query: %1.").arg(name));
    }
    if (preparing || (rc & 0xff) == SQLITE_ERROR)
        throw RuntimeError(err::SyntaxError,
                           QStringLiteral("Syntax error in the query expression (%1).").arg(message));
    throw RuntimeError(err::DiskError, QStringLiteral("Database error (%1).").arg(message));
}

} // namespace platform
