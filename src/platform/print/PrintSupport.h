#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPageLayout;
class QPageSize;
class QPagedPaintDevice;
class QPrinter;
class QPrinterInfo;

namespace platform {

struct DialogAnswer;
struct DialogRequest;

// Printers, their dialogs and the system's printer list live in a library of their own
// beside the program, loaded the first time something is printed or a printer is chosen:
// a start-up that prints nothing never pays for them. Everything else passes printers
// around as opaque QPrinter pointers and reaches them only through this table.
struct PrintSupportApi {
    // Raised whenever the table changes shape, so an old library beside a new program is
    // refused instead of called wrongly.
    static constexpr int CurrentVersion = 2;
    int version;

    // Tests decide which printer there is and, with `paper`, the paper it holds; empty
    // functions restore the system's.
    void (*setPrinterLookup)(std::function<QPrinterInfo()> lookup, std::function<QPageSize()> paper);
    // The printer documents go to unless one was chosen: its name, or none.
    std::optional<QString> (*defaultPrinterName)();
    // The paper that printer holds; an invalid size when there is none or it names none.
    QPageSize (*defaultPaper)();

    // A printer at high resolution, made from the default printer when there is one.
    QPrinter *(*newPrinter)();
    void (*deletePrinter)(QPrinter *printer);
    QPagedPaintDevice *(*paintDevice)(QPrinter *printer);
    // Names the job and puts the whole page, as laid out, under the document's origin.
    void (*preparePrinter)(QPrinter *printer, const QString &docName, const QPageLayout &layout);
    QString (*printerName)(const QPrinter *printer);
    // The file the printer prints into, when the user chose one instead of paper.
    QString (*outputFileName)(const QPrinter *printer);
    QPageLayout (*pageLayout)(const QPrinter *printer);
    // Once a job's last page is painted: nothing when the printer and the print system took
    // it, else why they did not (empty when they gave no reason).
    std::optional<QString> (*jobRefusal)(const QPrinter *printer);

    // Shows the print dialog or the printer setup for request.printer (a printer of the
    // library's own when there is none) and waits for the user.
    DialogAnswer (*runPrintDialog)(const DialogRequest &request);
};

// The library's one entry point, by this name.
inline constexpr char PrintSupportEntryPoint[] = "quiltern_printsupport_api";

// Loads the library from the first of `folders` that holds it. A library that is missing,
// broken or of another version raises RuntimeError (PrintOutput::PrinterError) saying so.
const PrintSupportApi &loadPrintSupport(const QStringList &folders);

// The program's copy: loaded once, from the program's folder or else the build tree's.
const PrintSupportApi &printSupport();
bool printSupportLoaded();
// Where printSupport() looks, in order.
QStringList printSupportFolders();
// Tests make printSupport() load anew from other folders; an empty list restores the
// program's own. Printers made before keep the library that made them.
void setPrintSupportFoldersForTesting(const QStringList &folders);

} // namespace platform
