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
    for (QObject *watched : std::initializer_list<QObject *>{window.Table1, window.txtName, window.txtPhone,
                                                             window.TextBackground})
        watched->installEventFilter(this);
}

bool NameListEvents::eventFilter(QObject *watched, QEvent *event)
{
    Q_UNUSED(watched);
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
