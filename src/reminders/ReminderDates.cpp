#include "reminders/ReminderDates.h"

#include "platform/base/DateText.h"

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

QDate warnDateOf(const QDate &remindDate, qint64 warningDays)
{
    return remindDate.addDays(-warningDays);
}

QDate advancedByOnePeriod(const QDate &remindDate, ReminderPeriod period, qint64 amount)
{
    // No amount beyond this keeps a date within the years the program stores; refusing it
    // first keeps the calendar's month and year sums within range.
    constexpr qint64 farBeyondAnyDate = 10000LL * 366;
    const bool moves = period == ReminderPeriod::Days || period == ReminderPeriod::Months ||
                       period == ReminderPeriod::Years;
    if (!moves)
        return remindDate;
    if (amount > farBeyondAnyDate || amount < -farBeyondAnyDate)
        return {};
    QDate next;
    if (period == ReminderPeriod::Days)
        next = remindDate.addDays(amount);
    else if (period == ReminderPeriod::Months)
        next = remindDate.addMonths(int(amount)); // clamps to the month's last day
    else
        next = remindDate.addYears(int(amount)); // 29 February becomes 28 February
    return platform::isStorableDate(next) ? next : QDate();
}

ReminderDateFault reminderDatesFault(const QDate &remindDate, qint64 warningDays, ReminderPeriod period,
                                     qint64 amount)
{
    if (!platform::isStorableDate(remindDate))
        return ReminderDateFault::RemindDate;
    if (!platform::isStorableDate(warnDateOf(remindDate, warningDays)))
        return ReminderDateFault::WarnDate;
    const QDate next = advancedByOnePeriod(remindDate, period, amount);
    if (!platform::isStorableDate(next) || !platform::isStorableDate(warnDateOf(next, warningDays)))
        return ReminderDateFault::NextDate;
    return ReminderDateFault::None;
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
