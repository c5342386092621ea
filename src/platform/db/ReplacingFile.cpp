#include "platform/db/ReplacingFile.h"

#include "platform/base/FileKind.h"

#include <QFile>

namespace platform {

std::function<void()> takeOverModeAndOwner(const QString &copy, const QString &file)
{
    QFile::setPermissions(copy, QFile::permissions(file));
    return [owner = KeptOwner(file)] { owner.restore(); };
}

} // namespace platform
