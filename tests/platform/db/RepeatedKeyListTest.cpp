#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/jet/JetQuote.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace platform;

// Lists in which one contact stands in several rows: the category query joins each contact
// to each of its category links, so every row must show its own link, however it is reached.

namespace {

class RepeatedKeyListTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        for (const char *desc : {"Friends", "Family", "Work"})
            db().execute(QStringLiteral("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('%1')")
                             .arg(QLatin1String(desc)));
    }
    Database &db() { return mTemp.db(); }
    qint64 addContact(const QString &last, const QString &first, std::initializer_list<int> categories)
    {
        db().execute(QStringLiteral("INSERT INTO tblContacts (LastName, FirstName) VALUES (%1, %2)")
                         .arg(jetQuote(last), jetQuote(first)));
        auto rs = db().openRecordset("Select Max(RecordID) As Id from tblContacts");
        const qint64 id = rs->value(0).toLongLong();
        for (int category : categories)
            db().execute(QStringLiteral("INSERT INTO tblCategoryID (ID, CategoryNumber) VALUES (%1, %2)")
                             .arg(id)
                             .arg(category));
        return id;
    }
    static std::string rowText(Recordset &rs)
    {
        return (rs.value("FirstName").toString() + "|" + rs.value("CategoryNumber").toString() + "|" +
                rs.value("Email_Address").toString())
            .toStdString();
    }

    TempDatabase mTemp;
};

constexpr const char *ByNameAndCategory = "Select * from qryContacts Order By LastName, CategoryNumber";

} // namespace

TEST_F(RepeatedKeyListTest, EveryRowShowsItsOwnLinkWalkingAndJumping)
{
    addContact("Carter", "Ann", {1, 2});
    addContact("Adams", "Bob", {3});
    auto rs = db().openRecordset(ByNameAndCategory);
    const std::vector<std::string> expected = {"Bob|3|", "Ann|1|", "Ann|2|"};

    std::vector<std::string> walked;
    for (; !rs->eof(); rs->moveNext())
        walked.push_back(rowText(*rs));
    EXPECT_EQ(walked, expected) << "reading as the query runs";

    EXPECT_EQ(rs->recordCount(), 3);
    std::vector<std::string> backward;
    for (rs->moveLast(); !rs->bof(); rs->movePrevious())
        backward.insert(backward.begin(), rowText(*rs));
    EXPECT_EQ(backward, expected) << "reading rows fetched by key";

    for (int ordinal : {2, 1, 0, 2}) {
        rs->setAbsolutePosition(ordinal);
        EXPECT_EQ(rowText(*rs), expected[ordinal]);
        EXPECT_EQ(rs->valueAt(ordinal, rs->fieldIndex("CategoryNumber")).toInt(),
                  expected[ordinal][expected[ordinal].find('|') + 1] - '0');
    }
}

TEST_F(RepeatedKeyListTest, ListWithoutOrderKeepsEachLinkOnce)
{
    addContact("Carter", "Ann", {1, 2, 3});
    auto rs = db().openRecordset("Select * from qryContacts");
    ASSERT_EQ(rs->recordCount(), 3);
    QList<int> categories;
    for (rs->moveLast(); !rs->bof(); rs->movePrevious())
        categories.append(rs->value("CategoryNumber").toInt());
    std::sort(categories.begin(), categories.end());
    EXPECT_EQ(categories, QList<int>({1, 2, 3}));
}

TEST_F(RepeatedKeyListTest, BookmarksAndFindsLandOnTheRightLink)
{
    addContact("Carter", "Ann", {1, 2});
    addContact("Adams", "Bob", {1, 3});
    auto rs = db().openRecordset(ByNameAndCategory);
    // Bob|1, Bob|3, Ann|1, Ann|2
    rs->findFirst("CategoryNumber = 2");
    ASSERT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->absolutePosition(), 3);
    EXPECT_EQ(rowText(*rs), "Ann|2|");
    const Bookmark annTwo = rs->bookmark();

    rs->findFirst("CategoryNumber = 3");
    EXPECT_EQ(rs->absolutePosition(), 1);
    EXPECT_EQ(rowText(*rs), "Bob|3|");

    rs->findLast("CategoryNumber = 1");
    EXPECT_EQ(rs->absolutePosition(), 2);
    EXPECT_EQ(rowText(*rs), "Ann|1|");
    rs->findPrevious("CategoryNumber = 1");
    EXPECT_EQ(rs->absolutePosition(), 0);
    rs->findNext("CategoryNumber = 1");
    EXPECT_EQ(rs->absolutePosition(), 2);
    rs->findNext("CategoryNumber = 1");
    EXPECT_TRUE(rs->noMatch());
    EXPECT_EQ(rs->absolutePosition(), 2) << "no match keeps the place";

    rs->findFirst("FirstName = 'Ann' And CategoryNumber > 1");
    EXPECT_EQ(rs->absolutePosition(), 3);

    rs->moveFirst();
    rs->setBookmark(annTwo);
    EXPECT_EQ(rs->absolutePosition(), 3);
    EXPECT_EQ(rowText(*rs), "Ann|2|");
}

TEST_F(RepeatedKeyListTest, EditThroughOneLinkWritesTheContactAndShowsInEveryRow)
{
    const qint64 ann = addContact("Carter", "Ann", {1, 2});
    addContact("Adams", "Bob", {3});
    auto rs = db().openRecordset(ByNameAndCategory);
    ASSERT_EQ(rs->recordCount(), 3);
    rs->setAbsolutePosition(2);
    ASSERT_EQ(rowText(*rs), "Ann|2|");
    rs->edit();
    rs->setValue("Email_Address", "ann@example.org");
    rs->update();
    EXPECT_EQ(rowText(*rs), "Ann|2|ann@example.org");
    rs->movePrevious();
    EXPECT_EQ(rowText(*rs), "Ann|1|ann@example.org") << "the other link of the same contact";
    rs->movePrevious();
    EXPECT_EQ(rowText(*rs), "Bob|3|");

    auto contact =
        db().openRecordset(QStringLiteral("Select * from tblContacts Where RecordID = %1").arg(ann));
    ASSERT_EQ(contact->recordCount(), 1);
    EXPECT_EQ(contact->value("Email_Address").toString(), "ann@example.org");
    EXPECT_EQ(db().openRecordset("Select * from tblContacts")->recordCount(), 2) << "no row was added";
}

TEST_F(RepeatedKeyListTest, LinksSplitAcrossFetchBlocksStayInPlace)
{
    // Three links each: blocks of rows read together end part-way through a contact.
    for (int i = 0; i < 70; ++i)
        addContact(QStringLiteral("Name%1").arg(i, 3, 10, QLatin1Char('0')), QString::number(i), {1, 2, 3});
    auto rs = db().openRecordset(ByNameAndCategory);
    ASSERT_EQ(rs->recordCount(), 210);
    const int category = rs->fieldIndex("CategoryNumber");
    const int first = rs->fieldIndex("FirstName");
    // From the end backwards, so every row is fetched rather than read as the query runs.
    for (int ordinal = 209; ordinal >= 0; --ordinal) {
        ASSERT_EQ(rs->valueAt(ordinal, category).toInt(), ordinal % 3 + 1) << "row " << ordinal;
        ASSERT_EQ(rs->valueAt(ordinal, first).toInt(), ordinal / 3) << "row " << ordinal;
    }
    rs->findFirst("FirstName = '21' And CategoryNumber = 2");
    EXPECT_EQ(rs->absolutePosition(), 64);
    rs->findLast("CategoryNumber = 1");
    EXPECT_EQ(rs->absolutePosition(), 207);
}
