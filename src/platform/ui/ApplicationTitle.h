#pragma once

#include <QString>

namespace platform {

// The name under which the running program is known; message boxes without a title of
// their own show it. A second copy changes its own before telling the user it must end.
QString applicationTitle();
void setApplicationTitle(const QString &title);

} // namespace platform
