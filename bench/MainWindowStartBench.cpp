// Start-up to the first painted main window on 100,000 and 1,000,000 contacts, against
// opening the same record set alone and reading the rows a grid first shows. Each
// iteration times both sides in turn; "ratio" is the median start-up/record set.
#include "MainWindowBench.h"
#include "helpers/RecordSource.h"
#include "mainwindow/NameList.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/DialogSeam.h"
#include "platform/ui/ProgramFolder.h"
#include "start/modMain.h"

#include <sqlcipher/sqlite3.h>

#include <QTemporaryDir>

namespace {

using bench::Clock;
using bench::seconds;

const bench::KeptDatabase Contacts100k("contacts", 100000);
const bench::KeptDatabase Contacts1M("contacts", 1000000);

const QString Source = QStringLiteral("Select * from  tblContacts Order By LastName, FirstName ");
constexpr int FirstScreenRows = 40;

// The record set alone: open the file, open the list's record source, count it (a grid
// needs the count for its scroll bar) and read the cells of the first screen.
double openRecordsetAlone(const QString &path)
{
    const auto start = Clock::now();
    auto db = platform::Database::open(path);
    auto rs = db->openRecordset(Source, platform::RecordsetType::Dynaset);
    qint64 total = rs->recordCount();
    for (int row = 0; row < FirstScreenRows; ++row)
        for (int field = 0; field < 12; ++field)
            total += rs->valueAt(row, field).toString().size();
    benchmark::DoNotOptimize(total);
    return seconds(start);
}

// The program's start: the start routine shows the main window, which is then painted.
double startToFirstPaint(const QString &path)
{
    QTemporaryDir folder;
    bench::prepareStart(path, folder.path());

    const auto start = Clock::now();
    if (Main() != MainOutcome::MainWindowShown)
        std::abort();
    NameList *window = NameList::loadedInstance();
    QImage painted = window->grab().toImage();
    const double elapsed = seconds(start);
    benchmark::DoNotOptimize(painted.constBits());

    bench::stopProgram(*window);
    return elapsed;
}

void StartToFirstPaintedMainWindow(benchmark::State &state)
{
    const QString path = (state.range(0) == 100000 ? Contacts100k : Contacts1M).ready();
    bench::PairedTimes times;
    for (auto _ : state) {
        state.SetIterationTime(
            times.time([&] { return startToFirstPaint(path); }, [&] { return openRecordsetAlone(path); }));
    }
    times.report(state);
}

// The same contacts with the due reminders asked for at start-up: a thousand reminders,
// about half of them due, so the first activation rebuilds the due list and shows its
// window, which is closed as soon as it is on screen.
const bench::KeptDatabase DueReminders100k("start-due", 100000, 42, [](platform::Database &db) {
    sqlite3_exec(db.handle(), "BEGIN", nullptr, nullptr, nullptr);
    db.execute("INSERT INTO tblSettings (Type, Name) VALUES ('REMINDERSTARTUP', '1')");
    for (int i = 0; i < 1000; ++i) {
        const QDate date = QDate::currentDate().addDays(i % 60 - 30);
        db.execute(QStringLiteral("INSERT INTO tblRemind (LinkedRecordID, Description, RemindDate, WarningDays, "
                                  "WarnDate, Status, FrequencyPeriod, FrequencyAmount) VALUES (%1, 'Reminder %1', "
                                  "#%2#, 0, #%2#, 'Active', 'Years', 1)")
                       .arg(i + 1)
                       .arg(date.toString(QStringLiteral("M/d/yyyy"))));
    }
    sqlite3_exec(db.handle(), "COMMIT", nullptr, nullptr, nullptr);
});

void StartToFirstPaintedMainWindowWithDueReminders(benchmark::State &state)
{
    const QString path = DueReminders100k.ready();
    int dueWindows = 0;
    platform::setDialogHookForTesting([&dueWindows](const platform::DialogRequest &request) {
        if (request.kind != platform::DialogKind::ModalForm || request.objectName != u"CurrentReminders")
            std::abort();
        ++dueWindows;
        return platform::DialogAnswer{};
    });
    bench::PairedTimes times;
    for (auto _ : state)
        state.SetIterationTime(
            times.time([&] { return startToFirstPaint(path); }, [&] { return openRecordsetAlone(path); }));
    platform::setDialogHookForTesting({});
    if (dueWindows != state.iterations())
        std::abort();
    times.report(state);
}

} // namespace

BENCHMARK(StartToFirstPaintedMainWindowWithDueReminders)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(StartToFirstPaintedMainWindow)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(6)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
