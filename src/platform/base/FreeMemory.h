#pragma once

#include <QtGlobal>

namespace platform {

// What the process may still take before the system refuses it or ends it.
struct FreeMemory {
    // Memory of its own: the least of what its memory groups (as login managers and
    // containers set them), the machine and its limit of data leave.
    qint64 memory;
    // Its address space, which files mapped into it take too.
    qint64 addressSpace;
};
FreeMemory freeMemory();

} // namespace platform
