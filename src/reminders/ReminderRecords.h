#pragma once

#include <QString>
#include <QtGlobal>

namespace platform {
class Database;
class Recordset;
} // namespace platform

// The texts of the pick lists, which are also what the rows hold.
inline const QString ActiveStatus = QStringLiteral("Active");
inline const QString InactiveStatus = QStringLiteral("Inactive");
inline const QString OneTimePeriod = QStringLiteral("One time");
inline const QString InvalidDateTitle = QStringLiteral("Invalid Date");
inline const QString NoCurrentRemindersTitle = QStringLiteral("No current reminders");

// The statements that rebuild the due reminders (at the main window's first activation when
// the start-up option is on, and from the due-reminder window).
inline const QString ClearCurrentRemindersSql = QStringLiteral("Delete * from tblCurrentReminders");
inline const QString FillCurrentRemindersSql = QStringLiteral(
    "INSERT INTO tblCurrentReminders (RemindDate, RecordID, TblRemindRecordID, Description, Notes, WarnDate) "
    "SELECT RemindDate, LinkedRecordID, TblRemindRecordID, Description, Notes, WarnDate FROM "
    "qryNewReminders");

// Moves the reminder on the current row of `row` (a row of tblRemind) on by one period and
// recomputes its warning date; a one-time reminder is deleted instead, and a row with a
// period of another text, or with no date, is left as it is. False, with the row left as it
// is, when the reminder's dates or the ones a period on lie outside the dates the program can
// store.
bool AdvanceOnePeriod(platform::Recordset &row);

// Empties tblCurrentReminders and refills it from qryNewReminders; returns the number of
// rows the due list then holds. Both statements are one transaction: when either fails the
// previous list stays as it was and the failure is raised.
// A read-only database keeps the list it was last given: nothing is rebuilt, and the rows
// that list holds are counted.
qint64 RebuildDueReminders(platform::Database &db);

// Tells the user the due list cannot be built now, and why (`cause`).
void TellDueListNotBuilt(const QString &cause);

// Stores the start-up option (1: show the due reminders when the program starts, 0: not)
// in the REMINDERSTARTUP row and in gMainWindow.gReminderStartup.
void WriteReminderStartup(platform::Database &db, int value);

// After the current row was deleted: the row before it becomes current, or the one after it
// when it was the first; the record set is past its end when no row is left.
void moveAfterDelete(platform::Recordset &rows);
