#include "FuzzTargets.h"

#include "helpers/KeyStringParser.h"
#include "mainwindow/ColumnLayoutFile.h"
#include "platform/RuntimeError.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/db/jet/JetDialect.h"
#include "platform/db/jet/JetQuote.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <sqlcipher/sqlite3.h>

namespace fuzz {

namespace {

struct Fixture {
    std::unique_ptr<QCoreApplication> app;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<platform::Database> db;
    std::unique_ptr<platform::Recordset> list; // FindFirst runs on it
};

// Kept for the whole process and never torn down: libFuzzer leaves by exit() from
// anywhere, after which nothing here may run again.
long long refused = 0;

Fixture &fixture()
{
    static Fixture *f = new Fixture;
    return *f;
}

[[noreturn]] void fail(const char *target, const char *why, const QString &input)
{
    std::fprintf(stderr, "fuzz %s: %s\ninput: %s\n", target, why, input.toUtf8().constData());
    std::abort();
}

// What the harness would see change: rows written on the connection, or the schema.
struct DatabaseState {
    int changes = 0;
    int schema = 0;

    static DatabaseState of(sqlite3 *db)
    {
        DatabaseState s;
        s.changes = sqlite3_total_changes(db);
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA schema_version", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            s.schema = sqlite3_column_int(stmt, 0);
        sqlite3_finalize(stmt);
        return s;
    }
    bool operator==(const DatabaseState &) const = default;
};

QString textOf(const std::uint8_t *data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Runs one step; the layer's own run-time errors are answers, anything else a finding.
template <typename Step> void guarded(const char *target, const QString &input, Step step)
{
    try {
        step();
    } catch (const platform::RuntimeError &) {
        ++refused;
    } catch (const std::exception &e) {
        fail(target, e.what(), input);
    } catch (...) {
        fail(target, "an exception of unknown type", input);
    }
}

} // namespace

long long refusals()
{
    return refused;
}

void setUp(int *argc, char ***argv)
{
    Fixture &f = fixture();
    if (f.app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application keeps a reference to its argument count for its whole life.
    static int keptArgc = *argc;
    f.app = std::make_unique<QCoreApplication>(keptArgc, *argv);
    f.dir = std::make_unique<QTemporaryDir>();
    const QString path = f.dir->filePath(QStringLiteral("Quiltern.mdb"));
    platform::createDatabaseFromSchema(path);
    f.db = platform::Database::open(path);
    const char *contacts[][4] = {{"Smith", "John", "Boston", "#12/25/2024#"},
                                 {"O'Brien", "Seán", "Cork", "Null"},
                                 {"Écrivain", "Élodie", "Paris", "#7/4/2023 13:30#"},
                                 {"Jones", "Mary", nullptr, "#1/31/1999#"},
                                 {"smithers", "Waylon", "Springfield", "Null"}};
    for (const auto &c : contacts)
        f.db->execute(QStringLiteral("INSERT INTO tblContacts (LastName, FirstName, First_City, Date1) VALUES (%1, %2, %3, %4)")
                          .arg(platform::jetQuote(QString::fromUtf8(c[0])),
                               platform::jetQuote(QString::fromUtf8(c[1])),
                               c[2] ? platform::jetQuote(QString::fromUtf8(c[2])) : QStringLiteral("Null"),
                               QString::fromUtf8(c[3])));
    f.list = f.db->openRecordset(QStringLiteral("Select * from tblContacts Order By LastName, FirstName"));
}

void dialect(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return;
    Fixture &f = fixture();
    const QString input = textOf(data + 1, size - 1);
    sqlite3 *handle = f.db->handle();
    const DatabaseState before = DatabaseState::of(handle);
    switch (data[0] % 3) {
    case 0:
        guarded("dialect", input, [&] {
            auto rs = f.db->openRecordset(input);
            for (int n = 0; n < 20 && !rs->eof(); ++n)
                rs->moveNext();
        });
        break;
    case 1:
        guarded("dialect", input, [&] {
            f.list->findFirst(input);
            f.list->findNext(input);
        });
        break;
    default:
        guarded("dialect", input, [&] {
            const QString where =
                platform::translateJetCriterion(input, QStringLiteral("tblContacts"), f.db->catalog());
            auto rs = f.db->openRecordset(QStringLiteral("Select * from tblContacts Where ") + input);
            for (int n = 0; n < 20 && !rs->eof(); ++n)
                rs->moveNext();
            Q_UNUSED(where);
        });
        break;
    }
    if (!(DatabaseState::of(handle) == before))
        fail("dialect", "the database changed", input);
}

void columnLayout(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const int maxColumns = size > 0 ? data[0] % 40 : 0;
    guarded("qncolumn", QString::fromLatin1(bytes), [&] {
        const QList<ColumnLayoutFile::Column> columns = ColumnLayoutFile::parse(bytes, maxColumns);
        if (columns.size() > maxColumns)
            fail("qncolumn", "more columns than asked for", QString::fromLatin1(bytes));
        // What is written back reads again as the same number of columns.
        const QByteArray written = ColumnLayoutFile::format(columns);
        if (ColumnLayoutFile::parse(written, maxColumns).size() > columns.size())
            fail("qncolumn", "the written file reads as more columns", QString::fromLatin1(bytes));
    });
}

void keyString(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return;
    const QString input = textOf(data + 1, size - 1);
    guarded("keys", input, [&] {
        const auto records = KeyStringParser(data[0] & 1).parse(input);
        if (records.size() > KeyStringParser::MaxRecords)
            fail("keys", "more records than the bound", input);
    });
}

} // namespace fuzz
