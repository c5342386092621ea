#include "printing/ReportRun.h"

#include "printing/ReportRunWatch.h"

#include <QCoreApplication>

ReportRun::ReportRun() : mStarted(ReportRunWatch::instance().begin())
{
    mSinceEvents.start();
}

void ReportRun::letEventsRun()
{
    if (mSinceEvents.elapsed() < EventInterval)
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
