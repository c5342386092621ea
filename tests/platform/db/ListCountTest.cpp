// A list tells how many rows it has without reading every key in its order first; the keys
// it has not reached are read ahead in steps, or all at once when something needs them.
// Whatever order that happens in, the count, the walk and the last row agree.
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr int Contacts = 500;

class ListCountTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        db().beginTrans();
        for (int i = 0; i < Contacts; ++i)
            db().execute(QStringLiteral("INSERT INTO tblContacts (LastName, FirstName, First_City) VALUES "
                                        "('L%1', 'F', '%2')")
                             .arg((i * 7919) % Contacts, 3, 10, QLatin1Char('0'))
                             .arg(i % 5 == 0 ? "Friends" : "Work"));
        // Every contact in one category, some in two: the category list holds those twice.
        db().execute("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Friends')");
        db().execute("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Work')");
        db().execute("INSERT INTO tblCategoryID (ID, CategoryNumber) SELECT RecordID, 1 FROM tblContacts");
        db().execute("INSERT INTO tblCategoryID (ID, CategoryNumber) SELECT RecordID, 2 FROM tblContacts "
                     "WHERE RecordID Mod 7 = 0");
        db().commitTrans();
    }
    Database &db() { return mTemp.db(); }

    static qint64 walked(Recordset &rs)
    {
        qint64 rows = 0;
        if (rs.bof() && rs.eof())
            return rows;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            ++rows;
        return rows;
    }

    TempDatabase mTemp;
};

TEST_F(ListCountTest, TheCountIsExactBeforeTheListIsRead)
{
    struct Case {
        const char *list;
        qint64 rows;
    };
    const Case cases[] = {
        {"Select * from tblContacts Order By LastName, FirstName", Contacts},
        {"Select * from tblContacts Where First_City = 'Friends' Order By LastName", Contacts / 5},
        {"Select * from tblContacts Where LastName > 'L9' Order By LastName", 0},
        // A limit keeps rows by their order: counted by reading them.
        {"Select Top 7 * from tblContacts Order By LastName", 7},
        {"Select LastName, Count(*) As N from tblContacts Group By LastName Order By LastName", Contacts},
        {"Select Distinct First_City from tblContacts", 2},
        {"Select Count(*) As N from tblContacts", 1},
        {"Select LastName As Name, tblContacts.FirstName, [First_City] from tblContacts Order By LastName",
         Contacts},
        // Every contact once and those in two categories twice.
        {"Select tblContacts.* from tblContacts Inner Join tblCategoryID On tblContacts.RecordID = "
         "tblCategoryID.ID "
         "Order By LastName",
         Contacts + Contacts / 7},
    };
    for (const Case &c : cases) {
        auto rs = db().openRecordset(QString::fromLatin1(c.list));
        EXPECT_EQ(rs->recordCount(), c.rows) << c.list;
        EXPECT_EQ(walked(*rs), c.rows) << c.list;
        EXPECT_EQ(rs->recordCount(), c.rows) << c.list;
    }
}

TEST_F(ListCountTest, CountingLeavesTheRestToReadAheadInSteps)
{
    auto rs = db().openRecordset("Select * from tblContacts Order By LastName");
    ASSERT_EQ(rs->recordCount(), Contacts);
    int steps = 0;
    while (rs->collectMoreRows(64))
        ++steps;
    // 500 rows at 64 a step: the first row was read at opening, so eight steps bring the rest.
    EXPECT_GE(steps, 6);
    EXPECT_FALSE(rs->collectMoreRows(64));
    EXPECT_EQ(rs->recordCount(), Contacts);
    rs->moveLast();
    EXPECT_EQ(rs->value("LastName").toString(), "L499");
    EXPECT_EQ(rs->absolutePosition(), Contacts - 1);
}

TEST_F(ListCountTest, EveryKindOfListReadAheadGivesTheRowsItWouldHaveGivenAnyway)
{
    const char *const lists[] = {
        "Select * from tblContacts Order By LastName, FirstName",
        "Select * from tblContacts Where First_City = 'Friends' Order By LastName",
        "Select * from qryContacts Order By LastName",
        // Sorted by a field no index answers: the query sorts before its first row.
        "Select * from tblContacts Order By FirstName, First_City DESC, LastName",
        "Select LastName, FirstName from tblContacts",
    };
    const auto names = [](Recordset &rs) {
        QStringList shown;
        for (qint64 i = 0; i < rs.recordCount(); ++i)
            shown << rs.valueAt(i, rs.fieldIndex("LastName")).toString();
        return shown;
    };
    for (const char *list : lists) {
        auto plain = db().openRecordset(QString::fromLatin1(list));
        const QStringList expected = names(*plain);
        auto ahead = db().openRecordset(QString::fromLatin1(list));
        ASSERT_EQ(ahead->recordCount(), expected.size()) << list;
        ASSERT_GT(expected.size(), 3) << list;
        ahead->valueAt(3, 0); // a grid's first screen
        while (ahead->collectMoreRows(37)) {
        }
        EXPECT_EQ(names(*ahead), expected) << list;
        ahead->moveLast();
        EXPECT_EQ(ahead->absolutePosition(), expected.size() - 1) << list;
    }
}

TEST_F(ListCountTest, ReadingAheadMeetsEveryOtherWayOfReachingRows)
{
    // Half read ahead, then reached by place, by a find, and by a write (which reads every key
    // first): each must see the same list, with nothing read twice or skipped.
    auto byPlace = db().openRecordset("Select * from tblContacts Order By LastName");
    byPlace->recordCount();
    byPlace->collectMoreRows(200);
    EXPECT_EQ(byPlace->valueAt(450, byPlace->fieldIndex("LastName")).toString(), "L450");
    EXPECT_EQ(byPlace->valueAt(100, byPlace->fieldIndex("LastName")).toString(), "L100");
    EXPECT_EQ(walked(*byPlace), Contacts);

    auto found = db().openRecordset("Select * from tblContacts Order By LastName");
    found->collectMoreRows(100);
    found->findFirst("LastName = 'L321'");
    ASSERT_FALSE(found->noMatch());
    EXPECT_EQ(found->absolutePosition(), 321);
    EXPECT_FALSE(found->collectMoreRows(1));

    auto written = db().openRecordset("Select * from tblContacts Order By LastName");
    EXPECT_EQ(written->recordCount(), Contacts);
    written->collectMoreRows(10);
    db().execute("INSERT INTO tblContacts (LastName) VALUES ('A first name in the order')");
    // The list keeps the rows it had when it opened.
    EXPECT_EQ(written->recordCount(), Contacts);
    EXPECT_EQ(walked(*written), Contacts);
    written->requery();
    EXPECT_EQ(written->recordCount(), Contacts + 1);
}

TEST_F(ListCountTest, RowsTheListAddsAndDeletesCountOnceCounted)
{
    auto rs = db().openRecordset("Select * from tblContacts Order By LastName");
    ASSERT_EQ(rs->recordCount(), Contacts);
    rs->addNew();
    rs->setValue("LastName", "New");
    rs->update();
    EXPECT_EQ(rs->recordCount(), Contacts + 1);
    rs->moveFirst();
    rs->deleteRecord();
    rs->moveNext();
    rs->deleteRecord();
    EXPECT_EQ(rs->recordCount(), Contacts - 1);
    EXPECT_EQ(walked(*rs), Contacts - 1);
}

} // namespace

TEST_F(ListCountTest, ACountReadAheadServesOnlyTheFirstListCountingAlikeWithNothingWrittenSince)
{
    const QString counting = QStringLiteral("SELECT count(*) FROM \"tblContacts\"");
    const QString everyone = QStringLiteral("Select * from tblContacts Order By LastName");
    const QString added = QStringLiteral("INSERT INTO tblContacts (LastName) VALUES ('New')");

    // Nothing written since: the list takes it, and it is gone once taken.
    db().countAhead(counting);
    EXPECT_EQ(db().openRecordset(everyone)->recordCount(), Contacts);
    EXPECT_EQ(db().takeCountAhead(counting), std::nullopt);

    // A list counting other rows counts its own.
    db().countAhead(counting);
    EXPECT_EQ(db().openRecordset("Select * from tblContacts Where First_City = 'Friends'")->recordCount(),
              Contacts / 5);

    // A row written here, through a list or by another connection voids it.
    db().countAhead(counting);
    db().execute(added);
    EXPECT_EQ(db().openRecordset(everyone)->recordCount(), Contacts + 1);

    db().countAhead(counting);
    {
        auto table = db().openRecordset("tblContacts", RecordsetType::Table);
        table->addNew();
        table->setValue("LastName", "Newer");
        table->update();
    }
    EXPECT_EQ(db().openRecordset(everyone)->recordCount(), Contacts + 2);

    db().countAhead(counting);
    {
        auto other = Database::open(mTemp.path());
        other->execute(added);
    }
    EXPECT_EQ(db().openRecordset(everyone)->recordCount(), Contacts + 3);
}
