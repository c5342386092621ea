#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/jet/JetQuote.h"
#include "support/ExpectRuntimeError.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// Finds land on the row, in list order, that holds the match, whatever the row ids look
// like: close together, far apart, negative, or one contact in several rows of a join.
class FindPositionTest : public ::testing::Test {
  protected:
    void add(qint64 id, const char *last, const char *first)
    {
        db().execute(QStringLiteral("INSERT INTO tblContacts (RecordID, LastName, FirstName) VALUES (%1, %2, %3)")
                         .arg(id)
                         .arg(jetQuote(QString::fromUtf8(last)), jetQuote(QString::fromUtf8(first))));
    }

    static QString firstName(Recordset &rs) { return rs.value("FirstName").toString(); }

    Database &db() { return mTemp.db(); }
    TempDatabase mTemp;
};

} // namespace

TEST_F(FindPositionTest, RowIdsFarApartAndBelowZero)
{
    add(9000000000000LL, "Adams", "Far");
    add(-7, "Baker", "Below");
    add(3, "Carter", "Near");
    add(-9000000000000LL, "Adams", "Farther");
    auto rs = db().openRecordset("Select * from tblContacts Order By LastName, FirstName");
    ASSERT_EQ(rs->recordCount(), 4);

    rs->findFirst("LastName = 'Adams'");
    EXPECT_EQ(firstName(*rs), "Far");
    rs->findNext("LastName = 'Adams'");
    EXPECT_EQ(firstName(*rs), "Farther");
    rs->findFirst("LastName like \"B*\"");
    EXPECT_EQ(firstName(*rs), "Below");
    rs->findLast("RecordID > 0");
    EXPECT_EQ(firstName(*rs), "Near");
    rs->findPrevious("RecordID > 0");
    EXPECT_EQ(firstName(*rs), "Far");
    rs->findFirst("RecordID = -9000000000000");
    EXPECT_EQ(firstName(*rs), "Farther");
    EXPECT_EQ(rs->absolutePosition(), 1);
}

TEST_F(FindPositionTest, RowIdsCloseTogetherWithGapsAndAddedRows)
{
    for (int i = 0; i < 40; ++i)
        add(100 + 3 * i, i % 2 ? "Odd" : "Even", QByteArray::number(i).constData());
    auto rs = db().openRecordset("Select * from tblContacts Order By LastName, RecordID Desc");
    rs->findFirst("FirstName = '7'");
    EXPECT_EQ(rs->absolutePosition(), 20 + 16) << "odd ones after the even, highest id first";
    rs->findFirst("RecordID = 101");
    EXPECT_TRUE(rs->noMatch()) << "an id in a gap is in no row";
    EXPECT_EQ(firstName(*rs), "7");

    // A row added to the list is found at its place, the last one.
    rs->addNew();
    rs->setValue("LastName", "Added");
    rs->setValue("FirstName", "New");
    rs->update();
    rs->findFirst("LastName = 'Added'");
    EXPECT_FALSE(rs->noMatch());
    EXPECT_EQ(firstName(*rs), "New");
    EXPECT_EQ(rs->absolutePosition(), 40);
    rs->findFirst("FirstName = '0'");
    EXPECT_EQ(rs->absolutePosition(), 19);
}

TEST_F(FindPositionTest, OneContactInSeveralRowsOfAJoin)
{
    add(1, "Adams", "Ann");
    add(2, "Baker", "Bob");
    for (const char *category : {"Quilters", "Friends", "Weavers"})
        db().execute(QStringLiteral("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES (%1)")
                         .arg(jetQuote(QString::fromLatin1(category))));
    // Ann in all three categories, Bob in Friends only.
    db().execute("INSERT INTO tblCategoryID (ID, CategoryNumber) SELECT 1, CategoryNumber FROM tblCategoryDesc");
    db().execute("INSERT INTO tblCategoryID (ID, CategoryNumber) VALUES (2, 2)");
    auto rs = db().openRecordset(
        "SELECT tblContacts.*, CategoryDesc FROM (tblContacts INNER JOIN tblCategoryID ON tblContacts.RecordID = "
        "tblCategoryID.ID) INNER JOIN tblCategoryDesc ON tblCategoryID.CategoryNumber = "
        "tblCategoryDesc.CategoryNumber Order By CategoryDesc, LastName");
    ASSERT_EQ(rs->recordCount(), 4);

    // In list order: Friends Adams, Friends Baker, Quilters Adams, Weavers Adams.
    QList<qint64> seen;
    for (rs->findFirst("FirstName = 'Ann'"); !rs->noMatch(); rs->findNext("FirstName = 'Ann'"))
        seen.append(rs->absolutePosition());
    EXPECT_EQ(seen, QList<qint64>({0, 2, 3}));
    rs->findLast("FirstName = 'Ann'");
    EXPECT_EQ(rs->absolutePosition(), 3);
    rs->findPrevious("FirstName = 'Bob'");
    EXPECT_EQ(rs->absolutePosition(), 1);
    rs->findNext("FirstName = 'Ann'");
    EXPECT_EQ(rs->absolutePosition(), 2) << "from Bob, the next of Ann's rows";
}

TEST_F(FindPositionTest, ManyShapesOfQuestionInTurnKeepTheirAnswers)
{
    add(1, "Ångström", "A");
    add(2, "O'Brien", "B");
    add(3, "Smith", "C");
    add(4, "Smythe", "D");
    add(5, "Zoë", "E");
    auto rs = db().openRecordset("Select * from tblContacts Order By LastName, FirstName");
    const QList<QPair<QString, QString>> asked{
        {"LastName like \"Sm*\"", "C"},     {"LastName like \"å*\"", "A"},    {"LastName like \"O'*\"", "B"},
        {"LastName = 'Zoë'", "E"},          {"FirstName > 'C'", "D"},         {"RecordID = 2", "B"},
        {"LastName like \"Smy*\"", "D"},    {"LastName like \"zo*\"", "E"},   {"FirstName > 'C' And RecordID < 5", "D"}};
    // Twice round, so the questions asked again meet statements kept from before and
    // statements that had to make room for others.
    for (int round = 0; round < 2; ++round)
        for (const auto &[criterion, first] : asked) {
            rs->moveFirst();
            rs->findFirst(criterion);
            EXPECT_FALSE(rs->noMatch()) << qPrintable(criterion);
            EXPECT_EQ(firstName(*rs), first) << qPrintable(criterion) << " round " << round;
        }
    rs->findFirst("LastName like \"Q*\"");
    EXPECT_TRUE(rs->noMatch());
    EXPECT_EQ(firstName(*rs), "D") << "no match keeps the place";
}
