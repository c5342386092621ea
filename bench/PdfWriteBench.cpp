// Writing the recorded pages of a long list to a PDF file: the full-size address book of
// 10,000 contacts (and, once, of 100,000), laid out on the print surface before timing,
// written by the program's PDF output against a plain QPdfWriter + QPainter loop that
// draws the same text runs, in the same fonts, at the same places on pages of the same
// size. The two sides alternate within one run; both files' sizes are reported so that
// the work can be seen to be the same.
#include "BenchSupport.h"

#include "addressbooks/AddressBooks.h"
#include "printing/DataControlRecords.h"
#include "printing/PdfDestination.h"
#include "printing/PrintModeSwitch.h"
#include "printing/frmPreview.h"

#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/print/FontTextMetrics.h"
#include "platform/print/PrintOutput.h"
#include "platform/print/PrintSurface.h"
#include "start/modMain.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <optional>

using namespace platform;

namespace {

const bench::KeptDatabase Books("books", 10000, 7);
const bench::KeptDatabase Contacts100k("contacts", 100000);
const QString Source = QStringLiteral("Select * From tblContacts Order By LastName, FirstName");

// The full-size book of every contact, as the preview holds it.
PrintDocument fullSizeBook(const QString &database)
{
    gDb = Database::open(database);
    PrintDocument document;
    {
        DataControl Data1;
        Data1.setDatabase(gDb.get());
        Data1.setRecordSource(Source);
        Data1.refresh();
        DataControlRecords records(Data1);
        PreviewSurface().setPreview(true);
        PrintFullSizeAddressBook(records, {QStringLiteral("All contacts"), Source, true});
        document = PreviewSurface().document();
        UnloadPreview();
    }
    gDb.reset();
    return document;
}

// The plain loop: one painter, the run's font set when it changes, each text drawn on
// its baseline.
void writePlainly(const PrintDocument &document, const QString &path)
{
    QPdfWriter writer(path);
    writer.setTitle(document.name);
    writer.setCreator(QStringLiteral("Quiltern"));
    const QPageSize size(QSizeF(document.paperSize.width() / 20.0, document.paperSize.height() / 20.0),
                         QPageSize::Point);
    writer.setPageLayout(QPageLayout(
        size, document.orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&writer);
    const double perTwip = writer.logicalDpiX() / 1440.0;
    const FontTextMetrics &metrics = FontTextMetrics::instance();
    std::optional<PrintFont> current;
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0)
            writer.newPage();
        for (const PrintRun &run : document.pages[std::size_t(i)]) {
            if (!current || !(*current == run.font)) {
                QFont font(FontTextMetrics::resolvedFamily(run.font.name));
                font.setPointSizeF(run.font.size);
                font.setBold(run.font.bold);
                font.setItalic(run.font.italic);
                painter.setFont(font);
                current = run.font;
            }
            painter.drawText(QPointF(run.x * perTwip, (run.y + metrics.ascent(run.font)) * perTwip), run.text);
        }
    }
}

void compare(benchmark::State &state, const PrintDocument &document)
{
    // The progress window and its events as the program has them.
    InstallPdfDestination();
    QTemporaryDir dir;
    const QString side = dir.filePath(QStringLiteral("side.pdf"));
    const QString reference = dir.filePath(QStringLiteral("reference.pdf"));
    bench::PairedTimes times;
    for (auto _ : state)
        state.SetIterationTime(
            times.time([&] { PrintOutput::writePdf(document, side); }, [&] { writePlainly(document, reference); }));
    times.report(state, "s");
    state.counters["pages"] = document.pageCount();
    state.counters["side_kib"] = double(QFileInfo(side).size()) / 1024.0;
    state.counters["ref_kib"] = double(QFileInfo(reference).size()) / 1024.0;
}

void WriteFullSizeBookPdf(benchmark::State &state)
{
    compare(state, fullSizeBook(Books.ready()));
}

void WriteFullSizeBookPdf100k(benchmark::State &state)
{
    compare(state, fullSizeBook(Contacts100k.ready()));
}

} // namespace

BENCHMARK(WriteFullSizeBookPdf)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteFullSizeBookPdf100k)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}
