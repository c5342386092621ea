#include "printing/ReportRunWatch.h"

#include "platform/ui/MsgBox.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

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
    mStopRequested = false;
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

void ReportRunWatch::requestStop()
{
    if (mRunning)
        mStopRequested = true;
}

QString ReportRunWatch::runningMessage(bool previewShown)
{
    if (previewShown)
        return QStringLiteral("A report is being prepared. Close the preview to stop it, or wait until it "
                              "is done.");
    return QStringLiteral("A report is being printed. Please wait until it is done.");
}

namespace {
// The window a window was opened from: its parent widget's window, else the window
// the system keeps it above (a dialog's pop-ups and completion lists are windows of
// their own).
QWidget *openerOf(QWidget *window)
{
    if (QWidget *parent = window->parentWidget())
        return parent->window();
    if (QWindow *handle = window->windowHandle()) {
        if (QWindow *transient = handle->transientParent()) {
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (top->windowHandle() == transient)
                    return top;
            }
        }
    }
    return nullptr;
}
} // namespace

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
    // A window and the windows it was opened from, up to the first that decides:
    // the preview, or a dialog (message box, modal window) that must be answered.
    QWidget *top = widget->window();
    // A pop-up (completion list, menu, drop-down list) that opened while a dialog waits
    // for an answer is that dialog's: nothing else can open one then.
    if (top->windowType() == Qt::Popup && QApplication::activeModalWidget())
        return true;
    int depth = 0;
    for (QWidget *window = top; window && depth < 32; window = openerOf(window), ++depth) {
        if (mPreview && window == mPreview)
            return true;
        if (window->windowModality() != Qt::NonModal || window->isModal())
            return true;
    }
    return false;
}

void ReportRunWatch::tellRunning(QObject *watched)
{
    // The notice does not hold the report up: the report's own event runs keep drawing
    // it, and it goes when the user answers it, whether or not the report is done.
    const bool previewShown = mPreview && mPreview->isVisible();
    QWidget *window = watched->isWidgetType() ? static_cast<QWidget *>(watched)->window() : nullptr;
    platform::ShowNotice(runningMessage(previewShown), platform::vbInformation, window);
}

bool ReportRunWatch::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
        if (letThrough(watched))
            return false;
        // The shift keys alone command nothing; a key held down repeats without
        // asking again.
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->isAutoRepeat() || key->key() == Qt::Key_Shift || key->key() == Qt::Key_Control ||
                key->key() == Qt::Key_Alt || key->key() == Qt::Key_Meta)
                return true;
        }
        if (watched->isWidgetType())
            tellRunning(watched);
        return true;
    case QEvent::MouseButtonRelease:
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
        // Closed by the user from its title bar; the program's own closing waits quietly.
        if (event->spontaneous() && static_cast<QWidget *>(watched)->isWindow())
            tellRunning(watched);
        return true;
    default:
        return false;
    }
}
