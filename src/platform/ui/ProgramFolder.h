#pragma once

#include <QString>

namespace platform {

// The folder of the executable: the column layout file, the recovery file, the
// picture folders and the default database live there. Tests point it elsewhere.
QString programFolder();

// An empty path restores the real folder.
void setProgramFolderForTesting(const QString &path);

} // namespace platform
