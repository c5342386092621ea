#include "platform/ui/Twips.h"

#include "platform/ui/ScreenFit.h"

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
void centerWindowOnScreen(QWidget *window)
{
    // The frame is known once the platform window exists; the size centred is the outer one.
    if (window->isWindow() && !window->testAttribute(Qt::WA_WState_Created))
        window->winId();
    moveWindowTwips(window, (screenWidthTwips() - windowWidthTwips(window)) / 2,
                    (screenHeightTwips() - windowHeightTwips(window)) / 2);
}
} // namespace platform
