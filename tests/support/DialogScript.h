#pragma once

#include "platform/ui/DialogSeam.h"

#include <QColor>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

class QMessageBox;
class QPrinter;
class QWidget;

// Answers, in a test, every dialog the code under test opens, and records each one.
//
//   DialogScript script;                       // installed until it goes out of scope
//   script.answerMessage(platform::vbYes)      // queued in the order the boxes appear
//         .answerInput("Smith")                // InputBox or InputDialog
//         .answerOpenFile("/tmp/x.mdb")        // or cancelFile()
//         .onModal("NameEdit", [](QWidget *w) { DialogScript::click(w, "cmdCancel"); });
//   ... run the code ...
//   EXPECT_EQ(script.shown()[0].text, "Lose any changes?");
//   EXPECT_EQ(script.shown()[0].buttons, platform::vbYesNo);
//
// A dialog nobody scripted, or one of another kind than the next answer, fails the test
// at once (ADD_FAILURE) and is answered as if cancelled: it never waits. A modal Form is
// driven by the action queued for its objectName; the action must close it (click a
// button, unload it), or the test fails and the window is closed for it. An InputDialog
// whose window has an onModal action queued shows the real window to that action.
// A notice (ShowNotice) needs no answer: it is recorded and its real box shows without
// holding the test up; boxes still open when the script ends are closed.
// Shell calls (links, documents, programs) are recorded in shellCalls(), never run.
// Answers left over when the script goes out of scope fail the test.
// Without a live DialogScript every dialog and shell call in a test fails it.
class DialogScript {
  public:
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript &) = delete;
    DialogScript &operator=(const DialogScript &) = delete;

    DialogScript &answerMessage(int result);
    DialogScript &answerInput(const QString &text); // OK with this text in the box
    DialogScript &cancelInput();
    DialogScript &answerOpenFile(const QString &path, int filterIndex = 0);
    DialogScript &answerSaveFile(const QString &path, int filterIndex = 0);
    DialogScript &cancelFile(); // the next open or save dialog
    DialogScript &answerColor(const QColor &color);
    DialogScript &cancelColor();
    // `choose` plays the user's choice of printer and paper on the dialog's printer.
    DialogScript &answerPrinterSetup(bool confirmed = true, std::function<void(QPrinter *)> choose = {});
    // OK in the print dialog with the pages fromPage to toPage (0 and 0: all of them).
    DialogScript &answerPrint(int fromPage = 0, int toPage = 0, std::function<void(QPrinter *)> choose = {});
    DialogScript &cancelPrint();
    DialogScript &onModal(const QString &objectName, std::function<void(QWidget *)> action);
    // Shell calls from now on fail, as with no program to open them.
    DialogScript &refuseShellCalls();
    // Once the queued answers are used up, every further dialog is answered as a user who
    // backs out would (Cancel, No, a cancelled input or file dialog) and every modal window
    // is closed from its title bar; each is still recorded in shown().
    DialogScript &backOutOfTheRest();

    // Every message box, input box, common dialog and modal window, in order.
    const std::vector<platform::DialogRequest> &shown() const { return mShown; }
    std::vector<platform::DialogRequest> shown(platform::DialogKind kind) const;
    // Every link, document and program handed to the shell, in order.
    const std::vector<platform::DialogRequest> &shellCalls() const { return mShellCalls; }
    // Answers not used yet.
    std::size_t pending() const { return mAnswers.size(); }

    // The notice boxes on screen.
    static std::vector<QMessageBox *> openNotices();

    // Helpers for onModal actions: fail the test when the control is missing.
    static void click(QWidget *root, const QString &buttonName);
    static void setText(QWidget *root, const QString &editName, const QString &text);

    // Called once by the test main: dialogs outside any script fail the test.
    static void installStrictDefault();

  private:
    struct Answer {
        std::vector<platform::DialogKind> kinds;
        platform::DialogAnswer answer;
        QString formName;
        std::function<void(QWidget *)> action;
        std::function<void(QPrinter *)> printerChoice;
    };
    DialogScript &queue(Answer answer);
    DialogScript &answerFile(platform::DialogKind kind, const QString &path, int filterIndex);
    platform::DialogAnswer handle(const platform::DialogRequest &request);

    std::deque<Answer> mAnswers;
    std::vector<platform::DialogRequest> mShown;
    std::vector<platform::DialogRequest> mShellCalls;
    bool mShellAccepts = true;
    bool mBackOut = false;
};
