#include "platform/ui/Shell.h"
#include "support/DialogScript.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// The search path replaced for one test by a folder of the test's own.
class SearchPath {
  public:
    SearchPath() : mSaved(qgetenv("PATH")) { qputenv("PATH", mDir.path().toLocal8Bit()); }
    ~SearchPath() { qputenv("PATH", mSaved); }

    QString install(const QString &program)
    {
        const QString path = mDir.filePath(program);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

  private:
    QTemporaryDir mDir;
    QByteArray mSaved;
};

} // namespace

#ifndef Q_OS_WIN
TEST(OnScreenKeyboard, TheFirstCommonKeyboardInstalledIsStarted)
{
    SearchPath path;
    const QString florence = path.install("florence");
    path.install("xvkbd");
    EXPECT_EQ(onScreenKeyboardProgram(), florence);
    const QString onboard = path.install("onboard");
    EXPECT_EQ(onScreenKeyboardProgram(), onboard) << "the most common one first";

    DialogScript script;
    EXPECT_TRUE(startOnScreenKeyboard());
    ASSERT_EQ(script.shellCalls().size(), 1u);
    EXPECT_EQ(script.shellCalls()[0].kind, DialogKind::StartProgram);
    EXPECT_EQ(script.shellCalls()[0].text, onboard);
}

TEST(OnScreenKeyboard, WithoutAnyTheCommonNameIsAskedFor)
{
    SearchPath path;
    path.install("not-a-keyboard");
    EXPECT_EQ(onScreenKeyboardProgram(), "onboard");
}
#endif
