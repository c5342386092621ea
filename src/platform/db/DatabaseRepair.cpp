#include "platform/db/Database.h"

#include "platform/RuntimeError.h"
#include "platform/base/FreeMemory.h"
#include "platform/db/DaoError.h"
#include "platform/db/DatabaseFile.h"
#include "platform/db/DatabaseHeader.h"
#include "platform/db/EncryptedPages.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/PageSalvage.h"
#include "platform/db/ReplacedFile.h"
#include "platform/db/SqlStatement.h"
#include "platform/db/SqliteError.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>

#include <cerrno>
#include <limits>
#include <optional>
#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

// The repair of a damaged file: the file is read through a scratch copy attached to a fresh
// file, which takes its place once every readable row is in it.
namespace platform {

bool dbfile::failedToWrite(int engineResult)
{
    switch (engineResult & 0xff) {
    case SQLITE_NOMEM:
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return true;
    default:
        return false;
    }
}

bool dbfile::failedToWrite(const RuntimeError &error)
{
    // The engine's other failures (a garbled page read as a row too big, say) are told as
    // errors of the disk too, by number: those of the disk itself are told by their text.
    static const QStringList disk{QStringLiteral("Disk or network error"), QStringLiteral("Could not write"),
                                  QStringLiteral("Could not create"), QStringLiteral("Could not open")};
    return error.number() == err::DiskFull || error.number() == err::OutOfMemory ||
           (error.number() == err::DiskError &&
            std::any_of(disk.cbegin(), disk.cend(),
                        [&](const QString &text) { return error.description().startsWith(text); }));
}

namespace {
// Where the files held in memory are reached, and the engine's access to them.
const QString InMemory = QStringLiteral("/proc/self/fd/");
constexpr char MemoryAccess[] = "quiltern-memory";
} // namespace

QString dbfile::engineName(const QString &file)
{
    return file.startsWith(InMemory) ? QStringLiteral("file:%1?vfs=%2").arg(file, QLatin1String(MemoryAccess))
                                     : file;
}

using namespace dbfile;

namespace {

// What the engine could not write: a full disk is told as one, whichever way the engine
// reported it.
[[noreturn]] void raiseEngineNotWritten(sqlite3 *db, int result)
{
    if ((result & 0xff) == SQLITE_NOMEM)
        raiseOutOfMemory();
    if (const int cause = diskFullCause(db))
        raiseNotWritten(QString::fromUtf8(sqlite3_db_filename(db, "main")), cause);
    raiseSqliteError(db, result);
}

// Runs a statement whose failure the work can pass over, unless it failed to write.
bool runUnlessNotWritten(sqlite3 *db, const QString &sql)
{
    const int result = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (result != SQLITE_OK && failedToWrite(result))
        raiseEngineNotWritten(db, result);
    return result == SQLITE_OK;
}

// Passes on a failure to write caught where other failures are passed over.
void passOnNotWritten(const RuntimeError &error)
{
    if (failedToWrite(error))
        throw error;
}

// Tells the caller how far the repair has come, and goes on telling while one long
// statement of the engine runs, so that a window showing it stays alive.
class RepairTicker {
  public:
    explicit RepairTicker(Database::RepairProgress progress) : mProgress(std::move(progress)) {}

    void step(Database::RepairStep step, qint64 total = 0)
    {
        mStep = step;
        mDone = 0;
        mTotal = total;
        tell();
    }
    void at(qint64 done, qint64 total)
    {
        mDone = done;
        mTotal = total;
        tell();
    }
    void advance()
    {
        ++mDone;
        tell();
    }
    std::function<void(qint64, qint64)> reporter()
    {
        if (!mProgress)
            return {};
        return [this](qint64 done, qint64 total) { at(done, total); };
    }
    // The engine calls back every so many of its instructions while a statement runs.
    void watch(sqlite3 *db)
    {
        if (mProgress)
            sqlite3_progress_handler(db, EngineInstructions, &RepairTicker::engineRuns, this);
    }

  private:
    static int engineRuns(void *ticker)
    {
        static_cast<RepairTicker *>(ticker)->tell();
        return 0; // never interrupts
    }
    void tell() const
    {
        if (mProgress)
            mProgress(mStep, mTotal > 0 ? std::min(mDone, mTotal) : mDone, mTotal);
    }

    static constexpr int EngineInstructions = 20000;
    Database::RepairProgress mProgress;
    Database::RepairStep mStep = Database::RepairStep::Reading;
    qint64 mDone = 0, mTotal = 0;
};

// Copies the readable rows of one damaged table: a scan copies rows until it meets an
// unreadable page; the key range behind that page is then halved again and again so that
// rows on the readable pages beyond it are found and copied too.
class RowSalvage {
  public:
    RowSalvage(sqlite3 *db, const QString &table, RepairTicker &ticker)
        : mDb(db), mTable(quoteSqlName(table)), mName(table), mTicker(ticker),
          mCopy(db,
                QStringLiteral("INSERT INTO main.%1 SELECT * FROM damaged.%1 WHERE rowid = ?").arg(mTable)),
          mRange(db,
                 QStringLiteral("SELECT rowid FROM damaged.%1 WHERE rowid > ? AND rowid <= ? ORDER BY rowid")
                     .arg(mTable))
    {
    }

    // Copies what can be read; false when the table did not read whole, or a row it lists
    // could not be read.
    bool run()
    {
        constexpr qint64 none = std::numeric_limits<qint64>::min();
        qint64 last = none;
        if (scan(none, std::numeric_limits<qint64>::max(), last))
            return mUnreadable.isEmpty() && !mMissed;
        const qint64 from = std::max<qint64>(last, 0);
        const qint64 top = highestKey(from);
        salvage(from, top, 0);
        qint64 beyond = none;
        scan(top, std::numeric_limits<qint64>::max(), beyond);
        return false;
    }

    // Read as the program reads, a page one of whose cells claims more than the page holds
    // is refused whole, with the sound rows it holds; read again without that check, those
    // rows join the ones copied. Only a table whose key is a column of its rows can tell a
    // row copied already from one to add.
    void runUnchecked()
    {
        int keyColumns = 0;
        bool integerKey = false;
        {
            SqlStatement columns(mDb, QStringLiteral("PRAGMA main.table_info(%1)").arg(mTable));
            while (columns.step())
                if (columns.int64(5) > 0) {
                    ++keyColumns;
                    integerKey = columns.text(2).compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
                }
        }
        if (keyColumns != 1 || !integerKey)
            return;
        exec(mDb, "PRAGMA cell_size_check = OFF");
        const auto checkAgain = qScopeGuard(
            [this] { sqlite3_exec(mDb, "PRAGMA cell_size_check = ON", nullptr, nullptr, nullptr); });
        run();
    }

    // The rows the table lists that were not copied: read whole but refused by the table's
    // own rules, or unreadable themselves (a lost page of a long row's text, say).
    qint64 refused() const { return mRefused.size() + mUnreadable.size(); }

  private:
    // The highest key the table may hold. The search below it is as long as the range is
    // wide, so a bound is taken from whatever still tells one: the table itself, its
    // counter, the keys its indexes list; failing all, a range of keys past the last read.
    qint64 highestKey(qint64 from)
    {
        if (const auto top = readKey(QStringLiteral("SELECT max(rowid) FROM damaged.%1").arg(mTable)))
            return std::max(from, *top);
        if (const auto top =
                readKey(QStringLiteral("SELECT seq FROM damaged.sqlite_sequence WHERE name = ?")))
            return std::max(from, *top);
        QStringList indexes;
        try {
            SqlStatement list(
                mDb, QStringLiteral("SELECT name FROM damaged.sqlite_master WHERE type = 'index' AND "
                                    "tbl_name = ?"));
            list.bind(1, mName);
            while (list.step())
                indexes.append(list.text(0));
        } catch (const RuntimeError &) {
        }
        std::optional<qint64> top;
        for (const QString &index : indexes) {
            // An index lists its rows' keys on pages of its own, read as far as they can be.
            try {
                SqlStatement keys(mDb, QStringLiteral("SELECT rowid FROM damaged.%1 INDEXED BY %2")
                                           .arg(mTable, quoteSqlName(index)));
                while (keys.step())
                    top = std::max(top.value_or(from), keys.int64(0));
            } catch (const RuntimeError &) {
            }
        }
        return std::max(from, top.value_or(from + BlindRange));
    }

    // The one value a query gives, the table's name bound where it asks for it.
    std::optional<qint64> readKey(const QString &sql)
    {
        try {
            SqlStatement query(mDb, sql);
            if (sql.contains(QLatin1Char('?')))
                query.bind(1, mName);
            if (query.step() && !query.isNull(0))
                return query.int64(0);
        } catch (const RuntimeError &) {
        }
        return std::nullopt;
    }

    // Copies the rows with low < rowid <= high; false when an unreadable page stopped it,
    // with `last` the last rowid passed. The search below an unreadable page fails many
    // times over: a failure is told by the engine's result, not thrown, which would cost
    // more than the reading.
    bool scan(qint64 low, qint64 high, qint64 &last)
    {
        mRange.reset();
        mRange.bindInt64(1, low);
        mRange.bindInt64(2, high);
        int result = SQLITE_ROW;
        while ((result = sqlite3_step(mRange.handle())) == SQLITE_ROW) {
            last = mRange.int64(0);
            copy(last, true);
        }
        mRange.reset();
        if ((result & 0xff) == SQLITE_NOMEM)
            raiseOutOfMemory();
        return result == SQLITE_DONE;
    }

    // `listed` when a readable page lists the row: a key tried blindly that fails to read
    // may be no row at all.
    void copy(qint64 rowid, bool listed)
    {
        mCopy.reset();
        mCopy.bindInt64(1, rowid);
        const int result = sqlite3_step(mCopy.handle());
        mCopy.reset();
        mTicker.advance();
        if (result == SQLITE_DONE || result == SQLITE_ROW) {
            // A row an earlier reading could not reach is no longer lost once copied. One a
            // readable page lists that its key does not find (a garbled key out of order
            // among its page's others misleads the search) is not copied: the table did not
            // read whole, though the key may be garbage and count no row.
            if (sqlite3_changes(mDb) > 0)
                mUnreadable.remove(rowid);
            else if (listed)
                mMissed = true;
            return;
        }
        // A row that could not be written is no row lost: the repair stops.
        if (failedToWrite(result))
            raiseEngineNotWritten(mDb, result);
        // An unreadable or conflicting row is left behind; the others are copied. A row the
        // table's own rules refuse was read, and counts among those the file held. A
        // damaged page can list a key twice: the second copy of a row is no row lost.
        if (copied(rowid))
            return;
        if ((result & 0xff) == SQLITE_CONSTRAINT)
            mRefused.insert(rowid);
        else if (listed)
            mUnreadable.insert(rowid);
    }

    bool copied(qint64 rowid)
    {
        try {
            SqlStatement find(mDb, QStringLiteral("SELECT 1 FROM main.%1 WHERE rowid = ?").arg(mTable));
            find.bindInt64(1, rowid);
            return find.step();
        } catch (const RuntimeError &error) {
            passOnNotWritten(error);
            return false;
        }
    }

    void salvage(qint64 low, qint64 high, int depth)
    {
        if (low >= high || depth > 62)
            return;
        qint64 last = low;
        if (scan(low, high, last))
            return;
        const qint64 from = std::max(low, last);
        if (high - from <= 1) {
            copy(high, false);
            return;
        }
        const qint64 middle = from + (high - from) / 2;
        salvage(middle, high, depth + 1);
        salvage(from, middle, depth + 1);
    }

    // Keys searched past the last one read when nothing tells how far the table goes.
    static constexpr qint64 BlindRange = 1 << 16;

    sqlite3 *mDb;
    QString mTable;
    QString mName;
    RepairTicker &mTicker;
    QSet<qint64> mRefused;
    QSet<qint64> mUnreadable;
    bool mMissed = false; // a key a readable page lists was not found
    SqlStatement mCopy;
    SqlStatement mRange;
};

// What stopped a repair that found the file too damaged to copy.
struct RepairStopped {
    QString cause;
};

[[noreturn]] void raiseRepairFailed(const QString &path, const QString &cause, int number)
{
    throw RuntimeError(number,
                       QStringLiteral("The database '%1' could not be repaired: %2 The file has not been "
                                      "changed.")
                           .arg(path, cause));
}

struct SchemaObject {
    QString type, name, sql;
};

// Attaches the plain file `file` as "damaged". What the work changes in it need not last: its
// journal is kept in memory, which a copy held in memory has no folder for anyway.
void attachScratch(sqlite3 *db, const QString &file)
{
    SqlStatement attach(db, QStringLiteral("ATTACH DATABASE ? AS damaged KEY ''"));
    attach.bind(1, engineName(file));
    attach.step();
    attach.finalize();
    exec(db, "PRAGMA damaged.journal_mode = MEMORY");
}

// Writes `bytes` at `at` in the file, or throws why it could not.
void writeAt(const QString &file, qint64 at, const QByteArray &bytes)
{
    QFile opened(file);
    if (!opened.open(QIODevice::ReadWrite))
        raiseNotWritten(file, EACCES);
    if (::pwrite(opened.handle(), bytes.constData(), size_t(bytes.size()), at) != bytes.size())
        raiseNotWritten(file, errno == 0 ? ENOSPC : errno);
}

// The engine's own file access under another name, taking a file's name as given: the
// engine's would follow the link a copy in memory is reached by to a name no file has.
void registerMemoryAccess()
{
    static const bool registered = [] {
        static sqlite3_vfs access = *sqlite3_vfs_find(nullptr);
        access.zName = MemoryAccess;
        access.xFullPathname = [](sqlite3_vfs *, const char *name, int size, char *full) {
            sqlite3_snprintf(size, full, "%s", name);
            return SQLITE_OK;
        };
        return sqlite3_vfs_register(&access, 0) == SQLITE_OK;
    }();
    Q_UNUSED(registered);
}

// The copy an encrypted file is read through holds its pages decrypted: it lives in memory
// only, never on the disk, and goes with the process however that ends. Reached by a path,
// as the engine and the page reading need one.
class ScratchInMemory {
  public:
    ScratchInMemory() = default;
    ScratchInMemory(const ScratchInMemory &) = delete;
    ScratchInMemory &operator=(const ScratchInMemory &) = delete;
    ~ScratchInMemory() { close(); }

    QString make()
    {
        close();
#ifdef Q_OS_LINUX
        registerMemoryAccess();
        mHandle = ::memfd_create("quiltern-scratch", MFD_CLOEXEC);
#endif
        if (mHandle < 0)
            throw RuntimeError(err::DiskError,
                               QStringLiteral("Could not make a copy of the database in memory "
                                              "(%1).")
                                   .arg(qt_error_string(errno)));
        return InMemory + QString::number(mHandle);
    }
    bool isHeld() const
    {
        return mHandle >= 0;
    }
    void close()
    {
        if (mHandle >= 0)
            ::close(mHandle);
        mHandle = -1;
    }

  private:
    int mHandle = -1;
};

// Attaches `file` as "damaged" and reads its tables, indexes and views; nothing when its
// list of them cannot be read, or holds no table whose first row can be read.
QList<SchemaObject> attachDamaged(sqlite3 *db, const QString &file)
{
    QList<SchemaObject> objects;
    try {
        attachScratch(db, file);
        SqlStatement schema(
            db, QStringLiteral("SELECT type, name, sql FROM damaged.sqlite_master WHERE sql IS "
                               "NOT NULL AND name NOT LIKE 'sqlite~_%' ESCAPE '~' ORDER BY rowid"));
        while (schema.step())
            objects.append({schema.text(0), schema.text(1), schema.text(2)});
    } catch (const RuntimeError &) {
        objects.clear();
    }
    // A header that reads but is wrong shows its list of tables over pages of other things.
    bool readable = false;
    for (const SchemaObject &object : objects) {
        if (object.type != QLatin1String("table") || readable)
            continue;
        try {
            SqlStatement first(
                db, QStringLiteral("SELECT * FROM damaged.%1 LIMIT 1").arg(quoteSqlName(object.name)));
            first.step();
            readable = true;
        } catch (const RuntimeError &) {
        }
    }
    if (!readable) {
        objects.clear();
        sqlite3_exec(db, "DETACH DATABASE damaged", nullptr, nullptr, nullptr);
    }
    return objects;
}

// For a plain file whose header is damaged: its copy at `scratch` gets a header made again,
// with the smallest page size under which its tables can be read, and is attached.
QList<SchemaObject> attachWithRebuiltHeader(sqlite3 *db, const QString &scratch)
{
    QFile copy(scratch);
    if (!copy.open(QIODevice::ReadWrite))
        return {};
    const qint64 size = copy.size();
    copy.close();
    for (int pageSize : DatabaseHeader::pageSizes()) {
        if (size < pageSize)
            break;
        writeAt(scratch, 0, DatabaseHeader::rebuilt(pageSize, size));
        const QList<SchemaObject> objects = attachDamaged(db, scratch);
        if (!objects.isEmpty())
            return objects;
    }
    return {};
}

// The program's own tables and their indexes as a new database of it has them, by
// lower-case table name, and its stored queries.
struct OwnTable {
    QString name, sql;
    QStringList indexes;
};

struct OwnSchema {
    QHash<QString, OwnTable> tables;
    QStringList views;
};

OwnSchema ownSchema()
{
    OwnSchema own;
    QHash<QString, OwnTable> &tables = own.tables;
    try {
        const SqlConnection memory =
            rawOpen(QStringLiteral(":memory:"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, QString());
        registerFunctions(memory.handle());
        exec(memory.handle(), shippedSchema().toUtf8().constData());
        SqlStatement list(memory.handle(),
                          QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master WHERE type IN "
                                         "('table', 'index', 'view') AND sql IS NOT NULL AND name NOT LIKE "
                                         "'sqlite~_%' ESCAPE '~' ORDER BY type DESC, rowid"));
        while (list.step()) {
            if (list.text(0) == QLatin1String("view")) {
                own.views.append(list.text(3));
                continue;
            }
            OwnTable &table = tables[list.text(2).toLower()];
            if (list.text(0) == QLatin1String("table"))
                table = {list.text(1), list.text(3), table.indexes};
            else
                table.indexes.append(list.text(3));
        }
    } catch (const RuntimeError &) {
        own = {};
    }
    return own;
}

// A table of the program's own whose stored definition cannot be read is given the
// program's definition in the scratch copy of the file, so that its rows and its indexes
// read as any other table's. True when one was.
bool mendStoredDefinitions(sqlite3 *db, const QList<SchemaObject> &objects,
                           const QHash<QString, OwnTable> &own)
{
    static const QStringList kinds{QStringLiteral("table"), QStringLiteral("index"), QStringLiteral("view"),
                                   QStringLiteral("trigger")};
    bool mended = false;
    for (const SchemaObject &object : objects) {
        const auto known = own.constFind(object.name.toLower());
        if (known == own.constEnd())
            continue;
        // The entry of a table of the program's whose kind is garbled is the table's.
        if (!kinds.contains(object.type)) {
            try {
                SqlStatement mend(
                    db, QStringLiteral("UPDATE damaged.sqlite_master SET type = 'table' WHERE name = ? "
                                       "AND type NOT IN ('table', 'index', 'view', 'trigger')"));
                mend.bind(1, object.name);
                mend.step();
                mended = true;
            } catch (const RuntimeError &error) {
                passOnNotWritten(error);
            }
        }
        if (object.type != QLatin1String("table"))
            continue;
        sqlite3_stmt *compiled = nullptr;
        const QByteArray sql = object.sql.toUtf8();
        const int rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &compiled, nullptr);
        sqlite3_finalize(compiled);
        if (rc == SQLITE_OK)
            continue;
        try {
            SqlStatement mend(
                db,
                QStringLiteral("UPDATE damaged.sqlite_master SET sql = ? WHERE type = 'table' AND name = ?"));
            mend.bind(1, known->sql);
            mend.bind(2, object.name);
            mend.step();
            mended = true;
        } catch (const RuntimeError &error) {
            passOnNotWritten(error);
            // Its rows are then looked for page by page.
        }
    }
    return mended;
}

// Makes a table of the repaired file from its stored definition; false, with nothing made,
// when the definition cannot be read or names another table than the list of tables does.
bool makesTable(sqlite3 *db, const SchemaObject &table)
{
    exec(db, "SAVEPOINT quiltern_table");
    bool made = runUnlessNotWritten(db, table.sql);
    if (made) {
        SqlStatement named(db, QStringLiteral("SELECT 1 FROM main.sqlite_master WHERE type = 'table' AND "
                                              "name = ? COLLATE NOCASE"));
        named.bind(1, table.name);
        made = named.step();
    }
    if (!made)
        exec(db, "ROLLBACK TO quiltern_table");
    exec(db, "RELEASE quiltern_table");
    return made;
}

// One table of the repaired file, as its rows were copied.
struct CopiedTable {
    QString name;
    bool ownDefinition = false; // the stored one could not be read, or the table was missing
    bool whole = false;         // read whole through its own pages
    qint64 seen = 0;            // rows read of it
    // The rows its own pages list, where every one of them reads as a row.
    std::optional<qint64> listed = std::nullopt;
};

// The keys an index of a damaged table lists, read from both of its ends: only the entries
// on its own damaged pages are missed. `whole` tells whether it read to its end.
QSet<qint64> keysOfIndex(sqlite3 *db, const QString &table, const QString &index, bool &whole)
{
    QSet<qint64> keys;
    whole = false;
    // Read in the index's order, which only the index gives: the engine reads a small
    // table's index no other way.
    SqlStatement first(db, QStringLiteral("PRAGMA damaged.index_info(%1)").arg(quoteSqlName(index)));
    if (!first.step() || first.isNull(2))
        return keys;
    const QString column = quoteSqlName(first.text(2));
    first.finalize();
    for (const char *order : {"ASC", "DESC"}) {
        try {
            SqlStatement entries(
                db, QStringLiteral("SELECT rowid FROM damaged.%1 INDEXED BY %2 ORDER BY %3 %4")
                        .arg(quoteSqlName(table), quoteSqlName(index), column, QLatin1String(order)));
            while (entries.step())
                keys.insert(entries.int64(0));
            whole = true;
            break;
        } catch (const RuntimeError &) {
        }
    }
    return keys;
}

// What the indexes of a damaged table tell of its rows.
struct IndexedRows {
    qint64 rows = 0; // the keys listed, as indexedRows counts them
    // The most entries one index lists: each stands for a row the table held, though a
    // garbled key may not name it.
    qint64 mostListed = 0;
    int indexes = 0;
    // The keys of the first index that read to its end: every row the table held.
    std::optional<QSet<qint64>> wholeKeys;
};

// The rows of a damaged table that its indexes list: their entries lie on pages of their
// own, so they still tell the rows of a garbled page. A key is taken when two indexes list
// it (or the one index the table has): a byte gone wrong in one index makes a key no row
// has.
IndexedRows indexedRows(sqlite3 *db, const QString &scratch, const QString &table,
                        const QList<SchemaObject> &objects)
{
    IndexedRows indexed;
    QHash<qint64, int> listings;
    int &indexes = indexed.indexes;
    for (const SchemaObject &object : objects) {
        if (object.type != QLatin1String("index"))
            continue;
        try {
            SqlStatement indexOf(
                db, QStringLiteral("SELECT tbl_name, rootpage FROM damaged.sqlite_master WHERE name = ?"));
            indexOf.bind(1, object.name);
            if (!indexOf.step() || indexOf.text(0).compare(table, Qt::CaseInsensitive) != 0)
                continue;
            const qint64 root = indexOf.int64(1);
            indexOf.finalize();
            ++indexes;
            // The engine can read out of bounds walking an index whose pages do not hold
            // together, and end the program: such an index tells nothing here.
            if (root < 2 || root > 0xffffffff || !PageSalvage::indexHoldsTogether(scratch, quint32(root)))
                continue;
            bool whole = false;
            QSet<qint64> keys = keysOfIndex(db, table, object.name, whole);
            indexed.mostListed = std::max(indexed.mostListed, qint64(keys.size()));
            for (qint64 key : std::as_const(keys))
                ++listings[key];
            if (whole && !indexed.wholeKeys)
                indexed.wholeKeys = std::move(keys);
        } catch (const RuntimeError &) {
        }
    }
    const int enough = std::min(indexes, 2);
    indexed.rows =
        std::count_if(listings.cbegin(), listings.cend(), [&](int listed) { return listed >= enough; });
    return indexed;
}

// How many of `keys` the repaired table lacks.
qint64 keysNotKept(sqlite3 *db, const QString &table, const QSet<qint64> &keys)
{
    QSet<qint64> kept;
    SqlStatement rows(db, QStringLiteral("SELECT rowid FROM main.%1").arg(quoteSqlName(table)));
    while (rows.step())
        kept.insert(rows.int64(0));
    return std::count_if(keys.cbegin(), keys.cend(), [&](qint64 key) { return !kept.contains(key); });
}

qint64 rowCount(sqlite3 *db, const QString &table)
{
    SqlStatement count(db, QStringLiteral("SELECT count(*) FROM main.%1").arg(quoteSqlName(table)));
    return count.step() ? count.int64(0) : 0;
}

// One repair of one file, its steps in the order they run.
class Repair {
  public:
    Repair(const QString &path, const QString &password, const Database::RepairProgress &progress)
        : mTicker(progress), mPath(path), mPassword(password)
    {
    }

    // What the file is, and whether it may be replaced.
    void lookAtFile()
    {
        // The file a link leads to is repaired, beside itself, and read through the names its
        // folders list, as it is renamed.
        mFile.emplace(mPath);
        mFullPath = mFile->real();
        if (!QFileInfo(mFullPath).isFile())
            throw RuntimeError(err::DatabaseNotFound, QStringLiteral("Could not find file '%1'.").arg(mPath));
        const FileKind kind = sniff(mFullPath);
        if (kind == FileKind::Foreign || kind == FileKind::Jet)
            raiseForeign(mPath, kind);
        if (kind == FileKind::Encrypted && mPassword.isEmpty())
            raiseBadPassword();
        mEncrypted = kind == FileKind::Encrypted;
        if (!mEncrypted)
            mPassword.clear();
        mSize = QFileInfo(mFullPath).size();
        // A repair replaces the file, which a read-only mark forbids.
        if (Database::cannotBeWritten(mFullPath))
            raiseReadOnlyDatabase(mFullPath);
        holdFile();
        fitInMemory();
        mFresh = mFile->makeWorkFile(RepairWork);
    }

    // The file is read through a plain copy, which may be changed: it gets a header again
    // when its own is damaged, and is lent the probes that read its loose pages. An
    // encrypted file's copy holds every page its key opens, the others as zeros, in memory.
    void makeScratchCopy()
    {
        mScratch = mEncrypted ? mScratchInMemory.make() : mFile->makeWorkFile(ScratchWork);
        mTicker.step(Database::RepairStep::Reading);
        if (mEncrypted) {
            const EncryptedPages::Opened opened =
                EncryptedPages::decrypt(mFullPath, mPassword, mScratch, mTicker.reporter());
            if (opened.pages == 0)
                raiseBadPassword();
            mPageSize = opened.pageSize;
            mReserve = opened.reserve;
        } else {
            copyFileInto(mFullPath, mScratch);
        }
    }

    // The header's page count, read before anything of the work changes the copy's first
    // page: an encrypted file's in its first page as the key opens it.
    void noteClaimedLength() { mClaimedHead = readHead(mEncrypted ? mScratch : mFullPath); }

    // Opens the fresh file and attaches the scratch copy to it as "damaged".
    void attach()
    {
        mOwn = ownSchema();
        // Names given as the engine's addresses reach the copy held in memory.
        mConnection = rawOpen(mFresh, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, mPassword);
        mDb = mConnection.handle();
        registerFunctions(mDb);
        mTicker.watch(mDb);
        // What the engine sorts or sets aside while it works is a plain copy of rows, kept
        // off the disk.
        exec(mDb, "PRAGMA temp_store = MEMORY");
        // The copy writes every row and then every index of it: with pages held in memory
        // instead of being written out and read back (and, in an encrypted file, encrypted
        // and decrypted again each time), the repair takes a fraction of the time.
        exec(mDb,
             QStringLiteral("PRAGMA main.cache_size = -%1").arg(mCacheBytes / 1024).toUtf8().constData());
        // A file cut short claims more pages than it has; this lets it be read as far as it
        // goes instead of being refused whole.
        exec(mDb, "PRAGMA writable_schema = ON");
        mObjects = attachDamaged(mDb, mScratch);
        // A page that the key opens is whole, its header included.
        if (mObjects.isEmpty() && !mEncrypted)
            mObjects = attachWithRebuiltHeader(mDb, mScratch);
        if (mObjects.isEmpty())
            attachWithoutList();
    }

    void mendDefinitions()
    {
        if (!mendStoredDefinitions(mDb, mObjects, mOwn.tables))
            return;
        exec(mDb, "DETACH DATABASE damaged");
        mObjects = attachDamaged(mDb, mScratch);
        if (mObjects.isEmpty())
            throw RepairStopped{QStringLiteral("its tables cannot be read.")};
    }

    // Copies every table whose pages can be read, with its counter, indexes and the file's
    // version.
    void copy()
    {
        mTicker.step(Database::RepairStep::Copying);
        countHeld();
        mTicker.step(Database::RepairStep::Copying, expectedRows());
        exec(mDb, "BEGIN");
        makeTables();
        listRows();
        for (CopiedTable &table : mTables) {
            if (table.ownDefinition)
                continue;
            RowSalvage salvage(mDb, table.name, mTicker);
            table.whole = salvage.run();
            if (!table.whole)
                salvage.runUnchecked();
            table.seen = rowCount(mDb, table.name) + salvage.refused();
        }
        copyCounters();
        makeIndexesAndViews();
        copyVersion();
        noteReadPages();
        exec(mDb, "COMMIT");
        exec(mDb, "DETACH DATABASE damaged");
        exec(mDb, "PRAGMA writable_schema = OFF");
    }

    // Rows the tables no longer reach, looked for on the file's other pages.
    void salvage()
    {
        // A table read to its end may still miss rows: a damaged pointer can lead its
        // reading past some of its pages, whose rows its indexes then still list, or to a
        // page whose rows do not hold together in place of one that is no longer reached.
        QStringList incomplete;
        for (const CopiedTable &table : std::as_const(mTables))
            if (!table.whole || table.ownDefinition || !table.listed ||
                mIndexed.value(table.name.toLower()).rows > table.seen)
                incomplete.append(table.name);
        if (!incomplete.isEmpty()) {
            mTicker.step(Database::RepairStep::Searching);
            const QStringList deferred = dropPlainIndexes(incomplete);
            mFound = PageSalvage::run(mDb, mScratch, mReadRoots, incomplete, mTicker.reporter());
            for (const QString &index : deferred)
                exec(mDb, index.toUtf8().constData());
        }
    }

    // Checks the repaired copy and counts what it keeps of what the file held.
    void count()
    {
        mTicker.step(Database::RepairStep::Checking);
        SqlStatement check(mDb, QStringLiteral("PRAGMA integrity_check(1)"));
        if (!check.step() || check.text(0) != QLatin1String("ok"))
            throw RepairStopped{QStringLiteral("the repaired copy did not pass its check.")};
        check.finalize();
        if (mListLost && mFound.isEmpty())
            throw RepairStopped{QStringLiteral("its tables cannot be read.")};
        for (const CopiedTable &table : std::as_const(mTables))
            mReport.tables.append(accountFor(table));
        // The working copy's header has the page size the file was read with, though the
        // file's own may be damaged.
        mReport.cutShort =
            mEncrypted ? mSize % mPageSize != 0 : DatabaseHeader::cutShort(readHead(mScratch), mSize);
        noteCut();
        mConnection.close();
        removeScratch();
    }

    // The damaged file is kept as a backup, a second name of it, before the repaired one
    // takes its place in one step: killed at any moment, the path holds one of them whole.
    Database::RepairReport swap()
    {
        // Marked before it is renamed, the repaired file is never open to another copy of
        // the program before it has its permissions.
        auto repairedLock = std::make_shared<FileUseLock>();
        repairedLock->take(mFresh, true);
        ReplacedFile::Backup backup;
        try {
            backup = mFile->keepBackup();
            mFile->takePlace(mFresh);
        } catch (const RuntimeError &error) {
            if (backup.made)
                QFile::remove(backup.path);
            QFile::remove(mFresh);
            raiseRepairFailed(mPath, error.description(), error.number());
        }
        mReport.backup = backup.path;
        repairedLock->keepCopyHoldOnly();
        mReport.hold = std::move(repairedLock);
        return mReport;
    }

    // After a failure: the file stays as it was, and nothing of the work is left.
    void removeWork()
    {
        mConnection.close();
        removeFile(mFresh);
        removeScratch();
    }

    // What the system said when the engine last failed, where that was a full disk.
    int diskFull() const { return diskFullCause(mDb); }

    const QString &path() const { return mPath; }

  private:
    // The copy an encrypted file is read through is held in memory, as are the engine's
    // pages of the repaired copy and what it sorts: a repair memory will not hold is refused
    // before it begins, where the system would end it part way. What is free beyond the
    // least the work needs goes to the engine's pages.
    void fitInMemory()
    {
        constexpr qint64 MB = 1 << 20;
        constexpr qint64 LeastCache = 4 * MB, MostCache = 128 * MB;
        const FreeMemory free = freeMemory();
        const qint64 held = mEncrypted ? mSize : 0;
        // The copy is looked at page by page through a mapping as large as the file.
        const qint64 room = std::min(free.memory, free.addressSpace - mSize + held);
        const qint64 needed = held + mSize / 4 + 16 * MB + LeastCache;
        if (room < needed)
            raiseRepairFailed(
                mPath,
                QStringLiteral("Out of memory: the repair needs about %1 MB, and %2 MB are free.")
                    .arg((needed + MB - 1) / MB)
                    .arg(std::max<qint64>(room, 0) / MB),
                err::OutOfMemory);
        mCacheBytes = std::min(MostCache, room - needed + LeastCache);
    }

    // One repair at a time, and none under another copy of the program or another program
    // that has the file open: they would go on with what becomes the backup.
    void holdFile()
    {
        if (mLock.take(mFullPath, true) == FileUseLock::Result::InUse)
            raiseInUse(mPath);
        if (const QString holder = otherProgramUsing(mFullPath); !holder.isEmpty())
            raiseInUse(mPath, holder);
    }

    static void removeFile(const QString &file)
    {
        QFile::remove(file);
        QFile::remove(file + QLatin1String("-journal"));
    }

    void removeScratch()
    {
        if (mScratchInMemory.isHeld())
            mScratchInMemory.close();
        else if (!mScratch.isEmpty())
            removeFile(mScratch);
    }

    // The file's list of tables cannot be read from its first page: the scratch copy's first
    // page is made anew, with the entries of the list found on its other pages. When none
    // leads to a table that reads, the list is left empty: the program's tables are made
    // with its own definitions, and their rows looked for page by page.
    void attachWithoutList()
    {
        if (!withEmptyFirstPage())
            throw RepairStopped{QStringLiteral("its tables cannot be read.")};
        const QList<PageSalvage::ListEntry> entries =
            PageSalvage::listEntries(mDb, mScratch, mTicker.reporter());
        exec(mDb, "PRAGMA writable_schema = ON");
        if (!entries.isEmpty()) {
            attachScratch(mDb, mScratch);
            SqlStatement add(
                mDb, QStringLiteral("INSERT INTO damaged.sqlite_master (type, name, tbl_name, rootpage, "
                                    "sql) VALUES (?, ?, ?, ?, ?)"));
            for (const PageSalvage::ListEntry &entry : entries) {
                add.reset();
                add.bind(1, entry.type);
                add.bind(2, entry.name);
                add.bind(3, entry.tableName);
                add.bindInt64(4, entry.rootPage);
                add.bind(5, entry.sql);
                add.step();
            }
            add.finalize();
            exec(mDb, "DETACH DATABASE damaged");
            mObjects = attachDamaged(mDb, mScratch);
        }
        if (!mObjects.isEmpty()) {
            // What the pages lost with the list held is known only when the program's own
            // tables are all found in it.
            mReport.listLost =
                std::any_of(mOwn.tables.cbegin(), mOwn.tables.cend(), [&](const OwnTable &own) {
                    return std::none_of(mObjects.cbegin(), mObjects.cend(), [&](const SchemaObject &object) {
                        return object.name.compare(own.name, Qt::CaseInsensitive) == 0;
                    });
                });
            return;
        }
        // The entries found lead to no table that reads.
        if (!entries.isEmpty() && !withEmptyFirstPage())
            throw RepairStopped{QStringLiteral("its tables cannot be read.")};
        attachScratch(mDb, mScratch);
        mListLost = true;
        // Nothing tells how many rows the file held: its indexes cannot be found.
        mReport.listLost = true;
    }

    // Gives the scratch copy a first page with an empty list of tables; false when its page
    // size cannot be told.
    bool withEmptyFirstPage()
    {
        QFile copy(mScratch);
        if (!copy.open(QIODevice::ReadOnly))
            throw RuntimeError(err::DiskError, QStringLiteral("Could not open '%1'.").arg(mScratch));
        if (!mEncrypted && mPageSize == 0) {
            // The scratch copy's header may be one tried in its place.
            const auto layout = DatabaseHeader::pageLayout(readHead(mFullPath));
            const uchar *data = copy.map(0, copy.size());
            mPageSize = layout ? layout->first : data ? DatabaseHeader::likelyPageSize(data, copy.size()) : 0;
            mReserve = layout ? layout->second : 0;
        }
        const qint64 size = copy.size();
        copy.close();
        if (mPageSize == 0 || size < mPageSize)
            return false;
        writeAt(mScratch, 0, DatabaseHeader::emptyFirstPage(mPageSize, size, mReserve));
        return true;
    }

    // Counted before the copy begins: a damaged page can fail a read in a way that ends
    // the transaction it is read in.
    void countHeld()
    {
        for (const SchemaObject &object : std::as_const(mObjects))
            if (object.type == QLatin1String("table"))
                mIndexed[object.name.toLower()] = indexedRows(mDb, mScratch, object.name, mObjects);
    }

    // The tables of the repaired file: each one whose definition can be read, and each of the
    // program's own with the program's definition where the file's cannot be read or is gone.
    void makeTables()
    {
        bool ours = mListLost;
        for (const SchemaObject &object : std::as_const(mObjects)) {
            if (object.type != QLatin1String("table"))
                continue;
            const auto known = mOwn.tables.constFind(object.name.toLower());
            ours = ours || known != mOwn.tables.constEnd();
            if (makesTable(mDb, object)) {
                mTables.append({object.name, false});
            } else if (known != mOwn.tables.constEnd()) {
                // A damaged definition of a table the program knows: its rows are read from
                // its pages into the program's own definition.
                exec(mDb, known->sql.toUtf8().constData());
                mTables.append({known->name, true});
            } else {
                mReport.leftOut.append(object.name);
            }
        }
        // A table of the program whose entry in the list of tables is gone.
        for (const OwnTable &table : std::as_const(mOwn.tables)) {
            const bool made = std::any_of(mTables.begin(), mTables.end(), [&](const CopiedTable &copied) {
                return copied.name.compare(table.name, Qt::CaseInsensitive) == 0;
            });
            if (ours && !made) {
                exec(mDb, table.sql.toUtf8().constData());
                mTables.append({table.name, true});
            }
        }
    }

    void copyCounters()
    {
        try {
            SqlStatement sequences(mDb, QStringLiteral("SELECT name, seq FROM damaged.sqlite_sequence"));
            SqlStatement raise(
                mDb, QStringLiteral("UPDATE main.sqlite_sequence SET seq = max(seq, ?2) WHERE name = ?1"));
            SqlStatement add(
                mDb, QStringLiteral("INSERT INTO main.sqlite_sequence (name, seq) SELECT ?1, ?2 WHERE NOT "
                                    "EXISTS (SELECT 1 FROM main.sqlite_sequence WHERE name = ?1)"));
            while (sequences.step()) {
                for (SqlStatement *statement : {&raise, &add}) {
                    statement->reset();
                    statement->bind(1, sequences.text(0));
                    statement->bindInt64(2, sequences.int64(1));
                    statement->step();
                }
            }
        } catch (const RuntimeError &error) {
            passOnNotWritten(error);
            // The counters then continue from the highest number copied.
        }
    }

    void makeIndexesAndViews()
    {
        for (const SchemaObject &object : std::as_const(mObjects)) {
            if (object.type == QLatin1String("table"))
                continue;
            if (!runUnlessNotWritten(mDb, object.sql) && object.type == QLatin1String("index")) {
                // A unique index the surviving rows break is kept as a plain one.
                QString plainIndex = object.sql;
                plainIndex.replace(QRegularExpression(QStringLiteral("^\\s*CREATE\\s+UNIQUE\\s+INDEX"),
                                                      QRegularExpression::CaseInsensitiveOption),
                                   QStringLiteral("CREATE INDEX"));
                runUnlessNotWritten(mDb, plainIndex);
            }
        }
        // A table of the program's gets the indexes it is made with where the file's own
        // could not be made (those of the same name already made stay as they are).
        // Likewise its stored queries, which the windows read, where the file's are gone.
        for (const CopiedTable &table : std::as_const(mTables))
            for (const QString &index : mOwn.tables.value(table.name.toLower()).indexes)
                runUnlessNotWritten(mDb, index);
        if (!mOwn.tables.isEmpty() &&
            std::any_of(mTables.cbegin(), mTables.cend(),
                        [&](const CopiedTable &table) { return mOwn.tables.contains(table.name.toLower()); }))
            for (const QString &view : std::as_const(mOwn.views))
                runUnlessNotWritten(mDb, view);
    }

    void copyVersion()
    {
        try {
            SqlStatement version(mDb, QStringLiteral("PRAGMA damaged.user_version"));
            const qint64 userVersion = version.step() ? version.int64(0) : 0;
            version.finalize();
            exec(mDb, QStringLiteral("PRAGMA main.user_version = %1").arg(userVersion).toUtf8().constData());
        } catch (const RuntimeError &error) {
            passOnNotWritten(error);
        }
    }

    // The rows each table's own pages list, read before the work changes the scratch copy.
    void listRows()
    {
        try {
            SqlStatement roots(mDb, QStringLiteral("SELECT name, rootpage FROM damaged.sqlite_master WHERE "
                                                   "type = 'table'"));
            while (roots.step()) {
                const qint64 root = roots.int64(1);
                for (CopiedTable &table : mTables) {
                    if (table.ownDefinition || table.name.compare(roots.text(0), Qt::CaseInsensitive) != 0 ||
                        root < 2 || root > 0xffffffff)
                        continue;
                    SqlStatement columns(
                        mDb, QStringLiteral("PRAGMA main.table_info(%1)").arg(quoteSqlName(table.name)));
                    int count = 0;
                    while (columns.step())
                        ++count;
                    table.listed = PageSalvage::tableRows(mScratch, quint32(root), count);
                }
            }
        } catch (const RuntimeError &error) {
            passOnNotWritten(error);
        }
    }

    // The pages the tables read whole reached need not be read again.
    void noteReadPages()
    {
        try {
            SqlStatement roots(mDb, QStringLiteral("SELECT name, rootpage FROM damaged.sqlite_master WHERE "
                                                   "type = 'table'"));
            while (roots.step()) {
                const auto copied =
                    std::find_if(mTables.begin(), mTables.end(), [&](const CopiedTable &table) {
                        return table.name.compare(roots.text(0), Qt::CaseInsensitive) == 0;
                    });
                if (copied == mTables.end() ? roots.text(0).startsWith(QLatin1String("sqlite_"))
                                            : !copied->ownDefinition)
                    mReadRoots.insert(quint32(roots.int64(1)));
            }
        } catch (const RuntimeError &) {
        }
    }

    // What the repaired file keeps of one table, and whether it can be shown to keep all
    // the damaged file held of it.
    Database::RepairedTable accountFor(const CopiedTable &table)
    {
        const qint64 kept = rowCount(mDb, table.name);
        const IndexedRows indexed = mIndexed.value(table.name.toLower());
        const qint64 notKept = indexed.wholeKeys ? keysNotKept(mDb, table.name, *indexed.wholeKeys) : 0;
        // A whole index counts the rows exactly, though a garbled key may have given a row
        // that is none of them.
        const qint64 held =
            std::max({kept, table.seen + mFound.value(table.name), indexed.rows, indexed.mostListed,
                      indexed.wholeKeys ? qint64(indexed.wholeKeys->size()) : 0, table.listed.value_or(0)});
        // A whole index lists every row; without one, only the table's own pages show that
        // nothing is missing, read to their end with every row they list read as one. Rows
        // looked for page by page and not found prove nothing: a row garbled on the table's
        // own page is found nowhere.
        const bool whole = held == kept && (indexed.wholeKeys ? notKept == 0
                                                              : table.listed && table.whole &&
                                                                    !table.ownDefinition && !mListLost);
        return {table.name, kept, held, whole};
    }

    // A file that ends before the last page its header counts is cut short, however it was
    // cut. Its pages are counted in the size the file read in (the size its key opened, the
    // size its header was made again with): the header's own may be what is damaged.
    void noteCut()
    {
        const auto layout = DatabaseHeader::pageLayout(mClaimedHead);
        const auto read = DatabaseHeader::pageLayout(readHead(mScratch));
        const int pageSize = mEncrypted ? mPageSize : read ? read->first : layout ? layout->first : mPageSize;
        if (pageSize > 0)
            mReport.pages = mSize / pageSize;
        if (const auto claimed = DatabaseHeader::claimedPages(mClaimedHead);
            claimed && layout && *claimed * pageSize > mSize) {
            mReport.claimedPages = *claimed;
            mReport.cutShort = true;
        }
    }

    // Rows found page by page go in many times faster without indexes to keep up with each
    // one: those of `tables` that no rows can break are dropped, and their definitions
    // returned to be made again once the rows are in.
    QStringList dropPlainIndexes(const QStringList &tables)
    {
        QStringList names, definitions;
        SqlStatement list(mDb, QStringLiteral("SELECT name, sql, tbl_name FROM main.sqlite_master WHERE type = "
                                              "'index' AND sql IS NOT NULL"));
        while (list.step()) {
            const QString sql = list.text(1);
            if (tables.contains(list.text(2), Qt::CaseInsensitive) &&
                !sql.simplified().startsWith(QLatin1String("CREATE UNIQUE"), Qt::CaseInsensitive)) {
                names.append(list.text(0));
                definitions.append(sql);
            }
        }
        list.finalize();
        for (const QString &name : std::as_const(names))
            exec(mDb, QStringLiteral("DROP INDEX main.%1").arg(quoteSqlName(name)).toUtf8().constData());
        return definitions;
    }

    // The rows the file's indexes list, which the copy is measured against.
    qint64 expectedRows() const
    {
        qint64 rows = 0;
        for (const IndexedRows &indexed : mIndexed)
            rows += indexed.rows;
        return rows;
    }

    QByteArray mClaimedHead;
    RepairTicker mTicker;
    QString mPath, mPassword, mFullPath, mFresh, mScratch;
    std::optional<ReplacedFile> mFile;
    FileUseLock mLock;
    ScratchInMemory mScratchInMemory;
    qint64 mSize = 0;
    bool mEncrypted = false;
    bool mListLost = false;
    int mPageSize = 0, mReserve = 0;
    qint64 mCacheBytes = 0;
    SqlConnection mConnection;
    sqlite3 *mDb = nullptr;
    QList<SchemaObject> mObjects;
    OwnSchema mOwn;
    QHash<QString, IndexedRows> mIndexed; // by lower-case table name
    QList<CopiedTable> mTables;
    QSet<quint32> mReadRoots{1};
    QHash<QString, qint64> mFound;
    Database::RepairReport mReport;
};

} // namespace

Database::RepairedTable Database::RepairReport::table(const QString &name) const
{
    for (const RepairedTable &table : tables)
        if (table.name.compare(name, Qt::CaseInsensitive) == 0)
            return table;
    return {name, 0, 0};
}

bool Database::RepairReport::lostRows() const
{
    return cutShort || listLost || !leftOut.isEmpty() ||
           std::any_of(tables.begin(), tables.end(),
                       [](const RepairedTable &table) { return !table.whole || table.held > table.kept; });
}

Database::RepairReport Database::repair(const QString &path, const QString &password,
                                        const RepairProgress &progress)
{
    Repair repair(path, password, progress);
    repair.lookAtFile();
    const qint64 memoryFailed = memoryFailures();
    try {
        repair.makeScratchCopy();
        repair.noteClaimedLength();
        repair.attach();
        repair.mendDefinitions();
        repair.copy();
        repair.salvage();
        repair.count();
        // An allocation that failed where damage is passed over may have been taken for it.
        if (memoryFailures() != memoryFailed)
            raiseOutOfMemory();
    } catch (const RepairStopped &stopped) {
        repair.removeWork();
        raiseRepairFailed(path, stopped.cause, err::DamagedDatabase);
    } catch (const RuntimeError &error) {
        // The engine tells a file grown past what the disk allows as an error of the disk.
        const int full = error.number() == err::DiskError ? repair.diskFull() : 0;
        repair.removeWork();
        if (error.number() == err::NotValidPassword)
            throw;
        // Whatever stopped the work (a full disk, say) is told as the cause, with the copies
        // earlier work cut short left on that disk.
        const int number = full ? err::DiskFull : error.number();
        QString cause = full ? QStringLiteral("Not enough space on disk (%1).").arg(qt_error_string(full))
                             : error.description();
        if (number == err::DiskFull)
            for (const QString &copy : leftovers(repair.path(), {RepairWork}))
                if (!copy.endsWith(QLatin1String("-journal")))
                    cause += QStringLiteral(" A copy earlier work left takes room there: '%1'.").arg(copy);
        raiseRepairFailed(path, cause, number);
    } catch (const std::bad_alloc &) {
        repair.removeWork();
        raiseRepairFailed(path, QStringLiteral("Out of memory."), err::OutOfMemory);
    } catch (...) {
        repair.removeWork();
        throw;
    }
    Database::RepairReport report = repair.swap();
    removeDamageMark(path);
    return report;
}

} // namespace platform
