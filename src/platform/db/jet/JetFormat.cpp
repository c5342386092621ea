#include "platform/db/jet/JetFormat.h"

#include "platform/base/DateText.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <vector>

namespace platform {

namespace {

// A format split into placeholders and literal text; quoted runs and \x are literal.
struct Piece {
    QChar placeholder; // null for literal text
    QString literal;
};

std::vector<Piece> splitFormat(const QString &format, const QString &placeholders)
{
    std::vector<Piece> pieces;
    auto literal = [&](const QString &text) {
        if (!pieces.empty() && pieces.back().placeholder.isNull())
            pieces.back().literal += text;
        else
            pieces.push_back({QChar(), text});
    };
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'"') {
            const int close = int(format.indexOf(u'"', i + 1));
            const int end = close < 0 ? int(format.size()) : close;
            literal(format.mid(i + 1, end - i - 1));
            i = end;
        } else if (c == u'\\' && i + 1 < format.size()) {
            literal(QString(format[++i]));
        } else if (placeholders.contains(c)) {
            pieces.push_back({c, QString()});
        } else {
            literal(QString(c));
        }
    }
    return pieces;
}

// The sections of a format are separated by ; outside quotes.
QStringList sections(const QString &format)
{
    QStringList out;
    QString current;
    bool quoted = false;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'"')
            quoted = !quoted;
        if (c == u';' && !quoted) {
            out << current;
            current.clear();
            continue;
        }
        current += c;
        if (c == u'\\' && i + 1 < format.size())
            current += format[++i];
    }
    out << current;
    return out;
}

QString customNumber(double value, const QString &format, bool withSign)
{
    const std::vector<Piece> pieces = splitFormat(format, QStringLiteral("0#.,%"));
    bool percent = false;
    int point = -1;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].placeholder == u'%')
            percent = true;
        if (pieces[i].placeholder == u'.' && point < 0)
            point = int(i);
    }
    if (percent)
        value *= 100;
    const size_t intEnd = point < 0 ? pieces.size() : size_t(point);
    int decimals = 0, minDecimals = 0, minIntDigits = 0;
    bool grouping = false;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const QChar p = pieces[i].placeholder;
        const bool digit = p == u'0' || p == u'#';
        if (i < intEnd) {
            minIntDigits += p == u'0';
            grouping = grouping || p == u',';
        } else if (digit) {
            ++decimals;
            if (p == u'0')
                minDecimals = decimals;
        }
    }
    const QString digits = QString::number(std::fabs(value), 'f', decimals);
    QString intDigits = digits.section(u'.', 0, 0);
    QString fracDigits = digits.section(u'.', 1);
    while (fracDigits.size() > minDecimals && fracDigits.endsWith(u'0'))
        fracDigits.chop(1);
    if (intDigits == QLatin1String("0") && minIntDigits == 0)
        intDigits.clear();
    while (intDigits.size() < minIntDigits)
        intDigits.prepend(u'0');
    const QLocale locale = QLocale::system();
    if (grouping) {
        for (int i = int(intDigits.size()) - 3; i > 0; i -= 3)
            intDigits.insert(i, locale.groupSeparator());
    }

    // The integer digits fill the placeholders from the right; what is left over goes
    // to the leftmost one.
    QString intText;
    int firstDigit = -1;
    for (size_t i = 0; i < intEnd; ++i) {
        if (pieces[i].placeholder == u'0' || pieces[i].placeholder == u'#') {
            firstDigit = int(i);
            break;
        }
    }
    int remaining = int(intDigits.size());
    for (int i = int(intEnd) - 1; i >= 0; --i) {
        const Piece &piece = pieces[size_t(i)];
        if (piece.placeholder.isNull() || piece.placeholder == u'%') {
            intText.prepend(piece.placeholder.isNull() ? piece.literal : QStringLiteral("%"));
        } else if (piece.placeholder == u'0' || piece.placeholder == u'#') {
            if (grouping) {
                if (i == firstDigit)
                    intText.prepend(intDigits);
            } else if (i == firstDigit) {
                intText.prepend(intDigits.left(remaining));
                remaining = 0;
            } else if (remaining > 0) {
                intText.prepend(intDigits[--remaining]);
            }
        }
    }
    QString fracText;
    int used = 0;
    for (size_t i = intEnd; i < pieces.size(); ++i) {
        const Piece &piece = pieces[i];
        if (piece.placeholder.isNull())
            fracText += piece.literal;
        else if (piece.placeholder == u'%')
            fracText += u'%';
        else if (piece.placeholder == u'.')
            fracText += i == intEnd ? locale.decimalPoint() : QString();
        else if ((piece.placeholder == u'0' || piece.placeholder == u'#') && used < fracDigits.size())
            fracText += fracDigits[used++];
    }
    QString out = intText + fracText;
    // A value that rounds to zero shows no sign.
    if (withSign && value < 0 &&
        std::any_of(digits.begin(), digits.end(), [](QChar c) { return c > u'0' && c <= u'9'; }))
        out.prepend(u'-');
    return out;
}

} // namespace

QString displayDateText(const QDate &date, const QTime &time)
{
    if (time == QTime(0, 0))
        return shortDateText(date);
    return shortDateText(date) + u' ' + longTimeText(time);
}

QString generalNumberText(double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

QString formatJetNumber(double value, const QString &format)
{
    const QString named = format.trimmed().toLower();
    const QLocale locale = QLocale::system();
    if (named.isEmpty() || named == QLatin1String("general number"))
        return generalNumberText(value);
    if (named == QLatin1String("currency"))
        return locale.toCurrencyString(value, QString(), 2);
    if (named == QLatin1String("fixed"))
        return locale.toString(value, 'f', 2).remove(locale.groupSeparator());
    if (named == QLatin1String("standard"))
        return locale.toString(value, 'f', 2);
    if (named == QLatin1String("percent"))
        return locale.toString(value * 100, 'f', 2).remove(locale.groupSeparator()) + u'%';
    if (named == QLatin1String("scientific"))
        return QString::number(value, 'E', 2);
    if (named == QLatin1String("yes/no"))
        return value != 0 ? QStringLiteral("Yes") : QStringLiteral("No");
    if (named == QLatin1String("true/false"))
        return value != 0 ? QStringLiteral("True") : QStringLiteral("False");
    if (named == QLatin1String("on/off"))
        return value != 0 ? QStringLiteral("On") : QStringLiteral("Off");
    // Sections: positive; negative; zero. A negative section brings its own sign.
    const QStringList parts = sections(format);
    if (value == 0 && parts.size() > 2 && !parts[2].isEmpty())
        return customNumber(value, parts[2], false);
    if (value < 0 && parts.size() > 1 && !parts[1].isEmpty())
        return customNumber(-value, parts[1], false);
    return customNumber(value, parts[0], true);
}

QString formatJetDate(const QDateTime &value, const QString &format)
{
    const QString named = format.trimmed().toLower();
    const QLocale locale = QLocale::system();
    const QDate date = value.date();
    const QTime time = value.time();
    if (named.isEmpty() || named == QLatin1String("general date") || named == QLatin1String("c"))
        return displayDateText(date, time);
    if (named == QLatin1String("long date"))
        return locale.toString(date, QLocale::LongFormat);
    if (named == QLatin1String("medium date"))
        return locale.toString(date, QStringLiteral("dd-MMM-yy"));
    if (named == QLatin1String("short date"))
        return shortDateText(date);
    if (named == QLatin1String("long time"))
        return longTimeText(time);
    if (named == QLatin1String("medium time"))
        return locale.toString(time, QStringLiteral("hh:mm AP"));
    if (named == QLatin1String("short time"))
        return locale.toString(time, QStringLiteral("HH:mm"));

    // Runs of one placeholder letter, in either case, form one token (dd, MMMM, yyyy ...).
    struct Token {
        QChar letter; // null for literal text
        int count = 0;
        QString literal;
    };
    std::vector<Token> tokens;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        const QChar l = c.toLower();
        const QString ahead = format.mid(i, 5).toLower();
        if (c == u'"') {
            const int close = int(format.indexOf(u'"', i + 1));
            const int end = close < 0 ? int(format.size()) : close;
            tokens.push_back({QChar(), 0, format.mid(i + 1, end - i - 1)});
            i = end;
        } else if (c == u'\\' && i + 1 < format.size()) {
            tokens.push_back({QChar(), 0, QString(format[++i])});
        } else if (ahead.startsWith(QLatin1String("am/pm")) || ahead.startsWith(QLatin1String("ampm")) ||
                   ahead.startsWith(QLatin1String("a/p"))) {
            const int size = ahead.startsWith(QLatin1String("am/pm"))  ? 5
                             : ahead.startsWith(QLatin1String("ampm")) ? 4
                                                                       : 3;
            tokens.push_back({u'a', size, format.mid(i, size)});
            i += size - 1;
        } else if (QStringView(u"dwmqyhns").contains(l)) {
            int n = 1;
            while (i + n < format.size() && format[i + n].toLower() == l)
                ++n;
            tokens.push_back({l, n, QString()});
            i += n - 1;
        } else if (c == u'/' || c == u':' || l == u'c') {
            tokens.push_back({l, 1, QString()});
        } else {
            tokens.push_back({QChar(), 0, QString(c)});
        }
    }
    bool twelveHour = false;
    for (const Token &t : tokens)
        twelveHour = twelveHour || t.letter == u'a';

    QString out;
    QChar lastTime; // the last of d, h, m, s seen: m after h, or before s, means minutes
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token &t = tokens[i];
        const int n = t.count;
        auto pad = [](int v, int width) { return QString::number(v).rightJustified(width, u'0'); };
        switch (t.letter.unicode()) {
        case 0:
            out += t.literal;
            break;
        case 'd':
            out += n == 1   ? QString::number(date.day())
                   : n == 2 ? pad(date.day(), 2)
                   : n == 3 ? locale.dayName(date.dayOfWeek(), QLocale::ShortFormat)
                   : n == 4 ? locale.dayName(date.dayOfWeek(), QLocale::LongFormat)
                   : n == 5 ? shortDateText(date)
                            : locale.toString(date, QLocale::LongFormat);
            break;
        case 'w':
            out += n == 1 ? QString::number(date.dayOfWeek() % 7 + 1) : QString::number(date.weekNumber());
            break;
        case 'm': {
            bool minutes = lastTime == u'h' && n <= 2;
            for (size_t j = i + 1; !minutes && n <= 2 && j < tokens.size(); ++j) {
                if (tokens[j].letter == u's')
                    minutes = true;
                if (!tokens[j].letter.isNull() && tokens[j].letter != u':' && tokens[j].letter != u's')
                    break;
            }
            if (minutes)
                out += n == 1 ? QString::number(time.minute()) : pad(time.minute(), 2);
            else
                out += n == 1   ? QString::number(date.month())
                       : n == 2 ? pad(date.month(), 2)
                       : n == 3 ? locale.monthName(date.month(), QLocale::ShortFormat)
                                : locale.monthName(date.month(), QLocale::LongFormat);
            break;
        }
        case 'q':
            out += QString::number((date.month() + 2) / 3);
            break;
        case 'y':
            out += n == 1   ? QString::number(date.dayOfYear())
                   : n <= 3 ? pad(date.year() % 100, 2)
                            : QString::number(date.year());
            break;
        case 'h': {
            int h = time.hour();
            if (twelveHour)
                h = h % 12 == 0 ? 12 : h % 12;
            out += n == 1 ? QString::number(h) : pad(h, 2);
            break;
        }
        case 'n':
            out += n == 1 ? QString::number(time.minute()) : pad(time.minute(), 2);
            break;
        case 's':
            out += n == 1 ? QString::number(time.second()) : pad(time.second(), 2);
            break;
        case 'a': {
            const bool pm = time.hour() >= 12;
            const QString &form = t.literal;
            if (form.size() == 3) // A/P or a/p
                out += pm ? form.right(1) : form.left(1);
            else if (form.size() == 4) // AMPM: the locale's own texts
                out += pm ? locale.pmText() : locale.amText();
            else
                out += pm ? form.mid(3, 2) : form.left(2);
            break;
        }
        case '/':
            out += locale.dateFormat(QLocale::ShortFormat).contains(u'.') ? u'.' : u'/';
            break;
        case ':':
            out += u':';
            break;
        case 'c':
            out += displayDateText(date, time);
            break;
        default:
            break;
        }
        if (t.letter == u'h' || t.letter == u'd' || t.letter == u's' || t.letter == u'n')
            lastTime = t.letter;
        else if (t.letter == u'm' || t.letter == u'y')
            lastTime = QChar();
    }
    return out;
}

QString formatJetText(const QString &value, const QString &format)
{
    QString text = value;
    if (format.contains(u'>'))
        text = text.toUpper();
    else if (format.contains(u'<'))
        text = text.toLower();
    const std::vector<Piece> pieces = splitFormat(format, QStringLiteral("@&<>!"));
    int placeholders = 0;
    bool leftToRight = false;
    for (const Piece &p : pieces) {
        placeholders += p.placeholder == u'@' || p.placeholder == u'&';
        leftToRight = leftToRight || p.placeholder == u'!';
    }
    if (placeholders == 0)
        return text;
    // @ shows a character or a blank, & a character or nothing; they fill from the right
    // unless ! asks for the left.
    std::vector<QString> filled(pieces.size());
    int available = int(text.size());
    int from = 0;
    auto fill = [&](size_t i) {
        const Piece &p = pieces[i];
        if (p.placeholder.isNull()) {
            filled[i] = p.literal;
        } else if (p.placeholder == u'@' || p.placeholder == u'&') {
            if (leftToRight)
                filled[i] = from < text.size() ? QString(text[from++])
                                               : (p.placeholder == u'@' ? QStringLiteral(" ") : QString());
            else
                filled[i] = available > 0 ? QString(text[--available])
                                          : (p.placeholder == u'@' ? QStringLiteral(" ") : QString());
        }
    };
    if (leftToRight) {
        for (size_t i = 0; i < pieces.size(); ++i)
            fill(i);
    } else {
        for (size_t i = pieces.size(); i-- > 0;)
            fill(i);
    }
    QString out = leftToRight ? QString() : text.left(available);
    for (const QString &s : filled)
        out += s;
    if (leftToRight)
        out += text.mid(from);
    return out;
}

} // namespace platform
