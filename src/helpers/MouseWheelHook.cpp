#include "helpers/MouseWheelHook.h"

#include "helpers/MouseWheelWindow.h"
#include "helpers/mMouseScrollWheel.h"

#include <QApplication>
#include <QTableView>
#include <QWheelEvent>

namespace {

// A grid is a table view; the wheel reaches it through its viewport.
bool isGrid(QWidget *widget)
{
    if (qobject_cast<QTableView *>(widget))
        return true;
    auto *view = qobject_cast<QTableView *>(widget->parentWidget());
    return view && view->viewport() == widget;
}

int mouseKeys(const QWheelEvent *event)
{
    int keys = 0;
    const Qt::MouseButtons buttons = event->buttons();
    if (buttons & Qt::LeftButton)
        keys |= MouseWheelWindow::LeftButton;
    if (buttons & Qt::RightButton)
        keys |= MouseWheelWindow::RightButton;
    if (buttons & Qt::MiddleButton)
        keys |= MouseWheelWindow::MiddleButton;
    if (buttons & Qt::BackButton)
        keys |= MouseWheelWindow::BackButton;
    if (buttons & Qt::ForwardButton)
        keys |= MouseWheelWindow::ForwardButton;
    if (event->modifiers() & Qt::ShiftModifier)
        keys |= MouseWheelWindow::ShiftKey;
    if (event->modifiers() & Qt::ControlModifier)
        keys |= MouseWheelWindow::ControlKey;
    return keys;
}

} // namespace

MouseWheelHook *MouseWheelHook::instance()
{
    static QPointer<MouseWheelHook> hook;
    if (!hook)
        hook = new MouseWheelHook(QCoreApplication::instance());
    return hook;
}

void MouseWheelHook::hook(QWidget *window)
{
    if (!window || isHooked(window))
        return;
    if (mWindows.isEmpty())
        QCoreApplication::instance()->installEventFilter(this);
    mWindows.append(window);
}

void MouseWheelHook::unhook(QWidget *window)
{
    mWindows.removeIf([window](const QPointer<QWidget> &w) { return !w || w == window; });
    if (mWindows.isEmpty())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool MouseWheelHook::isHooked(QWidget *window) const
{
    return window && mWindows.contains(window);
}

bool MouseWheelHook::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && watched->isWidgetType())
        return handleWheel(static_cast<QWidget *>(watched), static_cast<QWheelEvent *>(event));
    return false;
}

bool MouseWheelHook::handleWheel(QWidget *receiver, QWheelEvent *event)
{
    QWidget *window = receiver->window();
    if (!isHooked(window))
        return false;
    // Other widgets that scroll by themselves (text boxes, open lists) keep their wheel; what
    // they leave reaches the window itself and scrolls its grid.
    const bool overGrid = isGrid(receiver);
    if (receiver != window && !overGrid)
        return false;
    auto *form = dynamic_cast<MouseWheelWindow *>(window);
    const int rotation = event->angleDelta().y();
    if (!form || rotation == 0)
        return false;
    const QPoint at = event->globalPosition().toPoint();
    if (!IsPointInWindow(window, at.x(), at.y()))
        return false;
    form->MouseWheel(mouseKeys(event), rotation, at.x(), at.y());
    // The grid scrolls through MouseWheel alone, never a second time by itself.
    return overGrid;
}
