#include "helpers/SortOrder.h"
#include "helpers/RecordSource.h"

#include <gtest/gtest.h>

namespace {

// The contact fields in table order, as the displayed record set lists them.
QStringList contactFields()
{
    QStringList fields = {"RecordID", "Prefix",   "FirstName", "MiddleName",  "LastName",
                          "Suffix",   "Nickname", "Title",     "Organization"};
    for (const QString set : {"First_", "Second_"}) {
        for (const QString part :
             {"Address_Desc", "Address1", "Address2", "Address3", "City", "State", "PostalCode", "Country"}) {
            fields << set + part;
        }
    }
    for (int i = 1; i <= 6; ++i) {
        fields << QStringLiteral("Phone%1").arg(i) << QStringLiteral("Phone%1_Desc").arg(i);
    }
    for (int i = 1; i <= 5; ++i) {
        fields << QStringLiteral("Date%1").arg(i) << QStringLiteral("Date%1_Desc").arg(i);
    }
    fields << "Email_Address";
    for (int i = 1; i <= 3; ++i) {
        fields << QStringLiteral("UserField%1").arg(i) << QStringLiteral("UserField%1_Desc").arg(i);
    }
    fields << "Code"
           << "Notes"
           << "PrintNotes"
           << "DateUpdated";
    for (int i = 1; i <= 8; ++i) {
        fields << QStringLiteral("PicturePath%1").arg(i);
    }
    fields << "AddressForLabels"
           << "Selected";
    return fields;
}

} // namespace

TEST(SortOrder, ClauseIndexAndDateFlagForEachChoice)
{
    struct Case {
        QString choice, clause, index;
        bool byDate;
    };
    const std::vector<Case> cases = {
        {"", " Order By LastName, FirstName ", "LastName", false},
        {"LastName", " Order By LastName, FirstName ", "LastName", false},
        {"Organization", " Order By Organization, LastName, FirstName", "Organization", false},
        {"FirstName", " Order By FirstName", "FirstName", false},
        {"DateUpdated", " Order By DateUpdated DESC", "DateUpdated", true},
        {"Date2", " Order By Date2", "Date2", true},
        {"Phone1", " Order By Phone1", "Phone1", false},
        {"First_PostalCode", " Order By First_PostalCode", "First_PostalCode", false},
        // Compared exactly: another spelling is "any other field".
        {"lastname", " Order By lastname", "lastname", false},
        {"dateupdated", " Order By dateupdated", "dateupdated", true},
    };
    for (const Case &c : cases) {
        const SortChoice choice = sortChoiceFor(c.choice);
        EXPECT_EQ(choice.orderByClause, c.clause) << c.choice.toStdString();
        EXPECT_EQ(choice.indexName, c.index) << c.choice.toStdString();
        EXPECT_EQ(choice.sortedByDate, c.byDate) << c.choice.toStdString();
    }
}

TEST(SortOrder, ApplyingAChoiceSetsTheSharedState)
{
    gRecordSource.reset();
    applySortChoice("Date3");
    EXPECT_EQ(gRecordSource.gOrderByClause, " Order By Date3");
    EXPECT_TRUE(gRecordSource.gSortedByDate);
    applySortChoice("Organization");
    EXPECT_EQ(gRecordSource.gOrderByClause, " Order By Organization, LastName, FirstName");
    EXPECT_FALSE(gRecordSource.gSortedByDate);
    applySortChoice("LastName");
    EXPECT_EQ(gRecordSource.gOrderByClause, DefaultOrderByClause);
    EXPECT_EQ(GridSortOrderQuery, "Select * from tblSettings Where Type='GRIDSORTORDER'");
}

TEST(SortOrder, SortBoxOffersTheFieldsInRecordSetOrder)
{
    const QStringList expected = {"FirstName",
                                  "MiddleName",
                                  "LastName",
                                  "Nickname",
                                  "Title",
                                  "Organization",
                                  "First_City",
                                  "First_State",
                                  "First_PostalCode",
                                  "First_Country",
                                  "Second_City",
                                  "Second_State",
                                  "Second_PostalCode",
                                  "Second_Country",
                                  "Phone1",
                                  "Phone2",
                                  "Phone3",
                                  "Phone4",
                                  "Date1",
                                  "Date2",
                                  "Date3",
                                  "Email_Address",
                                  "UserField1",
                                  "UserField2",
                                  "UserField3",
                                  "Code",
                                  "DateUpdated",
                                  "PicturePath1",
                                  "PicturePath2",
                                  "PicturePath3",
                                  "PicturePath4",
                                  "PicturePath5",
                                  "PicturePath6",
                                  "PicturePath7",
                                  "PicturePath8"};
    EXPECT_EQ(sortBoxItems(contactFields()), expected);
    // The category query adds CategoryNumber, which stays out.
    EXPECT_EQ(sortBoxItems(contactFields() << "CategoryNumber"), expected);
}

TEST(SortOrder, SortBoxExclusionsAreSubstringsOfTheUpperCaseName)
{
    EXPECT_EQ(
        sortBoxItems({"Phone5_Desc", "phone5", "myfixture", "Categories", "recordid2", "Email_Address"}),
        QStringList({"Email_Address"}));
    // Notes and PrintNotes go only by their exact names.
    EXPECT_EQ(sortBoxItems({"Notes", "PrintNotes", "notes", "NotesExtra"}),
              QStringList({"notes", "NotesExtra"}));
    EXPECT_TRUE(sortBoxItems({}).isEmpty());
}

TEST(SortOrder, RestoredChoiceFallsBackToLastName)
{
    const QStringList items = sortBoxItems(contactFields());
    EXPECT_EQ(restoredSortChoice(true, "Organization", items), "Organization");
    EXPECT_EQ(restoredSortChoice(true, "date2", items), "Date2");
    EXPECT_EQ(restoredSortChoice(false, "Organization", items), "LastName");
    EXPECT_EQ(restoredSortChoice(true, "Notes", items), "LastName");
    EXPECT_EQ(restoredSortChoice(true, "", items), "LastName");
    EXPECT_EQ(restoredSortChoice(true, "NoSuchField", items), "LastName");
}
