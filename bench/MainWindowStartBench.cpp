// Start-up to the first painted main window on 100,000 contacts, against opening the same
// record set alone and reading the rows a grid first shows. Each iteration times both
// sides and reports the ratio start-up/record set as the counter "ratio".
#include "../tests/support/ContactGenerator.h"
#include "app/modMain.h"
#include "mainwindow/NameList.h"
#include "mainwindow/RecordSource.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/ui/ProgramFolder.h"

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

const QString Source = QStringLiteral("Select * from  tblContacts Order By LastName, FirstName ");
constexpr int FirstScreenRows = 40;

QString databaseWith(qint64 contacts)
{
    const QString path = QDir::temp().filePath(QStringLiteral("quiltern-bench-start-%1.mdb").arg(contacts));
    if (QFile::exists(path))
        return path;
    std::fprintf(stderr, "generating %lld contacts in %s ...\n", static_cast<long long>(contacts),
                 qPrintable(path));
    platform::createDatabaseFromSchema(path);
    auto db = platform::Database::open(path);
    sqlite3_exec(db->handle(), "PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY", nullptr, nullptr,
                 nullptr);
    ContactGenerator::insert(*db, contacts, 42);
    return path;
}

double seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

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
    platform::setProgramFolderForTesting(folder.path());
    setCommandLineForTesting(path);
    setSingleInstanceKeyForTesting(QStringLiteral("QuilternBench-") +
                                   QString::number(QCoreApplication::applicationPid()));
    gDbPath.clear();
    resetRecordSourceParts();

    const auto start = Clock::now();
    if (Main() != MainOutcome::MainWindowShown)
        std::abort();
    NameList *window = NameList::loadedInstance();
    QImage painted = window->grab().toImage();
    const double elapsed = seconds(start);
    benchmark::DoNotOptimize(painted.constBits());

    window->unload();
    QCoreApplication::processEvents();
    gContactsTable.reset();
    gDb.reset();
    gDbPath.clear();
    releaseSingleInstanceForTesting();
    return elapsed;
}

void StartToFirstPaintedMainWindow(benchmark::State &state)
{
    const QString path = databaseWith(state.range(0));
    double ours = 0, alone = 0;
    for (auto _ : state) {
        const double a = openRecordsetAlone(path);
        const double o = startToFirstPaint(path);
        alone += a;
        ours += o;
        state.SetIterationTime(o);
    }
    state.counters["start_ms"] = ours * 1000 / double(state.iterations());
    state.counters["recordset_ms"] = alone * 1000 / double(state.iterations());
    state.counters["ratio"] = alone > 0 ? ours / alone : 0;
}

} // namespace

BENCHMARK(StartToFirstPaintedMainWindow)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
