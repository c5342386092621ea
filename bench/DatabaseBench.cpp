// The database layer against plain SQLite (the same library, no key, raw prepare/step) doing
// the same work in the same run. Each benchmark times both sides, alternately, in every
// iteration and reports the median ratio layer/raw as "ratio", with its spread. Where the
// layer keeps a compiled statement between calls, so does the reference.
#include "BenchSupport.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/TextCollation.h"

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <memory>
#include <string>

using namespace platform;

namespace {

using bench::Clock;

const bench::KeptDatabase Contacts100k("contacts", 100000);
const bench::KeptDatabase Contacts1M("contacts", 1000000);

const QString Source = QStringLiteral("Select * from  tblContacts Order By LastName, FirstName ");
const char *const TenFields[] = {"FirstName",     "LastName",    "Organization",     "First_Address1",
                                 "First_City",    "First_State", "First_PostalCode", "Phone1",
                                 "Email_Address", "DateUpdated"};

QString databaseWith(qint64 contacts)
{
    return (contacts == 100000 ? Contacts100k : Contacts1M).ready();
}

struct Raw {
    sqlite3 *db = nullptr;
    explicit Raw(const QString &path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        // The text columns and their indexes are declared in the program's own order.
        platform::registerTextCollation(db);
    }
    ~Raw() { sqlite3_close(db); }
};

// Reads the first `rows` rows (all when negative) of `sql` with raw SQLite, converting the
// ten fields to QString as the layer does.
qint64 rawRead(sqlite3 *db, const char *sql, qint64 rows)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    int columns[10];
    for (int f = 0; f < 10; ++f)
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            if (std::string(sqlite3_column_name(stmt, c)) == TenFields[f])
                columns[f] = c;
    qint64 total = 0, n = 0;
    while ((rows < 0 || n < rows) && sqlite3_step(stmt) == SQLITE_ROW) {
        for (int column : columns) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
            total += QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)).size();
        }
        ++n;
    }
    sqlite3_finalize(stmt);
    benchmark::DoNotOptimize(total);
    return n;
}

qint64 layerRead(Database &db, qint64 rows)
{
    auto rs = db.openRecordset(Source);
    int fields[10];
    for (int f = 0; f < 10; ++f)
        fields[f] = rs->fieldIndex(QString::fromLatin1(TenFields[f]));
    qint64 total = 0, n = 0;
    for (; (rows < 0 || n < rows) && !rs->eof(); rs->moveNext()) {
        for (int field : fields)
            total += rs->value(field).isNull() ? 0 : 1;
        ++n;
    }
    benchmark::DoNotOptimize(total);
    return n;
}

// Times the layer and raw SQLite reading the first `rows` rows (all when negative).
void compareReads(benchmark::State &state, qint64 rows)
{
    const QString path = databaseWith(state.range(0));
    auto db = Database::open(path);
    Raw raw(path);
    const QByteArray sql = Source.toUtf8();
    bench::PairedTimes times;
    for (auto _ : state) {
        qint64 a = 0, b = 0;
        state.SetIterationTime(times.time([&] { a = layerRead(*db, rows); },
                                          [&] { b = rawRead(raw.db, sql.constData(), rows); }));
        if (a != b)
            state.SkipWithError("row counts differ");
    }
    times.report(state, rows < 0 ? "ms" : "us");
}

void OpenAndReadFirst50(benchmark::State &state)
{
    compareReads(state, 50);
}

void WalkEveryRowReadingTenFields(benchmark::State &state)
{
    compareReads(state, -1);
}

// A find on an open list, as the locate box and the find window do: the layer positions
// the record set on the first match; raw SQLite asks the same ordered query for it, with
// its statement compiled once, as the layer keeps its own. A name's beginning is sought
// as a range of the name index on both sides (SQLite's own LIKE would read the index from
// its start, and flatter the layer by a hundred times).
void FindFirst(benchmark::State &state, const QString &criterion, const QString &rawCondition)
{
    const QString path = databaseWith(state.range(0));
    auto db = Database::open(path);
    Raw raw(path);
    auto rs = db->openRecordset(Source);
    rs->findFirst(QStringLiteral("RecordID = 1")); // the first find of a list collects its keys once
    const QByteArray sql =
        QStringLiteral("SELECT * FROM tblContacts WHERE %1 ORDER BY LastName, FirstName LIMIT 1")
            .arg(rawCondition)
            .toUtf8();
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(raw.db, sql.constData(), -1, &stmt, nullptr);
    bench::PairedTimes times;
    for (auto _ : state) {
        rs->moveFirst();
        QString found, rawFound;
        const double t = times.time(
            [&] {
                rs->findFirst(criterion);
                found = rs->noMatch() ? QString() : rs->value("LastName").toString();
            },
            [&] {
                sqlite3_reset(stmt);
                if (sqlite3_step(stmt) == SQLITE_ROW)
                    rawFound = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 4)));
            });
        state.SetIterationTime(t);
        if (found != rawFound)
            state.SkipWithError("different rows found");
    }
    sqlite3_finalize(stmt);
    times.report(state, "us");
}

void FindLastNamePrefix(benchmark::State &state)
{
    FindFirst(state, QStringLiteral("LastName like \"Smi*\""),
              QStringLiteral("LastName >= 'Smi' AND LastName < 'Smj' AND LastName like 'Smi%'"));
}

// The locate box's first keystroke: one letter, which many names start with.
void FindLastNameInitial(benchmark::State &state)
{
    FindFirst(state, QStringLiteral("LastName like \"S*\""),
              QStringLiteral("LastName >= 'S' AND LastName < 'T' AND LastName like 'S%'"));
}

// A name typed whole finds by equality on the index.
void FindLastNameWhole(benchmark::State &state)
{
    FindFirst(state, QStringLiteral("LastName like \"Smith\""),
              QStringLiteral("LastName >= 'Smith' AND LastName < 'Smiti' AND LastName like 'Smith'"));
}

// A condition over every text field of the contacts, as the find window builds it.
QString everyTextField(Database &db, const QString &pattern, const QString &quote)
{
    QStringList parts;
    const TableDef contacts = db.tableDef("tblContacts");
    for (const JetColumn &field : contacts.fields())
        if (field.type == JetType::Text || field.type == JetType::Memo)
            parts.append(field.name + " Like " + quote + pattern + quote);
    return "(" + parts.join(" OR ") + ")";
}

void FindOverAllTextFields(benchmark::State &state)
{
    auto db = Database::open(databaseWith(state.range(0)));
    const QString jet = everyTextField(*db, "*user99999@*", "\"");
    const QString raw = everyTextField(*db, "%user99999@%", "'");
    db.reset();
    FindFirst(state, jet, raw);
}

// Bytes the process holds on its heap, mapped blocks included.
qint64 heapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

void DynasetMemory(benchmark::State &state)
{
    const QString path = databaseWith(state.range(0));
    auto db = Database::open(path);
    for (auto _ : state) {
        const qint64 before = heapBytes();
        auto rs = db->openRecordset(Source);
        rs->moveLast();
        const qint64 count = rs->recordCount();
        rs->findFirst(QStringLiteral("RecordID = 1"));
        rs->setAbsolutePosition(count / 2);
        benchmark::DoNotOptimize(rs->value("LastName"));
        const qint64 after = heapBytes();
        state.counters["rows"] = double(count);
        state.counters["held_MB"] = double(after - before) / (1024.0 * 1024.0);
    }
}

} // namespace

BENCHMARK(OpenAndReadFirst50)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(WalkEveryRowReadingTenFields)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FindLastNamePrefix)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(3000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(FindLastNameInitial)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(3000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(FindLastNameWhole)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(3000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(FindOverAllTextFields)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(DynasetMemory)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
