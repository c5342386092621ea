#pragma once

// What the benchmarks of the main window share: a generated database kept in the
// temporary folder between runs, a stopwatch, and a main that gives the window an
// offscreen application.
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
#include <chrono>
#include <cstdio>

namespace bench {

using Clock = std::chrono::steady_clock;

// A database of `contacts` generated contacts, made once and named after `purpose`.
inline QString databaseWith(const char *purpose, qint64 contacts)
{
    const QString path =
        ContactGenerator::keptDatabasePath(QStringLiteral("%1-%2").arg(QLatin1String(purpose)).arg(contacts));
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

inline double seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// Sets the program up to start on `path` as the platform would start it, with a program
// folder of its own; Main then opens the main window.
inline void prepareStart(const QString &path, const QString &programFolder)
{
    platform::setProgramFolderForTesting(programFolder);
    setCommandLineForTesting(path);
    setSingleInstanceKeyForTesting(QStringLiteral("QuilternBench-") +
                                   QString::number(QCoreApplication::applicationPid()));
    gDbPath.clear();
    resetRecordSourceParts();
}

// Closes the main window and lets go of the database, so the program can start again.
inline void stopProgram(NameList &window)
{
    window.unload();
    QCoreApplication::processEvents();
    gContactsTable.reset();
    gDb.reset();
    gDbPath.clear();
    releaseSingleInstanceForTesting();
}

inline int runWithWindows(int argc, char **argv)
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

} // namespace bench
