#include "platform/print/PrintCanvas.h"

#include "platform/print/TextMetrics.h"

#include <QStringList>

namespace platform {

namespace {
bool isBlank(const QString &text)
{
    for (QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

QStringList splitLines(const QString &text)
{
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unified.replace(u'\r', u'\n');
    return unified.split(u'\n');
}

bool holdsLineEnd(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}
} // namespace

PrintCanvas::PrintCanvas(double marginTop, double marginLeft, double marginBottom)
    : mMarginTop(marginTop), mMarginLeft(marginLeft), mMarginBottom(marginBottom)
{
}

void PrintCanvas::discardDocument()
{
    mDocument = PrintDocument{};
    mOpen = false;
    documentChanged();
}

void PrintCanvas::setFontSize(double points)
{
    // A size below one point would give lines without height.
    mFont.size = points < 1.0 ? 1.0 : points;
}

void PrintCanvas::printLine(const QString &text)
{
    if (!holdsLineEnd(text)) {
        printPiece(text, true);
        return;
    }
    const QStringList lines = splitLines(text);
    for (const QString &line : lines)
        printPiece(line, true);
}

void PrintCanvas::printNoLineEnd(const QString &text)
{
    if (!holdsLineEnd(text)) {
        printPiece(text, false);
        return;
    }
    const QStringList lines = splitLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i)
        printPiece(lines[i], i + 1 < lines.size());
}

void PrintCanvas::printPiece(const QString &text, bool endLine)
{
    beforeOutput();
    const TextMetrics &metrics = textMetrics();
    const double height = metrics.lineHeight(mFont);
    const double bottom = pageSizeForFlow().height() - mMarginBottom;
    // Flow to a new page only from below the top margin, so a line higher than the
    // whole page cannot make pages without end.
    if (mOpen && mFlowsOverPageEnd && mY + height > bottom && mY > mMarginTop) {
        // The carried line keeps the column the caller put it in.
        const double x = mX;
        newPage();
        mX = x;
    }
    const double width = metrics.width(mFont, text);
    // A line running past the paper's edge is cut there as it reads, so a right-to-left
    // line keeps its first words on the paper as a left-to-right one does.
    const double edge = pageSizeForFlow().width();
    const QString shown = mX + width > edge ? fittedText(mFont, text, edge - mX) : text;
    if (mOpen && !isBlank(shown)) {
        mDocument.pages.back().push_back(PrintRun{shown, mFont, mX, mY});
        documentChanged();
    }
    if (endLine) {
        mX = mMarginLeft;
        mY += height;
    } else {
        mX += width;
    }
}

QSizeF PrintCanvas::pageSizeForFlow() const
{
    return mOpen ? mDocument.pageSize() : mPaperSize;
}

double PrintCanvas::textWidth(const QString &text) const
{
    return textMetrics().width(mFont, text);
}

double PrintCanvas::textHeight(const QString &text) const
{
    return textMetrics().height(mFont, text);
}

void PrintCanvas::newPage()
{
    beforeOutput();
    if (!mOpen)
        return;
    mDocument.pages.emplace_back();
    mX = mMarginLeft;
    mY = mMarginTop;
    documentChanged();
}

void PrintCanvas::openDocument(const QString &name, int orientation, bool docFlag34, int docSetting91)
{
    mDocument = PrintDocument{};
    mDocument.name = name;
    mDocument.orientation = orientation;
    mDocument.paperSize = mPaperSize;
    mDocument.docFlag34 = docFlag34;
    mDocument.docSetting91 = docSetting91;
    mDocument.pages.emplace_back();
    mOpen = true;
    mX = mMarginLeft;
    mY = mMarginTop;
    documentChanged();
}

} // namespace platform
