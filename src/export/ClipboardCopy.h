#pragma once

class DisplayedRecords;

// Puts the current record's name and label address on the clipboard as plain text, one
// item a line, each line ended by CR LF: name line, organisation, title, address lines,
// city line and country, blank ones left out. With no records displayed the clipboard
// keeps what it holds.
void CopyNameAddressToClipboard(DisplayedRecords &Records);
