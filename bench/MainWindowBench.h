#pragma once

// What the benchmarks of the main window share: starting the program on a kept database
// and stopping it again.
#include "BenchSupport.h"

#include "helpers/RecordSource.h"
#include "mainwindow/NameList.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/ui/ProgramFolder.h"
#include "start/modMain.h"

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

namespace bench {

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
    // A window closed with deleteLater goes only when an event loop next turns, which
    // would be inside the next start's timing (a modal window's loop) or never.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    gContactsTable.reset();
    gDb.reset();
    gDbPath.clear();
    releaseSingleInstanceForTesting();
}

// The program started on a kept database, its main window shown, until it goes out of
// scope.
struct RunningProgram {
    QTemporaryDir folder;
    NameList *window = nullptr;

    explicit RunningProgram(const QString &path)
    {
        prepareStart(path, folder.path());
        if (Main() != MainOutcome::MainWindowShown)
            std::abort();
        window = NameList::loadedInstance();
    }
    ~RunningProgram() { stopProgram(*window); }
};

} // namespace bench
