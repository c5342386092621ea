#include "platform/db/JetDateLiteral.h"

#include "platform/ui/Clock.h"

#include <QRegularExpression>

namespace platform {

namespace {

bool readTime(const QString &text, QTime *time)
{
    static const QRegularExpression re(
        QStringLiteral("^(\\d{1,2})(?::(\\d{1,2}))?(?::(\\d{1,2}))?\\s*(?:([AaPp])\\.?[Mm]?\\.?)?$"));
    const auto m = re.match(text);
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(4).isEmpty()))
        return false;
    int hour = m.captured(1).toInt();
    if (!m.captured(4).isEmpty()) {
        if (hour < 1 || hour > 12)
            return false;
        const bool pm = m.captured(4).compare(QLatin1String("p"), Qt::CaseInsensitive) == 0;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    *time = QTime(hour, m.captured(2).toInt(), m.captured(3).toInt());
    return time->isValid();
}

} // namespace

QDateTime parseJetDateLiteral(const QString &input)
{
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[T\\s]+(.*))?$"));
    static const QRegularExpression us(
        QStringLiteral("^(\\d{1,2})[/-](\\d{1,2})(?:[/-](\\d{1,4}))?(?:\\s+(.*))?$"));
    const QString text = input.trimmed();
    QDate date;
    QString timeText;
    if (const auto m = iso.match(text); m.hasMatch()) {
        date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        timeText = m.captured(4);
    } else if (const auto m = us.match(text); m.hasMatch()) {
        int year = today().year();
        if (!m.captured(3).isEmpty()) {
            year = m.captured(3).toInt();
            // Two-digit years fall in 1930..2029.
            if (m.captured(3).size() <= 2)
                year += year < 30 ? 2000 : 1900;
        }
        date = QDate(year, m.captured(1).toInt(), m.captured(2).toInt());
        timeText = m.captured(4);
    } else {
        QTime time;
        if (readTime(text, &time))
            return QDateTime(QDate(1899, 12, 30), time);
        return {};
    }
    if (!date.isValid())
        return {};
    QTime time(0, 0);
    if (!timeText.trimmed().isEmpty() && !readTime(timeText.trimmed(), &time))
        return {};
    return QDateTime(date, time);
}

} // namespace platform
