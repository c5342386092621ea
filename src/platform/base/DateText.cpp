#include "platform/base/DateText.h"

#include "platform/base/Clock.h"

#include <QHash>
#include <QList>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <utility>

namespace platform {

namespace {

// A date or time pattern as runs of one pattern letter and the literal text between them
// (quotes taken off).
struct PatternPiece {
    QString text;
    bool field = false;
};

QList<PatternPiece> patternPieces(const QString &pattern, const QString &letters)
{
    QList<PatternPiece> pieces;
    const auto literal = [&](QChar c) {
        if (pieces.isEmpty() || pieces.last().field)
            pieces.append({QString(), false});
        pieces.last().text.append(c);
    };
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            if (i + 1 < pattern.size() && pattern[i + 1] == u'\'') {
                literal(c);
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (!quoted && !pieces.isEmpty() && pieces.last().field &&
                   (pieces.last().text.back() == c ||
                    // "AP", "ap", "Ap": one field, the AM/PM text
                    ((c == u'p' || c == u'P') && pieces.last().text.back().toLower() == u'a'))) {
            pieces.last().text.append(c);
        } else if (!quoted && letters.contains(c)) {
            pieces.append({QString(c), true});
        } else {
            literal(c);
        }
    }
    return pieces;
}

QString withoutFormatMarks(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Format)
            out.append(c);
    }
    return out;
}

// The long time in digits alone: the locale's hour, its separators when the reader takes
// them, and its AM/PM text on the side the locale puts it. The time zone, words ("時",
// "Klock") and the brackets or commas that went with them stay out.
QString readableTimeFormat(const QLocale &locale)
{
    const QList<PatternPiece> pieces =
        patternPieces(locale.timeFormat(QLocale::LongFormat), QStringLiteral("hHmsaAt"));
    qsizetype hour = -1, minute = -1, second = -1, dayHalf = -1;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (!pieces[i].field)
            continue;
        const QChar c = pieces[i].text[0].toLower();
        if (c == u'h' && hour < 0)
            hour = i;
        else if (c == u'm' && minute < 0)
            minute = i;
        else if (c == u's' && second < 0)
            second = i;
        else if (c == u'a' && dayHalf < 0)
            dayHalf = i;
    }
    if (hour < 0)
        return QStringLiteral("HH:mm:ss");
    const auto separator = [&](qsizetype from, qsizetype to) {
        if (from >= 0 && to == from + 2 && !pieces[from + 1].field) {
            const QString text = pieces[from + 1].text;
            if (text == QLatin1String(":") || text == QLatin1String("."))
                return text;
        }
        return QStringLiteral(":");
    };
    QString fmt = pieces[hour].text + separator(hour, minute) + QStringLiteral("mm") +
                  separator(minute, second) + QStringLiteral("ss");
    if (dayHalf >= 0) {
        const QString ap = pieces[dayHalf].text;
        if (dayHalf > hour) {
            fmt += u' ' + ap;
        } else {
            // Before the hour: joined to it, or apart by the locale's own blanks.
            QString gap = QStringLiteral(" ");
            if (dayHalf + 1 == hour)
                gap.clear();
            else if (dayHalf + 2 == hour && pieces[dayHalf + 1].text.trimmed().isEmpty())
                gap = pieces[dayHalf + 1].text;
            fmt = ap + gap + fmt;
        }
    }
    return fmt;
}

// The system's locale and its patterns, worked out once: the system locale stays what it
// was when the program started, and an export writes a date on every line.
struct SystemPatterns {
    explicit SystemPatterns(const QLocale &l) : locale(l) {}
    QLocale locale;
    QString shortDate = shortDateFormat(locale);
    QString longTime = readableTimeFormat(locale);
    int generation = 0;
};

SystemPatterns &systemPatterns()
{
    static SystemPatterns patterns(QLocale::system());
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
    const SystemPatterns &system = systemPatterns();
    return fieldOrderOf(locale == system.locale ? system.shortDate : shortDateFormat(locale));
}

int widenYear(int year, int digits)
{
    if (digits > 2)
        return year;
    // Two-digit years fall in 1930..2029, as the platform reads them.
    return year < 30 ? 2000 + year : 1900 + year;
}

// Reads a time of day: hours, minutes and seconds apart by colons or points, with the
// locale's AM/PM text before or after them, or a Latin A/P, AM/PM after them.
bool parseTime(const QString &input, const QLocale &locale, QTime *time)
{
    QString text = input.trimmed();
    const QString lower = text.toLower();
    int half = 0; // 1 before noon, 2 after
    qsizetype matched = 0;
    const std::pair<QString, int> halves[] = {{locale.amText(), 1}, {locale.pmText(), 2}};
    for (const auto &[word, which] : halves) {
        const QString w = withoutFormatMarks(word).trimmed().toLower();
        if (w.isEmpty() || w.size() <= matched || w.size() >= lower.size())
            continue;
        if (lower.endsWith(w) || lower.startsWith(w)) {
            half = which;
            matched = w.size();
        }
    }
    if (half != 0) {
        const QString w = withoutFormatMarks(half == 1 ? locale.amText() : locale.pmText()).trimmed();
        text = lower.endsWith(w.toLower()) ? text.chopped(w.size()) : text.mid(w.size());
        text = text.trimmed();
    }
    static const QRegularExpression re(
        QStringLiteral("^(\\d{1,2})(?:[:.](\\d{1,2}))?(?:[:.](\\d{1,2}))?\\s*([AaPp][Mm]?)?$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return false;
    int h = m.captured(1).toInt();
    const int mi = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    const int s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    const QString ap = m.captured(4).toLower();
    if (half != 0 && !ap.isEmpty())
        return false;
    if (half == 0 && !ap.isEmpty())
        half = ap.startsWith(u'p') ? 2 : 1;
    if (m.captured(2).isEmpty() && half == 0)
        return false; // a bare number is no time
    if (half != 0) {
        if (h < 1 || h > 12)
            return false;
        if (half == 2 && h != 12)
            h += 12;
        if (half == 1 && h == 12)
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
    return systemPatterns().shortDate;
}

QString shortDateFormat(const QLocale &locale)
{
    // The locale's fields in its order, in digits and with a four-digit year, apart by its
    // own separators where the reader takes them ("/", ".", "-", with blanks after, and
    // direction marks): no words ("г."), so that what is shown reads back.
    const QList<PatternPiece> pieces =
        patternPieces(locale.dateFormat(QLocale::ShortFormat), QStringLiteral("dMy"));
    static const QRegularExpression readable(QStringLiteral("^[/.-]\\s*$"));
    QString fmt;
    QString order;
    QString pending; // the literal since the last field
    for (const PatternPiece &piece : pieces) {
        if (!piece.field) {
            pending = piece.text;
            continue;
        }
        const QChar letter = piece.text[0];
        const QChar key = letter.toLower();
        if (order.contains(key) || (letter == u'd' && piece.text.size() > 2))
            continue; // a weekday, or a field twice
        if (!order.isEmpty())
            fmt += readable.match(withoutFormatMarks(pending)).hasMatch() ? pending : QStringLiteral("/");
        order += key;
        if (letter == u'y')
            fmt += QStringLiteral("yyyy");
        else
            fmt += piece.text.size() > 2 ? QString(letter) : piece.text; // a month's name as its number
        pending.clear();
    }
    if (order.size() != 3) {
        QStringList parts;
        for (const QChar c : fieldOrderOf(order))
            parts.append(c == u'd'   ? QStringLiteral("d")
                         : c == u'm' ? QStringLiteral("M")
                                     : QStringLiteral("yyyy"));
        return parts.join(u'/');
    }
    // A point that closes the date ("2001. 05. 06.") is read back; other closing text is not.
    if (pending.startsWith(u'.'))
        fmt += u'.';
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
    const SystemPatterns &system = systemPatterns();
    // A list or an export writes the same few thousand days over and over; formatting
    // one costs far more than finding it again.
    thread_local QHash<qint64, QString> written;
    thread_local int generation = 0;
    if (generation != system.generation) {
        written.clear();
        generation = system.generation;
    }
    const qint64 day = date.toJulianDay();
    if (const auto found = written.constFind(day); found != written.cend())
        return *found;
    if (written.size() >= 8192)
        written.clear();
    return *written.insert(day, system.locale.toString(date, system.shortDate));
}

QString shortDateText(const QDate &date, const QLocale &locale)
{
    if (!date.isValid())
        return {};
    return locale.toString(date, shortDateFormat(locale));
}

QString longTimeFormat(const QLocale &locale)
{
    return readableTimeFormat(locale);
}

QString longTimeText(const QTime &time)
{
    const SystemPatterns &system = systemPatterns();
    return system.locale.toString(time, system.longTime);
}

QString generalDateText(const QDateTime &value)
{
    if (!value.date().isValid())
        return {};
    const QString day = shortDateText(value.date());
    if (value.time() == QTime(0, 0))
        return day;
    return day + u' ' + longTimeText(value.time());
}

QString generalDateText(const QDateTime &value, const QLocale &locale)
{
    if (!value.date().isValid())
        return {};
    const QString day = shortDateText(value.date(), locale);
    if (value.time() == QTime(0, 0))
        return day;
    return day + u' ' + locale.toString(value.time(), readableTimeFormat(locale));
}

QString plainDigitsText(QStringView text)
{
    // Most dates are plain already, and an export writes several on every line.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // By code point: some scripts' digits (Adlam, Chakma) lie beyond 16 bits.
        char32_t c = text[i].unicode();
        qsizetype length = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            length = 2;
        }
        if (QChar::isDigit(c))
            out.append(QChar(u'0' + QChar::digitValue(c)));
        else if (QChar::category(c) != QChar::Other_Format)
            out.append(text.mid(i, length));
        i += length - 1;
    }
    return out;
}

void setDateLocaleForTesting(const QLocale &locale)
{
    SystemPatterns &system = systemPatterns();
    const int generation = system.generation + 1;
    system = SystemPatterns(locale);
    system.generation = generation;
}

QDateTime parseDateText(const QString &input)
{
    return parseDateText(input, systemPatterns().locale);
}

QDateTime parseDateText(const QString &input, const QLocale &locale)
{
    // Locales that write their own digits or mark the text direction show dates such
    // as "١٤‏/٧‏/١٩٨٥"; read them as plain digits.
    const QString text = plainDigitsText(input).trimmed();
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
    if (!timePart.isEmpty() && !parseTime(timePart, locale, &time))
        return {};
    return plainDateTime(date, time);
}

} // namespace platform
