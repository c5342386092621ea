#include "platform/ui/MsgBox.h"

#include "platform/ui/ApplicationTitle.h"
#include "platform/ui/DialogSeam.h"

namespace platform {

int msgButtons(int style)
{
    return style & 7;
}

int msgIcon(int style)
{
    return style & 0x70;
}

int msgDefaultButton(int style)
{
    switch (style & 0x300) {
    case vbDefaultButton2:
        return 2;
    case vbDefaultButton3:
        return 3;
    default:
        return 1;
    }
}

int msgCancelAnswer(int style)
{
    switch (msgButtons(style)) {
    case vbOKCancel:
    case vbYesNoCancel:
    case vbRetryCancel:
        return vbCancel;
    case vbYesNo:
        return vbNo;
    case vbAbortRetryIgnore:
        return vbAbort;
    default:
        return vbOK;
    }
}

namespace {
DialogRequest messageRequest(const QString &prompt, int style, const QString &title)
{
    DialogRequest request;
    request.kind = DialogKind::Message;
    request.text = prompt;
    request.title = title.isEmpty() ? applicationTitle() : title;
    request.style = style;
    request.buttons = msgButtons(style);
    request.icon = msgIcon(style);
    request.defaultButton = msgDefaultButton(style);
    return request;
}
} // namespace

int MsgBox(const QString &prompt, int style, const QString &title)
{
    return runDialog(messageRequest(prompt, style, title)).result;
}

void ShowNotice(const QString &prompt, int style, QWidget *owner)
{
    DialogRequest request = messageRequest(prompt, style, QString());
    request.waits = false;
    request.form = owner;
    runDialog(request);
}

QString InputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    DialogRequest request;
    request.kind = DialogKind::Input;
    request.text = prompt;
    request.title = title.isEmpty() ? applicationTitle() : title;
    request.defaultText = defaultText;
    const DialogAnswer answer = runDialog(request);
    return answer.accepted ? answer.text : QString();
}

} // namespace platform
