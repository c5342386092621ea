#include "platform/db/Database.h"

#include "platform/RuntimeError.h"
#include "platform/base/Clock.h"
#include "platform/base/FileKind.h"
#include "platform/db/DamageMark.h"
#include "platform/db/DaoError.h"
#include "platform/db/DatabaseFile.h"
#include "platform/db/DatabaseHeader.h"
#include "platform/db/EncryptedPages.h"
#include "platform/db/FieldValue.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/QueryRecordset.h"
#include "platform/db/ReplacedFile.h"
#include "platform/db/SqlStatement.h"
#include "platform/db/SqliteError.h"
#include "platform/db/TableRecordset.h"
#include "platform/db/TextCollation.h"
#include "platform/db/jet/JetValue.h"

#include <sqlcipher/sqlite3.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>
#include <QtEndian>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <sys/stat.h>

namespace platform {

namespace dbfile {

QByteArray readHead(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(DatabaseHeader::LookedAt) : QByteArray();
}

FileKind sniff(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // Told apart from a foreign file: the cause is the permission, not the content.
        if (!QFileInfo(path).isReadable())
            throw RuntimeError(err::NoReadPermission,
                               QStringLiteral("You have no permission to read the file '%1'. Ask its owner for "
                                              "read permission, or choose another file.")
                                   .arg(path));
        throw RuntimeError(err::DiskError,
                           QStringLiteral("Could not open '%1' (%2).").arg(path, file.errorString()));
    }
    const QByteArray head = file.read(DatabaseHeader::LookedAt);
    const qint64 size = file.size();
    // A plain file whose first bytes are damaged is still told from an encrypted one, so
    // that it is offered for repair rather than asked for a password.
    if (DatabaseHeader::looksPlain(head))
        return FileKind::Plain;
    if (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB")
        return FileKind::Jet;
    // A first page garbled whole (the page written most often) leaves the pages behind it
    // as a plain file's, which an encrypted file's never are.
    file.seek(0);
    if (DatabaseHeader::laterPagesLookPlain(file.read(DatabaseHeader::PagesLookedAt)))
        return FileKind::Plain;
    // An encrypted file is pages of what looks like noise, whole unless it was cut short.
    if (size >= 1024 && (size % 1024 == 0 || EncryptedPages::looksEncrypted(head)))
        return FileKind::Encrypted;
    return FileKind::Foreign;
}

[[noreturn]] void raiseForeign(const QString &path, FileKind kind)
{
    if (kind == FileKind::Jet)
        throw RuntimeError(
            err::UnrecognizedFormat,
            QStringLiteral("'%1' is a database of the older Jet format, which this program cannot "
                           "open. It has not been changed.")
                .arg(path));
    raiseForeignFile(path);
}

[[noreturn]] void raiseBadPassword()
{
    throw RuntimeError(err::NotValidPassword, QStringLiteral("Not a valid password."));
}

QString passwordOf(const QString &connect)
{
    static const QRegularExpression pwd(QStringLiteral("(?:^|;)\\s*pwd=(.*)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const auto match = pwd.match(connect);
    return match.hasMatch() ? match.captured(1) : QString();
}

void todayFunction(sqlite3_context *context, int, sqlite3_value **)
{
    const QByteArray today = dateToStorage(platform::today()).toUtf8();
    sqlite3_result_text(context, today.constData(), int(today.size()), SQLITE_TRANSIENT);
}

void registerFunctions(sqlite3 *db)
{
    registerJetFunctions(db);
    // Deterministic: one statement reads one today, computed once rather than for every row.
    sqlite3_create_function(db, "quiltern_today", 0, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            todayFunction, nullptr, nullptr);
}

void exec(sqlite3 *db, const char *sql)
{
    char *message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        raiseSqliteError(db, rc);
}

void applyKey(sqlite3 *db, const QString &password)
{
    if (password.isEmpty())
        return;
    const QByteArray key = password.toUtf8();
    sqlite3_key(db, key.constData(), int(key.size()));
}

// A damaged page can give a cell a size past the page's end, which the engine would read
// beyond its buffer: checked, it is reported as damage instead.
void checkCellSizes(sqlite3 *db)
{
    sqlite3_exec(db, "PRAGMA cell_size_check = ON", nullptr, nullptr, nullptr);
}

// Opens a connection for the layer's own maintenance work (creating, repairing, checking).
SqlConnection rawOpen(const QString &path, int flags, const QString &password)
{
    SqlConnection connection;
    if (connection.open(path, flags) != SQLITE_OK)
        throw RuntimeError(err::DiskError, QStringLiteral("Could not open '%1'.").arg(path));
    sqlite3_extended_result_codes(connection.handle(), 1);
    applyKey(connection.handle(), password);
    checkCellSizes(connection.handle());
    return connection;
}

void renameOver(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData(), error);
    if (error)
        throw RuntimeError(err::DiskError, QStringLiteral("Could not rename '%1' to '%2' (%3).")
                                               .arg(from, to, QString::fromStdString(error.message())));
}

// The second half of a work file's stamp: eight hex digits that follow from the first
// eight and the names of the file and of the work.
QString stampCheck(const QString &fileName, const QString &what, const QString &stamp)
{
    const QByteArray named = (fileName + QLatin1Char('.') + what + QLatin1Char('-') + stamp).toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(named, QCryptographicHash::Sha1).toHex().left(8));
}

QString freshSidePath(const QString &path, const QString &what)
{
    const QString stamp = QUuid::createUuid().toString(QUuid::Id128).left(8);
    return path + QLatin1Char('.') + what + QLatin1Char('-') + stamp +
           stampCheck(QFileInfo(path).fileName(), what, stamp);
}

bool isSingleName(const QString &source, QString &name)
{
    static const QRegularExpression bracketed(QStringLiteral("^\\[([^\\]]+)\\]$"));
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    const QString text = source.trimmed();
    auto match = bracketed.match(text);
    if (match.hasMatch()) {
        name = match.captured(1);
        return true;
    }
    if (plain.match(text).hasMatch()) {
        name = text;
        return true;
    }
    return false;
}

// Files made before text sorted with accented letters beside their base letters declare
// their text columns with SQLite's NOCASE, which folds only A to Z. Each such table is
// rebuilt in one transaction with the program's own order, its indexes made again on it and
// its counter kept, so that a failure leaves the file as it was.
void upgradeTextOrder(sqlite3 *db)
{
    struct Table {
        QString name, sql;
    };
    QList<Table> tables;
    {
        SqlStatement find(db, QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' AND "
                                             "sql LIKE '%COLLATE NOCASE%' AND name NOT LIKE 'sqlite~_%' "
                                             "ESCAPE '~' ORDER BY rowid"));
        while (find.step())
            tables.append({find.text(0), find.text(1)});
    }
    if (tables.isEmpty())
        return;
    static const QRegularExpression header(
        QStringLiteral("^\\s*CREATE\\s+TABLE\\s+(\"[^\"]+\"|\\[[^\\]]+\\]|\\S+?)\\s*\\("),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression noCase(QStringLiteral("\\bCOLLATE\\s+NOCASE\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString temporary = QStringLiteral("quiltern_upgrade");
    exec(db, "BEGIN IMMEDIATE");
    try {
        for (const Table &table : tables) {
            const QString name = quoteSqlName(table.name);
            QStringList indexes;
            {
                SqlStatement find(db, QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND "
                                                     "tbl_name = ? AND sql IS NOT NULL ORDER BY rowid"));
                find.bind(1, table.name);
                while (find.step())
                    indexes.append(find.text(0));
            }
            std::optional<qint64> counter;
            try {
                SqlStatement sequence(db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"));
                sequence.bind(1, table.name);
                if (sequence.step())
                    counter = sequence.int64(0);
            } catch (const RuntimeError &) {
                // A file without counters has no sequence table.
            }
            QString sql = table.sql;
            const QRegularExpressionMatch match = header.match(sql);
            if (!match.hasMatch())
                throw RuntimeError(err::DamagedDatabase,
                                   QStringLiteral("The table '%1' could not be upgraded.").arg(table.name));
            sql.replace(match.capturedStart(1), match.capturedLength(1), temporary);
            sql.replace(noCase, QStringLiteral("COLLATE ") + QLatin1String(TextCollationName));
            exec(db, sql.toUtf8().constData());
            exec(db,
                 QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(temporary, name).toUtf8().constData());
            exec(db, QStringLiteral("DROP TABLE %1").arg(name).toUtf8().constData());
            exec(db, QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(temporary, name).toUtf8().constData());
            for (const QString &index : indexes)
                exec(db, index.toUtf8().constData());
            if (counter) {
                SqlStatement keep(
                    db, QStringLiteral("UPDATE sqlite_sequence SET seq = max(seq, ?2) WHERE name = ?1"));
                SqlStatement add(
                    db, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT ?1, ?2 WHERE "
                                       "NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = ?1)"));
                for (SqlStatement *statement : {&keep, &add}) {
                    statement->bind(1, table.name);
                    statement->bindInt64(2, *counter);
                    statement->step();
                }
            }
        }
        exec(db, "COMMIT");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void raiseInUse(const QString &path, const QString &holder)
{
    if (holder.isEmpty())
        throw RuntimeError(err::FileInUse,
                           QStringLiteral("Could not use '%1'; file already in use.").arg(path));
    throw RuntimeError(
        err::FileInUse,
        QStringLiteral("Could not use '%1'; file already in use by another program (%2).").arg(path, holder));
}

const QLatin1String RekeyWork("rekey");

// The beginning of a rollback journal that holds what it was written for.
const QByteArray &journalMagic()
{
    static const QByteArray magic = QByteArray::fromHex("d9d505f920a163d7");
    return magic;
}

// The header of a rollback journal. The engine marks it only once the journal is on the
// disk; until then (where a kill in the middle of a write leaves it) zeros stand in the mark's
// place, before the sizes of a sector and of a page it writes at once. Emptied, it is zeros.
bool isJournalHead(const QByteArray &head)
{
    constexpr int HeadSize = 28;
    if (head.startsWith(journalMagic()) || head.left(HeadSize) == QByteArray(HeadSize, '\0'))
        return true;
    if (head.size() < HeadSize || head.left(12) != QByteArray(12, '\0'))
        return false;
    // A disk's sector is one of the sizes a page may have.
    const auto sizeAt = [&](int at) { return int(qFromBigEndian<quint32>(head.constData() + at)); };
    return DatabaseHeader::pageSizes().contains(sizeAt(20)) &&
           DatabaseHeader::pageSizes().contains(sizeAt(24));
}

// The first bytes of a file the program may have read; empty when none can be.
QByteArray headOf(const QString &file)
{
    QFile opened(file);
    return opened.open(QIODevice::ReadOnly) ? opened.read(1024) : QByteArray();
}

// A work file of the program: a name it makes, its owner's alone (as every work file is
// from its creation; on a disk that shows one mode for every file, the mode of the file it
// was made for), and empty or holding what the work writes there: a plain or an encrypted
// database, the rollback journal of one, a new database killed before its first page was
// written, its journal beside it, or the beginning of a backup being copied.
bool isOwnWorkFile(const QString &file, const QRegularExpressionMatch &name)
{
    const QString work = name.captured(2);
    if (name.captured(5) != stampCheck(name.captured(1), work, name.captured(4)))
        return false;
    const QString database = QFileInfo(file).dir().filePath(name.captured(1));
    struct stat status, databaseStatus;
    if (::lstat(QFile::encodeName(file).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    if ((status.st_mode & 077) != 0 &&
        (::stat(QFile::encodeName(database).constData(), &databaseStatus) != 0 ||
         (databaseStatus.st_mode & 07777) != (status.st_mode & 07777)))
        return false;
    if (status.st_size == 0)
        return true;
    const QByteArray head = headOf(file);
    if (name.capturedLength(6) > 0)
        return isJournalHead(head);
    // A backup being copied begins as the file did, which may be a backup itself by now.
    if (work == BackupWork) {
        const QDir folder = QFileInfo(database).dir();
        QStringList copies{database};
        for (const QString &backup :
             folder.entryList({name.captured(1) + QLatin1String(".bak*")}, QDir::Files))
            copies.append(folder.filePath(backup));
        return std::any_of(copies.cbegin(), copies.cend(),
                           [&](const QString &copy) { return headOf(copy).startsWith(head); });
    }
    return head.startsWith(DatabaseHeader::magic()) ||
           (status.st_size % 1024 == 0 && EncryptedPages::looksEncrypted(head)) ||
           (head.left(DatabaseHeader::Size) == QByteArray(DatabaseHeader::Size, '\0') &&
            headOf(file + QLatin1String("-journal")).startsWith(journalMagic()));
}

// A password change or a repair cut short (the program killed, the machine stopped) leaves
// its copy of the whole database, perhaps unencrypted, beside the file it was to replace:
// beside the file a symbolic link leads to, or beside the link itself for a change made
// before such links were followed. `works` are the kinds of copy. A user's file named alike
// is none of them.
QStringList leftovers(const QString &path, std::initializer_list<QLatin1String> works)
{
    QStringList own;
    // The kinds are looked for in one look at the folder, which may hold many files.
    QStringList kinds, patterns;
    for (const QLatin1String work : works) {
        kinds.append(work);
        patterns.append(QStringLiteral("*.%1-*").arg(work));
    }
    // Their names are matched letter for letter, so the file's are as its folder lists them.
    QStringList places{listedPath(path)};
    const QString real = listedFile(places[0]);
    if (real != places[0])
        places.append(real);
    for (const QString &place : std::as_const(places)) {
        const QFileInfo info(place);
        const QRegularExpression leftover(
            QStringLiteral("^(%1)\\.(%2)-(([0-9a-f]{8})([0-9a-f]{8}))(-journal)?$")
                .arg(QRegularExpression::escape(info.fileName()), kinds.join(u'|')));
        const QDir folder = info.absoluteDir();
        const QStringList names =
            folder.entryList(patterns, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
        for (const QString &name : names) {
            const QRegularExpressionMatch match = leftover.match(name);
            if (match.hasMatch() && isOwnWorkFile(folder.filePath(name), match))
                own.append(folder.filePath(name));
        }
    }
    return own;
}

void removeLeftovers(const QString &path, std::initializer_list<QLatin1String> works)
{
    // Each is looked at before any goes: a file is told by its journal, and a journal
    // goes only with its file, lest a file it tells be left that nothing tells.
    const QStringList own = leftovers(path, works);
    static const QLatin1String journal("-journal");
    for (const QString &file : own) {
        const QString database = file.endsWith(journal) ? file.chopped(journal.size()) : file;
        if (database == file || own.contains(database) || !QFileInfo::exists(database))
            QFile::remove(file);
    }
}

} // namespace dbfile

using namespace dbfile;

bool Database::cannotBeWritten(const QString &path)
{
    // A file or folder marked read-only for everyone stays read-only for a user the
    // permissions would not stop (an administrator), as the read-only mark of a desktop
    // file does; a write needs the folder too, for the rollback journal beside the file.
    constexpr QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    // What is written is the file a link leads to, and its journal beside it.
    const QString real = QFileInfo(path).canonicalFilePath();
    const QFileInfo file(real.isEmpty() ? path : real);
    const QFileInfo folder(file.absolutePath());
    return !file.isWritable() || !(file.permissions() & anyWrite) || !folder.isWritable() ||
           !(folder.permissions() & anyWrite);
}

std::unique_ptr<Database> Database::open(const QString &path, bool exclusive, bool readOnly,
                                         const QString &connect)
{
    return openFile(path, exclusive, readOnly, connect, false);
}

std::unique_ptr<Database> Database::openAsItIs(const QString &path, bool exclusive, const QString &connect)
{
    return openFile(path, exclusive, true, connect, true);
}

std::unique_ptr<Database> Database::openFile(const QString &path, bool exclusive, bool readOnly,
                                             const QString &connect, bool asItIs)
{
    // Read, locked and written through the spelling the folders hold: a driver that numbers
    // each spelling apart keeps another spelling's locks apart, and its size stale for a
    // moment after a repair or a password change renamed the file into place.
    const QString listed =
        path.trimmed().isEmpty() ? QString() : listedPath(QFileInfo(path).absoluteFilePath());
    const QFileInfo info(listed);
    if (listed.isEmpty() || !info.exists() || !info.isFile())
        throw RuntimeError(err::DatabaseNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    std::unique_ptr<Database> database(new Database);
    database->mPath = listed;
    database->mPassword = passwordOf(connect);
    database->mExclusive = exclusive;
    database->mReadOnly = readOnly || cannotBeWritten(database->mPath);
    database->mAsItIs = asItIs;
    if (database->mUseLock.take(database->mPath, exclusive, !database->mReadOnly) == FileUseLock::Result::InUse)
        raiseInUse(database->mPath);
    // Held, the file has no password change or repair under way: what such work left is
    // stale. The copy a repair reads the file through, and a backup being copied, are never
    // the only whole one.
    if (!database->mReadOnly)
        removeLeftovers(database->mPath, {ScratchWork, BackupWork});
    if (!asItIs && DamageMark::known(database->mPath))
        raiseDamaged(database->mPath);
    database->openConnection();
    database->mEngineName = QString::fromUtf8(sqlite3_db_filename(database->handle(), "main"));
    noteOpenedBy(database->mEngineName, database->mPath);
    // A finished copy beside a damaged file may be the only whole one; beside a file that
    // opened whole, none is.
    if (!database->mReadOnly)
        removeLeftovers(database->mPath, {RekeyWork, RepairWork});
    return database;
}

void Database::openConnection()
{
    const dbfile::FileKind kind = sniff(mPath);
    if (kind == dbfile::FileKind::Foreign || kind == dbfile::FileKind::Jet)
        raiseForeign(mPath, kind);
    if (kind == dbfile::FileKind::Encrypted && mPassword.isEmpty())
        raiseBadPassword();
    // A password given for a file that has none is ignored, as the classic engine did.
    if (kind == dbfile::FileKind::Plain)
        mPassword.clear();

    // Until every check below has passed, the connection is this function's own: any
    // failure closes it on the way out.
    SqlConnection connection;
    const int flags = mReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    int rc = connection.open(mPath, flags);
    sqlite3 *db = connection.handle();
    if (rc != SQLITE_OK)
        throw RuntimeError(err::DatabaseNotFound, QStringLiteral("Could not find file '%1'.").arg(mPath));
    sqlite3_extended_result_codes(db, 1);
    applyKey(db, mPassword);
    checkCellSizes(db);
    // The text columns' order is needed by every statement that compares them, the checks
    // below included.
    registerFunctions(db);

    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if ((rc & 0xff) == SQLITE_NOTADB) {
        // Only a password that opens no page of the file is a wrong one.
        if (kind == dbfile::FileKind::Encrypted && EncryptedPages::probe(mPath, mPassword).pages == 0)
            raiseBadPassword();
        raiseDamaged(mPath);
    }
    // A header whose format bytes are damaged names a format no engine has written; a list
    // of tables whose pages are damaged reads as a malformed one.
    const QString failure = QString::fromUtf8(sqlite3_errmsg(db));
    if (rc == SQLITE_ERROR &&
        ((kind == dbfile::FileKind::Plain && failure == QLatin1String("unsupported file format")) ||
         failure.startsWith(QLatin1String("malformed database schema"))))
        raiseDamaged(mPath);
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        raiseInUse(mPath);
    if (rc != SQLITE_OK)
        raiseSqliteError(db, rc);

    if (mExclusive) {
        exec(db, "PRAGMA locking_mode = EXCLUSIVE");
        if (!mReadOnly) {
            rc = sqlite3_exec(db, "BEGIN EXCLUSIVE; COMMIT;", nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK) {
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
                raiseInUse(mPath);
            }
        }
    } else {
        sqlite3_busy_timeout(db, 2000);
    }

    if (!mAsItIs && QFileInfo(mPath).size() <= openCheckLimit()) {
        SqlStatement check(db, QStringLiteral("PRAGMA quick_check(1)"));
        bool ok = false;
        try {
            ok = check.step() && check.text(0) == QLatin1String("ok");
        } catch (const RuntimeError &) {
            ok = false;
        }
        if (!ok)
            raiseDamaged(mPath);
    }
    if (!mReadOnly) {
        try {
            upgradeTextOrder(db);
        } catch (const RuntimeError &) {
            // A file that cannot be rebuilt (rows another tool wrote past their size) still
            // opens; its lists sort the same, without the help of their indexes.
        }
    }
    mConnection = std::move(connection);
}

Database::~Database()
{
    close();
}

void Database::close()
{
    closeRecordsets();
    if (!mEngineName.isEmpty()) {
        noteClosedBy(mEngineName, mPath);
        mEngineName.clear();
    }
    mConnection.close();
    mUseLock.release();
    forgetCatalog();
}

void Database::closeRecordsets()
{
    const QSet<Recordset *> open = mRecordsets;
    for (Recordset *recordset : open)
        recordset->close();
    mRecordsets.clear();
}

sqlite3 *Database::handle() const
{
    if (!mConnection.isOpen())
        throw RuntimeError(err::ObjectInvalid, QStringLiteral("The database is closed."));
    return mConnection.handle();
}

void Database::attach(Recordset *recordset)
{
    mRecordsets.insert(recordset);
}

void Database::detach(Recordset *recordset)
{
    mRecordsets.remove(recordset);
}

namespace {

qint64 fileDataVersion(sqlite3 *db)
{
    SqlStatement version(db, QStringLiteral("PRAGMA data_version"));
    return version.step() ? version.int64(0) : -1;
}

} // namespace

void Database::countAhead(const QString &countingSql)
{
    mCountAhead.reset();
    sqlite3 *db = handle();
    SqlStatement count(db, countingSql);
    if (!count.step())
        return;
    mCountAhead = CountAhead{countingSql.trimmed(), count.int64(0), qint64(sqlite3_total_changes(db)),
                             fileDataVersion(db)};
}

std::optional<qint64> Database::takeCountAhead(const QString &countingSql)
{
    if (!mCountAhead)
        return std::nullopt;
    const CountAhead ahead = *std::exchange(mCountAhead, std::nullopt);
    sqlite3 *db = handle();
    if (ahead.sql != countingSql.trimmed() || ahead.changesMade != qint64(sqlite3_total_changes(db)) ||
        ahead.fileVersion != fileDataVersion(db))
        return std::nullopt;
    return ahead.rows;
}

void Database::prepareForWrite(Recordset *writer, const QString &table)
{
    mCountAhead.reset();
    for (Recordset *recordset : std::as_const(mRecordsets))
        if (recordset != writer && (table.isEmpty() || recordset->mayRead(table)))
            recordset->settleBeforeWrite();
    if (writer)
        writer->settleBeforeWrite();
}

bool Database::hasTriggers(const QString &table)
{
    SqlStatement statement(handle(), QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'trigger' AND "
                                                    "tbl_name = ?1 COLLATE NOCASE"));
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(statement.handle(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    return statement.step();
}

void Database::noteWrite()
{
    ++mDataVersion;
}

qint64 Database::execute(const QString &jetSql)
{
    sqlite3 *db = handle();
    const JetTranslation translation = translateJetSql(jetSql, JetTextKind::ActionQuery, catalog());
    SqlStatement statement(db, translation.sql);
    const bool writes = !statement.readOnly();
    static const QRegularExpression dml(QStringLiteral("^\\s*(INSERT|UPDATE|DELETE|REPLACE)\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    const bool rowsOnly = writes && dml.match(translation.sql).hasMatch();
    if (writes && mReadOnly)
        raiseReadOnlyDatabase(mPath);
    if (writes) {
        // A row statement writes its first named table; lists that cannot read that table
        // need not read all their keys first (the main list need not, for a work table).
        const QString target =
            rowsOnly && !translation.tables.isEmpty() ? translation.tables.front() : QString();
        prepareForWrite(nullptr, isTable(target) && !hasTriggers(target) ? target : QString());
    }
    while (statement.step()) {
    }
    mRecordsAffected = writes ? sqlite3_changes(db) : 0;
    if (writes) {
        noteWrite();
        if (!rowsOnly)
            forgetCatalog();
    }
    return mRecordsAffected;
}

SqlStatement Database::rowsStatement(const QString &table, const QString &field, const FieldValues &fixed,
                                     bool adding)
{
    if (mReadOnly)
        raiseReadOnlyDatabase(mPath);
    if (!isTable(table))
        throw RuntimeError(err::InputTableNotFound,
                           QStringLiteral("There is no table named '%1'.").arg(table));
    const QString spelt = canonicalName(table);
    const QList<JetColumn> &columns = *columnsOf(spelt);
    const auto column = [&](const QString &name) {
        for (const JetColumn &c : columns)
            if (c.name.compare(name, Qt::CaseInsensitive) == 0)
                return quoteSqlName(c.name);
        throw RuntimeError(err::ItemNotFound,
                           QStringLiteral("Item not found in this collection: %1.").arg(name));
    };
    QStringList names{column(field)};
    for (const auto &[name, value] : fixed)
        names << column(name);
    QStringList places;
    for (int i = 1; i <= names.size(); ++i)
        places << (adding ? QStringLiteral("?%1").arg(i)
                          : QStringLiteral("%1 = ?%2").arg(names[i - 1]).arg(i));
    const QString sql = adding ? QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(quoteSqlName(spelt), names.join(QLatin1String(", ")),
                                          places.join(QLatin1String(", ")))
                               : QStringLiteral("DELETE FROM %1 WHERE %2")
                                     .arg(quoteSqlName(spelt), places.join(QLatin1String(" AND ")));
    SqlStatement statement(handle(), sql);
    for (int i = 0; i < fixed.size(); ++i)
        statement.bind(i + 2, fixed[i].second);
    prepareForWrite(nullptr, hasTriggers(spelt) ? QString() : spelt);
    return statement;
}

qint64 Database::addRows(const QString &table, const QString &field, const QVariantList &values,
                         const FieldValues &fixed, qint64 *duplicates)
{
    SqlStatement statement = rowsStatement(table, field, fixed, true);
    sqlite3 *db = handle();
    qint64 added = 0, refused = 0;
    noteWrite();
    for (const QVariant &value : values) {
        statement.bind(1, value);
        const int rc = sqlite3_step(statement.handle());
        const int extended = sqlite3_extended_errcode(db);
        sqlite3_reset(statement.handle());
        if (rc == SQLITE_DONE) {
            ++added;
        } else if (extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY) {
            // Only that row is undone; the others stand.
            ++refused;
        } else {
            mRecordsAffected = added;
            raiseSqliteError(db, rc);
        }
    }
    if (duplicates)
        *duplicates = refused;
    mRecordsAffected = added;
    return added;
}

qint64 Database::deleteRows(const QString &table, const QString &field, const QVariantList &values,
                            const FieldValues &fixed)
{
    SqlStatement statement = rowsStatement(table, field, fixed, false);
    sqlite3 *db = handle();
    qint64 deleted = 0;
    noteWrite();
    for (const QVariant &value : values) {
        statement.bind(1, value);
        const int rc = sqlite3_step(statement.handle());
        if (rc != SQLITE_DONE) {
            sqlite3_reset(statement.handle());
            mRecordsAffected = deleted;
            raiseSqliteError(db, rc);
        }
        deleted += sqlite3_changes(db);
        sqlite3_reset(statement.handle());
    }
    mRecordsAffected = deleted;
    return deleted;
}

std::function<void(const QString &source)> &Database::openingObserver()
{
    static std::function<void(const QString &)> observer;
    return observer;
}

std::unique_ptr<Recordset> Database::openRecordset(const QString &source, RecordsetType type)
{
    if (openingObserver())
        openingObserver()(source);
    handle();
    QString name;
    if (isSingleName(source, name) && (isTable(name) || isView(name))) {
        const QString spelt = canonicalName(name);
        if (isTable(spelt) && (type == RecordsetType::Default || type == RecordsetType::Table))
            return std::unique_ptr<Recordset>(new TableRecordset(this, spelt));
        if (type == RecordsetType::Table)
            throw RuntimeError(
                err::InvalidOperation,
                QStringLiteral("'%1' is a query; only a table opens as a table-type record set.").arg(spelt));
        return std::unique_ptr<Recordset>(new QueryRecordset(
            this, QStringLiteral("Select * from [%1]").arg(spelt), type == RecordsetType::Snapshot));
    }
    if (type == RecordsetType::Table)
        throw RuntimeError(
            err::InvalidOperation,
            QStringLiteral("Only a table opens as a table-type record set, not '%1'.").arg(source));
    return std::unique_ptr<Recordset>(new QueryRecordset(this, source, type == RecordsetType::Snapshot));
}

QList<FieldInfo> Database::fieldsOf(const QString &sql, sqlite3_stmt *statement)
{
    auto found = mQueryFields.constFind(sql);
    if (found != mQueryFields.constEnd())
        return *found;
    QList<FieldInfo> fields;
    for (int i = 0; i < sqlite3_column_count(statement); ++i)
        fields.append(describeColumn(handle(), statement, i));
    if (mQueryFields.size() > 200)
        mQueryFields.clear();
    mQueryFields.insert(sql, fields);
    return fields;
}

void Database::forgetCatalog()
{
    mQueryFields.clear();
    mCatalog.clear();
    mIndexColumns.clear();
    mObjectTypes.clear();
    mObjectNames.clear();
    mTableDefs.clear();
}

bool Database::isTable(const QString &name)
{
    canonicalName(name);
    return mObjectTypes.value(name.toLower()) == QLatin1String("table");
}

bool Database::isView(const QString &name)
{
    canonicalName(name);
    return mObjectTypes.value(name.toLower()) == QLatin1String("view");
}

QString Database::canonicalName(const QString &tableOrView)
{
    if (mObjectTypes.isEmpty()) {
        SqlStatement objects(handle(),
                             QStringLiteral("SELECT type, name FROM sqlite_master WHERE type IN "
                                            "('table', 'view') AND name NOT LIKE 'sqlite~_%' ESCAPE '~'"));
        while (objects.step()) {
            const QString spelt = objects.text(1);
            mObjectTypes.insert(spelt.toLower(), objects.text(0));
            mObjectNames.insert(spelt.toLower(), spelt);
        }
    }
    return mObjectNames.value(tableOrView.toLower());
}

const QList<JetColumn> *Database::columnsOf(const QString &tableOrView)
{
    const QString key = tableOrView.toLower();
    auto found = mCatalog.find(key);
    if (found == mCatalog.end()) {
        std::optional<QList<JetColumn>> columns;
        const QString spelt = canonicalName(tableOrView);
        if (!spelt.isEmpty()) {
            SqlStatement select(handle(), QStringLiteral("SELECT * FROM %1").arg(quoteSqlName(spelt)));
            QList<JetColumn> list;
            for (int i = 0; i < select.columnCount(); ++i) {
                const FieldInfo info = describeColumn(mConnection.handle(), select.handle(), i);
                const char *declared = sqlite3_column_decltype(select.handle(), i);
                list.append(JetColumn{info.name, info.type, info.type == JetType::Text ? info.size : 0,
                                      declared && hasTextAffinity(QString::fromUtf8(declared))});
            }
            columns = list;
        }
        found = mCatalog.insert(key, columns);
    }
    return found->has_value() ? &found->value() : nullptr;
}

const QList<QStringList> &Database::indexColumnsOf(const QString &table)
{
    const QString key = table.toLower();
    auto found = mIndexColumns.find(key);
    if (found == mIndexColumns.end()) {
        QList<QStringList> indexes;
        if (isTable(table)) {
            const QString spelt = canonicalName(table);
            SqlStatement list(handle(), QStringLiteral("PRAGMA index_list(%1)").arg(quoteSqlName(spelt)));
            while (list.step()) {
                QStringList columns;
                SqlStatement info(mConnection.handle(),
                                  QStringLiteral("PRAGMA index_info(%1)").arg(quoteSqlName(list.text(1))));
                while (info.step())
                    columns.append(info.text(2));
                indexes.append(columns);
            }
        }
        found = mIndexColumns.insert(key, indexes);
    }
    return *found;
}

JetCatalog Database::catalog()
{
    return [this](const QString &name) { return columnsOf(name); };
}

TableDef Database::tableDef(const QString &table)
{
    if (!isTable(table))
        throw RuntimeError(
            err::ItemNotFound,
            QStringLiteral("Item not found in this collection: there is no table '%1'.").arg(table));
    // Kept with the rest of the catalog until the schema changes: a table-type record set
    // asks again at every change of its index.
    const auto known = mTableDefs.constFind(table.toLower());
    if (known != mTableDefs.cend())
        return *known;
    const QString spelt = canonicalName(table);
    QList<IndexDef> indexes;
    bool hasPrimary = false;
    SqlStatement list(handle(), QStringLiteral("PRAGMA index_list(%1)").arg(quoteSqlName(spelt)));
    while (list.step()) {
        const QString sqliteName = list.text(1);
        if (sqliteName.startsWith(QLatin1String("sqlite_autoindex")))
            continue;
        IndexDef index;
        index.name = sqliteName.startsWith(spelt + QLatin1Char('.'), Qt::CaseInsensitive)
                         ? sqliteName.mid(spelt.size() + 1)
                         : sqliteName;
        index.unique = list.int64(2) != 0;
        index.primary = index.name.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) == 0;
        hasPrimary = hasPrimary || index.primary;
        SqlStatement columns(mConnection.handle(),
                             QStringLiteral("PRAGMA index_info(%1)").arg(quoteSqlName(sqliteName)));
        while (columns.step())
            index.fields.append(columns.text(2));
        indexes.append(index);
    }
    const QList<JetColumn> fields = *columnsOf(spelt);
    if (!hasPrimary) {
        // The INTEGER PRIMARY KEY is the table's own order; it answers to "PrimaryKey".
        SqlStatement info(mConnection.handle(),
                          QStringLiteral("PRAGMA table_info(%1)").arg(quoteSqlName(spelt)));
        while (info.step())
            if (info.int64(5) == 1 &&
                info.text(2).compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
                indexes.prepend(IndexDef{QStringLiteral("PrimaryKey"), {info.text(1)}, true, true});
    }
    const TableDef def(spelt, fields, indexes);
    mTableDefs.insert(table.toLower(), def);
    return def;
}

QList<TableDef> Database::tableDefs()
{
    canonicalName(QString());
    QStringList names;
    for (auto it = mObjectTypes.cbegin(); it != mObjectTypes.cend(); ++it)
        if (it.value() == QLatin1String("table"))
            names.append(mObjectNames.value(it.key()));
    names.sort(Qt::CaseInsensitive);
    QList<TableDef> defs;
    for (const QString &name : names)
        defs.append(tableDef(name));
    return defs;
}

void Database::beginTrans()
{
    // Each write in the transaction settles the lists it may change; a rollback settles
    // them all, since it stops every read still under way.
    exec(handle(), "BEGIN");
}

void Database::commitTrans()
{
    exec(handle(), "COMMIT");
    noteWrite();
}

void Database::rollback()
{
    prepareForWrite();
    exec(handle(), "ROLLBACK");
    noteWrite();
    forgetCatalog();
}

void Database::newPassword(const QString &oldPassword, const QString &newPassword)
{
    sqlite3 *db = handle();
    if (mReadOnly)
        raiseReadOnlyDatabase(mPath);
    if (!mExclusive)
        throw RuntimeError(err::SharedPasswordChange,
                           QStringLiteral("The password can only be changed while the database is open "
                                          "exclusively."));
    if (oldPassword != mPassword)
        raiseBadPassword();
    // The rewrite replaces the file the path leads to, so that a symbolic link keeps
    // leading to the one file the user's backups know.
    const ReplacedFile file(mPath);
    const QString target = file.real();
    // The exclusive open keeps the program's other connections out; a program that only
    // has the file open would go on with the old one, deleted under it.
    if (const QString holder = otherProgramUsing(target); !holder.isEmpty())
        raiseInUse(mPath, holder);
    // The connection may not create files, so the new file is made empty beforehand.
    const QString temporary = file.makeWorkFile(RekeyWork);
    auto removeTemporary = [&] {
        QFile::remove(temporary);
        QFile::remove(temporary + QLatin1String("-journal"));
    };
    closeRecordsets();
    forgetCatalog();

    FileUseLock temporaryLock;
    try {
        // What the engine sorts while it copies (the indexes made anew) is rows in plain:
        // kept off the disk.
        exec(db, "PRAGMA temp_store = MEMORY");
        SqlStatement attach(db, QStringLiteral("ATTACH DATABASE ? AS quiltern_rekey KEY ?"));
        attach.bind(1, temporary);
        attach.bind(2, newPassword.isEmpty() ? QStringLiteral("") : newPassword);
        attach.step();
        attach.finalize();
        try {
            SqlStatement version(db, QStringLiteral("PRAGMA main.user_version"));
            const qint64 userVersion = version.step() ? version.int64(0) : 0;
            version.finalize();
            exec(db, "SELECT sqlcipher_export('quiltern_rekey')");
            exec(db, QStringLiteral("PRAGMA quiltern_rekey.user_version = %1")
                         .arg(userVersion)
                         .toUtf8()
                         .constData());
        } catch (...) {
            sqlite3_exec(db, "DETACH DATABASE quiltern_rekey", nullptr, nullptr, nullptr);
            throw;
        }
        exec(db, "DETACH DATABASE quiltern_rekey");

        // The rewritten file must open with the new password before it replaces the old one.
        {
            const SqlConnection check = rawOpen(temporary, SQLITE_OPEN_READWRITE, newPassword);
            registerFunctions(check.handle());
            SqlStatement probe(check.handle(), QStringLiteral("PRAGMA quick_check(1)"));
            if (!probe.step() || probe.text(0) != QLatin1String("ok"))
                raiseDamaged(temporary);
        }
        // Marked before it is renamed, the new file is never open to another copy of the
        // program before this connection has it again.
        if (temporaryLock.take(temporary, true) == FileUseLock::Result::InUse)
            raiseInUse(temporary);
    } catch (...) {
        removeTemporary();
        throw;
    }

    mConnection.close();
    try {
        file.takePlace(temporary);
    } catch (...) {
        removeTemporary();
        openConnection();
        throw;
    }
    mUseLock = std::move(temporaryLock);
    mPassword = newPassword;
    openConnection();
}

void Database::create(const QString &path, const QString &schemaSql)
{
    if (QFileInfo::exists(path))
        throw RuntimeError(err::DatabaseExists, QStringLiteral("Database '%1' already exists.").arg(path));
    const QString temporary = freshSidePath(path, QStringLiteral("new"));
    try {
        const SqlConnection connection =
            rawOpen(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, QString());
        sqlite3 *db = connection.handle();
        registerFunctions(db);
        exec(db, "BEGIN");
        exec(db, schemaSql.toUtf8().constData());
        exec(db, "COMMIT");
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    if (QFileInfo::exists(path)) {
        QFile::remove(temporary);
        throw RuntimeError(err::DatabaseExists, QStringLiteral("Database '%1' already exists.").arg(path));
    }
    renameOver(temporary, path);
}

} // namespace platform
