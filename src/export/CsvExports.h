#pragma once

class DisplayedRecords;

namespace platform {
class CommonDialog;
}

// The comma-separated exports of the displayed records: every value between double
// quotes, commas between them, a line of column names first. Values are trimmed of
// blanks and carry an apostrophe wherever a double quote stood; nothing is escaped.

// Names, the label address, phones, dates, e-mail, user fields, code, nickname and
// title (46 columns), and the notes as a 47th when IncludeNotes is true.
void ExportCsv(DisplayedRecords &Records, platform::CommonDialog &CMDialog1, bool IncludeNotes);
// Name, first and last name and e-mail address of the contacts whose address holds an
// at sign and a full stop.
void ExportEmail(DisplayedRecords &Records, platform::CommonDialog &CMDialog1);
// The printing service's contact upload: names, title, organisation and the first
// address of every contact.
void ExportVistaprint(DisplayedRecords &Records, platform::CommonDialog &CMDialog1);
