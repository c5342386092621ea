#pragma once

#include <QPointer>
#include <QWidget>

class QAbstractButton;
class QEventLoop;
class QFocusFrame;
class QKeyEvent;

namespace platform {

// A top-level window with the classic life cycle:
// - Form_Load runs once, on first use (load(), or the first show).
// - A window shown while none of its controls has the focus (neither Form_Load nor
//   Form_Activate gave it one) puts the focus on the first control of its tab order.
// - Form_Activate runs when the window is shown (showModal/showModeless), and again when
//   a Form it opened closes; it does not run after a message box, nor when the user
//   comes back from another program. The second kind runs from the event loop, once the
//   code that closed the other window has returned.
// - Form_QueryUnload, then Form_Unload, run when the window is closed from its title bar
//   (vbFormControlMenu) or unloaded by code (vbFormCode); either may cancel.
// - With keyPreview on, Form_KeyDown, Form_KeyPress and Form_KeyUp see every key meant
//   for a control of the window first; setting the code to 0 swallows the key, and a
//   changed character replaces the typed one. keyCode is a Qt::Key, keyAscii the code of
//   the character typed (13 Enter, 27 Escape, 8 Backspace); keys that type no character
//   (arrows, function keys) raise no Form_KeyPress. Without keyPreview the handlers see
//   only keys sent to the window itself, when none of its controls has the focus.
// - Tab and Shift+Tab move the focus out of every box, multi-line ones included, and a
//   read-only box shows a caret while it has the focus; a list, grid or page that scrolls
//   gets a focus frame, and a control in a page that scrolls is scrolled into view. The focus
//   shows from the window's first paint, and a group of choices opens on the one checked.
// - An access key clicks its button at once, and Tab leaves a dropped list (KeyboardCommands).
// - A window with Qt::WA_ShowWithoutActivating shows without taking the keys from the active one.
// An unloaded Form stays unloaded: the accessor of a window (see instanceOf) makes a
// fresh one on its next use, so every opening starts from the window's design.
// A Form whose Form_Load fails is unloaded at once (no unload handler runs); one whose
// showing or Form_Activate fails is unloaded after its Form_Unload, which cannot cancel.
// Either way the error goes on to the caller of load, showModal or showModeless.
//
// Modal windows in tests: while a dialog hook is installed (tests/support DialogScript),
// showModal asks the hook, as a DialogKind::ModalForm request, to drive the window once
// it is on screen; when the hook returns and the window is still open, showModal closes
// it, so a modal window never waits for a user who is not there.
class Form : public QWidget {
    Q_OBJECT
  public:
    static constexpr int vbFormControlMenu = 0;
    static constexpr int vbFormCode = 1;

    explicit Form(QWidget *parent = nullptr);
    ~Form() override;

    void load();
    bool isLoaded() const { return mLoaded && !mUnloaded; }
    bool isUnloaded() const { return mUnloaded; }

    // Runs Form_QueryUnload and Form_Unload; false when one of them cancelled.
    bool unload();

    // owner: the window to activate when this one closes; by default the modal window
    // on top, else the active Form, else the Form shown last.
    void showModeless(Form *owner = nullptr);
    void showModal(Form *owner = nullptr); // returns when hidden or unloaded
    bool isShownModally() const { return mModalLoop != nullptr; }

    void setKeyPreview(bool on);
    bool keyPreview() const { return mKeyPreview; }

    // The button Escape presses: the window's Cancel or Exit. The press is the one an access
    // key makes (the focus moves to the button, then it is clicked), so the window tells it
    // from any other close just as it does a click, and asks what the click asks. An Escape
    // that a control uses itself (a dropped list, an edit in a grid) or that the window's own
    // key handlers swallow never gets here; a hidden or disabled button is not pressed.
    void setCancelButton(QAbstractButton *button);

    // A dialog's border: a title with a close button, no minimise or maximise button;
    // with fixed, the window keeps the size it has now.
    void setDialogBorder(bool fixed);

  signals:
    void wasUnloaded();

  protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_QueryUnload(bool &cancel, int unloadMode)
    {
        Q_UNUSED(cancel);
        Q_UNUSED(unloadMode);
    }
    virtual void Form_Unload(bool &cancel) { Q_UNUSED(cancel); }
    virtual void Form_KeyDown(int &keyCode, Qt::KeyboardModifiers shift)
    {
        Q_UNUSED(keyCode);
        Q_UNUSED(shift);
    }
    virtual void Form_KeyPress(int &keyAscii) { Q_UNUSED(keyAscii); }
    virtual void Form_KeyUp(int &keyCode, Qt::KeyboardModifiers shift)
    {
        Q_UNUSED(keyCode);
        Q_UNUSED(shift);
    }

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    bool unloadWith(int unloadMode);
    void abandon(bool runUnload);
    void endModal();
    void showAndActivate(Form *owner);
    void focusFirstControl();
    QWidget *checkedChoiceOf(QWidget *control);
    void showFocus(QWidget *focused);
    void activate();
    void driveModalForTests();
    bool dispatchKey(QKeyEvent *event, QWidget *receiver);
    bool pressCancelButton(const QKeyEvent *event);
    Form *pickOpener(Form *owner) const;

    bool mLoaded = false;
    bool mUnloaded = false;
    bool mKeyPreview = false;
    bool mResending = false;
    QEventLoop *mModalLoop = nullptr;
    QPointer<Form> mOpener;
    const QEvent *mLastKeyEvent = nullptr;
    QPointer<QWidget> mLastKeyReceiver;
    QPointer<QFocusFrame> mFocusFrame;
    QPointer<QAbstractButton> mCancelButton;
};

// Opens a window made for one opening: loads it, shows it modally, unloads it once it is
// hidden and deletes it later, also when its load or activation failed (the error goes on).
void showModalOnce(Form *form);

// The one instance of a window, created and loaded on first use and made afresh after it
// was unloaded:  static MyForm &instance() { static QPointer<MyForm> f; return instanceOf(f); }
template <class F> F &instanceOf(QPointer<F> &slot)
{
    if (!slot || slot->isUnloaded()) {
        if (slot)
            slot->deleteLater();
        slot = new F;
        slot->load();
    }
    return *slot;
}

} // namespace platform
