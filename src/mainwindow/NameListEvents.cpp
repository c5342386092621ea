#include "mainwindow/NameListEvents.h"

#include "helpers/KeyboardLayout.h"
#include "mainwindow/NameList.h"

#include <QFocusEvent>
#include <QFrame>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTableView>

NameListEvents::NameListEvents(NameList &window) : QObject(&window), mWindow(window)
{
    for (QObject *watched : std::initializer_list<QObject *>{window.Table1, window.txtLocate, window.txtName,
                                                             window.txtPhone, window.TextBackground})
        watched->installEventFilter(this);
    window.Table1->viewport()->installEventFilter(this);
}

bool NameListEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mWindow.txtLocate)
        return locateBoxEvent(event);
    if (watched == mWindow.Table1->viewport())
        return gridMouse(static_cast<QWidget *>(watched), event);
    // The grid and the detail area under it share one key handler.
    return gridKey(event);
}

bool NameListEvents::gridKey(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    int keyCode = key->key();
    mWindow.Table1_KeyDown(keyCode, key->modifiers(), key->text());
    return keyCode == 0;
}

bool NameListEvents::gridMouse(QWidget *viewport, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const QModelIndex at = mWindow.Table1->indexAt(mouse->position().toPoint());
    if (event->type() == QEvent::MouseButtonPress) {
        // The press moves the cursor before the click is reported: say first that the
        // move into the mark column is the user's click.
        if (at.isValid() && at.column() == 0)
            mWindow.Table1_MarkPress();
        return false;
    }
    // The grid reports double-clicks on rows only; on a list with no rows the
    // double-click still asks to view a contact, and is told there is none.
    if (!at.isValid() && mWindow.Table1->model()->rowCount() == 0 &&
        viewport->rect().contains(mouse->position().toPoint()))
        mWindow.Table1_DblClick();
    return false;
}

namespace {

// A key that the US layout the key codes describe does not have: a letter of another
// layout, or a character that an input method composed.
int keyCodeOf(const QKeyEvent *key)
{
    const int vk = KeyboardLayout::virtualKey(key->key());
    if (vk != 0)
        return vk;
    const QString text = key->text();
    if (!text.isEmpty() && text.at(0).isPrint())
        return KeyboardLayout::VkPacket;
    return 0;
}

} // namespace

bool NameListEvents::locateBoxEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->text().isEmpty())
            return false;
        const int typed = key->text().at(0).unicode();
        int keyAscii = typed;
        mWindow.txtLocate_KeyPress(keyAscii);
        return keyAscii == 0;
    }
    case QEvent::KeyRelease: {
        auto *key = static_cast<QKeyEvent *>(event);
        // A held key searches once, when it is let go.
        if (!key->isAutoRepeat())
            mWindow.txtLocate_KeyUp(keyCodeOf(key), key->modifiers());
        return false;
    }
    case QEvent::InputMethod: {
        // Dead keys and composing input methods hand the box whole characters, with no
        // key released afterwards: search once the box holds them.
        if (!static_cast<QInputMethodEvent *>(event)->commitString().isEmpty())
            QMetaObject::invokeMethod(
                &mWindow, [window = &mWindow] { window->txtLocate_KeyUp(KeyboardLayout::VkPacket, {}); },
                Qt::QueuedConnection);
        return false;
    }
    case QEvent::FocusOut: {
        // A message box or menu over the window does not end the locate; going elsewhere
        // in the window does.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            mWindow.txtLocate_LostFocus();
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            mWindow.txtLocate_Click();
        return false;
    default:
        return false;
    }
}
