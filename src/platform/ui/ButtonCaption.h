#pragma once

class QAbstractButton;

namespace platform {

// Widens a button (a push or tool button) to the right when its caption, drawn in the
// platform's font, needs more room than the designed width; a button that is wide enough
// keeps its size.
void widenToCaption(QAbstractButton *button);

} // namespace platform
