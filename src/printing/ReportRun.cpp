#include "printing/ReportRun.h"

#include "printing/DisplayedRecords.h"
#include "printing/GLOBAL.h"
#include "printing/ReportRunWatch.h"
#include "printing/frmPreview.h"

#include "platform/RuntimeError.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/MsgBox.h"

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
    if (ReportRunWatch::instance().stopRequested())
        throw ReportStopped();
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

void ReportRun::draw(const std::function<void(ReportRun &)> &Draw, const std::function<void()> &BeforeFailure)
{
    ReportRun run;
    if (!run.started())
        return;
    try {
        Draw(run);
    } catch (const ReportStopped &) {
        if (BeforeFailure)
            BeforeFailure();
        run.stop();
    } catch (const platform::PrintCancelled &) {
        if (BeforeFailure)
            BeforeFailure();
        run.stop();
    } catch (const std::exception &error) {
        if (BeforeFailure)
            BeforeFailure();
        run.fail(error);
    }
}

void ReportRun::showBusy()
{
    if (!mBusy)
        mBusy.emplace();
}

void ReportRun::markPosition(DisplayedRecords &Records)
{
    Records.markPosition();
    mMarked = &Records;
}

void ReportRun::endWalk()
{
    if (mMarked)
        mMarked->returnToMark();
    QCoreApplication::processEvents();
    mBusy.reset();
}

void ReportRun::stop()
{
    if (frmPreview *preview = frmPreview::existing()) {
        if (preview->surface().documentOpen())
            preview->surface().dropDocument();
    }
    if (mMarked) {
        try {
            mMarked->returnToMark();
        } catch (const std::exception &) {
        }
    }
    mBusy.reset();
    finish();
}

void ReportRun::fail(const std::exception &error)
{
    if (mMarked) {
        try {
            mMarked->returnToMark();
        } catch (const std::exception &) {
        }
    }
    mBusy.reset();
    finish();
    const auto *runtime = dynamic_cast<const platform::RuntimeError *>(&error);
    platform::MsgBox(runtime ? runtime->description() : QString::fromLocal8Bit(error.what()), platform::vbOKOnly);
}

void ConfirmAndRunReport(DisplayedRecords &Records, qint32 SelectedCount, const std::function<void()> &Report)
{
    // A report already drawing is not interrupted by a second one.
    if (ReportRun::running())
        return;
    if (!ConfirmPrintDisplayed(Records, SelectedCount))
        return;
    QCoreApplication::processEvents();
    Report();
}
