#include "mainwindow/NameList.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MsgBox.h"
#include "start/PasswordChange.h"
#include "start/modMain.h"
#include "support/DialogScript.h"
#include "support/FileBytes.h"
#include "support/StartedProgram.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using platform::DialogKind;

namespace {

// The main window on a database in the program folder, with F5 pressed so the password
// change is offered.
class ChangePasswordTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        path = program.folder().filePath("Quiltern.mdb");
        platform::createDatabaseFromSchema(path);
    }

    void protect(const QString &password)
    {
        auto db = platform::Database::open(path, true, false, ";pwd=");
        db->newPassword(QString(), password);
    }

    NameList &start()
    {
        EXPECT_TRUE(program.start());
        return *StartedProgram::window();
    }

    void answerThree(const QString &current, const QString &next, const QString &again)
    {
        script.answerInput(current).answerInput(next).answerInput(again);
    }

    QString rvx() const { return program.folder().filePath("qn.rvx"); }

    StartedProgram program;
    DialogScript script;
    QString path;
};

} // namespace

TEST_F(ChangePasswordTest, FirstPasswordIsSetRecoveryFileWrittenAndTheRestartAsksAtOnce)
{
    NameList &old = start();
    const QString fourteen = "abcdefghijklmn";
    answerThree("none", fourteen, fourteen);
    script.answerMessage(platform::vbOK); // "Password changed."
    script.answerInput(fourteen);         // the restart asks for the new password
    old.ChangePassword_Click();

    const auto inputs = script.shown(DialogKind::Input);
    ASSERT_EQ(inputs.size(), 4u);
    EXPECT_EQ(inputs[0].title, "Current Password");
    EXPECT_EQ(inputs[1].title, "New Password");
    EXPECT_EQ(inputs[2].title, "Re-enter New Password");
    EXPECT_EQ(inputs[3].title, "Password?");
    for (const auto &input : inputs)
        EXPECT_TRUE(input.passwordMask) << input.title.toStdString();
    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Password changed.");
    EXPECT_EQ(messages[0].title, "Password change successful");
    EXPECT_EQ(messages[0].icon, 0);

    const QByteArray bytes = readFileBytes(rvx());
    ASSERT_EQ(bytes.size(), 4 + 14);
    EXPECT_EQ(bytes.left(4), QByteArray("\x08\x00\x0e\x00", 4));
    EXPECT_EQ(bytes, recoveryFileBytes(fourteen));
    EXPECT_FALSE(QFile::permissions(rvx()) & (QFile::ReadGroup | QFile::ReadOther)) << "owner only";
    // 'a' (97) scrambled with the key's first character '7' (55): (55 + 3) XOR 97.
    EXPECT_EQ(quint8(bytes[4]), (55 + 3) ^ 97);

    ASSERT_NE(StartedProgram::window(), nullptr);
    EXPECT_NE(StartedProgram::window(), &old);
    EXPECT_TRUE(gDb->hasPassword());
    EXPECT_TRUE(gDb->exclusive());
    EXPECT_FALSE(StartedProgram::window()->menuItem("ChangePassword")->isEnabled())
        << "the new main window starts with the item disabled again";
}

TEST_F(ChangePasswordTest, RemovingThePasswordDeletesTheRecoveryFileAndRestartsWithoutAsking)
{
    protect("old");
    writeFileBytes(rvx(), "left from before");
    script.answerInput("old");
    NameList &w = start();
    answerThree("old", "none", "none");
    script.answerMessage(platform::vbOK);
    w.ChangePassword_Click();
    EXPECT_FALSE(QFileInfo::exists(rvx()));
    ASSERT_NE(StartedProgram::window(), nullptr);
    EXPECT_FALSE(gDb->hasPassword());
    EXPECT_EQ(script.shown(DialogKind::Input).size(), 4u) << "one start prompt and three change prompts only";
    EXPECT_TRUE(readFileBytes(path).startsWith("SQLite format 3"));
}

TEST_F(ChangePasswordTest, FifteenCharactersAreRefusedBeforeTheThirdPrompt)
{
    NameList &w = start();
    script.answerInput("none").answerInput("abcdefghijklmno").answerMessage(platform::vbOK);
    w.ChangePassword_Click();
    EXPECT_EQ(script.shown(DialogKind::Input).size(), 2u);
    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              "New password is greater than the maximum of 14 characters.  Password not changed.");
    EXPECT_EQ(messages[0].title, "Length exceeds maximum");
    EXPECT_EQ(messages[0].icon, platform::vbCritical);
    EXPECT_EQ(StartedProgram::window(), &w) << "nothing restarts";
    EXPECT_FALSE(gDb->hasPassword());
    EXPECT_FALSE(QFileInfo::exists(rvx()));
}

TEST_F(ChangePasswordTest, MismatchChangesNothing)
{
    NameList &w = start();
    answerThree("none", "first", "second");
    script.answerMessage(platform::vbOK);
    w.ChangePassword_Click();
    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "The two entries of the new password are not equal.  Password not changed.");
    EXPECT_EQ(messages[0].title, "Password not changed");
    EXPECT_EQ(StartedProgram::window(), &w);
    EXPECT_FALSE(gDb->hasPassword());
}

TEST_F(ChangePasswordTest, CancelOrNothingToChangeEndsQuietly)
{
    NameList &w = start();
    script.cancelInput();
    w.ChangePassword_Click();
    script.answerInput("none").cancelInput();
    w.ChangePassword_Click();
    answerThree("none", "none", "whatever");
    w.ChangePassword_Click();
    EXPECT_TRUE(script.shown(DialogKind::Message).empty());
    EXPECT_EQ(script.shown(DialogKind::Input).size(), 6u);
    EXPECT_EQ(StartedProgram::window(), &w);
    EXPECT_FALSE(QFileInfo::exists(rvx()));
}

TEST_F(ChangePasswordTest, WrongCurrentPasswordEndsTheProgramAndKeepsTheFile)
{
    protect("right");
    script.answerInput("right");
    NameList &w = start();
    const QByteArray before = readFileBytes(path);
    answerThree("wrong", "new", "new");
    script.answerMessage(platform::vbOK);
    w.ChangePassword_Click();
    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Invalid current password. Password not changed");
    EXPECT_EQ(messages[0].title, "Invalid current password");
    EXPECT_EQ(StartedProgram::window(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(rvx()));
    auto db = platform::Database::open(path, true, false, ";pwd=right");
    EXPECT_TRUE(db->hasPassword());
    Q_UNUSED(before);
}

TEST_F(ChangePasswordTest, ReopenFailureIsReportedAndNothingRunsOnAClosedDatabase)
{
    NameList &w = start();
    // The file goes away under the open database (another program moved it): the
    // exclusive reopen of the change fails with something other than a wrong password.
    ASSERT_TRUE(QFile::remove(path));
    answerThree("none", "secret", "secret");
    script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
    w.ChangePassword_Click();
    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[0].text.startsWith("Password NOT changed.  Error: "))
        << messages[0].text.toStdString();
    EXPECT_EQ(messages[0].title, "Failed to change password");
    EXPECT_EQ(messages[0].icon, platform::vbCritical);
    // The restart through the start routine reports the missing file and ends.
    EXPECT_EQ(messages[1].title, "Error");
    EXPECT_TRUE(messages[1].text.endsWith("    Error number: 3024"));
    EXPECT_EQ(StartedProgram::window(), nullptr);
    EXPECT_EQ(gDb, nullptr);
    EXPECT_FALSE(QFileInfo::exists(rvx()));
    EXPECT_FALSE(QFileInfo::exists(path)) << "no database is made where the old one was";
}

TEST_F(ChangePasswordTest, RefusedWhileAnotherConnectionHasTheFile)
{
    NameList &w = start();
    const auto other = platform::Database::open(path);
    answerThree("none", "secret", "secret");
    script.answerMessage(platform::vbOK);
    w.ChangePassword_Click();
    ASSERT_EQ(script.shown(DialogKind::Message).size(), 1u);
    EXPECT_EQ(script.shown(DialogKind::Message)[0].text,
              "Password NOT changed.  Error: Could not use '" + path + "'; file already in use.");
    ASSERT_NE(StartedProgram::window(), nullptr) << "the restart opened the file as it was";
    EXPECT_TRUE(readFileBytes(path).startsWith("SQLite format 3"));
}
