#include "platform/db/jet/JetDateLiteral.h"

#include "platform/base/Clock.h"
#include "platform/base/DateText.h"

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

// January .. December by name or by their first three letters, in English as the query
// language writes them; 0 for no month.
int monthNumber(const QString &name)
{
    static const QStringList months{"january", "february", "march",     "april",   "may",      "june",
                                    "july",    "august",   "september", "october", "november", "december"};
    const QString n = name.toLower();
    for (int i = 0; i < 12; ++i) {
        if (n.size() >= 3 && months[i].startsWith(n))
            return i + 1;
    }
    return 0;
}

int widenYear(const QString &digits)
{
    // Two-digit years fall in 1930..2029; no year means this year.
    if (digits.isEmpty())
        return today().year();
    const int year = digits.toInt();
    if (digits.size() > 2)
        return year;
    return year + (year < 30 ? 2000 : 1900);
}

} // namespace

QDateTime parseJetDateLiteral(const QString &input)
{
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[T\\s]+(.*))?$"));
    static const QRegularExpression us(
        QStringLiteral("^(\\d{1,2})[/-](\\d{1,2})(?:[/-](\\d{1,4}))?(?:\\s+(.*))?$"));
    // 25-Dec-2024, 25 December 2024, Dec 25, 2024
    static const QRegularExpression dayFirst(
        QStringLiteral("^(\\d{1,2})[- ]([A-Za-z]{3,})(?:[- ](\\d{2,4}))?(?:\\s+(\\d.*))?$"));
    static const QRegularExpression monthFirst(
        QStringLiteral("^([A-Za-z]{3,})[- ](\\d{1,2})(?:,?[- ](\\d{2,4}))?(?:\\s+(\\d.*))?$"));
    const QString text = input.trimmed();
    QDate date;
    QString timeText;
    if (const auto m = iso.match(text); m.hasMatch()) {
        date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        timeText = m.captured(4);
    } else if (const auto m = us.match(text); m.hasMatch()) {
        date = QDate(widenYear(m.captured(3)), m.captured(1).toInt(), m.captured(2).toInt());
        // A first number that can be no month is the day (#25/12/2024#), as the query
        // language reads it too.
        if (!date.isValid())
            date = QDate(widenYear(m.captured(3)), m.captured(2).toInt(), m.captured(1).toInt());
        timeText = m.captured(4);
    } else if (const auto m = dayFirst.match(text); m.hasMatch() && monthNumber(m.captured(2))) {
        date = QDate(widenYear(m.captured(3)), monthNumber(m.captured(2)), m.captured(1).toInt());
        timeText = m.captured(4);
    } else if (const auto m = monthFirst.match(text); m.hasMatch() && monthNumber(m.captured(1))) {
        date = QDate(widenYear(m.captured(3)), monthNumber(m.captured(1)), m.captured(2).toInt());
        timeText = m.captured(4);
    } else {
        QTime time;
        if (readTime(text, &time))
            return plainDateTime(QDate(1899, 12, 30), time);
        return {};
    }
    if (!date.isValid())
        return {};
    QTime time(0, 0);
    if (!timeText.trimmed().isEmpty() && !readTime(timeText.trimmed(), &time))
        return {};
    return plainDateTime(date, time);
}

} // namespace platform
