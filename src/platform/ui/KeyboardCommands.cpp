#include "platform/ui/KeyboardCommands.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QShortcutEvent>

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

void installKeyboardCommands()
{
    static bool installed = false;
    if (installed || !qApp)
        return;
    installed = true;
    qApp->installEventFilter(new KeyboardCommands(qApp));
}

} // namespace platform
