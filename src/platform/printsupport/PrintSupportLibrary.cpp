// The printing library: the only code that talks to Qt's printers and print dialogs.
// The program loads it on first use (platform/print/PrintSupport.h) and calls it only
// through the table at the bottom.

#include "platform/print/PrintSupport.h"
#include "platform/ui/DialogSeam.h"
#include "platform/ui/DialogWindows.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include <algorithm>
#include <cups/cups.h>

namespace platform {

namespace {
std::function<QPrinterInfo()> &printerLookup()
{
    static std::function<QPrinterInfo()> lookup;
    return lookup;
}

std::function<QPageSize()> &paperLookup()
{
    static std::function<QPageSize()> lookup;
    return lookup;
}

QPrinterInfo currentPrinter()
{
    return printerLookup() ? printerLookup()() : QPrinterInfo::defaultPrinter();
}

void setPrinterLookup(std::function<QPrinterInfo()> lookup, std::function<QPageSize()> paper)
{
    printerLookup() = std::move(lookup);
    paperLookup() = std::move(paper);
}

std::optional<QString> defaultPrinterName()
{
    const QPrinterInfo info = currentPrinter();
    if (info.isNull())
        return std::nullopt;
    return info.printerName();
}

QPageSize defaultPaper()
{
    return paperLookup() ? paperLookup()() : currentPrinter().defaultPageSize();
}

QPrinter *newPrinter()
{
    const QPrinterInfo info = currentPrinter();
    return info.isNull() ? new QPrinter(QPrinter::HighResolution) : new QPrinter(info, QPrinter::HighResolution);
}

void deletePrinter(QPrinter *printer)
{
    delete printer;
}

QPagedPaintDevice *paintDevice(QPrinter *printer)
{
    return printer;
}

void preparePrinter(QPrinter *printer, const QString &docName, const QPageLayout &layout)
{
    printer->setDocName(docName);
    printer->setFullPage(true);
    printer->setPageLayout(layout);
}

QString printerName(const QPrinter *printer)
{
    return printer->printerName();
}

QString outputFileName(const QPrinter *printer)
{
    return printer->outputFileName();
}

QPageLayout pageLayout(const QPrinter *printer)
{
    return printer->pageLayout();
}

std::optional<QString> jobRefusal(const QPrinter *printer)
{
    if (printer->printerState() == QPrinter::Error)
        return QString();
    // Qt hands the finished job to the print system and keeps no word of its answer: a queue
    // that rejects jobs leaves the printer as content as one that took it. The system's last
    // answer on this thread is that one.
    if (printer->outputFormat() == QPrinter::NativeFormat && !printer->printerName().isEmpty() &&
        cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE)
        return QString::fromUtf8(cupsLastErrorString());
    return std::nullopt;
}

DialogAnswer runPrintDialog(const DialogRequest &request)
{
    static QPrinter defaultPrinter;
    QPrinter &printer = request.printer ? *request.printer : defaultPrinter;
    const std::unique_ptr<QPrintDialog> dialog = makePrintDialog(request, printer);
    DialogAnswer answer;
    answer.accepted = dialog->exec() == QDialog::Accepted;
    if (answer.accepted && request.kind == DialogKind::Print && printer.printRange() == QPrinter::PageRange) {
        answer.fromPage = printer.fromPage();
        answer.toPage = printer.toPage();
    }
    return answer;
}

const PrintSupportApi api = {
    PrintSupportApi::CurrentVersion,
    &setPrinterLookup,
    &defaultPrinterName,
    &defaultPaper,
    &newPrinter,
    &deletePrinter,
    &paintDevice,
    &preparePrinter,
    &printerName,
    &outputFileName,
    &pageLayout,
    &jobRefusal,
    &runPrintDialog,
};
} // namespace

std::unique_ptr<QPrintDialog> makePrintDialog(const DialogRequest &request, QPrinter &printer)
{
    // The file printer proposes the file the program proposes, one that replaces nothing;
    // the dialog asks before the user's own choice replaces a file.
    if (request.kind == DialogKind::Print && !request.fileName.isEmpty() &&
        printer.outputFormat() == QPrinter::PdfFormat)
        printer.setOutputFileName(request.fileName);
    auto dialog = std::make_unique<QPrintDialog>(&printer, QApplication::activeWindow());
    dialog->setWindowTitle(request.title);
    if (request.kind == DialogKind::Print) {
        // Print offers the pages of the document; setup chooses only printer and paper.
        dialog->setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                           QAbstractPrintDialog::PrintShowPageSize);
        dialog->setMinMax(1, std::max(1, request.maxPage));
        printer.setPrintRange(QPrinter::AllPages);
        printer.setFromTo(0, 0);
    } else {
        dialog->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
        // Setup only keeps the choice; a button reading "Print" would promise a printout.
        if (auto *buttons = dialog->findChild<QDialogButtonBox *>()) {
            if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
                ok->setText(QStringLiteral("OK"));
        }
    }
    return dialog;
}

} // namespace platform

extern "C" Q_DECL_EXPORT const platform::PrintSupportApi *quiltern_printsupport_api()
{
    return &platform::api;
}
