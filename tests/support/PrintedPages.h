#pragma once

#include "platform/print/PrintDocument.h"

#include <QString>
#include <string>
#include <vector>

namespace testsupport {

// Queries on a recorded document; pages count from 1, positions are twips. Runs of
// blanks are never recorded, so every run here shows on paper.

// All runs of the page, in the order they were printed (none for a missing page).
std::vector<platform::PrintRun> runsOnPage(const platform::PrintDocument &document, int page);

// The text of the run that starts at (x, y) on the page, within half a twip; empty
// when none does.
QString textAt(const platform::PrintDocument &document, int page, double x, double y);

// The run that holds the text exactly; nullptr when none does. The first one wins.
const platform::PrintRun *findRun(const platform::PrintDocument &document, int page, const QString &text);

// One readable line per run, "(x,y) text", with " [b]" / " [i]" before the text for
// bold and italic and the font when it is not Arial 10: easy to compare whole pages.
std::vector<std::string> pageLines(const platform::PrintDocument &document, int page);
std::string describe(const platform::PrintRun &run);

} // namespace testsupport
