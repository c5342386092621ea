#include "platform/db/ReplacedFile.h"

#include "platform/RuntimeError.h"
#include "platform/base/FileKind.h"
#include "platform/db/DaoError.h"
#include "platform/db/DatabaseFile.h"

#include <QFile>
#include <QFileInfo>

#include <QtEndian>

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef Q_OS_LINUX
#include <sys/xattr.h>
#endif

namespace platform {

namespace {

bool meansDiskFull(int cause)
{
    return cause == ENOSPC || cause == EFBIG || cause == EDQUOT;
}

} // namespace

int dbfile::diskFullCause(sqlite3 *db)
{
    const int cause = db ? sqlite3_system_errno(db) : 0;
    return meansDiskFull(cause) ? cause : 0;
}

void dbfile::raiseNotWritten(const QString &file, int cause)
{
    if (meansDiskFull(cause))
        throw RuntimeError(err::DiskFull,
                           QStringLiteral("Not enough space on disk (%1).").arg(qt_error_string(cause)));
    throw RuntimeError(err::DiskError,
                       QStringLiteral("Could not write '%1' (%2).").arg(file, qt_error_string(cause)));
}

namespace {

using dbfile::raiseNotWritten;

void tell(ReplaceStep step, const QString &file)
{
    if (replaceStepObserver())
        replaceStepObserver()(step, file);
}

[[noreturn]] void raiseNotMade(const QString &file, int cause)
{
    throw RuntimeError(err::DiskError,
                       QStringLiteral("Could not create '%1' (%2).").arg(file, qt_error_string(cause)));
}

// The extended attribute that holds a file's access control list.
constexpr char AccessList[] = "system.posix_acl_access";

// The extended attributes of a file by name; none where the system keeps none.
QList<std::pair<QByteArray, QByteArray>> attributesOf(const QByteArray &file)
{
    QList<std::pair<QByteArray, QByteArray>> attributes;
#ifdef Q_OS_LINUX
    const ssize_t listSize = ::listxattr(file.constData(), nullptr, 0);
    if (listSize <= 0)
        return attributes;
    QByteArray names(listSize, '\0');
    const ssize_t listed = ::listxattr(file.constData(), names.data(), size_t(names.size()));
    for (const QByteArray &name : names.left(std::max<ssize_t>(listed, 0)).split('\0')) {
        if (name.isEmpty())
            continue;
        const ssize_t size = ::getxattr(file.constData(), name.constData(), nullptr, 0);
        if (size < 0)
            continue;
        QByteArray value(size, '\0');
        const ssize_t read =
            ::getxattr(file.constData(), name.constData(), value.data(), size_t(value.size()));
        if (read >= 0)
            attributes.append({name, value.left(read)});
    }
#else
    Q_UNUSED(file);
#endif
    return attributes;
}

// A new name or a rename in the folder reaches the disk before the next step relies on it.
void syncFolder(const QString &file)
{
    const int folder = ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    ::fsync(folder);
    ::close(folder);
}

} // namespace

bool &secondNamesRefused()
{
    static bool refused = false;
    return refused;
}

std::function<void(ReplaceStep, const QString &)> &replaceStepObserver()
{
    static std::function<void(ReplaceStep, const QString &)> observer;
    return observer;
}

ReplacedFile::ReplacedFile(const QString &path)
    : mPath(path), mReal(listedFile(path)), mOwner(std::make_unique<KeptOwner>(mReal))
{
    struct stat status;
    if (mReal.isEmpty() || ::stat(QFile::encodeName(mReal).constData(), &status) != 0)
        throw RuntimeError(err::DatabaseNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    mMode = status.st_mode & 07777;
    mUser = status.st_uid;
    mGroup = status.st_gid;
    mAttributes = attributesOf(QFile::encodeName(mReal));
}

ReplacedFile::~ReplacedFile() = default;

void ReplacedFile::makeOwnersOnly(const QString &file) const
{
    const QByteArray name = QFile::encodeName(file);
    const int handle = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (handle < 0)
        raiseNotMade(file, errno);
    std::optional<QString> refusal = mOwner->giveTo(handle);
    ::close(handle);
    // The user's own file, of a group they are not in: kept from a group that may not use
    // the file, the group protects nobody. The copy keeps the group a new file of theirs
    // gets there.
    const bool ownGroupRefused = refusal && mUser == ::geteuid();
    if (ownGroupRefused && !groupMayUse())
        refusal.reset();
    else if (ownGroupRefused)
        refusal = *refusal + QStringLiteral(" An administrator can give the file to one of your groups for "
                                            "the work to go on.");
    if (refusal) {
        ::unlink(name.constData());
        throw RuntimeError(
            err::NotUpdatable,
            QStringLiteral("A new copy of the database '%1' could not keep its owner and group. "
                           "%2 Nothing was changed.")
                .arg(mPath, *refusal));
    }
}

bool ReplacedFile::groupMayUse() const
{
    const auto list = std::find_if(mAttributes.cbegin(), mAttributes.cend(),
                                   [](const auto &attribute) { return attribute.first == AccessList; });
    if (list == mAttributes.cend())
        return (mMode & 070) != 0;
    // The list as the system stores it: a version, then entries of a kind, permissions and
    // the user or group they name. With a mask, the mask bounds every group's permissions.
    enum : quint16 { GroupOwning = 0x04, GroupNamed = 0x08, Mask = 0x10 };
    const QByteArray &value = list->second;
    struct Entry {
        quint16 kind, permissions;
        quint32 id;
    };
    QList<Entry> entries;
    for (qsizetype at = 4; at + 8 <= value.size(); at += 8)
        entries.append({qFromLittleEndian<quint16>(value.constData() + at),
                        qFromLittleEndian<quint16>(value.constData() + at + 2),
                        qFromLittleEndian<quint32>(value.constData() + at + 4)});
    quint16 mask = 07;
    for (const Entry &entry : entries)
        if (entry.kind == Mask)
            mask = entry.permissions;
    return std::any_of(entries.cbegin(), entries.cend(), [&](const Entry &entry) {
        return (entry.kind == GroupOwning || (entry.kind == GroupNamed && entry.id == mGroup)) &&
               (entry.permissions & mask) != 0;
    });
}

void ReplacedFile::givePermissions(const QString &file) const
{
    const QByteArray name = QFile::encodeName(file);
#ifdef Q_OS_LINUX
    // A list the copy took from its folder's default, where the file had none, would widen it.
    if (std::none_of(mAttributes.cbegin(), mAttributes.cend(),
                     [](const auto &attribute) { return attribute.first == AccessList; }))
        ::removexattr(name.constData(), AccessList);
#endif
    // Should this fail, the file stays its owner's alone, never wider than it was.
    ::chmod(name.constData(), mMode);
#ifdef Q_OS_LINUX
    // After the mode, which would otherwise overwrite the list's mask. An attribute the
    // disk or this user may not set (another security module's label, say) is passed over.
    for (const auto &[attribute, value] : mAttributes)
        ::setxattr(name.constData(), attribute.constData(), value.constData(), size_t(value.size()), 0);
#endif
}

QString ReplacedFile::makeWorkFile(const QString &what) const
{
    const QString file = dbfile::freshSidePath(mReal, what);
    makeOwnersOnly(file);
    tell(ReplaceStep::WorkFileMade, file);
    return file;
}

ReplacedFile::Backup ReplacedFile::keepBackup() const
{
    const QByteArray real = QFile::encodeName(mReal);
    struct stat original;
    if (::stat(real.constData(), &original) != 0)
        throw RuntimeError(err::DatabaseNotFound, QStringLiteral("Could not find file '%1'.").arg(mPath));
    Backup backup{mReal + QLatin1String(".bak"), true};
    for (int n = 2;; ++n) {
        struct stat taken;
        if (::lstat(QFile::encodeName(backup.path).constData(), &taken) != 0)
            break;
        if (S_ISREG(taken.st_mode) && taken.st_dev == original.st_dev && taken.st_ino == original.st_ino) {
            backup.made = false;
            return backup;
        }
        backup.path = mReal + QStringLiteral(".bak%1").arg(n);
    }
    const QByteArray name = QFile::encodeName(backup.path);
    int linked = -1;
    if (secondNamesRefused())
        errno = EPERM;
    else
        linked = ::link(real.constData(), name.constData());
    if (linked != 0) {
        const int cause = errno;
        if (cause != EPERM && cause != EOPNOTSUPP && cause != EXDEV && cause != EMLINK)
            raiseNotMade(backup.path, cause);
        // No second names here (a network share, a disk of another system): a copy, the
        // owner's alone until it is whole, under a work name until then, so that a copy cut
        // short is never taken for the backup.
        const QString work = makeWorkFile(dbfile::BackupWork);
        try {
            copyFileInto(mReal, work, true);
            dbfile::renameOver(work, backup.path);
        } catch (...) {
            QFile::remove(work);
            throw;
        }
        givePermissions(backup.path);
    }
    syncFolder(backup.path);
    tell(ReplaceStep::BackupKept, backup.path);
    return backup;
}

void ReplacedFile::takePlace(const QString &copy) const
{
    dbfile::renameOver(copy, mReal);
    syncFolder(mReal);
    tell(ReplaceStep::CopyInPlace, mReal);
    givePermissions(mReal);
}

void copyFileInto(const QString &from, const QString &to, bool durable)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        throw RuntimeError(err::DiskError,
                           QStringLiteral("Could not read '%1' (%2).").arg(from, source.errorString()));
    // Written straight to the system, which tells why a write failed.
    const int target = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (target < 0)
        raiseNotWritten(to, errno);
    const auto fail = [&](int cause) {
        ::close(target);
        raiseNotWritten(to, cause);
    };
    for (;;) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty())
            break;
        for (qsizetype written = 0; written < block.size();) {
            const ssize_t n = ::write(target, block.constData() + written, size_t(block.size() - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                fail(n < 0 ? errno : ENOSPC);
            written += n;
        }
    }
    if (durable && ::fsync(target) != 0)
        fail(errno);
    if (::close(target) != 0 && errno != EINTR)
        raiseNotWritten(to, errno);
    if (source.error() != QFileDevice::NoError)
        throw RuntimeError(err::DiskError, QStringLiteral("Could not copy '%1' to '%2'.").arg(from, to));
}

} // namespace platform
