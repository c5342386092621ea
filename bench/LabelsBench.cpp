// Mailing labels on the 3-up sheet for 10,000 contacts: laid out on the print surface from
// the record set, against walking the same record set reading the fields a label reads,
// timed in turn; and the document rendered to PDF, per 1,000 labels.
#include "BenchSupport.h"
#include "ReportWalk.h"

#include "printing/DataControlRecords.h"
#include "printing/MailingLabels.h"
#include "printing/frmPreview.h"

#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/print/PrintOutput.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/DialogSeam.h"
#include "start/modMain.h"

#include <QFileInfo>
#include <QTemporaryDir>

using namespace platform;

namespace {

constexpr qint64 Contacts = 10000;
const bench::KeptDatabase LabelContacts("labels", Contacts, 7);
const QString Source = QStringLiteral("Select * From tblContacts Order By LastName, FirstName");

const QStringList LabelFields = [] {
    QStringList fields{"Prefix", "FirstName",    "MiddleName",      "LastName",
                       "Suffix", "Organization", "AddressForLabels"};
    for (const char *f :
         {"Address_Desc", "Address1", "Address2", "Address3", "City", "State", "PostalCode", "Country"})
        fields << QStringLiteral("First_") + QLatin1String(f);
    return fields;
}();

struct Fixture {
    DataControl Data1;
    Fixture()
    {
        gDb = Database::open(LabelContacts.ready());
        Data1.setDatabase(gDb.get());
        Data1.setRecordSource(Source);
        Data1.refresh();
        PreviewSurface().setPreview(true);
        // The copies question answered with one copy.
        setDialogHookForTesting([](const DialogRequest &) {
            DialogAnswer answer;
            answer.text = QStringLiteral("1");
            answer.accepted = true;
            answer.result = 1;
            return answer;
        });
    }
    ~Fixture()
    {
        setDialogHookForTesting({});
        Data1.clear();
        gDb.reset();
    }
};

void LayOutThreeUpLabels(benchmark::State &state)
{
    Fixture f;
    DataControlRecords records(f.Data1);
    bench::PairedTimes times;
    for (auto _ : state)
        state.SetIterationTime(
            times.time([&] { Labels3upMenu_Click(records, 0); }, [&] { walkFields(records, LabelFields); }));
    times.report(state);
    state.counters["pages"] = PreviewSurface().pageCount();
}

void RenderThreeUpLabelsToPdf(benchmark::State &state)
{
    Fixture f;
    DataControlRecords records(f.Data1);
    Labels3upMenu_Click(records, 0);
    const PrintDocument document = PreviewSurface().document();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("labels.pdf"));
    for (auto _ : state)
        PrintOutput::writePdf(document, path);
    state.counters["time_per_1000_labels"] =
        benchmark::Counter(double(Contacts) / 1000.0,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["pages"] = document.pageCount();
}

} // namespace

BENCHMARK(LayOutThreeUpLabels)->UseManualTime()->Iterations(7)->Unit(benchmark::kMillisecond);
BENCHMARK(RenderThreeUpLabelsToPdf)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
