#include "platform/ui/ScrollBarWidth.h"

#include "platform/ui/Twips.h"

#include <QApplication>
#include <QProxyStyle>
#include <QSettings>

#include <memory>

namespace platform {

namespace {

const char *const WidthKey = "ScrollBarWidth";

std::unique_ptr<QSettings> userSettings()
{
    // INI format on every system, so that the file (and the tests' copy of it) is plain text.
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quiltern"),
                                       QStringLiteral("Quiltern"));
}

class ScrollBarExtentStyle : public QProxyStyle {
  public:
    explicit ScrollBarExtentStyle(int pixels) : mPixels(pixels) {}

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_ScrollBarExtent)
            return mPixels;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

  private:
    int mPixels;
};

} // namespace

bool storeScrollBarWidth(int twips)
{
    const std::unique_ptr<QSettings> settings = userSettings();
    settings->setValue(QLatin1String(WidthKey), twips);
    settings->sync();
    return settings->status() == QSettings::NoError && storedScrollBarWidth() == twips;
}

int storedScrollBarWidth()
{
    bool ok = false;
    const int twips = userSettings()->value(QLatin1String(WidthKey)).toInt(&ok);
    return ok && twips > 0 ? twips : 0;
}

void applyStoredScrollBarWidth()
{
    const int twips = storedScrollBarWidth();
    if (twips <= 0 || !qApp)
        return;
    QApplication::setStyle(new ScrollBarExtentStyle(qMax(1, twipsToPixelsX(twips))));
}

} // namespace platform
