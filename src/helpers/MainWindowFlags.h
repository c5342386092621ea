#pragma once

#include <QtGlobal>

// Flags of the main window that the windows below it read or set.
extern qint32 gSelectedCount;    // selection marks set since the program started
extern bool gFirstTime;          // the main window's first activation is still to come
extern bool gPageBreakPerLetter; // address books start a page per initial letter
extern int gReminderStartup;     // the reminder window's start-up check box
// The next grid click is not the user's (set as the category window loads).
extern bool gIgnoreNextGridClick;
