// Rebuilding the due reminders over 100,000 reminders, against plain SQLite (the same library,
// no key, raw prepare/step) running the same delete and insert in one transaction. The
// database is made before anything is timed; each iteration times both sides in turn.
#include "BenchSupport.h"

#include "platform/base/Clock.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/TextCollation.h"
#include "platform/db/jet/JetDialect.h"
#include "platform/db/jet/JetValue.h"
#include "reminders/ReminderRecords.h"
#include "start/modMain.h"

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <cstdio>
#include <cstdlib>

namespace {

const QDate Today(2026, 3, 1);
const QString ClearSql = QStringLiteral("Delete * from tblCurrentReminders");
const QString FillSql = QStringLiteral(
    "INSERT INTO tblCurrentReminders (RemindDate, RecordID, TblRemindRecordID, Description, Notes, WarnDate) "
    "SELECT RemindDate, LinkedRecordID, TblRemindRecordID, Description, Notes, WarnDate FROM "
    "qryNewReminders");

void exec(sqlite3 *db, const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql, message ? message : "?");
        std::abort();
    }
}

// 100,000 reminders, a little over half of them due on Today (active with a warning date
// reached), and no contacts.
constexpr int Reminders = 100000;
const bench::KeptDatabase ReminderFile("reminders", 0, 7, [](platform::Database &db) {
    sqlite3 *h = db.handle();
    exec(h, "BEGIN");
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(
        h,
        "INSERT INTO tblRemind (LinkedRecordID, Description, RemindDate, WarningDays, WarnDate, "
        "Status, FrequencyPeriod, FrequencyAmount, Notes) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
        -1, &insert, nullptr);
    static const char *const periods[] = {"One time", "Days", "Months", "Years"};
    quint32 seed = 7;
    for (int i = 0; i < Reminders; ++i) {
        seed = seed * 1103515245u + 12345u;
        const QDate date = Today.addDays(int(seed >> 8) % 700 - 300);
        const int warning = int(seed >> 20) % 30;
        const QByteArray description = QStringLiteral("Reminder number %1 for a contact").arg(i).toUtf8();
        const QByteArray remindDate = platform::dateToStorage(date).toUtf8();
        const QByteArray warnDate = platform::dateToStorage(date.addDays(-warning)).toUtf8();
        sqlite3_bind_int64(insert, 1, i % 5000);
        sqlite3_bind_text(insert, 2, description.constData(), int(description.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, remindDate.constData(), int(remindDate.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 4, warning);
        sqlite3_bind_text(insert, 5, warnDate.constData(), int(warnDate.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 6, i % 10 == 0 ? "Inactive" : "Active", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 7, periods[i % 4], -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, 8, i % 4 == 0 ? 0 : 1);
        if (i % 3 == 0)
            sqlite3_bind_text(insert, 9, "Bring the papers", -1, SQLITE_STATIC);
        else
            sqlite3_bind_null(insert, 9);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec(h, "COMMIT");
});

// The view of the due reminders asks the program's clock for today; the raw side answers
// with the same day.
void rawToday(sqlite3_context *context, int, sqlite3_value **)
{
    static const QByteArray today = platform::dateToStorage(Today).toUtf8();
    sqlite3_result_text(context, today.constData(), int(today.size()), SQLITE_STATIC);
}

// Runs one statement as the program's Execute does: prepared for the call, stepped, finalised.
qint64 rawExecute(sqlite3 *db, const QByteArray &sql)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
    }
    sqlite3_finalize(stmt);
    return sqlite3_changes(db);
}

void RebuildDueReminders100k(benchmark::State &state)
{
    const QString path = ReminderFile.ready();
    platform::setClockForTesting([] { return QDateTime(Today, QTime(9, 0)); });
    auto ours = platform::Database::open(path);
    // The raw side runs exactly the statements the program's translation gives.
    const QByteArray clear =
        platform::translateJetSql(ClearSql, platform::JetTextKind::ActionQuery, ours->catalog()).sql.toUtf8();
    const QByteArray fill =
        platform::translateJetSql(FillSql, platform::JetTextKind::ActionQuery, ours->catalog()).sql.toUtf8();
    sqlite3 *raw = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    platform::registerTextCollation(raw);
    sqlite3_create_function(raw, "quiltern_today", 0, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, rawToday,
                            nullptr, nullptr);

    bench::PairedTimes times;
    qint64 programRows = 0, rawRows = 0;
    for (auto _ : state) {
        state.SetIterationTime(times.time([&] { programRows = RebuildDueReminders(*ours); },
                                          [&] {
                                              exec(raw, "BEGIN");
                                              rawExecute(raw, clear);
                                              rawRows = rawExecute(raw, fill);
                                              exec(raw, "COMMIT");
                                          }));
    }
    if (programRows != rawRows || programRows == 0) {
        std::fprintf(stderr, "the two sides differ: %lld against %lld rows\n",
                     static_cast<long long>(programRows), static_cast<long long>(rawRows));
        std::abort();
    }
    sqlite3_close(raw);
    platform::setClockForTesting({});
    state.counters["due_rows"] = double(programRows);
    times.report(state);
}

} // namespace

BENCHMARK(RebuildDueReminders100k)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
