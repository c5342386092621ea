// How long the window goes without running its events while a report runs on 20,000 and
// on 100,000 contacts from the main window's Reports menu, into the preview and into PDF
// files with no printer installed. A timer asks for a turn every few milliseconds; the
// longest gap between two of its turns, from the command to its end, is the longest
// stretch in which the window neither repaints nor answers the window manager, and
// "stalls_over_30ms" counts the gaps a user would feel. Every question the report asks is
// answered at once (OK, one copy, a file name), so only the work is measured.
#include "MainWindowBench.h"
#include "../tests/support/MainWindowControls.h"

#include "printing/PrintModeSwitch.h"
#include "printing/frmPreview.h"

#include "platform/print/PrintOutput.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/DialogSeam.h"
#include "platform/ui/MsgBox.h"

#include <QElapsedTimer>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const bench::KeptDatabase Contacts20k("contacts", 20000);
const bench::KeptDatabase Contacts100k("contacts", 100000);

// The Reports menu's commands measured, by their dispatch names.
const char *const Reports[] = {
    "FullSizeAddressBook", "HalfPageAddressBook", "PocketMenu",    "CondensedList",  "Condensed1LineMenu",
    "PhoneListMenu",       "DateReportMenu",      "Labels3upMenu", "Labels1UpMenu1", "Labels2UpMenu",
};

void answerEverything(QTemporaryDir &out)
{
    platform::setDialogHookForTesting([&out, files = 0](const platform::DialogRequest &request) mutable {
        platform::DialogAnswer answer;
        answer.accepted = true;
        switch (request.kind) {
        case platform::DialogKind::Message:
            answer.result = platform::vbOK;
            break;
        case platform::DialogKind::Input:
            answer.text = QStringLiteral("1");
            break;
        case platform::DialogKind::SaveFile:
            answer.fileName = out.filePath(QStringLiteral("report-%1.pdf").arg(++files));
            answer.filterIndex = 1;
            break;
        default:
            std::fprintf(stderr, "unexpected %s: %s\n", qPrintable(platform::dialogKindName(request.kind)),
                         qPrintable(request.text));
            std::abort();
        }
        return answer;
    });
}

void LongestStall(benchmark::State &state, const char *command, bool preview)
{
    QTemporaryDir out;
    answerEverything(out);
    bench::RunningProgram program((state.range(0) == 20000 ? Contacts20k : Contacts100k).ready());
    NameList &window = *program.window;
    platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); });
    PreviewSurface().setPreview(preview);
    // The user looks at the list a moment before choosing a report: the list has read its
    // rows and let go of the book meanwhile.
    platform::Recordset *list = Data1(window)->recordset();
    QElapsedTimer settling;
    settling.start();
    while (list->collectMoreRows(0) && settling.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();

    constexpr qint64 Felt = 30;
    double longest = 0;
    qint64 felt = 0;
    for (auto _ : state) {
        QElapsedTimer sinceTurn, total;
        qint64 worst = 0;
        QTimer ping;
        ping.setInterval(5);
        QObject::connect(&ping, &QTimer::timeout, [&] {
            const qint64 gap = sinceTurn.restart();
            worst = std::max(worst, gap);
            felt += gap > Felt ? 1 : 0;
        });
        ping.start();
        sinceTurn.start();
        total.start();
        window.dispatch(QString::fromLatin1(command));
        const qint64 last = sinceTurn.elapsed();
        worst = std::max(worst, last);
        felt += last > Felt ? 1 : 0;
        ping.stop();
        state.SetIterationTime(double(total.elapsed()) / 1e3);
        longest = std::max(longest, double(worst));
    }
    state.counters["pages"] = PreviewSurface().pageCount();
    state.counters["longest_stall_ms"] = longest;
    state.counters["stalls_over_30ms"] = double(felt) / double(state.iterations());
    UnloadPreview();
    platform::setDialogHookForTesting({});
    platform::PrintOutput::setPrinterLookupForTesting(nullptr);
}

} // namespace

int main(int argc, char **argv)
{
    for (const char *report : Reports) {
        for (const bool preview : {true, false}) {
            benchmark::RegisterBenchmark((std::string(report) + (preview ? "/preview" : "/pdf")).c_str(),
                                         LongestStall, report, preview)
                ->Arg(20000)
                ->Arg(100000)
                ->UseManualTime()
                ->Iterations(1)
                ->Unit(benchmark::kMillisecond);
        }
    }
    return bench::main(argc, argv);
}
