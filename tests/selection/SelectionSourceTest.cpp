#include "SelectionFixture.h"

#include "selection/SelectionSource.h"

namespace {

class SelectionSourceTest : public SelectionFixture {
  protected:
    void SetUp() override { w = &startWithContacts(); }
    // Runs a record source as the main list does and gives its last names.
    QStringList run(const QString &source)
    {
        Data1(*w)->setRecordSource(source);
        Data1(*w)->refresh();
        return shownNames(*w);
    }
    NameList *w = nullptr;
};

TEST_F(SelectionSourceTest, CategoryAndShowAllTextsAreExactAndRun)
{
    EXPECT_EQ(storeParts(categoryRecordSource(gRecordSource, 2)),
              "Select * from  qryContacts Where  CategoryNumber = 2  Order By LastName, FirstName ");
    EXPECT_EQ(gRecordSource.gListSource, "qryContacts");
    EXPECT_EQ(gRecordSource.gCategoryClause, " CategoryNumber = 2 ");
    EXPECT_EQ(run(storeParts(categoryRecordSource(gRecordSource, 2))), QStringList({"Byron", "Turing"}));
    EXPECT_EQ(storeParts(allCategoriesRecordSource(gRecordSource)),
              "Select * from  tblContacts Order By LastName, FirstName ");
    EXPECT_TRUE(gRecordSource.gWhereClause.isEmpty());
    EXPECT_EQ(run(storeParts(allCategoriesRecordSource(gRecordSource))).size(), 5);
}

TEST_F(SelectionSourceTest, FilterTextsWithAndWithoutCategoryAndTail)
{
    struct Case {
        qint64 category; // 0: none shown
        QString box;
        QString source;
        QStringList names;
    };
    const QList<Case> cases = {
        {0, "LastName Like \"*o*\"",
         "Select distinctrow * from  tblContacts Where  (LastName Like \"*o*\")  Order By LastName, FirstName ",
         {"Byron", "Hopper", "Jones", "O'Brien"}},
        {0, "  LastName Like \"*o*\" order by FirstName desc  ",
         "Select distinctrow * from  tblContacts Where  (LastName Like \"*o*\")  order by FirstName desc",
         {"O'Brien", "Jones", "Hopper", "Byron"}},
        {2, "Organization Is Null",
         "Select distinctrow * from  qryContacts Where  (Organization Is Null)  And  CategoryNumber = 2  "
         "Order By LastName, FirstName ",
         {"Turing"}},
        {2, "FirstName Like \"A*\" ORDER BY FirstName",
         "Select distinctrow * from  qryContacts Where  (FirstName Like \"A*\")  And  CategoryNumber = 2  ORDER BY "
         "FirstName",
         {"Byron", "Turing"}},
    };
    for (const Case &c : cases) {
        if (c.category)
            storeParts(categoryRecordSource(gRecordSource, c.category));
        else
            storeParts(allCategoriesRecordSource(gRecordSource));
        const QString source = storeParts(filterRecordSource(gRecordSource, c.box));
        EXPECT_EQ(source, c.source) << c.box.toStdString();
        EXPECT_EQ(gRecordSource.gOrderByClause, DefaultOrderByClause) << "a typed tail is for one query only";
        EXPECT_EQ(run(source), c.names) << c.box.toStdString();
    }
    storeParts(categoryRecordSource(gRecordSource, 3));
    storeParts(filterRecordSource(gRecordSource, "LastName = 'x'"));
    EXPECT_EQ(storeParts(filterShowAllRecordSource(gRecordSource)),
              "Select * from  qryContacts Where  CategoryNumber = 3  Order By "
              "LastName, FirstName ");
    EXPECT_TRUE(gRecordSource.gFilterClause.isEmpty());
}

TEST_F(SelectionSourceTest, FindConditionSkipsFieldsAndSearchesDatesOnlyForADate)
{
    const QStringList fields{"Prefix",      "FirstName", "First_Address_Desc", "AddressForLabels", "Selected",
                             "PrintNotes",  "Date1",     "DateUpdated",        "Phone1_Desc",      "Notes",
                             "CategoryNumber"};
    EXPECT_EQ(findCondition(fields, "ab"),
              " (Prefix Like '*ab*' OR FirstName Like '*ab*' OR Notes Like '*ab*' )");
    EXPECT_EQ(findCondition(fields, "12/9/1906"),
              " (Prefix Like '*12/9/1906*' OR FirstName Like '*12/9/1906*' OR Date1=#12/9/1906# OR "
              "DateUpdated=#12/9/1906# OR Notes Like '*12/9/1906*' )");
    // The text's own blanks stay inside the patterns; a quote is quoted.
    EXPECT_EQ(findCondition({"Notes"}, " a\"b's "), " (Notes Like '* a\"b''s *' )");
    EXPECT_EQ(
        storeParts(findRecordSource(gRecordSource, findCondition({"Notes"}, "x"))),
        "Select DISTINCTROW * from  tblContacts Where  (Notes Like '*x*' ) Order By LastName, FirstName ");
}

TEST_F(SelectionSourceTest, FindConditionsRunOverEveryFieldOfTheTable)
{
    QStringList fields;
    for (int i = 1; i < shown(*w).fieldCount(); ++i)
        fields << shown(*w).fieldInfo(i).name;
    struct Case {
        QString text;
        QStringList names;
    };
    const QList<Case> cases = {
        {"ENGINE", {"Byron"}},        {"\"and\"", {"Turing"}},     {"100%", {"O'Brien"}},
        {"home_", {"Jones"}},         {"o'b", {"O'Brien"}},        {"12/9/1906", {"Hopper"}},
        {"Home", {"Jones"}},          {"W?lmslow", {"Turing"}},    {"nowhere", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(run(storeParts(findRecordSource(gRecordSource, findCondition(fields, c.text)))), c.names)
            << c.text.toStdString();
}

} // namespace

// Each command computes from the parts it is given (a category shown, a selection view
// and a sort order in force here) and leaves the stored parts alone.
TEST(SelectionSourceParts, CommandsComputeFromThePartsGivenAndStoreNothing)
{
    RecordSourceState parts;
    parts.gListSource = CategoryQuery;
    parts.gCategoryClause = categoryCondition(3);
    parts.gWhereClause = " Where " + parts.gCategoryClause;
    parts.gSelectedClause = " And Selected = 'x' ";
    parts.gOrderByClause = " Order By FirstName";
    gRecordSource.reset();

    struct Case {
        const char *name;
        RecordSourceChange change;
        QString text, where, category, selected;
    };
    const Case cases[] = {
        {"category", categoryRecordSource(parts, 1),
         "Select * from  qryContacts Where  CategoryNumber = 1  Order By FirstName",
         " Where  CategoryNumber = 1 ", " CategoryNumber = 1 ", ""},
        {"all categories", allCategoriesRecordSource(parts), "Select * from  tblContacts Order By FirstName",
         "", "", ""},
        {"filter", filterRecordSource(parts, "LastName = 'x'"),
         "Select distinctrow * from  qryContacts Where  (LastName = 'x')  And  CategoryNumber = 3  Order By "
         "FirstName",
         " Where  (LastName = 'x')  And  CategoryNumber = 3 ", " CategoryNumber = 3 ",
         " And Selected = 'x' "},
        {"filter show all", filterShowAllRecordSource(parts),
         "Select * from  qryContacts Where  CategoryNumber = 3  Order By FirstName",
         " Where  CategoryNumber = 3 ", " CategoryNumber = 3 ", ""},
        {"find", findRecordSource(parts, " (Notes Like '*x*')"),
         "Select DISTINCTROW * from  tblContacts Where  (Notes Like '*x*') Order By FirstName",
         " Where  (Notes Like '*x*')", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.change.recordSource, c.text);
        EXPECT_EQ(c.change.parts.gWhereClause, c.where);
        EXPECT_EQ(c.change.parts.gCategoryClause, c.category);
        EXPECT_EQ(c.change.parts.gSelectedClause, c.selected);
        EXPECT_EQ(c.change.parts.gOrderByClause, parts.gOrderByClause);
    }
    EXPECT_EQ(gRecordSource, RecordSourceState());
}
