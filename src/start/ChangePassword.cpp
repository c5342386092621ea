#include "start/ChangePassword.h"

#include "helpers/DatabaseState.h"
#include "helpers/GLOBAL.h"
#include "helpers/StartRoutine.h"
#include "mainwindow/NameList.h"
#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MsgBox.h"
#include "start/PasswordChange.h"

#include <optional>

using platform::RuntimeError;

void ChangePassword(NameList &window)
{
    const QString current =
        InputDialog(CurrentPasswordPrompt.prompt, CurrentPasswordPrompt.title, QString(), true);
    if (current.isEmpty())
        return;
    const QString typedNew = InputDialog(NewPasswordPrompt.prompt, NewPasswordPrompt.title, QString(), true);
    if (typedNew.isEmpty())
        return;
    const auto tell = [](const PasswordMessage &m) {
        platform::MsgBox(m.text, platform::vbOKOnly + (m.critical ? platform::vbCritical : 0), m.title);
    };
    if (const std::optional<PasswordMessage> message = messageFor(checkNewPasswordAnswer(typedNew))) {
        tell(*message);
        return;
    }
    const QString reentered =
        InputDialog(ReenterPasswordPrompt.prompt, ReenterPasswordPrompt.title, QString(), true);
    const PasswordChangePlan plan = planPasswordChange(current, typedNew, reentered);
    if (plan.check != PasswordCheck::Proceed) {
        if (const std::optional<PasswordMessage> message = messageFor(plan.check))
            tell(*message);
        return;
    }

    const bool hadPassword = gDb && gDb->hasPassword();
    window.releaseList();
    gContactsTable.reset();
    gDb.reset();

    std::optional<RuntimeError> failure;
    try {
        gDb = platform::Database::open(gDbPath, true, false, QStringLiteral(";pwd=") + plan.currentPassword);
    } catch (const RuntimeError &error) {
        if (error.number() == platform::err::NotValidPassword) {
            tell(InvalidCurrentPasswordMessage);
            window.unload();
            return;
        }
        failure = error;
    }
    if (!failure) {
        try {
            gDb->newPassword(plan.currentPassword, plan.newPassword);
        } catch (const RuntimeError &error) {
            failure = error;
        }
    }
    if (!failure) {
        // Written before anything is shown: the file never lags behind the password in force.
        updateRecoveryFile(plan.newPassword);
        tell(PasswordChangedMessage);
        if (const std::optional<PasswordMessage> notice = unrecoverableMessage(plan.newPassword))
            platform::MsgBox(notice->text, platform::vbOKOnly + platform::vbExclamation, notice->title);
    } else {
        tell(passwordChangeFailedMessage(failure->description()));
        // The database stays usable for the unload's work when it can be opened as
        // it was before.
        if (!gDb || !gDb->isOpen()) {
            gDb.reset();
            try {
                gDb = hadPassword ? platform::Database::open(gDbPath, true, false,
                                                             QStringLiteral(";pwd=") + plan.currentPassword)
                                  : platform::Database::open(gDbPath);
            } catch (const RuntimeError &) {
                gDb.reset();
            }
        }
    }
    window.unload();
    gDb.reset();
    restartThroughMain();
}
