#include "platform/base/FileKind.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace platform {

namespace {

// Nothing when the path cannot be looked at; errno then says why.
std::optional<struct stat> statusOf(const QString &path)
{
    struct stat status;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status;
}

} // namespace

FileKind fileKind(const QString &path)
{
    const std::optional<struct stat> status = statusOf(path);
    if (!status)
        return FileKind::Missing;
    if (S_ISREG(status->st_mode))
        return FileKind::Regular;
    if (S_ISDIR(status->st_mode))
        return FileKind::Folder;
    return FileKind::Special;
}

std::optional<WriteRefusal> writeRefusal(const QString &path)
{
    const std::optional<struct stat> status = statusOf(path);
    if (!status && errno == EACCES)
        return WriteRefusal{WriteRefusal::FolderDenied, QStringLiteral("The folder cannot be opened: permission denied.")};
    const QFileInfo target(path);
    if (!target.dir().exists())
        return WriteRefusal{WriteRefusal::NoFolder, QStringLiteral("The folder does not exist.")};
    if (!status)
        return std::nullopt;
    if (S_ISDIR(status->st_mode))
        return WriteRefusal{WriteRefusal::FolderInTheWay, QStringLiteral("A folder of that name is in the way.")};
    if (!S_ISREG(status->st_mode))
        return WriteRefusal{WriteRefusal::NotAFile,
                            QStringLiteral("It is a device, pipe or socket, not a file, and is left as it is.")};
    // Replacing a file through a new one would get round its read-only mark.
    if (!target.isWritable())
        return WriteRefusal{WriteRefusal::ReadOnly, target.permission(QFileDevice::WriteOwner)
                                                        ? QStringLiteral("Permission denied.")
                                                        : QStringLiteral("The file is read-only.")};
    return std::nullopt;
}

} // namespace platform
