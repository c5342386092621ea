#include "platform/db/JetDialect.h"
#include "platform/db/TextCollation.h"

#include "platform/db/JetFormat.h"
#include "platform/db/JetLikePattern.h"
#include "platform/db/JetValue.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DateText.h"

#include <sqlcipher/sqlite3.h>

#include <cmath>
#include <string>
#include <unordered_map>

// The SQL functions that translated query texts call. Each takes Null as the query
// language does (mostly: Null in, Null out) and reports a value it cannot use as an
// SQL error with a clear text.
namespace platform {

namespace {

QString textArg(sqlite3_value *v)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return QString::fromUtf8(text, sqlite3_value_bytes(v));
}

bool isNull(sqlite3_value *v)
{
    return sqlite3_value_type(v) == SQLITE_NULL;
}

bool anyNull(int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i) {
        if (isNull(argv[i]))
            return true;
    }
    return false;
}

void resultText(sqlite3_context *ctx, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context *ctx, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_error(ctx, utf8.constData(), int(utf8.size()));
}

void resultNumber(sqlite3_context *ctx, double value)
{
    if (value == std::trunc(value) && std::fabs(value) < 9e15)
        sqlite3_result_int64(ctx, sqlite3_int64(value));
    else
        sqlite3_result_double(ctx, value);
}

void resultDate(sqlite3_context *ctx, const QDateTime &value)
{
    if (!value.isValid() || value.date().year() < 100 || value.date().year() > 9999)
        resultError(ctx, QStringLiteral("The date is out of range."));
    else
        resultText(ctx, dateToStorage(value));
}

// Dates are worked on without a time zone, so that adding hours never meets a change
// of summer time.
QDateTime plainDateTime(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, Qt::UTC);
}

// A number as a date: whole days since 12/30/1899, the fraction the time of day.
QDateTime dateFromSerial(double serial)
{
    const double days = std::floor(serial);
    const qint64 seconds = qRound64((serial - days) * 86400.0);
    return plainDateTime(QDate(1899, 12, 30).addDays(qint64(days)), QTime(0, 0)).addSecs(seconds);
}

// Reads the stored form ("yyyy-MM-dd", or "yyyy-MM-dd HH:mm:ss") by hand: Qt's general
// date parser is far too slow to run on every row of a large table.
bool readStoredDate(sqlite3_value *v, QDate *date, QTime *time)
{
    if (sqlite3_value_type(v) != SQLITE_TEXT)
        return false;
    const auto *p = sqlite3_value_text(v);
    const int n = sqlite3_value_bytes(v);
    if ((n != 10 && n != 19) || p[4] != '-' || p[7] != '-')
        return false;
    auto number = [p](int at, int length) {
        int r = 0;
        for (int i = at; i < at + length; ++i) {
            if (p[i] < '0' || p[i] > '9')
                return -1;
            r = r * 10 + (p[i] - '0');
        }
        return r;
    };
    *date = QDate(number(0, 4), number(5, 2), number(8, 2));
    *time = QTime(0, 0);
    if (n == 19) {
        if ((p[10] != ' ' && p[10] != 'T') || p[13] != ':' || p[16] != ':')
            return false;
        *time = QTime(number(11, 2), number(14, 2), number(17, 2));
    }
    return date->isValid() && time->isValid();
}

// Reads a value as a date: the stored form, a date as the user types it, or a number.
// False, with the error set, for a value that is no date; Null is left to the caller.
bool dateArg(sqlite3_context *ctx, sqlite3_value *v, QDateTime *out)
{
    if (sqlite3_value_type(v) == SQLITE_INTEGER || sqlite3_value_type(v) == SQLITE_FLOAT) {
        *out = dateFromSerial(sqlite3_value_double(v));
        return true;
    }
    QDate date;
    QTime time;
    if (readStoredDate(v, &date, &time)) {
        *out = plainDateTime(date, time);
        return true;
    }
    const QString text = textArg(v);
    const QDateTime typed = parseDateText(text);
    if (!typed.isValid()) {
        resultError(ctx, QStringLiteral("Type mismatch: '%1' is no date.").arg(text));
        return false;
    }
    *out = plainDateTime(typed.date(), typed.time());
    return true;
}

int roundedInt(sqlite3_value *v)
{
    return int(std::nearbyint(sqlite3_value_double(v)));
}

void jetLike(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    // The pattern is compiled once per statement when it is a literal.
    auto *pattern = static_cast<JetLikePattern *>(sqlite3_get_auxdata(ctx, 1));
    if (!pattern) {
        pattern = new JetLikePattern(textArg(argv[1]));
        if (!pattern->isValid()) {
            resultError(ctx, QStringLiteral("Invalid pattern: %1.").arg(pattern->error()));
            delete pattern;
            return;
        }
        sqlite3_set_auxdata(ctx, 1, pattern, [](void *p) { delete static_cast<JetLikePattern *>(p); });
        // SQLite may have dropped it at once when the pattern is no constant.
        pattern = static_cast<JetLikePattern *>(sqlite3_get_auxdata(ctx, 1));
        if (!pattern) {
            const JetLikePattern once(textArg(argv[1]));
            sqlite3_result_int(ctx, once.matches(std::string_view(
                                        reinterpret_cast<const char *>(sqlite3_value_text(argv[0])),
                                        size_t(sqlite3_value_bytes(argv[0])))));
            return;
        }
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    sqlite3_result_int(ctx, pattern->matches(std::string_view(text, size_t(sqlite3_value_bytes(argv[0])))));
}

void jetDateText(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    QDate date;
    QTime time;
    if (!readStoredDate(argv[0], &date, &time)) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    // Like on a date field formats every row, and a table holds far fewer distinct days
    // and times of day than rows: each text is made once.
    thread_local std::unordered_map<qint64, QByteArray> days;
    thread_local std::unordered_map<int, QByteArray> times;
    if (days.size() > 100000)
        days.clear();
    auto day = days.find(date.toJulianDay());
    if (day == days.end())
        day = days.emplace(date.toJulianDay(), shortDateText(date).toUtf8()).first;
    if (time == QTime(0, 0)) {
        sqlite3_result_text(ctx, day->second.constData(), int(day->second.size()), SQLITE_TRANSIENT);
        return;
    }
    auto clock = times.find(time.msecsSinceStartOfDay());
    if (clock == times.end())
        clock = times.emplace(time.msecsSinceStartOfDay(), (u' ' + longTimeText(time)).toUtf8()).first;
    const QByteArray text = day->second + clock->second;
    sqlite3_result_text(ctx, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

void jetConcat(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    std::string out;
    bool allNull = true;
    for (int i = 0; i < argc; ++i) {
        if (isNull(argv[i]))
            continue;
        allNull = false;
        if (sqlite3_value_type(argv[i]) == SQLITE_FLOAT) {
            out += generalNumberText(sqlite3_value_double(argv[i])).toStdString();
            continue;
        }
        const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[i]));
        out.append(text, size_t(sqlite3_value_bytes(argv[i])));
    }
    if (allNull)
        sqlite3_result_null(ctx);
    else
        sqlite3_result_text(ctx, out.data(), int(out.size()), SQLITE_TRANSIENT);
}

void jetRight(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const int n = roundedInt(argv[1]);
    if (n < 0) {
        resultError(ctx, QStringLiteral("Right needs a length of 0 or more."));
        return;
    }
    resultText(ctx, textArg(argv[0]).right(n));
}

void jetInStr(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(std::min(argc, 3), argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const int start = roundedInt(argv[0]);
    if (start < 1) {
        resultError(ctx, QStringLiteral("InStr needs a start of 1 or more."));
        return;
    }
    const QString text = textArg(argv[1]);
    const QString sought = textArg(argv[2]);
    // Text is compared without regard to case unless 0 (binary) is asked for.
    const bool binary = argc > 3 && !isNull(argv[3]) && roundedInt(argv[3]) == 0;
    if (start > text.size()) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    const qsizetype at = text.indexOf(sought, start - 1, binary ? Qt::CaseSensitive : Qt::CaseInsensitive);
    sqlite3_result_int(ctx, int(at + 1));
}

void jetUCase(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else
        resultText(ctx, textArg(argv[0]).toUpper());
}

void jetLCase(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else
        resultText(ctx, textArg(argv[0]).toLower());
}

template <int Part> void jetDatePart(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    QDateTime d;
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else if (dateArg(ctx, argv[0], &d))
        sqlite3_result_int(ctx, Part == 0 ? d.date().year() : Part == 1 ? d.date().month() : d.date().day());
}

void jetDate(sqlite3_context *ctx, int, sqlite3_value **)
{
    resultText(ctx, dateToStorage(today()));
}

void jetNow(sqlite3_context *ctx, int, sqlite3_value **)
{
    const QDateTime t = platform::now();
    resultText(ctx, dateToStorage(
                        QDateTime(t.date(), QTime(t.time().hour(), t.time().minute(), t.time().second()))));
}

QDateTime addInterval(const QDateTime &d, const QString &interval, qint64 n, bool *ok)
{
    *ok = true;
    const QString i = interval.toLower();
    if (i == QLatin1String("yyyy"))
        return d.addYears(int(n));
    if (i == QLatin1String("q"))
        return d.addMonths(int(n * 3));
    if (i == QLatin1String("m"))
        return d.addMonths(int(n));
    if (i == QLatin1String("y") || i == QLatin1String("d") || i == QLatin1String("w"))
        return d.addDays(n);
    if (i == QLatin1String("ww"))
        return d.addDays(n * 7);
    if (i == QLatin1String("h"))
        return d.addSecs(n * 3600);
    if (i == QLatin1String("n"))
        return d.addSecs(n * 60);
    if (i == QLatin1String("s"))
        return d.addSecs(n);
    *ok = false;
    return {};
}

void jetDateAdd(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    QDateTime d;
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!dateArg(ctx, argv[2], &d))
        return;
    bool ok = false;
    const QDateTime result = addInterval(d, textArg(argv[0]), qRound64(sqlite3_value_double(argv[1])), &ok);
    if (!ok)
        resultError(ctx, QStringLiteral("\"%1\" is no interval of DateAdd.").arg(textArg(argv[0])));
    else
        resultDate(ctx, result);
}

qint64 serialSeconds(const QDateTime &d)
{
    return d.date().toJulianDay() * 86400 + d.time().msecsSinceStartOfDay() / 1000;
}

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

void jetDateDiff(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    QDateTime a, b;
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!dateArg(ctx, argv[1], &a) || !dateArg(ctx, argv[2], &b))
        return;
    const QString i = textArg(argv[0]).toLower();
    const QDate da = a.date(), db = b.date();
    // Counts the boundaries of the interval crossed between the two values.
    qint64 r = 0;
    if (i == QLatin1String("yyyy")) {
        r = db.year() - da.year();
    } else if (i == QLatin1String("q")) {
        r = (db.year() * 4 + (db.month() - 1) / 3) - (da.year() * 4 + (da.month() - 1) / 3);
    } else if (i == QLatin1String("m")) {
        r = (db.year() * 12 + db.month()) - (da.year() * 12 + da.month());
    } else if (i == QLatin1String("y") || i == QLatin1String("d")) {
        r = da.daysTo(db);
    } else if (i == QLatin1String("w")) {
        r = da.daysTo(db) / 7;
    } else if (i == QLatin1String("ww")) {
        // Weeks begin on Sunday.
        r = da.addDays(-(da.dayOfWeek() % 7)).daysTo(db.addDays(-(db.dayOfWeek() % 7))) / 7;
    } else if (i == QLatin1String("h") || i == QLatin1String("n") || i == QLatin1String("s")) {
        const qint64 unit = i == QLatin1String("h") ? 3600 : i == QLatin1String("n") ? 60 : 1;
        r = floorDiv(serialSeconds(b), unit) - floorDiv(serialSeconds(a), unit);
    } else {
        resultError(ctx, QStringLiteral("\"%1\" is no interval of DateDiff.").arg(textArg(argv[0])));
        return;
    }
    sqlite3_result_int64(ctx, r);
}

void jetDateSerial(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    int year = roundedInt(argv[0]);
    // Two-digit years fall in 1930..2029; months and days beyond their range carry over.
    if (year >= 0 && year < 100)
        year += year < 30 ? 2000 : 1900;
    const QDate d = QDate(year, 1, 1).addMonths(roundedInt(argv[1]) - 1).addDays(roundedInt(argv[2]) - 1);
    resultDate(ctx, plainDateTime(d, QTime(0, 0)));
}

void jetDateValue(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    QDateTime d;
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else if (dateArg(ctx, argv[0], &d))
        resultDate(ctx, plainDateTime(d.date(), QTime(0, 0)));
}

void jetCDate(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    QDateTime d;
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else if (dateArg(ctx, argv[0], &d))
        resultDate(ctx, d);
}

void jetAddDays(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    QDateTime d;
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (dateArg(ctx, argv[0], &d))
        resultDate(ctx, d.addSecs(qRound64(sqlite3_value_double(argv[1]) * 86400.0)));
}

void jetDateSub(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    QDateTime a, b;
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (dateArg(ctx, argv[0], &a) && dateArg(ctx, argv[1], &b))
        resultNumber(ctx, double(serialSeconds(a) - serialSeconds(b)) / 86400.0);
}

void jetVal(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    // The number at the start of the text; blanks inside it are skipped.
    const QString text = textArg(argv[0]);
    QString number;
    bool point = false, exponent = false, digits = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        if (c.isDigit() && c.unicode() < 128) {
            number += c;
            digits = true;
        } else if ((c == u'+' || c == u'-') && (number.isEmpty() || number.endsWith(u'e'))) {
            number += c;
        } else if (c == u'.' && !point && !exponent) {
            number += c;
            point = true;
        } else if ((c == u'e' || c == u'E' || c == u'd' || c == u'D') && digits && !exponent) {
            number += u'e';
            exponent = true;
        } else {
            break;
        }
    }
    while (!number.isEmpty() && !number.back().isDigit() && number.back() != u'.')
        number.chop(1);
    bool ok = false;
    const double value = number.toDouble(&ok);
    resultNumber(ctx, ok ? value : 0.0);
}

void jetPow(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        sqlite3_result_null(ctx);
    else
        resultNumber(ctx, std::pow(sqlite3_value_double(argv[0]), sqlite3_value_double(argv[1])));
}

void jetFormat(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString format = argc > 1 && !isNull(argv[1]) ? textArg(argv[1]) : QString();
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        resultText(ctx, formatJetNumber(sqlite3_value_double(argv[0]), format));
        return;
    }
    QDate date;
    QTime time;
    if (readStoredDate(argv[0], &date, &time)) {
        resultText(ctx, formatJetDate(plainDateTime(date, time), format));
        return;
    }
    const QString text = textArg(argv[0]);
    bool numeric = false;
    const double number = text.trimmed().toDouble(&numeric);
    if (numeric && !format.isEmpty()) {
        resultText(ctx, formatJetNumber(number, format));
        return;
    }
    if (!format.isEmpty() && !format.contains(u'@') && !format.contains(u'&')) {
        if (const QDateTime d = parseDateText(text); d.isValid()) {
            resultText(ctx, formatJetDate(d, format));
            return;
        }
    }
    resultText(ctx, formatJetText(text, format));
}

} // namespace

void registerJetFunctions(sqlite3 *db)
{
    struct Function {
        const char *name;
        int args; // -1: any number
        bool deterministic;
        void (*call)(sqlite3_context *, int, sqlite3_value **);
    };
    static const Function functions[] = {
        {"jet_like", 2, true, jetLike},
        {"jet_datetext", 1, true, jetDateText},
        {"jet_concat", -1, true, jetConcat},
        {"jet_right", 2, true, jetRight},
        {"jet_instr", 3, true, jetInStr},
        {"jet_instr", 4, true, jetInStr},
        {"jet_ucase", 1, true, jetUCase},
        {"jet_lcase", 1, true, jetLCase},
        {"jet_year", 1, true, jetDatePart<0>},
        {"jet_month", 1, true, jetDatePart<1>},
        {"jet_day", 1, true, jetDatePart<2>},
        // Today and now read the program's clock, so they are never taken as constants.
        {"jet_date", 0, false, jetDate},
        {"jet_now", 0, false, jetNow},
        {"jet_dateadd", 3, true, jetDateAdd},
        {"jet_datediff", 3, true, jetDateDiff},
        {"jet_dateserial", 3, true, jetDateSerial},
        {"jet_datevalue", 1, true, jetDateValue},
        {"jet_cdate", 1, true, jetCDate},
        {"jet_adddays", 2, true, jetAddDays},
        {"jet_datesub", 2, true, jetDateSub},
        {"jet_val", 1, true, jetVal},
        {"jet_pow", 2, true, jetPow},
        {"jet_format", 1, true, jetFormat},
        {"jet_format", 2, true, jetFormat},
    };
    registerTextCollation(db);
    for (const Function &f : functions) {
        sqlite3_create_function_v2(db, f.name, f.args,
                                   SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0), nullptr,
                                   f.call, nullptr, nullptr, nullptr);
    }
}

} // namespace platform
