// The query translator's Like and date text against SQLite's own LIKE over the same
// rows, timed in turn; each reports the median ratio and its spread.
#include "BenchSupport.h"

#include "platform/db/jet/JetDialect.h"

#include <sqlcipher/sqlite3.h>

#include <string>

using namespace platform;

namespace {

constexpr int Rows = 100000;

sqlite3 *database()
{
    static sqlite3 *db = [] {
        sqlite3 *d = nullptr;
        sqlite3_open(":memory:", &d);
        registerJetFunctions(d);
        sqlite3_exec(
            d,
            "CREATE TABLE c (id INTEGER PRIMARY KEY, last TEXT COLLATE jet_text, first TEXT COLLATE jet_text,"
            " street TEXT COLLATE jet_text, notes TEXT COLLATE jet_text, updated TEXT)",
            nullptr, nullptr, nullptr);
        sqlite3_exec(d, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *ins = nullptr;
        sqlite3_prepare_v2(d, "INSERT INTO c (last, first, street, notes, updated) VALUES (?, ?, ?, ?, ?)",
                           -1, &ins, nullptr);
        const char *last[] = {"Smith",  "Johnson", "Müller",   "O'Brien",
                              "García", "Nguyen",  "Smithers", "Brown"};
        const char *first[] = {"John", "Mary", "Zoë", "Seán", "Ana", "Linh", "Waylon", "Élodie"};
        for (int i = 0; i < Rows; ++i) {
            const std::string l = std::string(last[i % 8]) + std::to_string(i);
            const std::string date = "20" + std::to_string(10 + i % 15) + "-0" + std::to_string(1 + i % 9) +
                                     "-1" + std::to_string(i % 10) + (i % 2 ? " 13:30:00" : "");
            sqlite3_bind_text(ins, 1, l.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(ins, 2, first[(i / 8) % 8], -1, SQLITE_STATIC);
            sqlite3_bind_text(ins, 3, "12 Harbour Street, Apartment 4", -1, SQLITE_STATIC);
            if (i % 3)
                sqlite3_bind_null(ins, 4);
            else
                sqlite3_bind_text(ins, 4, "Met at the conference; likes 100% cotton", -1, SQLITE_STATIC);
            sqlite3_bind_text(ins, 5, date.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_step(ins);
            sqlite3_reset(ins);
        }
        sqlite3_finalize(ins);
        sqlite3_exec(d, "COMMIT", nullptr, nullptr, nullptr);
        return d;
    }();
    return db;
}

struct Statement {
    sqlite3_stmt *stmt = nullptr;
    explicit Statement(const char *sql) { sqlite3_prepare_v2(database(), sql, -1, &stmt, nullptr); }
    ~Statement() { sqlite3_finalize(stmt); }
    int count()
    {
        sqlite3_reset(stmt);
        sqlite3_step(stmt);
        return sqlite3_column_int(stmt, 0);
    }
};

// The translator's form against SQLite's own LIKE, both compiled once and run in turn.
void compare(benchmark::State &state, const char *jet, const char *plain)
{
    Statement ours(jet), reference(plain);
    bench::PairedTimes times;
    for (auto _ : state) {
        int a = 0, b = 0;
        state.SetIterationTime(times.time([&] { a = ours.count(); }, [&] { b = reference.count(); }));
        benchmark::DoNotOptimize(a + b);
    }
    times.report(state);
}

void PrefixLike(benchmark::State &s)
{
    compare(s, "SELECT count(*) FROM c WHERE jet_like(last, 'smi*')", "SELECT count(*) FROM c WHERE last LIKE 'smi%'");
}
void ContainsLike(benchmark::State &s)
{
    compare(s,
            "SELECT count(*) FROM c WHERE jet_like(last, '*son*') OR jet_like(first, '*son*') OR "
            "jet_like(street, '*son*') OR jet_like(notes, '*son*')",
            "SELECT count(*) FROM c WHERE last LIKE '%son%' OR first LIKE '%son%' OR street LIKE '%son%' OR "
            "notes LIKE '%son%'");
}
// A date column matched on its displayed text, against LIKE on the stored ISO text.
void DateTextLike(benchmark::State &s)
{
    compare(s, "SELECT count(*) FROM c WHERE jet_like(jet_datetext(updated), '3/1*')",
            "SELECT count(*) FROM c WHERE updated LIKE '2012-03%'");
}

void TranslateCriterion(benchmark::State &state)
{
    static const QList<JetColumn> columns{{"LastName", JetType::Text, 50}, {"FirstName", JetType::Text, 50}};
    const JetCatalog catalog = [](const QString &) { return &columns; };
    for (auto _ : state)
        benchmark::DoNotOptimize(translateJetCriterion("LastName like \"Smi*\"", "tblContacts", catalog));
}

BENCHMARK(PrefixLike)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ContainsLike)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DateTextLike)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TranslateCriterion)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
