#include "helpers/GLOBAL.h"

#include "helpers/InputForm.h"
#include "platform/ui/DialogSeam.h"

#include <QLabel>
#include <QLineEdit>

QString InputDialog(const QString &prompt, const QString &title, const QString &defaultText,
                    bool passwordMask)
{
    if (platform::dialogHookInstalled()) {
        platform::DialogRequest request;
        request.kind = platform::DialogKind::Input;
        request.text = prompt;
        request.title = title;
        request.defaultText = defaultText;
        request.passwordMask = passwordMask;
        request.objectName = QStringLiteral("InputForm");
        const platform::DialogAnswer answer = platform::runDialog(request);
        if (!answer.showForm) {
            // The question is over, and with it any font a caller set for it.
            InputForm::unloadIfLoaded();
            return answer.accepted ? answer.text : QString();
        }
    }
    InputForm &form = InputForm::instance();
    form.lblMessage->setText(platform::displayText(prompt));
    form.setWindowTitle(title);
    if (!defaultText.isEmpty())
        form.txtInput->setText(defaultText);
    if (passwordMask)
        form.txtInput->setEchoMode(QLineEdit::Password);
    form.showModal();
    // Closed from its title bar, the window was unloaded: asking it again loads a fresh
    // one whose box is empty.
    const QString result = InputForm::instance().txtInput->text();
    InputForm::unloadIfLoaded();
    return result;
}
