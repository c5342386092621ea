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
    EXPECT_EQ(categoryRecordSource(2),
              "Select * from  qryContacts Where  CategoryNumber = 2  Order By LastName, FirstName ");
    EXPECT_EQ(gListSource, "qryContacts");
    EXPECT_EQ(gCategoryClause, " CategoryNumber = 2 ");
    EXPECT_EQ(run(categoryRecordSource(2)), QStringList({"Byron", "Turing"}));
    EXPECT_EQ(allCategoriesRecordSource(), "Select * from  tblContacts Order By LastName, FirstName ");
    EXPECT_TRUE(gWhereClause.isEmpty());
    EXPECT_EQ(run(allCategoriesRecordSource()).size(), 5);
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
            categoryRecordSource(c.category);
        else
            allCategoriesRecordSource();
        const QString source = filterRecordSource(c.box);
        EXPECT_EQ(source, c.source) << c.box.toStdString();
        EXPECT_EQ(gOrderByClause, DefaultOrderByClause) << "a typed tail is for one query only";
        EXPECT_EQ(run(source), c.names) << c.box.toStdString();
    }
    categoryRecordSource(3);
    filterRecordSource("LastName = 'x'");
    EXPECT_EQ(filterShowAllRecordSource(), "Select * from  qryContacts Where  CategoryNumber = 3  Order By "
                                           "LastName, FirstName ");
    EXPECT_TRUE(gFilterClause.isEmpty());
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
    EXPECT_EQ(findRecordSource(findCondition({"Notes"}, "x")),
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
        EXPECT_EQ(run(findRecordSource(findCondition(fields, c.text))), c.names) << c.text.toStdString();
}

} // namespace
