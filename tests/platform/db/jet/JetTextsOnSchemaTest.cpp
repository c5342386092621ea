#include "platform/base/Clock.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/jet/JetDialect.h"
#include "platform/db/jet/JetQuote.h"
#include "support/ContactGenerator.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// The texts below are the system's own Jet texts; they need the query translator. While the
// translator is a pass-through (a Jet-only text comes back unchanged) they are skipped.
bool translatorPresent(Database &db)
{
    const QString jet = QStringLiteral("Delete * from tblCurrentReminders");
    return translateJetSql(jet, JetTextKind::ActionQuery, db.catalog()).sql != jet;
}

} // namespace

TEST(JetTextsOnSchema, EverySystemTextRunsOnTheShippedSchema)
{
    TempDatabase temp;
    Database &db = temp.db();
    if (!translatorPresent(db))
        GTEST_SKIP() << "the Jet translator is not in yet";
    ContactGenerator::insert(db, 300, 3);
    setClockForTesting([] { return QDateTime(QDate(2024, 3, 1), QTime(9, 0)); });
    db.execute("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Friends')");
    db.execute("INSERT INTO tblCategoryID (ID, CategoryNumber) SELECT RecordID, 1 FROM tblContacts WHERE "
               "RecordID <= 40");

    const QStringList sources{
        "Select * from  tblContacts Order By LastName, FirstName ",
        "Select * from tblContacts Order By LastName",
        "Select * from  qryContacts Where  CategoryNumber = 1  Order By LastName, FirstName ",
        "Select * from  tblContacts Where Selected = 'x'  Order By Organization, LastName, FirstName",
        "Select * from  tblContacts Where Selected < 'x'  Order By DateUpdated DESC",
        "Select distinctrow * from  tblContacts Where  (LastName Like \"Sm*\" OR Notes Like \"*quilt*\")  "
        "Order By "
        "LastName, FirstName ",
        "Select DISTINCTROW * from  tblContacts Where  (Prefix Like \"*r*\" OR Date1=#12/25/2024# OR "
        "First_City Like "
        "\"*Zür*\" ) Order By FirstName",
        "Select Count(*) as RowCount from tblContacts  Where Selected = 'x' ",
        "SELECT ID, CategoryDesc, tblCategoryID.CategoryNumber FROM tblCategoryID LEFT JOIN tblCategoryDesc "
        "ON "
        "tblCategoryID.CategoryNumber = tblCategoryDesc.CategoryNumber WHERE tblCategoryID.ID=1 Order By "
        "CategoryDesc",
        "Select * from tblRemind where RemindDate=#03/10/2024# and RecordID=1",
        "Select LastName from tblContacts Where PicturePath1=\"T\" Or PicturePath2 = \"T\" Order By LastName",
        "Select Type, Name, Setting8 from tblSettings Where Type='NOTE' Order by Name",
        "Select * from tblSettings Where Type='REPORT' And Name='Envelope Orientation'",
        "Select * from tblCategoryDesc Order By CategoryDesc",
        "Select count(*) as CountRecs from tblCategoryID Where CategoryNumber=1",
    };
    for (const QString &source : sources) {
        SCOPED_TRACE(source.toStdString());
        EXPECT_NO_THROW(db.openRecordset(source)->recordCount());
    }
    EXPECT_EQ(db.openRecordset(sources[2])->recordCount(), 40);
    EXPECT_EQ(db.execute("Delete * from tblCurrentReminders"), 0);
    EXPECT_NO_THROW(
        db.execute("INSERT INTO tblCurrentReminders (RemindDate, RecordID, TblRemindRecordID, "
                   "Description, Notes, WarnDate) SELECT RemindDate, LinkedRecordID, TblRemindRecordID, "
                   "Description, Notes, WarnDate FROM qryNewReminders"));
    EXPECT_NO_THROW(db.execute("Update tblContacts Set Selected=' ' Where Selected='x'"));
    EXPECT_EQ(db.execute("Delete from tblCategoryID Where CategoryNumber=1"), 40);

    auto list = db.openRecordset(sources[0]);
    list->findFirst("LastName like \"Smi*\"");
    ASSERT_FALSE(list->noMatch());
    EXPECT_TRUE(list->value("LastName").toString().startsWith("Smi", Qt::CaseInsensitive));
    list->findFirst("LastName like \"100%*\"");
    EXPECT_TRUE(list->noMatch()) << "% typed by the user is no wildcard";
    auto categories = db.openRecordset("Select * from tblCategoryDesc Order By CategoryDesc");
    categories->findFirst("CategoryDesc=\"friends\"");
    EXPECT_FALSE(categories->noMatch());
    categories->findFirst("CategoryDesc=" + jetQuote("O'Brien's"));
    EXPECT_TRUE(categories->noMatch());
    setClockForTesting({});
}
