#pragma once

#include <QList>
#include <QString>

namespace platform {

// The windows and reports are designed in the classic Windows fonts. Each is drawn with
// an installed family of the same widths, chosen here and nowhere else, so a window or a
// page looks and measures the same whatever fonts a machine happens to have:
//   MS Sans Serif, Arial, Tahoma, Small Fonts -> Liberation Sans
//   Times New Roman                           -> Liberation Serif
//   Courier New                               -> Liberation Mono
// The family a design name is drawn with (any case, blanks around it allowed); any other
// name is returned as given, trimmed.
QString compatibleFamily(const QString &name);

// The design names above, as the designs spell them.
QList<QString> designFontNames();

} // namespace platform
