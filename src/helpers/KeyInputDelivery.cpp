#include "helpers/KeyInputDelivery.h"

#include "helpers/KeyboardLayout.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

// Qt's own entry for giving the application's shortcuts (menu mnemonics, actions) the first
// look at a key press, as real keyboard input does; exported by Qt GUI for its test library.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject *o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString &text, bool autorep, ushort count);

namespace {

const QEvent::Type BatchEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

class BatchEvent : public QEvent {
  public:
    explicit BatchEvent(QList<KeyInputRecord> records) : QEvent(BatchEventType), records(std::move(records))
    {
    }
    QList<KeyInputRecord> records;
};

// The widget the keyboard is typing into now: a grabber, an open pop-up (a menu, a list),
// the focus widget, or at least the active window.
QWidget *focusTarget()
{
    if (QWidget *grabber = QWidget::keyboardGrabber())
        return grabber;
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    if (QWidget *focus = QApplication::focusWidget())
        return focus;
    return QApplication::activeWindow();
}

bool isLetterKey(int key)
{
    return key >= Qt::Key_A && key <= Qt::Key_Z;
}

} // namespace

KeyInputDelivery *KeyInputDelivery::instance()
{
    static QPointer<KeyInputDelivery> delivery;
    if (!delivery)
        delivery = new KeyInputDelivery(QCoreApplication::instance());
    return delivery;
}

void KeyInputDelivery::post(QList<KeyInputRecord> records)
{
    if (!records.isEmpty())
        QCoreApplication::postEvent(this, new BatchEvent(std::move(records)));
}

bool KeyInputDelivery::event(QEvent *e)
{
    if (e->type() == BatchEventType) {
        play(static_cast<BatchEvent *>(e)->records);
        return true;
    }
    return QObject::event(e);
}

void KeyInputDelivery::play(const QList<KeyInputRecord> &records)
{
    for (const KeyInputRecord &record : records)
        playOne(record);
    // The application's notion of the held keys follows the presses only; once the string
    // has let go of every modifier, say so, or a later click would seem Shift-clicked.
    if (QGuiApplication::keyboardModifiers() != heldModifiers())
        qt_sendShortcutOverrideEvent(this, 0, Qt::Key_unknown, heldModifiers(), QString(), false, 1);
}

Qt::KeyboardModifiers KeyInputDelivery::heldModifiers() const
{
    Qt::KeyboardModifiers mods;
    if (mShift)
        mods |= Qt::ShiftModifier;
    if (mCtrl)
        mods |= Qt::ControlModifier;
    if (mAlt)
        mods |= Qt::AltModifier;
    return mods;
}

void KeyInputDelivery::playOne(const KeyInputRecord &record)
{
    QWidget *target = focusTarget();
    const bool press = !record.isKeyUp();

    if (record.isUnicode()) {
        const char16_t code = record.scanCode;
        // A character beyond the first plane comes as two halves; type it once, whole.
        if (QChar::isHighSurrogate(code)) {
            if (press)
                mPendingHighSurrogate = code;
            return;
        }
        QString text;
        if (QChar::isLowSurrogate(code)) {
            if (!mPendingHighSurrogate)
                return;
            const QChar pair[2] = {QChar(mPendingHighSurrogate), QChar(code)};
            text = QString(pair, 2);
            if (!press)
                mPendingHighSurrogate = 0;
        } else {
            text = QString(QChar(code));
        }
        const char32_t ucs4 = text.toUcs4().value(0);
        const int key = ucs4 < 0x10000 ? int(QChar::toUpper(ucs4)) : Qt::Key_unknown;
        sendKey(target, press, key, text, heldModifiers());
        return;
    }

    const int vk = record.virtualKey;
    // Qt takes a modifier key's own event to carry the state from before it, as the
    // window systems report it, and turns it round for the receiver.
    const Qt::KeyboardModifiers before = heldModifiers();
    switch (vk) {
    case KeyboardLayout::VkShift:
        mShift = press;
        break;
    case KeyboardLayout::VkControl:
        mCtrl = press;
        break;
    case KeyboardLayout::VkMenu:
        mAlt = press;
        break;
    case KeyboardLayout::VkCapital:
        if (press)
            mCapsLockOn = !mCapsLockOn;
        break;
    default:
        break;
    }
    // Ctrl and Alt combinations are commands, not typing.
    const QString text = (mCtrl || mAlt) ? QString() : KeyboardLayout::keyText(vk, mShift, mCapsLockOn);
    const bool modifierKey =
        vk == KeyboardLayout::VkShift || vk == KeyboardLayout::VkControl || vk == KeyboardLayout::VkMenu;
    sendKey(target, press, KeyboardLayout::qtKey(vk, mShift), text, modifierKey ? before : heldModifiers());
}

void KeyInputDelivery::sendKey(QWidget *target, bool press, int key, const QString &text,
                               Qt::KeyboardModifiers mods)
{
    if (!target)
        return;
    if (press) {
        if (qt_sendShortcutOverrideEvent(target, 0, key, mods, text, false, 1))
            return;
        // Menu access keys take no notice of Shift on the platform the key strings were
        // written for: "%R" opens "&Reports" although the capital R comes with Shift.
        const Qt::KeyboardModifiers unshifted = mods & ~Qt::ShiftModifier;
        if ((mods & Qt::AltModifier) && (mods & Qt::ShiftModifier) && isLetterKey(key) &&
            qt_sendShortcutOverrideEvent(target, 0, key, unshifted, text, false, 1))
            return;
    }
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(target, &event);
}
