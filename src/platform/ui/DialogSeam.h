#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <functional>

class QPrinter;
class QWidget;

namespace platform {

// Everything that waits for the user or leaves the program (message boxes, input
// boxes, common dialogs, modal windows, the shell) passes through runDialog, so that
// tests can answer in advance and read back what was shown instead of blocking.
enum class DialogKind {
    Message,      // MsgBox: text, title, buttons, icon, defaultButton, style
    Input,        // InputBox and InputDialog: text (prompt), title, defaultText, passwordMask;
                  // objectName names the program's own input window, when it has one
    OpenFile,     // open dialog: title, fileName, filter, filterIndex, initialDir, defaultExt, flags
    SaveFile,     // save dialog: as OpenFile
    Color,        // colour dialog: color, flags
    PrinterSetup, // printer setup dialog: flags, printer (the printer and paper it changes)
    Print,        // print dialog: printer, maxPage, fileName (what the file printer proposes);
                  // answers fromPage and toPage
    ModalForm,    // a Form shown modally: form, objectName, title
    OpenLink,     // shell "open" of a web or e-mail address: text
    OpenDocument, // shell "open" of a local document the user chose: text (the path)
    StartProgram, // a program started without waiting: text (the program), arguments
};

QString dialogKindName(DialogKind kind);

// A prompt or message as a window shows it: classic texts break lines with CR, LF or
// both, Qt's labels at LF only.
QString displayText(QString text);

struct DialogRequest {
    DialogKind kind = DialogKind::Message;
    QString title; // as the window shows it (the application title when none was given)
    QString text;  // message, prompt, address, path or program
    int style = 0; // message boxes: the whole style value (buttons + icon + default)
    int buttons = 0;
    int icon = 0;
    int defaultButton = 0; // 1, 2 or 3
    QString defaultText;
    bool passwordMask = false;
    QString fileName;
    QString filter; // "Description|pattern|Description|pattern"
    int filterIndex = 0;
    QString initialDir;
    QString defaultExt;
    int flags = 0;
    QColor color;
    QStringList arguments;
    QPrinter *printer = nullptr;
    int maxPage = 0;         // Print: the pages of the document
    QWidget *form = nullptr; // ModalForm: the window; file dialogs and notices: the owner, if any
    QString objectName;
    // Message: false for a notice (ShowNotice), which shows and returns at once, without
    // an answer, while the work that showed it goes on.
    bool waits = true;
};

struct DialogAnswer {
    bool accepted = false; // false: Cancel, closed, refused
    int result = 0;        // message boxes: vbOK .. vbNo
    QString text;          // input boxes
    QString fileName;      // file dialogs: the full path chosen
    int filterIndex = 0;   // file dialogs: 1-based filter in force
    int flags = 0;         // file dialogs: flags as the dialog returned them
    QColor color;          // colour dialog
    int fromPage = 0;      // print dialog: the pages chosen, both 0 for every page
    int toPage = 0;
    bool showForm = false; // input with an objectName, or a notice: show that real window instead
};

// The one way to ask the user or the shell anything. With no hook it shows the real
// dialog (or calls the real shell); with a hook installed the hook answers. The pointer
// is the normal one while a box or dialog waits for the user, and what it was before
// (the hourglass of the work that asks) once it is answered.
DialogAnswer runDialog(const DialogRequest &request);

// Tests install a hook; an empty function restores the real dialogs.
using DialogHook = std::function<DialogAnswer(const DialogRequest &)>;
void setDialogHookForTesting(DialogHook hook);
bool dialogHookInstalled();

} // namespace platform
