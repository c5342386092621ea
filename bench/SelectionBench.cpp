// Applying a filter and the find over all fields against plain SQLite asking the same
// question of the same 100,000 contacts: both open the list (compiling its text), count
// its rows and read the first screen, in turn within one run.
#include "BenchSupport.h"
#include "helpers/RecordSource.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/TextCollation.h"
#include "selection/SelectionSource.h"

#include <QFile>

using namespace platform;

namespace {

const bench::KeptDatabase Contacts100k("contacts", 100000);

constexpr int Screen = 40; // rows the main grid shows at once
const char *const ScreenFields[] = {"FirstName", "LastName", "Organization", "First_City", "Phone1"};

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

// The program's side: the record source opened as the main list opens it, its count, and
// the first screen's fields.
qint64 openCountAndShow(Database &db, const QString &source)
{
    auto rs = db.openRecordset(source);
    const qint64 count = rs->recordCount();
    int fields[std::size(ScreenFields)];
    for (std::size_t f = 0; f < std::size(ScreenFields); ++f)
        fields[f] = rs->fieldIndex(QString::fromLatin1(ScreenFields[f]));
    qint64 total = 0;
    for (int n = 0; n < Screen && !rs->eof(); ++n, rs->moveNext())
        for (int field : fields)
            total += rs->value(field).toString().size();
    benchmark::DoNotOptimize(total);
    return count;
}

// Plain SQLite: the same question compiled, every row stepped to count it, the first
// screen's fields read as text.
qint64 rawOpenCountAndShow(sqlite3 *db, const QByteArray &sql)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
    int columns[std::size(ScreenFields)] = {};
    for (std::size_t f = 0; f < std::size(ScreenFields); ++f)
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            if (qstrcmp(sqlite3_column_name(stmt, c), ScreenFields[f]) == 0)
                columns[f] = c;
    qint64 count = 0, total = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        if (count < Screen)
            for (int column : columns)
                total += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, column)),
                                           sqlite3_column_bytes(stmt, column))
                             .size();
        ++count;
    }
    sqlite3_finalize(stmt);
    benchmark::DoNotOptimize(total);
    return count;
}

void compare(benchmark::State &state, const std::function<QString()> &source, const QString &rawSql)
{
    const QString path = Contacts100k.ready();
    auto db = Database::open(path);
    Raw raw(path);
    const QByteArray sql = rawSql.toUtf8();
    bench::PairedTimes times;
    for (auto _ : state) {
        qint64 a = 0, b = 0;
        state.SetIterationTime(
            times.time([&] { a = openCountAndShow(*db, source()); }, [&] { b = rawOpenCountAndShow(raw.db, sql); }));
        state.counters["rows"] = double(a);
        if (a != b) {
            std::fprintf(stderr, "the program lists %lld rows, SQLite %lld\n", static_cast<long long>(a),
                         static_cast<long long>(b));
            state.SkipWithError("row counts differ");
            break;
        }
    }
    times.report(state);
}

// The filter window's own example.
void ApplyFilter(benchmark::State &state)
{
    compare(
        state,
        [] {
            return storeParts(filterRecordSource(
                gRecordSource, QStringLiteral("LastName Like \"Sm*\" OR Notes Like \"*ski*\"")));
        },
        QStringLiteral("SELECT * FROM tblContacts WHERE (LastName LIKE 'Sm%' OR Notes LIKE '%ski%') ORDER BY "
                       "LastName, FirstName"));
}

// A filter on a number and a text with a typed order.
void ApplyFilterWithOrder(benchmark::State &state)
{
    compare(
        state,
        [] {
            return storeParts(filterRecordSource(
                gRecordSource, QStringLiteral("RecordID Between 90000 And 20000 And First_City <> \"\" "
                                              "order by First_City, LastName")));
        },
        QStringLiteral(
            "SELECT * FROM tblContacts WHERE (RecordID BETWEEN 20000 AND 90000 AND First_City <> '') "
            "ORDER BY First_City, LastName"));
}

// Every field the find searches, as it names them.
QStringList contactFields(Database &db)
{
    auto rs = db.openRecordset(QStringLiteral("tblContacts"));
    QStringList names;
    for (int i = 1; i < rs->fieldCount(); ++i)
        names << rs->fieldInfo(i).name;
    return names;
}

void FindOverAllFields(benchmark::State &state)
{
    QStringList fields, rawTerms;
    {
        auto db = Database::open(Contacts100k.ready());
        fields = contactFields(*db);
    }
    // The reference searches the same columns: those the find's condition names.
    const QString condition = findCondition(fields, QStringLiteral("ski"));
    for (const QString &name : fields)
        if (condition.contains(u' ' + name + QStringLiteral(" Like ")) ||
            condition.startsWith(QStringLiteral(" (") + name + QStringLiteral(" Like ")))
            rawTerms << name + QStringLiteral(" LIKE '%ski%'");
    compare(
        state, [&] { return storeParts(findRecordSource(gRecordSource, condition)); },
        QStringLiteral("SELECT * FROM tblContacts WHERE (%1) ORDER BY LastName, FirstName")
            .arg(rawTerms.join(QStringLiteral(" OR "))));
    state.counters["fields"] = double(rawTerms.size());
}

BENCHMARK(ApplyFilter)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(ApplyFilterWithOrder)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(FindOverAllFields)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
