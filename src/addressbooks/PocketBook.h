#pragma once

#include <QString>
#include <QtGlobal>

class DisplayedRecords;

namespace platform {
class Database;
}

// The pocket address book: the displayed contacts laid out into numbered panels of a
// fixed depth, then printed as a booklet on both sides of the paper, four panels to a
// sheet side. One engine draws it on either of two outputs.

// On the preview window's print surface. In preview both sides are pages of one
// document; printing sends side 1, asks the user to turn the paper over ("Halfway
// done") and sends side 2 as a document of its own.
void PrintPocketReport(DisplayedRecords &Records, const QString &Category, bool LastNameFirst);

// Straight to the printer object, for printers that have trouble with the surface's
// documents; never shown in the preview.
void PrintPocketReportAlternate(DisplayedRecords &Records, const QString &Category, bool LastNameFirst);

// The menu entry: asks first (ConfirmPrintDisplayed), lets pending window events run
// once, reads the "Pocket Report" settings row of the open database and runs the
// printer variant when the row asks for it and the surface is not in preview mode.
// PocketLastNameFirst is the main window's choice of name form, taken from the row
// when there is one.
void PocketMenu_Click(platform::Database &Db, DisplayedRecords &Records, const QString &Category,
                      qint32 SelectedCount, bool &PocketLastNameFirst);

// The message between the two sides of a printed booklet.
extern const QString PocketHalfwayTitle;
extern const QString PocketHalfwayText;
