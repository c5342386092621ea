#include "printing/GLOBAL.h"

#include "printing/DisplayedRecords.h"
#include "printing/frmPreview.h"

#include "platform/base/TextBoundaries.h"
#include "platform/base/TextDirection.h"
#include "platform/print/PrintSurface.h"
#include "platform/print/TextMetrics.h"
#include "platform/ui/MsgBox.h"

PrintingState gPrinting;

void PrintingState::reset()
{
    *this = PrintingState();
}

namespace {
bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// Text below this point (Latin and its neighbours) breaks only after the characters
// isBreak names, so its lines stay as they always were.
constexpr char16_t WrittenWithBlanksEnd = 0x250;

bool isBreak(QChar c)
{
    return c == u' ' || isLineEnd(c) || c == u'-' || c == u')';
}

// Where the line that stops at stop (from 1) is cut, after the last break before it:
// after a blank, a line end, "-" or ")", or where a script written without blanks may
// end a line, and never inside a character as drawn. Boundaries come from text, the
// front of the buffer up to at most its first line end.
qsizetype cutPosition(QStringView text, qsizetype stop, bool overflow, const QString &Buffer)
{
    const platform::TextBoundaries bounds(text);
    const auto breaksAt = [&](qsizetype i) {
        if (!bounds.isCharacterBoundary(i))
            return false;
        if (isBreak(Buffer[i - 1]))
            return true;
        return i < text.size() && Buffer[i - 1].unicode() >= WrittenWithBlanksEnd &&
               Buffer[i].unicode() >= WrittenWithBlanksEnd && bounds.isLineBreak(i);
    };
    qsizetype lastBreak = 0;
    for (qsizetype i = 1; i < stop; ++i) {
        if (breaksAt(i))
            lastBreak = i;
    }
    const QChar c = Buffer[stop - 1];
    // A blank or line end that overflows is cut off the line anyway; a "-" or ")"
    // that overflows would stay on it, so an earlier break wins then. An earlier
    // break also wins when the last character overflows: no line comes back wider
    // than asked while it could be broken.
    const bool printedBreakOverflows = overflow && (c == u'-' || c == u')') && lastBreak > 0;
    if (isBreak(c) && !printedBreakOverflows && bounds.isCharacterBoundary(stop))
        lastBreak = stop;
    const qsizetype cut = lastBreak > 0 ? lastBreak : stop;
    // The character that overflows goes on the line whole.
    return cut <= text.size() ? bounds.characterEnd(cut) : cut;
}

// Only blanks: tabs and line ends are part of the text.
void removeTrailingBlanks(QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    text.truncate(end);
}
} // namespace

QString GetNextPrintLine(QString &Buffer, int MaxWidth, const platform::PrintFont &Font)
{
    // The length is taken before the front line end and the trailing blanks go.
    const qsizetype n = Buffer.size();
    if (!Buffer.isEmpty() && isLineEnd(Buffer.front()))
        Buffer.remove(0, 1);
    removeTrailingBlanks(Buffer);

    // The line grows a character at a time until it is wider than asked or takes in a
    // line end: stop is that character's position from 1, 0 when the line never stops.
    // A line end takes no room, so only the text before one is measured; the measure
    // finds where the growing line is first too wide in one pass.
    const qsizetype limit = std::min(n, Buffer.size());
    qsizetype lineEnd = 0;
    while (lineEnd < limit && !isLineEnd(Buffer[lineEnd]))
        ++lineEnd;
    const qsizetype fits =
        platform::textMetrics().fittingLength(Font, QStringView(Buffer).left(lineEnd), MaxWidth);
    const bool overflow = fits < lineEnd;
    const qsizetype stop = overflow ? fits + 1 : (lineEnd < limit ? lineEnd + 1 : 0);

    qsizetype cut = n;
    if (stop > 0) {
        // Where a character ends depends on what follows it: the boundaries are found on
        // the text just past the stop, or on the whole line when a character reaches
        // beyond that.
        const qsizetype near = std::min(lineEnd, stop + 32);
        cut = cutPosition(QStringView(Buffer).left(near), stop, overflow, Buffer);
        if (cut >= near && near < lineEnd)
            cut = cutPosition(QStringView(Buffer).left(lineEnd), stop, overflow, Buffer);
    }

    QString line = Buffer.left(cut);
    removeTrailingBlanks(line);
    Buffer.remove(0, std::min(cut, Buffer.size()));
    for (int k = 0; k < 2 && !line.isEmpty() && isLineEnd(line.front()); ++k)
        line.remove(0, 1);
    for (int k = 0; k < 2 && !line.isEmpty() && isLineEnd(line.back()); ++k)
        line.chop(1);
    // A field cut in two reads on both lines in the direction it reads whole.
    platform::carryIsolates(line, Buffer);
    return line;
}

QString FittedText(const QString &Text, const platform::PrintFont &Font, double Width)
{
    return platform::fittedText(Font, Text, Width);
}

bool ConfirmPrintDisplayed(DisplayedRecords &Records, qint32 SelectedCount)
{
    using namespace platform;
    if (Records.recordCount() < 1) {
        MsgBox(QStringLiteral("There are no records displayed, so none will print."), vbInformation,
               QStringLiteral("No records to print"));
        return false;
    }
    QString prompt;
    if (SelectedCount >= 1 && !Records.recordSource().contains(QStringLiteral("Selected"))) {
        prompt = QStringLiteral("All displayed records will be printed or previewed, not just the ") +
                 QString::number(SelectedCount) +
                 QStringLiteral(" you have selected.  To print just the selected records, click the \"Show "
                                "Selected Records Only\" button or choose that option from the Edit menu.") +
                 QStringLiteral("\r\r");
    }
    if (PreviewSurface().preview())
        prompt += QStringLiteral("Click on the OK button to preview, or Cancel if you do not want to preview "
                                 "all displayed records.");
    else
        prompt +=
            QStringLiteral("Click on the OK button to start printing, or Cancel if you do not want to print "
                           "all displayed records.");
    return MsgBox(prompt, vbOKCancel, QStringLiteral("Confirmation")) == vbOK;
}
