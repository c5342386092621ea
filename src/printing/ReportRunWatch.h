#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

// The application-wide side of ReportRun: holds back user input while a report runs
// and tells the windows when a run begins and ends. Input goes on reaching the preview
// and every window of a dialog shown during the run (its pop-ups, completion lists and
// menus included); a click, key or close meant for any other window is refused with a
// message saying a report is running, never dropped without a word; the report goes on
// while the message is up.
class ReportRunWatch : public QObject {
    Q_OBJECT
  public:
    static ReportRunWatch &instance();

    bool running() const { return mRunning; }
    // The window whose input still goes through while a report runs.
    void setPreviewWindow(QWidget *window) { mPreview = window; }

    bool begin();
    void end();

    // The user closed the preview: the report ends at its next chance (see
    // ReportRun::letEventsRun). Cleared when the next run begins.
    void requestStop();
    bool stopRequested() const { return mStopRequested; }

    // What a refused command tells the user.
    static QString runningMessage(bool previewShown);

  signals:
    void runningChanged(bool running);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    ReportRunWatch() = default;
    bool letThrough(QObject *watched) const;
    // Refuses held-back input visibly, with a notice over the window it was meant for.
    void tellRunning(QObject *watched);

    bool mRunning = false;
    bool mStopRequested = false;
    QPointer<QWidget> mPreview;
};
