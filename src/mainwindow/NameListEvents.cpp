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
    for (QObject *watched :
         std::initializer_list<QObject *>{window.Table1, window.txtName, window.txtPhone, window.TextBackground})
        watched->installEventFilter(this);
    window.Table1->viewport()->installEventFilter(this);
}

bool NameListEvents::eventFilter(QObject *watched, QEvent *event)
{
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
