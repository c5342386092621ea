#include "app/SettingsRow.h"
#include "app/modMain.h"
#include "platform/db/Recordset.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

TEST(SettingsRow, TheRowIsAddedOnceAndThenRewritten)
{
    TempDatabase temp;
    platform::Database &db = temp.db();
    db.execute("Delete from tblSettings Where Type='TABLET'");
    storeSettingsRow(db, "TABLET", "True");
    EXPECT_EQ(gSql, "Select * from tblSettings Where Type='TABLET'");
    storeSettingsRow(db, "TABLET", "False");
    auto rs = db.openRecordset("Select * from tblSettings Where Type='TABLET'");
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->value("Name").toString(), "False");
    EXPECT_EQ(rs->value("Type").toString(), "TABLET");
}

TEST(SettingsRow, OnlyTheFirstOfSeveralRowsIsRewrittenAndOtherTypesStay)
{
    TempDatabase temp;
    platform::Database &db = temp.db();
    db.execute("INSERT INTO tblSettings (Type, Name) VALUES ('BACKCOLOR', '1')");
    db.execute("INSERT INTO tblSettings (Type, Name) VALUES ('BACKCOLOR', '2')");
    db.execute("INSERT INTO tblSettings (Type, Name) VALUES ('GRIDSORTORDER', 'Phone1')");
    storeSettingsRow(db, "BACKCOLOR", "8421440");
    auto rs = db.openRecordset("Select * from tblSettings Where Type='BACKCOLOR' And Name='8421440'");
    EXPECT_EQ(rs->recordCount(), 1);
    auto other = db.openRecordset("Select * from tblSettings Where Type='GRIDSORTORDER'");
    EXPECT_EQ(other->value("Name").toString(), "Phone1");
}
