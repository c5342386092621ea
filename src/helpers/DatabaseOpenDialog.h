#pragma once

#include <QString>

// The file-open dialog for a database file, as the start routine and the main window's
// Open command show it: the database filter first, starting in the program folder,
// titled "Open database file". True with the chosen file's full path when the user
// chose one.
bool ShowDatabaseOpenDialog(QString &path);
