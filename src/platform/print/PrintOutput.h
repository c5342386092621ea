#pragma once

#include "platform/print/PrintDocument.h"

#include <QSizeF>
#include <QString>
#include <functional>
#include <optional>

class QPagedPaintDevice;
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
    // in printer setup, or else on the default printer; with no printer installed the user
    // is offered a PDF file instead (no file chosen: nothing is printed).
    static void sendToPrinter(const PrintDocument &document, int fromPage = 0, int toPage = 0);

    // The printer printer setup and the print dialog change, made from the default printer
    // on first use. Once the user confirms a choice (choosePrinter), documents print on it
    // and on its paper for the rest of the run.
    static QPrinter &chosenPrinter();
    static void choosePrinter();
    static bool printerChosen();
    // The paper documents are laid out on, held in portrait, in twips: the chosen
    // printer's, or US Letter.
    static QSizeF paperTwips();
    // Forgets the choice (tests start from the default printer).
    static void forgetChosenPrinterForTesting();
    static void writePdf(const PrintDocument &document, const QString &path, int fromPage = 0,
                         int toPage = 0);

    // Asked before a document for the printer is laid out, so that a Cancel costs
    // nothing: with a printer there is nothing to ask (an empty path); with none, the
    // PDF file chosen. No value when the user cancelled.
    static std::optional<QString> askDestination(const QString &documentName);
    // Puts the document where askDestination said: the PDF file, or the printer for an
    // empty path.
    static void sendTo(const PrintDocument &document, const QString &pdfPath);

    // Asks where a document is to be saved as PDF when there is no printer; returns
    // the path, or an empty text when the user cancels. The program connects its save
    // dialog here; without one, printing with no printer is an error.
    using PdfPathChooser = std::function<QString(const QString &documentName)>;
    static void setPdfPathChooser(PdfPathChooser chooser);

    // Tests decide which printer there is (a null QPrinterInfo: none); an empty
    // function restores the system's default printer.
    static void setPrinterLookupForTesting(std::function<QPrinterInfo()> lookup);

    static constexpr int PathFileAccessError = 75;
    static constexpr int PrinterError = 482;

  private:
    static bool chosenPrinterUsable();
    static void paint(const PrintDocument &document, QPagedPaintDevice &device, const QString &failure,
                      int errorNumber, int fromPage = 0, int toPage = 0);
};

} // namespace platform
