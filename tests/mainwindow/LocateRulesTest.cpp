#include "mainwindow/LocateRules.h"

#include <gtest/gtest.h>

TEST(LocateRules, PagingKeysHandOverToTheGridWhateverTheText)
{
    for (int key : {33, 34, 38, 40}) {
        EXPECT_EQ(locateStepFor(key, "Smi", false), LocateStep::FocusGrid) << key;
        EXPECT_EQ(locateStepFor(key, "not a date", true), LocateStep::FocusGrid) << key;
    }
}

TEST(LocateRules, TypedKeysAndBackspaceSearchOthersDoNot)
{
    EXPECT_EQ(locateStepFor('S', "S", false), LocateStep::Search);
    EXPECT_EQ(locateStepFor(' ', "S ", false), LocateStep::Search);
    EXPECT_EQ(locateStepFor(8, "", false), LocateStep::Search) << "Backspace down to the empty text";
    EXPECT_EQ(locateStepFor(37, "S", false), LocateStep::Search) << "Left arrow has a code above 31";
    for (int key : {16, 17, 13, 27, 9})
        EXPECT_EQ(locateStepFor(key, "S", false), LocateStep::Nothing) << key;
}

TEST(LocateRules, BracketKeysEmptyTheBoxAndQuotesStopTheSearch)
{
    EXPECT_EQ(locateStepFor(219, "Sm[", false), LocateStep::ClearBox);
    EXPECT_EQ(locateStepFor(221, "Sm]", false), LocateStep::ClearBox);
    EXPECT_EQ(locateStepFor('A', "O\"A", false), LocateStep::Nothing);
    EXPECT_EQ(locateStepFor(8, "O\"", false), LocateStep::Nothing);
    EXPECT_EQ(locateStepFor('B', "O'B", false), LocateStep::Search);
}

TEST(LocateRules, ADateSortSearchesOnlyDates)
{
    EXPECT_EQ(locateStepFor('1', "1", true), LocateStep::Nothing);
    EXPECT_EQ(locateStepFor('x', "3/5/2021x", true), LocateStep::Nothing);
    EXPECT_EQ(locateStepFor('1', "3/5/2021", true), LocateStep::Search);
    EXPECT_EQ(locateStepFor(219, "[", true), LocateStep::Nothing) << "not a date: not even the bracket rule";
}

TEST(LocateRules, TheCriterionIgnoresTrailingBlanksOnly)
{
    EXPECT_EQ(locateCriteria("LastName", "Smi"), "LastName like \"Smi*\"");
    EXPECT_EQ(locateCriteria("LastName", "Smith  "), "LastName like \"Smith*\"");
    EXPECT_EQ(locateCriteria("LastName", " Smith"), "LastName like \" Smith*\"");
    EXPECT_EQ(locateCriteria("Organization", ""), "Organization like \"*\"");
    EXPECT_EQ(locateCriteria("Date2", "3/5"), "Date2 like \"3/5*\"");
}
