#include "platform/base/DateText.h"

#include "platform/base/Clock.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

namespace platform {

namespace {

QString longTimeFormat()
{
    // The platform's long time has no time zone; Qt's long format may carry one.
    QString fmt = QLocale::system().timeFormat(QLocale::LongFormat);
    fmt.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return fmt.trimmed();
}

// The system's locale and its patterns, worked out once: the system locale stays what it
// was when the program started, and an export writes a date on every line.
struct SystemPatterns {
    QLocale locale = QLocale::system();
    QString shortDate = shortDateFormat(locale);
    QString longTime = longTimeFormat();
};

const SystemPatterns &systemPatterns()
{
    static const SystemPatterns patterns;
    return patterns;
}

// The order of day, month and year in a date pattern, e.g. "mdy".
QString fieldOrderOf(const QString &pattern)
{
    QString order;
    for (const QChar c : pattern) {
        const QChar l = c.toLower();
        if ((l == u'd' || l == u'm' || l == u'y') && !order.contains(l))
            order.append(l);
    }
    return order.size() == 3 ? order : QStringLiteral("mdy");
}

// The order of day, month and year in the locale's short pattern.
QString fieldOrder(const QLocale &locale)
{
    return fieldOrderOf(shortDateFormat(locale));
}

int widenYear(int year, int digits)
{
    if (digits > 2)
        return year;
    // Two-digit years fall in 1930..2029, as the platform reads them.
    return year < 30 ? 2000 + year : 1900 + year;
}

bool parseTime(const QString &text, QTime *time)
{
    static const QRegularExpression re(
        QStringLiteral("^(\\d{1,2})(?::(\\d{1,2}))?(?::(\\d{1,2}))?\\s*([AaPp][Mm]?)?$"));
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    int h = m.captured(1).toInt();
    const int mi = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    const int s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    const QString ap = m.captured(4).toLower();
    if (m.captured(2).isEmpty() && ap.isEmpty())
        return false; // a bare number is no time
    if (!ap.isEmpty()) {
        if (h < 1 || h > 12)
            return false;
        if (ap.startsWith(u'p') && h != 12)
            h += 12;
        if (ap.startsWith(u'a') && h == 12)
            h = 0;
    }
    const QTime t(h, mi, s);
    if (!t.isValid())
        return false;
    *time = t;
    return true;
}

} // namespace

QString shortDateFormat()
{
    return shortDateFormat(QLocale::system());
}

QString shortDateFormat(const QLocale &locale)
{
    QString fmt = locale.dateFormat(QLocale::ShortFormat);
    if (fmt.contains(QStringLiteral("MMM"))) {
        // A short pattern with month names (the C locale's "d MMM yyyy") would show dates
        // that no date box reads back: keep its order, in digits.
        QStringList parts;
        for (const QChar c : fieldOrderOf(fmt))
            parts.append(c == u'd'   ? QStringLiteral("d")
                         : c == u'm' ? QStringLiteral("M")
                                     : QStringLiteral("yyyy"));
        return parts.join(u'/');
    }
    if (!fmt.contains(QStringLiteral("yyyy")))
        fmt.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return fmt;
}

bool isStorableDate(const QDate &date)
{
    return date.isValid() && date.year() >= 100 && date.year() <= 9999;
}

QDateTime plainDateTime(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, Qt::UTC);
}

namespace {
bool holdsDate(const QVariant &value)
{
    return value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate;
}
} // namespace

QDateTime plainDateTimeOf(const QVariant &fieldValue)
{
    if (fieldValue.typeId() == QMetaType::QDate)
        return plainDateTime(fieldValue.toDate());
    if (fieldValue.typeId() != QMetaType::QDateTime)
        return {};
    // Read the day and the time as they stand: a local time the clocks skip is invalid
    // as a moment, yet still names its day.
    const QDateTime value = fieldValue.toDateTime();
    return value.date().isValid() ? plainDateTime(value.date(), value.time()) : QDateTime();
}

QDate readableDateOf(const QVariant &fieldValue)
{
    if (!holdsDate(fieldValue) || !isStorableDate(fieldValue.toDate()))
        return {};
    return fieldValue.toDate();
}

bool isUnreadableDate(const QVariant &fieldValue)
{
    return fieldValue.isValid() && !fieldValue.isNull() && !readableDateOf(fieldValue).isValid();
}

std::optional<int> dateFieldYear(const QVariant &fieldValue)
{
    if (holdsDate(fieldValue)) {
        const QDate date = fieldValue.toDate();
        return date.isValid() ? std::optional<int>(date.year()) : std::nullopt;
    }
    if (fieldValue.typeId() != QMetaType::QString)
        return std::nullopt;
    // The stored form with a year of any length; month and day must still be a month and a day.
    static const QRegularExpression stored(
        QStringLiteral("^\\s*(-?\\d+)-(\\d{1,2})-(\\d{1,2})(?:[ T]\\d{1,2}:\\d{2}(?::\\d{2})?)?\\s*$"));
    const QRegularExpressionMatch match = stored.match(fieldValue.toString());
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const int year = match.captured(1).toInt(&ok);
    const int month = match.captured(2).toInt();
    const int day = match.captured(3).toInt();
    if (!ok || month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    return year;
}

QString dateFieldText(const QVariant &fieldValue)
{
    if (!readableDateOf(fieldValue).isValid())
        return {};
    return fieldValue.typeId() == QMetaType::QDate ? shortDateText(fieldValue.toDate())
                                                   : generalDateText(plainDateTimeOf(fieldValue));
}

QString shortDateText(const QDate &date)
{
    if (!date.isValid())
        return {};
    // A list or an export writes the same few thousand days over and over; formatting
    // one costs far more than finding it again.
    thread_local QHash<qint64, QString> written;
    const qint64 day = date.toJulianDay();
    if (const auto found = written.constFind(day); found != written.cend())
        return *found;
    if (written.size() >= 8192)
        written.clear();
    const SystemPatterns &system = systemPatterns();
    return *written.insert(day, system.locale.toString(date, system.shortDate));
}

QString shortDateText(const QDate &date, const QLocale &locale)
{
    if (!date.isValid())
        return {};
    return locale.toString(date, shortDateFormat(locale));
}

QString generalDateText(const QDateTime &value)
{
    if (!value.date().isValid())
        return {};
    const QString day = shortDateText(value.date());
    if (value.time() == QTime(0, 0))
        return day;
    const SystemPatterns &system = systemPatterns();
    return day + u' ' + system.locale.toString(value.time(), system.longTime);
}

QDateTime parseDateText(const QString &input)
{
    return parseDateText(input, QLocale::system());
}

QDateTime parseDateText(const QString &input, const QLocale &locale)
{
    // Locales that write their own digits or mark the text direction show dates such
    // as "١٤‏/٧‏/١٩٨٥"; read them as plain digits.
    QString text;
    for (const QChar c : input) {
        if (c.category() == QChar::Other_Format)
            continue;
        text.append(c.isDigit() ? QChar(u'0' + c.digitValue()) : c);
    }
    text = text.trimmed();
    if (text.isEmpty())
        return {};

    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[T ](.+))?$"));
    static const QRegularExpression local(
        QStringLiteral("^(\\d{1,4})[/.-]\\s*(\\d{1,2})(?:[/.-]\\s*(\\d{1,4}))?\\.?(?:\\s+(.+))?$"));

    QDate date;
    QString timePart;
    if (const auto m = iso.match(text); m.hasMatch()) {
        date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        timePart = m.captured(4);
    } else if (const auto m = local.match(text); m.hasMatch()) {
        const QString order = fieldOrder(locale);
        const QStringList parts{m.captured(1), m.captured(2), m.captured(3)};
        int d = 0, mo = 0, y = 0;
        if (parts[2].isEmpty()) {
            // Day and month only: the current year, in the locale's order.
            const QString dm = QString(order).remove(u'y');
            for (int i = 0; i < 2; ++i)
                (dm[i] == u'd' ? d : mo) = parts[i].toInt();
            y = today().year();
        } else {
            for (int i = 0; i < 3; ++i) {
                const int v = parts[i].toInt();
                if (order[i] == u'd')
                    d = v;
                else if (order[i] == u'm')
                    mo = v;
                else
                    y = widenYear(v, parts[i].size());
            }
        }
        date = QDate(y, mo, d);
        timePart = m.captured(4);
    } else {
        return {};
    }
    if (!date.isValid())
        return {};
    QTime time(0, 0);
    if (!timePart.isEmpty() && !parseTime(timePart, &time))
        return {};
    return plainDateTime(date, time);
}

} // namespace platform
