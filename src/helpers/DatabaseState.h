#pragma once

#include <QString>

#include <memory>

namespace platform {
class Database;
class Recordset;
} // namespace platform

// The open database and what the start routine keeps about it for every window.
struct DatabaseState {
    std::unique_ptr<platform::Database> gDb;
    std::unique_ptr<platform::Recordset>
        gContactsTable;  // table-type over tblContacts; its index names the sort field
    QString gDbPath;     // full path of the database file; a single blank or empty: none chosen yet
    QString gAppName;    // "Quiltern": default database name and help page name
    QString gNoticeLine; // shown at the foot of the main window
    QString gSql;        // the query text built just before each settings or action query
    // True on a tablet without a mouse, or after the tablet mode command: dialogs then sit
    // near the top of the screen and offer the on-screen keyboard.
    bool gTabletMode = false;

    // Lets go of the contacts table, then of the database, and puts back every start value.
    void reset();
};
extern DatabaseState gDatabase;

// Nearly every file reads the open database, so its names stay as references into the
// struct rather than being spelled out at each of their hundreds of uses.
inline std::unique_ptr<platform::Database> &gDb = gDatabase.gDb;
inline std::unique_ptr<platform::Recordset> &gContactsTable = gDatabase.gContactsTable;
inline QString &gDbPath = gDatabase.gDbPath;
inline QString &gAppName = gDatabase.gAppName;
inline QString &gNoticeLine = gDatabase.gNoticeLine;
inline QString &gSql = gDatabase.gSql;
inline bool &gTabletMode = gDatabase.gTabletMode;

// Exports, PDF files and pictures never write over the open database, its journals, its
// backups or its work files. For a chosen path that leads there, whatever the link or
// name, tells the user so, the message ending with `then` (what the user does next), and
// returns true: the caller writes nothing there. False for any other path.
inline const QString ChooseAnotherName = QStringLiteral("Please choose another name.");
bool TellIfOpenBookFile(const QString &path, const QString &then = ChooseAnotherName);

// The title the platform shows on message boxes without a title of their own.
inline const QString ApplicationTitleText = QStringLiteral("Quiltern 3");
inline const QString DatabaseFileFilter = QStringLiteral("Database files (*.mdb)|*.mdb|All Files (*.*)|*.*");
