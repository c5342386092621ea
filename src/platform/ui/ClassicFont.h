#pragma once

#include <QFont>
#include <QString>

namespace platform {

// A font named as the windows' designs name it ("MS Sans Serif", "Arial", "Times New
// Roman", "Courier New"), drawn with the metric-compatible font the system has.
QFont classicFont(const QString &family, double points, bool bold = false);

} // namespace platform
