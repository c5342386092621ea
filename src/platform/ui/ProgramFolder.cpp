#include "platform/ui/ProgramFolder.h"

#include <QCoreApplication>

namespace platform {

namespace {
QString &folderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString programFolder()
{
    const QString &folder = folderOverride();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

void setProgramFolderForTesting(const QString &path)
{
    folderOverride() = path;
}

} // namespace platform
