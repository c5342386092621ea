#include "start/PasswordChange.h"

#include "platform/base/AnsiText.h"
#include "platform/ui/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace {

const QByteArray ScrambleKey = QByteArrayLiteral("7MARBLEHARBOURLANTERNS");
constexpr char TextValueTag = 8;

// Counts characters, not UTF-16 units: a character beyond the basic plane is one.
qsizetype characterCount(const QString &text)
{
    return text.toUcs4().size();
}

// Removes a file even when it is read-only; true when no file is left.
bool removeFile(const QString &path)
{
    if (!QFile::exists(path)) {
        return true;
    }
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    return QFile::remove(path);
}

} // namespace

PasswordMessage passwordChangeFailedMessage(const QString &errorText)
{
    return {QStringLiteral("Password NOT changed.  Error: ") + errorText,
            QStringLiteral("Failed to change password")};
}

std::optional<PasswordMessage> messageFor(PasswordCheck check)
{
    switch (check) {
    case PasswordCheck::TooLong:
        return PasswordTooLongMessage;
    case PasswordCheck::Mismatch:
        return PasswordMismatchMessage;
    case PasswordCheck::Proceed:
    case PasswordCheck::Ended:
        break;
    }
    return std::nullopt;
}

PasswordCheck checkNewPasswordAnswer(const QString &typed)
{
    if (typed.isEmpty()) {
        return PasswordCheck::Ended;
    }
    return characterCount(typed) > MaxPasswordLength ? PasswordCheck::TooLong : PasswordCheck::Proceed;
}

QString passwordFromAnswer(const QString &answer)
{
    return answer == NoPasswordWord ? QString() : answer;
}

PasswordChangePlan planPasswordChange(const QString &currentAnswer, const QString &newAnswer,
                                      const QString &reenteredAnswer)
{
    PasswordChangePlan plan;
    if (currentAnswer.isEmpty()) {
        return plan;
    }
    plan.check = checkNewPasswordAnswer(newAnswer);
    if (plan.check != PasswordCheck::Proceed) {
        return plan;
    }
    if (reenteredAnswer.isEmpty()) {
        plan.check = PasswordCheck::Ended;
        return plan;
    }
    plan.currentPassword = passwordFromAnswer(currentAnswer);
    plan.newPassword = passwordFromAnswer(newAnswer);
    if (plan.currentPassword.isEmpty() && plan.newPassword.isEmpty()) {
        plan.check = PasswordCheck::Ended;
    } else if (plan.newPassword != passwordFromAnswer(reenteredAnswer)) {
        plan.check = PasswordCheck::Mismatch;
    }
    if (plan.check != PasswordCheck::Proceed) {
        plan.currentPassword.clear();
        plan.newPassword.clear();
    }
    return plan;
}

QString recoveryFilePath()
{
    return QDir(platform::programFolder()).filePath(QStringLiteral("qn.rvx"));
}

QByteArray ScramblePassword(const QString &password)
{
    QByteArray result = platform::toAnsi(password);
    for (qsizetype i = 0; i < result.size(); ++i) {
        const char k = ScrambleKey[i % ScrambleKey.size()];
        result[i] = char((k + 3) ^ result[i]);
    }
    return result;
}

std::optional<PasswordMessage> unrecoverableMessage(const QString &newPassword)
{
    const QStringList lacking = platform::ansiLacking(newPassword);
    if (lacking.isEmpty()) {
        return std::nullopt;
    }
    return PasswordMessage{QStringLiteral("The password recovery file cannot hold the characters ") +
                               lacking.join(QLatin1Char(' ')) +
                               QStringLiteral(" of the new password, so the password cannot be recovered from "
                                              "that file.  Keep it safe in another way."),
                           QStringLiteral("Password cannot be recovered"), false};
}

QByteArray recoveryFileBytes(const QString &newPassword)
{
    const QByteArray scrambled = ScramblePassword(newPassword);
    const auto n = quint16(scrambled.size());
    QByteArray bytes;
    bytes.append(TextValueTag).append('\0');
    bytes.append(char(n & 0xFF)).append(char(n >> 8));
    bytes.append(scrambled.left(n));
    return bytes;
}

bool updateRecoveryFile(const QString &newPassword)
{
    const QString path = recoveryFilePath();
    if (!removeFile(path)) {
        return false;
    }
    if (newPassword.isEmpty()) {
        return true;
    }
    QFile file(path);
    // The scrambling hides the password from a glance, not from anyone who reads the file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner)) {
        return false;
    }
    const QByteArray bytes = recoveryFileBytes(newPassword);
    return file.write(bytes) == bytes.size();
}
