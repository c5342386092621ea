#include "platform/print/PrintOutput.h"

#include "platform/RuntimeError.h"
#include "platform/print/PageRenderer.h"
#include "platform/print/PrintSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <memory>

namespace platform {

namespace {
PrintOutput::PdfPathChooser &pdfPathChooser()
{
    static PrintOutput::PdfPathChooser chooser;
    return chooser;
}

// A printer goes back to the library that made it.
struct PrinterDeleter {
    const PrintSupportApi *support = nullptr;
    void operator()(QPrinter *printer) const { support->deletePrinter(printer); }
};
using PrinterHandle = std::unique_ptr<QPrinter, PrinterDeleter>;

PrinterHandle newPrinter(const PrintSupportApi &support)
{
    return PrinterHandle(support.newPrinter(), PrinterDeleter{&support});
}

PrinterHandle &sessionPrinter()
{
    static PrinterHandle printer;
    return printer;
}

bool &sessionPrinterChosen()
{
    static bool chosen = false;
    return chosen;
}

// The default printer's name; none when no printer is installed.
std::optional<QString> currentPrinter()
{
    return printSupport().defaultPrinterName();
}

QPageLayout layoutFor(const PrintDocument &document)
{
    // Points are twentieths of twips; the page size is matched to a standard one
    // (Letter) when it is one.
    const QPageSize size(QSizeF(document.paperSize.width() / 20.0, document.paperSize.height() / 20.0),
                         QPageSize::Point);
    return QPageLayout(size, document.orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}
} // namespace

void PrintOutput::setPdfPathChooser(PdfPathChooser chooser)
{
    pdfPathChooser() = std::move(chooser);
}

void PrintOutput::setPrinterLookupForTesting(std::function<QPrinterInfo()> lookup)
{
    printSupport().setPrinterLookup(std::move(lookup));
}

QPrinter &PrintOutput::chosenPrinter()
{
    if (!sessionPrinter())
        sessionPrinter() = newPrinter(printSupport());
    return *sessionPrinter();
}

void PrintOutput::choosePrinter()
{
    chosenPrinter();
    sessionPrinterChosen() = true;
}

bool PrintOutput::printerChosen()
{
    return sessionPrinterChosen();
}

QSizeF PrintOutput::paperTwips()
{
    if (!printerChosen())
        return {PrintDocument::LetterWidth, PrintDocument::LetterHeight};
    // Millimetres keep the exact size; points are rounded to whole ones.
    const QSizeF mm = printSupport().pageLayout(&chosenPrinter()).pageSize().size(QPageSize::Millimeter);
    const double twipsPerMm = 1440.0 / 25.4;
    return {std::min(mm.width(), mm.height()) * twipsPerMm, std::max(mm.width(), mm.height()) * twipsPerMm};
}

void PrintOutput::forgetChosenPrinterForTesting()
{
    sessionPrinter().reset();
    sessionPrinterChosen() = false;
}

void PrintOutput::paint(const PrintDocument &document, QPagedPaintDevice &device, const QString &failure,
                        int errorNumber, int fromPage, int toPage)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw RuntimeError(errorNumber, failure);
    const QSizeF page = document.pageSize();
    const QRectF target(0, 0, page.width() * device.logicalDpiX() / 1440.0,
                        page.height() * device.logicalDpiY() / 1440.0);
    const int first = fromPage > 0 ? std::min(fromPage, document.pageCount()) - 1 : 0;
    const int last = toPage > 0 ? std::min(toPage, document.pageCount()) - 1 : document.pageCount() - 1;
    for (int i = first; i <= last; ++i) {
        if (i > first && !device.newPage()) {
            painter.end();
            throw RuntimeError(errorNumber, failure);
        }
        PageRenderer::render(painter, document, i, target);
    }
    if (!painter.end())
        throw RuntimeError(errorNumber, failure);
}

void PrintOutput::writePdf(const PrintDocument &document, const QString &path, int fromPage, int toPage)
{
    const QString failure =
        QStringLiteral("The document could not be written to \"%1\".").arg(QDir::toNativeSeparators(path));
    if (!QFileInfo(path).absoluteDir().exists())
        throw RuntimeError(err::PathNotFound, failure);
    QPdfWriter writer(path);
    writer.setTitle(document.name);
    writer.setCreator(QStringLiteral("Quiltern"));
    writer.setPageLayout(layoutFor(document));
    paint(document, writer, failure, PathFileAccessError, fromPage, toPage);
}

// A choice of a file, or of a printer while there is one, is where documents go.
bool PrintOutput::chosenPrinterUsable()
{
    return printerChosen() &&
           (!printSupport().outputFileName(&chosenPrinter()).isEmpty() || currentPrinter().has_value());
}

std::optional<QString> PrintOutput::askDestination(const QString &documentName)
{
    if (chosenPrinterUsable() || currentPrinter())
        return QString();
    if (!pdfPathChooser())
        throw RuntimeError(PrinterError, QStringLiteral("No printer is installed."));
    const QString path = pdfPathChooser()(documentName);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void PrintOutput::sendTo(const PrintDocument &document, const QString &pdfPath)
{
    if (pdfPath.isEmpty())
        sendToPrinter(document);
    else
        writePdf(document, pdfPath);
}

void PrintOutput::sendToPrinter(const PrintDocument &document, int fromPage, int toPage)
{
    const PrintSupportApi &support = printSupport();
    PrinterHandle ownPrinter;
    QPrinter *printer = nullptr;
    QString name;
    if (chosenPrinterUsable()) {
        printer = &chosenPrinter();
        const QString file = support.outputFileName(printer);
        name = file.isEmpty() ? support.printerName(printer) : QDir::toNativeSeparators(file);
    } else {
        const std::optional<QString> printerName = currentPrinter();
        if (!printerName) {
            const std::optional<QString> path = askDestination(document.name);
            if (path)
                writePdf(document, *path, fromPage, toPage);
            return;
        }
        ownPrinter = newPrinter(support);
        printer = ownPrinter.get();
        name = *printerName;
    }
    support.preparePrinter(printer, document.name, layoutFor(document));
    const QString failure = QStringLiteral("The document could not be printed on \"%1\".").arg(name);
    paint(document, *support.paintDevice(printer), failure, PrinterError, fromPage, toPage);
    if (support.printerFailed(printer))
        throw RuntimeError(PrinterError, failure);
}

} // namespace platform
