#pragma once

class QPushButton;

namespace platform {

// Widens a button to the right when its caption, drawn in the platform's font, needs more
// room than the designed width; a button that is wide enough keeps its size.
void widenToCaption(QPushButton *button);

} // namespace platform
