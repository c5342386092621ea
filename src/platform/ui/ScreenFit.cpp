#include "platform/ui/ScreenFit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <limits>

namespace platform {

QRect fitFrameWithin(const QRect &client, const QMargins &frame, const QRect &available)
{
    const int width =
        std::max(1, std::min(client.width(), available.width() - frame.left() - frame.right()));
    const int height =
        std::max(1, std::min(client.height(), available.height() - frame.top() - frame.bottom()));
    // The frame's top left, pushed back from the right and bottom edges, then from the
    // left and top ones, which win when the frame alone is wider than the screen.
    int left = client.x() - frame.left();
    int top = client.y() - frame.top();
    const int frameWidth = width + frame.left() + frame.right();
    const int frameHeight = height + frame.top() + frame.bottom();
    left = std::min(left, available.x() + available.width() - frameWidth);
    top = std::min(top, available.y() + available.height() - frameHeight);
    left = std::max(left, available.x());
    top = std::max(top, available.y());
    return QRect(left + frame.left(), top + frame.top(), width, height);
}

namespace {
QMargins frameMarginsOf(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

QScreen *screenOf(const QWidget *window)
{
    QScreen *screen = window->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

QHash<QByteArray, QMargins> &framesOfKinds()
{
    static QHash<QByteArray, QMargins> frames;
    return frames;
}
} // namespace

QMargins expectedFrameMargins(const QWidget *window)
{
    QMargins frame = frameMarginsOf(window);
    if (frame.isNull())
        frame = framesOfKinds().value(window->metaObject()->className());
    if (frame.isNull()) {
        // Not framed yet: a window that is shows what the window system adds.
        for (const QWidget *other : QApplication::topLevelWidgets()) {
            if (other != window && other->isVisible() && !frameMarginsOf(other).isNull()) {
                frame = frameMarginsOf(other);
                break;
            }
        }
    }
    return frame;
}

QRect expectedFrameGeometry(const QWidget *window)
{
    return window->geometry().marginsAdded(expectedFrameMargins(window));
}

void rememberFrame(const QWidget *window)
{
    const QMargins frame = frameMarginsOf(window);
    if (window->isWindow() && !frame.isNull())
        framesOfKinds().insert(window->metaObject()->className(), frame);
}

void placeFrameAt(QWidget *window, const QPoint &corner)
{
    const QMargins frame = expectedFrameMargins(window);
    window->setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), window->size()));
}

void keepOnScreen(QWidget *window)
{
    if (!window || !window->isWindow())
        return;
    QScreen *screen = screenOf(window);
    if (!screen)
        return;
    const QMargins frame = expectedFrameMargins(window);
    const QRect fitted = fitFrameWithin(window->geometry(), frame, screen->availableGeometry());
    if (fitted == window->geometry())
        return;
    // The client area is placed, not the frame: a window not yet framed by the window manager
    // would otherwise be placed as if it had none, and get its title bar above the screen.
    window->setGeometry(fitted);
}

QRect availableClientArea(const QWidget *window)
{
    const QScreen *screen = screenOf(window);
    if (!screen)
        return QRect(0, 0, std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    return fitFrameWithin(screen->availableGeometry(), expectedFrameMargins(window),
                          screen->availableGeometry());
}

int widestClientWidth(const QWidget *window)
{
    return availableClientArea(window).width();
}

} // namespace platform
