#include "platform/ui/Form.h"

#include "platform/ui/DialogSeam.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/KeyboardCommands.h"
#include "platform/ui/ScreenFit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QShowEvent>
#include <QTextEdit>
#include <QTimer>

namespace platform {

namespace {

// Forms in the order they were shown, and the modal ones still open, innermost last.
QList<QPointer<Form>> &shownForms()
{
    static QList<QPointer<Form>> forms;
    return forms;
}

QList<QPointer<Form>> &modalStack()
{
    static QList<QPointer<Form>> forms;
    return forms;
}

void prune(QList<QPointer<Form>> &forms)
{
    forms.removeIf([](const QPointer<Form> &form) { return form.isNull(); });
}

// The Qt key a typed character stands for, when a key handler replaces the character.
int keyForCharacter(int ascii)
{
    switch (ascii) {
    case CharBackspace:
        return Qt::Key_Backspace;
    case CharTab:
        return Qt::Key_Tab;
    case CharEnter:
        return Qt::Key_Return;
    case CharEscape:
        return Qt::Key_Escape;
    default:
        return ascii >= CharSpace ? int(QChar(ascii).toUpper().unicode()) : int(Qt::Key_unknown);
    }
}

// A tab character in a notes box is never wanted, and typing one instead of moving on would
// keep a keyboard user in the box: Tab and Shift+Tab leave every box. A read-only box shows
// no caret of its own, so the focus would be invisible there: it gets one.
template <class Box> void fitMultiLineBoxesForKeyboard(QWidget *form)
{
    for (Box *box : form->findChildren<Box *>()) {
        box->setTabChangesFocus(true);
        if (box->isReadOnly())
            box->setTextInteractionFlags(box->textInteractionFlags() | Qt::TextSelectableByKeyboard);
    }
}

} // namespace

Form::Form(QWidget *parent) : QWidget(parent, Qt::Window)
{
    installKeyboardCommands();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { showFocus(now); });
}

void Form::showFocus(QWidget *focused)
{
    if (!focused || focused->window() != this)
        return;
    // A box in a page that scrolls is scrolled into view, whichever way the focus came.
    for (QWidget *inner = focused; inner && inner != this; inner = inner->parentWidget()) {
        if (auto *page = qobject_cast<QScrollArea *>(inner);
            page && page->widget() && page->widget()->isAncestorOf(focused))
            page->ensureWidgetVisible(focused);
    }
    // A list, a grid or a page that scrolls shows no caret, and its current item (an empty
    // list has none) looks the same whether it has the focus or not: the window draws a frame
    // around the one that has it.
    auto *framed = qobject_cast<QAbstractItemView *>(focused) ? qobject_cast<QAbstractScrollArea *>(focused)
                                                              : qobject_cast<QScrollArea *>(focused);
    if (framed && !mFocusFrame)
        mFocusFrame = new QFocusFrame(this);
    if (mFocusFrame)
        mFocusFrame->setWidget(framed);
}

Form::~Form()
{
    // Closing the window moves the focus while its controls go: nothing is to be shown then.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    if (mKeyPreview)
        qApp->removeEventFilter(this);
    if (mModalLoop)
        mModalLoop->quit();
}

void Form::load()
{
    if (mLoaded)
        return;
    // Counted as loaded while its load runs, so that what the load calls finds the window;
    // a load that fails leaves it unloaded, and the next opening makes it afresh.
    mLoaded = true;
    try {
        Form_Load();
    } catch (...) {
        abandon(false);
        throw;
    }
}

bool Form::unload()
{
    return unloadWith(vbFormCode);
}

bool Form::unloadWith(int unloadMode)
{
    if (!mLoaded || mUnloaded)
        return true;
    bool cancel = false;
    Form_QueryUnload(cancel, unloadMode);
    if (cancel)
        return false;
    Form_Unload(cancel);
    if (cancel)
        return false;
    mUnloaded = true;
    hide();
    emit wasUnloaded();
    return true;
}

void Form::abandon(bool runUnload)
{
    if (mUnloaded)
        return;
    // The error that ended the window is the caller's to tell; one met while closing what
    // was made of it would only hide that one.
    if (runUnload) {
        bool cancel = false;
        try {
            Form_Unload(cancel);
        } catch (...) {
            qWarning("%s: closing after a failed opening failed too", qPrintable(objectName()));
        }
    }
    mUnloaded = true;
    hide();
    emit wasUnloaded();
}

Form *Form::pickOpener(Form *owner) const
{
    if (owner && owner != this)
        return owner;
    prune(modalStack());
    for (auto it = modalStack().crbegin(); it != modalStack().crend(); ++it) {
        if (*it != this && (*it)->isVisible())
            return *it;
    }
    if (auto *active = qobject_cast<Form *>(QApplication::activeWindow()); active && active != this)
        return active;
    prune(shownForms());
    for (auto it = shownForms().crbegin(); it != shownForms().crend(); ++it) {
        if (*it != this && (*it)->isVisible())
            return *it;
    }
    return nullptr;
}

void Form::showAndActivate(Form *owner)
{
    mOpener = pickOpener(owner);
    shownForms().removeAll(this);
    shownForms().append(this);
    show();
    raise();
    // A window that only shows something beside another leaves the keys where they are.
    if (!testAttribute(Qt::WA_ShowWithoutActivating))
        activateWindow();
    activate();
    // A window whose own code chose no control opens on the first control of its tab
    // order, so that what the user types at once is not lost.
    if (!focusWidget() || focusWidget() == this)
        focusFirstControl();
}

void Form::focusFirstControl()
{
    for (QWidget *w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (w->window() == this && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            w->isVisibleTo(this)) {
            checkedChoiceOf(w)->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

QWidget *Form::checkedChoiceOf(QWidget *control)
{
    // Of a group of choices the one checked takes the focus, so that Space keeps the choice.
    auto *choice = qobject_cast<QRadioButton *>(control);
    if (!choice || choice->isChecked() || !choice->autoExclusive() || !choice->parentWidget())
        return control;
    for (QRadioButton *other :
         choice->parentWidget()->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly)) {
        if (other->isChecked() && other->autoExclusive() && other->isEnabled() && other->isVisibleTo(this))
            return other;
    }
    return control;
}

void Form::activate()
{
    if (isVisible() && !mUnloaded)
        Form_Activate();
}

void Form::showModeless(Form *owner)
{
    load();
    if (mUnloaded)
        return;
    const bool wasVisible = isVisible();
    if (wasVisible) {
        raise();
        activateWindow();
        return;
    }
    try {
        showAndActivate(owner);
    } catch (...) {
        abandon(true);
        throw;
    }
}

void Form::showModal(Form *owner)
{
    load();
    if (mUnloaded || mModalLoop)
        return;
    QPointer<Form> self(this);
    QEventLoop loop;
    mModalLoop = &loop;
    modalStack().append(this);
    setWindowModality(Qt::ApplicationModal);
    // A window whose activation fails (or an error that leaves its loop) is never left on
    // screen, modal, with no loop behind it: it goes, and the caller gets the error.
    try {
        showAndActivate(owner);
        if (self && isVisible()) {
            if (dialogHookInstalled())
                QTimer::singleShot(0, this, &Form::driveModalForTests);
            loop.exec(QEventLoop::DialogExec);
        }
    } catch (...) {
        if (self) {
            endModal();
            abandon(true);
        }
        throw;
    }
    if (self)
        endModal();
}

void Form::endModal()
{
    mModalLoop = nullptr;
    modalStack().removeAll(this);
    if (isVisible())
        hide();
    setWindowModality(Qt::NonModal);
}

void showModalOnce(Form *form)
{
    const QPointer<Form> window(form);
    const auto release = qScopeGuard([&window] {
        if (window)
            window->deleteLater();
    });
    window->load();
    window->showModal();
    if (window && window->isLoaded())
        window->unload();
}

void Form::driveModalForTests()
{
    DialogRequest request;
    request.kind = DialogKind::ModalForm;
    request.form = this;
    request.objectName = objectName();
    request.title = windowTitle();
    QPointer<Form> self(this);
    runDialog(request);
    if (self && mModalLoop && isVisible())
        hide();
}

void Form::showEvent(QShowEvent *event)
{
    load();
    fitMultiLineBoxesForKeyboard<QPlainTextEdit>(this);
    fitMultiLineBoxesForKeyboard<QTextEdit>(this);
    // Whatever place and size the window's own code chose, it opens wholly on its screen:
    // this runs before the window system shows it.
    if (!event->spontaneous())
        keepOnScreen(this);
    // Styles draw the focus only once the keyboard has moved it; a keyboard user must see
    // where the focus is from the first paint.
    setAttribute(Qt::WA_KeyboardFocusChange);
    QWidget::showEvent(event);
}

void Form::hideEvent(QHideEvent *event)
{
    rememberFrame(this);
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    if (mModalLoop)
        mModalLoop->quit();
    // The window that opened this one is activated once the closing code has returned.
    if (QPointer<Form> opener = mOpener) {
        mOpener = nullptr;
        QTimer::singleShot(0, opener, [opener] {
            // A modal window opened above it since then keeps it inactive.
            prune(modalStack());
            const qsizetype below = modalStack().indexOf(opener);
            for (qsizetype i = below + 1; i < modalStack().size(); ++i) {
                if (modalStack()[i]->isVisible())
                    return;
            }
            opener->activate();
        });
    }
}

void Form::closeEvent(QCloseEvent *event)
{
    if (mUnloaded) {
        event->accept();
        return;
    }
    event->setAccepted(unloadWith(vbFormControlMenu));
}

void Form::setDialogBorder(bool fixed)
{
    Qt::WindowFlags flags =
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (fixed)
        flags |= Qt::MSWindowsFixedSizeDialogHint;
    setWindowFlags(flags);
    if (fixed)
        setFixedSize(size());
}

void Form::setKeyPreview(bool on)
{
    if (on == mKeyPreview)
        return;
    mKeyPreview = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool Form::dispatchKey(QKeyEvent *event, QWidget *receiver)
{
    int keyCode = event->key();
    if (event->type() == QEvent::KeyRelease) {
        Form_KeyUp(keyCode, event->modifiers());
        return keyCode == KeyCancelled;
    }
    Form_KeyDown(keyCode, event->modifiers());
    if (keyCode == KeyCancelled)
        return true;
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    const int typed = text.at(0).unicode();
    int keyAscii = typed;
    Form_KeyPress(keyAscii);
    if (keyAscii == KeyCancelled)
        return true;
    if (keyAscii == typed || !receiver)
        return false;
    // Deliver the character the handler chose instead of the one typed.
    QKeyEvent replaced(QEvent::KeyPress, keyForCharacter(keyAscii), event->modifiers(),
                       QString(QChar(keyAscii)));
    mResending = true;
    QCoreApplication::sendEvent(receiver, &replaced);
    mResending = false;
    return true;
}

bool Form::eventFilter(QObject *watched, QEvent *event)
{
    if (!mKeyPreview || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return QWidget::eventFilter(watched, event);
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || mResending || !isEnabled() || (widget != this && !isAncestorOf(widget)))
        return false;
    // A key a control ignores travels on to its parents: the form has seen it already.
    if (event == mLastKeyEvent && mLastKeyReceiver && widget != mLastKeyReceiver &&
        widget->isAncestorOf(mLastKeyReceiver))
        return false;
    mLastKeyEvent = event;
    mLastKeyReceiver = widget;
    return dispatchKey(static_cast<QKeyEvent *>(event), widget == this ? nullptr : widget);
}

void Form::keyPressEvent(QKeyEvent *event)
{
    // Without preview the form sees only the keys meant for itself.
    const bool ownKey = !mKeyPreview && (!focusWidget() || focusWidget() == this);
    if (ownKey && dispatchKey(event, nullptr))
        return;
    if (pressCancelButton(event))
        return;
    if (!ownKey)
        QWidget::keyPressEvent(event);
}

void Form::setCancelButton(QAbstractButton *button)
{
    mCancelButton = button;
}

bool Form::pressCancelButton(const QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape || (event->modifiers() & ~Qt::KeypadModifier) || !mCancelButton ||
        !mCancelButton->isVisibleTo(this) || !mCancelButton->isEnabled() || !isEnabled())
        return false;
    if (mCancelButton->focusPolicy() & Qt::TabFocus)
        mCancelButton->setFocus(Qt::ShortcutFocusReason);
    mCancelButton->click();
    return true;
}

void Form::keyReleaseEvent(QKeyEvent *event)
{
    if (!mKeyPreview && (!focusWidget() || focusWidget() == this)) {
        dispatchKey(event, nullptr);
        return;
    }
    QWidget::keyReleaseEvent(event);
}

} // namespace platform
