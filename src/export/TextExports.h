#pragma once

class DisplayedRecords;

namespace platform {
class CommonDialog;
}

// The plain text exports of the displayed records; each contact's block ends with a line
// that holds one blank.

// One item a line, shaped like a mailing label: name, organisation (not for a home
// address), address lines, city line, country, e-mail and the phones.
void ExportLabelFormat(DisplayedRecords &Records, platform::CommonDialog &CMDialog1);
// A heading with the name and organisation, then phones, address and e-mail as one text
// wrapped at 6.5 inches of printed text in the printer's font, each line indented by four
// blanks.
void ExportCondensed(DisplayedRecords &Records, platform::CommonDialog &CMDialog1);
