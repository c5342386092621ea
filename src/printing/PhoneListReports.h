#pragma once

#include <QString>
#include <QtGlobal>

class DisplayedRecords;

// Two lists of the displayed records, first to last, each record a bold name line and
// below it its labelled values, wrapped on indented lines. Category is the caption
// that names what the main list shows, printed trimmed as the first page's heading.

// "Phone List": the six phone numbers with their labels.
void PrintPhoneList(DisplayedRecords &Records, const QString &Category);
// "Date Report": the five dates with their labels.
void PrintDateReport(DisplayedRecords &Records, const QString &Category);

// The menu entries: ask first, then draw.
void PhoneListMenu_Click(DisplayedRecords &Records, const QString &Category, qint32 SelectedCount);
void DateReportMenu_Click(DisplayedRecords &Records, const QString &Category, qint32 SelectedCount);
