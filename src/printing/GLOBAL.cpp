#include "printing/GLOBAL.h"

#include "printing/DisplayedRecords.h"
#include "printing/frmPreview.h"

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

bool isBreak(QChar c)
{
    return c == u' ' || isLineEnd(c) || c == u'-' || c == u')';
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
        qsizetype lastBreak = 0;
        for (qsizetype i = 1; i < stop; ++i) {
            if (isBreak(Buffer[i - 1]))
                lastBreak = i;
        }
        const QChar c = Buffer[stop - 1];
        // A blank or line end that overflows is cut off the line anyway; a "-" or ")"
        // that overflows would stay on it, so an earlier break wins then. An earlier
        // break also wins when the last character overflows: no line comes back wider
        // than asked while it could be broken.
        const bool printedBreakOverflows = overflow && (c == u'-' || c == u')') && lastBreak > 0;
        if (isBreak(c) && !printedBreakOverflows)
            lastBreak = stop;
        cut = lastBreak > 0 ? lastBreak : stop;
        // A character outside the basic plane is never split in two.
        if (cut < Buffer.size() && Buffer[cut - 1].isHighSurrogate() && Buffer[cut].isLowSurrogate())
            ++cut;
    }

    QString line = Buffer.left(cut);
    removeTrailingBlanks(line);
    Buffer.remove(0, std::min(cut, Buffer.size()));
    for (int k = 0; k < 2 && !line.isEmpty() && isLineEnd(line.front()); ++k)
        line.remove(0, 1);
    for (int k = 0; k < 2 && !line.isEmpty() && isLineEnd(line.back()); ++k)
        line.chop(1);
    return line;
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
