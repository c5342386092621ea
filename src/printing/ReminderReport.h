#pragma once

namespace platform {
class Database;
}

// "Reminder Report": every reminder of the database, in the order of the stored query
// qryRemind, each a bold line with its date and the name of its contact and below it
// its description and notes, wrapped on indented lines, under the heading "Reminders".
// Without any reminder only a message is shown and no document is started.
void PrintReminderReport(platform::Database &Db);

// The menu entry "Date Reminders": asks whether to print (or preview) all reminders,
// then draws the report. The main list plays no part: the report prints every
// reminder, whatever the list shows or has selected.
void RemindersReportMenu_Click(platform::Database &Db);
