#include "platform/db/PageSalvage.h"

#include "platform/RuntimeError.h"
#include "platform/db/DatabaseFile.h"
#include "platform/db/DatabaseHeader.h"
#include "platform/db/SqlStatement.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QScopeGuard>
#include <QList>
#include <QtEndian>

#include <cerrno>
#include <functional>
#include <optional>

namespace platform::PageSalvage {

namespace {

// B-tree page kinds, as the first byte of a page's header gives them.
constexpr uchar TableInterior = 0x05;
constexpr uchar IndexInterior = 0x02;
constexpr uchar TableLeaf = 0x0d;
constexpr uchar IndexLeaf = 0x0a;

// Probes are written into the scratch copy's list of tables in batches: each batch costs one
// reading of that list, and each probe's definition a few kilobytes of it.
constexpr int ProbesPerBatch = 64;

struct Target {
    QString table;
    QStringList columns;
    QStringList types;  // as declared
    int keyColumn = -1; // the INTEGER PRIMARY KEY, which a row keeps in its key, not its fields
};

// The table leaves of the file that no table read through its own pages reaches. Only the
// child pointers of interior pages are read here; the rows themselves are the engine's to
// read.
QList<quint32> unreachedLeaves(const QString &scratch, const QSet<quint32> &readRoots)
{
    QFile file(scratch);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 512)
        return {};
    const QByteArray header = file.read(100);
    int pageSize = qFromBigEndian<quint16>(header.constData() + 16);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return {};
    const quint32 count = quint32(file.size() / pageSize);
    const uchar *data = file.map(0, qint64(count) * pageSize);
    if (!data)
        return {};
    const auto page = [&](quint32 n) { return data + qint64(n - 1) * pageSize; };
    const auto headerAt = [](quint32 n) { return n == 1 ? 100 : 0; };

    QSet<quint32> reached;
    QList<quint32> todo(readRoots.begin(), readRoots.end());
    while (!todo.isEmpty()) {
        const quint32 n = todo.takeLast();
        if (n < 1 || n > count || reached.contains(n))
            continue;
        reached.insert(n);
        const uchar *bytes = page(n);
        const int at = headerAt(n);
        if (bytes[at] != TableInterior && bytes[at] != IndexInterior)
            continue;
        todo.append(qFromBigEndian<quint32>(bytes + at + 8));
        const int cells = qFromBigEndian<quint16>(bytes + at + 3);
        for (int i = 0; i < cells && at + 12 + 2 * i + 2 <= pageSize; ++i) {
            const int cell = qFromBigEndian<quint16>(bytes + at + 12 + 2 * i);
            if (cell + 4 <= pageSize)
                todo.append(qFromBigEndian<quint32>(bytes + cell));
        }
    }
    QList<quint32> leaves;
    // A leaf without cells holds no rows, and the engine refuses it below another page.
    for (quint32 n = 2; n <= count; ++n)
        if (!reached.contains(n) && page(n)[0] == TableLeaf && qFromBigEndian<quint16>(page(n) + 3) > 0)
            leaves.append(n);
    return leaves;
}

Target targetOf(sqlite3 *db, const QString &table)
{
    Target target{table, {}, {}, -1};
    SqlStatement info(db, QStringLiteral("PRAGMA main.table_info(%1)").arg(quoteSqlName(table)));
    int keys = 0;
    int key = -1;
    while (info.step()) {
        if (info.int64(5) > 0) {
            ++keys;
            if (info.text(2).compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
                key = int(target.columns.size());
        }
        target.columns.append(info.text(1));
        target.types.append(info.text(2).toUpper());
    }
    if (keys == 1)
        target.keyColumn = key;
    return target;
}

// A probe's columns default to an empty blob, which no row of the program holds: a field a
// row does not have reads as that default, so a row's number of fields can be told.
QString absent(int column)
{
    return QStringLiteral("(typeof(c%1) = 'blob' AND length(c%1) = 0)").arg(column);
}

// The values a field of a column declared `type` can hold, by the engine's rules for what a
// declared type makes of a value: text columns keep text, number columns numbers. A text
// that is not a number stays text in a number column, which the program never writes.
QString fits(int column, const QString &type)
{
    const auto any = [&](std::initializer_list<const char *> words) {
        return std::any_of(words.begin(), words.end(),
                           [&](const char *word) { return type.contains(QLatin1String(word)); });
    };
    QString kinds;
    if (any({"INT"}))
        kinds = QStringLiteral("'integer', 'real'");
    else if (any({"CHAR", "CLOB", "TEXT"}))
        kinds = QStringLiteral("'text'");
    else if (type.isEmpty() || any({"BLOB"}))
        return QStringLiteral("1");
    else if (any({"REAL", "FLOA", "DOUB"}))
        kinds = QStringLiteral("'integer', 'real'");
    else
        kinds = QStringLiteral("'integer', 'real', 'text'");
    return QStringLiteral("typeof(c%1) IN ('null', %2)").arg(column).arg(kinds);
}

// The rows of a probe that may be the target's: as many fields as it has columns, each of a
// kind its column holds, the key's field empty as the engine leaves it.
QString matching(const Target &target)
{
    const int fields = int(target.columns.size());
    QStringList conditions{QStringLiteral("NOT %1").arg(absent(fields - 1)), absent(fields)};
    for (int i = 0; i < fields; ++i)
        conditions.append(i == target.keyColumn ? QStringLiteral("c%1 IS NULL").arg(i)
                                                : fits(i, target.types[i]));
    return conditions.join(QLatin1String(" AND "));
}

QString probeDefinition(const QString &name, int columns)
{
    QStringList list;
    for (int i = 0; i < columns; ++i)
        list.append(QStringLiteral("c%1 DEFAULT x''").arg(i));
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(name, list.join(QStringLiteral(", ")));
}

void run(sqlite3 *db, const QString &sql, const QString &bound = QString())
{
    SqlStatement statement(db, sql);
    if (!bound.isNull())
        statement.bind(1, bound);
    statement.step();
}

void attach(sqlite3 *db, const QString &scratch)
{
    SqlStatement statement(db, QStringLiteral("ATTACH DATABASE ? AS damaged KEY ''"));
    statement.bind(1, dbfile::engineName(scratch));
    statement.step();
    statement.finalize();
    // The copy is only read through: nothing of it need last, and a copy held in memory has
    // no folder for a journal.
    run(db, QStringLiteral("PRAGMA damaged.journal_mode = MEMORY"));
    run(db, QStringLiteral("PRAGMA damaged.synchronous = OFF"));
}

void detach(sqlite3 *db)
{
    try {
        run(db, QStringLiteral("DETACH DATABASE damaged"));
    } catch (const RuntimeError &) {
    }
}

// Adds the rows of one probe that have as many fields as the target has columns; returns
// how many of them the target did not hold yet.
qint64 copyRows(sqlite3 *db, const QString &probe, const Target &target)
{
    const int fields = int(target.columns.size());
    const QString rows = matching(target);
    const QString table = quoteSqlName(target.table);
    SqlStatement count(db, QStringLiteral("SELECT count(*) FROM damaged.%1 WHERE %2 AND rowid NOT IN "
                                          "(SELECT rowid FROM main.%3)")
                               .arg(probe, rows, table));
    const qint64 found = count.step() ? count.int64(0) : 0;
    count.finalize();
    if (found == 0)
        return 0;
    QStringList columns, values;
    for (int i = 0; i < fields; ++i) {
        columns.append(quoteSqlName(target.columns[i]));
        values.append(i == target.keyColumn ? QStringLiteral("rowid") : QStringLiteral("c%1").arg(i));
    }
    if (target.keyColumn < 0) {
        columns.append(QStringLiteral("rowid"));
        values.append(QStringLiteral("rowid"));
    }
    run(db,
        QStringLiteral("INSERT OR IGNORE INTO main.%1 (%2) SELECT %3 FROM damaged.%4 WHERE %5")
            .arg(table, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")), probe, rows));
    return found;
}

// Pages made in the scratch copy that lead to many leaves at once: the engine reads a
// group of leaves as one table, at the cost of one probe instead of one for each leaf.
class LeafGroups {
  public:
    explicit LeafGroups(const QString &scratch) : mFile(scratch) {}

    // Makes a page for each group of more than one leaf and returns the first page to read
    // each group from (its one leaf for a group of one); nothing when the copy cannot take
    // the pages.
    std::optional<QList<quint32>> make(const QList<QList<quint32>> &groups)
    {
        if (!mFile.open(QIODevice::ReadWrite))
            return std::nullopt;
        QByteArray header = mFile.read(100);
        const auto layout = DatabaseHeader::pageLayout(header);
        if (!layout) {
            mFile.close();
            return std::nullopt;
        }
        const int pageSize = layout->first;
        const int usable = pageSize - layout->second;
        // After the pages the file has (its header may count others, which are gone).
        quint32 next = quint32((mFile.size() + pageSize - 1) / pageSize);
        QList<quint32> roots;
        // Why the first write that failed did.
        int cause = 0;
        const auto wrote = [&](bool done) {
            if (!done && cause == 0)
                cause = errno != 0 ? errno : EIO;
            return done;
        };
        errno = 0;
        bool written = true;
        for (const QList<quint32> &group : groups) {
            if (group.size() == 1) {
                roots.append(group.first());
                continue;
            }
            ++next;
            written = written && wrote(mFile.seek(qint64(next - 1) * pageSize) &&
                                       mFile.write(interiorPage(group, pageSize, usable)) == pageSize);
            roots.append(next);
        }
        // The engine reads as many pages as the header counts, and takes no page for its own
        // writes from a free list that may name the leaves.
        qToBigEndian(next, header.data() + 28);
        header.replace(92, 4, header.mid(24, 4));
        qToBigEndian(quint32(0), header.data() + 32);
        qToBigEndian(quint32(0), header.data() + 36);
        written = written && wrote(mFile.seek(0) && mFile.write(header) == header.size() && mFile.flush());
        mFile.close();
        // Pages the copy could not take are a disk's failure, never the file's damage.
        if (!written)
            dbfile::raiseNotWritten(mFile.fileName(), cause);
        return roots;
    }

    // The most leaves one page can lead to.
    static int capacity(int usable) { return (usable - InteriorHeader) / (2 + CellSize) + 1; }

  private:
    static constexpr int InteriorHeader = 12;
    static constexpr int CellSize = 6; // a page number and a key of at most two bytes

    // A page of pointers to the leaves, the last as its right-most child; the keys only
    // need to rise.
    static QByteArray interiorPage(const QList<quint32> &leaves, int pageSize, int usable)
    {
        QByteArray page(pageSize, '\0');
        auto *data = reinterpret_cast<uchar *>(page.data());
        const int cells = int(leaves.size()) - 1;
        int top = usable;
        for (int i = 0; i < cells; ++i) {
            const quint32 key = quint32(i + 1);
            const int size = key < 0x80 ? 5 : 6;
            top -= size;
            qToBigEndian(leaves[i], data + top);
            if (key < 0x80) {
                data[top + 4] = uchar(key);
            } else {
                data[top + 4] = uchar(0x80 | (key >> 7));
                data[top + 5] = uchar(key & 0x7f);
            }
            qToBigEndian(quint16(top), data + InteriorHeader + 2 * i);
        }
        data[0] = TableInterior;
        qToBigEndian(quint16(cells), data + 3);
        qToBigEndian(quint16(top == 65536 ? 0 : top), data + 5);
        qToBigEndian(leaves.last(), data + 8);
        return page;
    }

    QFile mFile;
};

// Reads `leaves` as tables of `fields` fields named quiltern_probe_<n> in the scratch copy,
// attached as "damaged": `read` is called for each probe, a batch of them in one
// transaction, and answers whether the probe read whole. A probe of several leaves that
// does not is read again in halves, until the leaf that fails is passed over alone. `db`
// holds `writable_schema` on throughout.
void readProbes(sqlite3 *db, const QString &scratch, const QList<quint32> &leaves, int fields,
                const std::function<bool(const QString &probe)> &read, const Progress &progress)
{
    int usable = 0;
    {
        QFile file(scratch);
        const QByteArray header = file.open(QIODevice::ReadOnly) ? file.read(100) : QByteArray();
        if (const auto layout = DatabaseHeader::pageLayout(header))
            usable = layout->first - layout->second;
    }
    const int largest = usable > 0 ? LeafGroups::capacity(usable) : 1;
    QList<QList<quint32>> groups;
    for (qsizetype first = 0; first < leaves.size(); first += largest)
        groups.append(leaves.mid(first, largest));
    qint64 done = 0;
    const auto tell = [&] {
        if (progress)
            progress(done, leaves.size());
    };
    try {
        run(db, QStringLiteral("PRAGMA writable_schema = ON"));
        int probes = 0;
        while (!groups.isEmpty()) {
            const std::optional<QList<quint32>> roots = LeafGroups(scratch).make(groups);
            if (!roots)
                break;
            QList<QList<quint32>> failed;
            for (qsizetype first = 0; first < groups.size(); first += ProbesPerBatch) {
                const qsizetype count = std::min<qsizetype>(ProbesPerBatch, groups.size() - first);
                QStringList names;
                attach(db, scratch);
                {
                    SqlStatement add(db,
                                     QStringLiteral("INSERT INTO damaged.sqlite_master (type, name, tbl_name, "
                                                    "rootpage, sql) VALUES ('table', ?1, ?1, ?2, ?3)"));
                    run(db, QStringLiteral("BEGIN"));
                    for (qsizetype i = first; i < first + count; ++i) {
                        const QString name = QStringLiteral("quiltern_probe_%1").arg(++probes);
                        names.append(name);
                        add.reset();
                        add.bind(1, name);
                        add.bindInt64(2, (*roots)[i]);
                        add.bind(3, probeDefinition(name, fields));
                        add.step();
                    }
                    run(db, QStringLiteral("COMMIT"));
                }
                // The probes are read once the list of tables is read again.
                detach(db);
                attach(db, scratch);
                run(db, QStringLiteral("BEGIN"));
                for (qsizetype i = first; i < first + count; ++i) {
                    bool whole = false;
                    try {
                        whole = read(names[i - first]);
                    } catch (const RuntimeError &error) {
                        if (dbfile::failedToWrite(error))
                            throw;
                    }
                    const QList<quint32> &group = groups[i];
                    // A page that only looks like rows is passed over.
                    if (whole || group.size() == 1)
                        done += group.size();
                    else
                        failed.append(group);
                    tell();
                }
                run(db, QStringLiteral("COMMIT"));
                run(db, QStringLiteral("DELETE FROM damaged.sqlite_master WHERE name LIKE 'quiltern~_probe~_%' "
                                       "ESCAPE '~'"));
                detach(db);
            }
            groups.clear();
            for (const QList<quint32> &group : std::as_const(failed)) {
                groups.append(group.first(group.size() / 2));
                groups.append(group.sliced(group.size() / 2));
            }
        }
    } catch (const RuntimeError &error) {
        // A scratch copy whose list of tables cannot take the probes gives what was found;
        // one that could not be written stops the work.
        if (dbfile::failedToWrite(error)) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            detach(db);
            throw;
        }
        try {
            run(db, QStringLiteral("COMMIT"));
        } catch (const RuntimeError &) {
        }
        detach(db);
    }
    try {
        run(db, QStringLiteral("PRAGMA writable_schema = OFF"));
    } catch (const RuntimeError &) {
    }
}

} // namespace

QHash<QString, qint64> run(sqlite3 *db, const QString &scratch, const QSet<quint32> &readRoots,
                           const QStringList &tables, const Progress &progress)
{
    QHash<QString, qint64> found;
    // Rows are told apart by their number of fields and the kind of each.
    QList<Target> targets;
    int widest = 0;
    for (const QString &table : tables) {
        const Target target = targetOf(db, table);
        if (target.columns.isEmpty())
            continue;
        targets.append(target);
        widest = std::max(widest, int(target.columns.size()));
    }
    const QList<quint32> leaves = targets.isEmpty() ? QList<quint32>() : unreachedLeaves(scratch, readRoots);
    readProbes(
        db, scratch, leaves, widest + 1,
        [&](const QString &probe) {
            bool whole = true;
            for (const Target &target : std::as_const(targets)) {
                try {
                    if (const qint64 rows = copyRows(db, probe, target))
                        found[target.table] += rows;
                } catch (const RuntimeError &error) {
                    if (dbfile::failedToWrite(error))
                        throw;
                    whole = false;
                }
            }
            return whole;
        },
        progress);
    return found;
}

QList<ListEntry> listEntries(sqlite3 *db, const QString &scratch, const Progress &progress)
{
    // The copy is read through its tables afterwards: it is given back its length and its
    // first bytes (the largest page), without the pages made to read the leaves. Its list of
    // tables, empty on a page of its own, is all the probes changed.
    QFile file(scratch);
    const QByteArray firstPage = file.open(QIODevice::ReadOnly) ? file.read(65536) : QByteArray();
    const qint64 size = file.size();
    file.close();
    const auto restore = qScopeGuard([&] {
        if (!firstPage.isEmpty() && file.open(QIODevice::ReadWrite)) {
            file.resize(size);
            file.write(firstPage);
        }
    });
    QList<ListEntry> entries;
    QSet<QString> names;
    // An entry is five fields: its kind, its name, its table's name, its first page and its
    // definition.
    constexpr int Fields = 5;
    const QString entry =
        QStringLiteral("NOT %1 AND %2 AND c0 IN ('table', 'index', 'view', 'trigger') AND "
                       "typeof(c1) = 'text' AND typeof(c2) = 'text' AND typeof(c3) = 'integer' "
                       "AND typeof(c4) IN ('text', 'null')")
            .arg(absent(Fields - 1), absent(Fields));
    readProbes(
        db, scratch, unreachedLeaves(scratch, {1}), Fields + 1,
        [&](const QString &probe) {
            SqlStatement found(
                db, QStringLiteral("SELECT c0, c1, c2, c3, c4 FROM damaged.%1 WHERE %2").arg(probe, entry));
            while (found.step()) {
                // A page freed long ago may keep an older entry of the same name.
                if (names.contains(found.text(1).toLower()))
                    continue;
                names.insert(found.text(1).toLower());
                entries.append({found.text(0), found.text(1), found.text(2), found.int64(3), found.text(4)});
            }
            return true;
        },
        progress);
    return entries;
}

namespace {

// The pages of a copy of a file mapped for reading, and the rules their cells are laid out by.
class MappedPages {
  public:
    explicit MappedPages(const QString &scratch) : mFile(scratch)
    {
        if (!mFile.open(QIODevice::ReadOnly))
            return;
        const auto layout = DatabaseHeader::pageLayout(mFile.read(100));
        if (!layout)
            return;
        pageSize = layout->first;
        usable = pageSize - layout->second;
        count = quint32(mFile.size() / pageSize);
        if (count > 1 && usable >= 480)
            data = mFile.map(0, qint64(count) * pageSize);
    }

    bool isMapped() const { return data != nullptr; }
    bool inFile(quint32 n) const { return n >= 2 && n <= count; }
    const uchar *page(quint32 n) const { return data + qint64(n - 1) * pageSize; }

    // A varint within [at, end) of `page`: its value and where it ends, or nothing.
    static std::optional<QPair<quint64, qint64>> varint(const uchar *page, qint64 at, qint64 end)
    {
        quint64 value = 0;
        for (int i = 0; i < 9 && at < end; ++i, ++at) {
            if (i == 8)
                return QPair<quint64, qint64>((value << 8) | page[at], at + 1);
            value = (value << 7) | (page[at] & 0x7f);
            if ((page[at] & 0x80) == 0)
                return QPair<quint64, qint64>(value, at + 1);
        }
        return std::nullopt;
    }

    // How much of a payload stands on its cell's page, by the engine's rule, where at most
    // `most` bytes may.
    qint64 local(quint64 payload, qint64 most) const
    {
        const qint64 least = (usable - 12) * 32 / 255 - 23;
        if (payload <= quint64(most))
            return qint64(payload);
        const qint64 kept = least + qint64((payload - quint64(least)) % quint64(usable - 4));
        return kept <= most ? kept : least;
    }

    // Whether the record of `payload` bytes whose first `here` stand at `at` of `page` tells
    // its fields there and they add up to its length; `fields` is how many it has.
    static bool recordHolds(const uchar *page, qint64 at, qint64 here, quint64 payload, int &fields)
    {
        const auto header = varint(page, at, at + here);
        if (!header || header->first < 2 || header->first > quint64(here))
            return false;
        quint64 length = header->first;
        fields = 0;
        for (qint64 field = header->second; field < at + qint64(header->first); ++fields) {
            const auto type = varint(page, field, at + qint64(header->first));
            if (!type || type->first == 10 || type->first == 11)
                return false;
            static constexpr quint64 Fixed[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0};
            length += type->first < 10 ? Fixed[type->first] : (type->first - 12) / 2;
            field = type->second;
        }
        return length == payload;
    }

    // Whether the `left` bytes of a payload past its page lie on a chain of pages from
    // `next` within the file, none of them `seen` before.
    bool chainHolds(quint32 next, qint64 left, QSet<quint32> &seen) const
    {
        for (; left > 0; left -= usable - 4) {
            if (!inFile(next) || seen.contains(next))
                return false;
            seen.insert(next);
            next = qFromBigEndian<quint32>(page(next));
        }
        return true;
    }

    int pageSize = 0;
    qint64 usable = 0;
    quint32 count = 0;
    const uchar *data = nullptr;

  private:
    QFile mFile;
};

} // namespace

bool indexHoldsTogether(const QString &scratch, quint32 root)
{
    const MappedPages pages(scratch);
    if (!pages.isMapped())
        return false;
    const qint64 usable = pages.usable;
    const qint64 most = (usable - 12) * 64 / 255 - 23;
    QSet<quint32> seen;
    QList<quint32> todo{root};
    while (!todo.isEmpty()) {
        const quint32 n = todo.takeLast();
        if (!pages.inFile(n) || seen.contains(n))
            return false;
        seen.insert(n);
        const uchar *page = pages.page(n);
        const bool interior = page[0] == IndexInterior;
        if (!interior && page[0] != IndexLeaf)
            return false;
        const qint64 header = interior ? 12 : 8;
        const qint64 cells = qFromBigEndian<quint16>(page + 3);
        if (header + 2 * cells > usable)
            return false;
        if (interior)
            todo.append(qFromBigEndian<quint32>(page + 8));
        for (qint64 i = 0; i < cells; ++i) {
            qint64 at = qFromBigEndian<quint16>(page + header + 2 * i);
            if (at < header + 2 * cells || at >= usable)
                return false;
            if (interior) {
                if (at + 4 > usable)
                    return false;
                todo.append(qFromBigEndian<quint32>(page + at));
                at += 4;
            }
            const auto size = MappedPages::varint(page, at, usable);
            if (!size || size->first == 0 || size->first > 0x7fffffff)
                return false;
            const qint64 here = pages.local(size->first, most);
            const bool spills = qint64(size->first) > here;
            int fields = 0;
            // The rest of a long entry is on a chain of pages of its own.
            if (size->second + here + (spills ? 4 : 0) > usable ||
                !MappedPages::recordHolds(page, size->second, here, size->first, fields) ||
                (spills && !pages.chainHolds(qFromBigEndian<quint32>(page + size->second + here),
                                             qint64(size->first) - here, seen)))
                return false;
        }
    }
    return true;
}

std::optional<qint64> tableRows(const QString &scratch, quint32 root, int columns)
{
    const MappedPages pages(scratch);
    if (!pages.isMapped())
        return std::nullopt;
    const qint64 usable = pages.usable;
    // The keys a page's rows may have: above the key before it, up to the one after it.
    struct Range {
        quint32 page;
        std::optional<qint64> above, upTo;
    };
    const auto outside = [](qint64 key, const std::optional<qint64> &above,
                            const std::optional<qint64> &upTo) {
        return (above && key <= *above) || (upTo && key > *upTo);
    };
    qint64 rows = 0;
    QSet<quint32> seen;
    QList<Range> todo{{root, std::nullopt, std::nullopt}};
    while (!todo.isEmpty()) {
        const Range range = todo.takeLast();
        if (!pages.inFile(range.page) || seen.contains(range.page))
            return std::nullopt;
        seen.insert(range.page);
        const uchar *page = pages.page(range.page);
        const bool interior = page[0] == TableInterior;
        if (!interior && page[0] != TableLeaf)
            return std::nullopt;
        const qint64 header = interior ? 12 : 8;
        const qint64 cells = qFromBigEndian<quint16>(page + 3);
        if (header + 2 * cells > usable)
            return std::nullopt;
        std::optional<qint64> previous = range.above;
        QList<Range> children;
        for (qint64 i = 0; i < cells; ++i) {
            qint64 at = qFromBigEndian<quint16>(page + header + 2 * i);
            if (at < header + 2 * cells || at >= usable)
                return std::nullopt;
            if (interior) {
                if (at + 4 > usable)
                    return std::nullopt;
                const quint32 child = qFromBigEndian<quint32>(page + at);
                const auto key = MappedPages::varint(page, at + 4, usable);
                if (!key || outside(qint64(key->first), previous, range.upTo))
                    return std::nullopt;
                children.append({child, previous, qint64(key->first)});
                previous = qint64(key->first);
                continue;
            }
            // A row: its length, its key, then its fields, the rest of a long one on pages of
            // its own.
            const auto size = MappedPages::varint(page, at, usable);
            if (!size || size->first > 0x7fffffff)
                return std::nullopt;
            const auto key = MappedPages::varint(page, size->second, usable);
            if (!key || outside(qint64(key->first), previous, range.upTo))
                return std::nullopt;
            const qint64 here = pages.local(size->first, usable - 35);
            const bool spills = qint64(size->first) > here;
            int fields = 0;
            if (key->second + here + (spills ? 4 : 0) > usable ||
                !MappedPages::recordHolds(page, key->second, here, size->first, fields) || fields > columns ||
                (spills && !pages.chainHolds(qFromBigEndian<quint32>(page + key->second + here),
                                             qint64(size->first) - here, seen)))
                return std::nullopt;
            ++rows;
            previous = qint64(key->first);
        }
        if (interior) {
            // The pages under it are read in their order: the first is taken first.
            children.append({qFromBigEndian<quint32>(page + 8), previous, range.upTo});
            for (auto child = children.crbegin(); child != children.crend(); ++child)
                todo.append(*child);
        }
    }
    return rows;
}

} // namespace platform::PageSalvage
