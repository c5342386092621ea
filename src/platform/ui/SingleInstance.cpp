#include "platform/ui/SingleInstance.h"

#include "platform/RuntimeError.h"
#include "platform/base/FileKind.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>
#else
#include <QLocalServer>
#include <QLocalSocket>
#endif

namespace platform {

namespace {
const QByteArray comeForwardRequest = "come forward\n";

// The system's temporary folder, as TMPDIR names it. Qt names none where that folder is
// missing, and a lock made relative to nothing would land in the current folder.
QString temporaryFolder()
{
    const QString temp = QDir::tempPath();
    if (!temp.isEmpty())
        return temp;
    const QString named = qEnvironmentVariable("TMPDIR");
    return QFileInfo(named.isEmpty() ? QStringLiteral("/tmp") : named).absoluteFilePath();
}

QString lockPath(const QString &key)
{
    return QDir(temporaryFolder()).filePath(key + QStringLiteral(".lock"));
}

// Where the server listens. The user's runtime folder is the user's alone, so a server
// there needs no access rights of its own, which the server otherwise sets up through
// a folder of its own at every start.
QString serverPath(const QString &key)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
#ifdef Q_OS_UNIX
    return QDir(runtime.isEmpty() ? temporaryFolder() : runtime).filePath(key);
#else
    return runtime.isEmpty() ? key : QDir(runtime).filePath(key);
#endif
}

#ifdef Q_OS_UNIX
// A request longer than this is nobody's we know.
constexpr qsizetype LongestRequest = 64;

// False when the path does not fit a local socket's address.
bool localAddress(const QString &path, sockaddr_un &address)
{
    const QByteArray name = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    return true;
}
#endif
} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent), mKey(key), mLockPath(lockPath(key))
{
}

SingleInstance::~SingleInstance()
{
    stopListening();
    releaseLock();
}

// A lock file that writes who holds it and syncs that to disk costs a start-up several
// milliseconds, and far more while the disk is busy; the system's lock on the open file
// needs neither, and a copy that died leaves no stale lock behind.
bool SingleInstance::takeLock()
{
#ifndef Q_OS_UNIX
    auto file = std::make_unique<QLockFile>(mLockPath);
    file->setStaleLockTime(0);
    if (!file->tryLock(0)) {
        if (file->error() == QLockFile::LockFailedError)
            return false;
        raiseLockUnusable(0);
    }
    mLockFile = std::move(file);
    return true;
#else
    const int handle = ::open(QFile::encodeName(mLockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (handle < 0)
        raiseLockUnusable(errno);
    int rc;
    do {
        rc = ::flock(handle, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int cause = errno;
        ::close(handle);
        // Only a lock another process holds tells of another copy.
        if (cause == EWOULDBLOCK)
            return false;
        raiseLockUnusable(cause);
    }
    mLockHandle = handle;
    return true;
#endif
}

void SingleInstance::raiseLockUnusable(int cause) const
{
    const std::optional<WriteRefusal> refusal = writeRefusal(mLockPath);
    const QString reason = refusal ? refusal->reason
                           : cause ? qt_error_string(cause) + QLatin1Char('.')
                                   : QStringLiteral("The lock file cannot be made there.");
    // The lock file itself may be what is in the way: one of another user's, or no file.
    const bool lockFile =
        refusal && (refusal->cause == WriteRefusal::FolderInTheWay ||
                    refusal->cause == WriteRefusal::NotAFile || refusal->cause == WriteRefusal::ReadOnly);
    const QString what =
        lockFile
            ? QStringLiteral("The lock file '%1', which keeps a second copy of the program from running, "
                             "cannot be used.  ")
                  .arg(mLockPath)
            : QStringLiteral("The temporary folder '%1' cannot be used for the lock that keeps a second copy "
                             "of the program from running.  ")
                  .arg(QFileInfo(mLockPath).path());
    const bool missing =
        (refusal && refusal->cause == WriteRefusal::NoFolder) || cause == ENOENT || cause == ENOTDIR;
    throw RuntimeError(missing ? err::PathNotFound : err::PathFileAccess, what + reason);
}

void SingleInstance::releaseLock()
{
    mLockFile.reset();
#ifdef Q_OS_UNIX
    if (mLockHandle < 0)
        return;
    // The file stays: removing it could let a copy that opened it just before lock a
    // file nobody else will ever find.
    ::flock(mLockHandle, LOCK_UN);
    ::close(mLockHandle);
    mLockHandle = -1;
#endif
}

QString SingleInstance::defaultKey()
{
    QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
#ifdef Q_OS_UNIX
    // Started without USER (by a service, say), a copy still keeps to its user's own lock:
    // another user's is not its to take, and tells nothing of its own copies.
    if (user.isEmpty()) {
        const passwd *entry = ::getpwuid(::geteuid());
        user = entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(::geteuid());
    }
#endif
    user.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")));
    return QStringLiteral("Quiltern3-") + user;
}

bool SingleInstance::tryToRun()
{
    if (mLockHandle >= 0 || mLockFile)
        return true;
    if (!takeLock())
        return false;
    // A copy that cannot listen still runs; a later copy is then refused without bringing
    // this one forward.
    listen(serverPath(mKey));
    return true;
}

#ifdef Q_OS_UNIX
bool SingleInstance::listen(const QString &path)
{
    sockaddr_un address;
    if (!localAddress(path, address))
        return false;
    const int handle = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (handle < 0)
        return false;
    // We hold the lock, so a server file left behind by a crash is nobody's. The socket is
    // the user's alone before anyone can connect to it.
    ::unlink(address.sun_path);
    if (::bind(handle, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
        ::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(handle, 8) != 0) {
        ::close(handle);
        return false;
    }
    mServerHandle = handle;
    mServerPath = path;
    mServerNotifier = std::make_unique<QSocketNotifier>(handle, QSocketNotifier::Read);
    connect(mServerNotifier.get(), &QSocketNotifier::activated, this, &SingleInstance::readRequests);
    return true;
}

void SingleInstance::stopListening()
{
    if (mServerHandle < 0)
        return;
    mServerNotifier.reset();
    ::close(mServerHandle);
    mServerHandle = -1;
    ::unlink(QFile::encodeName(mServerPath).constData());
}

void SingleInstance::readRequests()
{
    for (;;) {
        const int client = ::accept4(mServerHandle, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        // Each caller writes one line and hangs up; it is read as it comes, without waiting.
        auto *notifier = new QSocketNotifier(client, QSocketNotifier::Read, this);
        auto received = std::make_shared<QByteArray>();
        connect(notifier, &QSocketNotifier::activated, this, [this, notifier, client, received] {
            bool ended = false;
            for (;;) {
                char buffer[LongestRequest];
                const ssize_t count = ::read(client, buffer, sizeof buffer);
                if (count > 0) {
                    received->append(buffer, count);
                    ended = received->contains('\n') || received->size() > LongestRequest;
                    if (ended)
                        break;
                    continue;
                }
                if (count < 0 && errno == EINTR)
                    continue;
                ended = count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
                break;
            }
            if (!ended)
                return;
            notifier->setEnabled(false);
            notifier->deleteLater();
            ::close(client);
            if (*received == comeForwardRequest)
                emit comeForwardRequested();
        });
    }
}

bool SingleInstance::bringRunningCopyForward()
{
    sockaddr_un address;
    if (!localAddress(serverPath(mKey), address))
        return false;
    const int handle = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (handle < 0)
        return false;
    // A copy too busy to take the call within a second is not waited for.
    const timeval limit{1, 0};
    ::setsockopt(handle, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    bool told = ::connect(handle, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    if (told)
        told = ::send(handle, comeForwardRequest.constData(), std::size_t(comeForwardRequest.size()),
                      MSG_NOSIGNAL) == comeForwardRequest.size();
    ::close(handle);
    return told;
}
#else
bool SingleInstance::listen(const QString &path)
{
    mServer = std::make_unique<QLocalServer>();
    QLocalServer::removeServer(path);
    if (path == mKey)
        mServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!mServer->listen(path))
        return false;
    connect(mServer.get(), &QLocalServer::newConnection, this, &SingleInstance::readRequests);
    return true;
}

void SingleInstance::stopListening()
{
    if (mServer)
        mServer->close();
}

void SingleInstance::readRequests()
{
    while (QLocalSocket *socket = mServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto handle = [this, socket] {
            if (socket->canReadLine() && socket->readLine() == comeForwardRequest)
                emit comeForwardRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, handle);
        handle();
    }
}

bool SingleInstance::bringRunningCopyForward()
{
    QLocalSocket socket;
    socket.connectToServer(serverPath(mKey));
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(comeForwardRequest);
    const bool written = socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return written;
}
#endif

void SingleInstance::comeForward(QWidget *window)
{
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace platform
