#include "platform/ui/SingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>

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
    holder.start(QStringLiteral("flock"), {QStringLiteral("-n"), QStringLiteral("-o"), lockFile, QStringLiteral("-c"),
                                           QStringLiteral("echo held; exec cat")});
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
}
