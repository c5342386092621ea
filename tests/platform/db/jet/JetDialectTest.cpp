#include "JetTestDatabase.h"

#include "platform/RuntimeError.h"
#include "platform/base/Clock.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class JetDialect : public ::testing::Test {
  protected:
    void TearDown() override { setClockForTesting({}); }

    static void setToday(const QDate &day)
    {
        setClockForTesting([day] { return QDateTime(day, QTime(9, 15, 0)); });
    }

    // The error a record source or criterion raises; 0 when it translates.
    int errorOf(const std::function<void()> &translate, QString *text = nullptr)
    {
        try {
            translate();
        } catch (const RuntimeError &e) {
            if (text)
                *text = e.description();
            return e.number();
        }
        return 0;
    }
    int sourceError(const QString &jet, QString *text = nullptr)
    {
        return errorOf([&] { translateJetSql(jet, JetTextKind::ReadOnlyQuery, db.catalog()); }, text);
    }
    int actionError(const QString &jet, QString *text = nullptr)
    {
        return errorOf([&] { translateJetSql(jet, JetTextKind::ActionQuery, db.catalog()); }, text);
    }
    int criterionError(const QString &criterion, QString *text = nullptr)
    {
        return errorOf([&] { translateJetCriterion(criterion, "tblContacts", db.catalog()); }, text);
    }

    JetTestDatabase db;
};

const QStringList byName{"Écrivain", "Jones", "O'Brien", "Smith", "smithers"};

} // namespace

TEST_F(JetDialect, MainListSourcesWithTheirOddSpacing)
{
    EXPECT_EQ(db.column("Select * from  tblContacts Order By LastName, FirstName ", 2), byName);
    EXPECT_EQ(db.column("Select * from tblContacts Order By LastName", 2), byName);
    EXPECT_EQ(db.column("select   *   FROM tblcontacts   order   by   lastname   DESC", 2).first(),
              "smithers");
    EXPECT_EQ(db.column("Select * from  tblContacts Order By Organization, LastName, FirstName", 2),
              QStringList({"O'Brien", "Jones", "Smith", "Écrivain", "smithers"}));
    EXPECT_EQ(db.column("Select * from  tblContacts Order By DateUpdated DESC", 2),
              QStringList({"Écrivain", "smithers", "Smith", "O'Brien", "Jones"}));
    EXPECT_EQ(db.column("Select * from  tblContacts Order By FirstName", 1),
              QStringList({"Élodie", "John", "Mary", "Seán", "Waylon"}));
}

TEST_F(JetDialect, SelectionViewsCompareMarksWithoutRegardToCase)
{
    // "X" counts as a mark as "x" does; a Null mark is neither shown nor hidden.
    EXPECT_EQ(db.column("Select * from  tblContacts Where Selected = 'x'  Order By LastName, FirstName ", 2),
              QStringList({"Écrivain", "Smith"}));
    EXPECT_EQ(db.column("Select * from  tblContacts Where Selected < 'x'  Order By LastName, FirstName ", 2),
              QStringList({"Jones", "smithers"}));
    EXPECT_EQ(db.column("Select * from  qryContacts Where  CategoryNumber = 2  And Selected = 'x'  Order By "
                        "LastName, FirstName ",
                        2),
              QStringList({"Smith"}));
    EXPECT_EQ(db.column("Select * from  qryContacts Where  CategoryNumber = 2  And Selected < 'x'  Order By "
                        "LastName, FirstName ",
                        2),
              QStringList({"smithers"}));
    EXPECT_EQ(
        db.select("Select Count(*) as RowCount from tblContacts  Where Selected = 'x' ").value(0).value(0),
        2);
    EXPECT_EQ(db.select("Select Count(*) as RowCount from tblContacts ").value(0).value(0), 5);
    EXPECT_EQ(
        db.select("Select Count(*) as RowCount from qryContacts  Where  CategoryNumber = 2  And Selected < "
                  "'x' ")
            .value(0)
            .value(0),
        1);
}

TEST_F(JetDialect, CategorySourcesAndTheStoredStartUpCondition)
{
    EXPECT_EQ(
        db.column("Select * from  qryContacts Where  CategoryNumber = 2  Order By LastName, FirstName ", 2),
        QStringList({"Smith", "smithers"}));
    const QString setting =
        db.query("SELECT Setting1 FROM tblSettings WHERE Type = 'CATEGORY'")[0][0].toString();
    EXPECT_EQ(db.column("Select * from qryContacts Where" + setting + " Order By LastName", 2),
              QStringList({"Smith", "smithers"}));
    const auto t = translateJetSql("Select * from  qryContacts Where  CategoryNumber = 2 ",
                                   JetTextKind::ReadOnlyQuery, db.catalog());
    EXPECT_EQ(t.tables, QStringList({"qryContacts"}));
}

TEST_F(JetDialect, FilterAndFindSources)
{
    EXPECT_EQ(db.column("Select distinctrow * from  qryContacts Where  (LastName Like \"Sm*\" OR Notes Like "
                        "\"*ski*\")  And  CategoryNumber = 2  order by FirstName",
                        2),
              QStringList({"Smith", "smithers"}));
    EXPECT_EQ(
        db.column("Select distinctrow * from  tblContacts Where  (City = \"Boston\")  Order By LastName, "
                  "FirstName ",
                  2),
        QStringList({"Jones", "Smith"}));
    const QString find =
        "Select DISTINCTROW * from  tblContacts Where  (FirstName Like \"*on*\" OR LastName Like "
        "\"*on*\" OR Organization Like \"*on*\" OR City Like \"*on*\" OR Notes Like \"*on*\" "
        "OR Code Like \"*on*\")  Order By LastName, FirstName ";
    EXPECT_EQ(db.column(find, 2), QStringList({"Jones", "Smith", "smithers"}));
    // A date text searches the date fields with an equality; a stored time keeps a value out.
    const QString findDate =
        "Select DISTINCTROW * from  tblContacts Where  (FirstName Like \"*12/25/2024*\" OR "
        "Date1=#12/25/2024# OR DateUpdated=#12/25/2024# OR Notes Like \"*12/25/2024*\" ) "
        " Order By LastName, FirstName ";
    EXPECT_EQ(db.column(findDate, 2), QStringList({"Smith"}));
    // The text's own edge blanks stay inside the patterns.
    EXPECT_EQ(db.column("Select DISTINCTROW * from  tblContacts Where  (Notes Like \"* fan*\" )", 2),
              QStringList({"smithers"}));
}

TEST_F(JetDialect, DistinctRowIsDroppedAndDistinctKept)
{
    const auto t =
        translateJetSql("Select DISTINCTROW * from tblContacts", JetTextKind::ReadOnlyQuery, db.catalog());
    EXPECT_FALSE(t.sql.contains("DISTINCTROW", Qt::CaseInsensitive));
    EXPECT_EQ(db.select("Select distinctrow * from tblContacts").size(), 5);
    EXPECT_EQ(db.column("Select Distinct City from tblContacts Order By City"),
              QStringList({"Boston", "Cork", "Paris", "Springfield"}));
}

TEST_F(JetDialect, SettingsQueriesIgnoreCase)
{
    EXPECT_EQ(db.select("Select * from tblSettings Where Type='CATEGORY'").size(), 1);
    EXPECT_EQ(db.column("Select Type, Name, Setting8 from tblSettings Where Type='NOTE' Order by Name", 1),
              QStringList({"Apples", "Shopping"}));
    EXPECT_EQ(db.column("Select Name from tblSettings Where Type='LASTNOTE'"), QStringList({"1"}));
    EXPECT_EQ(db.column("Select Name, Type from tblSettings Where Type='LASTNOTE'", 1),
              QStringList({"LASTNOTE"}));
    EXPECT_EQ(db.column("Select * from tblSettings Where Type='REPORT' And Name='Envelope Orientation'", 2),
              QStringList({"Portrait"}));
    EXPECT_EQ(
        db.select("Select * from tblSettings Where Type='REPORTdefault' And Name='Pocket Report'").size(), 1);
    EXPECT_EQ(db.select("Select * from tblSettings Where Type='RETURNADDRESS" + QString("1") + "'").size(),
              1);
    EXPECT_EQ(db.select("Select * from tblSettings Where Type='FILTER' and Name='boston PEOPLE'").size(), 1);
    EXPECT_EQ(db.select("Select * from tblSettings Where Type='COMMSETTINGS'").size(), 1);
    EXPECT_EQ(db.select("Select * from tblSettings Where Type='REMINDERSTARTUP'").size(), 1);
    // A find over the settings: 'Note' finds NOTE.
    const QString where =
        translateJetCriterion("Type='Note' And Name='shopping'", "tblSettings", db.catalog());
    EXPECT_EQ(db.query("SELECT Setting8 FROM tblSettings WHERE " + where).value(0).value(0), "milk");
}

TEST_F(JetDialect, CategoryWindowQueries)
{
    EXPECT_EQ(db.column("Select * from tblCategoryDesc Order By CategoryDesc", 1),
              QStringList({"Family", "Friends", "Work"}));
    EXPECT_EQ(db.column("Select CategoryDesc, CategoryNumber from tblCategoryDesc Order By CategoryDesc", 1),
              QStringList({"1", "2", "3"}));
    EXPECT_EQ(
        db.select("Select count(*) as CountRecs from tblCategoryID Where CategoryNumber=2").value(0).value(0),
        2);
    EXPECT_EQ(
        db.column("SELECT ID, CategoryDesc, tblCategoryID.CategoryNumber FROM tblCategoryID LEFT JOIN "
                  "tblCategoryDesc ON tblCategoryID.CategoryNumber = tblCategoryDesc.CategoryNumber WHERE "
                  "tblCategoryID.ID=1 Order By CategoryDesc",
                  1),
        QStringList({"Friends", "Work"}));
    const auto where = [&](const QString &c, const QString &source) {
        return db
            .query("SELECT count(*) FROM " + source + " WHERE " +
                   translateJetCriterion(c, source, db.catalog()))[0][0]
            .toInt();
    };
    EXPECT_EQ(where("CategoryDesc like \"F*\"", "tblCategoryDesc"), 2);
    EXPECT_EQ(where("CategoryDesc=\"friends\"", "tblCategoryDesc"), 1);
    EXPECT_EQ(where("ID=1 AND CategoryNumber=3", "tblCategoryID"), 1);
    EXPECT_EQ(db.execute("Delete from tblCategoryID Where CategoryNumber=3"), 1);
}

TEST_F(JetDialect, ReminderRebuildAndLookups)
{
    setToday(QDate(2024, 12, 22));
    db.exec("INSERT INTO tblCurrentReminders (Description) VALUES ('stale')");
    EXPECT_EQ(db.execute("Delete * from tblCurrentReminders"), 1);
    EXPECT_EQ(
        db.execute("INSERT INTO tblCurrentReminders (RemindDate, RecordID, TblRemindRecordID, Description, "
                   "Notes, WarnDate) SELECT RemindDate, LinkedRecordID, TblRemindRecordID, Description, "
                   "Notes, WarnDate FROM qryNewReminders"),
        1);
    EXPECT_EQ(db.query("SELECT Description, RecordID, RemindDate FROM tblCurrentReminders"),
              QList<QVariantList>({{"Birthday", 1, "2024-12-25"}}));
    EXPECT_EQ(db.select("Select * from tblRemind where RemindDate=#12/25/2024# and RecordID=1").size(), 1);
    EXPECT_EQ(db.select("Select * from tblRemind where RemindDate=#12/26/2024# and RecordID=1").size(), 0);
    const auto t = translateJetSql("INSERT INTO tblCurrentReminders (RecordID) SELECT LinkedRecordID FROM "
                                   "qryNewReminders",
                                   JetTextKind::ActionQuery, db.catalog());
    EXPECT_EQ(t.tables, QStringList({"tblCurrentReminders", "qryNewReminders"}));
}

TEST_F(JetDialect, DeleteStarAndTheOtherActionQueries)
{
    EXPECT_EQ(db.execute("Update tblContacts Set Selected=' ' Where Selected='x'"), 2);
    EXPECT_EQ(db.select("Select * from tblContacts Where Selected = 'x'").size(), 0);
    EXPECT_EQ(db.execute("DELETE FROM tblContacts WHERE RecordID = " + QString::number(5)), 1);
    EXPECT_EQ(db.execute("Delete tblContacts.* from tblContacts Where LastName = \"jones\""), 0);
    EXPECT_EQ(db.execute("Delete * from tblContacts Where LastName = \"SMITH\""), 1);
    EXPECT_EQ(db.contactCount(), 3);
    EXPECT_EQ(
        db.execute("Update tblContacts Set PrintNotes = True, Date1 = #2/29/2024#, Notes = \"a \"\"b\"\"\" "
                   "Where RecordID = 2"),
        1);
    EXPECT_EQ(db.query("SELECT PrintNotes, Date1, Notes FROM tblContacts WHERE RecordID = 2"),
              QList<QVariantList>({{-1, "2024-02-29", "a \"b\""}}));
    EXPECT_EQ(
        db.execute("Update tblContacts Set tblContacts.Code = Left([tblContacts].LastName, 2) & \"-\" & "
                   "RecordID Where tblContacts.RecordID In (Select ID From tblCategoryID Where "
                   "tblCategoryID.ID = tblContacts.RecordID)"),
        2);
    EXPECT_EQ(db.column("Select Code From tblContacts Where Code Like '*-*' Order By Code"),
              QStringList({"Éc-4", "sm-2"}));
    EXPECT_EQ(db.execute("Delete From tblCategoryID Where tblCategoryID.ID Not In (Select RecordID From "
                         "tblContacts)"),
              2);
    EXPECT_EQ(db.execute("Insert Into tblSettings (Type, Name) Values (\"NOTE\", 'It''s')"), 1);
    EXPECT_EQ(db.select("Select * from tblSettings Where Name = \"it's\"").size(), 1);
    EXPECT_EQ(db.execute("Insert Into tblRemind (Description, RemindDate) Values ('x', '12/31/2024')"), 1);
    EXPECT_EQ(db.query("SELECT RemindDate FROM tblRemind WHERE Description = 'x'")[0][0], "2024-12-31");
}

TEST_F(JetDialect, PictureQueryAndLocateCriteria)
{
    EXPECT_EQ(
        db.column(
            "Select LastName from tblContacts Where PicturePath1=\"t\" Or PicturePath2 = \"T\" Order By "
            "LastName"),
        QStringList({"Écrivain", "smithers"}));
    EXPECT_EQ(db.lastNamesWhere("LastName like \"Smi*\""), QStringList({"Smith", "smithers"}));
    EXPECT_EQ(db.lastNamesWhere("LastName like \"SMITH*\""), QStringList({"Smith", "smithers"}));
    EXPECT_EQ(db.lastNamesWhere("LastName like \"*\""),
              QStringList({"Smith", "smithers", "O'Brien", "Écrivain", "Jones"}));
    EXPECT_EQ(db.lastNamesWhere("RecordID = 3"), QStringList({"O'Brien"}));
    EXPECT_EQ(db.lastNamesWhere("RecordID=3"), QStringList({"O'Brien"}));
    EXPECT_EQ(db.lastNamesWhere("LastName like \"O'B*\""), QStringList({"O'Brien"}));
    EXPECT_EQ(db.lastNamesWhere("CategoryNumber = 2 And LastName Like \"s*\"", "qryContacts"),
              QStringList({"Smith", "smithers"}));
}

TEST_F(JetDialect, LikeOnADateFieldMatchesTheDisplayedDate)
{
    // Sorted by a date field, locate matches what the grid shows (en_US).
    EXPECT_EQ(db.lastNamesWhere("DateUpdated like \"3/5*\""), QStringList({"Smith"}));
    EXPECT_EQ(db.lastNamesWhere("DateUpdated like \"3/1*\""), QStringList({"smithers"}));
    EXPECT_EQ(db.lastNamesWhere("DateUpdated like \"*1:30:00 PM\""), QStringList({"Smith"}));
    EXPECT_EQ(db.lastNamesWhere("Date1 like \"12/25/2024\""), QStringList({"Smith"}));
    EXPECT_EQ(db.lastNamesWhere("DateUpdated Not Like \"*2024*\""), QStringList({"O'Brien"}));
}

TEST_F(JetDialect, LikeWildcardsSetsAndLiteralPercentAndUnderscore)
{
    EXPECT_EQ(db.lastNamesWhere("Code Like \"?#\""), QStringList({"Smith", "smithers", "Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("Code Like \"[a-b]#\""), QStringList({"Smith", "smithers"}));
    EXPECT_EQ(db.lastNamesWhere("Code Like \"[!a-b]#\""), QStringList({"Écrivain"}));
    // É stands among the e's.
    EXPECT_EQ(db.lastNamesWhere("LastName Like \"[!a-n]*\""), QStringList({"Smith", "smithers", "O'Brien"}));
    EXPECT_EQ(db.lastNamesWhere("Notes Like \"*100%*\""), QStringList({"Smith"}));
    EXPECT_EQ(db.lastNamesWhere("Notes Like \"*%*\""), QStringList({"Smith"}));
    EXPECT_EQ(db.lastNamesWhere("Notes Like \"*_*\""), QStringList({"smithers"}));
    EXPECT_EQ(db.lastNamesWhere("Notes Like \"%\""), QStringList());
    EXPECT_EQ(db.lastNamesWhere("LastName Not Like \"s*\""), QStringList({"O'Brien", "Écrivain", "Jones"}));
    // Case is ignored beyond ASCII letters.
    EXPECT_EQ(db.lastNamesWhere("LastName Like \"éC*\""), QStringList({"Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("FirstName Like \"SEÁN\""), QStringList({"O'Brien"}));
    EXPECT_EQ(db.lastNamesWhere("Organization Like \"*zoË\""), QStringList({"Écrivain"}));
    // A number field is matched by its text.
    EXPECT_EQ(db.lastNamesWhere("RecordID Like \"[45]\""), QStringList({"Écrivain", "Jones"}));
}

TEST_F(JetDialect, QuotedLiteralsDatesAndTrue)
{
    EXPECT_EQ(db.lastNamesWhere("Notes = \"He said \"\"hi\"\"\""), QStringList({"O'Brien"}));
    EXPECT_EQ(db.lastNamesWhere("LastName = \"O'Brien\""), QStringList({"O'Brien"}));
    EXPECT_EQ(db.lastNamesWhere("LastName = 'o''brien'"), QStringList({"O'Brien"}));
    EXPECT_EQ(db.lastNamesWhere("Date1 = #12/25/2024#"), QStringList({"Smith"}));
    EXPECT_EQ(db.lastNamesWhere("Date1 = #2024-12-25#"), QStringList({"Smith"}));
    EXPECT_EQ(db.lastNamesWhere("DateUpdated = #3/5/2024 1:30:00 PM#"), QStringList({"Smith"}));
    EXPECT_EQ(db.lastNamesWhere("DateUpdated = #3/5/2024 13:30#"), QStringList({"Smith"}));
    EXPECT_EQ(db.lastNamesWhere("DateUpdated >= #12/25/2024#"), QStringList({"Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("Date1 Between #1/1/1999# And #12/31/2023#"),
              QStringList({"O'Brien", "Jones"}));
    EXPECT_EQ(db.lastNamesWhere("Date1 < \"1/1/2000\""), QStringList({"Jones"}));
    EXPECT_EQ(db.lastNamesWhere("PrintNotes = True"), QStringList({"Smith", "Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("PrintNotes = False"), QStringList({"smithers", "O'Brien", "Jones"}));
    EXPECT_EQ(db.lastNamesWhere("PrintNotes"), QStringList({"Smith", "Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("Not PrintNotes"), QStringList({"smithers", "O'Brien", "Jones"}));
    EXPECT_EQ(db.lastNamesWhere("PrintNotes = Yes And Not Code = 'A1'"), QStringList({"Écrivain"}));
}

TEST_F(JetDialect, OperatorsOfTheQueryLanguage)
{
    EXPECT_EQ(db.lastNamesWhere("Organization Is Null"), QStringList({"O'Brien"}));
    EXPECT_EQ(db.lastNamesWhere("Organization Is Not Null And Organization <> ''"),
              QStringList({"Smith", "smithers", "Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("City In (\"boston\", 'PARIS')"),
              QStringList({"Smith", "Écrivain", "Jones"}));
    EXPECT_EQ(db.lastNamesWhere("City Not In (\"Boston\")"),
              QStringList({"smithers", "O'Brien", "Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("City <> \"boston\""), QStringList({"smithers", "O'Brien", "Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("RecordID Mod 2 = 0"), QStringList({"smithers", "Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("RecordID \\ 2 = 1"), QStringList({"smithers", "O'Brien"}));
    EXPECT_EQ(db.lastNamesWhere("RecordID / 2 = 1.5"), QStringList({"O'Brien"}));
    EXPECT_EQ(db.lastNamesWhere("RecordID Not Between 2 And 4"), QStringList({"Smith", "Jones"}));
    EXPECT_EQ(db.lastNamesWhere("LastName Between \"a\" And \"P\""),
              QStringList({"O'Brien", "Écrivain", "Jones"}));
    EXPECT_EQ(db.lastNamesWhere("-RecordID ^ 2 = -4 Or 2 ^ 3 = RecordID * 8"),
              QStringList({"Smith", "smithers"}));
    EXPECT_EQ(db.lastNamesWhere("[LastName] = \"Jones\" Or tblContacts.LastName = 'Smith' Or "
                                "[tblContacts].[FirstName] = 'Waylon'"),
              QStringList({"Smith", "smithers", "Jones"}));
    EXPECT_EQ(db.lastNamesWhere("Not (City = 'Boston' Or City = 'Cork') And Score > 5"),
              QStringList({"Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("RecordID In (Select ID From tblCategoryID Where CategoryNumber = 3)"),
              QStringList({"Smith"}));
    EXPECT_EQ(
        db.lastNamesWhere("Exists (Select * From tblRemind Where LinkedRecordID = tblContacts.RecordID)"),
        QStringList({"Smith", "smithers"}));
}

TEST_F(JetDialect, AmpersandCountsNullAsEmpty)
{
    EXPECT_EQ(db.value("FirstName & \" \" & Organization", 3), "Seán ");
    EXPECT_EQ(db.value("Organization & \"!\"", 3), "!");
    // Only Null joined to Null stays Null.
    EXPECT_TRUE(db.value("Organization & PicturePath2", 3).isNull());
    EXPECT_EQ(db.value("\"Due \" & Date1"), "Due 12/25/2024");
    EXPECT_EQ(db.value("RecordID & \"-\" & Score"), "1-7.5");
    EXPECT_EQ(db.value("LastName + \", \" + FirstName"), "Smith, John");
    EXPECT_TRUE(db.value("LastName + Organization", 3).isNull());
    EXPECT_EQ(db.lastNamesWhere("FirstName & \" \" & LastName = \"john smith\""), QStringList({"Smith"}));
}

TEST_F(JetDialect, TextExpressionsCompareWithoutRegardToCase)
{
    EXPECT_EQ(db.lastNamesWhere("UCase(LastName) = \"smith\""), QStringList({"Smith"}));
    EXPECT_EQ(db.lastNamesWhere("Left(LastName, 3) = \"SMI\""), QStringList({"Smith", "smithers"}));
    EXPECT_EQ(db.lastNamesWhere("\"BOSTON\" = City"), QStringList({"Smith", "Jones"}));
    // Beyond A to Z too.
    EXPECT_EQ(db.lastNamesWhere("FirstName = \"ÉLODIE\""), QStringList({"Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("Organization In ('x', \"café zoË\")"), QStringList({"Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("FirstName <> \"seÁn\" And City = 'cork'"), QStringList());
    EXPECT_EQ(db.lastNamesWhere("LastName Between \"é\" And \"ÉZ\""), QStringList({"Écrivain"}));
    EXPECT_EQ(
        db.column("Select LastName from tblContacts Order By UCase(Left(LastName, 1)) DESC, LCase(LastName)"),
        QStringList({"Smith", "smithers", "O'Brien", "Jones", "Écrivain"}));
}

TEST_F(JetDialect, SelectListGroupingAndJoins)
{
    EXPECT_EQ(
        db.select(
            "Select City, Count(*) As [Contacts In City] From tblContacts Group By City Having Count(*) "
            "> 1 Order By [Contacts In City] Desc"),
        QList<QVariantList>({{"Boston", 2}}));
    EXPECT_EQ(
        db.column("Select c.LastName, d.CategoryDesc from (tblContacts As c Inner Join tblCategoryID As i On "
                  "c.RecordID = i.ID) Inner Join tblCategoryDesc d On d.CategoryNumber = i.CategoryNumber "
                  "Where d.CategoryDesc = 'work'"),
        QStringList({"Smith"}));
    EXPECT_EQ(db.column("Select tblContacts.* From tblContacts, tblCategoryID Where ID = RecordID And "
                        "tblCategoryID.CategoryNumber = 1",
                        2),
              QStringList({"Écrivain"}));
    EXPECT_EQ(db.column("Select Top 2 LastName From tblContacts Order By RecordID"),
              QStringList({"Smith", "smithers"}));
    EXPECT_EQ(db.column("Select Sum(Score) + Avg(Score) As Total, Max(Date1) From tblContacts", 1),
              QStringList({"2024-12-25"}));
}
