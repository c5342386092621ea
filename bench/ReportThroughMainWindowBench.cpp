// The two-line condensed list on 100,000 contacts as a user runs it: the main window's
// Reports command, answered OK, into the preview (every page) and into a PDF file with
// no printer installed. The preview is timed against the layout alone (the same list
// laid out from a data control of its own over the same file, as the layout benchmark
// does), the two in turn; the PDF run reports how soon the file is asked for and how
// many pages a second are written once the document has ended.
#include "MainWindowBench.h"
#include "../tests/support/MainWindowControls.h"

#include "printing/CondensedLists.h"
#include "printing/DataControlRecords.h"
#include "printing/frmPreview.h"

#include "platform/db/DataControl.h"
#include "platform/print/PrintOutput.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/DialogSeam.h"
#include "platform/ui/MsgBox.h"

#include <QLabel>
#include <QPrinterInfo>
#include <QTemporaryDir>

namespace {

using bench::Clock;
using bench::seconds;

const bench::KeptDatabase Contacts100k("contacts", 100000);

// Answers the confirmation with OK and the save dialog with `pdfPath`; anything else
// shown is a fault of the run.
void answerDialogs(const QString &pdfPath, double *askedAt = nullptr, const Clock::time_point *start = nullptr)
{
    platform::setDialogHookForTesting([=](const platform::DialogRequest &request) {
        platform::DialogAnswer answer;
        answer.accepted = true;
        if (request.kind == platform::DialogKind::Message) {
            answer.result = platform::vbOK;
        } else if (request.kind == platform::DialogKind::SaveFile && !pdfPath.isEmpty()) {
            if (askedAt && start)
                *askedAt = seconds(*start);
            answer.fileName = pdfPath;
            answer.filterIndex = 1;
        } else {
            std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(request.text));
            std::abort();
        }
        return answer;
    });
}

void PreviewTwoLineListThroughMainWindow(benchmark::State &state)
{
    const QString path = Contacts100k.ready();
    bench::RunningProgram program(path);
    NameList &window = *program.window;
    PreviewSurface().setPreview(true);
    answerDialogs(QString());

    // The layout alone: the same list from a data control of its own.
    auto db = platform::Database::open(path);
    platform::DataControl own;
    own.setDatabase(db.get());
    own.setRecordSource(Data1(window)->recordSource());
    own.refresh();
    DataControlRecords ownRecords(own);
    const QString category = label(window, "lblCategory")->text();

    bench::PairedTimes times;
    int pages = 0;
    for (auto _ : state) {
        state.SetIterationTime(times.time(
            [&] {
                window.dispatch(QStringLiteral("CondensedList"));
                pages = PreviewSurface().pageCount();
            },
            [&] { PrintCondensedList(ownRecords, category); }));
        if (PreviewSurface().pageCount() != pages || pages < 2)
            std::abort();
    }
    platform::setDialogHookForTesting({});
    times.report(state);
    state.counters["pages"] = pages;
}

void PrintTwoLineListToPdfThroughMainWindow(benchmark::State &state)
{
    const QString path = Contacts100k.ready();
    bench::RunningProgram program(path);
    NameList &window = *program.window;
    platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); });
    PreviewSurface().setPreview(false);
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("Condensed List.pdf"));

    std::vector<double> askedAfter, pagesPerSecond, totals;
    int pages = 0;
    for (auto _ : state) {
        QFile::remove(pdf);
        const Clock::time_point start = Clock::now();
        double asked = -1;
        answerDialogs(pdf, &asked, &start);
        // The moment the document ends and its writing begins.
        Clock::time_point ended{};
        const QMetaObject::Connection watch =
            QObject::connect(&PreviewSurface(), &platform::PrintSurface::contentChanged, [&] {
                if (!PreviewSurface().documentOpen() && PreviewSurface().pageCount() > 0)
                    ended = Clock::now();
            });
        window.dispatch(QStringLiteral("CondensedList"));
        const Clock::time_point done = Clock::now();
        QObject::disconnect(watch);
        pages = PreviewSurface().pageCount();
        if (asked < 0 || ended == Clock::time_point{} || !QFile::exists(pdf))
            std::abort();
        const double writing = std::chrono::duration<double>(done - ended).count();
        askedAfter.push_back(asked);
        pagesPerSecond.push_back(pages / writing);
        totals.push_back(std::chrono::duration<double>(done - start).count());
        state.SetIterationTime(totals.back());
    }
    platform::setDialogHookForTesting({});
    platform::PrintOutput::setPrinterLookupForTesting(nullptr);
    state.counters["pages"] = pages;
    state.counters["asked_after_ms"] = bench::PairedTimes::median(askedAfter) * 1e3;
    state.counters["pdf_pages_per_s"] = bench::PairedTimes::median(pagesPerSecond);
    state.counters["total_s"] = bench::PairedTimes::median(totals);
}

} // namespace

BENCHMARK(PreviewTwoLineListThroughMainWindow)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(PrintTwoLineListToPdfThroughMainWindow)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
