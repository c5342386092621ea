#include "platform/db/jet/JetValue.h"

#include "platform/base/DateText.h"

namespace platform {

QString dateToStorage(const QDateTime &value)
{
    // The day and time as they read, never as a moment: a local time the clocks skip
    // is invalid as one, yet names its day.
    const QDate date = value.date();
    if (!date.isValid())
        return {};
    const QString day = date.toString(QStringLiteral("yyyy-MM-dd"));
    if (value.time() == QTime(0, 0))
        return day;
    return day + u' ' + value.time().toString(QStringLiteral("HH:mm:ss"));
}

QString dateToStorage(const QDate &value)
{
    return value.isValid() ? value.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QDateTime dateFromStorage(const QString &text)
{
    const QDate date = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return {};
    if (text.size() == 10)
        return plainDateTime(date);
    if (text.size() != 19 || (text[10] != u' ' && text[10] != u'T'))
        return {};
    const QTime time = QTime::fromString(text.mid(11), QStringLiteral("HH:mm:ss"));
    return time.isValid() ? plainDateTime(date, time) : QDateTime();
}

} // namespace platform
