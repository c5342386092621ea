#include "platform/print/PrintOutput.h"

#include "platform/RuntimeError.h"
#include "platform/base/FileKind.h"
#include "platform/print/PageRenderer.h"
#include "platform/print/PrintSupport.h"
#include "platform/print/PrintSurface.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <memory>

namespace platform {

namespace {
PrintOutput::PdfPathChooser &pdfPathChooser()
{
    static PrintOutput::PdfPathChooser chooser;
    return chooser;
}

PrintOutput::PageProgressFactory &pageProgress()
{
    static PrintOutput::PageProgressFactory factory;
    return factory;
}

// The folder the last PDF file went to; empty before the first.
QString &lastPdfFolder()
{
    static QString folder;
    return folder;
}

void rememberPdfFolder(const QString &path)
{
    lastPdfFolder() = QFileInfo(path).absolutePath();
}

// The pages fromPage to toPage (1-based; 0 for the first or the last) that are in the
// document, 0-based; none when first is past last.
struct PageSpan {
    int first;
    int last;
    int count() const { return std::max(last - first + 1, 0); }
};

PageSpan pageSpan(const PrintDocument &document, int fromPage, int toPage)
{
    const int pages = document.pageCount();
    return {fromPage > 0 ? std::min(fromPage, pages) - 1 : 0,
            toPage > 0 ? std::min(toPage, pages) - 1 : pages - 1};
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

QString unwritable(const QString &path)
{
    return QStringLiteral("The document could not be written to \"%1\".").arg(QDir::toNativeSeparators(path));
}

// Raises the error for a PDF file that cannot be written at the path, saying why.
void refuseUnwritable(const QString &path)
{
    const std::optional<WriteRefusal> refusal = writeRefusal(path);
    if (!refusal)
        return;
    throw RuntimeError(refusal->cause == WriteRefusal::NoFolder ? err::PathNotFound : PrintOutput::PathFileAccessError,
                       unwritable(path) + QLatin1Char(' ') + refusal->reason);
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

void PrintOutput::setPageProgress(PageProgressFactory factory)
{
    pageProgress() = std::move(factory);
}

void PrintOutput::setPrinterLookupForTesting(std::function<QPrinterInfo()> lookup,
                                             std::function<QPageSize()> paper)
{
    printSupport().setPrinterLookup(std::move(lookup), std::move(paper));
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
    QPageSize paper;
    if (printerChosen()) {
        paper = printSupport().pageLayout(&chosenPrinter()).pageSize();
    } else {
        // Without the library a report can still be laid out; printing it says why not.
        try {
            paper = printSupport().defaultPaper();
        } catch (const RuntimeError &) {
        }
    }
    if (!paper.isValid())
        return {PrintDocument::LetterWidth, PrintDocument::LetterHeight};
    // Millimetres keep the exact size; points are rounded to whole ones.
    const QSizeF mm = paper.size(QPageSize::Millimeter);
    const double twipsPerMm = 1440.0 / 25.4;
    return {std::min(mm.width(), mm.height()) * twipsPerMm, std::max(mm.width(), mm.height()) * twipsPerMm};
}

void PrintOutput::forgetChosenPrinterForTesting()
{
    sessionPrinter().reset();
    sessionPrinterChosen() = false;
    lastPdfFolder().clear();
}

QString PrintOutput::chosenPrinterFile()
{
    return printerChosen() ? printSupport().outputFileName(&chosenPrinter()) : QString();
}

bool PrintOutput::printerInstalled()
{
    return currentPrinter().has_value();
}

QString PrintOutput::proposedPdfPath(const QString &documentName)
{
    QString name = documentName.trimmed();
    for (QChar &c : name) {
        if (QStringLiteral("\\/:*?\"<>|").contains(c))
            c = u' ';
    }
    name = name.trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Report");
    QString folder = lastPdfFolder();
    if (folder.isEmpty()) {
        const QString chosenFile = chosenPrinterFile();
        folder = chosenFile.isEmpty() ? QDir::currentPath() : QFileInfo(chosenFile).absolutePath();
    }
    const QDir dir(folder);
    QString path = dir.filePath(name + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).pdf").arg(name).arg(n));
    return path;
}

bool PrintOutput::paint(const PrintDocument &document, QPagedPaintDevice &device, const QString &failure,
                        int errorNumber, int fromPage, int toPage, PageProgress *progress)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw RuntimeError(errorNumber, failure);
    const QSizeF page = document.pageSize();
    const QRectF target(0, 0, page.width() * device.logicalDpiX() / 1440.0,
                        page.height() * device.logicalDpiY() / 1440.0);
    const auto [first, last] = pageSpan(document, fromPage, toPage);
    for (int i = first; i <= last; ++i) {
        if (i > first && !device.newPage()) {
            painter.end();
            throw RuntimeError(errorNumber, failure);
        }
        PageRenderer::render(painter, document, i, target);
        if (progress && !progress->pagesWritten(i - first + 1)) {
            painter.end();
            return false;
        }
    }
    if (!painter.end())
        throw RuntimeError(errorNumber, failure);
    return true;
}

void PrintOutput::writePdf(const PrintDocument &document, const QString &path, int fromPage, int toPage)
{
    refuseUnwritable(path);
    const QString failure = unwritable(path);
    const KeptOwner owner(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw RuntimeError(PathFileAccessError, failure);
    std::unique_ptr<PageProgress> progress =
        pageProgress() ? pageProgress()(document.name, path, pageSpan(document, fromPage, toPage).count())
                       : nullptr;
    bool complete = false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(document.name);
        writer.setCreator(QStringLiteral("Quiltern"));
        writer.setPageLayout(layoutFor(document));
        complete = paint(document, writer, failure, PathFileAccessError, fromPage, toPage, progress.get());
    }
    progress.reset();
    if (!complete) {
        file.cancelWriting();
        throw PrintCancelled();
    }
    if (!file.commit())
        throw RuntimeError(PathFileAccessError, failure);
    owner.restore();
}

// A choice of a file, or of a printer while there is one, is where documents go.
bool PrintOutput::chosenPrinterUsable()
{
    return printerChosen() && (!chosenPrinterFile().isEmpty() || currentPrinter().has_value());
}

// Paper, unless the chosen printer is the file printer or there is no printer at all.
bool PrintOutput::goesToFile()
{
    if (chosenPrinterUsable())
        return !chosenPrinterFile().isEmpty();
    return !currentPrinter().has_value();
}

std::optional<QString> PrintOutput::askDestination(const QString &documentName)
{
    if (!goesToFile())
        return QString();
    if (!pdfPathChooser())
        throw RuntimeError(PrinterError, printerInstalled()
                                             ? QStringLiteral("There is no way to ask for the file to print into.")
                                             : QStringLiteral("No printer is installed."));
    const QString path = pdfPathChooser()(documentName);
    if (path.isEmpty())
        return std::nullopt;
    // Told now, before the document is composed for a file that could not take it.
    refuseUnwritable(path);
    rememberPdfFolder(path);
    return path;
}

void PrintOutput::sendTo(const PrintDocument &document, const QString &pdfPath, int fromPage, int toPage)
{
    if (!pdfPath.isEmpty()) {
        writePdf(document, pdfPath, fromPage, toPage);
        return;
    }
    const PrintSupportApi &support = printSupport();
    PrinterHandle ownPrinter;
    QPrinter *printer = nullptr;
    QString name;
    if (chosenPrinterUsable()) {
        printer = &chosenPrinter();
        name = support.printerName(printer);
    } else {
        const std::optional<QString> printerName = currentPrinter();
        if (!printerName)
            throw RuntimeError(PrinterError, QStringLiteral("No printer is installed."));
        ownPrinter = newPrinter(support);
        printer = ownPrinter.get();
        name = *printerName;
    }
    support.preparePrinter(printer, document.name, layoutFor(document));
    const QString failure = QStringLiteral("The document could not be printed on \"%1\".").arg(name);
    paint(document, *support.paintDevice(printer), failure, PrinterError, fromPage, toPage);
    if (const std::optional<QString> refusal = support.jobRefusal(printer))
        throw RuntimeError(PrinterError, refusal->isEmpty() ? failure : failure + QLatin1Char(' ') + *refusal);
}

void PrintOutput::sendToPrinter(const PrintDocument &document, int fromPage, int toPage)
{
    const std::optional<QString> path = askDestination(document.name);
    if (path)
        sendTo(document, *path, fromPage, toPage);
}

void PrintOutput::sendAsChosen(const PrintDocument &document, int fromPage, int toPage)
{
    const QString file = chosenPrinterFile();
    if (file.isEmpty()) {
        sendToPrinter(document, fromPage, toPage);
        return;
    }
    rememberPdfFolder(file);
    writePdf(document, file, fromPage, toPage);
}

} // namespace platform
