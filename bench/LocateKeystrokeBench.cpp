// One keystroke in the main window's locate box on 100,000 contacts, against plain SQLite
// finding the same first row through the last-name index. The window is the real one,
// offscreen: the key is released into the locate box, which searches, moves the list and
// refreshes the grid and the detail boxes. The reference prepares, binds and steps the
// indexed query the way a program asking SQLite afresh for each key would. Each iteration
// times both and reports locate/reference as the counter "ratio".
#include "MainWindowBench.h"
#include "app/modMain.h"
#include "mainwindow/NameList.h"
#include "mainwindow/RecordSource.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/TextCollation.h"
#include "platform/ui/ProgramFolder.h"

#include <sqlcipher/sqlite3.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

using bench::Clock;
using bench::seconds;

// Texts typed in turn, so that every keystroke moves the list somewhere else.
const char *const Typed[] = {"Smi", "Mor", "O'B", "Zha", "Bro", "Kow", "Åbe", "Nguy", "Tay", "Dup"};

// Plain SQLite: the first contact, in the list's order, whose last name begins with the
// text, found through the index on (LastName, FirstName).
qint64 referenceLookup(sqlite3 *db, const QByteArray &prefix)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT RecordID FROM tblContacts WHERE LastName >= ?1 AND LastName LIKE ?1 || '%' "
                       "ORDER BY LastName, FirstName LIMIT 1",
                       -1, &stmt, nullptr);
    sqlite3_bind_text(stmt, 1, prefix.constData(), int(prefix.size()), SQLITE_STATIC);
    const qint64 id = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    return id;
}

NameList &startWindow(const QString &path, QTemporaryDir &folder)
{
    bench::prepareStart(path, folder.path());
    if (Main() != MainOutcome::MainWindowShown)
        std::abort();
    QCoreApplication::processEvents();
    return *NameList::loadedInstance();
}

void OneLocateKeystroke(benchmark::State &state)
{
    const QString path = bench::databaseWith("locate", state.range(0));
    QTemporaryDir folder;
    NameList &window = startWindow(path, folder);
    window.txtLocate->setFocus();

    sqlite3 *reference = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &reference, SQLITE_OPEN_READONLY, nullptr);
    // The text columns and their indexes are declared in the program's own order.
    platform::registerTextCollation(reference);

    double ours = 0, plain = 0, find = 0;
    std::unique_ptr<platform::Recordset> unbound = gDb->openRecordset(window.Data1->recordSource());
    unbound->findFirst(QStringLiteral("LastName like \"A*\""));
    int n = 0;
    for (auto _ : state) {
        const QString text = QString::fromUtf8(Typed[n++ % std::size(Typed)]);
        const QByteArray utf8 = text.toUtf8();

        auto start = Clock::now();
        const qint64 expected = referenceLookup(reference, utf8);
        const double p = seconds(start);

        window.txtLocate->setText(text);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        start = Clock::now();
        QApplication::sendEvent(window.txtLocate, &release);
        const double o = seconds(start);

        const qint64 found = window.Data1->recordset()->value(QStringLiteral("RecordID")).toLongLong();
        if (found != expected) {
            std::fprintf(stderr, "locate of %s found %lld, SQLite %lld\n", utf8.constData(),
                         static_cast<long long>(found), static_cast<long long>(expected));
            std::abort();
        }
        // The search alone, on a record set of the same list that no window shows.
        start = Clock::now();
        unbound->findFirst(QStringLiteral("LastName like \"") + text + QStringLiteral("*\""));
        find += seconds(start);

        ours += o;
        plain += p;
        state.SetIterationTime(o);
    }
    state.counters["locate_us"] = ours * 1e6 / double(state.iterations());
    state.counters["sqlite_us"] = plain * 1e6 / double(state.iterations());
    state.counters["ratio"] = plain > 0 ? ours / plain : 0;
    state.counters["find_us"] = find * 1e6 / double(state.iterations());
    state.counters["search_ratio"] = plain > 0 ? find / plain : 0;
    // The detail boxes refilled for the current contact, as every move does.
    {
        const auto t = Clock::now();
        for (int i = 0; i < 200; ++i)
            window.Table1_RowColChange(-1, -1);
        state.counters["boxes_us"] = seconds(t) * 1e6 / 200;
    }

    unbound.reset();
    sqlite3_close(reference);
    bench::stopProgram(window);
}

// The record set's search alone, repeated, for profiling.
void FindFirstAlone(benchmark::State &state)
{
    const QString path = bench::databaseWith("locate", state.range(0));
    auto db = platform::Database::open(path);
    auto rs = db->openRecordset(QStringLiteral("Select * from  tblContacts Order By LastName, FirstName "));
    int n = 0;
    for (auto _ : state)
        rs->findFirst(QStringLiteral("LastName like \"") + QString::fromUtf8(Typed[n++ % std::size(Typed)]) +
                      QStringLiteral("*\""));
}

} // namespace

BENCHMARK(FindFirstAlone)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(OneLocateKeystroke)->Arg(100000)->UseManualTime()->Iterations(200)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return bench::runWithWindows(argc, argv);
}
