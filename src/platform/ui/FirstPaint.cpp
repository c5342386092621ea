#include "platform/ui/FirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace platform {

namespace {

const QByteArray LineStart = QByteArrayLiteral("first-paint ");

class FirstPaintWatch : public QObject {
  public:
    FirstPaintWatch(const QString &windowName, std::function<void(std::chrono::steady_clock::time_point)> seen)
        : QObject(QCoreApplication::instance()), mName(windowName), mSeen(std::move(seen))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !mPainted && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->window()->objectName() == mName) {
            mPainted = true;
            QCoreApplication::instance()->removeEventFilter(this);
            // One update paints every widget of the window in a row and then flushes the
            // window's surface to the screen; a zero timer runs once all of that is done.
            QTimer::singleShot(0, this, [this] {
                const auto at = std::chrono::steady_clock::now();
                const auto seen = std::move(mSeen);
                deleteLater();
                seen(at);
            });
        }
        return false;
    }

  private:
    QString mName;
    std::function<void(std::chrono::steady_clock::time_point)> mSeen;
    bool mPainted = false;
};

} // namespace

void watchFirstPaint(const QString &windowName, std::function<void(std::chrono::steady_clock::time_point)> seen)
{
    new FirstPaintWatch(windowName, std::move(seen));
}

void reportFirstPaintIfAsked(const QString &windowName)
{
    if (!qEnvironmentVariableIsSet("QUILTERN_FIRST_PAINT"))
        return;
    const bool quit = qEnvironmentVariable("QUILTERN_FIRST_PAINT") == u"quit";
    watchFirstPaint(windowName, [quit](std::chrono::steady_clock::time_point at) {
        const QByteArray line = firstPaintLine(at) + '\n';
        std::fwrite(line.constData(), 1, std::size_t(line.size()), stdout);
        std::fflush(stdout);
        if (quit)
            QCoreApplication::quit();
    });
}

QByteArray firstPaintLine(std::chrono::steady_clock::time_point at)
{
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
    return LineStart + QByteArray::number(qint64(ns));
}

std::optional<std::chrono::steady_clock::time_point> parseFirstPaintLine(const QByteArray &line)
{
    const QByteArray text = line.trimmed();
    if (!text.startsWith(LineStart))
        return std::nullopt;
    bool ok = false;
    const qint64 ns = text.mid(LineStart.size()).toLongLong(&ok);
    if (!ok || ns < 0)
        return std::nullopt;
    return std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::nanoseconds(ns)));
}

} // namespace platform
