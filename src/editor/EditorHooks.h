#pragma once

#include <functional>

// Windows of other subsystems that the editor opens. Each is set by its subsystem when it
// is built; until then the editor's button for it stays disabled.
struct EditorHooks {
    // The categories of the main list's current row (the edited contact), shown modally.
    static std::function<void()> showCategoryAssign;
    // The reminder window for the edited contact, shown modally.
    static std::function<void()> showReminder;
    // The dialling window over the editor's six phone boxes, shown modally.
    static std::function<void()> showDialing;
};
