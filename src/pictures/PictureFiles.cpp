#include "pictures/PictureFiles.h"

#include "helpers/ValueHelpers.h"
#include "platform/base/FileKind.h"
#include "platform/ui/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace pictures {

namespace {

bool hidden(const QFileInfo &info)
{
    return info.fileName().startsWith(QLatin1Char('.')) || info.isHidden();
}

} // namespace

QString picturesFolder()
{
    return platform::programFolder() + QStringLiteral("/Pictures/");
}

QString deletedPicturesFolder()
{
    return platform::programFolder() + QStringLiteral("/Deleted Pictures/");
}

QString picturePath(const QString &name)
{
    return picturesFolder() + name;
}

QString resolvedPath(const QString &path)
{
    if (path.isEmpty())
        return path;
    const QFileInfo info(path);
    if (info.exists() || !info.isAbsolute())
        return path;
    const QString name = info.fileName();
    if (name.isEmpty())
        return path;
    const QDir folder = info.absoluteDir();
    if (!folder.exists())
        return path;
    const QStringList entries =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (sameName(entry, name))
            return folder.filePath(entry);
    }
    return path;
}

bool normalFileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString found = resolvedPath(path);
    const QFileInfo info(found);
    // A pipe or a device is no picture, and is never opened as one.
    return info.isAbsolute() && platform::fileKind(found) == platform::FileKind::Regular && !hidden(info);
}

bool filePresent(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(resolvedPath(path));
    return info.isAbsolute() && info.exists() && !info.isDir();
}

QString listedName(const QString &path)
{
    if (!normalFileExists(path))
        return QString();
    return QFileInfo(resolvedPath(path)).fileName();
}

bool nameGiven(const QString &name)
{
    // Compared by character code, as the classic text comparison does.
    return Trim(name) > QStringLiteral(" ");
}

bool slotFileExists(const QString &name)
{
    return nameGiven(name) && normalFileExists(picturePath(name));
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace pictures
