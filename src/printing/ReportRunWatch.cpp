#include "printing/ReportRunWatch.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QWidget>

ReportRunWatch &ReportRunWatch::instance()
{
    static ReportRunWatch *watch = new ReportRunWatch;
    return *watch;
}

bool ReportRunWatch::begin()
{
    if (mRunning)
        return false;
    mRunning = true;
    if (qApp)
        qApp->installEventFilter(this);
    emit runningChanged(true);
    return true;
}

void ReportRunWatch::end()
{
    if (!mRunning)
        return;
    mRunning = false;
    if (qApp)
        qApp->removeEventFilter(this);
    emit runningChanged(false);
}

bool ReportRunWatch::letThrough(QObject *watched) const
{
    QWidget *widget = qobject_cast<QWidget *>(watched);
    if (auto *action = qobject_cast<QAction *>(watched)) {
        // A menu command's shortcut goes to its action.
        widget = qobject_cast<QWidget *>(action->parent());
        if (!widget)
            return false;
    }
    // The system's windows pass input on to their widgets, where it is judged.
    if (!widget)
        return true;
    QWidget *window = widget->window();
    if (mPreview && window == mPreview)
        return true;
    // Message boxes and modal dialogs shown during the run must still be answered.
    return window->windowModality() != Qt::NonModal || window->isModal();
}

bool ReportRunWatch::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        if (letThrough(watched))
            return false;
        return true;
    case QEvent::Close:
        if (!watched->isWidgetType() || letThrough(watched))
            return false;
        event->ignore();
        return true;
    default:
        return false;
    }
}
