#pragma once

#include <QElapsedTimer>

// One report at a time. A report lets window events run after each record; a second
// report started then would restart the print surface under the first, and sorting,
// filtering, editing or closing the main window would change the records under its
// walk. While a ReportRun lives, user input to every window but the preview and modal
// dialogs is held back (see ReportRunWatch), the preview's Print waits, and running()
// tells the main window's own commands to wait as well.
//
//   ReportRun run;
//   if (!run.started())
//       return; // another report is drawing
class ReportRun {
  public:
    ReportRun();
    ~ReportRun();
    ReportRun(const ReportRun &) = delete;
    ReportRun &operator=(const ReportRun &) = delete;

    bool started() const { return mStarted; }
    // Ends the run before the guard goes out of scope (before an error message, say).
    void finish();

    // Lets pending window events run between two records, so that the windows stay
    // responsive and the preview shows the document growing. Repainting the preview
    // after every record would cost far more than drawing the record, so events run
    // only once a short while has passed since they last ran.
    void letEventsRun();

    static bool running();

    // The shortest stretch between two event runs, in milliseconds (20); tests set 0 to
    // have events run after every record.
    static int eventInterval();
    static void setEventIntervalForTesting(int milliseconds);

  private:
    bool mStarted = false;
    QElapsedTimer mSinceEvents;
};
