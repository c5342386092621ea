#pragma once

#include <QString>

namespace platform {

// The font a text run is printed in. Sizes are points and may be fractional.
struct PrintFont {
    QString name = QStringLiteral("Arial");
    double size = 10.0;
    bool bold = false;
    bool italic = false;

    friend bool operator==(const PrintFont &, const PrintFont &) = default;
};

} // namespace platform
