#include "reminders/ReminderDates.h"

ReminderPeriod reminderPeriodOf(const QString &frequencyPeriod)
{
    if (frequencyPeriod == QLatin1String("One time"))
        return ReminderPeriod::OneTime;
    if (frequencyPeriod == QLatin1String("Days"))
        return ReminderPeriod::Days;
    if (frequencyPeriod == QLatin1String("Months"))
        return ReminderPeriod::Months;
    if (frequencyPeriod == QLatin1String("Years"))
        return ReminderPeriod::Years;
    return ReminderPeriod::Unknown;
}

QDate warnDateOf(const QDate &remindDate, int warningDays)
{
    return remindDate.addDays(-qint64(warningDays));
}

QDate advancedByOnePeriod(const QDate &remindDate, ReminderPeriod period, int amount)
{
    switch (period) {
    case ReminderPeriod::Days:
        return remindDate.addDays(amount);
    case ReminderPeriod::Months:
        return remindDate.addMonths(amount); // clamps to the month's last day
    case ReminderPeriod::Years:
        return remindDate.addYears(amount); // 29 February becomes 28 February
    case ReminderPeriod::OneTime:
    case ReminderPeriod::Unknown:
        break;
    }
    return remindDate;
}

namespace {

// Month and day in `year`; a day the month lacks that year rolls over into the next month.
QDate rolledDate(int year, int month, int day)
{
    return QDate(year, month, 1).addDays(day - 1);
}

} // namespace

QDate nextAnniversary(const QDate &date, const QDate &today)
{
    QDate a = rolledDate(today.year(), date.month(), date.day());
    if (today > a)
        a = rolledDate(today.year() + 1, date.month(), date.day());
    return a;
}
