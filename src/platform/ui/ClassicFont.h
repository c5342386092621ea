#pragma once

#include <QFont>
#include <QString>

namespace platform {

// Installs, for each classic font name the designs use, its compatible family
// (compatibleFamily) and makes the windows' own font, MS Sans Serif at 8 points, the
// default of every window. Called once at start-up, before the first window.
void useDesignFonts();

// A font named as the windows' designs name it ("MS Sans Serif", "Arial", "Tahoma"),
// drawn with its compatible family.
QFont classicFont(const QString &family, double points, bool bold = false);

} // namespace platform
