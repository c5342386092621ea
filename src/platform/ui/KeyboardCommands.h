#pragma once

namespace platform {

// Keys that command rather than type, the same in every window of the program:
// - An access key (Alt and a letter) clicks its button while the key is still down, so the
//   command works on what was highlighted when the key was pressed: a click left for later
//   would let the letter's release, or a key typed next, move a list first.
// - Tab and Shift+Tab leave a dropped list: the list closes and the focus goes on from its box.
// Installed once for the whole program; a second call does nothing.
void installKeyboardCommands();

} // namespace platform
