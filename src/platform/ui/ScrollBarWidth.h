#pragma once

namespace platform {

// The program's own scroll-bar width, a per-user setting of this program (the desktop
// keeps no system-wide one the program could change). Widths are in twips.

// Stores the width for the next start; false when the setting could not be written.
bool storeScrollBarWidth(int twips);
// The stored width; 0 when none was chosen.
int storedScrollBarWidth();
// Gives the application's scroll bars the stored width; called once at start.
void applyStoredScrollBarWidth();

} // namespace platform
