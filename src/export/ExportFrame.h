#pragma once

#include <QString>
#include <functional>

class DisplayedRecords;
class ExportFile;

namespace platform {
class CommonDialog;
}

// What one export brings to the frame that every export runs through.
struct ExportPieces {
    QString confirmation;    // asked with Yes and No before anything happens
    QString filter;          // of the Save dialog; its second entry is preselected
    QString defaultFileName; // offered in the Save dialog every time
    QString completionWords; // the completion message, followed by the file's path
    // The line before the contacts; empty for an export without one.
    std::function<void(ExportFile &)> firstLine;
    // The output of the current contact.
    std::function<void(DisplayedRecords &, ExportFile &)> contact;
};

// Asks, lets the user name the file in the main window's Save dialog (Cancel ends the
// command silently; the open address book's files are refused and the dialog shown
// again), then writes the first line and every displayed record, first to
// last, under the hourglass, puts the current record back and tells where the file is,
// and how many records hold characters the file could not take.
// A failure anywhere else (no records displayed, a file that cannot be written, a record
// that cannot be read) is told with its reason; the current record comes back and no
// file is left behind, but for one written in place (see ExportFile).
void RunExport(DisplayedRecords &Records, platform::CommonDialog &CMDialog1, const ExportPieces &Export);
