#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>
#include <optional>

namespace platform {

// The dates the program can store and show: the years 100 to 9999.
bool isStorableDate(const QDate &date);

// A day and time of day as the calendar names them, in no time zone: a local midnight
// does not exist on a day whose clocks go forward at midnight, a plain one always does.
QDateTime plainDateTime(const QDate &date, const QTime &time = QTime(0, 0));
// A date field's value (a date, or a date and time) as a plain date and time; an invalid
// one for any other value.
QDateTime plainDateTimeOf(const QVariant &fieldValue);

// A date field's value as a date the program can show; an invalid date when the field
// holds none (Null), or holds what cannot be read as one: a text that is no date, or a
// year outside 100 to 9999, as another program or a damaged file may leave.
QDate readableDateOf(const QVariant &fieldValue);
// True when the field holds something, but no date the program can show.
bool isUnreadableDate(const QVariant &fieldValue);
// The year of the date a field's value names, also one the program cannot show: a year 50,
// or the stored text "20000-01-01" another program may leave. Nothing when the value names
// no date at all.
std::optional<int> dateFieldYear(const QVariant &fieldValue);
// A date field's value as every box, grid and report shows it: the general date form, and
// nothing for a date that cannot be read.
QString dateFieldText(const QVariant &fieldValue);

// The system's short date: the locale's short pattern with the year widened to
// four digits (en_US: 1/2/2020), always in digits and without words (bg_BG's "г."), so
// that what is shown reads back.
QString shortDateFormat();
QString shortDateFormat(const QLocale &locale);
QString shortDateText(const QDate &date);
QString shortDateText(const QDate &date, const QLocale &locale);

// The long time, as the short date, in the locale's digits alone: its hour, separators
// and AM/PM text, no words or time zone (en_US: 1:30:00 PM).
QString longTimeFormat(const QLocale &locale);
QString longTimeText(const QTime &time);

// The general date: the short date, then a blank and the long time when the value
// has a time of day (en_US: 1/2/2020 1:30:00 PM).
QString generalDateText(const QDateTime &value);
QString generalDateText(const QDateTime &value, const QLocale &locale);

// The text with every digit as 0-9 and without direction marks: a date as a file in
// one-byte characters can hold it (Arabic-Indic "١٤‏/٧‏/١٩٨٥" as "14/7/1985").
QString plainDigitsText(QStringView text);

// Makes the date forms those of `locale`, as if the program had started under it.
void setDateLocaleForTesting(const QLocale &locale);

// Reads a date as the user types it in the system's short form (also with a time, its
// AM/PM text before or after it, and also ISO yyyy-mm-dd), in any digits; an invalid
// QDateTime when the text is no date.
QDateTime parseDateText(const QString &text);
QDateTime parseDateText(const QString &text, const QLocale &locale);

} // namespace platform
