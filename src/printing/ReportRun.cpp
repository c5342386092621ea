#include "printing/ReportRun.h"

#include "printing/ReportRunWatch.h"

ReportRun::ReportRun() : mStarted(ReportRunWatch::instance().begin()) {}

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
