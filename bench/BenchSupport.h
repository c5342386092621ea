#pragma once

// What every benchmark shares, so that its figures are honest:
// - Databases are made before anything is timed. A benchmark declares the databases it
//   uses (KeptDatabase, at namespace scope); bench::main makes the missing ones into a
//   cache folder, each checked by a stamp of the schema and the generator, and when it
//   had to make one it says so and starts the process afresh, so the timed process only
//   opens files that were already there.
// - Side and reference are timed alternately within one run (PairedTimes.time runs them
//   in turn, swapping which goes first), and the ratio is reported as the median of the
//   per-repetition ratios with its spread.
#include "../tests/support/ContactGenerator.h"

#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/ui/ClassicFont.h"

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <type_traits>
#include <unistd.h>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// Where generated databases are kept between runs: QUILTERN_BENCH_CACHE, else the user's
// cache folder.
inline QString cacheFolder()
{
    QString folder = qEnvironmentVariable("QUILTERN_BENCH_CACHE");
    if (folder.isEmpty())
        folder = QDir::home().filePath(QStringLiteral(".cache/quiltern-bench"));
    QDir().mkpath(folder);
    return folder;
}

class KeptDatabase {
  public:
    // finish, when given, runs once on the new file after its contacts are in; a change of
    // what it does needs a new name. With a password the file is then encrypted with it.
    using Finish = std::function<void(platform::Database &)>;
    KeptDatabase(const char *name, qint64 contacts, quint32 seed = 42, Finish finish = {},
                 const QString &password = QString())
        : mName(QString::fromLatin1(name)), mContacts(contacts), mSeed(seed), mFinish(std::move(finish)),
          mPassword(password)
    {
        all().push_back(this);
    }

    QString path() const
    {
        // The stamp is in the name: checkouts with another schema keep files of their own
        // instead of remaking (or opening) each other's.
        return QDir(cacheFolder())
            .filePath(QStringLiteral("%1-%2-%3.mdb").arg(mName).arg(mContacts).arg(QString::fromLatin1(stamp().left(8))));
    }

    // The file, made before timing began; a benchmark that reaches for a database that was
    // never declared is a mistake in the benchmark, not a figure.
    QString ready() const
    {
        if (!isCurrent()) {
            std::fprintf(stderr, "database %s was not made before timing\n", qPrintable(path()));
            std::abort();
        }
        return path();
    }

    // Makes every declared database that is missing or stale; true when one was made.
    static bool makeMissing()
    {
        bool made = false;
        for (const KeptDatabase *db : all())
            if (!db->isCurrent()) {
                db->make();
                made = true;
            }
        return made;
    }

  private:
    static std::vector<const KeptDatabase *> &all()
    {
        static std::vector<const KeptDatabase *> list;
        return list;
    }

    QByteArray stamp() const
    {
        QFile schema(QStringLiteral(":/db/schema.sql"));
        schema.open(QIODevice::ReadOnly);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        hash.addData(schema.readAll());
        hash.addData(QByteArray::number(ContactGenerator::FormatVersion));
        hash.addData(QByteArray::number(mContacts) + '/' + QByteArray::number(mSeed) + '/' + mPassword.toUtf8());
        return hash.result().toHex();
    }
    QString stampPath() const { return path() + QStringLiteral(".stamp"); }

    bool isCurrent() const
    {
        QFile kept(stampPath());
        return QFile::exists(path()) && kept.open(QIODevice::ReadOnly) && kept.readAll() == stamp();
    }

    void make() const
    {
        std::fprintf(stderr, "making %s, %lld contacts (nothing is timed in this process)\n", qPrintable(path()),
                     static_cast<long long>(mContacts));
        QFile::remove(stampPath());
        QFile::remove(path());
        platform::createDatabaseFromSchema(path());
        {
            auto db = platform::Database::open(path());
            sqlite3_exec(db->handle(),
                         "PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY; PRAGMA cache_size = -200000",
                         nullptr, nullptr, nullptr);
            ContactGenerator::insert(*db, mContacts, mSeed);
            if (mFinish)
                mFinish(*db);
        }
        if (!mPassword.isEmpty())
            platform::Database::open(path(), true, false, QStringLiteral(";pwd="))->newPassword(QString(), mPassword);
        QFile kept(stampPath());
        if (kept.open(QIODevice::WriteOnly))
            kept.write(stamp());
    }

    QString mName;
    qint64 mContacts;
    quint32 mSeed;
    Finish mFinish;
    QString mPassword;
};

// Times of one side and its reference, repetition by repetition.
class PairedTimes {
  public:
    // Runs side and reference once each, in an order that alternates between calls, and
    // keeps both times. A callable that returns a double times itself (seconds), for work
    // with set-up of its own that is not to be timed. Returns the side's time.
    template <class Side, class Reference> double time(Side &&side, Reference &&reference)
    {
        double s = 0, r = 0;
        const bool sideFirst = mSide.size() % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == sideFirst)
                s = run(side);
            else
                r = run(reference);
        }
        add(s, r);
        return s;
    }
    void add(double side, double reference)
    {
        mSide.push_back(side);
        mReference.push_back(reference);
    }

    // Counters: prefix + "ratio" (median of the per-repetition ratios), its spread as the
    // quartiles "ratio_q1" and "ratio_q3" (a single preempted repetition of a few
    // microseconds would make the extremes meaningless), and the median times of both
    // sides in the given unit.
    void report(benchmark::State &state, const char *unit = "ms", const std::string &prefix = "") const
    {
        if (mSide.empty())
            return;
        std::vector<double> ratios;
        for (std::size_t i = 0; i < mSide.size(); ++i)
            ratios.push_back(mReference[i] > 0 ? mSide[i] / mReference[i] : 0);
        const double scale = std::string(unit) == "us" ? 1e6 : std::string(unit) == "s" ? 1 : 1e3;
        state.counters[prefix + "ratio"] = quantile(ratios, 0.5);
        state.counters[prefix + "ratio_q1"] = quantile(ratios, 0.25);
        state.counters[prefix + "ratio_q3"] = quantile(ratios, 0.75);
        state.counters[prefix + "side_" + unit] = median(mSide) * scale;
        state.counters[prefix + "ref_" + unit] = median(mReference) * scale;
    }

    static double median(std::vector<double> values) { return quantile(std::move(values), 0.5); }

    // Linear interpolation between the nearest ranks.
    static double quantile(std::vector<double> values, double q)
    {
        if (values.empty())
            return 0;
        std::sort(values.begin(), values.end());
        const double at = q * double(values.size() - 1);
        const std::size_t below = std::size_t(at);
        const std::size_t above = std::min(below + 1, values.size() - 1);
        return values[below] + (values[above] - values[below]) * (at - double(below));
    }

  private:
    template <class Work> static double run(Work &work)
    {
        const auto start = Clock::now();
        if constexpr (std::is_same_v<std::invoke_result_t<Work &>, double>) {
            return work();
        } else {
            work();
            return seconds(start);
        }
    }

    std::vector<double> mSide, mReference;
};

// The main of every benchmark program: an application (offscreen unless told otherwise),
// the declared databases made first, in a process that then starts afresh.
inline int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // With no TZ the C library reads the zone file again for every date it converts.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime");
    if (KeptDatabase::makeMissing()) {
        std::fprintf(stderr, "databases made; timing in a fresh process\n");
        std::fflush(nullptr);
        execv("/proc/self/exe", argv);
        std::perror("restarting the benchmark");
        return 1;
    }
    QApplication app(argc, argv);
    platform::useDesignFonts();
    app.setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
