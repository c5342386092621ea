#pragma once

#include "platform/print/PrintCanvas.h"

#include <QObject>

#include <exception>

namespace platform {

// A document for the printer was not printed: the user cancelled the question where it
// should go (raised by StartDoc before anything is laid out), or cancelled writing it
// into its file (raised by the output, with no part of the file left).
class PrintCancelled : public std::exception {
  public:
    const char *what() const noexcept override { return "printing cancelled"; }
};

// The print surface `vp`: every list, label, envelope and address book is drawn on
// it as one recorded document. Each operation `vpName` of the surface is name() to
// read and setName() to set here (vpAction is setAction, vpPrintLine is printLine).
// When the document ends it is shown by the preview or goes to the printer, as the
// preview flag says.
class PrintSurface : public QObject, public PrintCanvas {
    Q_OBJECT
  public:
    // The document actions the program sends.
    enum Action { StartDoc = 3, NewPage = 4, EndDoc = 6 };
    // 0 keeps the zoom as set; the others fit pages to the preview.
    enum ZoomMode {
        ZoomPercentage = 0,
        ZoomThumbnail = 1,
        ZoomTwoPages = 2,
        ZoomWholePage = 3,
        ZoomPageWidth = 4
    };

    explicit PrintSurface(QObject *parent = nullptr);

    // 3 starts a document on a fresh page, dropping any document held, ended or not
    // (in print mode it first asks where the document goes, and raises PrintCancelled
    // when the user cancels); 4 ends the page and starts the next; 6 ends the document
    // (nothing when none is open) and sends it where StartDoc was told. Other values
    // do nothing.
    void setAction(int action);
    void startDocument();
    void endDocument();
    // Drops the document held, drawn to the end or not (a report stopped halfway).
    void dropDocument();

    QString docName() const { return mDocName; }
    void setDocName(const QString &name) { mDocName = name; }
    // 0 portrait, 1 landscape; taken by the next document, so a document held for the
    // preview keeps the orientation it was drawn in.
    int orientation() const { return mOrientation; }
    void setOrientation(int orientation);
    bool preview() const { return mPreview; }
    void setPreview(bool preview) { mPreview = preview; }

    bool docFlag34() const { return mDocFlag34; }
    void setDocFlag34(bool flag) { mDocFlag34 = flag; }
    int docSetting91() const { return mDocSetting91; }
    void setDocSetting91(int setting) { mDocSetting91 = setting; }
    // Top, left and bottom margins, in twips.
    void setMargin50(double twips) { setMarginTop(twips); }
    void setMargin51(double twips) { setMarginLeft(twips); }
    void setMargin52(double twips) { setMarginBottom(twips); }

    // The second style flag draws the text in italics.
    bool fontStyle7() const { return fontItalic(); }
    void setFontStyle7(bool on) { setFontItalic(on); }

    void setMeasureText(const QString &text);
    double measuredWidth() const { return mMeasuredWidth; }
    double measuredHeight() const { return mMeasuredHeight; }

    double zoom() const { return mZoom; }
    // Sets the zoom within its limits; the zoom mode becomes a plain percentage.
    void setZoom(double percent);
    // The preview's fitting of pages for a zoom mode: like setZoom, keeping the mode.
    void fitZoom(double percent);
    double zoomMin() const { return MinZoom; }
    double zoomMax() const { return MaxZoom; }
    int zoomMode() const { return mZoomMode; }
    void setZoomMode(int mode);

    int pageCount() const { return document().pageCount(); }
    // The page shown, kept within the document: 1 to pageCount (1 when empty).
    int previewPage() const { return mPreviewPage; }
    void setPreviewPage(int page);

    // Sends the held document to the printer, asking where when it goes to a file; the
    // argument is the program's only choice, the whole document.
    void printDoc(bool wholeDocument = true);
    // Sends the pages fromPage to toPage (1-based; 0 and 0: all) of the held document
    // where the print dialog has just chosen (PrintOutput::sendAsChosen).
    void printPages(int fromPage, int toPage);

    static constexpr double MinZoom = 10.0;
    static constexpr double MaxZoom = 400.0;
    // The margins a surface starts with; printLine returns to the left one.
    static constexpr double DefaultMarginTop = 720.0;
    static constexpr double DefaultMarginLeft = 1440.0;
    static constexpr double DefaultMarginBottom = 720.0;

  signals:
    void zoomChanged();
    void zoomModeChanged();
    void previewPageChanged();
    // The document was started, grew, or ended.
    void contentChanged();

  protected:
    void documentChanged() override;

  private:
    void applyZoom(double percent);

    QString mDocName;
    // Where the open document goes when it ends in print mode: a PDF file, or the
    // printer when empty.
    QString mPdfPath;
    int mOrientation = 0;
    bool mPreview = false;
    bool mDocFlag34 = true;
    int mDocSetting91 = 0;
    double mMeasuredWidth = 0.0;
    double mMeasuredHeight = 0.0;
    double mZoom = 100.0;
    int mZoomMode = ZoomPercentage;
    int mPreviewPage = 1;
};

} // namespace platform
