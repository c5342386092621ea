#include "platform/ui/ProgressWindow.h"

#include "platform/base/Clock.h"

#include <QApplication>
#include <QCoreApplication>
#include <QProgressDialog>

#include <limits>

namespace platform {

namespace {
ProgressWindow::Hook &hook()
{
    static ProgressWindow::Hook installed;
    return installed;
}
} // namespace

void ProgressWindow::setHookForTesting(Hook hook)
{
    platform::hook() = std::move(hook);
}

ProgressWindow::ProgressWindow(const QString &title, int total, Cancel cancel)
    : mTitle(title), mTotal(total), mCancel(cancel), mStarted(now()), mLastEvents(mStarted)
{
    if (hook() || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    // A window that has just closed (the main window, before a repair of its file) may go
    // while the work runs, and would take the dialog with it.
    QWidget *owner = QApplication::activeWindow();
    mDialog = std::make_unique<QProgressDialog>(owner && owner->isVisible() ? owner : nullptr);
    mDialog->setObjectName(QStringLiteral("ProgressWindow"));
    mDialog->setWindowTitle(title);
    mDialog->setWindowModality(Qt::ApplicationModal);
    mDialog->setAutoClose(false);
    mDialog->setAutoReset(false);
    if (cancel == Cancel::NotOffered)
        mDialog->setCancelButton(nullptr);
    mDialog->setRange(0, total);
    // The window shows by this class's clock, not by a timer of its own.
    mDialog->setMinimumDuration(std::numeric_limits<int>::max());
    mDialog->setValue(0);
    // Whatever a dialog closed just before left on the screen is repainted now, not when
    // the task is over.
    letEventsRun();
}

void ProgressWindow::letEventsRun()
{
    // Until the window shows, nothing holds the user back from the other windows: their
    // clicks and keys wait for the task's end, while everything repaints.
    QCoreApplication::processEvents(mDialog && mDialog->isVisible() ? QEventLoop::AllEvents
                                                                     : QEventLoop::ExcludeUserInputEvents);
}

ProgressWindow::~ProgressWindow() = default;

bool ProgressWindow::report(int done, const QString &text)
{
    if (mCancelled)
        return false;
    if (hook()) {
        mCancelled = hook()(Step{mTitle, text, done, mTotal}) && mCancel == Cancel::Offered;
        return !mCancelled;
    }
    if (!mDialog)
        return true;
    const QDateTime time = now();
    if (mLastEvents.msecsTo(time) < EventInterval)
        return true;
    mLastEvents = time;
    mDialog->setLabelText(text);
    mDialog->setValue(done);
    if (!mDialog->isVisible() && mStarted.msecsTo(time) >= ShowAfter)
        mDialog->show();
    letEventsRun();
    mCancelled = mDialog->wasCanceled() && mCancel == Cancel::Offered;
    return !mCancelled;
}

} // namespace platform
