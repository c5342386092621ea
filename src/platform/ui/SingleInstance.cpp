#include "platform/ui/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>

#include <QLockFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace platform {

namespace {
const QByteArray comeForwardRequest = "come forward\n";

QString lockPath(const QString &key)
{
    return QDir(QDir::tempPath()).filePath(key + QStringLiteral(".lock"));
}

// Where the server listens. The user's runtime folder is the user's alone, so a server
// there needs no access rights of its own, which the server otherwise sets up through
// a folder of its own at every start.
QString serverPath(const QString &key)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? key : QDir(runtime).filePath(key);
}
} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent), mKey(key), mLockPath(lockPath(key))
{
}

SingleInstance::~SingleInstance()
{
    if (mServer)
        mServer->close();
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
    if (!file->tryLock(0))
        return false;
    mLockFile = std::move(file);
    return true;
#else
    const int handle = ::open(QFile::encodeName(mLockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (handle < 0)
        return false;
    if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
        ::close(handle);
        return false;
    }
    mLockHandle = handle;
    return true;
#endif
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
    user.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")));
    return QStringLiteral("Quiltern3-") + user;
}

bool SingleInstance::tryToRun()
{
    if (mLockHandle >= 0 || mLockFile)
        return true;
    if (!takeLock())
        return false;
    mServer = std::make_unique<QLocalServer>();
    const QString path = serverPath(mKey);
    // We hold the lock, so a server file left behind by a crash is nobody's.
    QLocalServer::removeServer(path);
    if (path == mKey)
        mServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (mServer->listen(path))
        connect(mServer.get(), &QLocalServer::newConnection, this, &SingleInstance::readRequests);
    return true;
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

} // namespace platform
