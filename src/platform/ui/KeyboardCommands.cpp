#include "platform/ui/KeyboardCommands.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcutEvent>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace platform {

namespace {

// The box whose dropped list has the key, if any.
QComboBox *droppedBoxOf(QObject *receiver)
{
    auto *widget = qobject_cast<QWidget *>(receiver);
    for (QObject *at = receiver; widget && at; at = at->parent()) {
        if (auto *box = qobject_cast<QComboBox *>(at)) {
            QAbstractItemView *list = box->view();
            const bool inList = list && (list == widget || list->isAncestorOf(widget));
            return inList && list->isVisible() ? box : nullptr;
        }
    }
    return nullptr;
}

// The key held down now, as its press left it.
struct HeldKey {
    bool down = false;
    int key = 0;
    quint32 scanCode = 0;
    Qt::KeyboardModifiers modifiers;
    quint64 timestamp = 0;
    QPointer<QWidget> window; // the window its press reached
    bool commanded = false;   // its press commanded rather than typed
    bool pressedButton = false; // a Space that pressed a button down: its release clicks it
};

HeldKey held;

// The last hold a release ended, as it stood. The keyboard repeats a key as a release and a
// press stamped with one instant, and the window system does not always mark the pair as a
// repeat: a press at that instant goes on with the hold the release seemed to end.
struct EndedHold {
    HeldKey hold;
    quint64 timestamp = 0;
};

EndedHold lastEnded;

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_Mode_switch:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case 0:
    case Qt::Key_unknown:
        return true;
    default:
        return false;
    }
}

// The same physical key, whatever the modifiers now make of it (Shift turns 1 into !).
bool isKeyOf(const HeldKey &hold, const QKeyEvent *event)
{
    if (hold.scanCode != 0 || event->nativeScanCode() != 0)
        return hold.scanCode == event->nativeScanCode();
    return hold.key == event->key();
}

bool isHeldKey(const QKeyEvent *event)
{
    return isKeyOf(held, event);
}

// A press the keyboard repeated though nothing marked it so; the hold it belongs to is the
// held one again.
bool continuesEndedHold(const QKeyEvent *event)
{
    if (event->timestamp() == 0 || event->timestamp() != lastEnded.timestamp ||
        !isKeyOf(lastEnded.hold, event))
        return false;
    held = lastEnded.hold;
    return true;
}

// A key the program sends itself (a grid handing its typing on to another box) while the
// user holds one: it neither ends nor replaces the hold.
bool isSentWhileHeld(const QKeyEvent *event)
{
    return event->nativeScanCode() == 0 && held.down && held.scanCode != 0;
}

// Space pressing a button down; the button clicks when the key is let go.
bool pressesButton(QObject *receiver, const QKeyEvent *event)
{
    return (event->key() == Qt::Key_Space || event->key() == Qt::Key_Select) &&
           qobject_cast<QAbstractButton *>(receiver);
}

// Enter (Return or the keypad's) on a button clicks it, unless the button, the window or a
// filter of its makes something else of the key. Not on a check box or an option: there
// Enter is no choice of its own.
struct EnterOnButton {
    const QEvent *event = nullptr;
    QPointer<QAbstractButton> button;
};

EnterOnButton enterOnButton;

EnterOnButton enterOnButtonOf(QObject *receiver, const QKeyEvent *event)
{
    auto *button = qobject_cast<QAbstractButton *>(receiver);
    if (!button || button->isCheckable() || (event->modifiers() & ~Qt::KeypadModifier) ||
        (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter))
        return {};
    return {event, button};
}

// Ctrl and Alt together are how some systems report AltGr, which types.
bool isChord(Qt::KeyboardModifiers modifiers)
{
    const bool altGr = (modifiers & Qt::ControlModifier) && (modifiers & Qt::AltModifier);
    return !altGr && (modifiers & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier));
}

QWidget *windowOf(QObject *receiver)
{
    if (receiver->isWidgetType())
        return static_cast<QWidget *>(receiver)->window();
    if (auto *window = qobject_cast<QWindow *>(receiver)) {
        // Every key reaches its window before its control, and the program's windows are
        // found among all its widgets: the one found last is nearly always the one again.
        static QPointer<QWidget> found;
        if (found && found->windowHandle() == window)
            return found;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->windowHandle() == window)
                return found = top;
    }
    return nullptr;
}

// Takes the character out of a key event that must not type; the key itself stays.
struct UntypedKey : QKeyEvent {
    static void clearText(QKeyEvent *event)
    {
        QString QKeyEvent::*text = &UntypedKey::m_text;
        (event->*text).clear();
    }
};

bool typesSomething(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isPrint(); });
}

// Menus find their items by the letter even with Alt. The keys of an open menu reach a window
// of the window system's first, which hands them on to the menu.
bool isMenuKey(QObject *receiver)
{
    if (qobject_cast<QMenu *>(receiver) || qobject_cast<QMenuBar *>(receiver))
        return true;
    return !receiver->isWidgetType() && qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

void typeNothingWithChord(QObject *receiver, QKeyEvent *event)
{
    if (isChord(event->modifiers()) && typesSomething(event->text()) && !isMenuKey(receiver))
        UntypedKey::clearText(event);
}

void notePress(QObject *receiver, const QKeyEvent *event)
{
    QWidget *window = windowOf(receiver);
    // The override check and the press itself are one press; a release the program never saw
    // does not make the next press of the key part of the last.
    if (held.down && isHeldKey(event) && held.modifiers == event->modifiers() &&
        held.timestamp == event->timestamp()) {
        if (!held.window)
            held.window = window;
        held.pressedButton = held.pressedButton || pressesButton(receiver, event);
        return;
    }
    held.down = true;
    held.key = event->key();
    held.scanCode = event->nativeScanCode();
    held.modifiers = event->modifiers();
    held.timestamp = event->timestamp();
    held.window = window;
    held.pressedButton = pressesButton(receiver, event);
    held.commanded = event->key() == Qt::Key_Escape ||
                     (isChord(event->modifiers()) && !(event->modifiers() & Qt::ControlModifier));
}

// A repeated press (or the release the keyboard sends with it) that must do nothing. A
// held Space clicks its button once: a repeat would press it down again, and the next
// release click it again.
bool isSpentRepeat(QObject *receiver, const QKeyEvent *event)
{
    if (!held.down || !isHeldKey(event) || held.commanded || held.pressedButton)
        return true;
    QWidget *window = windowOf(receiver);
    return window && window != held.window;
}

class KeyboardCommands : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Shortcut)
            return clickAtOnce(watched, static_cast<QShortcutEvent *>(event));
        if (event->type() == QEvent::KeyPress)
            return leaveDroppedList(watched, static_cast<QKeyEvent *>(event));
        return false;
    }

  private:
    static bool clickAtOnce(QObject *watched, QShortcutEvent *event)
    {
        auto *button = qobject_cast<QAbstractButton *>(watched);
        // Two buttons of one letter: the key only moves the focus between them, as the
        // button itself does it.
        if (!button || event->isAmbiguous() || !button->isEnabled())
            return false;
        // The focus goes to the button first, as a click on it takes it: a box being left is
        // checked, and a window that tells its Cancel by the focus sees it there.
        if (button->focusPolicy() & (Qt::TabFocus | Qt::ClickFocus))
            button->setFocus(Qt::ShortcutFocusReason);
        button->click();
        return true;
    }

    static bool leaveDroppedList(QObject *watched, QKeyEvent *event)
    {
        const bool backwards = event->key() == Qt::Key_Backtab ||
                               (event->key() == Qt::Key_Tab && event->modifiers() & Qt::ShiftModifier);
        if ((event->key() != Qt::Key_Tab && !backwards) ||
            event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        QComboBox *box = droppedBoxOf(watched);
        if (!box)
            return false;
        box->hidePopup();
        QKeyEvent tab(QEvent::KeyPress, backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                      backwards ? Qt::ShiftModifier : Qt::NoModifier);
        QCoreApplication::sendEvent(box, &tab);
        return true;
    }
};

} // namespace

bool screenKeyEvent(QObject *receiver, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Shortcut) {
        if (held.down)
            held.commanded = true;
        return false;
    }
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (isModifierKey(key->key()))
        return false;
    if (isSentWhileHeld(key)) {
        if (type == QEvent::KeyPress)
            typeNothingWithChord(receiver, key);
        return false;
    }
    if (key->isAutoRepeat() || (type != QEvent::KeyRelease && continuesEndedHold(key))) {
        if (!isSpentRepeat(receiver, key))
            return false;
        // Taken by nobody: no shortcut runs for it, and no control sees it.
        key->accept();
        return true;
    }
    if (type == QEvent::KeyRelease) {
        if (!held.down || !isHeldKey(key))
            return false;
        QWidget *window = windowOf(receiver);
        const bool spent = held.commanded || (window && window != held.window);
        // The window system's window hands the release on to its control, which ends it.
        if (spent || receiver->isWidgetType() || !window) {
            lastEnded = {held, key->timestamp()};
            held.down = false;
        }
        if (!spent)
            return false;
        key->accept();
        return true;
    }
    notePress(receiver, key);
    if (type == QEvent::KeyPress) {
        typeNothingWithChord(receiver, key);
        enterOnButton = enterOnButtonOf(receiver, key);
    }
    return false;
}

void noteKeyDelivered(bool toWidget, const QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !toWidget)
        return;
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (event == enterOnButton.event) {
        const QPointer<QAbstractButton> button = std::exchange(enterOnButton, {}).button;
        if (!key->isAccepted() && button && button->isVisible() && button->isEnabled()) {
            // Once per press, as an access key: its repeats and its release do nothing more.
            if (held.down && isHeldKey(key))
                held.commanded = true;
            button->click();
        }
        return;
    }
    // A chord that no control or window took did nothing, and its release does nothing either:
    // a search on release would move a list for a key that typed nothing.
    if (!key->isAutoRepeat() && !key->isAccepted() && isChord(key->modifiers()) && held.down &&
        isHeldKey(key))
        held.commanded = true;
}

void installKeyboardCommands()
{
    static bool installed = false;
    if (installed || !qApp)
        return;
    installed = true;
    qApp->installEventFilter(new KeyboardCommands(qApp));
}

} // namespace platform
