#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

// The application-wide side of ReportRun: holds back user input while a report runs
// and tells the windows when a run begins and ends.
class ReportRunWatch : public QObject {
    Q_OBJECT
  public:
    static ReportRunWatch &instance();

    bool running() const { return mRunning; }
    // The window whose input still goes through while a report runs.
    void setPreviewWindow(QWidget *window) { mPreview = window; }

    bool begin();
    void end();

  signals:
    void runningChanged(bool running);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    ReportRunWatch() = default;
    bool letThrough(QObject *watched) const;

    bool mRunning = false;
    QPointer<QWidget> mPreview;
};
