#include "platform/base/FileKind.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <dirent.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef Q_OS_LINUX
#include <sys/vfs.h>
#endif

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

namespace {

// Whether the folder lies on a file system that tells letters apart in every folder, or
// keeps one number per file in those that do not (ext4's case-folding ones): no spelling
// there needs looking up. Each folder is asked, as another disk may be mounted on any.
bool tellsLettersApart(const QString &folder)
{
#ifdef Q_OS_LINUX
    struct statfs system;
    if (::statfs(QFile::encodeName(folder).constData(), &system) != 0)
        return false;
    switch (static_cast<unsigned long>(system.f_type) & 0xFFFFFFFFul) {
    case 0xEF53:     // ext2, ext3, ext4
    case 0x58465342: // XFS
    case 0x9123683E: // Btrfs
    case 0x01021994: // tmpfs
    case 0x858458F6: // ramfs
    case 0x794C7630: // overlayfs
        return true;
    default:
        return false;
    }
#else
    Q_UNUSED(folder);
    return false;
#endif
}

// The name the folder holds for `name`: `name` itself where it is listed so (or the folder
// may not be read), else the entry spelt in other letters where the folder's disk ignores
// case. Nothing when the folder holds no such name.
std::optional<QString> folderEntry(const QString &folder, const QString &name)
{
    if (!folderCaseRule() && tellsLettersApart(folder))
        return name;
    DIR *listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing)
        return errno == ENOENT || errno == ENOTDIR ? std::nullopt : std::optional<QString>(name);
    const QByteArray wanted = QFile::encodeName(name);
    std::optional<QString> found;
    // Looked for as it is first: on most disks that is all there is to do.
    while (const dirent *entry = ::readdir(listing)) {
        if (wanted == entry->d_name) {
            found = name;
            break;
        }
    }
    if (!found) {
        ::rewinddir(listing);
        while (const dirent *entry = ::readdir(listing)) {
            const QString other = QFile::decodeName(entry->d_name);
            if (other.compare(name, Qt::CaseInsensitive) == 0 && folderIgnoresCase(folder, other)) {
                found = other;
                break;
            }
        }
    }
    ::closedir(listing);
    return found;
}

} // namespace

QString listedPath(const QString &path)
{
    if (path.isEmpty())
        return path;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // Each name is looked up in the folder spelled as listed so far: another spelling of a
    // folder on the way is another number to such a driver, whose files are not this one's.
    QString listed;
    bool changed = false;
    const QStringList parts = absolute.split(QLatin1Char('/'));
    for (qsizetype at = 0; at < parts.size(); ++at) {
        const QString &part = parts[at];
        QString spelled = part;
        if (at > 0 && !part.isEmpty() && part != QLatin1String(".") && part != QLatin1String("..")) {
            const std::optional<QString> entry =
                folderEntry(listed.isEmpty() ? QStringLiteral("/") : listed, part);
            // A name the folder does not hold leaves nothing further to look up.
            if (!entry) {
                listed += QLatin1Char('/') + parts.mid(at).join(QLatin1Char('/'));
                break;
            }
            spelled = *entry;
            changed = changed || spelled != part;
        }
        if (at > 0)
            listed += QLatin1Char('/');
        listed += spelled;
    }
    return changed ? listed : path;
}

QString listedFile(const QString &path)
{
    const QString listed = listedPath(path);
    const QString real = QFileInfo(listed).canonicalFilePath();
    // A link's target may be spelt otherwise than its folders list it.
    return real.isEmpty() ? listed : real == listed ? real : listedPath(real);
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
