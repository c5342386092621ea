#include "platform/ui/Twips.h"

#include "platform/ui/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace platform {

namespace {
double dpiX()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

double dpiY()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}
} // namespace

int twipsToPixels(double twips, double dpi)
{
    return int(std::lround(twips * dpi / TwipsPerInch));
}

double pixelsToTwips(int pixels, double dpi)
{
    return pixels * TwipsPerInch / dpi;
}

int twipsToPixelsX(double twips)
{
    return twipsToPixels(twips, dpiX());
}

int twipsToPixelsY(double twips)
{
    return twipsToPixels(twips, dpiY());
}

double pixelsToTwipsX(int pixels)
{
    return pixelsToTwips(pixels, dpiX());
}

double pixelsToTwipsY(int pixels)
{
    return pixelsToTwips(pixels, dpiY());
}

void setGeometryTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsToPixelsX(left), twipsToPixelsY(top), twipsToPixelsX(width),
                        twipsToPixelsY(height));
}

void setClientSizeTwips(QWidget *window, int width, int height)
{
    window->resize(twipsToPixelsX(width), twipsToPixelsY(height));
}

int screenWidthTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? int(std::lround(pixelsToTwipsX(screen->geometry().width()))) : 0;
}

int screenHeightTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? int(std::lround(pixelsToTwipsY(screen->geometry().height()))) : 0;
}

void moveWindowTwips(QWidget *window, int left, int top)
{
    placeFrameAt(window, QPoint(twipsToPixelsX(left), twipsToPixelsY(top)));
}

int windowWidthTwips(const QWidget *window)
{
    return int(std::lround(pixelsToTwipsX(expectedFrameGeometry(window).width())));
}

int windowHeightTwips(const QWidget *window)
{
    return int(std::lround(pixelsToTwipsY(expectedFrameGeometry(window).height())));
}

} // namespace platform

namespace platform {
namespace {
void centreFrameOf(QWidget *window, const QSize &clientSize)
{
    const QMargins frame = expectedFrameMargins(window);
    const int width = int(std::lround(pixelsToTwipsX(clientSize.width() + frame.left() + frame.right())));
    const int height = int(std::lround(pixelsToTwipsY(clientSize.height() + frame.top() + frame.bottom())));
    moveWindowTwips(window, (screenWidthTwips() - width) / 2, (screenHeightTwips() - height) / 2);
}

bool framed(const QWidget *window)
{
    return window->frameGeometry() != window->geometry();
}

// The program's first window is centred before anything on screen tells what frame the window
// manager gives: its client area alone was centred. Once it is framed and painted, and unless
// it was moved meanwhile, its frame is centred as every later window's is, so that a window
// opened again (the main window after a password change) stands where it stood.
class CentreOnceFramed : public QObject {
  public:
    explicit CentreOnceFramed(QWidget *window)
        : QObject(window), mWindow(window), mClientSize(window->size()), mPlaced(window->geometry().topLeft())
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != mWindow)
            return false;
        const bool framedNow = event->type() == QEvent::Paint && framed(mWindow);
        if (framedNow && mWindow->geometry().topLeft() == mPlaced)
            centreFrameOf(mWindow, mClientSize);
        if (framedNow || event->type() == QEvent::Hide) {
            mWindow->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

  private:
    QWidget *mWindow;
    QSize mClientSize;
    QPoint mPlaced;
};
} // namespace

void centerWindowOnScreen(QWidget *window)
{
    // The frame is known once the platform window exists; the size centred is the outer one.
    if (window->isWindow() && !window->testAttribute(Qt::WA_WState_Created))
        window->winId();
    centreFrameOf(window, window->size());
    if (window->isWindow() && expectedFrameMargins(window).isNull())
        new CentreOnceFramed(window);
}
} // namespace platform
