#include "platform/ui/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QWidget>

namespace platform {

namespace {
const QByteArray comeForwardRequest = "come forward\n";

QString lockPath(const QString &key)
{
    return QDir(QDir::tempPath()).filePath(key + QStringLiteral(".lock"));
}
} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent), mKey(key), mLock(lockPath(key))
{
    // A running copy holds the lock however long it runs; one left by a copy that died
    // is stale (QLockFile checks whether its process still exists).
    mLock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (mServer)
        mServer->close();
    if (mLock.isLocked())
        mLock.unlock();
}

QString SingleInstance::defaultKey()
{
    QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    user.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")));
    return QStringLiteral("Quiltern3-") + user;
}

bool SingleInstance::tryToRun()
{
    if (mLock.isLocked())
        return true;
    if (!mLock.tryLock(0))
        return false;
    mServer = std::make_unique<QLocalServer>();
    // We hold the lock, so a server file left behind by a crash is nobody's.
    QLocalServer::removeServer(mKey);
    mServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (mServer->listen(mKey))
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
    socket.connectToServer(mKey);
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(comeForwardRequest);
    const bool written = socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return written;
}

} // namespace platform
