#pragma once

#include <QString>

class QWidget;

namespace platform {

// Message box styles and answers keep their classic values, so a style written as a
// number (305 = OK and Cancel, exclamation, Cancel as default) means what it always did.
constexpr int vbOKOnly = 0;
constexpr int vbOKCancel = 1;
constexpr int vbAbortRetryIgnore = 2;
constexpr int vbYesNoCancel = 3;
constexpr int vbYesNo = 4;
constexpr int vbRetryCancel = 5;

constexpr int vbCritical = 16;
constexpr int vbQuestion = 32;
constexpr int vbExclamation = 48;
constexpr int vbInformation = 64;

constexpr int vbDefaultButton1 = 0;
constexpr int vbDefaultButton2 = 256;
constexpr int vbDefaultButton3 = 512;

constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbAbort = 3;
constexpr int vbRetry = 4;
constexpr int vbIgnore = 5;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

// Shows a message box and returns the button pressed (vbOK .. vbNo). An empty title
// shows the application title.
int MsgBox(const QString &prompt, int style = vbOKOnly, const QString &title = QString());

// Shows a message box over `owner` (the active window when none) and returns at once:
// the work that showed it goes on while it is up, and it goes when the user answers it.
// The same notice already on screen comes to the front instead of showing twice.
void ShowNotice(const QString &prompt, int style = vbOKOnly, QWidget *owner = nullptr);

// The parts of a style value.
int msgButtons(int style);
int msgIcon(int style);
int msgDefaultButton(int style); // 1, 2 or 3

// The answer a box gives when the user backs out of it: Cancel when it has one,
// otherwise No, Abort or OK.
int msgCancelAnswer(int style);

// The platform's one-line input box: the text typed, "" after Cancel.
QString InputBox(const QString &prompt, const QString &title = QString(),
                 const QString &defaultText = QString());

} // namespace platform
