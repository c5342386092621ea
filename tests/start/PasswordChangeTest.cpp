#include "start/PasswordChange.h"

#include "platform/ui/ProgramFolder.h"
#include "support/TemporaryProgramFolder.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray hexBytes(const char *hex)
{
    return QByteArray::fromHex(hex);
}

class RecoveryFileTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(mFolder.isValid()); }

    static QByteArray fileBytes()
    {
        QFile file(recoveryFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TemporaryProgramFolder mFolder;
};

} // namespace

TEST(PasswordChange, PromptAndMessageTextsAreExact)
{
    EXPECT_EQ(CurrentPasswordPrompt.title, "Current Password");
    EXPECT_EQ(CurrentPasswordPrompt.prompt,
              "Enter current password.  If the database has no password, enter the "
              "word \"none\" without the quotes and all in lower case.");
    EXPECT_EQ(NewPasswordPrompt.title, "New Password");
    EXPECT_EQ(NewPasswordPrompt.prompt,
              "Enter new password. Maximum of 14 characters.  To remove a password, "
              "enter the word \"none\" without the quotes and all in lower case.");
    EXPECT_EQ(ReenterPasswordPrompt.title, "Re-enter New Password");
    EXPECT_EQ(ReenterPasswordPrompt.prompt, "Re-enter new password.");
    const PasswordMessage failed = passwordChangeFailedMessage("The file is in use.");
    EXPECT_EQ(failed.text, "Password NOT changed.  Error: The file is in use.");
    EXPECT_EQ(failed.title, "Failed to change password");
    EXPECT_TRUE(failed.critical);
    EXPECT_FALSE(PasswordChangedMessage.critical);
    EXPECT_EQ(InvalidCurrentPasswordMessage.text, "Invalid current password. Password not changed");
}

TEST(PasswordChange, NewPasswordLengthIsCheckedAsTyped)
{
    EXPECT_EQ(checkNewPasswordAnswer("abcdefghijklmn"), PasswordCheck::Proceed);  // 14
    EXPECT_EQ(checkNewPasswordAnswer("abcdefghijklmno"), PasswordCheck::TooLong); // 15
    EXPECT_EQ(checkNewPasswordAnswer(QString::fromUtf8("ééééééééééééé😀")), PasswordCheck::Proceed);
    EXPECT_EQ(checkNewPasswordAnswer("none"), PasswordCheck::Proceed);
    EXPECT_EQ(checkNewPasswordAnswer(""), PasswordCheck::Ended);
    ASSERT_TRUE(messageFor(PasswordCheck::TooLong).has_value());
    EXPECT_EQ(messageFor(PasswordCheck::TooLong)->text,
              "New password is greater than the maximum of 14 characters.  Password not changed.");
    EXPECT_EQ(messageFor(PasswordCheck::TooLong)->title, "Length exceeds maximum");
    EXPECT_FALSE(messageFor(PasswordCheck::Ended).has_value());
    EXPECT_FALSE(messageFor(PasswordCheck::Proceed).has_value());
}

TEST(PasswordChange, OnlyTheLowerCaseWordMeansNoPassword)
{
    EXPECT_EQ(passwordFromAnswer("none"), "");
    EXPECT_EQ(passwordFromAnswer("None"), "None");
    EXPECT_EQ(passwordFromAnswer("NONE"), "NONE");
    EXPECT_EQ(passwordFromAnswer(" none"), " none");
}

TEST(PasswordChange, PlansForEveryCombinationOfAnswers)
{
    struct Case {
        const char *current, *newer, *again;
        PasswordCheck check;
        const char *currentPassword, *newPassword;
    };
    const std::vector<Case> cases = {
        {"", "abc", "abc", PasswordCheck::Ended, "", ""},                // Cancel at the first prompt
        {"old", "", "", PasswordCheck::Ended, "", ""},                   // Cancel at the second
        {"old", "abc", "", PasswordCheck::Ended, "", ""},                // Cancel at the third
        {"old", "abcdefghijklmno", "x", PasswordCheck::TooLong, "", ""}, // before the third prompt
        {"old", "abcdefghijklmn", "abcdefghijklmn", PasswordCheck::Proceed, "old", "abcdefghijklmn"},
        {"old", "abc", "abd", PasswordCheck::Mismatch, "", ""},
        {"old", "abc", "ABC", PasswordCheck::Mismatch, "", ""},          // exact comparison
        {"none", "first", "first", PasswordCheck::Proceed, "", "first"}, // a first password
        {"old", "none", "none", PasswordCheck::Proceed, "old", ""},      // removal
        {"old", "none", "other", PasswordCheck::Mismatch, "", ""},
        {"none", "none", "none", PasswordCheck::Ended, "", ""},           // nothing to change
        {"none", "none", "whatever", PasswordCheck::Ended, "", ""},       // ends before comparing
        {"None", "None", "None", PasswordCheck::Proceed, "None", "None"}, // capitals are passwords
    };
    for (const Case &c : cases) {
        const PasswordChangePlan plan = planPasswordChange(c.current, c.newer, c.again);
        SCOPED_TRACE(std::string(c.current) + " / " + c.newer + " / " + c.again);
        EXPECT_EQ(plan.check, c.check);
        EXPECT_EQ(plan.currentPassword, c.currentPassword);
        EXPECT_EQ(plan.newPassword, c.newPassword);
    }
    ASSERT_TRUE(messageFor(PasswordCheck::Mismatch).has_value());
    EXPECT_EQ(messageFor(PasswordCheck::Mismatch)->title, "Password not changed");
}

TEST(PasswordChange, ScramblesWithTheKeyPlusThree)
{
    EXPECT_EQ(ScramblePassword("secret"), hexBytes("4935272720 3b"));
    EXPECT_EQ(ScramblePassword(""), QByteArray());
    // Scrambling twice gives the password back: the key is applied with XOR.
    const QByteArray once = ScramblePassword("Tr1cky!");
    EXPECT_EQ(ScramblePassword(QString::fromLatin1(once)), QByteArray("Tr1cky!"));
    // Beyond 22 characters the key starts again.
    const QByteArray long23 = ScramblePassword(QString(23, QLatin1Char('a')));
    EXPECT_EQ(long23[22], long23[0]);
    EXPECT_NE(long23[21], long23[0]);
}

TEST_F(RecoveryFileTest, HoldsTheExactBytes)
{
    ASSERT_TRUE(updateRecoveryFile("secret"));
    EXPECT_EQ(fileBytes(), hexBytes("08000600 4935272720 3b"));
    EXPECT_EQ(QFile::permissions(recoveryFilePath()) & ~QFile::Permissions(0x0F00), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_FALSE(unrecoverableMessage("secret").has_value());
    ASSERT_TRUE(updateRecoveryFile(QString::fromUtf8("Passwörd€1234x")));
    EXPECT_EQ(fileBytes(), hexBytes("08000e00 6a31372632b93a2fc46477616c2d"));
    ASSERT_TRUE(updateRecoveryFile(QString(14, QLatin1Char('A'))));
    const QByteArray bytes = fileBytes();
    EXPECT_EQ(bytes.size(), 4 + 14);
    EXPECT_EQ(bytes, hexBytes("08000e00 7b110514040e090a0514041319 14"));
}

TEST_F(RecoveryFileTest, CharactersOutsideTheCodePageCountAsQuestionMarks)
{
    ASSERT_TRUE(updateRecoveryFile(QString::fromUtf8("я😀")));
    // '?' is 63: 63 ^ ('7'+3) and 63 ^ ('M'+3).
    EXPECT_EQ(fileBytes(), QByteArray("\x08\x00\x02\x00", 4) + QByteArray(1, char(63 ^ 58)) + char(63 ^ 80));
    EXPECT_EQ(unrecoverableMessage(QString::fromUtf8("éя😀я")).value_or(PasswordMessage{}).text,
              QString::fromUtf8("The password recovery file cannot hold the characters я 😀 of the new password, so "
                                "the password cannot be recovered from that file.  Keep it safe in another way."));
}

TEST_F(RecoveryFileTest, RemovalDeletesTheFileAndAnOverwriteReplacesIt)
{
    ASSERT_TRUE(updateRecoveryFile("longerpassword"));
    ASSERT_TRUE(updateRecoveryFile("ab"));
    EXPECT_EQ(fileBytes().size(), 6);
    // A read-only file is replaced all the same.
    QFile::setPermissions(recoveryFilePath(), QFileDevice::ReadOwner);
    ASSERT_TRUE(updateRecoveryFile("abc"));
    EXPECT_EQ(fileBytes().size(), 7);
    ASSERT_TRUE(updateRecoveryFile(""));
    EXPECT_FALSE(QFile::exists(recoveryFilePath()));
    // Removing when there is no file is no failure.
    EXPECT_TRUE(updateRecoveryFile(""));
    EXPECT_EQ(recoveryFilePath(), mFolder.filePath("qn.rvx"));
}

TEST_F(RecoveryFileTest, AFolderThatCannotBeWrittenIsReportedNotThrown)
{
    platform::setProgramFolderForTesting(mFolder.filePath("missing/folder"));
    EXPECT_FALSE(updateRecoveryFile("secret"));
    EXPECT_TRUE(updateRecoveryFile(""));
}
