// Applying a filter and the find over all fields against plain SQLite asking the same
// question of the same 100,000 contacts: both open the list (compiling its text), count
// its rows and read the first screen, in turn within one run. And one category given to
// all 100,000 contacts the main window shows, then taken away again, from the running
// program's window against plain SQLite inserting (deleting) the same links in one
// transaction on the same connection.
#include "../tests/support/MainWindowControls.h"
#include "MainWindowBench.h"
#include "helpers/DatabaseState.h"
#include "helpers/RecordSource.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/TextCollation.h"
#include "platform/ui/DialogSeam.h"
#include "platform/ui/MsgBox.h"
#include "selection/CatgAssignAll.h"
#include "selection/SelectionSource.h"

#include <QFile>
#include <QPushButton>

using namespace platform;

namespace {

const bench::KeptDatabase Contacts100k("contacts", 100000);
// The same contacts and one category, which no contact has.
const bench::KeptDatabase Categorised100k("contacts-one-category", 100000, 42, [](Database &db) {
    db.execute(QStringLiteral("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Everyone')"));
});

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

// Plain SQLite's side: the links of the same contacts, one prepared statement stepped for
// each, in one transaction.
double rawLinks(sqlite3 *db, const char *sql, const std::vector<qint64> &contacts, qint64 category)
{
    const bench::Clock::time_point start = bench::Clock::now();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    for (qint64 contact : contacts) {
        sqlite3_bind_int64(stmt, 1, contact);
        sqlite3_bind_int64(stmt, 2, category);
        if (sqlite3_step(stmt) != SQLITE_DONE)
            std::abort();
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return bench::seconds(start);
}

qint64 linksOf(sqlite3 *db, qint64 category)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM tblCategoryID WHERE CategoryNumber = ?", -1, &stmt, nullptr);
    sqlite3_bind_int64(stmt, 1, category);
    sqlite3_step(stmt);
    const qint64 n = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return n;
}

// The window's Assign and Remove with every contact shown, each answered OK and timed to
// the statistics message; the reference inserts and deletes the same links. Each side
// undoes its own work before the other runs.
void CategoryForAllDisplayed(benchmark::State &state)
{
    bench::RunningProgram program(Categorised100k.ready());
    platform::Recordset &shown = *Data1(*program.window)->recordset();
    std::vector<qint64> contacts;
    for (shown.moveFirst(); !shown.eof(); shown.moveNext())
        contacts.push_back(shown.value(QStringLiteral("RecordID")).toLongLong());
    shown.moveFirst();

    bench::Clock::time_point start;
    double toldAfter = 0;
    QString told;
    platform::setDialogHookForTesting([&](const platform::DialogRequest &request) {
        platform::DialogAnswer answer;
        answer.accepted = true;
        answer.result = platform::vbOK;
        if (request.title.endsWith(QLatin1String("Statistics"))) {
            toldAfter = bench::seconds(start);
            told = request.text;
        }
        return answer;
    });
    CatgAssignAll &form = CatgAssignAll::instance();
    form.CatgData->recordset()->findFirst(QStringLiteral("CategoryDesc = 'Everyone'"));
    const qint64 category = form.CatgData->recordset()->value(QStringLiteral("CategoryNumber")).toLongLong();
    sqlite3 *db = gDb->handle();
    const auto timed = [&](QPushButton *button) {
        told.clear();
        start = bench::Clock::now();
        button->click();
        if (!told.contains(QStringLiteral("(%1)").arg(contacts.size())))
            std::abort();
        return toldAfter;
    };

    bench::PairedTimes assigning, removing;
    for (auto _ : state) {
        double removed = 0, deleted = 0;
        const double assigned = assigning.time(
            [&] {
                const double t = timed(form.cmdAssign);
                if (linksOf(db, category) != qint64(contacts.size()))
                    std::abort();
                removed = timed(form.cmdDelete);
                return t;
            },
            [&] {
                const double t = rawLinks(db, "INSERT INTO tblCategoryID (ID, CategoryNumber) VALUES (?, ?)",
                                          contacts, category);
                if (linksOf(db, category) != qint64(contacts.size()))
                    std::abort();
                deleted = rawLinks(db, "DELETE FROM tblCategoryID WHERE ID = ? AND CategoryNumber = ?",
                                   contacts, category);
                return t;
            });
        removing.add(removed, deleted);
        if (linksOf(db, category) != 0)
            std::abort();
        state.SetIterationTime(assigned + removed);
    }
    form.unload();
    platform::setDialogHookForTesting({});
    assigning.report(state, "ms", "assign_");
    removing.report(state, "ms", "remove_");
    state.counters["contacts"] = double(contacts.size());
}

BENCHMARK(ApplyFilter)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(ApplyFilterWithOrder)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(FindOverAllFields)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(CategoryForAllDisplayed)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
