#include "platform/db/FileUseLock.h"

#include <QFile>

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

} // namespace

FileUseLock::~FileUseLock()
{
    release();
}

FileUseLock::FileUseLock(FileUseLock &&other) noexcept : mHandle(std::exchange(other.mHandle, -1)) {}

FileUseLock &FileUseLock::operator=(FileUseLock &&other) noexcept
{
    if (this != &other) {
        release();
        mHandle = std::exchange(other.mHandle, -1);
    }
    return *this;
}

FileUseLock::Result FileUseLock::take(const QString &path, bool alone)
{
    release();
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    // A file replaced between opening and marking it (a password change that just
    // finished elsewhere) is marked again at its new self.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int handle = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
        if (handle < 0)
            return Result::Unavailable;
        if (onNetworkShare(handle)) {
            ::close(handle);
            return Result::Unavailable;
        }
        int rc;
        do {
            rc = ::flock(handle, (alone ? LOCK_EX : LOCK_SH) | LOCK_NB);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            const bool busy = errno == EWOULDBLOCK;
            ::close(handle);
            return busy ? Result::InUse : Result::Unavailable;
        }
        struct stat held, named;
        if (::fstat(handle, &held) == 0 && ::stat(name.constData(), &named) == 0 && held.st_dev == named.st_dev &&
            held.st_ino == named.st_ino) {
            mHandle = handle;
            return Result::Held;
        }
        ::close(handle);
    }
    return Result::InUse;
#else
    Q_UNUSED(path);
    Q_UNUSED(alone);
    return Result::Held;
#endif
}

void FileUseLock::release()
{
#ifdef Q_OS_UNIX
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
