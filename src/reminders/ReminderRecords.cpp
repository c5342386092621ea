#include "reminders/ReminderRecords.h"

#include "helpers/DatabaseState.h"
#include "helpers/MainWindowFlags.h"
#include "helpers/SettingsRow.h"
#include "helpers/ValueHelpers.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MsgBox.h"
#include "reminders/ReminderDates.h"

namespace {

int wholeNumberOf(const QVariant &value)
{
    return qRound(NullToZero(value).toDouble());
}

} // namespace

void AdvanceOnePeriod(platform::Recordset &row)
{
    const ReminderPeriod period = reminderPeriodOf(NullToString(row.value(QStringLiteral("FrequencyPeriod"))).toString());
    if (period == ReminderPeriod::OneTime) {
        row.deleteRecord();
        return;
    }
    const QDate date = row.value(QStringLiteral("RemindDate")).toDate();
    if (period == ReminderPeriod::Unknown || !date.isValid())
        return;
    const QDate next = advancedByOnePeriod(date, period, wholeNumberOf(row.value(QStringLiteral("FrequencyAmount"))));
    row.edit();
    row.setValue(QStringLiteral("RemindDate"), next);
    row.setValue(QStringLiteral("WarnDate"), warnDateOf(next, wholeNumberOf(row.value(QStringLiteral("WarningDays")))));
    row.update();
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
