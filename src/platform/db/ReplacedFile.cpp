#include "platform/db/ReplacedFile.h"

#include "platform/RuntimeError.h"
#include "platform/base/FileKind.h"
#include "platform/db/DaoError.h"
#include "platform/db/DatabaseFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

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

std::function<void(ReplaceStep, const QString &)> &replaceStepObserver()
{
    static std::function<void(ReplaceStep, const QString &)> observer;
    return observer;
}

ReplacedFile::ReplacedFile(const QString &path)
    : mPath(path), mReal(QFileInfo(path).canonicalFilePath()), mOwner(std::make_unique<KeptOwner>(mReal))
{
    struct stat status;
    if (mReal.isEmpty() || ::stat(QFile::encodeName(mReal).constData(), &status) != 0)
        throw RuntimeError(err::DatabaseNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    mMode = status.st_mode & 07777;
}

ReplacedFile::~ReplacedFile() = default;

void ReplacedFile::makeOwnersOnly(const QString &file) const
{
    const QByteArray name = QFile::encodeName(file);
    const int handle = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (handle < 0)
        raiseNotMade(file, errno);
    const std::optional<QString> refusal = mOwner->giveTo(handle);
    ::close(handle);
    if (refusal) {
        ::unlink(name.constData());
        throw RuntimeError(
            err::NotUpdatable,
            QStringLiteral("A new copy of the database '%1' could not keep its owner and group. "
                           "%2 Nothing was changed.")
                .arg(mPath, *refusal));
    }
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
    if (::link(real.constData(), name.constData()) != 0) {
        const int cause = errno;
        if (cause != EPERM && cause != EOPNOTSUPP && cause != EXDEV && cause != EMLINK)
            raiseNotMade(backup.path, cause);
        // No second names here (a network share, a disk of another system): a copy, the
        // owner's alone until it is whole.
        makeOwnersOnly(backup.path);
        try {
            copyFileInto(mReal, backup.path, true);
        } catch (...) {
            ::unlink(name.constData());
            throw;
        }
        ::chmod(name.constData(), mMode);
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
    // Should this fail, the file stays its owner's alone, never wider than it was.
    ::chmod(QFile::encodeName(mReal).constData(), mMode);
}

void copyFileInto(const QString &from, const QString &to, bool durable)
{
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly))
        throw RuntimeError(err::DiskError,
                           QStringLiteral("Could not read '%1' (%2).").arg(from, source.errorString()));
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw RuntimeError(err::DiskError,
                           QStringLiteral("Could not write '%1' (%2).").arg(to, target.errorString()));
    for (;;) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty())
            break;
        if (target.write(block) != block.size())
            throw RuntimeError(err::DiskError,
                               QStringLiteral("Could not write '%1' (%2).").arg(to, target.errorString()));
    }
    if (source.error() != QFileDevice::NoError || !target.flush() ||
        (durable && ::fsync(target.handle()) != 0))
        throw RuntimeError(err::DiskError, QStringLiteral("Could not copy '%1' to '%2'.").arg(from, to));
}

} // namespace platform
