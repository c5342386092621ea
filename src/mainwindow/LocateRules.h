#pragma once

#include <QString>

// What a key released in the main window's locate box does. Key codes are the
// classic virtual keys (KeyboardLayout::virtualKey turns a Qt key into one).
enum class LocateStep {
    Nothing,   // the list stays where it is
    FocusGrid, // a paging key: the grid takes the focus, which empties the box
    ClearBox,  // a bracket key: the box is emptied, nothing is searched
    Search,    // find the first contact whose sort field begins with the text
};

LocateStep locateStepFor(int keyCode, const QString &boxText, bool sortedByDate);

// The find-first condition: the sort field begins with the box's text; trailing
// blanks do not count, leading ones do.
QString locateCriteria(const QString &sortField, const QString &boxText);
