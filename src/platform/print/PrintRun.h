#pragma once

#include "platform/print/PrintFont.h"

#include <QString>

namespace platform {

// One text printed on a page: (x, y) is the top left of its line, in twips from the
// paper's top left corner.
struct PrintRun {
    QString text;
    PrintFont font;
    double x = 0.0;
    double y = 0.0;
};

} // namespace platform
