#pragma once

#include "platform/print/PrintDocument.h"

#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QPagedPaintDevice;
class QPageSize;
class QPrinter;
class QPrinterInfo;

namespace platform {

// Puts recorded documents on paper or into PDF files. Failures are raised as
// RuntimeError so that the report that ended the document can show them. Printers are
// reached through the printing library (PrintSupport.h), loaded on the first call that
// needs one; with it missing, those calls raise RuntimeError too.
class PrintOutput {
  public:
    // Prints the pages fromPage to toPage (1-based; 0 and 0 for all) on the printer chosen
    // in printer setup, or else on the default printer. A document that goes to a file (the
    // file printer was chosen, or no printer is installed) asks where first, each time
    // (askDestination); no file chosen: nothing is printed.
    static void sendToPrinter(const PrintDocument &document, int fromPage = 0, int toPage = 0);
    // Prints as the print dialog has just chosen: into the file it named when the user
    // chose the file printer there, otherwise as sendToPrinter.
    static void sendAsChosen(const PrintDocument &document, int fromPage = 0, int toPage = 0);

    // The printer printer setup and the print dialog change, made from the default printer
    // on first use. Once the user confirms a choice (choosePrinter), documents print on it
    // and on its paper for the rest of the run.
    static QPrinter &chosenPrinter();
    static void choosePrinter();
    static bool printerChosen();
    // The paper documents are laid out on, held in portrait, in twips: the chosen
    // printer's, else the default printer's, or US Letter when there is no printer or the
    // printing library cannot be loaded.
    static QSizeF paperTwips();
    // The file the chosen printer prints into; empty when it prints on paper or no
    // printer was chosen.
    static QString chosenPrinterFile();
    static bool printerInstalled();
    // Forgets the choice and the folder files went to (tests start from the default
    // printer).
    static void forgetChosenPrinterForTesting();

    // Writes the pages into a PDF file, reporting each page to the progress (below). The
    // file is written beside its place and put there whole at the end, so a Cancel
    // (PrintCancelled) or a failure (RuntimeError) leaves no part of it and an earlier
    // file of that name as it was; a file replaced keeps its owner and permissions.
    static void writePdf(const PrintDocument &document, const QString &path, int fromPage = 0,
                         int toPage = 0);

    // Asked before a document for the printer is laid out, so that a Cancel costs
    // nothing: for paper there is nothing to ask (an empty path); for a file, the PDF file
    // chosen. No value when the user cancelled. A chosen file that cannot be written there
    // (no such folder, a folder closed to writing, a read-only file, a device in its place)
    // raises the error writePdf would raise.
    static std::optional<QString> askDestination(const QString &documentName);
    // Puts the pages where askDestination said: the PDF file, or the printer for an empty
    // path.
    static void sendTo(const PrintDocument &document, const QString &pdfPath, int fromPage = 0,
                       int toPage = 0);

    // Where a document is proposed to be saved: its name (with blanks for the characters
    // no file name may hold) in the folder the last file went to, numbered " (2)", " (3)"
    // ... past the names taken there, so that saving as proposed replaces nothing.
    static QString proposedPdfPath(const QString &documentName);

    // Asks where a document is to be saved as PDF; returns the path, or an empty text
    // when the user cancels. The program connects its save dialog here; without one,
    // printing into a file is an error.
    using PdfPathChooser = std::function<QString(const QString &documentName)>;
    static void setPdfPathChooser(PdfPathChooser chooser);

    // Told of the pages written while a PDF file is written; the program connects its
    // progress window here.
    class PageProgress {
      public:
        virtual ~PageProgress() = default;
        // written of the pages are in the file; false when the user cancelled.
        virtual bool pagesWritten(int written) = 0;
    };
    using PageProgressFactory =
        std::function<std::unique_ptr<PageProgress>(const QString &documentName, const QString &path, int pages)>;
    static void setPageProgress(PageProgressFactory factory);

    // Tests decide which printer there is (a null QPrinterInfo: none) and, with `paper`,
    // the paper the default printer holds; empty functions restore the system's.
    static void setPrinterLookupForTesting(std::function<QPrinterInfo()> lookup,
                                           std::function<QPageSize()> paper = {});

    static constexpr int PathFileAccessError = 75;
    static constexpr int PrinterError = 482;

  private:
    static bool chosenPrinterUsable();
    static bool goesToFile();
    // False when the progress was cancelled before the last page.
    static bool paint(const PrintDocument &document, QPagedPaintDevice &device, const QString &failure,
                      int errorNumber, int fromPage = 0, int toPage = 0, PageProgress *progress = nullptr);
};

} // namespace platform
