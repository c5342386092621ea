#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The decisions of the password change, kept apart from its prompts and from the
// database work so that the window code only asks, reports and acts.

// Longest database password the engine takes.
constexpr int MaxPasswordLength = 14;

// The word that stands for "no password" in every prompt (lower case only).
inline const QString NoPasswordWord = QStringLiteral("none");

struct PasswordPrompt {
    QString title;
    QString prompt;
};

inline const PasswordPrompt CurrentPasswordPrompt = {
    QStringLiteral("Current Password"),
    QStringLiteral(
        "Enter current password.  If the database has no password, enter the word \"none\" without the "
        "quotes and all in lower case.")};
inline const PasswordPrompt NewPasswordPrompt = {
    QStringLiteral("New Password"),
    QStringLiteral(
        "Enter new password. Maximum of 14 characters.  To remove a password, enter the word \"none\" "
        "without the quotes and all in lower case.")};
inline const PasswordPrompt ReenterPasswordPrompt = {QStringLiteral("Re-enter New Password"),
                                                     QStringLiteral("Re-enter new password.")};

struct PasswordMessage {
    QString text;
    QString title;
    bool critical = true; // the critical icon; false: no icon
};

inline const PasswordMessage PasswordTooLongMessage = {
    QStringLiteral("New password is greater than the maximum of 14 characters.  Password not changed."),
    QStringLiteral("Length exceeds maximum")};
inline const PasswordMessage PasswordMismatchMessage = {
    QStringLiteral("The two entries of the new password are not equal.  Password not changed."),
    QStringLiteral("Password not changed")};
inline const PasswordMessage InvalidCurrentPasswordMessage = {
    QStringLiteral("Invalid current password. Password not changed"),
    QStringLiteral("Invalid current password")};
inline const PasswordMessage PasswordChangedMessage = {QStringLiteral("Password changed."),
                                                       QStringLiteral("Password change successful"), false};

// "Password NOT changed.  Error: " followed by the engine's own text.
PasswordMessage passwordChangeFailedMessage(const QString &errorText);

enum class PasswordCheck {
    Proceed,  // go on: the next prompt, or the change itself
    Ended,    // an empty answer (or Cancel), or nothing to change: end without a message
    TooLong,  // PasswordTooLongMessage, then end
    Mismatch, // PasswordMismatchMessage, then end
};

// The message a check ends with, if any.
std::optional<PasswordMessage> messageFor(PasswordCheck check);

// After the second prompt, before the third is shown: the new password as typed.
PasswordCheck checkNewPasswordAnswer(const QString &typed);

// The answer as a password: exactly "none" means no password ("None" is a password).
QString passwordFromAnswer(const QString &answer);

struct PasswordChangePlan {
    PasswordCheck check = PasswordCheck::Ended;
    QString currentPassword; // "" for none; valid when check is Proceed
    QString newPassword;     // "" removes the password
};

// All three answers as typed ("" for Cancel): whether the change goes ahead, and with
// which passwords. Current and new both "none" ends quietly, even when the third
// answer differs.
PasswordChangePlan planPasswordChange(const QString &currentAnswer, const QString &newAnswer,
                                      const QString &reenteredAnswer);

// The recovery file "qn.rvx" in the program folder keeps the last password set, scrambled,
// so that a forgotten password can be recovered by hand. The program never reads it.
QString recoveryFilePath();

// The password scrambled with the program's key, one byte per character in the ANSI
// code page (a character it lacks counts as '?').
QByteArray ScramblePassword(const QString &password);

// The whole file for a password: 8, 0 (a text value), its length as 16 bits little
// endian, then the scrambled bytes.
QByteArray recoveryFileBytes(const QString &newPassword);

// Told when a password is set that the recovery file cannot hold exactly (a character
// beyond the ANSI code page): which characters, and that it cannot be recovered from it.
std::optional<PasswordMessage> unrecoverableMessage(const QString &newPassword);

// As soon as a change has succeeded: writes the file for a new password (readable by its
// owner only), deletes it when the password was removed. False when that failed; the change itself stands regardless.
bool updateRecoveryFile(const QString &newPassword);
