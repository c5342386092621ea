#include "helpers/mCommon.h"

#include "helpers/ValueHelpers.h"
#include "platform/RuntimeError.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The classic "Path/File access error", raised when an existing file resists deletion.
constexpr int PathFileAccessError = 75;

bool endsWithSeparator(const QString &path)
{
    return path.endsWith(QLatin1Char('/'))
#ifdef Q_OS_WIN
           || path.endsWith(QLatin1Char('\\'))
#endif
        ;
}

} // namespace

bool FileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool DirExists(QString path)
{
    AddBackslash(path);
    if (path.isEmpty())
        return false;
    return QFileInfo(path).isDir();
}

void AddBackslash(QString &path)
{
    if (!path.isEmpty() && !endsWithSeparator(path))
        path += QLatin1Char('/');
}

void KillFile(const QString &path)
{
    if (!FileExists(path))
        return;
    QFile file(path);
    // A read-only file must become writable first, as the system's own delete refuses it.
    file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    if (!file.remove())
        throw platform::RuntimeError(
            PathFileAccessError,
            QStringLiteral("The file \"%1\" could not be deleted: %2.").arg(path, file.errorString()));
}

bool CheckFileNameChars(QString name)
{
    name = Trim(name);
    // Greater than a single blank: not empty and not starting with a control character.
    if (name.isEmpty() || name.at(0).unicode() < 0x20)
        return false;
    static const QString refused = QStringLiteral("*\\/:?|<>\"");
    for (const QChar ch : refused) {
        if (name.contains(ch))
            return false;
    }
    return true;
}
