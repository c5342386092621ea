#pragma once

namespace platform {

// Without any display the platform aborts the program with a core dump and advice to
// reinstall it. While the application object opens the display, what the platform says is
// held back: when no display can be opened, the user is told so in one line naming what
// was tried, and the program ends with exit code 1; once it is open, what was held back
// goes on where it would have gone.
namespace DisplayOpening {

void begin();
void end();

} // namespace DisplayOpening

} // namespace platform
