// The full-size address book and the pocket address book over 10,000 generated contacts,
// each laid out on the print surface from the record set, against walking the same
// record set reading the fields that book reads. The two sides alternate within one
// run. The pocket book's counters also give the memory its panels and imposition hold.
#include "../tests/support/ContactGenerator.h"
#include "addressbooks/AddressBooks.h"
#include "addressbooks/BookletImposition.h"
#include "addressbooks/PocketBook.h"
#include "addressbooks/PocketPanels.h"
#include "printing/DataControlRecords.h"
#include "printing/frmPreview.h"

#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/print/PrintSurface.h"
#include "start/modMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>

using namespace platform;

namespace {

using Clock = std::chrono::steady_clock;

constexpr qint64 Contacts = 10000;
const QString Source = QStringLiteral("Select * From tblContacts Order By LastName, FirstName");

QStringList fieldsOf(std::initializer_list<const char *> names, bool phones, int dates, int userFields,
                     bool addressLabels)
{
    QStringList fields;
    for (const char *name : names)
        fields << QLatin1String(name);
    for (const char *set : {"First_", "Second_"}) {
        for (const char *f : {"Address1", "Address2", "Address3", "City", "State", "PostalCode", "Country"})
            fields << QLatin1String(set) + QLatin1String(f);
        if (addressLabels)
            fields << QLatin1String(set) + QLatin1String("Address_Desc");
    }
    for (int n = 1; phones && n <= 6; ++n)
        fields << QStringLiteral("Phone%1").arg(n) << QStringLiteral("Phone%1_Desc").arg(n);
    for (int n = 1; n <= dates; ++n)
        fields << QStringLiteral("Date%1").arg(n) << QStringLiteral("Date%1_Desc").arg(n);
    for (int n = 1; n <= userFields; ++n)
        fields << QStringLiteral("UserField%1").arg(n) << QStringLiteral("UserField%1_Desc").arg(n);
    return fields;
}

// What each book reads of every record, whether it prints it or not.
const QStringList FullSizeFields =
    fieldsOf({"Prefix", "FirstName", "MiddleName", "LastName", "Suffix", "Organization", "AddressForLabels",
              "Email_Address", "Code", "Notes", "PrintNotes"},
             true, 5, 3, true);
const QStringList PocketFields = fieldsOf({"Prefix", "FirstName", "MiddleName", "LastName", "Suffix",
                                           "Organization", "Email_Address", "Notes", "PrintNotes"},
                                          true, 0, 0, false);

void walk(DisplayedRecords &records, const QStringList &fields)
{
    qint64 seen = 0;
    records.markPosition();
    records.moveFirst();
    while (!records.eof()) {
        for (const QString &field : fields)
            seen += records.value(field).isNull() ? 0 : 1;
        records.moveNext();
    }
    records.returnToMark();
    benchmark::DoNotOptimize(seen);
}

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

struct Fixture {
    DataControl Data1;

    Fixture()
    {
        gDb = Database::open(ContactGenerator::keptDatabase(QStringLiteral("books-%1").arg(Contacts), Contacts, 7));
        Data1.setDatabase(gDb.get());
        Data1.setRecordSource(Source);
        Data1.refresh();
        // A book that went to the printer would print: the books go to the preview.
        PreviewSurface().setPreview(true);
    }
    ~Fixture() { gDb.reset(); }
};

void per1000(benchmark::State &state, const char *name, double total)
{
    state.counters[name] = total * 1000.0 / double(state.iterations()) / (double(Contacts) / 1000.0);
}

void compare(benchmark::State &state, const std::function<void(DisplayedRecords &)> &layout,
             const QStringList &fields)
{
    Fixture f;
    DataControlRecords records(f.Data1);
    double laidOut = 0, walked = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        layout(records);
        auto t1 = Clock::now();
        walk(records, fields);
        auto t2 = Clock::now();
        laidOut += seconds(t1 - t0);
        walked += seconds(t2 - t1);
        state.SetIterationTime(seconds(t1 - t0));
    }
    per1000(state, "layout_ms_per_1000", laidOut);
    per1000(state, "walk_fields_ms_per_1000", walked);
    state.counters["ratio"] = walked > 0 ? laidOut / walked : 0;
    state.counters["pages"] = PreviewSurface().pageCount();
}

void FullSizeBook(benchmark::State &state)
{
    compare(
        state,
        [](DisplayedRecords &records) {
            PrintFullSizeAddressBook(records, {QStringLiteral("All contacts"), Source, true});
        },
        FullSizeFields);
}

void PocketBook(benchmark::State &state)
{
    compare(
        state, [](DisplayedRecords &records) { PrintPocketReport(records, QStringLiteral("All contacts"), false); },
        PocketFields);

    // What pass 1 and the imposition hold at their largest, measured on their own.
    Fixture f;
    DataControlRecords records(f.Data1);
    PrintSurface &vp = PreviewSurface();
    vp.setFontName(QStringLiteral("Arial"));
    vp.setFontSize(8);
    const PocketPanels panels =
        LayOutPocketPanels(records, PocketLayout(vp, false), PocketPanelDepth(vp.textHeight(QStringLiteral("X"))),
                           QStringLiteral("All contacts"));
    const BookletImposition booklet = ImposeBooklet(panels.panelCount());
    state.counters["panels"] = panels.panelCount();
    state.counters["pass1_kib"] = double(panels.memoryBytes()) / 1024.0;
    state.counters["imposition_kib"] =
        double((booklet.side1.capacity() + booklet.side2.capacity()) * sizeof(PanelRow)) / 1024.0;
}

} // namespace

BENCHMARK(FullSizeBook)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(PocketBook)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
