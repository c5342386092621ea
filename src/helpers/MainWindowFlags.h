#pragma once

#include <QtGlobal>

// Flags of the main window that the windows below it read or set.
struct MainWindowFlags {
    qint32 gSelectedCount = 0;        // selection marks set since the program started
    bool gFirstTime = false;          // the main window's first activation is still to come
    bool gPageBreakPerLetter = false; // address books start a page per initial letter
    int gReminderStartup = 0;         // the reminder window's start-up check box
    // The next grid click is not the user's (set as the category window loads).
    bool gIgnoreNextGridClick = false;

    // Back to the values the program starts with.
    void reset();
};
extern MainWindowFlags gMainWindow;
