#include "helpers/StartRoutine.h"

#include <QCoreApplication>

std::function<void()> StartRoutine::restart;
std::function<void()> StartRoutine::changePassword;

namespace {

bool &reentering()
{
    static bool flag = false;
    return flag;
}

} // namespace

void restartThroughMain()
{
    if (StartRoutine::restart)
        StartRoutine::restart();
}

bool restartingThroughMain()
{
    return reentering();
}

void setRestartingThroughMain(bool restarting)
{
    reentering() = restarting;
}

void endProgram()
{
    QCoreApplication::quit();
}
