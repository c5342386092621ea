#include "helpers/RecordSource.h"
#include "helpers/SortOrder.h"

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

#include <functional>
#include <vector>

namespace {

// Every test starts from the parts the main window load leaves.
class RecordSourceTest : public ::testing::Test {
  protected:
    void SetUp() override { gRecordSource.reset(); }

    // What the category window does when it shows category n.
    static QString showCategory(int n)
    {
        gRecordSource.gCategoryClause = QStringLiteral(" CategoryNumber = %1 ").arg(n);
        gRecordSource.gFilterClause.clear();
        gRecordSource.gWhereClause = QStringLiteral(" Where ") + gRecordSource.gCategoryClause;
        gRecordSource.gListSource = CategoryQuery;
        return joinRecordSource(gRecordSource, false);
    }

    // The category window's Show ALL.
    static QString categoryShowAll()
    {
        gRecordSource.gWhereClause.clear();
        gRecordSource.gFilterClause.clear();
        gRecordSource.gCategoryClause.clear();
        gRecordSource.gListSource = ContactsTable;
        return joinRecordSource(gRecordSource, false);
    }

    // The filter window applying criteria (kept with a category in force).
    static QString applyFilter(const QString &criteria)
    {
        gRecordSource.gFilterClause = QStringLiteral(" (") + criteria + QStringLiteral(") ");
        gRecordSource.gWhereClause = QStringLiteral(" Where ") + gRecordSource.gFilterClause;
        if (!gRecordSource.gCategoryClause.isEmpty()) {
            gRecordSource.gWhereClause += QStringLiteral(" And ") + gRecordSource.gCategoryClause;
        }
        return joinRecordSource(gRecordSource, false, QStringLiteral("Select distinctrow * from  "));
    }

    // The filter window's Show All: the category stays when there is one.
    static QString filterShowAll()
    {
        gRecordSource.gFilterClause.clear();
        gRecordSource.gWhereClause = gRecordSource.gCategoryClause.isEmpty()
                                         ? QString()
                                         : QStringLiteral(" Where ") + gRecordSource.gCategoryClause;
        return joinRecordSource(gRecordSource, false);
    }

    // The find over all fields.
    static QString find(const QString &conditions)
    {
        gRecordSource.gListSource = ContactsTable;
        gRecordSource.gWhereClause = QStringLiteral(" Where ") + conditions;
        gRecordSource.gSelectedClause.clear();
        gRecordSource.gFilterClause.clear();
        gRecordSource.gCategoryClause.clear();
        return joinRecordSource(gRecordSource, false, QStringLiteral("Select DISTINCTROW * from  "));
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
    EXPECT_EQ(storeParts(showAllRecordSource(gRecordSource)),
              "Select * from  tblContacts Order By LastName, FirstName ");
    EXPECT_EQ(gRecordSource.gListSource, "tblContacts");
    EXPECT_TRUE(gRecordSource.gSelectedClause.isEmpty());
}

TEST_F(RecordSourceTest, FirstListAtLoadHasOneBlankAndLastNameOnly)
{
    EXPECT_EQ(firstListRecordSource(gRecordSource), "Select * from tblContacts Order By LastName");
    ASSERT_TRUE(applyStartupCategory(" CategoryNumber = 4 "));
    EXPECT_EQ(firstListRecordSource(gRecordSource),
              "Select * from qryContacts Where CategoryNumber = 4  Order By LastName");
}

TEST_F(RecordSourceTest, SelectionViewsWithoutWherePart)
{
    EXPECT_EQ(storeParts(showSelectedOnlyRecordSource(gRecordSource)),
              "Select * from  tblContacts Where Selected = 'x'  Order By LastName, FirstName ");
    EXPECT_EQ(gRecordSource.gSelectedClause, " Where Selected = 'x' ");
    EXPECT_EQ(storeParts(hideSelectedRecordSource(gRecordSource)),
              "Select * from  tblContacts Where Selected < 'x'  Order By LastName, FirstName ");
    EXPECT_EQ(gRecordSource.gSelectedClause, " Where Selected < 'x' ");
    // Twice gives the same text: the clause is replaced, never appended.
    EXPECT_EQ(storeParts(hideSelectedRecordSource(gRecordSource)),
              "Select * from  tblContacts Where Selected < 'x'  Order By LastName, FirstName ");
}

TEST_F(RecordSourceTest, SelectionViewsExtendACategory)
{
    EXPECT_EQ(showCategory(3),
              "Select * from  qryContacts Where  CategoryNumber = 3  Order By LastName, FirstName ");
    EXPECT_EQ(storeParts(showSelectedOnlyRecordSource(gRecordSource)),
              "Select * from  qryContacts Where  CategoryNumber = 3  And Selected = "
              "'x'  Order By LastName, FirstName ");
    EXPECT_EQ(gRecordSource.gSelectedClause, " And Selected = 'x' ");
    EXPECT_EQ(storeParts(hideSelectedRecordSource(gRecordSource)),
              "Select * from  qryContacts Where  CategoryNumber = 3  And Selected < "
              "'x'  Order By LastName, FirstName ");
}

TEST_F(RecordSourceTest, RemoveSelectionsKeepsWherePartAndDropsSelection)
{
    showCategory(5);
    storeParts(hideSelectedRecordSource(gRecordSource));
    EXPECT_EQ(storeParts(removeSelectionsRecordSource(gRecordSource)),
              "Select * from  qryContacts Where  CategoryNumber = 5  Order By LastName, FirstName ");
    EXPECT_TRUE(gRecordSource.gSelectedClause.isEmpty());
    EXPECT_EQ(gRecordSource.gCategoryClause, " CategoryNumber = 5 ");
    EXPECT_EQ(ClearSelectionMarksSql, "Update tblContacts Set Selected=' ' Where Selected='x'");
}

TEST_F(RecordSourceTest, ShowAllDropsEveryPartButTheOrder)
{
    applySortChoice("Organization");
    showCategory(3);
    applyFilter("LastName = 'Baker'");
    storeParts(showSelectedOnlyRecordSource(gRecordSource));
    EXPECT_EQ(storeParts(showAllRecordSource(gRecordSource)),
              "Select * from  tblContacts Order By Organization, LastName, FirstName");
    EXPECT_TRUE(gRecordSource.gWhereClause.isEmpty());
    EXPECT_TRUE(gRecordSource.gFilterClause.isEmpty());
    EXPECT_TRUE(gRecordSource.gCategoryClause.isEmpty());
    EXPECT_TRUE(gRecordSource.gSelectedClause.isEmpty());
    EXPECT_EQ(gRecordSource.gOrderByClause, " Order By Organization, LastName, FirstName");
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
    storeParts(showSelectedOnlyRecordSource(gRecordSource));
    for (const Case &c : cases) {
        applySortChoice(c.choice);
        EXPECT_EQ(storeParts(sortedRecordSource(gRecordSource)), c.text) << c.choice.toStdString();
    }
    showCategory(3);
    applySortChoice("Phone1");
    EXPECT_EQ(storeParts(sortedRecordSource(gRecordSource)),
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
    storeParts(showSelectedOnlyRecordSource(gRecordSource));
    showCategory(3);
    applySortChoice("FirstName");
    const QString text = storeParts(sortedRecordSource(gRecordSource));
    EXPECT_EQ(text,
              "Select * from  qryContacts Where  CategoryNumber = 3  And Selected = 'x'  Order By FirstName");
    EXPECT_EQ(db.ids(text), std::vector<int>({1}));
}

TEST_F(RecordSourceTest, CategoryHideSelectedThenCategoryShowAllThenSortStaysValid)
{
    ContactsDb db;
    showCategory(3);
    storeParts(hideSelectedRecordSource(gRecordSource));
    categoryShowAll();
    applySortChoice("LastName");
    const QString text = storeParts(sortedRecordSource(gRecordSource));
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
        {"showSelected", [] { return storeParts(showSelectedOnlyRecordSource(gRecordSource)); }},
        {"hideSelected", [] { return storeParts(hideSelectedRecordSource(gRecordSource)); }},
        {"removeMarks", [] { return storeParts(removeSelectionsRecordSource(gRecordSource)); }},
        {"showAll", [] { return storeParts(showAllRecordSource(gRecordSource)); }},
        {"sortOrganization",
         [] {
             applySortChoice("Organization");
             return storeParts(sortedRecordSource(gRecordSource));
         }},
        {"sortDateUpdated",
         [] {
             applySortChoice("DateUpdated");
             return storeParts(sortedRecordSource(gRecordSource));
         }},
        {"count", [] { return recordCountQuery(gRecordSource); }},
    };
    // Every sequence of three commands, each text prepared on the database.
    const int n = int(commands.size());
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            for (int c = 0; c < n; ++c) {
                gRecordSource.reset();
                for (int step : {a, b, c}) {
                    const QString text = commands[step].second();
                    SCOPED_TRACE(std::string(commands[a].first) + " > " + commands[b].first + " > " +
                                 commands[c].first);
                    db.ids(text);
                    // The joined keyword always agrees with the where part in force, and so
                    // does the stored clause after a command that stores its parts (the
                    // count stores nothing).
                    const bool whereInForce = !gRecordSource.gWhereClause.trimmed().isEmpty();
                    if (text.contains("Selected")) {
                        EXPECT_EQ(text.contains(" And Selected"), whereInForce) << text.toStdString();
                        if (std::string(commands[step].first) != "count") {
                            EXPECT_EQ(gRecordSource.gSelectedClause.startsWith(" And "), whereInForce)
                                << text.toStdString();
                        }
                    }
                }
            }
        }
    }
}

TEST_F(RecordSourceTest, AWherePartWithoutConditionIsLeftOut)
{
    ContactsDb db;
    gRecordSource.gWhereClause = " Where ";
    const QString text = storeParts(showSelectedOnlyRecordSource(gRecordSource));
    EXPECT_EQ(text, "Select * from  tblContacts Where Selected = 'x'  Order By LastName, FirstName ");
    EXPECT_EQ(db.ids(text), std::vector<int>({3, 1}));
}

TEST_F(RecordSourceTest, RecordCountQueryRechoosesTheKeyword)
{
    ContactsDb db;
    EXPECT_EQ(recordCountQuery(gRecordSource), "Select Count(*) as RowCount from tblContacts ");
    storeParts(showSelectedOnlyRecordSource(gRecordSource));
    EXPECT_EQ(recordCountQuery(gRecordSource),
              "Select Count(*) as RowCount from tblContacts  Where Selected = 'x' ");
    showCategory(3); // keeps the old " Where Selected" clause
    const QString text = recordCountQuery(gRecordSource);
    EXPECT_EQ(text,
              "Select Count(*) as RowCount from qryContacts  Where  CategoryNumber = 3  And Selected = 'x' ");
    EXPECT_EQ(db.ids(text), std::vector<int>({1}));
    // Counting stores nothing; the parts a command stores carry the fitting keyword.
    EXPECT_EQ(gRecordSource.gSelectedClause, " Where Selected = 'x' ");
    EXPECT_EQ(withSelectionKeyword(gRecordSource).gSelectedClause, " And Selected = 'x' ");
}

TEST_F(RecordSourceTest, ViewsSelectTheRightContacts)
{
    ContactsDb db;
    EXPECT_EQ(db.ids(storeParts(showAllRecordSource(gRecordSource))), std::vector<int>({3, 1, 2, 4}));
    EXPECT_EQ(db.ids(storeParts(showSelectedOnlyRecordSource(gRecordSource))), std::vector<int>({3, 1}));
    EXPECT_EQ(db.ids(storeParts(hideSelectedRecordSource(gRecordSource))), std::vector<int>({2}));
    applySortChoice("DateUpdated");
    EXPECT_EQ(db.ids(storeParts(sortedRecordSource(gRecordSource))), std::vector<int>({2}));
    EXPECT_EQ(db.ids(storeParts(removeSelectionsRecordSource(gRecordSource))),
              std::vector<int>({2, 1, 3, 4}));
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
    storeParts(showSelectedOnlyRecordSource(gRecordSource));
    applySortChoice("FirstName");
    resetRecordSourceParts();
    EXPECT_EQ(firstListRecordSource(gRecordSource), "Select * from tblContacts Order By LastName");
    EXPECT_EQ(storeParts(sortedRecordSource(gRecordSource)), "Select * from  tblContacts Order By FirstName");
    EXPECT_EQ(gRecordSource.gListSource, "tblContacts");
    EXPECT_TRUE(gRecordSource.gWhereClause.isEmpty() && gRecordSource.gSelectedClause.isEmpty() &&
                gRecordSource.gFilterClause.isEmpty() && gRecordSource.gCategoryClause.isEmpty());
}

TEST_F(RecordSourceTest, StartupCategoryCondition)
{
    EXPECT_FALSE(applyStartupCategory("  "));
    EXPECT_EQ(gRecordSource.gListSource, "tblContacts");
    ASSERT_TRUE(applyStartupCategory("CategoryNumber = 7 "));
    EXPECT_EQ(gRecordSource.gWhereClause, " Where CategoryNumber = 7 ");
    EXPECT_EQ(gRecordSource.gCategoryClause, "CategoryNumber = 7 ");
    EXPECT_EQ(gRecordSource.gListSource, "qryContacts");
}

TEST(FindResultCaption, First18CharactersDecide)
{
    EXPECT_TRUE(isFindResultCaption("Records containing [smith]"));
    EXPECT_TRUE(isFindResultCaption("Records containing"));
    EXPECT_FALSE(isFindResultCaption("records containing x"));
    EXPECT_FALSE(isFindResultCaption("Family"));
    EXPECT_FALSE(isFindResultCaption(""));
}

// The list commands only compute: the parts in force stay as they were until the
// caller stores the change, and what is stored is what the change carries.
TEST_F(RecordSourceTest, ListCommandsLeaveThePartsInForceUntilStored)
{
    using Command = std::function<RecordSourceChange(const RecordSourceState &)>;
    const std::vector<std::pair<const char *, Command>> commands = {
        {"showAll", showAllRecordSource},
        {"showSelected", showSelectedOnlyRecordSource},
        {"hideSelected", hideSelectedRecordSource},
        {"removeMarks", removeSelectionsRecordSource},
        {"sorted", sortedRecordSource},
    };
    for (const auto &[name, command] : commands) {
        SCOPED_TRACE(name);
        gRecordSource.reset();
        showCategory(4);
        applyFilter("LastName = 'Baker'");
        gRecordSource.gSelectedClause = QStringLiteral(" Where Selected < 'x' ");
        const RecordSourceState before = gRecordSource;

        const RecordSourceChange change = command(gRecordSource);
        EXPECT_EQ(gRecordSource, before);
        EXPECT_EQ(storeParts(change), change.recordSource);
        EXPECT_EQ(gRecordSource, change.parts);
    }
}

// Computing from parts other than the stored ones: the result depends only on them.
TEST_F(RecordSourceTest, ListCommandsComputeFromThePartsGiven)
{
    RecordSourceState parts;
    parts.gListSource = CategoryQuery;
    parts.gCategoryClause = QStringLiteral(" CategoryNumber = 2 ");
    parts.gWhereClause = QStringLiteral(" Where ") + parts.gCategoryClause;
    parts.gOrderByClause = QStringLiteral(" Order By FirstName");
    gRecordSource.gListSource = QStringLiteral("tblSomethingElse");

    const RecordSourceChange selected = showSelectedOnlyRecordSource(parts);
    EXPECT_EQ(selected.recordSource,
              "Select * from  qryContacts Where  CategoryNumber = 2  And Selected = 'x'  Order By FirstName");
    EXPECT_EQ(selected.parts.gSelectedClause, " And Selected = 'x' ");
    EXPECT_EQ(recordCountQuery(parts),
              "Select Count(*) as RowCount from qryContacts  Where  CategoryNumber = 2 ");
    EXPECT_EQ(firstListRecordSource(parts),
              "Select * from qryContacts Where  CategoryNumber = 2  Order By LastName");
    EXPECT_EQ(gRecordSource.gListSource, "tblSomethingElse");
}

TEST_F(RecordSourceTest, ResetPutsBackEveryStartValue)
{
    showCategory(5);
    applyFilter("Organization = 'Acme'");
    storeParts(hideSelectedRecordSource(gRecordSource));
    applySortChoice("Date2");
    ASSERT_TRUE(gRecordSource.gSortedByDate);

    gRecordSource.reset();
    EXPECT_EQ(gRecordSource, RecordSourceState());
    EXPECT_EQ(storeParts(sortedRecordSource(gRecordSource)),
              "Select * from  tblContacts Order By LastName, FirstName ");
    EXPECT_FALSE(gRecordSource.gSortedByDate);
}
