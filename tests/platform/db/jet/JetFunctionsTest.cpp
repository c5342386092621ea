#include "JetTestDatabase.h"

#include "platform/base/Clock.h"
#include "platform/base/DateText.h"
#include "platform/db/jet/JetValue.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class JetFunctions : public ::testing::Test {
  protected:
    void SetUp() override
    {
        setClockForTesting([] { return QDateTime(QDate(2024, 12, 30), QTime(14, 5, 9)); });
    }
    void TearDown() override { setClockForTesting({}); }

    JetTestDatabase db;
};

} // namespace

TEST_F(JetFunctions, IIfAndNz)
{
    EXPECT_EQ(db.value("IIf(PrintNotes, \"print\", \"skip\")", 1), "print");
    EXPECT_EQ(db.value("IIf(PrintNotes, \"print\", \"skip\")", 2), "skip");
    // A Null condition takes the false branch.
    EXPECT_EQ(db.value("IIf(Organization = 'x', 1, 2)", 3), 2);
    EXPECT_EQ(db.value("Nz(Organization, \"(none)\")", 3), "(none)");
    EXPECT_EQ(db.value("Nz(Organization)", 3), "");
    EXPECT_EQ(db.value("Nz(Score)", 3), 0);
    EXPECT_EQ(db.value("Nz(Organization, \"(none)\")", 1), "Acme");
}

TEST_F(JetFunctions, TextFunctions)
{
    EXPECT_EQ(db.value("Left(LastName, 3)"), "Smi");
    EXPECT_EQ(db.value("Left(LastName, 0)"), "");
    EXPECT_EQ(db.value("Right(LastName, 2)"), "th");
    EXPECT_EQ(db.value("Right(LastName, 0)"), "");
    EXPECT_EQ(db.value("Right(LastName, 99)"), "Smith");
    EXPECT_EQ(db.value("Right(FirstName, 3)", 4), "die");
    EXPECT_EQ(db.value("Mid(LastName, 2, 3)"), "mit");
    EXPECT_EQ(db.value("Mid(LastName, 2)"), "mith");
    EXPECT_EQ(db.value("Len(FirstName)", 4), 6);
    EXPECT_TRUE(db.value("Len(Organization)", 3).isNull());
    EXPECT_EQ(db.value("InStr(LastName, \"TH\")"), 4);
    EXPECT_EQ(db.value("InStr(5, LastName, \"h\")"), 5);
    EXPECT_EQ(db.value("InStr(1, LastName, \"TH\", 0)"), 0);
    EXPECT_EQ(db.value("InStr(LastName, \"q\")"), 0);
    EXPECT_EQ(db.value("UCase(FirstName)", 4), "ÉLODIE");
    EXPECT_EQ(db.value("LCase(Organization)", 4), "café zoë");
    EXPECT_EQ(
        db.value("\"[\" & Trim(\"  a b  \") & \"|\" & LTrim(\"  a \") & \"|\" & RTrim(\" a  \") & \"]\""),
        "[a b|a | a]");
    EXPECT_EQ(db.value("CStr(Score)"), "7.5");
    EXPECT_EQ(db.value("CStr(Date1)"), "12/25/2024");
    EXPECT_EQ(db.value("Left(DateUpdated, 4)"), "3/5/");
}

TEST_F(JetFunctions, ValReadsTheNumberAtTheStart)
{
    EXPECT_EQ(db.value("Val(\"12abc\")"), 12);
    EXPECT_EQ(db.value("Val(\" 1 2 3\")"), 123);
    EXPECT_EQ(db.value("Val(\"-2.5e2x\")"), -250);
    EXPECT_EQ(db.value("Val(\"3.25\")"), 3.25);
    EXPECT_EQ(db.value("Val(\"abc\")"), 0);
    EXPECT_EQ(db.value("Val(\"\")"), 0);
    EXPECT_EQ(db.lastNamesWhere("Val(Code) = 0 And Code Is Not Null"),
              QStringList({"Smith", "smithers", "Écrivain", "Jones"}));
}

TEST_F(JetFunctions, DatePartsTodayAndNowFollowTheClock)
{
    EXPECT_EQ(db.value("Year(Date1)"), 2024);
    EXPECT_EQ(db.value("Month(DateUpdated)"), 3);
    EXPECT_EQ(db.value("Day(DateUpdated)"), 5);
    EXPECT_TRUE(db.value("Year(Date1)", 2).isNull());
    EXPECT_EQ(db.value("Year(\"7/4/1976\")"), 1976);
    EXPECT_EQ(db.value("Date()"), "2024-12-30");
    EXPECT_EQ(db.value("Now()"), "2024-12-30 14:05:09");
    EXPECT_EQ(db.value("Date"), "2024-12-30");
    EXPECT_EQ(db.lastNamesWhere("DateUpdated > Date() - 10"), QStringList({"Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("Year(DateUpdated) = Year(Now())"),
              QStringList({"Smith", "smithers", "Écrivain"}));
    setClockForTesting([] { return QDateTime(QDate(2023, 1, 1), QTime(0, 0)); });
    EXPECT_EQ(db.value("Date()"), "2023-01-01");
    EXPECT_EQ(db.lastNamesWhere("Year(DateUpdated) = Year(Now())"), QStringList({"O'Brien"}));
}

TEST_F(JetFunctions, DateArithmeticAndConversions)
{
    EXPECT_EQ(db.value("DateAdd(\"d\", 7, Date1)"), "2025-01-01");
    EXPECT_EQ(db.value("DateAdd(\"m\", 1, #1/31/2024#)"), "2024-02-29");
    EXPECT_EQ(db.value("DateAdd(\"yyyy\", 1, #2/29/2024#)"), "2025-02-28");
    EXPECT_EQ(db.value("DateAdd(\"h\", 12, DateUpdated)"), "2024-03-06 01:30:00");
    EXPECT_EQ(db.value("DateAdd(\"ww\", -1, Date1)"), "2024-12-18");
    EXPECT_EQ(db.value("DateDiff(\"d\", Date1, #1/1/2025#)"), 7);
    EXPECT_EQ(db.value("DateDiff(\"m\", #1/31/2024#, #2/1/2024#)"), 1);
    EXPECT_EQ(db.value("DateDiff(\"yyyy\", #12/31/2023#, #1/1/2024#)"), 1);
    EXPECT_EQ(db.value("DateDiff(\"h\", #1/1/2024 11:59 PM#, #1/2/2024 12:01 AM#)"), 1);
    EXPECT_EQ(db.value("DateDiff(\"ww\", #12/28/2024#, #12/29/2024#)"), 1);
    EXPECT_EQ(db.value("DateSerial(2024, 13, 1)"), "2025-01-01");
    EXPECT_EQ(db.value("DateSerial(2024, 3, 0)"), "2024-02-29");
    EXPECT_EQ(db.value("DateSerial(99, 1, 1)"), "1999-01-01");
    EXPECT_EQ(db.value("DateValue(\"12/25/2024 3:00 PM\")"), "2024-12-25");
    EXPECT_EQ(db.value("CDate(\"12/25/2024 3:00 PM\")"), "2024-12-25 15:00:00");
    EXPECT_EQ(db.value("Date1 + 1"), "2024-12-26");
    EXPECT_EQ(db.value("1 + Date1"), "2024-12-26");
    EXPECT_EQ(db.value("Date1 - #12/20/2024#"), 5);
    EXPECT_EQ(db.value("DateUpdated - #3/5/2024#"), 13.5 / 24);
    EXPECT_EQ(db.lastNamesWhere("Date1 = DateSerial(1999, 1, 31)"), QStringList({"Jones"}));
    EXPECT_EQ(db.lastNamesWhere("CDate(\"12/25/2024\") = Date1"), QStringList({"Smith"}));
}

TEST_F(JetFunctions, FormatShowsValuesAsAskedFor)
{
    EXPECT_EQ(db.value("Format(Date1)"), "12/25/2024");
    EXPECT_EQ(db.value("Format(DateUpdated)"), "3/5/2024 1:30:00 PM");
    EXPECT_EQ(db.value("Format(Date1, \"yyyy-mm-dd\")"), "2024-12-25");
    EXPECT_EQ(db.value("Format(Date1, \"mmmm d, yyyy\")"), "December 25, 2024");
    EXPECT_EQ(db.value("Format(Date1, \"ddd mmm dd yy\")"), "Wed Dec 25 24");
    EXPECT_EQ(db.value("Format(DateUpdated, \"hh:mm AM/PM\")"), "01:30 PM");
    EXPECT_EQ(db.value("Format(DateUpdated, \"h:nn:ss\")"), "13:30:00");
    EXPECT_EQ(db.value("Format(Date1, \"Short Date\")"), "12/25/2024");
    EXPECT_EQ(db.value("Format(Date1, \"Long Date\")"), "Wednesday, December 25, 2024");
    EXPECT_EQ(db.value("Format(Date1, \"q\")"), "4");
    EXPECT_EQ(db.value("Format(1234.5, \"#,##0.00\")"), "1,234.50");
    EXPECT_EQ(db.value("Format(0.5, \"0%\")"), "50%");
    EXPECT_EQ(db.value("Format(7, \"000\")"), "007");
    EXPECT_EQ(db.value("Format(-3.14159, \"0.0\")"), "-3.1");
    EXPECT_EQ(db.value("Format(-2, \"0;(0)\")"), "(2)");
    EXPECT_EQ(db.value("Format(0, \"0;(0);\"\"zero\"\"\")"), "zero");
    EXPECT_EQ(db.value("Format(5551234, \"000-0000\")"), "555-1234");
    EXPECT_EQ(db.value("Format(Score, \"Fixed\")"), "7.50");
    EXPECT_EQ(db.value("Format(1234.5, \"Standard\")"), "1,234.50");
    EXPECT_EQ(db.value("Format(1234.5, \"Currency\")"), "$1,234.50");
    EXPECT_EQ(db.value("Format(PrintNotes, \"Yes/No\")"), "Yes");
    EXPECT_EQ(db.value("Format(LastName, \">\")"), "SMITH");
    EXPECT_EQ(db.value("Format(LastName, \"<\")"), "smith");
    EXPECT_EQ(db.value("Format(Code, \"@@@@\")"), "  A1");
    EXPECT_TRUE(db.value("Format(Organization)", 3).isNull());
    EXPECT_EQ(db.lastNamesWhere("Format(DateUpdated, \"yyyy\") = \"2023\""), QStringList({"O'Brien"}));
}

TEST_F(JetFunctions, AFunctionGivenNoDateFailsWithAClearText)
{
    const QString sql = translateJetCriterion("Year(LastName) = 1", "tblContacts", db.catalog());
    sqlite3_stmt *stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db.handle(),
                                 ("SELECT count(*) FROM tblContacts WHERE " + sql).toUtf8().constData(), -1,
                                 &stmt, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_step(stmt), SQLITE_ERROR);
    EXPECT_STREQ(sqlite3_errmsg(db.handle()), "Type mismatch: 'Smith' is no date.");
    sqlite3_finalize(stmt);
}

TEST_F(JetFunctions, DatesShowAsTheGridShowsThem)
{
    // The fast path of the query functions agrees with the program's own date texts.
    for (const QDateTime &d :
         {QDateTime(QDate(2024, 3, 5), QTime(13, 30, 0)), QDateTime(QDate(1999, 1, 31), QTime(0, 0)),
          QDateTime(QDate(2024, 12, 25), QTime(0, 0, 1)), QDateTime(QDate(2000, 2, 29), QTime(23, 59, 59))}) {
        const QString stored = dateToStorage(d);
        const auto rows = db.query("SELECT jet_datetext('" + stored + "')");
        EXPECT_EQ(rows.value(0).value(0).toString(), generalDateText(d)) << stored.toStdString();
    }
    EXPECT_EQ(db.query("SELECT jet_datetext('no date'), jet_datetext(5), jet_datetext(NULL)"),
              QList<QVariantList>({{"no date", 5, QVariant()}}));
}
