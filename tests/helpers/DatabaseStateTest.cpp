#include "helpers/DatabaseState.h"
#include "helpers/GLOBAL.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

// One reset lets go of the open database the way closing the program does (the contacts
// table first, then the database) and puts every other part back at its start value.
TEST(DatabaseState, ResetReleasesTheFileAndPutsBackTheStartValues)
{
    TempDatabase temp;
    temp.close();
    gDb = platform::Database::open(temp.path());
    gContactsTable = gDb->openRecordset(QStringLiteral("tblContacts"), platform::RecordsetType::Table);
    gDbPath = temp.path();
    gAppName = QStringLiteral("Quiltern");
    gNoticeLine = QStringLiteral("notice");
    gSql = QStringLiteral("Select * from tblSettings");
    gTabletMode = true;

    gDatabase.reset();

    EXPECT_EQ(gDb, nullptr);
    EXPECT_EQ(gContactsTable, nullptr);
    EXPECT_TRUE(gDbPath.isEmpty() && gAppName.isEmpty() && gNoticeLine.isEmpty() && gSql.isEmpty());
    EXPECT_FALSE(gTabletMode);
}
