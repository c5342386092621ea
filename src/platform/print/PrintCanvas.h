#pragma once

#include "platform/print/PrintDocument.h"
#include "platform/print/PrintFont.h"

#include <QString>

namespace platform {

// What the print surface and the printer object share: a current font and position,
// printing a text and ending the line or staying on it, measuring, and recording the
// open document page by page. Text whose line would pass the bottom margin flows onto
// a new page at the top margin, unless the flow is turned off.
class PrintCanvas {
  public:
    virtual ~PrintCanvas() = default;

    const PrintFont &font() const { return mFont; }
    void setFont(const PrintFont &font) { mFont = font; }
    QString fontName() const { return mFont.name; }
    void setFontName(const QString &name) { mFont.name = name; }
    double fontSize() const { return mFont.size; }
    void setFontSize(double points);
    bool fontBold() const { return mFont.bold; }
    void setFontBold(bool bold) { mFont.bold = bold; }
    bool fontItalic() const { return mFont.italic; }
    void setFontItalic(bool italic) { mFont.italic = italic; }

    double currentX() const { return mX; }
    void setCurrentX(double twips) { mX = twips; }
    double currentY() const { return mY; }
    void setCurrentY(double twips) { mY = twips; }

    // Prints at the current position; the next text starts one line lower at the left
    // margin. A blank or empty text only moves down a line.
    void printLine(const QString &text);
    // Prints and stays on the line, X just after the text.
    void printNoLineEnd(const QString &text);

    double textWidth(const QString &text) const;
    double textHeight(const QString &text) const;

    // Ends the page and starts the next, at the top left margins.
    void newPage();

    // Whether a line that would pass the bottom margin goes onto a new page (the
    // default). Layouts that place every line and start every page themselves turn it
    // off, so a line lands where they put it even near the paper's edge.
    bool flowsOverPageEnd() const { return mFlowsOverPageEnd; }
    void setFlowsOverPageEnd(bool flows) { mFlowsOverPageEnd = flows; }

    bool documentOpen() const { return mOpen; }
    // The open document, or the last one when none is open.
    const PrintDocument &document() const { return mDocument; }

    double marginTop() const { return mMarginTop; }
    double marginLeft() const { return mMarginLeft; }
    double marginBottom() const { return mMarginBottom; }
    void setMarginTop(double twips) { mMarginTop = twips; }
    void setMarginLeft(double twips) { mMarginLeft = twips; }
    void setMarginBottom(double twips) { mMarginBottom = twips; }

    // The paper, held in portrait; documents started later take it.
    QSizeF paperSize() const { return mPaperSize; }
    // Sizes without area are ignored: a page must have room to draw on.
    void setPaperSize(const QSizeF &twips)
    {
        if (twips.width() > 0 && twips.height() > 0)
            mPaperSize = twips;
    }

  protected:
    PrintCanvas(double marginTop, double marginLeft, double marginBottom);

    // Drops whatever document is held and opens a fresh one on its first page.
    void openDocument(const QString &name, int orientation, bool docFlag34, int docSetting91);
    // Marks the document finished; it stays held for the preview and for output.
    void closeDocument() { mOpen = false; }
    // Lets go of the document, open or ended: nothing is held afterwards.
    void discardDocument();
    // Every change of the held document's contents or pages.
    virtual void documentChanged() {}
    // Called before anything is printed or a page is started, so that a canvas whose
    // documents begin with their first text can open one.
    virtual void beforeOutput() {}

  private:
    void printPiece(const QString &text, bool endLine);
    QSizeF pageSizeForFlow() const;

    PrintFont mFont;
    double mX = 0.0;
    double mY = 0.0;
    double mMarginTop;
    double mMarginLeft;
    double mMarginBottom;
    QSizeF mPaperSize{PrintDocument::LetterWidth, PrintDocument::LetterHeight};
    PrintDocument mDocument;
    bool mOpen = false;
    bool mFlowsOverPageEnd = true;
};

// Turns a canvas's flow over page ends off for as long as it lives, and back to what it
// was after.
class PageFlowOff {
  public:
    explicit PageFlowOff(PrintCanvas &canvas) : mCanvas(canvas), mWas(canvas.flowsOverPageEnd())
    {
        canvas.setFlowsOverPageEnd(false);
    }
    ~PageFlowOff() { mCanvas.setFlowsOverPageEnd(mWas); }
    PageFlowOff(const PageFlowOff &) = delete;
    PageFlowOff &operator=(const PageFlowOff &) = delete;

  private:
    PrintCanvas &mCanvas;
    bool mWas;
};

} // namespace platform
