#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QWidget;

namespace platform {

// Keeps a second copy of the program from running. The first copy holds a lock file and
// listens on a local server of the same name; a later copy finds the lock taken, tells
// the first copy to come forward, and ends.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // key names the lock and the server; each user gets their own.
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only copy; it then keeps the lock until destroyed.
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

    QString mKey;
    QLockFile mLock;
    std::unique_ptr<QLocalServer> mServer;
};

} // namespace platform
