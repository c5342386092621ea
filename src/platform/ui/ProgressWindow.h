#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>

class QProgressDialog;

namespace platform {

// How far a long task has come, with Cancel. While it lives, window events run every
// little while, so every window of the program repaints and the Cancel button answers;
// input to the other windows waits, as for any modal window. The window itself shows
// only when the task lasts longer than a moment, so a short task flashes nothing. Time
// is the program's clock (platform::now), which tests set.
class ProgressWindow {
  public:
    // A task that cannot be stopped part way shows no Cancel.
    enum class Cancel { Offered, NotOffered };
    ProgressWindow(const QString &title, int total, Cancel cancel = Cancel::Offered);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow &) = delete;
    ProgressWindow &operator=(const ProgressWindow &) = delete;

    // Shows done of the total with text beside it; false once the user has cancelled.
    bool report(int done, const QString &text);
    bool cancelled() const { return mCancelled; }

    // What the window shows at one report.
    struct Step {
        QString title;
        QString text;
        int done = 0;
        int total = 0;
    };
    // Tests see every report instead of a window; the hook answers true for a Cancel (taken
    // only where Cancel is offered).
    // An empty function restores the window.
    using Hook = std::function<bool(const Step &)>;
    static void setHookForTesting(Hook hook);

    // The shortest stretch between two runs of window events, in milliseconds.
    static constexpr int EventInterval = 50;
    // How long a task runs before the window shows, in milliseconds.
    static constexpr int ShowAfter = 400;

  private:
    void letEventsRun();

    QString mTitle;
    int mTotal;
    Cancel mCancel;
    bool mCancelled = false;
    QDateTime mStarted;
    QDateTime mLastEvents;
    std::unique_ptr<QProgressDialog> mDialog;
};

} // namespace platform
