// The program as a user starts it: a whole process under an X server (Xvfb), timed from
// the moment it is started to its first painted main window, against a bare Qt main
// window with the same menus and an empty grid. Both report their first paint on the
// shared monotonic clock, so quitting is never timed; the two alternate run by run after
// one untimed run of each (so both start with the files in the page cache).
// The memory benchmark keeps the program open after its first paint and reports its peak
// resident memory and whether the resident set grows while the window stands idle.
#include "BenchSupport.h"

#include "platform/ui/FirstPaint.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <optional>
#include <signal.h>
#include <sys/prctl.h>

namespace {

const bench::KeptDatabase Contacts100k("contacts", 100000);
const bench::KeptDatabase Contacts1M("contacts", 1000000);
// The program's own floor: what it costs to start on no contacts at all.
const bench::KeptDatabase NoContacts("empty", 0);

// Time a start may take before the run is called failed.
constexpr int StartLimitMs = 180000;

// An X server of the benchmark's own on a free display, for as long as the process runs.
class VirtualScreen {
  public:
    // The display's name (":99"), or nothing when no server could be started.
    static std::optional<QString> display()
    {
        static VirtualScreen screen;
        return screen.mDisplay;
    }

  private:
    VirtualScreen()
    {
        // The server ends with the benchmark, however the benchmark ends.
        mServer.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        // It picks a free display itself and writes its number on descriptor 1.
        mServer.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                               QStringLiteral("-screen"), QStringLiteral("0"),
                                               QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                                               QStringLiteral("tcp")});
        if (!mServer.waitForStarted())
            return;
        while (!mServer.canReadLine() && mServer.waitForReadyRead(30000)) {
        }
        bool ok = false;
        const int number = mServer.readLine().trimmed().toInt(&ok);
        if (ok)
            mDisplay = QStringLiteral(":%1").arg(number);
    }
    ~VirtualScreen()
    {
        mServer.terminate();
        mServer.waitForFinished(5000);
    }

    QProcess mServer;
    std::optional<QString> mDisplay;
};

QString ownTemporaryFolder()
{
    static QTemporaryDir folder;
    return folder.path();
}

// One started process that reports its first paint.
class Started {
  public:
    // `stay` keeps the process running after its first paint (it is ended with the object).
    Started(const QString &program, const QStringList &arguments, const QString &display, bool stay)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("QUILTERN_FIRST_PAINT"),
                           stay ? QStringLiteral("stay") : QStringLiteral("quit"));
        // Temporary and runtime folders of this run's own: the program's one-copy lock and
        // its server live there, so a copy the user has open, or another benchmark's, is
        // neither asked to come forward nor disturbed.
        environment.insert(QStringLiteral("TMPDIR"), ownTemporaryFolder());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), ownTemporaryFolder());
        mProcess.setProcessEnvironment(environment);
        mProcess.setProcessChannelMode(QProcess::SeparateChannels);
        mStarted = bench::Clock::now();
        mProcess.start(program, arguments);
    }
    ~Started()
    {
        if (mProcess.state() != QProcess::NotRunning) {
            mProcess.terminate();
            if (!mProcess.waitForFinished(30000))
                mProcess.kill();
            mProcess.waitForFinished();
        }
    }

    // Seconds from the start to the first paint; nothing when the process ended or took
    // too long (its error output is then on stderr).
    std::optional<double> firstPaint()
    {
        for (;;) {
            while (mProcess.canReadLine())
                if (const auto at = platform::parseFirstPaintLine(mProcess.readLine()))
                    return std::chrono::duration<double>(*at - mStarted).count();
            if (!mProcess.waitForReadyRead(StartLimitMs))
                break;
        }
        std::fprintf(stderr, "%s did not report its first paint:\n%s\n", qPrintable(mProcess.program()),
                     mProcess.readAllStandardError().constData());
        return std::nullopt;
    }

    // Waits for a process that quits by itself after its first paint.
    void finish() { mProcess.waitForFinished(StartLimitMs); }

    // A field of /proc/<pid>/status in bytes (VmRSS, VmHWM), or -1.
    qint64 statusBytes(const char *field) const
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(mProcess.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray start = QByteArray(field) + ':';
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith(start))
                return line.mid(start.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
        return -1;
    }

  private:
    QProcess mProcess;
    bench::Clock::time_point mStarted;
};

const QString Program = QStringLiteral(QUILTERN_PROGRAM_PATH);
const QString BareWindow = QStringLiteral(QUILTERN_BARE_WINDOW_PATH);

// Seconds to the first paint of a process that then quits, or a negative number.
double timeToFirstPaint(const QString &program, const QStringList &arguments, const QString &display)
{
    Started process(program, arguments, display, false);
    const std::optional<double> seconds = process.firstPaint();
    process.finish();
    return seconds.value_or(-1);
}

const bench::KeptDatabase &contactsFor(const benchmark::State &state)
{
    return state.range(0) == 0 ? NoContacts : state.range(0) == 100000 ? Contacts100k : Contacts1M;
}

void ProcessStartToFirstPaint(benchmark::State &state)
{
    const std::optional<QString> display = VirtualScreen::display();
    if (!display) {
        state.SkipWithError("no X server (the xvfb package) to start the program under");
        return;
    }
    const QStringList database{contactsFor(state).ready()};
    bool failed = false;
    const auto run = [&](const QString &program, const QStringList &arguments) {
        const double seconds = timeToFirstPaint(program, arguments, *display);
        failed = failed || seconds < 0;
        return seconds;
    };
    const auto program = [&] { return run(Program, database); };
    const auto bare = [&] { return run(BareWindow, {}); };
    // One untimed start of each, so that both find their files in the page cache.
    program();
    bare();
    bench::PairedTimes times;
    for (auto _ : state) {
        if (failed)
            break;
        state.SetIterationTime(times.time(program, bare));
    }
    if (failed) {
        state.SkipWithError("a process did not reach its first paint");
        return;
    }
    times.report(state);
}

// Resident memory of a process from its first paint through `idleSeconds` of standing idle.
struct MemoryFigures {
    double atPaint = 0, peak = 0;
    // The most the resident set rose above where it settled, sampled while idle.
    double idleRise = 0;
};

std::optional<MemoryFigures> memoryOf(const QString &program, const QStringList &arguments, const QString &display,
                                      int idleSeconds)
{
    Started process(program, arguments, display, true);
    if (!process.firstPaint())
        return std::nullopt;
    MemoryFigures figures;
    figures.atPaint = double(process.statusBytes("VmRSS"));
    // Work the window posts for after its first paint has a second to finish; from then
    // on nothing happens, and the resident set must stay where it is.
    QThread::msleep(1000);
    const double settled = double(process.statusBytes("VmRSS"));
    for (int sample = 0; sample < idleSeconds * 4; ++sample) {
        QThread::msleep(250);
        figures.idleRise = std::max(figures.idleRise, double(process.statusBytes("VmRSS")) - settled);
    }
    figures.peak = double(process.statusBytes("VmHWM"));
    if (figures.atPaint < 0 || settled < 0 || figures.peak < 0)
        return std::nullopt;
    return figures;
}

void ProcessMemory(benchmark::State &state)
{
    const std::optional<QString> display = VirtualScreen::display();
    if (!display) {
        state.SkipWithError("no X server (the xvfb package) to start the program under");
        return;
    }
    constexpr double MB = 1024.0 * 1024.0;
    const QStringList database{contactsFor(state).ready()};
    std::vector<double> peak, atPaint, idleRise, barePeak;
    for (auto _ : state) {
        const auto started = bench::Clock::now();
        const auto program = memoryOf(Program, database, *display, 8);
        const auto bare = memoryOf(BareWindow, {}, *display, 0);
        if (!program || !bare) {
            state.SkipWithError("a process did not reach its first paint");
            return;
        }
        peak.push_back(program->peak / MB);
        atPaint.push_back(program->atPaint / MB);
        idleRise.push_back(program->idleRise / MB);
        barePeak.push_back(bare->peak / MB);
        state.SetIterationTime(bench::seconds(started));
    }
    state.counters["peak_MB"] = bench::PairedTimes::median(peak);
    state.counters["at_paint_MB"] = bench::PairedTimes::median(atPaint);
    state.counters["idle_rise_max_MB"] = *std::max_element(idleRise.begin(), idleRise.end());
    state.counters["bare_peak_MB"] = bench::PairedTimes::median(barePeak);
}

} // namespace

BENCHMARK(ProcessStartToFirstPaint)
    ->Arg(0)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ProcessMemory)
    ->Arg(0)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kSecond);

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
