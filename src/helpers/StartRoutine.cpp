#include "helpers/StartRoutine.h"

#include "helpers/DatabaseState.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QCoreApplication>

std::function<void(std::unique_ptr<platform::Database>)> StartRoutine::restart;
std::function<std::unique_ptr<platform::Database>(const QString &)> StartRoutine::checkDatabaseFile;
std::function<void()> StartRoutine::changePassword;

namespace {

bool &reentering()
{
    static bool flag = false;
    return flag;
}

} // namespace

void restartThroughMain(std::unique_ptr<platform::Database> opened)
{
    if (StartRoutine::restart)
        StartRoutine::restart(std::move(opened));
}

bool restartingThroughMain()
{
    return reentering();
}

void setRestartingThroughMain(bool restarting)
{
    reentering() = restarting;
}

void closeDatabase()
{
    gContactsTable.reset();
    gDb.reset();
}

void endProgram()
{
    // Windows kept for their next showing still list rows of the database. It closes now,
    // while the application that draws them lives, and not at static destruction after it
    // is gone.
    closeDatabase();
    QCoreApplication::quit();
}
