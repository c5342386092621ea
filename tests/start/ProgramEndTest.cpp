// How the program ends when something other than its own Exit ends it: the display's
// library calling exit() with the book open, or no display to start on at all.
#include "helpers/DatabaseState.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "support/ContactGenerator.h"
#include "support/StartedProgram.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>

namespace {

const char *const ChildBook = "QUILTERN_EXIT_CHILD_BOOK";

// Last of the child's own ends to run, when every static made after it started may be gone:
// whether the book was let go, as another copy of the program that opens it alone finds it.
void tellWhetherClosed()
{
    const int handle = ::open(std::getenv(ChildBook), O_RDONLY | O_CLOEXEC);
    std::puts(handle >= 0 && ::flock(handle, LOCK_EX | LOCK_NB) == 0 ? "book closed" : "book still open");
    std::fflush(stdout);
}

} // namespace

// Run as a child process by the test below: the program runs on the book, a list walked
// part way and a change not yet committed, when exit() is called from an event, as the
// display's library calls it when the display goes away.
TEST(ProgramEnd, ChildEndedByALibrary)
{
    if (qEnvironmentVariableIsEmpty(ChildBook))
        GTEST_SKIP() << "only run as the child of LibraryExitClosesTheBook";
    std::atexit(tellWhetherClosed);
    StartedProgram program;
    program.setCommandLine(qEnvironmentVariable(ChildBook));
    ASSERT_TRUE(program.start());
    auto walk = gDb->openRecordset(QStringLiteral("Select * from tblContacts Order By LastName"));
    for (int i = 0; i < 40; ++i)
        walk->moveNext();
    gDb->beginTrans();
    gDb->execute(QStringLiteral("Delete From tblContacts"));
    QTimer::singleShot(0, [] { std::exit(1); });
    QEventLoop().exec();
}

TEST(ProgramEnd, LibraryExitClosesTheBook)
{
    QTemporaryDir folder;
    const QString book = folder.filePath(QStringLiteral("book.mdb"));
    platform::createDatabaseFromSchema(book);
    ContactGenerator::insert(*platform::Database::open(book), 300, 3);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(ChildBook, book);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=ProgramEnd.ChildEndedByALibrary"});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(child.readAllStandardError());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << qPrintable(err);
    EXPECT_EQ(child.exitCode(), 1) << qPrintable(err);
    EXPECT_TRUE(out.contains(QStringLiteral("book closed\n"))) << qPrintable(out);
    EXPECT_FALSE(err.contains(QStringLiteral("Sanitizer"))) << qPrintable(err);
    // Closed by the engine, which undid the change never committed and took its journal.
    EXPECT_FALSE(QFileInfo::exists(book + QStringLiteral("-journal")));
    EXPECT_EQ(platform::Database::open(book)->openRecordset(QStringLiteral("tblContacts"))->recordCount(),
              300);
}

// With no display to open, one line tells which were tried, and the program ends with 1
// rather than aborting.
TEST(ProgramEnd, NoDisplayIsToldInOneLine)
{
    for (const auto &[display, told] :
         {std::pair{"", "DISPLAY is not set"}, std::pair{":4711", "DISPLAY is \":4711\""}}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        if (*display)
            environment.insert("DISPLAY", display);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QUILTERN_PROGRAM_PATH, {});
        ASSERT_TRUE(program.waitForFinished(60000)) << display;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << display;
        EXPECT_EQ(program.exitCode(), 1) << display;
        EXPECT_EQ(QString::fromLocal8Bit(program.readAllStandardError()).toStdString(),
                  std::string("Quiltern 3: no display could be opened (") + told +
                      ", WAYLAND_DISPLAY is not set).\n");
    }
}
