#include "helpers/DatabaseState.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

std::unique_ptr<platform::Database> gDb;
std::unique_ptr<platform::Recordset> gContactsTable;
QString gDbPath;
QString gAppName;
QString gNoticeLine;
QString gSql;
