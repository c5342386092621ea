#include "mainwindow/NameListEvents.h"

#include "helpers/KeyboardLayout.h"
#include "mainwindow/NameList.h"

#include <QFocusEvent>
#include <QFrame>
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
}

bool NameListEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mWindow.txtLocate)
        return locateBoxEvent(event);
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
            mWindow.txtLocate_KeyUp(KeyboardLayout::virtualKey(key->key()), key->modifiers());
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
