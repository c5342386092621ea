#include "helpers/DatabaseState.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

DatabaseState gDatabase;

void DatabaseState::reset()
{
    // The table's statements belong to the database: they go first.
    gContactsTable.reset();
    gDb.reset();
    *this = DatabaseState();
}
