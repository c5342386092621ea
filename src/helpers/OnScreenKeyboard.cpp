#include "helpers/OnScreenKeyboard.h"

#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"

bool startOnScreenKeyboardOrTell()
{
    if (platform::startOnScreenKeyboard())
        return true;
    platform::MsgBox(
        QStringLiteral("The on-screen keyboard cannot be started: no on-screen keyboard program is "
                       "set up on this computer."),
        platform::vbOKOnly + platform::vbExclamation, QStringLiteral("Keyboard"));
    return false;
}
