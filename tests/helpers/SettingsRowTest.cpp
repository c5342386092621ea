#include "helpers/DatabaseState.h"
#include "helpers/SettingsRow.h"
#include "platform/db/Recordset.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

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

TEST(SettingsRow, ARowThatAlreadySaysSoIsNotWrittenAgain)
{
    TempDatabase temp;
    platform::Database &db = temp.db();
    db.execute("INSERT INTO tblSettings (Type, Name) VALUES ('GRIDSORTORDER', 'LastName')");
    db.execute("INSERT INTO tblSettings (Type, Name) VALUES ('backcolor', '255')");
    db.execute("INSERT INTO tblSettings (Type) VALUES ('TABLET')");
    const auto changes = [&db] { return sqlite3_total_changes(db.handle()); };
    const auto nameOf = [&db](const QString &type) {
        return db.openRecordset(settingsRowQuery(type))->value("Name");
    };

    int before = changes();
    gSql.clear();
    storeSettingsRow(db, "GRIDSORTORDER", "LastName");
    EXPECT_EQ(changes(), before) << "the same Type and Name: nothing to write";
    EXPECT_EQ(gSql, "Select * from tblSettings Where Type='GRIDSORTORDER'") << "the query is left all the same";

    storeSettingsRow(db, "GRIDSORTORDER", "lastname");
    EXPECT_EQ(changes(), before + 1) << "a Name differing in case is written";
    EXPECT_EQ(nameOf("GRIDSORTORDER").toString(), "lastname");

    before = changes();
    storeSettingsRow(db, "BACKCOLOR", "255");
    EXPECT_EQ(changes(), before + 1) << "the Type is written in its own case";
    auto rs = db.openRecordset("Select * from tblSettings Where Name='255'");
    EXPECT_EQ(rs->value("Type").toString(), "BACKCOLOR");

    before = changes();
    storeSettingsRow(db, "TABLET", "");
    EXPECT_EQ(changes(), before + 1) << "a Null Name is no empty one";
    EXPECT_FALSE(nameOf("TABLET").isNull());
}
