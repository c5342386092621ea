#include "platform/db/TextCollation.h"
#include "platform/db/jet/JetDialect.h"

#include "platform/RuntimeError.h"
#include "platform/base/AnsiText.h"
#include "platform/base/Clock.h"
#include "platform/base/DateText.h"
#include "platform/db/DaoError.h"
#include "platform/db/SqliteError.h"
#include "platform/db/jet/JetFormat.h"
#include "platform/db/jet/JetLikePattern.h"
#include "platform/db/jet/JetValue.h"

#include <sqlcipher/sqlite3.h>

#include <QLocale>

#include <algorithm>
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

// Every refusal names its run-time error; a value of the wrong type is the criteria's
// type mismatch, as the query language reports it.
void resultError(sqlite3_context *ctx, const QString &text, int number = err::CriteriaTypeMismatch)
{
    noteFunctionError(number, text);
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
    if (!isStorableDate(value.date()))
        resultError(ctx, QStringLiteral("Overflow: the date is out of range."), err::Overflow);
    else
        resultText(ctx, dateToStorage(value));
}

// A number as a date: whole days since 12/30/1899, the fraction the time of day.
// Only serials of years 100..9999 are dates; the caller refuses any other.
bool serialIsDate(double serial)
{
    return serial >= -657434.0 && serial < 2958466.0;
}

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
        const double serial = sqlite3_value_double(v);
        if (!serialIsDate(serial)) {
            resultError(ctx, QStringLiteral("Overflow: the number is no date."), err::Overflow);
            return false;
        }
        *out = dateFromSerial(serial);
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

// A number as a whole number of the language's long range, rounded half to even; a
// number beyond that range overflows rather than wrapping.
bool longArg(sqlite3_context *ctx, sqlite3_value *v, int *out)
{
    const double value = std::nearbyint(sqlite3_value_double(v));
    if (!(value >= -2147483648.0 && value <= 2147483647.0)) {
        resultError(ctx, QStringLiteral("Overflow."), err::Overflow);
        return false;
    }
    *out = int(value);
    return true;
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
            resultError(ctx, QStringLiteral("Invalid pattern: %1.").arg(pattern->error()), err::SyntaxError);
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
    int n = 0;
    if (!longArg(ctx, argv[1], &n))
        return;
    if (n < 0) {
        resultError(ctx,
                    QStringLiteral("Invalid procedure call or argument: Right needs a length of 0 or more."),
                    err::InvalidProcedureCall);
        return;
    }
    resultText(ctx, textArg(argv[0]).right(n));
}

// Mid and Left: positions beyond the language's long range overflow, a start below 1 or
// a negative length is an invalid argument; nothing wraps to another position.
void jetMid(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const bool left = sqlite3_user_data(ctx) != nullptr;
    if (argc < 2 || argc > (left ? 2 : 3)) {
        resultError(ctx, QStringLiteral("Invalid procedure call or argument: wrong number of arguments."),
                    err::InvalidProcedureCall);
        return;
    }
    int start = 1, length = -1;
    if (left ? !longArg(ctx, argv[1], &length)
             : !longArg(ctx, argv[1], &start) || (argc > 2 && !longArg(ctx, argv[2], &length)))
        return;
    if (start < 1 || (length < 0 && (left || argc > 2))) {
        resultError(ctx, QStringLiteral("Invalid procedure call or argument: %1 needs a %2.")
                             .arg(left ? QStringLiteral("Left") : QStringLiteral("Mid"),
                                  start < 1 ? QStringLiteral("start of 1 or more")
                                            : QStringLiteral("length of 0 or more")),
                    err::InvalidProcedureCall);
        return;
    }
    resultText(ctx, textArg(argv[0]).mid(qsizetype(start) - 1, length));
}

void jetInStr(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(std::min(argc, 3), argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    int start = 0, compare = 1;
    if (!longArg(ctx, argv[0], &start) || (argc > 3 && !isNull(argv[3]) && !longArg(ctx, argv[3], &compare)))
        return;
    if (start < 1) {
        resultError(ctx,
                    QStringLiteral("Invalid procedure call or argument: InStr needs a start of 1 or more."),
                    err::InvalidProcedureCall);
        return;
    }
    const QString text = textArg(argv[1]);
    const QString sought = textArg(argv[2]);
    // Text is compared without regard to case unless 0 (binary) is asked for.
    const bool binary = compare == 0;
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
    resultText(ctx, dateToStorage(plainDateTime(
                        t.date(), QTime(t.time().hour(), t.time().minute(), t.time().second()))));
}

QDateTime addInterval(const QDateTime &d, const QString &interval, qint64 n, bool *ok)
{
    *ok = true;
    const QString i = interval.toLower();
    // Years and months are counted in a range that still holds every date, so that the
    // narrowing below never wraps; beyond it the result is out of range anyway.
    const qint64 months = std::clamp<qint64>(n, -1000000, 1000000);
    if (i == QLatin1String("yyyy"))
        return d.addYears(int(months));
    if (i == QLatin1String("q"))
        return d.addMonths(int(months * 3));
    if (i == QLatin1String("m"))
        return d.addMonths(int(months));
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
    // No count of any interval beyond this reaches from one end of the calendar to the
    // other, so a larger one is refused before it can overflow the arithmetic.
    const double count = std::nearbyint(sqlite3_value_double(argv[1]));
    if (!(std::fabs(count) < 1e12)) {
        resultError(ctx, QStringLiteral("Invalid procedure call or argument: DateAdd's number is out of range."),
                    err::InvalidProcedureCall);
        return;
    }
    bool ok = false;
    const QDateTime result = addInterval(d, textArg(argv[0]), qint64(count), &ok);
    if (!ok)
        resultError(ctx,
                    QStringLiteral("Invalid procedure call or argument: \"%1\" is no interval of DateAdd.")
                        .arg(textArg(argv[0])),
                    err::InvalidProcedureCall);
    else if (!isStorableDate(result.date()))
        resultError(ctx, QStringLiteral("Invalid procedure call or argument: DateAdd's result is no date."),
                    err::InvalidProcedureCall);
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
        resultError(ctx,
                    QStringLiteral("Invalid procedure call or argument: \"%1\" is no interval of DateDiff.")
                        .arg(textArg(argv[0])),
                    err::InvalidProcedureCall);
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
    int year = 0, month = 0, day = 0;
    if (!longArg(ctx, argv[0], &year) || !longArg(ctx, argv[1], &month) || !longArg(ctx, argv[2], &day))
        return;
    // Two-digit years fall in 1930..2029; months and days beyond their range carry over.
    if (year >= 0 && year < 100)
        year += year < 30 ? 2000 : 1900;
    // Far outside the calendar's years nothing can carry back into range.
    if (year < -100000 || year > 100000) {
        resultError(ctx, QStringLiteral("Overflow: the date is out of range."), err::Overflow);
        return;
    }
    const QDate d = QDate(year, 1, 1)
                        .addMonths(std::clamp(month, -1200000, 1200000) - 1)
                        .addDays(std::clamp(day, -40000000, 40000000) - 1);
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
    if (!dateArg(ctx, argv[0], &d))
        return;
    // More days than the calendar spans can only leave it, and would overflow the seconds.
    const double days = sqlite3_value_double(argv[1]);
    if (!(std::fabs(days) < 4e6)) {
        resultError(ctx, QStringLiteral("Overflow: the date is out of range."), err::Overflow);
        return;
    }
    resultDate(ctx, d.addSecs(qRound64(days * 86400.0)));
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

// ---------------------------------------------------------------- the VBA family

constexpr double SerialEpochJulian = 2415019; // QDate(1899, 12, 30).toJulianDay()

// A function whose argument may not be Null refuses it as the language does.
bool refuseNull(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (!anyNull(argc, argv))
        return false;
    resultError(ctx, QStringLiteral("Invalid use of Null."), err::InvalidUseOfNull);
    return true;
}

// Reads a value as a number: a number, a text that holds one, or a date (its serial).
bool numberArg(sqlite3_context *ctx, sqlite3_value *v, double *out)
{
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        *out = sqlite3_value_double(v);
        return true;
    }
    if (type == SQLITE_TEXT) {
        QDate date;
        QTime time;
        if (readStoredDate(v, &date, &time)) {
            *out = double(date.toJulianDay()) - SerialEpochJulian + time.msecsSinceStartOfDay() / 86400000.0;
            return true;
        }
        bool ok = false;
        const double value = textArg(v).trimmed().toDouble(&ok);
        if (ok && std::isfinite(value)) {
            *out = value;
            return true;
        }
    }
    resultError(
        ctx, QStringLiteral("Data type mismatch in criteria expression: '%1' is no number.").arg(textArg(v)));
    return false;
}

// Whole numbers are reached by rounding half to even, as every conversion of the
// language does (2.5 is 2, 3.5 is 4).
double halfEven(double value)
{
    return std::nearbyint(value);
}

bool wholeArg(sqlite3_context *ctx, sqlite3_value *v, qint64 *out)
{
    double value = 0;
    if (!numberArg(ctx, v, &value))
        return false;
    value = halfEven(value);
    if (std::fabs(value) > 9.2e18) {
        resultError(ctx, QStringLiteral("Overflow."), err::Overflow);
        return false;
    }
    *out = qint64(value);
    return true;
}

void resultBool(sqlite3_context *ctx, bool value)
{
    sqlite3_result_int(ctx, value ? JetTrue : JetFalse);
}

bool invalidArgument(sqlite3_context *ctx, const char *function)
{
    resultError(ctx,
                QStringLiteral("Invalid procedure call or argument: %1 cannot take this value.")
                    .arg(QLatin1String(function)),
                err::InvalidProcedureCall);
    return false;
}

void jetIntDivide(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    qint64 a = 0, b = 0;
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!wholeArg(ctx, argv[0], &a) || !wholeArg(ctx, argv[1], &b))
        return;
    if (b == 0) {
        resultError(ctx, QStringLiteral("Division by zero."), err::DivisionByZero);
        return;
    }
    // Both operands are whole numbers first; the quotient is cut towards zero, and the
    // remainder takes the sign of the dividend.
    sqlite3_result_int64(ctx, sqlite3_user_data(ctx) ? a % b : a / b);
}

double signOf(double v)
{
    return v > 0 ? 1 : v < 0 ? -1 : 0;
}
double absOf(double v)
{
    return std::fabs(v);
}
double intOf(double v)
{
    return std::floor(v);
}
double fixOf(double v)
{
    return std::trunc(v);
}
double sinOf(double v)
{
    return std::sin(v);
}
double cosOf(double v)
{
    return std::cos(v);
}
double tanOf(double v)
{
    return std::tan(v);
}
double atnOf(double v)
{
    return std::atan(v);
}

template <double (*Op)(double)> void jetMath(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double value = 0;
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else if (numberArg(ctx, argv[0], &value))
        resultNumber(ctx, Op(value));
}

void jetSqr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double value = 0;
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else if (numberArg(ctx, argv[0], &value))
        value < 0 ? void(invalidArgument(ctx, "Sqr")) : resultNumber(ctx, std::sqrt(value));
}

void jetLog(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double value = 0;
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else if (numberArg(ctx, argv[0], &value))
        value <= 0 ? void(invalidArgument(ctx, "Log")) : resultNumber(ctx, std::log(value));
}

void jetExp(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double value = 0;
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else if (numberArg(ctx, argv[0], &value)) {
        if (value > 709.78)
            resultError(ctx, QStringLiteral("Overflow."), err::Overflow);
        else
            resultNumber(ctx, std::exp(value));
    }
}

void jetRound(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    double value = 0;
    qint64 places = 0;
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!numberArg(ctx, argv[0], &value) || (argc > 1 && !wholeArg(ctx, argv[1], &places)))
        return;
    if (places < 0 || places > 22) {
        invalidArgument(ctx, "Round");
        return;
    }
    const double scale = std::pow(10.0, double(places));
    resultNumber(ctx, halfEven(value * scale) / scale);
}

void jetIsNumeric(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        resultBool(ctx, true);
        return;
    }
    bool ok = false;
    const double value = type == SQLITE_TEXT ? textArg(argv[0]).trimmed().toDouble(&ok) : 0.0;
    resultBool(ctx, ok && std::isfinite(value));
}

void jetIsDate(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    QDate date;
    QTime time;
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT)
        resultBool(ctx, false);
    else
        resultBool(ctx, readStoredDate(argv[0], &date, &time) || parseDateText(textArg(argv[0])).isValid());
}

// 0 compares binary; 1 (and the database's own, 2) without regard to case. Left out,
// a query compares as the database does: without regard to case.
bool compareArg(sqlite3_context *ctx, int argc, sqlite3_value **argv, int at, Qt::CaseSensitivity *out)
{
    *out = Qt::CaseInsensitive;
    if (argc <= at)
        return true;
    qint64 mode = 0;
    if (!wholeArg(ctx, argv[at], &mode))
        return false;
    if (mode < -1 || mode > 2)
        return invalidArgument(ctx, "compare");
    *out = mode == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
    return true;
}

void jetStrComp(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    Qt::CaseSensitivity cs;
    if (anyNull(std::min(argc, 2), argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (argc > 2 && isNull(argv[2])) {
        refuseNull(ctx, 1, argv + 2);
        return;
    }
    if (!compareArg(ctx, argc, argv, 2, &cs))
        return;
    const int r = textArg(argv[0]).compare(textArg(argv[1]), cs);
    sqlite3_result_int(ctx, r < 0 ? -1 : r > 0 ? 1 : 0);
}

void jetInStrRev(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    qint64 start = -1;
    Qt::CaseSensitivity cs;
    if (anyNull(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (refuseNull(ctx, argc - 2, argv + 2))
        return;
    if ((argc > 2 && !wholeArg(ctx, argv[2], &start)) || !compareArg(ctx, argc, argv, 3, &cs))
        return;
    if (start == 0 || start < -1) {
        invalidArgument(ctx, "InStrRev");
        return;
    }
    const QString text = textArg(argv[0]);
    const QString sought = textArg(argv[1]);
    if (start == -1)
        start = text.size();
    if (start > text.size()) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    if (sought.isEmpty()) {
        sqlite3_result_int64(ctx, start);
        return;
    }
    const qsizetype from = start - sought.size();
    const qsizetype at = from < 0 ? -1 : text.lastIndexOf(sought, from, cs);
    sqlite3_result_int64(ctx, at + 1);
}

void jetSpace(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    qint64 n = 0;
    if (refuseNull(ctx, argc, argv) || !wholeArg(ctx, argv[0], &n))
        return;
    if (n < 0) {
        invalidArgument(ctx, "Space");
        return;
    }
    if (n > 10000000) {
        resultError(ctx, QStringLiteral("Out of string space."), err::OutOfStringSpace);
        return;
    }
    sqlite3_result_text(ctx, std::string(size_t(n), ' ').c_str(), int(n), SQLITE_TRANSIENT);
}

void jetString(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    qint64 n = 0;
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!wholeArg(ctx, argv[0], &n))
        return;
    if (n < 0) {
        invalidArgument(ctx, "String");
        return;
    }
    if (n > 10000000) {
        resultError(ctx, QStringLiteral("Out of string space."), err::OutOfStringSpace);
        return;
    }
    QChar c;
    const int type = sqlite3_value_type(argv[1]);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        // A character code beyond the code page wraps round it.
        qint64 code = 0;
        if (!wholeArg(ctx, argv[1], &code))
            return;
        if (code < 0) {
            invalidArgument(ctx, "String");
            return;
        }
        c = fromAnsi(QByteArray(1, char(code % 256))).at(0);
    } else {
        const QString text = textArg(argv[1]);
        if (text.isEmpty()) {
            invalidArgument(ctx, "String");
            return;
        }
        c = text.at(0);
    }
    resultText(ctx, QString(qsizetype(n), c));
}

void jetStrReverse(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (refuseNull(ctx, argc, argv))
        return;
    QString text = textArg(argv[0]);
    std::reverse(text.begin(), text.end());
    resultText(ctx, text);
}

void jetReplace(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    qint64 start = 1, count = -1;
    Qt::CaseSensitivity cs;
    if (refuseNull(ctx, argc, argv))
        return;
    if ((argc > 3 && !wholeArg(ctx, argv[3], &start)) || (argc > 4 && !wholeArg(ctx, argv[4], &count)) ||
        !compareArg(ctx, argc, argv, 5, &cs))
        return;
    if (start < 1 || count < -1) {
        invalidArgument(ctx, "Replace");
        return;
    }
    const QString text = textArg(argv[0]);
    const QString sought = textArg(argv[1]);
    const QString replacement = textArg(argv[2]);
    // The result begins at the start asked for; what stands before it is dropped.
    if (start > text.size()) {
        resultText(ctx, QString());
        return;
    }
    QString out;
    qsizetype at = start - 1;
    while (count != 0 && !sought.isEmpty()) {
        const qsizetype hit = text.indexOf(sought, at, cs);
        if (hit < 0)
            break;
        out += QStringView(text).mid(at, hit - at);
        out += replacement;
        at = hit + sought.size();
        if (count > 0)
            --count;
    }
    out += QStringView(text).mid(at);
    resultText(ctx, out);
}

void jetAsc(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (refuseNull(ctx, argc, argv))
        return;
    const QString text = textArg(argv[0]);
    if (text.isEmpty()) {
        invalidArgument(ctx, "Asc");
        return;
    }
    sqlite3_result_int(ctx, static_cast<unsigned char>(toAnsi(text.left(1)).at(0)));
}

void jetChr(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    qint64 code = 0;
    if (refuseNull(ctx, argc, argv) || !wholeArg(ctx, argv[0], &code))
        return;
    if (code < 0 || code > 255) {
        invalidArgument(ctx, "Chr");
        return;
    }
    resultText(ctx, fromAnsi(QByteArray(1, char(code))));
}

void jetStr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double value = 0;
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else if (numberArg(ctx, argv[0], &value))
        resultText(ctx, (value >= 0 ? QStringLiteral(" ") : QString()) + generalNumberText(value));
}

template <int Base> void jetRadix(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    qint64 value = 0;
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!wholeArg(ctx, argv[0], &value))
        return;
    if (value < -2147483648LL || value > 2147483647LL) {
        resultError(ctx, QStringLiteral("Overflow."), err::Overflow);
        return;
    }
    // A negative value shows its two's complement, in 16 bits when it fits an Integer.
    const quint64 bits = value >= 0        ? quint64(value)
                         : value >= -32768 ? quint64(value) & 0xffffu
                                           : quint64(value) & 0xffffffffu;
    resultText(ctx, QString::number(bits, Base).toUpper());
}

// The conversions to a number type: Null is refused, whole types round half to even
// and must fit their range.
template <int Type> void jetConvert(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    enum { Int, Lng, Dbl, Sng, Cur, Byt, Bool };
    if (refuseNull(ctx, argc, argv))
        return;
    double value = 0;
    if (Type == Bool && sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        const QString text = textArg(argv[0]).trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
            resultBool(ctx, true);
            return;
        }
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
            resultBool(ctx, false);
            return;
        }
    }
    if (!numberArg(ctx, argv[0], &value))
        return;
    auto whole = [&](double low, double high) {
        const double r = halfEven(value);
        if (r < low || r > high) {
            resultError(ctx, QStringLiteral("Overflow."), err::Overflow);
            return;
        }
        sqlite3_result_int64(ctx, sqlite3_int64(r));
    };
    switch (Type) {
    case Int:
        whole(-32768, 32767);
        break;
    case Lng:
        whole(-2147483648.0, 2147483647.0);
        break;
    case Byt:
        whole(0, 255);
        break;
    case Cur:
        resultNumber(ctx, halfEven(value * 10000.0) / 10000.0);
        break;
    case Sng:
        resultNumber(ctx, double(float(value)));
        break;
    case Bool:
        resultBool(ctx, value != 0);
        break;
    default:
        resultNumber(ctx, value);
        break;
    }
}

// Sunday is day 1 unless the week is asked to begin on another day (1 Sunday .. 7
// Saturday; 0 the system's, Sunday here).
bool firstDayArg(sqlite3_context *ctx, int argc, sqlite3_value **argv, int at, int *first)
{
    *first = 1;
    if (argc <= at)
        return true;
    qint64 v = 0;
    if (!wholeArg(ctx, argv[at], &v))
        return false;
    if (v < 0 || v > 7)
        return invalidArgument(ctx, "Weekday");
    *first = v == 0 ? 1 : int(v);
    return true;
}

int weekdayOf(const QDate &d, int first)
{
    const int sundayBased = d.dayOfWeek() % 7; // Sunday 0 .. Saturday 6
    return (sundayBased - (first - 1) + 7) % 7 + 1;
}

void jetWeekday(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    QDateTime d;
    int first = 1;
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    if (refuseNull(ctx, argc - 1, argv + 1) || !firstDayArg(ctx, argc, argv, 1, &first) ||
        !dateArg(ctx, argv[0], &d))
        return;
    sqlite3_result_int(ctx, weekdayOf(d.date(), first));
}

template <int Part> void jetTimePart(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    QDateTime d;
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else if (dateArg(ctx, argv[0], &d))
        sqlite3_result_int(ctx, Part == 0   ? d.time().hour()
                                : Part == 1 ? d.time().minute()
                                            : d.time().second());
}

void jetDatePartOf(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    QDateTime d;
    int first = 1;
    if (anyNull(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!firstDayArg(ctx, argc, argv, 2, &first) || !dateArg(ctx, argv[1], &d))
        return;
    const QString i = textArg(argv[0]).toLower();
    const QDate date = d.date();
    const QTime time = d.time();
    int r = 0;
    if (i == QLatin1String("yyyy"))
        r = date.year();
    else if (i == QLatin1String("q"))
        r = (date.month() - 1) / 3 + 1;
    else if (i == QLatin1String("m"))
        r = date.month();
    else if (i == QLatin1String("y"))
        r = date.dayOfYear();
    else if (i == QLatin1String("d"))
        r = date.day();
    else if (i == QLatin1String("w"))
        r = weekdayOf(date, first);
    else if (i == QLatin1String("ww")) {
        // Week 1 holds the first of January; weeks begin on the chosen day.
        const QDate jan1(date.year(), 1, 1);
        r = (date.dayOfYear() - 1 + weekdayOf(jan1, first) - 1) / 7 + 1;
    } else if (i == QLatin1String("h"))
        r = time.hour();
    else if (i == QLatin1String("n"))
        r = time.minute();
    else if (i == QLatin1String("s"))
        r = time.second();
    else {
        invalidArgument(ctx, "DatePart");
        return;
    }
    sqlite3_result_int(ctx, r);
}

void jetMonthName(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    qint64 month = 0, abbreviate = 0;
    if (refuseNull(ctx, argc, argv) || !wholeArg(ctx, argv[0], &month) ||
        (argc > 1 && !wholeArg(ctx, argv[1], &abbreviate)))
        return;
    if (month < 1 || month > 12) {
        invalidArgument(ctx, "MonthName");
        return;
    }
    resultText(ctx, QLocale().monthName(int(month), abbreviate ? QLocale::ShortFormat : QLocale::LongFormat));
}

void jetWeekdayName(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    qint64 day = 0, abbreviate = 0;
    int first = 1;
    if (refuseNull(ctx, argc, argv) || !wholeArg(ctx, argv[0], &day) ||
        (argc > 1 && !wholeArg(ctx, argv[1], &abbreviate)) || !firstDayArg(ctx, argc, argv, 2, &first))
        return;
    if (day < 1 || day > 7) {
        invalidArgument(ctx, "WeekdayName");
        return;
    }
    // Day 1 is the first day of the week; Qt counts Monday 1 .. Sunday 7.
    const int qtDay = int((day - 1 + first - 1 + 6) % 7) + 1;
    resultText(ctx, QLocale().dayName(qtDay, abbreviate ? QLocale::ShortFormat : QLocale::LongFormat));
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
        {"jet_mid", -1, true, jetMid},
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
        {"jet_idiv", 2, true, jetIntDivide},
        {"jet_abs", 1, true, jetMath<absOf>},
        {"jet_int", 1, true, jetMath<intOf>},
        {"jet_fix", 1, true, jetMath<fixOf>},
        {"jet_sgn", 1, true, jetMath<signOf>},
        {"jet_sin", 1, true, jetMath<sinOf>},
        {"jet_cos", 1, true, jetMath<cosOf>},
        {"jet_tan", 1, true, jetMath<tanOf>},
        {"jet_atn", 1, true, jetMath<atnOf>},
        {"jet_sqr", 1, true, jetSqr},
        {"jet_log", 1, true, jetLog},
        {"jet_exp", 1, true, jetExp},
        {"jet_round", -1, true, jetRound},
        {"jet_isnumeric", 1, true, jetIsNumeric},
        {"jet_isdate", 1, true, jetIsDate},
        {"jet_strcomp", -1, true, jetStrComp},
        {"jet_instrrev", -1, true, jetInStrRev},
        {"jet_space", 1, true, jetSpace},
        {"jet_string", 2, true, jetString},
        {"jet_strreverse", 1, true, jetStrReverse},
        {"jet_replace", -1, true, jetReplace},
        {"jet_asc", 1, true, jetAsc},
        {"jet_chr", 1, true, jetChr},
        {"jet_str", 1, true, jetStr},
        {"jet_hex", 1, true, jetRadix<16>},
        {"jet_oct", 1, true, jetRadix<8>},
        {"jet_cint", 1, true, jetConvert<0>},
        {"jet_clng", 1, true, jetConvert<1>},
        {"jet_cdbl", 1, true, jetConvert<2>},
        {"jet_csng", 1, true, jetConvert<3>},
        {"jet_ccur", 1, true, jetConvert<4>},
        {"jet_cbyte", 1, true, jetConvert<5>},
        {"jet_cbool", 1, true, jetConvert<6>},
        {"jet_weekday", -1, true, jetWeekday},
        {"jet_hour", 1, true, jetTimePart<0>},
        {"jet_minute", 1, true, jetTimePart<1>},
        {"jet_second", 1, true, jetTimePart<2>},
        {"jet_datepart", -1, true, jetDatePartOf},
        {"jet_monthname", -1, false, jetMonthName},
        {"jet_weekdayname", -1, false, jetWeekdayName},
    };
    registerTextCollation(db);
    for (const Function &f : functions) {
        sqlite3_create_function_v2(db, f.name, f.args,
                                   SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0), nullptr,
                                   f.call, nullptr, nullptr, nullptr);
    }
    // Mod is integer division's remainder; the user data tells the two apart.
    static int remainder = 1;
    sqlite3_create_function_v2(db, "jet_mod", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, &remainder,
                               jetIntDivide, nullptr, nullptr, nullptr);
    static int leftPart = 1;
    sqlite3_create_function_v2(db, "jet_left", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, &leftPart, jetMid, nullptr,
                               nullptr, nullptr);
}

} // namespace platform
