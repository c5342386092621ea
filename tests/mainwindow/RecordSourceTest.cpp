#include "mainwindow/RecordSource.h"
#include "mainwindow/SortOrder.h"

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

#include <functional>
#include <vector>

namespace {

// Every test starts from the parts the main window load leaves.
class RecordSourceTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        resetRecordSourceParts();
        gOrderByClause = DefaultOrderByClause;
    }

    // What the category window does when it shows category n.
    static QString showCategory(int n)
    {
        gCategoryClause = QStringLiteral(" CategoryNumber = %1 ").arg(n);
        gFilterClause.clear();
        gWhereClause = QStringLiteral(" Where ") + gCategoryClause;
        gListSource = CategoryQuery;
        return joinRecordSource(false);
    }

    // The category window's Show ALL.
    static QString categoryShowAll()
    {
        gWhereClause.clear();
        gFilterClause.clear();
        gCategoryClause.clear();
        gListSource = ContactsTable;
        return joinRecordSource(false);
    }

    // The filter window applying criteria (kept with a category in force).
    static QString applyFilter(const QString &criteria)
    {
        gFilterClause = QStringLiteral(" (") + criteria + QStringLiteral(") ");
        gWhereClause = QStringLiteral(" Where ") + gFilterClause;
        if (!gCategoryClause.isEmpty()) {
            gWhereClause += QStringLiteral(" And ") + gCategoryClause;
        }
        return joinRecordSource(false, QStringLiteral("Select distinctrow * from  "));
    }

    // The filter window's Show All: the category stays when there is one.
    static QString filterShowAll()
    {
        gFilterClause.clear();
        gWhereClause = gCategoryClause.isEmpty() ? QString() : QStringLiteral(" Where ") + gCategoryClause;
        return joinRecordSource(false);
    }

    // The find over all fields.
    static QString find(const QString &conditions)
    {
        gListSource = ContactsTable;
        gWhereClause = QStringLiteral(" Where ") + conditions;
        gSelectedClause.clear();
        gFilterClause.clear();
        gCategoryClause.clear();
        return joinRecordSource(false, QStringLiteral("Select DISTINCTROW * from  "));
    }
};

// A small contacts database in memory, to prove that a joined text is one valid
// statement and selects what the view promises. The Jet-only head of the filter and
// find texts is the translator's business; the texts here are otherwise plain SQL.
class ContactsDb {
  public:
    ContactsDb()
    {
        sqlite3_open(":memory:", &mDb);
        exec("CREATE TABLE tblContacts (RecordID INTEGER PRIMARY KEY, FirstName TEXT, LastName TEXT, "
             "Organization TEXT, Phone1 TEXT, Date2 TEXT, DateUpdated TEXT, Selected TEXT)");
        exec("CREATE TABLE tblCategoryID (ID INTEGER, CategoryNumber INTEGER)");
        exec("CREATE VIEW qryContacts AS SELECT tblContacts.*, tblCategoryID.CategoryNumber FROM tblContacts "
             "JOIN tblCategoryID ON tblCategoryID.ID = tblContacts.RecordID");
        exec("INSERT INTO tblContacts VALUES (1, 'Ann', 'Baker', 'Acme', '555', '2020-01-02', '2024-05-01', "
             "'x')");
        exec("INSERT INTO tblContacts VALUES (2, 'Bob', 'Baker', 'Zeta', '556', NULL, '2024-06-01', ' ')");
        exec("INSERT INTO tblContacts VALUES (3, 'Cy', 'Adams', 'Acme', '557', NULL, '2023-01-01', 'x')");
        exec("INSERT INTO tblContacts VALUES (4, 'Di', 'Cole', NULL, NULL, NULL, NULL, NULL)");
        exec("INSERT INTO tblCategoryID VALUES (1, 3), (2, 3), (4, 5)");
    }
    ~ContactsDb() { sqlite3_close(mDb); }

    // The RecordIDs a text selects, in its order; fails the test when the text is
    // not exactly one valid statement.
    std::vector<int> ids(const QString &text)
    {
        std::vector<int> result;
        const QByteArray sql = text.toUtf8().replace("distinctrow", "").replace("DISTINCTROW", "");
        sqlite3_stmt *stmt = nullptr;
        const char *tail = nullptr;
        const int rc = sqlite3_prepare_v2(mDb, sql.constData(), int(sql.size()), &stmt, &tail);
        EXPECT_EQ(rc, SQLITE_OK) << sql.constData() << ": " << sqlite3_errmsg(mDb);
        if (rc != SQLITE_OK) {
            return result;
        }
        EXPECT_STREQ(tail, "") << "more than one statement: " << sql.constData();
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            result.push_back(sqlite3_column_int(stmt, 0));
        }
        sqlite3_finalize(stmt);
        return result;
    }

  private:
    void exec(const char *sql)
    {
        ASSERT_EQ(sqlite3_exec(mDb, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    }
    sqlite3 *mDb = nullptr;
};

} // namespace

TEST_F(RecordSourceTest, ShowAllWithNothingInForce)
{
    EXPECT_EQ(showAllRecordSource(), "Select * from  tblContacts Order By LastName, FirstName ");
    EXPECT_EQ(gListSource, "tblContacts");
    EXPECT_TRUE(gSelectedClause.isEmpty());
}

TEST_F(RecordSourceTest, FirstListAtLoadHasOneBlankAndLastNameOnly)
{
    EXPECT_EQ(firstListRecordSource(), "Select * from tblContacts Order By LastName");
    ASSERT_TRUE(applyStartupCategory(" CategoryNumber = 4 "));
    EXPECT_EQ(firstListRecordSource(),
              "Select * from qryContacts Where CategoryNumber = 4  Order By LastName");
}

TEST_F(RecordSourceTest, SelectionViewsWithoutWherePart)
{
    EXPECT_EQ(showSelectedOnlyRecordSource(),
              "Select * from  tblContacts Where Selected = 'x'  Order By LastName, FirstName ");
    EXPECT_EQ(gSelectedClause, " Where Selected = 'x' ");
    EXPECT_EQ(hideSelectedRecordSource(),
              "Select * from  tblContacts Where Selected < 'x'  Order By LastName, FirstName ");
    EXPECT_EQ(gSelectedClause, " Where Selected < 'x' ");
    // Twice gives the same text: the clause is replaced, never appended.
    EXPECT_EQ(hideSelectedRecordSource(),
              "Select * from  tblContacts Where Selected < 'x'  Order By LastName, FirstName ");
}

TEST_F(RecordSourceTest, SelectionViewsExtendACategory)
{
    EXPECT_EQ(showCategory(3),
              "Select * from  qryContacts Where  CategoryNumber = 3  Order By LastName, FirstName ");
    EXPECT_EQ(showSelectedOnlyRecordSource(),
              "Select * from  qryContacts Where  CategoryNumber = 3  And Selected = "
              "'x'  Order By LastName, FirstName ");
    EXPECT_EQ(gSelectedClause, " And Selected = 'x' ");
    EXPECT_EQ(hideSelectedRecordSource(),
              "Select * from  qryContacts Where  CategoryNumber = 3  And Selected < "
              "'x'  Order By LastName, FirstName ");
}

TEST_F(RecordSourceTest, RemoveSelectionsKeepsWherePartAndDropsSelection)
{
    showCategory(5);
    hideSelectedRecordSource();
    EXPECT_EQ(removeSelectionsRecordSource(),
              "Select * from  qryContacts Where  CategoryNumber = 5  Order By LastName, FirstName ");
    EXPECT_TRUE(gSelectedClause.isEmpty());
    EXPECT_EQ(gCategoryClause, " CategoryNumber = 5 ");
    EXPECT_EQ(ClearSelectionMarksSql, "Update tblContacts Set Selected=' ' Where Selected='x'");
}

TEST_F(RecordSourceTest, ShowAllDropsEveryPartButTheOrder)
{
    applySortChoice("Organization");
    showCategory(3);
    applyFilter("LastName = 'Baker'");
    showSelectedOnlyRecordSource();
    EXPECT_EQ(showAllRecordSource(), "Select * from  tblContacts Order By Organization, LastName, FirstName");
    EXPECT_TRUE(gWhereClause.isEmpty());
    EXPECT_TRUE(gFilterClause.isEmpty());
    EXPECT_TRUE(gCategoryClause.isEmpty());
    EXPECT_TRUE(gSelectedClause.isEmpty());
    EXPECT_EQ(gOrderByClause, " Order By Organization, LastName, FirstName");
}

TEST_F(RecordSourceTest, SortKeepsViewAndSelectionForEveryChoice)
{
    struct Case {
        QString choice;
        QString text;
    };
    const std::vector<Case> cases = {
        {"", "Select * from  tblContacts Where Selected = 'x'  Order By LastName, FirstName "},
        {"LastName", "Select * from  tblContacts Where Selected = 'x'  Order By LastName, FirstName "},
        {"Organization",
         "Select * from  tblContacts Where Selected = 'x'  Order By Organization, LastName, FirstName"},
        {"FirstName", "Select * from  tblContacts Where Selected = 'x'  Order By FirstName"},
        {"DateUpdated", "Select * from  tblContacts Where Selected = 'x'  Order By DateUpdated DESC"},
        {"Date2", "Select * from  tblContacts Where Selected = 'x'  Order By Date2"},
        {"Phone1", "Select * from  tblContacts Where Selected = 'x'  Order By Phone1"},
    };
    showSelectedOnlyRecordSource();
    for (const Case &c : cases) {
        applySortChoice(c.choice);
        EXPECT_EQ(sortedRecordSource(), c.text) << c.choice.toStdString();
    }
    showCategory(3);
    applySortChoice("Phone1");
    EXPECT_EQ(sortedRecordSource(),
              "Select * from  qryContacts Where  CategoryNumber = 3  And Selected = 'x'  Order By Phone1");
}

TEST_F(RecordSourceTest, FilterAndFindTextsKeepTheirHeads)
{
    showCategory(3);
    EXPECT_EQ(applyFilter("Organization = 'Acme'"),
              "Select distinctrow * from  qryContacts Where  (Organization = "
              "'Acme')  And  CategoryNumber = 3  Order By LastName, FirstName ");
    EXPECT_EQ(
        find("LastName Like '%a%'"),
        "Select DISTINCTROW * from  tblContacts Where LastName Like '%a%' Order By LastName, FirstName ");
}

// The selection keyword follows the where part in front of it at join time, in
// every order of commands, and the texts select what the view promises.
TEST_F(RecordSourceTest, SelectionThenCategoryThenSortStaysValid)
{
    ContactsDb db;
    showSelectedOnlyRecordSource();
    showCategory(3);
    applySortChoice("FirstName");
    const QString text = sortedRecordSource();
    EXPECT_EQ(text,
              "Select * from  qryContacts Where  CategoryNumber = 3  And Selected = 'x'  Order By FirstName");
    EXPECT_EQ(db.ids(text), std::vector<int>({1}));
}

TEST_F(RecordSourceTest, CategoryHideSelectedThenCategoryShowAllThenSortStaysValid)
{
    ContactsDb db;
    showCategory(3);
    hideSelectedRecordSource();
    categoryShowAll();
    applySortChoice("LastName");
    const QString text = sortedRecordSource();
    EXPECT_EQ(text, "Select * from  tblContacts Where Selected < 'x'  Order By LastName, FirstName ");
    EXPECT_EQ(db.ids(text), std::vector<int>({2})); // a Null mark is neither selected nor unselected
}

TEST_F(RecordSourceTest, EveryOrderOfCommandsJoinsValidSql)
{
    ContactsDb db;
    using Command = std::function<QString()>;
    const std::vector<std::pair<const char *, Command>> commands = {
        {"category3", [] { return showCategory(3); }},
        {"category5", [] { return showCategory(5); }},
        {"categoryShowAll", [] { return categoryShowAll(); }},
        {"filter", [] { return applyFilter("Organization = 'Acme' Or Organization Is Null"); }},
        {"filterShowAll", [] { return filterShowAll(); }},
        {"find", [] { return find("LastName Like '%a%'"); }},
        {"showSelected", [] { return showSelectedOnlyRecordSource(); }},
        {"hideSelected", [] { return hideSelectedRecordSource(); }},
        {"removeMarks", [] { return removeSelectionsRecordSource(); }},
        {"showAll", [] { return showAllRecordSource(); }},
        {"sortOrganization",
         [] {
             applySortChoice("Organization");
             return sortedRecordSource();
         }},
        {"sortDateUpdated",
         [] {
             applySortChoice("DateUpdated");
             return sortedRecordSource();
         }},
        {"count", [] { return recordCountQuery(); }},
    };
    // Every sequence of three commands, each text prepared on the database.
    const int n = int(commands.size());
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            for (int c = 0; c < n; ++c) {
                resetRecordSourceParts();
                gOrderByClause = DefaultOrderByClause;
                for (int step : {a, b, c}) {
                    const QString text = commands[step].second();
                    SCOPED_TRACE(std::string(commands[a].first) + " > " + commands[b].first + " > " +
                                 commands[c].first);
                    db.ids(text);
                    // The stored clause always agrees with the where part in force.
                    const bool whereInForce = !gWhereClause.trimmed().isEmpty();
                    if (!gSelectedClause.isEmpty() && text.contains("Selected")) {
                        EXPECT_EQ(gSelectedClause.startsWith(" And "), whereInForce) << text.toStdString();
                    }
                }
            }
        }
    }
}

TEST_F(RecordSourceTest, AWherePartWithoutConditionIsLeftOut)
{
    ContactsDb db;
    gWhereClause = " Where ";
    const QString text = showSelectedOnlyRecordSource();
    EXPECT_EQ(text, "Select * from  tblContacts Where Selected = 'x'  Order By LastName, FirstName ");
    EXPECT_EQ(db.ids(text), std::vector<int>({3, 1}));
}

TEST_F(RecordSourceTest, RecordCountQueryRechoosesTheKeyword)
{
    ContactsDb db;
    EXPECT_EQ(recordCountQuery(), "Select Count(*) as RowCount from tblContacts ");
    showSelectedOnlyRecordSource();
    EXPECT_EQ(recordCountQuery(), "Select Count(*) as RowCount from tblContacts  Where Selected = 'x' ");
    showCategory(3); // keeps the old " Where Selected" clause
    const QString text = recordCountQuery();
    EXPECT_EQ(text,
              "Select Count(*) as RowCount from qryContacts  Where  CategoryNumber = 3  And Selected = 'x' ");
    EXPECT_EQ(gSelectedClause, " And Selected = 'x' ");
    EXPECT_EQ(db.ids(text), std::vector<int>({1}));
}

TEST_F(RecordSourceTest, ViewsSelectTheRightContacts)
{
    ContactsDb db;
    EXPECT_EQ(db.ids(showAllRecordSource()), std::vector<int>({3, 1, 2, 4}));
    EXPECT_EQ(db.ids(showSelectedOnlyRecordSource()), std::vector<int>({3, 1}));
    EXPECT_EQ(db.ids(hideSelectedRecordSource()), std::vector<int>({2}));
    applySortChoice("DateUpdated");
    EXPECT_EQ(db.ids(sortedRecordSource()), std::vector<int>({2}));
    EXPECT_EQ(db.ids(removeSelectionsRecordSource()), std::vector<int>({2, 1, 3, 4}));
}

TEST(RecordCountMessage, NoneOneAndMany)
{
    EXPECT_EQ(recordCountMessage(false, 0), "There are no records displayed in the current list.");
    EXPECT_EQ(recordCountMessage(false, 12), "There are no records displayed in the current list.");
    EXPECT_EQ(recordCountMessage(true, 1), "There is 1 record displayed in the current list.");
    EXPECT_EQ(recordCountMessage(true, 57), "There are 57 records displayed in the current list.");
    EXPECT_EQ(recordCountMessage(true, 100000), "There are 100000 records displayed in the current list.");
    EXPECT_EQ(RecordCountTitle, "Record Count");
}

TEST_F(RecordSourceTest, ResetAfterReentryStartsClean)
{
    showCategory(3);
    applyFilter("LastName = 'Baker'");
    showSelectedOnlyRecordSource();
    applySortChoice("FirstName");
    resetRecordSourceParts();
    EXPECT_EQ(firstListRecordSource(), "Select * from tblContacts Order By LastName");
    EXPECT_EQ(sortedRecordSource(), "Select * from  tblContacts Order By FirstName");
    EXPECT_EQ(gListSource, "tblContacts");
    EXPECT_TRUE(gWhereClause.isEmpty() && gSelectedClause.isEmpty() && gFilterClause.isEmpty() &&
                gCategoryClause.isEmpty());
}

TEST_F(RecordSourceTest, StartupCategoryCondition)
{
    EXPECT_FALSE(applyStartupCategory("  "));
    EXPECT_EQ(gListSource, "tblContacts");
    ASSERT_TRUE(applyStartupCategory("CategoryNumber = 7 "));
    EXPECT_EQ(gWhereClause, " Where CategoryNumber = 7 ");
    EXPECT_EQ(gCategoryClause, "CategoryNumber = 7 ");
    EXPECT_EQ(gListSource, "qryContacts");
}

TEST(FindResultCaption, First18CharactersDecide)
{
    EXPECT_TRUE(isFindResultCaption("Records containing [smith]"));
    EXPECT_TRUE(isFindResultCaption("Records containing"));
    EXPECT_FALSE(isFindResultCaption("records containing x"));
    EXPECT_FALSE(isFindResultCaption("Family"));
    EXPECT_FALSE(isFindResultCaption(""));
}
