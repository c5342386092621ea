#pragma once

#include <QString>
#include <QtGlobal>

class DisplayedRecords;

// The two condensed contact lists of the Reports menu, drawn on the preview window's
// print surface from the displayed records, first to last; the record that was
// current before stays current after. Category is the caption that names what the
// list shows (the main window's lblCategory): printed, trimmed, as the first page's
// heading when it is not empty.

// "Condensed 1-Line": the bold name, then phones and address on the same line,
// wrapped onto indented lines below.
void PrintCondensedOneLine(DisplayedRecords &Records, const QString &Category);
// "Condensed List": the bold name on a line of its own, then phones, labelled address
// and e-mail wrapped on indented lines below it.
void PrintCondensedList(DisplayedRecords &Records, const QString &Category);

// The menu entries: ask first (ConfirmPrintDisplayed), then let pending window events
// run once and draw the list.
void Condensed1LineMenu_Click(DisplayedRecords &Records, const QString &Category, qint32 SelectedCount);
void CondensedList_Click(DisplayedRecords &Records, const QString &Category, qint32 SelectedCount);
