#pragma once

#include "platform/ui/MousePointer.h"

#include <QElapsedTimer>
#include <QtGlobal>

#include <exception>
#include <functional>
#include <optional>

class DisplayedRecords;

// Raised by letEventsRun when the user closed the preview; draw() ends the run quietly.
class ReportStopped : public std::exception {
  public:
    const char *what() const noexcept override { return "report stopped"; }
};

// One report at a time. A report lets window events run after each record; a second
// report started then would restart the print surface under the first, and sorting,
// filtering, editing or closing the main window would change the records under its
// walk. While a ReportRun lives, user input to every window but the preview and the
// dialogs shown meanwhile is refused with a word to the user (see ReportRunWatch), the
// preview's Print waits, and running() tells the main window's own commands to wait
// as well. Closing the preview stops the run at the next record: the document drawn so
// far is dropped and the current record comes back.
//
//   ReportRun run;
//   if (!run.started())
//       return; // another report is drawing
//
// or, with the failure handling every report shares:
//
//   ReportRun::draw([&](ReportRun &run) { ...; run.markPosition(records); ...; run.endWalk(); });
class ReportRun {
  public:
    ReportRun();
    ~ReportRun();
    ReportRun(const ReportRun &) = delete;
    ReportRun &operator=(const ReportRun &) = delete;

    bool started() const { return mStarted; }
    // Ends the run before the guard goes out of scope (before an error message, say).
    void finish();
    // A report failed: the document stays as far as it was drawn, the record current
    // before the walk becomes current again (when markPosition was reached), the normal
    // pointer comes back, the run ends and the error's own text is shown.
    void fail(const std::exception &error);
    // The report was stopped or cancelled: a document still being drawn is dropped, the
    // kept record becomes current again, the normal pointer comes back, the run ends.
    void stop();

    // Draws one report while no other is drawing; a run-time error inside goes to
    // fail(), after BeforeFailure (a report's own repairs) has run. A report the user
    // stopped (ReportStopped) or whose printing was cancelled before it began
    // (platform::PrintCancelled) ends through stop() after the same repairs, without a
    // message.
    static void draw(const std::function<void(ReportRun &)> &Draw,
                     const std::function<void()> &BeforeFailure = {});
    // The hourglass shows from here until the walk ends, the run stops or fails, or the
    // run goes out of scope; showing it again while it shows changes nothing.
    void showBusy();
    // Keeps the current record of the records the report walks.
    void markPosition(DisplayedRecords &Records);
    // The walk is over: the kept record becomes current again, pending window events
    // run once and the normal pointer comes back.
    void endWalk();

    // Lets pending window events run between two records, so that the windows stay
    // responsive and the preview shows the document growing. Repainting the preview
    // after every record would cost far more than drawing the record, so events run
    // only once a short while has passed since they last ran. Raises ReportStopped
    // when the user closed the preview meanwhile.
    void letEventsRun();

    static bool running();

    // The shortest stretch between two event runs, in milliseconds (20); tests set 0 to
    // have events run after every record.
    static int eventInterval();
    static void setEventIntervalForTesting(int milliseconds);

  private:
    bool mStarted = false;
    DisplayedRecords *mMarked = nullptr;
    QElapsedTimer mSinceEvents;
    std::optional<platform::BusyPointer> mBusy;
};

// A Reports menu entry over the displayed records: nothing while another report is
// drawing; otherwise asks first (ConfirmPrintDisplayed), lets pending window events
// run once and runs the report.
void ConfirmAndRunReport(DisplayedRecords &Records, qint32 SelectedCount, const std::function<void()> &Report);
