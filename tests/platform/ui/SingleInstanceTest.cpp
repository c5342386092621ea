#include "platform/ui/SingleInstance.h"

#include "platform/RuntimeError.h"
#include "support/FileBytes.h"
#include "support/Unprivileged.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <cstring>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

using namespace platform;

namespace {
QString uniqueKey(const char *test)
{
    return QStringLiteral("quiltern-test-%1-%2-%3")
        .arg(test)
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch());
}
} // namespace

TEST(SingleInstanceGuard, SecondCopyIsRefusedAndTheFirstComesForward)
{
    const QString key = uniqueKey("second");
    SingleInstance first(key);
    ASSERT_TRUE(first.tryToRun());
    QSignalSpy forward(&first, &SingleInstance::comeForwardRequested);

    SingleInstance second(key);
    EXPECT_FALSE(second.tryToRun());
    EXPECT_TRUE(second.bringRunningCopyForward());
    EXPECT_TRUE(forward.count() == 1 || forward.wait(5000));
    EXPECT_EQ(forward.count(), 1);
}

TEST(SingleInstanceGuard, ComingForwardShowsAMinimisedWindowAgain)
{
    QWidget window;
    window.showMinimized();
    SingleInstance::comeForward(&window);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
    SingleInstance::comeForward(nullptr);
}

TEST(SingleInstanceGuard, TheNextCopyMayRunOnceTheFirstHasEnded)
{
    const QString key = uniqueKey("after");
    {
        SingleInstance first(key);
        ASSERT_TRUE(first.tryToRun());
        EXPECT_TRUE(first.tryToRun()) << "asking again keeps the lock";
    }
    SingleInstance next(key);
    EXPECT_TRUE(next.tryToRun());
}

TEST(SingleInstanceGuard, ACopyThatWasKilledLeavesNoLockBehind)
{
    const QString key = uniqueKey("killed");
    const QString lockFile = QDir(QDir::tempPath()).filePath(key + QStringLiteral(".lock"));
    // Another process takes the same lock, as a running copy would, and is then killed.
    // It alone holds the lock (-o); what it runs ends with its input.
    QProcess holder;
    holder.start(QStringLiteral("flock"), {QStringLiteral("-n"), QStringLiteral("-o"), lockFile,
                                           QStringLiteral("-c"), QStringLiteral("echo held; exec cat")});
    ASSERT_TRUE(holder.waitForReadyRead(10000)) << "flock did not take the lock";
    {
        SingleInstance refused(key);
        EXPECT_FALSE(refused.tryToRun());
    }
    holder.kill();
    ASSERT_TRUE(holder.waitForFinished(10000));
    SingleInstance next(key);
    EXPECT_TRUE(next.tryToRun());
    QFile::remove(lockFile);
}

// A temporary folder that cannot hold the lock is told, with why; no copy is taken for running.
TEST(SingleInstanceGuard, ATemporaryFolderThatCannotHoldTheLockIsTold)
{
    const QString key = uniqueKey("unusable");
    QTemporaryDir dir;
    const QString lock = dir.filePath("busy/" + key + ".lock");
    ASSERT_TRUE(QDir().mkpath(lock) && QDir().mkpath(dir.filePath("closed")) &&
                QDir().mkpath(dir.filePath("shut")));
    writeFileBytes(dir.filePath("file"), "a file");
    // Others may reach them, to be refused by each folder's own permissions.
    QFile::setPermissions(dir.path(), QFile::Permissions(0x7555));
    QFile::setPermissions(dir.filePath("closed"), QFile::Permissions(0x5555));
    QFile::setPermissions(dir.filePath("shut"), QFile::Permissions());
    const auto in = [&](const char *folder, const char *why) {
        return "The temporary folder '" + dir.filePath(folder) +
               "' cannot be used for the lock that keeps a second copy of the program from running.  " + why;
    };
    const struct {
        const char *folder;
        int number;
        QString told;
    } cases[] = {
        {"gone", err::PathNotFound, in("gone", "The folder does not exist.")},
        {"file", err::PathNotFound, in("file", "The folder does not exist.")},
        {"closed", err::PathFileAccess, in("closed", "The folder cannot be written to. Permission denied.")},
        {"shut", err::PathFileAccess, in("shut", "The folder cannot be opened: permission denied.")},
        {"busy", err::PathFileAccess,
         "The lock file '" + lock +
             "', which keeps a second copy of the program from running, cannot be "
             "used.  A folder of that name is in the way."}};
    const QByteArray temporary = qgetenv("TMPDIR");
    for (const auto &[folder, number, told] : cases) {
        qputenv("TMPDIR", QFile::encodeName(dir.filePath(folder)));
        Unprivileged user;
        try {
            SingleInstance(key).tryToRun();
            ADD_FAILURE() << folder << ": neither ran nor told why not";
        } catch (const RuntimeError &error) {
            EXPECT_EQ(error.number(), number) << folder;
            EXPECT_EQ(error.description(), told);
        }
    }
    qputenv("TMPDIR", temporary);
}

TEST(SingleInstanceGuard, NobodyToBringForwardWhenNoCopyRuns)
{
    SingleInstance lonely(uniqueKey("lonely"));
    EXPECT_FALSE(lonely.bringRunningCopyForward());
}

TEST(SingleInstanceGuard, DefaultKeyIsSafeForFileNames)
{
    const QString key = SingleInstance::defaultKey();
    EXPECT_TRUE(key.startsWith("Quiltern3-"));
    EXPECT_FALSE(key.contains('/'));
    EXPECT_FALSE(key.contains(' '));
#ifdef Q_OS_UNIX
    // Started without USER, a copy keeps to its user's lock, not one every such copy shares.
    const QByteArray user = qgetenv("USER");
    qputenv("USER", ::getpwuid(::geteuid())->pw_name);
    const QString named = SingleInstance::defaultKey();
    qunsetenv("USER");
    EXPECT_EQ(SingleInstance::defaultKey(), named);
    qputenv("USER", user);
#endif
}

#ifdef Q_OS_UNIX
namespace {
QString serverFile(const QString &key)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(runtime.isEmpty() ? QDir::tempPath() : runtime).filePath(key);
}

// Connects to the running copy as another program might and writes `bytes` as they are.
void callWith(const QString &key, const QByteArray &bytes)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(serverFile(key));
    ASSERT_LT(std::size_t(path.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int handle = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(handle, 0);
    ASSERT_EQ(::connect(handle, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    for (qsizetype sent = 0; sent < bytes.size();) {
        const ssize_t count =
            ::send(handle, bytes.constData() + sent, std::size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (count <= 0)
            break; // the copy hung up on a request far too long
        sent += count;
    }
    ::close(handle);
}
} // namespace

TEST(SingleInstanceGuard, OnlyTheComeForwardRequestBringsTheCopyForward)
{
    const QString key = uniqueKey("requests");
    // A server file left by a copy that crashed is in the way of nobody.
    QFile stale(serverFile(key));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    {
        SingleInstance first(key);
        ASSERT_TRUE(first.tryToRun());
        EXPECT_EQ(QFileInfo(serverFile(key)).permissions() &
                      (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                  QFile::Permissions())
            << "only the user may call the running copy";
        QSignalSpy forward(&first, &SingleInstance::comeForwardRequested);

        callWith(key, QByteArray("come forward")); // cut short
        callWith(key, QByteArray("go away\n"));
        callWith(key, QByteArray(100000, 'x')); // far too long
        callWith(key, QByteArray());            // nothing at all
        // The server still answers after all that, and only that request counts.
        callWith(key, QByteArray("come forward\n"));
        EXPECT_TRUE(forward.wait(5000));
        EXPECT_EQ(forward.count(), 1);
        SingleInstance second(key);
        EXPECT_TRUE(second.bringRunningCopyForward());
        EXPECT_TRUE(forward.count() == 2 || forward.wait(5000));
        EXPECT_EQ(forward.count(), 2);
    }
    EXPECT_FALSE(QFile::exists(serverFile(key))) << "the server goes with the copy";
    QFile::remove(QDir(QDir::tempPath()).filePath(key + QStringLiteral(".lock")));
}
#endif
