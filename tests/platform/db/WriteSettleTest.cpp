// A write makes the open lists that may read the written table take all their keys first, so
// that they keep the rows they had; lists that cannot read it go on reading as they were.
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "support/TempDatabase.h"

#include <QCoreApplication>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

class WriteSettleTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        db().beginTrans();
        for (int i = 0; i < 300; ++i)
            db().execute(QStringLiteral("INSERT INTO tblContacts (LastName, FirstName) VALUES ('Name%1', 'F')")
                             .arg(i, 3, 10, QLatin1Char('0')));
        db().execute("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Friends')");
        db().execute("INSERT INTO tblCategoryID (ID, CategoryNumber) SELECT RecordID, 1 FROM tblContacts");
        db().commitTrans();
    }
    platform::Database &db() { return temp.db(); }

    TempDatabase temp;
};

TEST_F(WriteSettleTest, ListsKeepTheirRowsWhenATableTheyReadIsWritten)
{
    struct Case {
        const char *list;
        const char *write;
    };
    const Case cases[] = {
        {"Select * from tblContacts Order By LastName", "INSERT INTO tblContacts (LastName) VALUES ('Zed')"},
        // Through a view: the view's own tables are not looked into, so it always keeps its rows.
        {"Select * from qryContacts Order By LastName",
         "INSERT INTO tblCategoryID (ID, CategoryNumber) VALUES (1, 2)"},
        // A table named only in a subquery is read too.
        {"Select * from tblContacts Where RecordID In (Select ID from tblCategoryID) Order By LastName",
         "DELETE FROM tblCategoryID WHERE ID > 100"},
    };
    for (const Case &c : cases) {
        auto list = db().openRecordset(QString::fromLatin1(c.list));
        const QString first = list->value("LastName").toString();
        db().beginTrans();
        db().execute(QString::fromLatin1(c.write));
        qint64 rows = 0;
        for (list->moveFirst(); !list->eof(); list->moveNext())
            ++rows;
        db().rollback();
        EXPECT_EQ(first, "Name000") << c.list;
        EXPECT_EQ(rows, 300) << c.list;
    }
}

TEST_F(WriteSettleTest, AListOfAnotherTableReadsOnWhileAWorkTableIsRewritten)
{
    auto list = db().openRecordset("Select * from tblContacts Order By LastName");
    ASSERT_EQ(list->value("LastName").toString(), "Name000");
    db().beginTrans();
    db().execute("DELETE FROM tblCurrentReminders");
    db().execute("INSERT INTO tblCurrentReminders (RecordID, Description) SELECT RecordID, LastName FROM tblContacts");
    db().commitTrans();
    qint64 rows = 0;
    QString last;
    for (; !list->eof(); list->moveNext()) {
        last = list->value("LastName").toString();
        ++rows;
    }
    EXPECT_EQ(rows, 300);
    EXPECT_EQ(last, "Name299");
    EXPECT_EQ(db().openRecordset("tblCurrentReminders")->recordCount(), 300);
}

TEST_F(WriteSettleTest, ARollbackLeavesOpenListsReadable)
{
    auto list = db().openRecordset("Select * from tblContacts Order By LastName");
    db().beginTrans();
    db().execute("DELETE FROM tblCurrentReminders");
    db().rollback();
    qint64 rows = 0;
    for (; !list->eof(); list->moveNext())
        ++rows;
    EXPECT_EQ(rows, 300);
}

} // namespace

// However far a list was read, its query lets go of the file soon after the program waits for
// the user again, the rest read a few milliseconds at a time between events: another
// connection (another program, the repair) then writes.
TEST_F(WriteSettleTest, AListReadPartWayLetsAnotherConnectionWriteOnceTheCommandEnds)
{
    auto other = platform::Database::open(temp.path());
    const std::function<void(platform::Recordset &)> reads[] = {
        [](platform::Recordset &list) { list.valueAt(20, 1); },        // the first page of a grid
        [](platform::Recordset &list) { list.collectMoreRows(50); },   // read ahead while idle
        [](platform::Recordset &list) { list.moveLast(), list.moveFirst(); }, // a walk begun again
        [](platform::Recordset &list) { list.moveNext(), list.moveNext(); },
    };
    for (const char *order : {"LastName", "LastName, RecordID"}) {
        for (std::size_t i = 0; i < std::size(reads); ++i) {
            auto list = db().openRecordset(QStringLiteral("Select * from tblContacts Order By ") + order);
            reads[i](*list);
            ASSERT_TRUE(QTest::qWaitFor([&] { return !list->collectMoreRows(0); }, 5000))
                << order << " read " << i;
            QCoreApplication::processEvents(); // a list walked again after its last key
            EXPECT_NO_THROW(other->execute("UPDATE tblContacts SET FirstName = 'G' WHERE RecordID = 7"))
                << order << " read " << i;
            EXPECT_EQ(list->recordCount(), 300);
        }
    }
}
