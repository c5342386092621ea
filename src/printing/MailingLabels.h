#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <limits>

class DisplayedRecords;

// The mailing address of the current record as the labels and envelopes print it: the
// name line, the organisation (left off a home address), the three address lines, the
// city line and the country of the address set the contact's labels use, each slot
// taken by the next line that is not blank. Always seven slots, the unused ones empty.
QStringList LabelAddressLines(DisplayedRecords &Records);

// Prints the first LineCount (1 to 7) slots of the address, one line each, at the
// surface's current X, empty ones included, so every block of a run has one height; a line
// wider than Width twips is cut at that width. Afterwards Y stands below the block and X
// is back at its column.
void PrintLabelAddress(DisplayedRecords &Records, int LineCount,
                       double Width = std::numeric_limits<double>::infinity());

// Asks before a label run: the number of copies of each label, 0 to print nothing
// (no records displayed, the selection warning cancelled, or no valid number given).
int ConfirmLabelCopies(DisplayedRecords &Records, qint32 SelectedCount);

// The four label layouts of the Reports menu, one label per displayed record.
void Labels3upMenu_Click(DisplayedRecords &Records, qint32 SelectedCount);
void Labels1UpMenu1_Click(DisplayedRecords &Records, qint32 SelectedCount);
void Labels1UpMenu2_Click(DisplayedRecords &Records, qint32 SelectedCount);
void Labels2UpMenu_Click(DisplayedRecords &Records, qint32 SelectedCount);

// How many lines of the address a label of a layout holds at font size F.
int LabelLinesForFontSize(const QString &LayoutName, double F);
