#include "reminders/ReminderRecords.h"

#include "helpers/DatabaseState.h"
#include "helpers/MainWindowFlags.h"
#include "helpers/SettingsRow.h"
#include "helpers/ValueHelpers.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MsgBox.h"
#include "reminders/ReminderDates.h"

#include <algorithm>

namespace {

qint64 wholeNumberOf(const QVariant &value)
{
    // Far beyond any period or warning a date can take, and within what rounds to a whole number.
    return qRound64(std::clamp(NullToZero(value).toDouble(), -1e15, 1e15));
}

} // namespace

bool AdvanceOnePeriod(platform::Recordset &row)
{
    const ReminderPeriod period = reminderPeriodOf(NullToString(row.value(QStringLiteral("FrequencyPeriod"))).toString());
    if (period == ReminderPeriod::OneTime) {
        row.deleteRecord();
        return true;
    }
    const QDate date = row.value(QStringLiteral("RemindDate")).toDate();
    if (period == ReminderPeriod::Unknown || !date.isValid())
        return true;
    const qint64 amount = wholeNumberOf(row.value(QStringLiteral("FrequencyAmount")));
    const qint64 warningDays = wholeNumberOf(row.value(QStringLiteral("WarningDays")));
    if (reminderDatesFault(date, warningDays, period, amount) != ReminderDateFault::None)
        return false;
    const QDate next = advancedByOnePeriod(date, period, amount);
    row.edit();
    row.setValue(QStringLiteral("RemindDate"), next);
    row.setValue(QStringLiteral("WarnDate"), warnDateOf(next, warningDays));
    row.update();
    return true;
}

qint64 RebuildDueReminders(platform::Database &db)
{
    // A read-only database shows the due list it was last given.
    if (db.readOnly())
        return db.openRecordset(QStringLiteral("tblCurrentReminders"), platform::RecordsetType::Table)
            ->recordCount();
    db.beginTrans();
    qint64 inserted = 0;
    try {
        gSql = ClearCurrentRemindersSql;
        db.execute(gSql);
        gSql = FillCurrentRemindersSql;
        inserted = db.execute(gSql);
        db.commitTrans();
    } catch (...) {
        db.rollback();
        throw;
    }
    return inserted;
}

void TellDueListNotBuilt(const QString &cause)
{
    platform::MsgBox(QStringLiteral("The list of current reminders cannot be built.\r\n\r\n") + cause,
                     platform::vbExclamation, NoCurrentRemindersTitle);
}

void WriteReminderStartup(platform::Database &db, int value)
{
    storeSettingsRow(db, QStringLiteral("REMINDERSTARTUP"), QString::number(value));
    gMainWindow.gReminderStartup = value;
}

void moveAfterDelete(platform::Recordset &rows)
{
    if (!rows.bof())
        rows.movePrevious();
    if (rows.bof() && !rows.eof())
        rows.moveNext();
}
