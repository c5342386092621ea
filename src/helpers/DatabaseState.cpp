#include "helpers/DatabaseState.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MsgBox.h"

#include <QDir>

DatabaseState gDatabase;

void DatabaseState::reset()
{
    // The table's statements belong to the database: they go first.
    gContactsTable.reset();
    gDb.reset();
    *this = DatabaseState();
}

bool TellIfOpenBookFile(const QString &path, const QString &then)
{
    if (!gDb || !gDb->isOpen())
        return false;
    const QString named = QDir::toNativeSeparators(path);
    QString text;
    switch (gDb->fileOfDatabase(path)) {
    case platform::Database::FileOfDatabase::None:
        return false;
    case platform::Database::FileOfDatabase::TheFile:
        text = QStringLiteral("%1 is the open address book.  Writing there would destroy it, so nothing was "
                              "written.")
                   .arg(named);
        break;
    case platform::Database::FileOfDatabase::KeptBeside:
        text = QStringLiteral("%1 is one of the files the open address book keeps beside it (its journal, "
                              "a backup or a work file).  Nothing was written there.")
                   .arg(named);
        break;
    }
    platform::MsgBox(text + QStringLiteral("\r\n\r\n") + then, platform::vbOKOnly + platform::vbExclamation,
                     QStringLiteral("Open address book"));
    return true;
}
