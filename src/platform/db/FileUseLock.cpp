#include "platform/db/FileUseLock.h"

#include "platform/base/FileKind.h"

#include <QFile>
#include <QMutex>

#include <map>
#include <utility>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/vfs.h>
#endif

namespace platform {

namespace {

// A network file system turns the mark into a lock on the whole file, which would stand in
// the way of SQLite's own locks in other programs: there the file goes unmarked.
bool onNetworkShare(int handle)
{
#ifdef Q_OS_LINUX
    struct statfs system;
    if (::fstatfs(handle, &system) != 0)
        return false;
    switch (static_cast<unsigned long>(system.f_type) & 0xFFFFFFFFul) {
    case 0x6969:     // NFS
    case 0x517B:     // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
        return true;
    default:
        return false;
    }
#else
    Q_UNUSED(handle);
    return false;
#endif
}

#ifdef Q_OS_UNIX
// The copy's hold is a lock on one byte far past anything the engine reads or locks, taken
// through a handle of its own (a lock of the open file, not of the process, so that no other
// handle closing on the file drops it); on a network share too, where it takes no part in
// the engine's locks either. Each file has one such handle in a copy, which every open of
// the file there counts in.
constexpr off_t HoldByte = off_t(1) << 62;

struct CopyHold {
    int handle = -1;
    bool writable = false; // the handle may write, so may hold the file as a writer
    short type = F_UNLCK;
    int writers = 0, readers = 0;
};

// Marks are let go by databases that close while the program's statics are destroyed (a
// library that calls exit() with a book open): the holds they count in are never destroyed.
Q_CONSTINIT QBasicMutex copyHoldsMutex;

std::map<std::pair<quint64, quint64>, CopyHold> &copyHolds()
{
    static auto *holds = new std::map<std::pair<quint64, quint64>, CopyHold>;
    return *holds;
}

// 0, or what the system said.
int setHold(int handle, short type)
{
#ifdef F_OFD_SETLK
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = HoldByte;
    lock.l_len = 1;
    int rc;
    do {
        rc = ::fcntl(handle, F_OFD_SETLK, &lock);
    } while (rc != 0 && errno == EINTR);
    return rc == 0 ? 0 : errno;
#else
    Q_UNUSED(handle);
    Q_UNUSED(type);
    return ENOSYS;
#endif
}

bool sameFile(int handle, const struct stat &file)
{
    struct stat other;
    return ::fstat(handle, &other) == 0 && other.st_dev == file.st_dev && other.st_ino == file.st_ino;
}
#endif

} // namespace

FileUseLock::~FileUseLock()
{
    release();
}

FileUseLock::FileUseLock(FileUseLock &&other) noexcept
    : mHandle(std::exchange(other.mHandle, -1)), mHeld(std::exchange(other.mHeld, std::nullopt))
{
}

FileUseLock &FileUseLock::operator=(FileUseLock &&other) noexcept
{
    if (this != &other) {
        release();
        mHandle = std::exchange(other.mHandle, -1);
        mHeld = std::exchange(other.mHeld, std::nullopt);
    }
    return *this;
}

FileUseLock::Result FileUseLock::take(const QString &path, bool alone, bool writing)
{
    release();
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(listedFile(path));
    // A file replaced between opening and marking it (a password change that just
    // finished elsewhere) is marked again at its new self.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int handle = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
        if (handle < 0)
            return Result::Unavailable;
        const bool network = onNetworkShare(handle);
        int rc = 0;
        do {
            rc = network ? 0 : ::flock(handle, (alone ? LOCK_EX : LOCK_SH) | LOCK_NB);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            const bool busy = errno == EWOULDBLOCK;
            ::close(handle);
            return busy ? Result::InUse : Result::Unavailable;
        }
        struct stat named;
        if (::stat(name.constData(), &named) != 0 || !sameFile(handle, named)) {
            ::close(handle);
            continue;
        }
        if (!holdCopy(name, named, writing)) {
            ::close(handle);
            return Result::InUse;
        }
        if (network) {
            ::close(handle);
            return Result::Unavailable;
        }
        mHandle = handle;
        return Result::Held;
    }
    return Result::InUse;
#else
    Q_UNUSED(path);
    Q_UNUSED(alone);
    Q_UNUSED(writing);
    return Result::Held;
#endif
}

bool FileUseLock::holdCopy(const QByteArray &name, const struct stat &file, bool writing)
{
#ifdef Q_OS_UNIX
    const std::pair<quint64, quint64> key{quint64(file.st_dev), quint64(file.st_ino)};
    const QMutexLocker lock(&copyHoldsMutex);
    CopyHold &hold = copyHolds()[key];
    if (hold.handle < 0) {
        // Opened for writing where this user may, so that a later open of this copy that
        // writes holds the file as a writer too.
        for (const int mode : {O_RDWR, O_RDONLY}) {
            hold.handle = ::open(name.constData(), mode | O_CLOEXEC);
            if (hold.handle >= 0 && !sameFile(hold.handle, file))
                ::close(std::exchange(hold.handle, -1));
            hold.writable = mode == O_RDWR;
            if (hold.handle >= 0)
                break;
        }
        if (hold.handle < 0) {
            // Replaced this very moment: what the file now is gets the next open's hold.
            copyHolds().erase(key);
            return true;
        }
    }
    const short type = (writing || hold.writers > 0) && hold.writable ? F_WRLCK : F_RDLCK;
    if (type != hold.type) {
        const int failure = setHold(hold.handle, type);
        if (failure == EAGAIN || failure == EACCES) {
            if (hold.writers + hold.readers == 0) {
                ::close(hold.handle);
                copyHolds().erase(key);
            }
            return false;
        }
        // A disk that takes no locks leaves the file unheld, as it always was there.
        hold.type = failure == 0 ? type : hold.type;
    }
    ++(writing ? hold.writers : hold.readers);
    mHeld = Held{key.first, key.second, writing};
#else
    Q_UNUSED(name);
    Q_UNUSED(file);
    Q_UNUSED(writing);
#endif
    return true;
}

void FileUseLock::releaseCopy()
{
#ifdef Q_OS_UNIX
    if (!mHeld)
        return;
    const QMutexLocker lock(&copyHoldsMutex);
    const auto held = copyHolds().find({mHeld->device, mHeld->inode});
    if (held != copyHolds().end()) {
        CopyHold &hold = held->second;
        --(mHeld->writing ? hold.writers : hold.readers);
        if (hold.writers + hold.readers == 0) {
            ::close(hold.handle);
            copyHolds().erase(held);
        } else if (hold.writers == 0 && hold.type == F_WRLCK && setHold(hold.handle, F_RDLCK) == 0) {
            hold.type = F_RDLCK;
        }
    }
    mHeld.reset();
#endif
}

void FileUseLock::keepCopyHoldOnly()
{
#ifdef Q_OS_UNIX
    if (mHandle >= 0)
        ::close(std::exchange(mHandle, -1));
#endif
}

void FileUseLock::release()
{
#ifdef Q_OS_UNIX
    releaseCopy();
    if (mHandle >= 0)
        ::close(std::exchange(mHandle, -1));
#endif
}

QString otherProgramUsing(const QString &path)
{
#ifdef Q_OS_LINUX
    struct stat target;
    if (::stat(QFile::encodeName(path).constData(), &target) != 0)
        return QString();
    const QByteArray self = QByteArray::number(qint64(::getpid()));
    DIR *processes = ::opendir("/proc");
    if (!processes)
        return QString();
    QString found;
    while (found.isEmpty()) {
        const dirent *process = ::readdir(processes);
        if (!process)
            break;
        const QByteArray pid(process->d_name);
        if (pid == self || pid.isEmpty() || pid.front() < '0' || pid.front() > '9')
            continue;
        const QByteArray descriptors = "/proc/" + pid + "/fd";
        // Another user's processes cannot be looked into; the program's own mark still
        // tells of its copies run by other users.
        DIR *open = ::opendir(descriptors.constData());
        if (!open)
            continue;
        while (const dirent *entry = ::readdir(open)) {
            struct stat file;
            if (entry->d_name[0] == '.' ||
                ::stat((descriptors + '/' + entry->d_name).constData(), &file) != 0 ||
                file.st_dev != target.st_dev || file.st_ino != target.st_ino)
                continue;
            QFile comm(QString::fromLatin1("/proc/" + pid + "/comm"));
            const QString program =
                comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed() : QString();
            found = (program.isEmpty() ? QStringLiteral("process ") : program + QStringLiteral(", process ")) +
                    QString::fromLatin1(pid);
            break;
        }
        ::closedir(open);
    }
    ::closedir(processes);
    return found;
#else
    Q_UNUSED(path);
    return QString();
#endif
}

} // namespace platform
