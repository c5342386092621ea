#pragma once

#include "platform/print/PrintFont.h"

#include <QString>
#include <QtGlobal>

// State the print routines share while a report or an envelope is drawn.
struct PrintingState {
    // The text being wrapped by the print routines; GetNextPrintLine eats it from the front.
    QString gPrintTextBuffer;
    // Lines printed on the current page of the report being drawn.
    qint16 gPageLineCount = 0;
    // True (-1) while the envelope window is loaded.
    qint16 gEnvelopeFormOpen = 0;

    // Back to the values the program starts with.
    void reset();
};
extern PrintingState gPrinting;

// Cuts from the front of Buffer the next line that fits MaxWidth twips when printed in
// Font, breaking after a blank, a carriage return, a line feed, "-" or ")". The line
// comes back without trailing blanks and without the line ends at either edge; Buffer
// keeps the rest, from the character after the cut.
QString GetNextPrintLine(QString &Buffer, int MaxWidth, const platform::PrintFont &Font);

// Text as it fits in Width twips printed in Font (platform::fittedText): a line cut at the
// right edge of its label or column rather than drawn over the next ends with "…". Text
// that fits comes back as it is.
QString FittedText(const QString &Text, const platform::PrintFont &Font, double Width);

class DisplayedRecords;

// Asks before a report walks the displayed records: false with a message when none
// are displayed; otherwise OK or Cancel, with a warning first when the user has
// selected SelectedCount records but the list shows more than those.
bool ConfirmPrintDisplayed(DisplayedRecords &Records, qint32 SelectedCount);
