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
    const platform::TextMetrics &metrics = platform::textMetrics();
    // The length is taken before the front line end and the trailing blanks go.
    const qsizetype n = Buffer.size();
    if (!Buffer.isEmpty() && isLineEnd(Buffer.front()))
        Buffer.remove(0, 1);
    removeTrailingBlanks(Buffer);

    qsizetype lastBreak = 0;
    qsizetype cut = n;
    // The line is measured as it grows; widths add up since no pair of characters is
    // kerned, so each character is measured once.
    double width = 0.0;
    for (qsizetype i = 1; i <= n && i <= Buffer.size(); ++i) {
        const QChar c = Buffer[i - 1];
        width += metrics.width(Font, QStringView(&c, 1));
        const bool overflow = width > MaxWidth;
        if (overflow || isLineEnd(c)) {
            // A blank or line end that overflows is cut off the line anyway; a "-" or
            // ")" that overflows would stay on it, so an earlier break wins then. An
            // earlier break also wins when the last character overflows: no line
            // comes back wider than asked while it could be broken.
            const bool printedBreakOverflows = overflow && (c == u'-' || c == u')') && lastBreak > 0;
            if (isBreak(c) && !printedBreakOverflows)
                lastBreak = i;
            cut = lastBreak > 0 ? lastBreak : i;
            break;
        }
        if (isBreak(c))
            lastBreak = i;
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
