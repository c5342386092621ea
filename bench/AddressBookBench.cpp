// The full-size address book and the pocket address book over 10,000 generated contacts,
// each laid out on the print surface from the record set, against walking the same
// record set reading the fields that book reads. The two sides alternate within one
// run. The pocket book's counters also give the memory its panels and imposition hold.
#include "BenchSupport.h"
#include "ReportWalk.h"

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

using namespace platform;

namespace {

constexpr qint64 Contacts = 10000;
const bench::KeptDatabase Books("books", Contacts, 7);
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

struct Fixture {
    DataControl Data1;

    Fixture()
    {
        gDb = Database::open(Books.ready());
        Data1.setDatabase(gDb.get());
        Data1.setRecordSource(Source);
        Data1.refresh();
        // A book that went to the printer would print: the books go to the preview.
        PreviewSurface().setPreview(true);
    }
    ~Fixture() { gDb.reset(); }
};

// A book's layout against the walk reading the same fields, timed in turn.
void compare(benchmark::State &state, const std::function<void(DisplayedRecords &)> &layout,
             const QStringList &fields)
{
    Fixture f;
    DataControlRecords records(f.Data1);
    bench::PairedTimes times;
    for (auto _ : state)
        state.SetIterationTime(times.time([&] { layout(records); }, [&] { walkFields(records, fields); }));
    times.report(state);
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
    return bench::main(argc, argv);
}
