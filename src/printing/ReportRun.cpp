#include "printing/ReportRun.h"

#include "printing/ReportRunWatch.h"

#include <QCoreApplication>

ReportRun::ReportRun() : mStarted(ReportRunWatch::instance().begin())
{
    mSinceEvents.start();
}

namespace {
int &interval()
{
    static int milliseconds = 20;
    return milliseconds;
}
} // namespace

int ReportRun::eventInterval()
{
    return interval();
}

void ReportRun::setEventIntervalForTesting(int milliseconds)
{
    interval() = milliseconds;
}

void ReportRun::letEventsRun()
{
    if (mSinceEvents.elapsed() < interval())
        return;
    QCoreApplication::processEvents();
    mSinceEvents.restart();
}

ReportRun::~ReportRun()
{
    finish();
}

void ReportRun::finish()
{
    if (!mStarted)
        return;
    mStarted = false;
    ReportRunWatch::instance().end();
}

bool ReportRun::running()
{
    return ReportRunWatch::instance().running();
}
