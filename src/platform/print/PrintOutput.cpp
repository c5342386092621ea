#include "platform/print/PrintOutput.h"

#include "platform/RuntimeError.h"
#include "platform/print/PageRenderer.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace platform {

namespace {
PrintOutput::PdfPathChooser &pdfPathChooser()
{
    static PrintOutput::PdfPathChooser chooser;
    return chooser;
}

std::function<QPrinterInfo()> &printerLookup()
{
    static std::function<QPrinterInfo()> lookup;
    return lookup;
}

QPrinterInfo currentPrinter()
{
    return printerLookup() ? printerLookup()() : QPrinterInfo::defaultPrinter();
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
    printerLookup() = std::move(lookup);
}

void PrintOutput::paint(const PrintDocument &document, QPagedPaintDevice &device, const QString &failure,
                        int errorNumber)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw RuntimeError(errorNumber, failure);
    const QSizeF page = document.pageSize();
    const QRectF target(0, 0, page.width() * device.logicalDpiX() / 1440.0,
                        page.height() * device.logicalDpiY() / 1440.0);
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            throw RuntimeError(errorNumber, failure);
        }
        PageRenderer::render(painter, document, i, target);
    }
    if (!painter.end())
        throw RuntimeError(errorNumber, failure);
}

void PrintOutput::writePdf(const PrintDocument &document, const QString &path)
{
    const QString failure =
        QStringLiteral("The document could not be written to \"%1\".").arg(QDir::toNativeSeparators(path));
    if (!QFileInfo(path).absoluteDir().exists())
        throw RuntimeError(err::PathNotFound, failure);
    QPdfWriter writer(path);
    writer.setTitle(document.name);
    writer.setCreator(QStringLiteral("Quiltern"));
    writer.setPageLayout(layoutFor(document));
    paint(document, writer, failure, PathFileAccessError);
}

std::optional<QString> PrintOutput::askDestination(const QString &documentName)
{
    if (!currentPrinter().isNull())
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

void PrintOutput::sendToPrinter(const PrintDocument &document)
{
    const QPrinterInfo info = currentPrinter();
    if (info.isNull()) {
        const std::optional<QString> path = askDestination(document.name);
        if (path)
            writePdf(document, *path);
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(document.name);
    printer.setFullPage(true);
    printer.setPageLayout(layoutFor(document));
    const QString failure =
        QStringLiteral("The document could not be printed on \"%1\".").arg(info.printerName());
    paint(document, printer, failure, PrinterError);
    if (printer.printerState() == QPrinter::Error)
        throw RuntimeError(PrinterError, failure);
}

} // namespace platform
