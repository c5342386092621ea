// The two-line condensed list and the phone list over 10,000 generated contacts: each
// laid out on the print surface from the record set, against walking the same record
// set reading the fields that list reads; and the condensed list rendered to PDF.
// Times are also given per 1,000 contacts.
#include "BenchSupport.h"
#include "ReportWalk.h"

#include "printing/CondensedLists.h"
#include "printing/DataControlRecords.h"
#include "printing/PhoneListReports.h"
#include "printing/frmPreview.h"

#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/print/PrintOutput.h"
#include "platform/print/PrintSurface.h"

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

using namespace platform;

namespace {

using Clock = std::chrono::steady_clock;

constexpr qint64 Contacts = 10000;
const QString Source = QStringLiteral("Select * From tblContacts Order By LastName, FirstName");

const bench::KeptDatabase Condensed("condensed", Contacts, 7);

// What the list reads of every record, whether it prints it or not.
const QStringList ListFields = [] {
    QStringList fields{"Prefix",         "FirstName",        "MiddleName",       "LastName",
                       "Suffix",         "Organization",     "AddressForLabels", "First_Address_Desc",
                       "First_Address1", "First_Address2",   "First_Address3",   "First_City",
                       "First_State",    "First_PostalCode", "First_Country",    "Email_Address"};
    for (int n = 1; n <= 6; ++n)
        fields << QStringLiteral("Phone%1").arg(n) << QStringLiteral("Phone%1_Desc").arg(n);
    return fields;
}();

// What the phone list reads of every record.
const QStringList PhoneListFields = [] {
    QStringList fields{"Prefix", "FirstName", "MiddleName", "LastName", "Suffix", "Organization"};
    for (int n = 1; n <= 6; ++n)
        fields << QStringLiteral("Phone%1").arg(n) << QStringLiteral("Phone%1_Desc").arg(n);
    return fields;
}();

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

struct Fixture {
    std::unique_ptr<Database> db;
    DataControl Data1;

    Fixture()
    {
        db = Database::open(Condensed.ready());
        Data1.setDatabase(db.get());
        Data1.setRecordSource(Source);
        Data1.refresh();
        // A report that went to the printer would print: the list goes to the preview.
        PreviewSurface().setPreview(true);
    }
};

void per1000(benchmark::State &state, const char *name, double total)
{
    state.counters[name] = total * 1000.0 / double(state.iterations()) / (double(Contacts) / 1000.0);
}

// A list's layout against the walk reading the same fields, timed in turn.
void layOutAgainstWalk(benchmark::State &state, void (*report)(DisplayedRecords &, const QString &),
                       const QStringList &fields)
{
    Fixture f;
    DataControlRecords records(f.Data1);
    bench::PairedTimes times;
    int pages = 0;
    for (auto _ : state) {
        state.SetIterationTime(times.time([&] { report(records, QStringLiteral("All contacts")); },
                                          [&] { walkFields(records, fields); }));
        pages = PreviewSurface().pageCount();
    }
    times.report(state);
    state.counters["pages"] = pages;
}

void LayOutTwoLineList(benchmark::State &state)
{
    layOutAgainstWalk(state, &PrintCondensedList, ListFields);
}

void LayOutPhoneList(benchmark::State &state)
{
    layOutAgainstWalk(state, &PrintPhoneList, PhoneListFields);
}

void RenderTwoLineListToPdf(benchmark::State &state)
{
    Fixture f;
    DataControlRecords records(f.Data1);
    PrintCondensedList(records, QStringLiteral("All contacts"));
    const PrintDocument document = PreviewSurface().document();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("condensed.pdf"));
    double total = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        PrintOutput::writePdf(document, path);
        auto t1 = Clock::now();
        total += seconds(t1 - t0);
        state.SetIterationTime(seconds(t1 - t0));
    }
    per1000(state, "pdf_ms_per_1000", total);
    state.counters["pages"] = document.pageCount();
    state.counters["pdf_kb"] = double(QFileInfo(path).size()) / 1024.0;
}

} // namespace

BENCHMARK(LayOutTwoLineList)->UseManualTime()->Iterations(7)->Unit(benchmark::kMillisecond);
BENCHMARK(LayOutPhoneList)->UseManualTime()->Iterations(7)->Unit(benchmark::kMillisecond);
BENCHMARK(RenderTwoLineListToPdf)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
