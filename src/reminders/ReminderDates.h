#pragma once

#include <QDate>
#include <QString>

// The date rules of a reminder, free of any window or table so that they can be checked
// against a calendar of their own.

// How often a reminder recurs, as its FrequencyPeriod text names it. The texts are compared
// exactly: any other text (a different case, a blank too many) is Unknown and never moves.
enum class ReminderPeriod { OneTime, Days, Months, Years, Unknown };

ReminderPeriod reminderPeriodOf(const QString &frequencyPeriod);

// The day a reminder starts to be due: its date less its warning days.
QDate warnDateOf(const QDate &remindDate, qint64 warningDays);

// The date one period after `remindDate`: `amount` days, or calendar months or years that
// keep the day of the month and fall back to the last day of a shorter month (31 January
// plus one month is 28 or 29 February; 29 February plus one year is 28 February).
// One time and Unknown give the date unchanged. A move that would leave the dates the
// program can store (the years 100 to 9999) gives an invalid date.
QDate advancedByOnePeriod(const QDate &remindDate, ReminderPeriod period, qint64 amount);

// The first date of a reminder that the program could not store: its date, its warning date,
// or, for a recurring reminder, the date one period on or that date's warning date (a
// reminder that could not be moved on when the user is reminded is refused when it is saved).
enum class ReminderDateFault { None, RemindDate, WarnDate, NextDate };
ReminderDateFault reminderDatesFault(const QDate &remindDate, qint64 warningDays, ReminderPeriod period,
                                     qint64 amount);

// The next anniversary of `date` seen from `today`: its month and day in today's year,
// a day this year lacks rolling over to the next (29 February to 1 March); a day already
// past this year goes to next year. Today itself is not past.
QDate nextAnniversary(const QDate &date, const QDate &today);
