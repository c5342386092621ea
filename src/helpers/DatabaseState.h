#pragma once

#include <QString>

#include <memory>

namespace platform {
class Database;
class Recordset;
} // namespace platform

// The open database and what the start routine keeps about it for every window.
extern std::unique_ptr<platform::Database> gDb;
extern std::unique_ptr<platform::Recordset>
    gContactsTable;         // table-type over tblContacts; its index names the sort field
extern QString gDbPath;     // full path of the database file; a single blank or empty: none chosen yet
extern QString gAppName;    // "Quiltern": default database name and help page name
extern QString gNoticeLine; // shown at the foot of the main window
extern QString gSql;        // the query text built just before each settings or action query

// The title the platform shows on message boxes without a title of their own.
inline const QString ApplicationTitleText = QStringLiteral("Quiltern 3");
inline const QString DatabaseFileFilter = QStringLiteral("Database files (*.mdb)|*.mdb|All Files (*.*)|*.*");
