#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;
class QSocketNotifier;
class QWidget;

namespace platform {

// Keeps a second copy of the program from running. The first copy holds a lock on a file
// and listens on a local server of the same name; a later copy finds the lock taken,
// tells the first copy to come forward, and ends. The lock is the system's own lock on
// the open file: it goes with the process that held it, however that process ended.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // key names the lock and the server; each user gets their own.
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only copy; it then keeps the lock until destroyed. When no lock
    // can be had at all (the temporary folder is missing or may not be written), whether
    // another copy runs cannot be told: a RuntimeError then names the folder and why.
    bool tryToRun();
    // Asks the copy that holds the lock to come forward; false when none answers.
    bool bringRunningCopyForward();

    static QString defaultKey();

    // What the running copy does when asked: shows the window normally and brings it up.
    static void comeForward(QWidget *window);

  signals:
    // In the running copy: another copy asked it to come forward.
    void comeForwardRequested();

  private:
    void readRequests();
    bool takeLock();
    [[noreturn]] void raiseLockUnusable(int cause) const;
    void releaseLock();
    bool listen(const QString &path);
    void stopListening();

    QString mKey;
    QString mLockPath;
    int mLockHandle = -1;                 // where the system locks open files
    std::unique_ptr<QLockFile> mLockFile; // elsewhere
#ifdef Q_OS_UNIX
    // The server as a socket of the system's own: the program then needs no network library,
    // whose loading each start would pay for.
    int mServerHandle = -1;
    QString mServerPath;
    std::unique_ptr<QSocketNotifier> mServerNotifier;
#else
    std::unique_ptr<QLocalServer> mServer;
#endif
};

} // namespace platform
