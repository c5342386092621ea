#include "reminders/ReminderCommands.h"

#include "editor/EditorHooks.h"
#include "helpers/DatabaseState.h"
#include "platform/db/Database.h"
#include "reminders/CurrentReminders.h"
#include "reminders/Remind.h"

void showReminderWindow()
{
    Remind::open(*gDb);
}

void showDueReminders()
{
    CurrentReminders::open(*gDb);
}

void installReminderHooks()
{
    EditorHooks::showReminder = [] { Remind::open(*gDb, EditedContact::fromEditor()); };
}
