#pragma once

// How the other windows reach the reminder windows.

// The reminder window from the main list: all reminders, new ones linked to no contact.
void showReminderWindow();
// The due reminders window, over the list the last rebuild made.
void showDueReminders();
// Gives the editor its Reminder button: the reminder window for the edited contact.
void installReminderHooks();
