#include "platform/base/FileKind.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A user or group by name where the system knows one, else by number.
QString userName(uid_t user)
{
    const passwd *entry = ::getpwuid(user);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(user);
}

QString groupName(gid_t group)
{
    const struct group *entry = ::getgrgid(group);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(group);
}

// What the system says of a failure, as a sentence.
QString systemReason(int cause)
{
    return qt_error_string(cause) + QLatin1Char('.');
}

std::function<bool(const QString &)> &folderCaseRule()
{
    static std::function<bool(const QString &)> rule;
    return rule;
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

bool folderIgnoresCase(const QString &folder, const QString &listed)
{
    if (folderCaseRule())
        return folderCaseRule()(folder);
    const QDir dir(folder);
    std::optional<QStringList> names;
    const auto folderNames = [&]() -> const QStringList & {
        if (!names)
            names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        return *names;
    };
    // Every letter of the name turned: a disk that tells letters apart finds nothing there,
    // unless the folder holds that spelling too, which tells nothing. Some drivers give
    // each spelling of one file a number of its own.
    const auto tell = [&](const QString &name) -> std::optional<bool> {
        QString other = name;
        for (QChar &c : other)
            c = c.isUpper() ? c.toLower() : c.toUpper();
        if (other == name)
            return std::nullopt;
        const std::optional<struct stat> found = statusOf(dir.filePath(other));
        if (!found)
            return false;
        const std::optional<struct stat> original = statusOf(dir.filePath(name));
        if (original && original->st_dev == found->st_dev && original->st_ino == found->st_ino)
            return true;
        if (folderNames().contains(other))
            return std::nullopt;
        return true;
    };
    if (const std::optional<bool> told = tell(listed))
        return *told;
    for (const QString &name : folderNames()) {
        if (const std::optional<bool> told = tell(name))
            return *told;
    }
    return false;
}

QString listedPath(const QString &path)
{
    const QFileInfo info(path);
    const QDir folder = info.absoluteDir();
    const QString name = info.fileName();
    const QStringList listed = folder.entryList({name}, QDir::Files | QDir::Hidden | QDir::System);
    if (!listed.contains(name)) {
        for (const QString &entry : listed)
            if (entry.compare(name, Qt::CaseInsensitive) == 0 && folderIgnoresCase(folder.path(), entry))
                return folder.filePath(entry);
    }
    return path;
}

void setFolderCaseRuleForTesting(std::function<bool(const QString &)> rule)
{
    folderCaseRule() = std::move(rule);
}

std::optional<WriteRefusal> writeRefusal(const QString &path, Replacing replacing)
{
    const std::optional<struct stat> status = statusOf(path);
    if (!status && errno == EACCES)
        return WriteRefusal{WriteRefusal::FolderDenied, QStringLiteral("The folder cannot be opened: permission denied.")};
    const QFileInfo target(path);
    if (!target.dir().exists())
        return WriteRefusal{WriteRefusal::NoFolder, QStringLiteral("The folder does not exist.")};
    if (status) {
        if (S_ISDIR(status->st_mode))
            return WriteRefusal{WriteRefusal::FolderInTheWay,
                                QStringLiteral("A folder of that name is in the way.")};
        if (!S_ISREG(status->st_mode))
            return WriteRefusal{
                WriteRefusal::NotAFile,
                QStringLiteral("It is a device, pipe or socket, not a file, and is left as it is.")};
        // Root may write it, but a file made in its place would not carry the mark.
        if (!(status->st_mode & S_IWUSR))
            return WriteRefusal{WriteRefusal::ReadOnly, QStringLiteral("The file is read-only.")};
        if (::access(QFile::encodeName(path).constData(), W_OK) != 0)
            return WriteRefusal{WriteRefusal::ReadOnly, systemReason(errno)};
    }
    // The file is made in the folder, or made there anew to take an earlier one's place.
    if (::access(QFile::encodeName(target.absolutePath()).constData(), W_OK) != 0) {
        const int cause = errno;
        if (!(status && replacing == Replacing::InPlaceToo && cause == EACCES))
            return WriteRefusal{WriteRefusal::FolderClosed,
                                QStringLiteral("The folder cannot be written to. ") + systemReason(cause)};
    }
    return std::nullopt;
}

KeptOwner::KeptOwner(const QString &path) : mPath(path)
{
    if (const std::optional<struct stat> status = statusOf(path); status && S_ISREG(status->st_mode))
        mOwner = {status->st_uid, status->st_gid};
}

void KeptOwner::restore() const
{
    if (!mOwner)
        return;
    // Let fail where this process may not give files away: the file is then its own.
    [[maybe_unused]] const int failed =
        ::chown(QFile::encodeName(mPath).constData(), uid_t(mOwner->first), gid_t(mOwner->second));
}

std::optional<QString> KeptOwner::giveTo(int handle) const
{
    if (!mOwner || ::fchown(handle, uid_t(mOwner->first), gid_t(mOwner->second)) == 0)
        return std::nullopt;
    const int cause = errno;
    if (cause != EPERM)
        return systemReason(cause);
    if (uid_t(mOwner->first) != ::geteuid())
        return QStringLiteral("It belongs to the user %1, and only %1 or an administrator may give a file to "
                              "that user.")
            .arg(userName(uid_t(mOwner->first)));
    return QStringLiteral("It belongs to the group %1, which you are not a member of.")
        .arg(groupName(gid_t(mOwner->second)));
}

} // namespace platform
