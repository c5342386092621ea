#include "support/DialogScript.h"

#include "platform/ui/Shell.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

TEST(ShellLinks, OnlyWebAndMailAddressesAreLinks)
{
    EXPECT_TRUE(isShellLink("http://example.com"));
    EXPECT_TRUE(isShellLink("HTTPS://Example.com/a?b=c"));
    EXPECT_TRUE(isShellLink("mailto:jo@example.com"));
    EXPECT_TRUE(isShellLink(" https://example.com/x "));
    EXPECT_FALSE(isShellLink("httpfoo"));
    EXPECT_FALSE(isShellLink("httpd.conf"));
    EXPECT_FALSE(isShellLink("http:foo"));
    EXPECT_FALSE(isShellLink("http://"));
    EXPECT_FALSE(isShellLink("/etc/passwd"));
    EXPECT_FALSE(isShellLink("C:\\Windows\\notepad.exe"));
    EXPECT_FALSE(isShellLink("file:///etc/passwd"));
    EXPECT_FALSE(isShellLink("javascript:alert(1)"));
    EXPECT_FALSE(isShellLink("mailto:"));
    EXPECT_FALSE(isShellLink(""));
}

TEST(ShellLinks, RefusedAddressesNeverReachTheShell)
{
    DialogScript script;
    EXPECT_FALSE(openLink("/home/u/Quiltern.htm"));
    EXPECT_FALSE(openLink("httpfoo"));
    EXPECT_TRUE(script.shellCalls().empty());
    EXPECT_TRUE(openLink("mailto:jo@example.com"));
    ASSERT_EQ(script.shellCalls().size(), 1u);
    EXPECT_EQ(script.shellCalls()[0].kind, DialogKind::OpenLink);
    EXPECT_EQ(script.shellCalls()[0].text, "mailto:jo@example.com");
    EXPECT_TRUE(script.shown().empty());
}

TEST(ShellLinks, DocumentsAndProgramsAreRecordedNotRun)
{
    DialogScript script;
    EXPECT_TRUE(openDocument("Quiltern.htm"));
    EXPECT_FALSE(openDocument("  "));
    EXPECT_TRUE(startProgram("regedit.exe", {"/s", "x.txt"}));
    EXPECT_TRUE(startOnScreenKeyboard());
    ASSERT_EQ(script.shellCalls().size(), 3u);
    EXPECT_EQ(script.shellCalls()[0].kind, DialogKind::OpenDocument);
    EXPECT_EQ(script.shellCalls()[0].text, "Quiltern.htm");
    EXPECT_EQ(script.shellCalls()[1].kind, DialogKind::StartProgram);
    EXPECT_EQ(script.shellCalls()[1].arguments, QStringList({"/s", "x.txt"}));
    EXPECT_EQ(script.shellCalls()[2].kind, DialogKind::StartProgram);
}

// Unscripted, a document goes to the opener, whose exit status tells whether it could be shown.
TEST(ShellLinks, TheOpenersExitStatusTellsWhetherTheDocumentWasShown)
{
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit()), setDialogHookForTesting({});
    for (const int status : {0, 3, 4}) {
        QFile opener(bin.filePath("xdg-open"));
        opener.open(QIODevice::WriteOnly), opener.write("#!/bin/sh\nexit " + QByteArray::number(status));
        opener.close(), opener.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_EQ(openDocument("Quiltern.htm"), status == 0) << status;
    }
    qputenv("PATH", path), DialogScript::installStrictDefault();
}
