#include "platform/db/jet/JetValue.h"

namespace platform {

QString dateToStorage(const QDateTime &value)
{
    if (!value.isValid())
        return {};
    if (value.time() == QTime(0, 0))
        return value.date().toString(QStringLiteral("yyyy-MM-dd"));
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString dateToStorage(const QDate &value)
{
    return value.isValid() ? value.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QDateTime dateFromStorage(const QString &text)
{
    if (text.size() == 10) {
        const QDate d = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
        return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
    }
    QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    return dt;
}

} // namespace platform
