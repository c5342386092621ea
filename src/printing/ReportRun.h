#pragma once

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

    static bool running();

  private:
    bool mStarted = false;
};
